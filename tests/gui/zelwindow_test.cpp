// The main window driven as a technician would: menus, prompts, files,
// password gate, port dialog and a programming run on the simulator.
#include "app/core/preferences.h"
#include "app/core/settings.h"
#include "app/zelwindow.h"
#include "dialogs/dialoghelpers.h"
#include "dialogs/smalldialogs.h"
#include "document/zelfile.h"
#include "gui/fakeui.h"
#include "programming/image.h"
#include "programming/sha256.h"
#include "programming/statusdialog/pgmstatdlg.h"
#include "programminglog/programminglog.h"
#include "radiolink/server/portmap.h"
#include "radiolink/server/radioserver.h"
#include "resources/stringtable.h"
#include "support/simprocess.h"
#include "support/testdata.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>
#include <QWindow>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

QString Temp(const std::string& name) {
    const fs::path directory = fs::path(testing::TempDir()) / "zelwindow-test";
    fs::create_directories(directory);
    return QString::fromStdString((directory / name).string());
}

// Makes the document dirty the way a technician would: OK in a dialog.
void EditPassword(TZelWindow& window, FakeUi& ui, const QString& password) {
    ui.Dialogs.push_back([password](QDialog& dialog) {
        TypeOver(dialog.findChild<QLineEdit*>("newPassword"), password);
        TypeOver(dialog.findChild<QLineEdit*>("verifyPassword"), password);
        Press(dialog, QDialogButtonBox::Ok);
    });
    window.CmPassword();
}

QString SavedDocument(const std::string& name, const std::string& password) {
    TBoardData document;
    document.Product.Password.Set(password);
    const QString path = Temp(name);
    EXPECT_EQ(SaveDocument(document, path.toStdString(), 7), ZelResult::Ok);
    return path;
}

using Answer = IUiServices::Answer;

} // namespace

TEST(MainWindow, StartsUntitledWithTheProgramTitle) {
    FakeUi ui;
    TZelWindow window;
    EXPECT_EQ(window.windowTitle(), "Quarvelin II PRO-ZEL");
    EXPECT_TRUE(window.Untitled());
    EXPECT_FALSE(window.Dirty());
    EXPECT_TRUE(window.Unlocked());
    EXPECT_EQ(TZelWindow::InitialGeometry(QRect(0, 0, 1024, 768)), QRect(102, 76, 820, 616));
}

TEST(MainWindow, ClosePrompt) {
    FakeUi ui;
    TZelWindow window;
    EXPECT_TRUE(window.CanClose()) << "no changes: nothing asked";
    EXPECT_TRUE(ui.Messages.empty());

    EditPassword(window, ui, "");
    EXPECT_TRUE(window.Dirty()) << "OK marks the document changed even without a change";
    ui.Answers = {Answer::Cancel};
    EXPECT_FALSE(window.CanClose());
    EXPECT_EQ(ui.Messages.back().Text, "Do you want to save?");
    EXPECT_EQ(ui.Messages.back().Caption, "Data has changed");
    EXPECT_EQ(ui.Messages.back().Icon, IUiServices::Icon::Question);

    ui.Answers = {Answer::Yes};
    ui.SaveNames = {QString()};
    EXPECT_FALSE(window.CanClose()) << "a cancelled save dialog abandons the close";
    EXPECT_EQ(ui.SaveDialogs, 1);
    EXPECT_TRUE(window.Dirty());

    ui.Answers = {Answer::Yes};
    ui.SaveNames = {Temp("UNIT7.zel")};
    EXPECT_TRUE(window.CanClose());
    EXPECT_FALSE(window.Dirty());
    EXPECT_EQ(window.windowTitle(), "Quarvelin II PRO-ZEL - UNIT7.zel");

    EditPassword(window, ui, "");
    ui.Answers = {Answer::No};
    EXPECT_TRUE(window.CanClose());
}

TEST(MainWindow, NewAndOpenAskBeforeLosingChanges) {
    FakeUi ui;
    TZelWindow window;
    EditPassword(window, ui, "abc");
    ui.Answers = {Answer::Cancel};
    window.CmFileNew();
    EXPECT_EQ(window.Doc().Product.Password.View(), "abc");
    ui.Answers = {Answer::No};
    window.CmFileNew();
    EXPECT_TRUE(window.Doc().Product.Password.Empty());
    EXPECT_FALSE(window.Dirty());
}

TEST(MainWindow, SaveFailureKeepsTheDocumentDirty) {
    FakeUi ui;
    TZelWindow window;
    EditPassword(window, ui, "x");
    ui.SaveNames = {Temp("no-such-dir/file.zel")};
    EXPECT_FALSE(window.CmFileSave());
    EXPECT_TRUE(window.Dirty());
    EXPECT_TRUE(window.Untitled());
    EXPECT_EQ(ui.LastText(), "Unable to open file");
    EXPECT_EQ(ui.Messages.back().Caption, "File Error");
    EXPECT_EQ(window.windowTitle(), "Quarvelin II PRO-ZEL");
}

TEST(MainWindow, OpeningAnInvalidFileKeepsEverything) {
    FakeUi ui;
    TZelWindow window;
    const QString good = SavedDocument("good.zel", "");
    window.OpenPath(good);
    const QString junk = Temp("junk.zel");
    std::ofstream(junk.toStdString()) << "this is no document";
    ui.OpenNames = {junk};
    window.CmFileOpen();
    EXPECT_EQ(ui.LastText(), "Unable to open file");
    EXPECT_EQ(ui.Messages.back().Caption, "File Error");
    EXPECT_EQ(ui.Messages.back().Icon, IUiServices::Icon::Exclamation);
    EXPECT_EQ(window.Path(), good);
    EXPECT_EQ(window.windowTitle(), "Quarvelin II PRO-ZEL - good.zel");
}

TEST(MainWindow, OpenRelocksAndNewUnlocks) {
    FakeUi ui;
    TZelWindow window;
    ui.OpenNames = {SavedDocument("locked.zel", "Secret")};
    window.CmFileOpen();
    EXPECT_FALSE(window.Unlocked());
    EXPECT_FALSE(window.Untitled());
    window.CmFileNew();
    EXPECT_TRUE(window.Unlocked());
}

TEST(PasswordGate, EmptyPasswordUnlocksSilently) {
    FakeUi ui;
    TZelWindow window;
    window.OpenPath(SavedDocument("open.zel", ""));
    EXPECT_FALSE(window.Unlocked());
    EXPECT_TRUE(window.CheckAccess());
    EXPECT_TRUE(window.Unlocked());
    EXPECT_TRUE(ui.Messages.empty());
}

TEST(PasswordGate, CaseSensitiveRefusalThenCorrectEntry) {
    FakeUi ui;
    TZelWindow window;
    window.OpenPath(SavedDocument("secret.zel", "Secret"));
    auto enter = [&](const QString& text) {
        ui.Dialogs.push_back([text](QDialog& dialog) {
            auto* edit = dialog.findChild<QLineEdit*>("password");
            EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
            EXPECT_EQ(edit->maxLength(), 8);
            TypeOver(edit, text);
            Press(dialog, QDialogButtonBox::Ok);
        });
    };
    enter("secret");
    EXPECT_FALSE(window.CheckAccess());
    EXPECT_EQ(ui.LastText(), "Incorrect password");
    EXPECT_EQ(ui.Messages.back().Caption, "Quarvelin II PRO-ZEL");
    ui.Dialogs.push_back([](QDialog& dialog) { Press(dialog, QDialogButtonBox::Cancel); });
    EXPECT_FALSE(window.CheckAccess());
    EXPECT_EQ(ui.Messages.size(), 1u) << "Cancel shows nothing";
    enter("Secret");
    EXPECT_TRUE(window.CheckAccess());
    EXPECT_TRUE(window.Unlocked());
}

TEST(PasswordGate, NewPasswordTakesEffectAfterSaveAndReopen) {
    FakeUi ui;
    TZelWindow window;
    ui.Dialogs.push_back([](QDialog& dialog) {
        TypeOver(dialog.findChild<QLineEdit*>("newPassword"), "one");
        TypeOver(dialog.findChild<QLineEdit*>("verifyPassword"), "two");
        Press(dialog, QDialogButtonBox::Ok);
        EXPECT_TRUE(dialog.isVisible()) << "mismatched entries keep the dialog open";
        Press(dialog, QDialogButtonBox::Cancel);
    });
    window.CmPassword();
    EXPECT_EQ(ui.LastText(), "Password entries do not match.\rTry again.");
    EXPECT_FALSE(window.Dirty());

    EditPassword(window, ui, "Pw");
    EXPECT_EQ(window.Doc().Product.Password.View(), "Pw");
    EXPECT_TRUE(window.CheckAccess()) << "still unlocked until saved and reopened";
    const QString path = Temp("pw.zel");
    ui.SaveNames = {path};
    ASSERT_TRUE(window.CmFileSave());
    window.OpenPath(path);
    ui.Dialogs.push_back([](QDialog& dialog) { Press(dialog, QDialogButtonBox::Cancel); });
    EXPECT_FALSE(window.CheckAccess());

    // Two empty entries remove the password and mark the document dirty.
    ui.Dialogs.push_back([](QDialog& dialog) {
        TypeOver(dialog.findChild<QLineEdit*>("password"), "Pw");
        Press(dialog, QDialogButtonBox::Ok);
    });
    EditPassword(window, ui, "");
    EXPECT_TRUE(window.Doc().Product.Password.Empty());
    EXPECT_TRUE(window.Dirty());
}

TEST(PortDialog, OkStoresTheChoiceCancelKeepsIt) {
    FakeUi ui;
    TZelWindow window;
    AppSettings().Port = 3;
    ui.Dialogs.push_back([](QDialog& dialog) {
        auto* ports = dialog.findChild<QComboBox*>("port");
        EXPECT_EQ(ports->currentText(), "COM3");
        EXPECT_EQ(ports->count(), 4);
        ports->setFocus();
        QTest::keyClick(ports, Qt::Key_Home);
        EXPECT_EQ(ports->currentText(), "COM1");
        Press(dialog, QDialogButtonBox::Cancel);
    });
    window.CmSerialPort();
    EXPECT_EQ(AppSettings().Port, 3);
    ui.Dialogs.push_back([](QDialog& dialog) {
        auto* ports = dialog.findChild<QComboBox*>("port");
        ports->setFocus();
        QTest::keyClick(ports, Qt::Key_Home);
        Press(dialog, QDialogButtonBox::Ok);
    });
    window.CmSerialPort();
    EXPECT_EQ(AppSettings().Port, 1);
    EXPECT_FALSE(window.Dirty());
}

TEST(SmallDialogs, AboutTextAndCentring) {
    FakeUi ui;
    EXPECT_TRUE(TAboutDlg::Text().startsWith("Quarvelin II PRO-ZEL\nVersion 1.0\n"));
    EXPECT_EQ(CenterPosition(QRect(100, 50, 800, 600), QSize(201, 101)), QPoint(399, 299));
    EXPECT_EQ(CenterPosition(QRect(100, 50, 100, 100), QSize(301, 201)), QPoint(0, 0));
}

namespace {

// The real radio-link exports, noting the status dialog's counter each time
// a block is written.
class WatchedRadio final : public IRadio {
  public:
    QStringList Counters;
    QString Esn;
    std::int32_t ResetRadio(std::int32_t port) override { return radio_.ResetRadio(port); }
    std::int32_t GetEsn(std::int32_t port, char* buffer) override {
        return radio_.GetEsn(port, buffer);
    }
    std::int32_t PingOptBoard(std::int32_t port, unsigned char* buffer) override {
        return radio_.PingOptBoard(port, buffer);
    }
    std::int32_t WriteData(std::int32_t port, const unsigned char* data, std::int32_t address,
                           std::int32_t count, std::int32_t resetAfter) override {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* status = qobject_cast<TPgmStatDlg*>(widget); status && status->isVisible()) {
                Counters << status->findChild<QLabel*>("counter")->text();
                Esn = status->findChild<QLabel*>("esn")->text();
            }
        return radio_.WriteData(port, data, address, count, resetAfter);
    }
    std::int32_t ReadData(std::int32_t port, unsigned char* data, std::int32_t address,
                          std::int32_t count) override {
        return radio_.ReadData(port, data, address, count);
    }

  private:
    TarvoRadio radio_;
};

} // namespace

TEST(ProgrammingFromTheMenu, SucceedsOnTheSimulatorShowingTheCounter) {
    FakeUi ui;
    TZelWindow window;
    WatchedRadio radio;
    window.SetRadio(&radio);
    window.SetProgrammingOptions({[](std::chrono::milliseconds) {}, {}});
    setenv("TARVO_COM2", "sim:esn=GUI0000001", 1);
    AppSettings().Port = 2;
    window.CmProgram();
    unsetenv("TARVO_COM2");
    ASSERT_EQ(radio.Counters.size(), 18);
    EXPECT_EQ(radio.Counters.front(), "0 of 2256");
    EXPECT_EQ(radio.Counters.back(), "2176 of 2256");
    EXPECT_EQ(radio.Esn, "GUI0000001");
    EXPECT_EQ(ui.LastText(), "Success: Programming completed");
    EXPECT_EQ(ui.Messages.back().Icon, IUiServices::Icon::None);
    EXPECT_EQ(ui.Beeps, 1);
}

// The real serial path, twice in a row as a technician would: each library
// call opens and closes the pseudo-terminal, so nothing of one call may turn
// the next away (run by an ordinary user in CI).
TEST(ProgrammingFromTheMenu, TwoRunsInARowOverASerialLine) {
    FakeUi ui;
    TZelWindow window;
    window.SetProgrammingOptions({[](std::chrono::milliseconds) {}, {}});
    SimProcess simulator({"--esn", "PTY0000042"});
    ASSERT_FALSE(simulator.Device().empty());
    setenv("TARVO_COM3", simulator.Device().c_str(), 1);
    AppSettings().Port = 3;
    window.CmProgram();
    EXPECT_EQ(ui.LastText(), "Success: Programming completed");
    window.CmProgram();
    EXPECT_EQ(ui.LastText(), "Success: Programming completed");
    unsetenv("TARVO_COM3");
}

TEST(ProgrammingFromTheMenu, AFailingRunShowsTheNumberedError) {
    FakeUi ui;
    TZelWindow window;
    window.SetProgrammingOptions({[](std::chrono::milliseconds) {}, {}});
    setenv("TARVO_COM2", "sim:fault=nak", 1);
    AppSettings().Port = 2;
    window.CmProgram();
    unsetenv("TARVO_COM2");
    EXPECT_EQ(ui.LastText(), "Error 11: No ACK from option board");
    EXPECT_EQ(ui.Messages.back().Icon, IUiServices::Icon::Exclamation);
}

TEST(ProgrammingFromTheMenu, AnInvalidDocumentNeverOpensTheDialog) {
    FakeUi ui;
    TZelWindow window;
    ui.Dialogs.push_back([](QDialog&) {});
    QString path = Temp("bad-product.zel");
    TBoardData document;
    document.Product.ProductName.Set("NOPE");
    ASSERT_EQ(SaveDocument(document, path.toStdString(), 1), ZelResult::Ok);
    window.OpenPath(path);
    window.CmProgram();
    EXPECT_EQ(ui.LastText(), "Invalid product name or model number");
    EXPECT_EQ(ui.Beeps, 0);
}

namespace {

TOptionImage GoldenImage() {
    std::ifstream file(TestData("golden.bin"), std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
    TOptionImage image{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), image.size()), image.begin());
    return image;
}

// The memory of an erased board.
TOptionImage ErasedImage() {
    TOptionImage image;
    image.fill(0xFF);
    return image;
}

// The simulated board on COM2, holding `memory`.
struct BoardOnCom2 {
    explicit BoardOnCom2(const TOptionImage& memory) {
        setenv("TARVO_COM2", "sim", 1);
        AppSettings().Port = 2;
        radioserver::SimulatedBoard("COM2")->Load(memory);
    }
    ~BoardOnCom2() { unsetenv("TARVO_COM2"); }
};

} // namespace

TEST(ReadFromBoard, OpensTheDecodedBoardAsAnUntitledChangedDocument) {
    FakeUi ui;
    TZelWindow window;
    window.SetProgrammingOptions({[](std::chrono::milliseconds) {}, {}});
    const TOptionImage golden = GoldenImage();
    BoardOnCom2 board(golden);
    window.CmReadBoard();
    EXPECT_TRUE(window.Untitled());
    EXPECT_TRUE(window.Dirty());
    EXPECT_EQ(window.windowTitle(), kProgramTitle);
    EXPECT_TRUE(ui.LastText().startsWith("Read from the option board: 3 sites"))
        << ui.LastText().toStdString();
    TOptionImage again;
    ASSERT_EQ(BuildImage(again, window.Doc()), buildresult::Ok);
    EXPECT_EQ(again, golden);

    // A changed document is offered for saving first; Cancel reads nothing.
    ui.Answers.push_back(IUiServices::Answer::Cancel);
    radioserver::SimulatedBoard("COM2")->Fill(0x00);
    window.CmReadBoard();
    EXPECT_EQ(ui.Messages.back().Caption, StringText(strings::kDataChanged));
    ASSERT_EQ(BuildImage(again, window.Doc()), buildresult::Ok);
    EXPECT_EQ(again, golden) << "the document stayed";
}

TEST(ReadFromBoard, ABoardOfGarbageOpensOnlyWhenTheUserSaysSo) {
    FakeUi ui;
    TZelWindow window;
    window.SetProgrammingOptions({[](std::chrono::milliseconds) {}, {}});
    TOptionImage garbage;
    garbage.fill(0x5A);
    BoardOnCom2 board(garbage);
    ui.Answers.push_back(IUiServices::Answer::No);
    window.CmReadBoard();
    EXPECT_TRUE(ui.LastText().startsWith("The option board holds bytes that no document makes:"));
    EXPECT_TRUE(ui.LastText().contains("header, busy channel detect"));
    EXPECT_FALSE(window.Dirty()) << "nothing opened";
    ui.Answers.push_back(IUiServices::Answer::Yes);
    window.CmReadBoard();
    EXPECT_TRUE(window.Dirty());
}

TEST(VerifyBoard, SaysWhetherTheBoardHoldsTheDocumentAndWhatDiffers) {
    FakeUi ui;
    TZelWindow window;
    window.SetProgrammingOptions({[](std::chrono::milliseconds) {}, {}});
    window.OpenPath(QString::fromStdString(TestData("golden.zel")));
    TOptionImage golden = GoldenImage();
    BoardOnCom2 board(golden);
    window.CmVerifyBoard();
    EXPECT_EQ(ui.LastText(), "Verified: the option board holds this document's image.");
    EXPECT_EQ(ui.Messages.back().Icon, IUiServices::Icon::None);

    // The first channel's receive frequency changed on the board.
    golden[boardmemory::Channels + 5] ^= 0x01;
    radioserver::SimulatedBoard("COM2")->Load(golden);
    window.CmVerifyBoard();
    EXPECT_TRUE(ui.LastText().startsWith("The option board differs from this document"));
    EXPECT_TRUE(ui.LastText().contains("site Harbour, channel 1: receive"))
        << ui.LastText().toStdString();
    EXPECT_EQ(ui.Messages.back().Icon, IUiServices::Icon::Exclamation);
}

namespace {

std::filesystem::path RecentStore(const std::string& name) {
    const auto store =
        fs::path(testing::TempDir()) / ("recent-" + name + "-" + std::to_string(getpid()));
    fs::remove(store);
    return store;
}

// The text of a PDF, blanks removed.
std::string PdfText(const QString& pdf) {
    const std::string text = pdf.toStdString() + ".txt";
    EXPECT_EQ(std::system(("pdftotext '" + pdf.toStdString() + "' '" + text + "'").c_str()), 0);
    std::ifstream in(text);
    std::string content{std::istreambuf_iterator<char>(in), {}};
    std::erase_if(content, [](unsigned char c) { return std::isspace(c) != 0; });
    return content;
}

} // namespace

TEST(RecentFiles, TheLastEightDocumentsOpenedOrSavedStayAcrossRuns) {
    FakeUi ui;
    const auto store = RecentStore("list");
    std::vector<QString> paths;
    {
        TZelWindow window(nullptr, store);
        for (int i = 0; i < 9; ++i) {
            paths.push_back(SavedDocument("recent" + std::to_string(i) + ".zel", ""));
            window.OpenPath(paths.back());
        }
        ui.SaveNames.push_back(Temp("recent-saved.zel"));
        ASSERT_TRUE(window.CmFileSaveAs());
        ASSERT_EQ(window.RecentPaths().size(), 8u);
        EXPECT_EQ(window.RecentPaths().front(), Temp("recent-saved.zel").toStdString());
        EXPECT_EQ(window.RecentPaths()[1], paths[8].toStdString());
    }
    TZelWindow later(nullptr, store);
    ASSERT_EQ(later.RecentPaths().size(), 8u) << "kept in the store";
    EXPECT_EQ(later.RecentPaths().back(), paths[2].toStdString()) << "the oldest are gone";
    QAction* second = later.findChild<QAction*>("recentFile2");
    ASSERT_NE(second, nullptr);
    second->trigger();
    EXPECT_EQ(later.Path(), paths[8]);
    EXPECT_EQ(later.RecentPaths().front(), paths[8].toStdString());

    // A document that has gone away is reported and leaves the list.
    fs::remove(paths[7].toStdString());
    later.OpenRecent(paths[7]);
    EXPECT_EQ(ui.LastText(), "Unable to open file");
    EXPECT_EQ(
        std::count(later.RecentPaths().begin(), later.RecentPaths().end(), paths[7].toStdString()),
        0);
}

TEST(DroppedFiles, ADroppedDocumentOpensAfterTheClosePrompt) {
    FakeUi ui;
    TZelWindow window(nullptr, RecentStore("drop"));
    window.show();
    const QString document = SavedDocument("dropped.zel", "");
    // As the platform delivers a drop: to the window, which finds the
    // widget that takes drops.
    auto drop = [&](const QString& file) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file)});
        QDragEnterEvent enter(QPoint(20, 40), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(window.windowHandle(), &enter);
        QDropEvent event(QPointF(20, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.windowHandle(), &event);
    };
    drop(Temp("notes.txt"));
    EXPECT_TRUE(window.Untitled()) << "only documents are taken";
    EditPassword(window, ui, "x");
    ui.Answers.push_back(Answer::Cancel);
    drop(document);
    EXPECT_TRUE(window.Untitled()) << "Cancel in the close prompt keeps the changes";
    ui.Answers.push_back(Answer::No);
    drop(document);
    EXPECT_TRUE(ui.Answers.empty()) << "asked before each drop";
    EXPECT_EQ(window.Path(), document);
}

TEST(ConfigurationSheet, ExportAndPrintHoldTheDocument) {
    FakeUi ui;
    TZelWindow window(nullptr, RecentStore("sheet"));
    window.OpenPath(QString::fromStdString(TestData("golden.zel")));
    const QString exported = Temp("golden-sheet.pdf");
    const QString printed = Temp("golden-printed.pdf");
    QFile::remove(exported);
    ui.ExportNames.push_back(exported);
    window.CmFileExportPdf();
    ui.PrintTo = printed;
    window.CmFilePrint();
    for (const QString& pdf : {exported, printed}) {
        const std::string text = PdfText(pdf);
        for (const char* expected : {"Harbour", "RidgeRepeater", "Depot", "Document:golden.zel"})
            EXPECT_NE(text.find(expected), std::string::npos)
                << pdf.toStdString() << " lacks " << expected;
    }
    EXPECT_TRUE(ui.Messages.empty());
}

// The sheet and the board comparison show the settings: the password gate
// stands before them as before the editors.
TEST(PasswordGate, PrintExportAndVerifyAskForThePassword) {
    FakeUi ui;
    TZelWindow window;
    window.OpenPath(SavedDocument("sheet-locked.zel", "Secret"));
    const QString pdf = Temp("sheet-locked.pdf");
    fs::remove(pdf.toStdString());
    const auto cancelEntry = [&ui] {
        ui.Dialogs.push_back([](QDialog& dialog) {
            EXPECT_NE(dialog.findChild<QLineEdit*>("password"), nullptr);
            Press(dialog, QDialogButtonBox::Cancel);
        });
    };
    ui.ExportNames = {pdf};
    ui.PrintTo = pdf;
    cancelEntry();
    window.CmFileExportPdf();
    cancelEntry();
    window.CmFilePrint();
    cancelEntry();
    window.CmVerifyBoard();
    EXPECT_TRUE(ui.Dialogs.empty()) << "each asked for the password";
    EXPECT_FALSE(fs::exists(pdf.toStdString()));
    EXPECT_EQ(ui.ExportNames.size(), 1u) << "no file was asked for";
    EXPECT_TRUE(ui.Messages.empty());
}

// A file that cannot be opened or written keeps the message it always had;
// the detail names the file and what went wrong.
TEST(MainWindow, FileErrorsNameTheFileAndTheReason) {
    FakeUi ui;
    TZelWindow window;
    const QString missing = Temp("not-there.zel");
    window.OpenPath(missing);
    ASSERT_FALSE(ui.Messages.empty());
    EXPECT_EQ(ui.LastText(), "Unable to open file");
    EXPECT_EQ(ui.Messages.back().Caption, "File Error");
    EXPECT_EQ(ui.Messages.back().Detail, missing + ": no such file");
    const QString junk = Temp("junk-detail.zel");
    std::ofstream(junk.toStdString()) << "this is no document";
    window.OpenPath(junk);
    EXPECT_EQ(ui.LastText(), "Unable to open file");
    EXPECT_TRUE(ui.Messages.back().Detail.startsWith(
        junk + ": the file is shorter than its length field says"))
        << ui.Messages.back().Detail.toStdString();
    if (geteuid() == 0)
        return; // root may write a read-only file
    const QString locked = SavedDocument("read-only.zel", "");
    fs::permissions(locked.toStdString(), fs::perms::owner_read | fs::perms::group_read);
    window.OpenPath(locked);
    EditPassword(window, ui, "");
    EXPECT_FALSE(window.CmFileSave());
    EXPECT_EQ(ui.LastText(), "Unable to open file");
    EXPECT_EQ(ui.Messages.back().Detail, locked + ": no permission");
    EXPECT_TRUE(window.Dirty());
}

// Radio > Identify Board says what the board holds without resetting it.
TEST(IdentifyBoard, SaysWhatTheBoardHolds) {
    FakeUi ui;
    TZelWindow window;
    window.SetProgrammingOptions({[](std::chrono::milliseconds) {}, {}});
    const TOptionImage erased = ErasedImage();
    BoardOnCom2 board(erased);
    window.CmIdentifyBoard();
    EXPECT_EQ(ui.LastText(), "The option board holds an erased memory (every byte FF).");
    radioserver::SimulatedBoard("COM2")->Load(GoldenImage());
    window.CmIdentifyBoard();
    EXPECT_TRUE(ui.LastText().startsWith(
        "The option board holds a configuration: 3 site(s), 6 bank(s), checksum good."))
        << ui.LastText().toStdString();
    EXPECT_FALSE(window.Dirty()) << "the document is not touched";
}

// The device boxes of the port dialog keep the user's mapping in the port
// map, which the next run uses; bad options keep the dialog open and the map
// as it was; a TARVO_COMn variable shows and cannot be changed here.
TEST(PortDialog, MapsEachPortToADeviceThatTheRunsUse) {
    FakeUi ui;
    TZelWindow window;
    window.SetProgrammingOptions({[](std::chrono::milliseconds) {}, {}});
    AppSettings().Port = 1;
    setenv("TARVO_COM3", "sim:esn=FROMENV001", 1);
    ui.Dialogs.push_back([&ui](QDialog& dialog) {
        auto* com3 = dialog.findChild<QComboBox*>("deviceCOM3");
        EXPECT_FALSE(com3->isEnabled());
        EXPECT_EQ(com3->currentText(), "TARVO_COM3: built-in simulator (esn=FROMENV001)");
        auto* com4 = dialog.findChild<QComboBox*>("deviceCOM4");
        TypeOver(com4->lineEdit(), "sim:nonsense=1");
        Press(dialog, QDialogButtonBox::Ok);
        EXPECT_TRUE(ui.LastText().startsWith("COM4: ")) << ui.LastText().toStdString();
        EXPECT_TRUE(dialog.isVisible()) << "the dialog stays open on a bad entry";
        // The simulator is the last entry of the list, chosen by keyboard.
        com4->setFocus();
        for (int step = 0; step < com4->count(); ++step)
            QTest::keyClick(com4, Qt::Key_Down);
        EXPECT_EQ(com4->currentText(), "sim  (built-in simulator)");
        TypeOver(dialog.findChild<QComboBox*>("deviceCOM2")->lineEdit(), "/dev/serial/by-id/usb-X");
        auto* ports = dialog.findChild<QComboBox*>("port");
        ports->setFocus();
        QTest::keyClick(ports, Qt::Key_End);
        Press(dialog, QDialogButtonBox::Ok);
    });
    window.CmSerialPort();
    unsetenv("TARVO_COM3");
    EXPECT_EQ(AppSettings().Port, 4);
    const radioserver::PortMap map = radioserver::ReadPortMap();
    EXPECT_EQ(map, (radioserver::PortMap{"", "/dev/serial/by-id/usb-X", "", "sim"}));

    // The mapped simulator answers the next run on COM4.
    radioserver::SimulatedBoard("COM4")->Load(GoldenImage());
    window.CmIdentifyBoard();
    EXPECT_TRUE(ui.LastText().startsWith("The option board holds a configuration"))
        << ui.LastText().toStdString();

    // Reopened, the dialog shows the mapping; clearing a box unmaps the port.
    ui.Dialogs.push_back([](QDialog& dialog) {
        auto* com2 = dialog.findChild<QComboBox*>("deviceCOM2");
        EXPECT_EQ(com2->currentText(), "/dev/serial/by-id/usb-X");
        EXPECT_EQ(dialog.findChild<QComboBox*>("deviceCOM4")->currentText(),
                  "sim  (built-in simulator)");
        TypeOver(com2->lineEdit(), "");
        Press(dialog, QDialogButtonBox::Ok);
    });
    window.CmSerialPort();
    EXPECT_EQ(radioserver::ReadPortMap(), (radioserver::PortMap{"", "", "", "sim"}));
    fs::remove(radioserver::PortMapLocation());
}

// Radio > Write Image File... writes a backup to the board as it is, after
// asking; a file of another size is refused and nothing is written.
TEST(WriteImageFile, ABackupIsWrittenAsItIsAfterTheUserConfirms) {
    const auto memory = [] {
        const auto bytes = radioserver::SimulatedBoard("COM2")->Memory();
        TOptionImage image;
        std::copy(bytes.begin(), bytes.end(), image.begin());
        return image;
    };
    FakeUi ui;
    TZelWindow window;
    window.SetProgrammingOptions({[](std::chrono::milliseconds) {}, {}});
    const TOptionImage erased = ErasedImage();
    BoardOnCom2 board(erased);
    const QString backup = Temp("backup.bin");
    const TOptionImage golden = GoldenImage();
    {
        std::ofstream out(backup.toStdString(), std::ios::binary);
        out.write(reinterpret_cast<const char*>(golden.data()), golden.size());
    }
    ui.ImageNames = {backup};
    ui.Answers = {IUiServices::Answer::No};
    window.CmWriteImageFile();
    EXPECT_EQ(memory(), erased) << "No writes nothing";
    EXPECT_TRUE(ui.LastText().startsWith("Write backup.bin to the option board on COM2"));

    const QString shortFile = Temp("short.bin");
    std::ofstream(shortFile.toStdString()) << "not an image";
    ui.ImageNames = {shortFile};
    window.CmWriteImageFile();
    EXPECT_EQ(ui.LastText(), "short.bin is not an option-board image file of 2256 bytes.");
    EXPECT_EQ(memory(), erased);

    ui.ImageNames = {backup};
    ui.Answers = {IUiServices::Answer::Yes};
    window.CmWriteImageFile();
    EXPECT_EQ(ui.LastText(), "Success: Programming completed");
    EXPECT_EQ(memory(), golden);
}

// File > Export Channels... writes the sites as CSV; File > Import
// Channels... merges a CSV, or names every fault and changes nothing.
TEST(ChannelsAsCsv, ExportedAndImportedFromTheFileMenu) {
    FakeUi ui;
    TZelWindow window;
    window.OpenPath(QString::fromStdString(TestData("golden.zel")));
    const int sites = window.Doc().Sites.Count();
    const QString exported = Temp("golden-channels.csv");
    ui.CsvNames = {exported};
    window.findChild<QAction*>("fileExportChannels")->trigger();
    std::ifstream in(exported.toStdString(), std::ios::binary);
    const std::string csv{std::istreambuf_iterator<char>(in), {}};
    EXPECT_TRUE(csv.starts_with("\xEF\xBB\xBFSite,Receive (MHz),")) << csv;

    const QString faulty = Temp("faulty.csv");
    std::ofstream(faulty.toStdString())
        << "Site,Receive (MHz),Transmit (MHz)\nNew site,450.1,99999\n,450.2,460.2\n";
    ui.CsvNames = {faulty};
    window.findChild<QAction*>("fileImportChannels")->trigger();
    EXPECT_EQ(ui.LastText(), "Nothing was imported from faulty.csv:\n"
                             "row 2, column C (Transmit (MHz)): \"99999\" is not a frequency in "
                             "MHz above 10 and below 1000: digits with at most one '.'\n"
                             "row 3, column A (Site): a site's name of 1 to 20 characters");
    EXPECT_EQ(window.Doc().Sites.Count(), sites);
    EXPECT_FALSE(window.Dirty());

    const QString good = Temp("good.csv");
    std::ofstream(good.toStdString())
        << "Site,Receive (MHz),Transmit (MHz)\nNew site,450.1,460.1\n";
    ui.CsvNames = {good};
    window.findChild<QAction*>("fileImportChannels")->trigger();
    EXPECT_TRUE(ui.LastText().startsWith("The sites of good.csv were imported: 1 site(s) added"))
        << ui.LastText().toStdString();
    ASSERT_EQ(window.Doc().Sites.Count(), sites + 1);
    EXPECT_EQ(window.Doc().Sites[sites].Channels[0].TxFrequency.View(), "460.1");
    EXPECT_TRUE(window.Dirty());
}

// After a successful run, Radio > Print Sheet of Last Run... prints the
// sheet of the board as programmed: its ESN, the port and the checksum.
TEST(ProgrammingFromTheMenu, TheSheetOfTheLastRunIsOffered) {
    FakeUi ui;
    TZelWindow window;
    window.SetProgrammingOptions({[](std::chrono::milliseconds) {}, {}});
    window.OpenPath(QString::fromStdString(TestData("golden.zel")));
    auto* print = window.findChild<QAction*>("radioPrintLastRun");
    EXPECT_FALSE(print->isEnabled()) << "no run yet";
    setenv("TARVO_COM2", "sim:esn=LASTRUN001", 1);
    AppSettings().Port = 2;
    window.CmProgram();
    unsetenv("TARVO_COM2");
    EXPECT_EQ(ui.LastText(), "Success: Programming completed") << "the run ends as before";
    ASSERT_TRUE(print->isEnabled());
    ui.PrintTo = Temp("last-run.pdf");
    print->trigger();
    const std::string text = PdfText(ui.PrintTo);
    TOptionImage image;
    ASSERT_EQ(BuildImage(image, window.Doc()), buildresult::Ok);
    for (const std::string& shown :
         {std::string("ProgrammedBoard"), std::string("LASTRUN001"), std::string("onCOM2"),
          Sha256Hex(image), std::string("Page1of")})
        EXPECT_NE(text.find(shown), std::string::npos) << shown << "\n" << text;
}

// Every write from the menus is a row of the programming log; a log that
// cannot be used is told once, and the boards are still programmed.
TEST(ProgrammingFromTheMenu, EveryRunIsRecordedAndABrokenLogIsToldOnce) {
    const std::string tests = getenv("XDG_DATA_HOME");
    const fs::path data = Temp("log-data").toStdString();
    fs::remove_all(data);
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    {
        FakeUi ui;
        TZelWindow window;
        window.SetProgrammingOptions({[](std::chrono::milliseconds) {}, {}});
        const std::string golden = TestData("golden.zel");
        window.OpenPath(QString::fromStdString(golden));
        BoardOnCom2 board(ErasedImage());
        window.CmProgram();
        EXPECT_EQ(ui.LastText(), "Success: Programming completed");
        setenv("TARVO_COM2", "sim:fault=nak", 1);
        window.CmProgram();
        const auto rows = ProgrammingLog(ProgrammingLog::DefaultLocation()).List();
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[0].Tool, "zel");
        EXPECT_EQ(rows[0].Port, "COM2");
        EXPECT_EQ(rows[0].Document, fs::absolute(golden).string());
        EXPECT_EQ(rows[0].ResultCode, 0);
        EXPECT_FALSE(rows[0].Esn.empty());
        EXPECT_EQ(rows[1].ResultCode, 11);
        EXPECT_EQ(rows[1].ResultText.rfind("Error 11: ", 0), 0u) << rows[1].ResultText;
    }
    const fs::path blocker = Temp("data-is-a-file").toStdString();
    std::ofstream(blocker) << "not a folder";
    setenv("XDG_DATA_HOME", blocker.c_str(), 1);
    {
        FakeUi ui;
        TZelWindow window;
        window.SetProgrammingOptions({[](std::chrono::milliseconds) {}, {}});
        BoardOnCom2 board(ErasedImage());
        window.CmProgram();
        window.CmProgram();
        int told = 0;
        int programmed = 0;
        for (const auto& message : ui.Messages) {
            told += message.Text.startsWith("The run was not recorded in the programming log");
            programmed += message.Text == "Success: Programming completed";
        }
        EXPECT_EQ(told, 1);
        EXPECT_EQ(programmed, 2);
    }
    setenv("XDG_DATA_HOME", tests.c_str(), 1);
}

// With a backup folder in the user's preferences, Radio > Program saves the
// board before writing it.
TEST(ProgrammingFromTheMenu, ThePreferencesMakeABackupFirst) {
    FakeUi ui;
    TZelWindow window;
    window.SetProgrammingOptions({[](std::chrono::milliseconds) {}, {}});
    window.OpenPath(QString::fromStdString(TestData("golden.zel")));
    TOptionImage before;
    before.fill(0x00);
    before[0] = 0x42;
    BoardOnCom2 board(before);
    const fs::path folder = Temp("preferred-backups").toStdString();
    fs::remove_all(folder);
    const fs::path preferences = UserPreferencesLocation();
    fs::create_directories(preferences.parent_path());
    std::ofstream(preferences) << "backup-folder=" << folder.string() << "\n";
    window.CmProgram();
    fs::remove(preferences);
    EXPECT_EQ(ui.LastText(), "Success: Programming completed");
    ASSERT_TRUE(fs::exists(folder));
    const fs::path backup = fs::directory_iterator(folder)->path();
    std::ifstream in(backup, std::ios::binary);
    const std::vector<char> saved{std::istreambuf_iterator<char>(in), {}};
    ASSERT_EQ(saved.size(), kImageSize);
    EXPECT_TRUE(std::equal(saved.begin(), saved.end(), before.begin(), [](char a, std::uint8_t b) {
        return static_cast<std::uint8_t>(a) == b;
    }));
}
