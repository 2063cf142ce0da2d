// The product, RF sites and channel dialogs driven through the View menu.
#include "app/zelwindow.h"
#include "dialogs/editchdlg.h"
#include "gui/fakeui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

void Click(QDialog& dialog, const char* button) {
    Child<QPushButton>(dialog, button)->click();
}

// Fills the channel editor and presses OK.
std::function<void(QDialog&)> ChannelEntry(QString rx, QString tx, QString rxTone = "None",
                                           QString txTone = "None") {
    return [=](QDialog& dialog) {
        Child<TFqEdit>(dialog, "rxFrequency")->SetFrequency(rx);
        Child<TFqEdit>(dialog, "txFrequency")->SetFrequency(tx);
        Child<QComboBox>(dialog, "rxCtcss")->setCurrentText(rxTone);
        Child<QComboBox>(dialog, "txCtcss")->setCurrentText(txTone);
        Press(dialog, QDialogButtonBox::Ok);
    };
}

std::function<void(QDialog&)> SiteName(const QString& name) {
    return [name](QDialog& dialog) {
        Child<QLineEdit>(dialog, "siteName")->setText(name);
        Press(dialog, QDialogButtonBox::Ok);
    };
}

} // namespace

TEST(ProductDialog, ShowsAndStoresTheDefaultPairs) {
    FakeUi ui;
    TZelWindow window;
    ui.Dialogs.push_back([](QDialog& dialog) {
        auto* product = Child<QComboBox>(dialog, "productType");
        EXPECT_EQ(product->currentText(), "Portable");
        EXPECT_EQ(Child<QComboBox>(dialog, "modelNumber")->currentText(), "Default");
        EXPECT_EQ(product->itemText(0), "Mobile");
        EXPECT_EQ(product->itemText(1), "Portable");
        product->setEditText("Mobile");
        Child<QComboBox>(dialog, "modelNumber")->setEditText("whatever");
        Press(dialog, QDialogButtonBox::Ok);
    });
    window.CmProduct();
    EXPECT_EQ(window.Doc().Product.ProductName.View(), "KX720");
    EXPECT_EQ(window.Doc().Product.ModelNumber.View(), "TQR41VBL2XC7PD");
    EXPECT_TRUE(window.Dirty());
}

TEST(ProductDialog, TypedPairsAreCheckedByTheLibrary) {
    FakeUi ui;
    TZelWindow window;
    ui.Dialogs.push_back([](QDialog& dialog) {
        Child<QComboBox>(dialog, "productType")->setEditText("mobile");
        Child<QComboBox>(dialog, "modelNumber")->setEditText("Default");
        Press(dialog, QDialogButtonBox::Ok);
        EXPECT_TRUE(dialog.isVisible());
        Child<QComboBox>(dialog, "productType")->setEditText("KX720");
        Child<QComboBox>(dialog, "modelNumber")->setEditText("TQR41VBL2XC7PD");
        Press(dialog, QDialogButtonBox::Ok);
    });
    window.CmProduct();
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_EQ(ui.Messages[0].Text, "Invalid product name or model number");
    EXPECT_EQ(ui.Messages[0].Caption, "Product Configuration Error");
    EXPECT_EQ(window.Doc().Product.ProductName.View(), "KX720");
    // Shown again as the product type.
    ui.Dialogs.push_back([](QDialog& dialog) {
        EXPECT_EQ(Child<QComboBox>(dialog, "productType")->currentText(), "Mobile");
        Press(dialog, QDialogButtonBox::Cancel);
    });
    window.CmProduct();
}

TEST(SitesDialog, SitesSortedChannelsAddedEditedRemoved) {
    FakeUi ui;
    TZelWindow window;
    ui.Dialogs.push_back([&ui](QDialog& dialog) {
        auto* sites = Child<QListWidget>(dialog, "sites");
        auto* channels = Child<QListWidget>(dialog, "channels");
        ui.Dialogs = {SiteName("Ridge"), SiteName(""), SiteName("Harbour")};
        Click(dialog, "newSite");
        Click(dialog, "newSite"); // an empty name is refused, then Cancel
        EXPECT_EQ(ui.LastText(), "Invalid site name");
        Click(dialog, "newSite");
        ASSERT_EQ(sites->count(), 2);
        EXPECT_EQ(sites->item(0)->text(), "Harbour");
        EXPECT_EQ(sites->currentRow(), 0) << "the new site is selected";

        ui.Dialogs = {ChannelEntry("450.0125", "455.0125", "None", "67.0"),
                      ChannelEntry("1000", "450")};
        Click(dialog, "addChannel");
        ASSERT_EQ(channels->count(), 1);
        EXPECT_EQ(channels->item(0)->text(), "450.0125 (None) 455.0125 (67.0)");
        // A new channel starts as a copy of the selected one.
        ui.Dialogs = {[](QDialog& editor) {
            EXPECT_EQ(editor.windowTitle(), "New Channel");
            EXPECT_EQ(Child<QLineEdit>(editor, "rxFrequency")->text(), "450.0125");
            EXPECT_EQ(Child<QComboBox>(editor, "txCtcss")->currentText(), "67.0");
            Child<TFqEdit>(editor, "rxFrequency")->SetFrequency("451");
            Press(editor, QDialogButtonBox::Ok);
        }};
        Click(dialog, "addChannel");
        ASSERT_EQ(channels->count(), 2);
        EXPECT_EQ(channels->currentRow(), 1);

        ui.Dialogs = {[](QDialog& editor) {
            EXPECT_EQ(editor.windowTitle(), "Edit Channel");
            Child<QRadioButton>(editor, "spacing25k")->setChecked(true);
            Child<TFqEdit>(editor, "txFrequency")->SetFrequency("456");
            Press(editor, QDialogButtonBox::Ok);
        }};
        Click(dialog, "editChannel");
        EXPECT_EQ(channels->item(1)->text(), "451 (None) 456 (67.0)");
        channels->setCurrentRow(0);
        Click(dialog, "removeChannel");
        EXPECT_EQ(channels->count(), 1);
        Press(dialog, QDialogButtonBox::Ok);
    });
    window.CmRfSites();
    const TBoardData& doc = window.Doc();
    ASSERT_EQ(doc.Sites.Count(), 2);
    EXPECT_EQ(doc.Sites[0].Name.View(), "Ridge") << "stored order is the order of creation";
    ASSERT_EQ(doc.Sites[1].Channels.Count(), 1);
    const TRfChannel& kept = doc.Sites[1].Channels[0];
    EXPECT_EQ(kept.RxFrequency.View(), "451");
    EXPECT_EQ(kept.TxFrequency.View(), "456");
    EXPECT_EQ(kept.Spacing25k, 1);
    EXPECT_EQ(kept.Spacing12k5, 0);
    EXPECT_TRUE(window.Dirty());
}

TEST(SitesDialog, LimitsBeepAndSitesInUseStay) {
    FakeUi ui;
    TZelWindow window;
    ui.Dialogs.push_back([&ui](QDialog& dialog) {
        Click(dialog, "deleteSite");
        Click(dialog, "addChannel");
        Click(dialog, "editChannel");
        EXPECT_EQ(ui.Beeps, 3) << "nothing selected: beeps only";
        EXPECT_TRUE(ui.Messages.empty());
        for (int i = 0; i < 16; ++i) {
            ui.Dialogs.push_back(SiteName(QString("Site %1").arg(i, 2, 10, QChar('0'))));
            Click(dialog, "newSite");
        }
        ui.Dialogs.push_back(SiteName("one too many"));
        Click(dialog, "newSite");
        EXPECT_EQ(ui.Beeps, 4);
        EXPECT_EQ(ui.Dialogs.size(), 1u) << "no name dialog for a 17th site";
        ui.Dialogs.clear();
        Press(dialog, QDialogButtonBox::Ok);
    });
    window.CmRfSites();
    ASSERT_EQ(window.Doc().Sites.Count(), 16);
}

TEST(ChannelEditor, RefusesBadFrequenciesAndStepsWithTheArrows) {
    FakeUi ui;
    TRfChannel channel;
    TEditChDlg editor(nullptr, "New Channel", channel, 0);
    ui.Dialogs.push_back([&ui](QDialog& dialog) {
        auto* rx = Child<QLineEdit>(dialog, "rxFrequency");
        auto* tx = Child<QLineEdit>(dialog, "txFrequency");
        EXPECT_EQ(Child<QComboBox>(dialog, "rxCtcss")->currentText(), "None");
        EXPECT_EQ(Child<QComboBox>(dialog, "rxCtcss")->count(), 43);
        Press(dialog, QDialogButtonBox::Ok);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(ui.LastText().startsWith("Invalid frequencies error."));
        Child<QToolButton>(dialog, "rxUp")->click();
        EXPECT_EQ(rx->text(), "150.00625");
        Child<QToolButton>(dialog, "txDown")->click();
        EXPECT_EQ(tx->text(), "149.99375");
        static_cast<TFqEdit*>(tx)->SetFrequency("10");
        Press(dialog, QDialogButtonBox::Ok);
        EXPECT_TRUE(dialog.isVisible()) << "exactly 10 MHz is refused";
        tx->clear();
        QTest::keyClicks(tx, "45001x25");
        EXPECT_EQ(tx->text(), "450.0125") << "digits formatted, the letter refused";
        Child<QCheckBox>(dialog, "qLift")->setChecked(true);
        Press(dialog, QDialogButtonBox::Ok);
    });
    ASSERT_EQ(Ui().Exec(editor), QDialog::Accepted);
    EXPECT_EQ(channel.RxFrequency.View(), "150.00625");
    EXPECT_EQ(channel.TxFrequency.View(), "450.0125");
    EXPECT_EQ(channel.RxCtcss.View(), "None");
    EXPECT_EQ(channel.QLift, 1);
    EXPECT_EQ(channel.Spacing12k5, 1);
}

// Only deleting passes unchecked: a selection replaced by a typed character
// is typing, and the rule applies.
TEST(ChannelEditor, TypingOverASelectionIsChecked) {
    FakeUi ui;
    TRfChannel channel;
    channel.RxFrequency.Set("450.0125");
    channel.TxFrequency.Set("455.0125");
    TEditChDlg editor(nullptr, "Edit Channel", channel, 0);
    ui.Dialogs.push_back([](QDialog& dialog) {
        auto* rx = Child<QLineEdit>(dialog, "rxFrequency");
        rx->selectAll();
        QTest::keyClick(rx, Qt::Key_X);
        EXPECT_EQ(rx->text(), "450.0125") << "a letter over the selection is refused";
        rx->end(false);
        QTest::keyClick(rx, Qt::Key_Backspace);
        QTest::keyClick(rx, Qt::Key_Backspace);
        EXPECT_EQ(rx->text(), "450.01") << "deleting is not reformatted";
        rx->selectAll();
        QTest::keyClick(rx, Qt::Key_4);
        EXPECT_EQ(rx->text(), "4");
        Press(dialog, QDialogButtonBox::Cancel);
    });
    EXPECT_EQ(Ui().Exec(editor), QDialog::Rejected);
}

TEST(ChannelEditor, AChannelWithoutSpacingKeepsNone) {
    FakeUi ui;
    TRfChannel channel;
    channel.RxFrequency.Set("450");
    channel.TxFrequency.Set("455");
    channel.RxCtcss.Set("69");
    channel.Spacing12k5 = 0;
    TEditChDlg editor(nullptr, "Edit Channel", channel, 0);
    ui.Dialogs.push_back([](QDialog& dialog) {
        EXPECT_EQ(Child<QComboBox>(dialog, "rxCtcss")->currentText(), "69.3");
        EXPECT_FALSE(Child<QRadioButton>(dialog, "spacing12k5")->isChecked());
        Press(dialog, QDialogButtonBox::Ok);
    });
    ASSERT_EQ(Ui().Exec(editor), QDialog::Accepted);
    EXPECT_EQ(channel.Spacing12k5 + channel.Spacing20k + channel.Spacing25k, 0);
    EXPECT_EQ(channel.RxCtcss.View(), "69.3");
}
