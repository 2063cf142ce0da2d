// Document texts are one byte per character (Windows-1252): the windows show
// every stored byte, keep it through OK and save, count characters against
// the limits, and refuse a typed character that a document cannot hold.
#include "app/zelwindow.h"
#include "document/zelfile.h"
#include "gui/fakeui.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

fs::path Temp(const std::string& name) {
    const fs::path directory =
        fs::path(testing::TempDir()) / ("texts-test-" + std::to_string(getpid()));
    fs::create_directories(directory);
    return directory / name;
}

// Bytes 1..255 (a text ends at NUL), between `least` and `most` of them.
std::string RandomText(std::mt19937& random, std::size_t least, std::size_t most) {
    std::uniform_int_distribution<std::size_t> length(least, most);
    std::uniform_int_distribution<int> byte(1, 255);
    std::string text(length(random), '\0');
    for (char& c : text)
        c = static_cast<char>(byte(random));
    return text;
}

std::unique_ptr<TZelWindow> Open(const TBoardData& document, const fs::path& path) {
    EXPECT_EQ(SaveDocument(document, path, 5), ZelResult::Ok);
    auto window = std::make_unique<TZelWindow>();
    window->OpenPath(QString::fromStdString(path.string()));
    return window;
}

} // namespace

// Any bytes in the names survive opening, OK in every dialog that shows
// them (every bank shown in turn) and saving, byte for byte.
TEST(DocumentTexts, EveryByteSurvivesTheDialogsAndASave) {
    std::mt19937 random(20261211);
    for (int round = 0; round < 12; ++round) {
        TBoardData document;
        for (int s = 0; s < 3; ++s) {
            auto site = std::make_unique<TRfSite>();
            site->SetName(RandomText(random, 1, limits::kSiteName));
            document.Sites.Append(site);
        }
        for (int b = 0; b < 3; ++b) {
            auto bank = std::make_unique<TBankData>();
            bank->Name.Set(RandomText(random, 0, limits::kBankName));
            bank->Site = &document.Sites[b];
            document.Banks.Append(bank);
        }
        const fs::path path = Temp("bytes.zel");
        FakeUi ui;
        auto window = Open(document, path);
        ui.Dialogs.push_back([](QDialog& dialog) { Press(dialog, QDialogButtonBox::Ok); });
        window->CmRfSites();
        ui.Dialogs.push_back([](QDialog& sheet) {
            ClickTab(*Child<QTabWidget>(sheet, "pages"), 1);
            auto* selector = Child<QListWidget>(sheet, "selector");
            for (int row : {1, 2, 0})
                ClickRow(*selector, row);
            Press(sheet, QDialogButtonBox::Ok);
        });
        window->CmConfiguration();
        EXPECT_TRUE(ui.Messages.empty()) << ui.LastText().toStdString();
        ASSERT_TRUE(window->CmFileSave());

        std::unique_ptr<TBoardData> saved;
        ASSERT_EQ(LoadDocument(path, saved), ZelResult::Ok);
        for (int s = 0; s < 3; ++s)
            EXPECT_EQ(saved->Sites[s].Name.View(), document.Sites[s].Name.View()) << round;
        for (int b = 0; b < 3; ++b)
            EXPECT_EQ(saved->Banks[b].Name.View(), document.Banks[b].Name.View()) << round;
    }
}

// A stored 8-bit name shows as its character; typed accents count one
// character each against the limit; a character without a byte is refused.
TEST(DocumentTexts, TypedTextCountsCharactersAndRefusesWhatHasNoByte) {
    TBoardData document;
    auto site = std::make_unique<TRfSite>();
    site->SetName("Caf\xE9");
    document.Sites.Append(site);
    auto bank = std::make_unique<TBankData>();
    bank->Site = &document.Sites[0];
    document.Banks.Append(bank);
    FakeUi ui;
    auto window = Open(document, Temp("typed.zel"));
    ui.Dialogs.push_back([](QDialog& sheet) {
        ClickTab(*Child<QTabWidget>(sheet, "pages"), 1);
        EXPECT_EQ(Child<QComboBox>(sheet, "site")->currentText(), QString::fromUtf8("Café"));
        auto* name = Child<QLineEdit>(sheet, "name");
        name->setFocus();
        TypeText(name, QString::fromUtf8("жж"));
        EXPECT_EQ(name->text(), QString()) << "no byte for these";
        TypeText(name, QString(15, QChar(0xE9)) + QString::fromUtf8("€"));
        EXPECT_EQ(name->text(), QString(14, QChar(0xE9)));
        Press(sheet, QDialogButtonBox::Ok);
    });
    window->CmConfiguration();
    EXPECT_EQ(window->Doc().Banks[0].Name.View(), std::string(14, '\xE9'));
    EXPECT_EQ(window->Doc().Sites[0].Name.View(), "Caf\xE9");
}

// The password is stored as the document's bytes; a password that the
// keyboard can only give in other characters never matches.
TEST(DocumentTexts, PasswordsAreBytesOfTheCodePage) {
    FakeUi ui;
    TZelWindow window;
    ui.Dialogs.push_back([](QDialog& dialog) {
        for (const char* name : {"newPassword", "verifyPassword"}) {
            auto* edit = Child<QLineEdit>(dialog, name);
            edit->setFocus();
            TypeText(edit, QString::fromUtf8("жжж"));
            EXPECT_EQ(edit->text(), QString()) << name;
            TypeText(edit, QString::fromUtf8("été€"));
        }
        Press(dialog, QDialogButtonBox::Ok);
    });
    window.CmPassword();
    EXPECT_EQ(window.Doc().Product.Password.View(), "\xE9t\xE9\x80");

    const fs::path path = Temp("locked.zel");
    ASSERT_EQ(SaveDocument(window.Doc(), path, 9), ZelResult::Ok);
    TZelWindow reopened;
    reopened.OpenPath(QString::fromStdString(path.string()));
    const auto enter = [&ui](const QString& typed) {
        ui.Dialogs.push_back([typed](QDialog& dialog) {
            auto* edit = Child<QLineEdit>(dialog, "password");
            edit->setFocus();
            TypeText(edit, typed);
            Press(dialog, QDialogButtonBox::Ok);
        });
    };
    enter(QString::fromUtf8("ййй"));
    EXPECT_FALSE(reopened.CheckAccess());
    EXPECT_EQ(ui.LastText(), "Incorrect password");
    enter(QString::fromUtf8("été€"));
    EXPECT_TRUE(reopened.CheckAccess());
}
