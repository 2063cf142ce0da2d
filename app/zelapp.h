// The application object: creates the main window and the UI services.
#pragma once

#include "dialogs/uiservices.h"

#include <memory>

class QApplication;
class TZelWindow;

class TZelApp {
  public:
    explicit TZelApp(QApplication& application);
    ~TZelApp();
    // Opens a document given on the command line.
    void OpenOnStart(const QString& path);
    int Run();
    TZelWindow& MainWindow() { return *window_; }

  private:
    void InitMainWindow();

    QApplication& application_;
    QtUiServices services_;
    std::unique_ptr<TZelWindow> window_;
};
