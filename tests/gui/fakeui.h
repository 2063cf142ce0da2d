// The UI services for widget tests: records every message, answers and
// file names as scripted, and drives each modal dialog with a script that
// sets its controls and presses its buttons.
#pragma once

#include "dialogs/uiservices.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <vector>

struct ShownMessage {
    QString Text;
    QString Caption;
    IUiServices::Icon Icon;
    QString Detail;
    bool OverAShownWindow; // its owner was on the screen
};

class FakeUi final : public IUiServices {
  public:
    FakeUi() { SetUiServices(this); }
    ~FakeUi() override { SetUiServices(nullptr); }

    std::vector<ShownMessage> Messages;
    std::deque<Answer> Answers;    // for boxes with Yes/No/Cancel
    std::deque<QString> OpenNames; // empty string: the user cancels
    std::deque<QString> SaveNames;
    std::deque<QString> ExportNames;
    std::deque<QString> ImageNames;
    std::deque<QString> CsvNames;
    // Where Print sends the page (a PDF file); empty: the user cancels.
    QString PrintTo;
    std::deque<std::function<void(QDialog&)>> Dialogs;
    int Beeps = 0;
    int SaveDialogs = 0;

    Answer Message(QWidget* owner, const QString& text, const QString& caption, Icon icon,
                   Buttons buttons, const QString& detail) override {
        Messages.push_back({text, caption, icon, detail, owner != nullptr && owner->isVisible()});
        if (buttons == Buttons::Ok)
            return Answer::Ok;
        if (Answers.empty())
            return Answer::Cancel;
        const Answer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    void Beep() override { ++Beeps; }
    QString OpenFileName(QWidget*, const QString&) override { return Next(OpenNames); }
    QString SaveFileName(QWidget*, const QString&) override {
        ++SaveDialogs;
        return Next(SaveNames);
    }
    QString ExportFileName(QWidget*, const QString&) override { return Next(ExportNames); }
    QString ImageFileName(QWidget*) override { return Next(ImageNames); }
    QString CsvFileName(QWidget*, const QString&, bool) override { return Next(CsvNames); }
    bool Print(QWidget*, const std::function<void(QPrinter&)>& print) override {
        if (PrintTo.isEmpty())
            return false;
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(PrintTo);
        print(printer);
        return true;
    }
    int Exec(QDialog& dialog) override {
        dialog.show();
        if (!Dialogs.empty()) {
            auto script = std::move(Dialogs.front());
            Dialogs.pop_front();
            script(dialog);
        }
        // A dialog its script left open is closed as by its close box.
        if (dialog.isVisible())
            dialog.reject();
        return dialog.result();
    }

    QString LastText() const { return Messages.empty() ? QString() : Messages.back().Text; }

  private:
    static QString Next(std::deque<QString>& queue) {
        if (queue.empty())
            return {};
        QString next = queue.front();
        queue.pop_front();
        return next;
    }
};

inline void Press(QDialog& dialog, QDialogButtonBox::StandardButton which) {
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    buttons->button(which)->click();
}

// A named control of a dialog; a missing one fails the test.
template <typename T> T* Child(QWidget& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

// Clicks a list's row with the mouse, as a user picks it.
inline void ClickRow(QListWidget& list, int row) {
    const QRect rect = list.visualItemRect(list.item(row));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rect.center());
}

// Clicks a tab of a tab widget with the mouse.
inline void ClickTab(QTabWidget& tabs, int index) {
    QTabBar* bar = tabs.tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

// Types `text` into the focused widget one key at a time, as a keyboard
// would give it; unlike QTest::keyClicks, any character can be typed.
inline void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Replaces an edit's text the way a user does: select all, delete, type.
inline void TypeOver(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    TypeText(edit, text);
}
