// The Configuration sheet driven through View > Configuration.
#include "app/zelwindow.h"
#include "dialogs/configsheet.h"
#include "document/zelfile.h"
#include "gui/fakeui.h"
#include "gui/windows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

void ShowPage(QDialog& sheet, int index) {
    ClickTab(*Child<QTabWidget>(sheet, "pages"), index);
}

void Click(QDialog& sheet, const char* button) {
    Child<QPushButton>(sheet, button)->click();
}

// A window whose document has three sites and the given number of banks.
std::unique_ptr<TZelWindow> WindowWithBanks(int banks) {
    return WindowWithSitesAndBanks({"Ridge", "Harbour", "Depot"}, banks);
}

} // namespace

TEST(GeneralPage, DefaultsEsnAndGroups) {
    FakeUi ui;
    TZelWindow window;
    ui.Dialogs.push_back([](QDialog& sheet) {
        auto* esn = Child<QLineEdit>(sheet, "esn");
        EXPECT_TRUE(Child<QRadioButton>(sheet, "ctcss")->isChecked());
        EXPECT_TRUE(Child<QRadioButton>(sheet, "standard")->isChecked());
        EXPECT_FALSE(Child<QCheckBox>(sheet, "verifyEsn")->isChecked());
        EXPECT_FALSE(esn->isEnabled());
        Child<QCheckBox>(sheet, "verifyEsn")->setChecked(true);
        EXPECT_TRUE(esn->isEnabled());
        QTest::keyClicks(esn, "ab12{~`@[_xyz9");
        EXPECT_EQ(esn->text(), "AB12@[_XYZ") << "refused characters and the eleventh left out";
        Child<QCheckBox>(sheet, "verifyEsn")->setChecked(false);
        EXPECT_FALSE(esn->isEnabled());
        Child<QRadioButton>(sheet, "carrier")->setChecked(true);
        EXPECT_FALSE(Child<QRadioButton>(sheet, "ctcss")->isChecked());
        Child<QCheckBox>(sheet, "clearChannelAlert")->setChecked(true);
        Press(sheet, QDialogButtonBox::Ok);
    });
    window.CmConfiguration();
    const TGlobalData& g = window.Doc().Global;
    EXPECT_EQ(g.EsnText.View(), "AB12@[_XYZ") << "kept while the edit is disabled";
    EXPECT_EQ(g.VerifyEsn, 0);
    EXPECT_EQ(g.BusyDetectCarrier, 1);
    EXPECT_EQ(g.BusyDetectCtcss, 0);
    EXPECT_EQ(g.ClearChannelAlert, 1);
    EXPECT_TRUE(window.Dirty());
}

TEST(BankPage, NewDocumentAddsBanksWithDefaults) {
    FakeUi ui;
    TZelWindow window;
    ui.Dialogs.push_back([](QDialog& sheet) {
        ShowPage(sheet, 1);
        auto* selector = Child<QListWidget>(sheet, "selector");
        EXPECT_EQ(selector->count(), 0);
        EXPECT_TRUE(Child<QRadioButton>(sheet, "pttNone")->isChecked());
        EXPECT_EQ(Child<QComboBox>(sheet, "site")->currentIndex(), -1);
        TypeOver(Child<QLineEdit>(sheet, "name"), "lost");
        Click(sheet, "addBank");
        EXPECT_EQ(selector->item(0)->text(), "Position 1");
        EXPECT_EQ(Child<QLineEdit>(sheet, "name")->text(), "") << "typed before + is discarded";
        EXPECT_EQ(Child<QComboBox>(sheet, "buttonRoute")->currentText(), "1 (Line 1)");
        EXPECT_EQ(Child<QComboBox>(sheet, "pttRoute")->currentText(), "3 (Mobile)");
        EXPECT_EQ(Child<QComboBox>(sheet, "secureSpeech")->currentText(), "Off");
        TypeOver(Child<QLineEdit>(sheet, "name"), "Dispatch");
        Child<QRadioButton>(sheet, "pttConnect")->setChecked(true);
        QTest::keyClicks(Child<QLineEdit>(sheet, "pttNumber"), "55a5");
        Child<QComboBox>(sheet, "pttRoute")->setCurrentText("9 (Operator)");
        Press(sheet, QDialogButtonBox::Ok);
    });
    window.CmConfiguration();
    ASSERT_EQ(window.Doc().Banks.Count(), 1);
    const TBankData& bank = window.Doc().Banks[0];
    EXPECT_EQ(bank.Name.View(), "Dispatch");
    EXPECT_EQ(bank.PttConnect, 1);
    EXPECT_EQ(bank.PttNone, 0);
    EXPECT_EQ(bank.PttNumber.View(), "555");
    EXPECT_EQ(bank.PttRoute, 9);
    EXPECT_EQ(bank.Scrambler, 0);
}

TEST(BankPage, PlusMinusAndSwitching) {
    FakeUi ui;
    auto window = WindowWithBanks(16);
    ui.Dialogs.push_back([&ui](QDialog& sheet) {
        ShowPage(sheet, 1);
        auto* selector = Child<QListWidget>(sheet, "selector");
        auto* name = Child<QLineEdit>(sheet, "name");
        EXPECT_EQ(name->text(), "Bank 1");
        Click(sheet, "addBank");
        EXPECT_EQ(ui.Beeps, 1) << "a 17th bank is refused";
        ClickRow(*selector, 2);
        EXPECT_EQ(name->text(), "Bank 3");
        TypeOver(name, "Edited 3");
        Click(sheet, "removeBank");
        EXPECT_EQ(selector->count(), 15);
        EXPECT_EQ(selector->currentRow(), 14);
        ClickRow(*selector, 1);
        TypeOver(name, "Edited 2");
        Click(sheet, "addBank");
        EXPECT_EQ(name->text(), "Bank 2") << "+ copies the bank as last stored";
        Press(sheet, QDialogButtonBox::Ok);
    });
    window->CmConfiguration();
    const TBoardData& doc = window->Doc();
    ASSERT_EQ(doc.Banks.Count(), 16);
    EXPECT_EQ(doc.Banks[2].Name.View(), "Edited 3") << "- removed position 16, not the bank shown";
    EXPECT_EQ(doc.Banks[1].Name.View(), "Edited 2");
    EXPECT_EQ(doc.Banks[15].Name.View(), "Bank 2");
    EXPECT_EQ(doc.Banks[15].Site, &doc.Sites[1]);
}

TEST(BankPage, FailingFieldsBlockSwitchingAndLeaving) {
    FakeUi ui;
    auto window = WindowWithBanks(2);
    ui.Dialogs.push_back([&ui](QDialog& sheet) {
        auto* pages = Child<QTabWidget>(sheet, "pages");
        ClickTab(*pages, 1);
        auto* selector = Child<QListWidget>(sheet, "selector");
        auto* systemId = Child<QLineEdit>(sheet, "systemId");
        TypeOver(systemId, "32");
        ClickRow(*selector, 1);
        QCoreApplication::processEvents();
        EXPECT_EQ(selector->currentRow(), 0);
        EXPECT_EQ(ui.LastText(), "Value is not in the range 0 to 31.");
        TypeOver(systemId, "31");
        auto* code = Child<QLineEdit>(sheet, "pttPagingCode");
        TypeOver(code, "32-1234");
        ClickTab(*pages, 2);
        EXPECT_EQ(pages->currentIndex(), 1) << "the page is not left";
        EXPECT_EQ(ui.LastText(), "Invalid Paging Code");
        TypeOver(code, "31-1234");
        TypeOver(Child<QLineEdit>(sheet, "receiveGroups"), "1234;40-0001");
        Press(sheet, QDialogButtonBox::Ok);
        EXPECT_TRUE(sheet.isVisible());
        TypeOver(Child<QLineEdit>(sheet, "receiveGroups"), "1234;05-6789;4321");
        ClickRow(*selector, 1);
        QCoreApplication::processEvents();
        EXPECT_EQ(selector->currentRow(), 1);
        Press(sheet, QDialogButtonBox::Ok);
    });
    window->CheckAccess();
    window->CmConfiguration();
    const TBankData& first = window->Doc().Banks[0];
    EXPECT_EQ(first.SystemId.View(), "31");
    EXPECT_EQ(first.PttPagingCode.View(), "31-1234");
    EXPECT_EQ(first.ReceiveGroups.View(), "1234;05-6789;4321");
}

TEST(BankPage, SitesSortedAndKeptByReference) {
    FakeUi ui;
    auto window = WindowWithBanks(3);
    ui.Dialogs.push_back([](QDialog& sheet) {
        ShowPage(sheet, 1);
        auto* site = Child<QComboBox>(sheet, "site");
        EXPECT_EQ(site->itemText(0), "Depot");
        EXPECT_EQ(site->itemText(2), "Ridge");
        EXPECT_EQ(site->currentText(), "Ridge");
        site->setCurrentIndex(-1);
        ClickRow(*Child<QListWidget>(sheet, "selector"), 1);
        EXPECT_EQ(site->currentText(), "Harbour");
        Press(sheet, QDialogButtonBox::Ok);
    });
    window->CmConfiguration();
    EXPECT_EQ(window->Doc().Banks[0].Site, nullptr);
    EXPECT_EQ(window->Doc().Banks[1].Site, &window->Doc().Sites[1]);
}

TEST(SpeedDialPage, RoutesAndNumbers) {
    FakeUi ui;
    TZelWindow window;
    ui.Dialogs.push_back([](QDialog& sheet) { Press(sheet, QDialogButtonBox::Ok); });
    window.CmConfiguration(); // only the General page: the table stays
    ui.Dialogs.push_back([](QDialog& sheet) {
        ShowPage(sheet, 2);
        EXPECT_EQ(Child<QComboBox>(sheet, "route0")->currentText(), "1 (Line 1)");
        Child<QComboBox>(sheet, "route1")->setCurrentText("0 (Emergency)");
        Child<QComboBox>(sheet, "route2")->setCurrentText("9 (Operator)");
        QTest::keyClicks(Child<QLineEdit>(sheet, "number1"), "(555) 12+*#3-4");
        Press(sheet, QDialogButtonBox::Ok);
    });
    window.CmConfiguration();
    const TSdData& dial = window.Doc().SpeedDial;
    EXPECT_EQ(dial.Number[1].View(), "(555)123-4");
    EXPECT_EQ(dial.Route[1], 0);
    EXPECT_EQ(dial.Route[2], 9);
    EXPECT_EQ(dial.Route[0], 1);
}

TEST(SpeedDialPage, UnknownRouteShowsLineOneAndCancelDiscards) {
    FakeUi ui;
    TBoardData document;
    document.SpeedDial.Route[4] = 5;
    document.SpeedDial.Route[5] = 0;
    TConfigurationSheet sheet(nullptr, document);
    ui.Dialogs.push_back([](QDialog& dialog) {
        ShowPage(dialog, 2);
        EXPECT_EQ(Child<QComboBox>(dialog, "route4")->currentText(), "1 (Line 1)");
        EXPECT_EQ(Child<QComboBox>(dialog, "route5")->currentText(), "0 (Emergency)");
        ShowPage(dialog, 0); // leaving writes the page into the copy
        Press(dialog, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(Ui().Exec(sheet), QDialog::Accepted);
    EXPECT_EQ(document.SpeedDial.Route[4], 1);

    FakeUi again;
    TZelWindow window;
    again.Dialogs.push_back([](QDialog& dialog) {
        ShowPage(dialog, 2);
        TypeOver(Child<QLineEdit>(dialog, "number0"), "123");
        Press(dialog, QDialogButtonBox::Cancel);
    });
    window.CmConfiguration();
    EXPECT_TRUE(window.Doc().SpeedDial.Number[0].Empty());
    EXPECT_FALSE(window.Dirty());
}
