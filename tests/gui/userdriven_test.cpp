// The windows driven with the keyboard and the mouse, checking what the user
// sees: the text after typing, the highlighted line, the page shown.
#include "app/zelapp.h"
#include "app/zelwindow.h"
#include "dialogs/centerdlg.h"
#include "dialogs/uiservices.h"
#include "document/zelfile.h"
#include "gui/fakeui.h"
#include "gui/windows.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

fs::path Temp(const std::string& name) {
    const fs::path directory =
        fs::path(testing::TempDir()) / ("userdriven-" + std::to_string(getpid()));
    fs::create_directories(directory);
    return directory / name;
}

std::unique_ptr<TZelWindow> WindowWith(const std::vector<std::string>& sites, int banks) {
    return WindowWithSitesAndBanks(sites, banks);
}

QStringList Lines(const QListWidget& list) {
    QStringList lines;
    for (int i = 0; i < list.count(); ++i)
        lines << list.item(i)->text();
    return lines;
}

QStringList Lines(const QComboBox& combo) {
    QStringList lines;
    for (int i = 0; i < combo.count(); ++i)
        lines << combo.itemText(i);
    return lines;
}

// Counts how often a widget is shown.
class ShowCounter final : public QObject {
  public:
    explicit ShowCounter(QWidget* widget) { widget->installEventFilter(this); }
    int Shown = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        Shown += event->type() == QEvent::Show ? 1 : 0;
        return false;
    }
};

void OpenBanksPage(QDialog& sheet) {
    ClickTab(*Child<QTabWidget>(sheet, "pages"), 1);
}

} // namespace

// "mobile" is no product type: Return or Tab keep the text as typed, and
// the library check refuses the pair.
TEST(ProductDialogTyped, LowerCaseTextsAreNotTheProductTypes) {
    for (const Qt::Key leave : {Qt::Key_Return, Qt::Key_Tab}) {
        FakeUi ui;
        TZelWindow window;
        ui.Dialogs.push_back([leave](QDialog& dialog) {
            auto* product = Child<QComboBox>(dialog, "productType");
            auto* model = Child<QComboBox>(dialog, "modelNumber");
            TypeOver(product->lineEdit(), "mobile");
            QTest::keyClick(product->lineEdit(), leave);
            EXPECT_EQ(product->currentText(), "mobile");
            TypeOver(model->lineEdit(), "default");
            QTest::keyClick(model->lineEdit(), leave);
            EXPECT_EQ(model->currentText(), "default");
            Press(dialog, QDialogButtonBox::Ok);
            EXPECT_TRUE(dialog.isVisible()) << "refused by the library check";
            Press(dialog, QDialogButtonBox::Cancel);
        });
        window.CmProduct();
        // Return is also the dialog's OK: each try was refused.
        ASSERT_FALSE(ui.Messages.empty());
        for (const auto& message : ui.Messages)
            EXPECT_EQ(message.Text, "Invalid product name or model number");
        EXPECT_EQ(window.Doc().Product.ProductName.View(), "KP720") << "unchanged";
    }
}

// The title and a 31-character entry show whole.
TEST(ProductDialogTyped, WideEnoughForItsTitleAndLongestEntry) {
    FakeUi ui;
    TZelWindow window;
    window.show();
    ui.Dialogs.push_back([](QDialog& dialog) {
        auto* model = Child<QComboBox>(dialog, "modelNumber");
        const QString longest(31, QChar('W'));
        TypeOver(model->lineEdit(), longest);
        EXPECT_EQ(model->currentText(), longest);
        const QLineEdit* edit = model->lineEdit();
        EXPECT_GE(edit->width(), edit->fontMetrics().horizontalAdvance(longest));
        EXPECT_GE(dialog.width(), dialog.fontMetrics().horizontalAdvance(dialog.windowTitle()));
        Press(dialog, QDialogButtonBox::Cancel);
    });
    window.CmProduct();
}

// Sorted lists sort regardless of letter case; names that are the same both
// stay, each with its own site.
TEST(SortedSites, AlphabeticalRegardlessOfCase) {
    FakeUi ui;
    auto window = WindowWith({"Zulu", "alpha", "Mike", "mike"}, 4);
    ui.Dialogs.push_back([](QDialog& dialog) {
        EXPECT_EQ(Lines(*Child<QListWidget>(dialog, "sites")),
                  (QStringList{"alpha", "Mike", "mike", "Zulu"}));
        Press(dialog, QDialogButtonBox::Cancel);
    });
    window->CmRfSites();
    ui.Dialogs.push_back([](QDialog& sheet) {
        OpenBanksPage(sheet);
        auto* site = Child<QComboBox>(sheet, "site");
        EXPECT_EQ(Lines(*site), (QStringList{"alpha", "Mike", "mike", "Zulu"}));
        auto* selector = Child<QListWidget>(sheet, "selector");
        ClickRow(*selector, 3); // bank 4 is on the second "mike"
        EXPECT_EQ(site->currentText(), "mike");
        Press(sheet, QDialogButtonBox::Ok);
    });
    window->CmConfiguration();
    EXPECT_EQ(window->Doc().Banks[3].Site, &window->Doc().Sites[3]);
    EXPECT_EQ(window->Doc().Banks[2].Site, &window->Doc().Sites[2]);
}

// A refused switch puts the highlight back on the bank whose fields show.
TEST(BankPageDriven, ARefusedSwitchHighlightsTheShownBank) {
    FakeUi ui;
    auto window = WindowWith({"Harbour"}, 2);
    ui.Dialogs.push_back([&ui](QDialog& sheet) {
        OpenBanksPage(sheet);
        auto* selector = Child<QListWidget>(sheet, "selector");
        TypeOver(Child<QLineEdit>(sheet, "systemId"), "32");
        ClickRow(*selector, 1);
        QCoreApplication::processEvents();
        EXPECT_EQ(ui.LastText(), "Value is not in the range 0 to 31.");
        EXPECT_EQ(selector->currentRow(), 0);
        EXPECT_TRUE(selector->item(0)->isSelected());
        EXPECT_FALSE(selector->item(1)->isSelected()) << "the highlight is on the shown bank";
        EXPECT_EQ(Child<QLineEdit>(sheet, "name")->text(), "Bank 1");
        Press(sheet, QDialogButtonBox::Cancel);
    });
    window->CmConfiguration();
}

// A page that refuses to be left is never shown behind its error report.
TEST(BankPageDriven, ARefusedTabIsNeverShown) {
    FakeUi ui;
    auto window = WindowWith({"Harbour"}, 1);
    ui.Dialogs.push_back([&ui](QDialog& sheet) {
        auto* pages = Child<QTabWidget>(sheet, "pages");
        OpenBanksPage(sheet);
        ASSERT_EQ(pages->currentIndex(), 1);
        TypeOver(Child<QLineEdit>(sheet, "systemId"), "45");
        ShowCounter general(pages->widget(0));
        ShowCounter speedDial(pages->widget(2));
        ClickTab(*pages, 0);
        ClickTab(*pages, 2);
        EXPECT_EQ(ui.Messages.size(), 2u);
        EXPECT_EQ(ui.LastText(), "Value is not in the range 0 to 31.");
        EXPECT_EQ(pages->currentIndex(), 1);
        EXPECT_EQ(general.Shown, 0) << "never shown, not even behind the box";
        EXPECT_EQ(speedDial.Shown, 0);
        Press(sheet, QDialogButtonBox::Cancel);
    });
    window->CmConfiguration();
}

// Typing that cannot complete the picture of a paging code or of the
// receive groups is refused at the keystroke.
TEST(BankPageDriven, PicturesRefuseImpossibleKeystrokes) {
    FakeUi ui;
    auto window = WindowWith({"Harbour"}, 1);
    ui.Dialogs.push_back([](QDialog& sheet) {
        OpenBanksPage(sheet);
        auto* code = Child<QLineEdit>(sheet, "pttPagingCode");
        TypeOver(code, "1234567");
        EXPECT_EQ(code->text(), "1234");
        TypeOver(code, "1-2");
        EXPECT_EQ(code->text(), "12");
        auto* groups = Child<QLineEdit>(sheet, "receiveGroups");
        TypeOver(groups, "1-2-3--");
        EXPECT_EQ(groups->text(), "12-3");
        TypeOver(groups, "1234;05-6789;4321");
        EXPECT_EQ(groups->text(), "1234;05-6789;4321");
        TypeOver(code, "12-3456");
        Press(sheet, QDialogButtonBox::Ok);
    });
    window->CmConfiguration();
    EXPECT_EQ(window->Doc().Banks[0].ReceiveGroups.View(), "1234;05-6789;4321");
}

// + and - store the shown bank: its fields are checked first.
TEST(BankPageDriven, PlusAndMinusCheckTheShownBankFirst) {
    FakeUi ui;
    auto window = WindowWith({"Harbour"}, 2);
    ui.Dialogs.push_back([&ui](QDialog& sheet) {
        OpenBanksPage(sheet);
        auto* selector = Child<QListWidget>(sheet, "selector");
        TypeOver(Child<QLineEdit>(sheet, "systemId"), "45");
        QTest::mouseClick(Child<QPushButton>(sheet, "addBank"), Qt::LeftButton);
        EXPECT_EQ(ui.LastText(), "Value is not in the range 0 to 31.");
        EXPECT_EQ(selector->count(), 2);
        TypeOver(Child<QLineEdit>(sheet, "systemId"), "3");
        TypeOver(Child<QLineEdit>(sheet, "pttPagingCode"), "99-9999");
        QTest::mouseClick(Child<QPushButton>(sheet, "removeBank"), Qt::LeftButton);
        EXPECT_EQ(ui.LastText(), "Invalid Paging Code");
        EXPECT_EQ(selector->count(), 2);
        Press(sheet, QDialogButtonBox::Cancel);
    });
    window->CmConfiguration();
    EXPECT_EQ(window->Doc().Banks.Count(), 2);
}

// A stored dial string the filter would refuse is reported on leaving.
TEST(SpeedDialDriven, AStoredStringWithLettersIsRefusedOnLeaving) {
    TBoardData document;
    document.SpeedDial.Number[3].Set("ABC");
    const fs::path path = Temp("dial.zel");
    ASSERT_EQ(SaveDocument(document, path, 3), ZelResult::Ok);
    FakeUi ui;
    TZelWindow window;
    window.OpenPath(QString::fromStdString(path.string()));
    ui.Dialogs.push_back([&ui](QDialog& sheet) {
        auto* pages = Child<QTabWidget>(sheet, "pages");
        ClickTab(*pages, 2);
        ClickTab(*pages, 0);
        EXPECT_EQ(ui.LastText(), "Invalid character in input");
        EXPECT_EQ(pages->currentIndex(), 2);
        Press(sheet, QDialogButtonBox::Ok);
        EXPECT_TRUE(sheet.isVisible());
        TypeOver(Child<QLineEdit>(sheet, "number3"), "555");
        Press(sheet, QDialogButtonBox::Ok);
    });
    window.CmConfiguration();
    EXPECT_EQ(window.Doc().SpeedDial.Number[3].View(), "555");
}

// "." typed inside "450.0125" makes a text that is no number: OK refuses it
// as it refuses an out-of-range frequency.
TEST(ChannelEditorDriven, ATextOfTwoPointsIsRefusedOnOk) {
    FakeUi ui;
    auto window = WindowWith({"Harbour"}, 0);
    ui.Dialogs.push_back([&ui](QDialog& dialog) {
        ClickRow(*Child<QListWidget>(dialog, "sites"), 0);
        ui.Dialogs.push_back([&ui](QDialog& editor) {
            auto* rx = Child<QLineEdit>(editor, "rxFrequency");
            TypeOver(rx, "450.0125");
            TypeOver(Child<QLineEdit>(editor, "txFrequency"), "455.0125");
            rx->setFocus();
            rx->setCursorPosition(2);
            TypeText(rx, ".");
            EXPECT_EQ(rx->text(), "45.0.0125");
            Press(editor, QDialogButtonBox::Ok);
            EXPECT_TRUE(editor.isVisible());
            EXPECT_TRUE(ui.LastText().startsWith("Invalid frequencies error."))
                << ui.LastText().toStdString();
            Press(editor, QDialogButtonBox::Cancel);
        });
        QTest::mouseClick(Child<QPushButton>(dialog, "addChannel"), Qt::LeftButton);
        Press(dialog, QDialogButtonBox::Ok);
    });
    window->CmRfSites();
    EXPECT_EQ(window->Doc().Sites[0].Channels.Count(), 0);
}

// Every dialog opens centred over the main window's frame, also one opened
// from another dialog; the frame itself sits at the initial rectangle.
TEST(Placement, DialogsCentreOverTheMainWindowFrame) {
    FakeUi ui;
    TZelWindow window;
    window.show();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(window.frameGeometry(), TZelWindow::InitialGeometry(screen));
    QRect siteNameAt;
    ui.Dialogs.push_back([&](QDialog& dialog) {
        dialog.move(5, 5); // away from the main window's centre
        ui.Dialogs.push_back([&](QDialog& name) {
            siteNameAt = name.frameGeometry();
            Press(name, QDialogButtonBox::Cancel);
        });
        QTest::mouseClick(Child<QPushButton>(dialog, "newSite"), Qt::LeftButton);
        Press(dialog, QDialogButtonBox::Cancel);
    });
    window.CmRfSites();
    ASSERT_TRUE(siteNameAt.isValid());
    EXPECT_EQ(siteNameAt.topLeft(), CenterPosition(window.frameGeometry(), siteNameAt.size()));
}

// Message boxes are wide enough for their whole caption.
TEST(MessageBoxes, TheWholeCaptionShows) {
    QtUiServices services;
    int width = 0;
    int title = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        width = box->width();
        title = box->fontMetrics().horizontalAdvance(box->windowTitle());
        box->accept();
    });
    static_cast<IUiServices&>(services).Message(nullptr, "Invalid Paging Code", kProgramTitle,
                                                IUiServices::Icon::Exclamation);
    EXPECT_GT(title, 0);
    EXPECT_GE(width, title + 100);
}

// Two recent files of one name are told apart by their folders.
TEST(RecentFilesShown, EntriesShowTheirFolder) {
    FakeUi ui;
    const fs::path store = Temp("recent-store");
    fs::remove(store);
    TZelWindow window(nullptr, store);
    for (const char* folder : {"first", "second"}) {
        const fs::path path = Temp(folder) / "same.zel";
        fs::create_directories(path.parent_path());
        ASSERT_EQ(SaveDocument(TBoardData{}, path, 2), ZelResult::Ok);
        window.OpenPath(QString::fromStdString(path.string()));
    }
    const QString newest = window.findChild<QAction*>("recentFile1")->text();
    const QString older = window.findChild<QAction*>("recentFile2")->text();
    EXPECT_NE(newest, older);
    EXPECT_TRUE(newest.contains("second")) << newest.toStdString();
    EXPECT_TRUE(older.contains("first")) << older.toStdString();
}

// A file given when the program starts that cannot be opened is reported
// over the main window, not on an empty screen.
TEST(ProgramStart, AFileThatCannotBeOpenedIsReportedOverTheWindow) {
    TZelApp app(*qobject_cast<QApplication*>(QCoreApplication::instance()));
    FakeUi ui; // after the application's own services
    app.OpenOnStart(QString::fromStdString(Temp("not-there-at-start.zel").string()));
    QTimer::singleShot(200, [] { QCoreApplication::quit(); });
    app.Run();
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_EQ(ui.LastText(), "Unable to open file");
    EXPECT_TRUE(ui.Messages[0].OverAShownWindow);
}
