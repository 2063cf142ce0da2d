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
    window_->OpenPath(path);
}

int TZelApp::Run() {
    window_->show();
    return application_.exec();
}
