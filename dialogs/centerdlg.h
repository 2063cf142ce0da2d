// The base of the program's modal dialogs: each opens in the middle of the
// main window.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QSize>

// Where a dialog of `dialog` size is placed over the main window's frame:
// the halves truncate toward zero, so a larger dialog sits half its excess
// to the left of and above the main window.
QPoint CenterPosition(const QRect& mainFrame, const QSize& dialog);

// The application's main window that `widget` belongs to: the window at the
// end of its chain of owners (a dialog opened from a dialog still finds it).
QWidget* MainWindowOf(QWidget* widget);

class TCenterDlg : public QDialog {
    Q_OBJECT
  public:
    explicit TCenterDlg(QWidget* parent);

  protected:
    void showEvent(QShowEvent* event) override;
    // Called once, when the dialog is first shown, after it is centred.
    virtual void SetupWindow() {}
    // Asked when OK is pressed; false keeps the dialog open.
    virtual bool CanClose() { return true; }

  public slots:
    void accept() override;

  private:
    bool setUp_ = false;
};
