#include "dialogs/centerdlg.h"

#include <QApplication>
#include <QWidget>

QPoint CenterPosition(const QRect& mainFrame, const QSize& dialog) {
    return {mainFrame.left() + (mainFrame.width() - dialog.width()) / 2,
            mainFrame.top() + (mainFrame.height() - dialog.height()) / 2};
}

TCenterDlg::TCenterDlg(QWidget* parent) : QDialog(parent) {}

void TCenterDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (setUp_)
        return;
    setUp_ = true;
    QWidget* main = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
    if (main != nullptr)
        move(CenterPosition(main->frameGeometry(), frameGeometry().size()));
    SetupWindow();
}

void TCenterDlg::accept() {
    if (CanClose())
        QDialog::accept();
}
