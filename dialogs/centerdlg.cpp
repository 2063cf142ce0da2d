#include "dialogs/centerdlg.h"

#include <QMainWindow>
#include <QWidget>

QPoint CenterPosition(const QRect& mainFrame, const QSize& dialog) {
    return {mainFrame.left() + (mainFrame.width() - dialog.width()) / 2,
            mainFrame.top() + (mainFrame.height() - dialog.height()) / 2};
}

QWidget* MainWindowOf(QWidget* widget) {
    QWidget* window = widget != nullptr ? widget->window() : nullptr;
    while (window != nullptr && qobject_cast<QMainWindow*>(window) == nullptr &&
           window->parentWidget() != nullptr)
        window = window->parentWidget()->window();
    return window;
}

TCenterDlg::TCenterDlg(QWidget* parent) : QDialog(parent) {}

void TCenterDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (setUp_)
        return;
    setUp_ = true;
    QWidget* main = MainWindowOf(parentWidget());
    if (main != nullptr)
        move(CenterPosition(main->frameGeometry(), frameGeometry().size()));
    SetupWindow();
}

void TCenterDlg::accept() {
    if (CanClose())
        QDialog::accept();
}
