#include "app/zelapp.h"

#include "app/zelwindow.h"

#include <QApplication>

TZelApp::TZelApp(QApplication& application) : application_(application) {
    QApplication::setApplicationName(kProgramTitle);
    SetUiServices(&services_);
    InitMainWindow();
}

TZelApp::~TZelApp() {
    window_.reset();
    SetUiServices(nullptr);
}

void TZelApp::InitMainWindow() {
    window_ = std::make_unique<TZelWindow>();
}

void TZelApp::OpenOnStart(const QString& path) {
    // The file opens once the window is up, so that a file that cannot be
    // opened is reported over the window, not on an empty screen.
    QMetaObject::invokeMethod(
        window_.get(), [this, path] { window_->OpenPath(path); }, Qt::QueuedConnection);
}

int TZelApp::Run() {
    window_->show();
    return application_.exec();
}
