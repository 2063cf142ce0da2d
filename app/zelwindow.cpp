#include "app/zelwindow.h"

#include "app/core/preferences.h"
#include "app/core/settings.h"
#include "app/programicon.h"
#include "dialogs/configsheet.h"
#include "dialogs/dialoghelpers.h"
#include "dialogs/productdlg.h"
#include "dialogs/sitesdlg.h"
#include "dialogs/smalldialogs.h"
#include "dialogs/uiservices.h"
#include "document/zelfile.h"
#include "exchange/channelcsv.h"
#include "platform/inputfile.h"
#include "platform/safefile.h"
#include "programming/sha256.h"
#include "programming/statusdialog/pgmstatdlg.h"
#include "readback/documentdiff.h"
#include "readback/imagedecoder.h"
#include "readback/imagefields.h"
#include "report/reportwriter.h"
#include "report/sheethtml.h"
#include "resources/stringtable.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QUrl>

#include <utility>

TZelWindow::TZelWindow(QWidget* parent, const std::filesystem::path& recentStore)
    : QMainWindow(parent), doc_(std::make_unique<TBoardData>()), recent_(recentStore) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(kProgramTitle);
    setWindowIcon(ProgramIcon());
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setAutoFillBackground(true);
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, QColor(128, 128, 128));
    client->setPalette(palette);
    setCentralWidget(client);
    PlaceFrame();
    BuildMenus();
    setAcceptDrops(true);
}

TZelWindow::~TZelWindow() = default;

void TZelWindow::PlaceFrame() {
    const QScreen* screen = QApplication::primaryScreen();
    if (screen == nullptr)
        return;
    // The frame, decorations included, takes the rectangle; the decorations
    // are known once the window is shown, when this runs again.
    const QRect frame = InitialGeometry(screen->geometry());
    resize(frame.size() - (frameGeometry().size() - size()));
    move(frame.topLeft());
}

void TZelWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!std::exchange(placed_, true))
        PlaceFrame();
}

QRect TZelWindow::InitialGeometry(const QRect& desktop) {
    const int right = desktop.x() + desktop.width();
    const int bottom = desktop.y() + desktop.height();
    const int dx = right / 10;
    const int dy = bottom / 10;
    return QRect(QPoint(desktop.x() + dx, desktop.y() + dy),
                 QPoint(right - dx - 1, bottom - dy - 1));
}

void TZelWindow::BuildMenus() {
    auto add = [this](QMenu* menu, const QString& text, const char* name, auto slot) {
        QAction* action = menu->addAction(text, this, slot);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    QMenu* file = menuBar()->addMenu(tr("&File"));
    add(file, tr("&New"), "fileNew", &TZelWindow::CmFileNew);
    add(file, tr("&Open"), "fileOpen", &TZelWindow::CmFileOpen);
    add(file, tr("&Save"), "fileSave", &TZelWindow::CmFileSave);
    add(file, tr("Save &as..."), "fileSaveAs", &TZelWindow::CmFileSaveAs);
    file->addSeparator();
    add(file, tr("&Print..."), "filePrint", &TZelWindow::CmFilePrint);
    add(file, tr("Export P&DF..."), "fileExportPdf", &TZelWindow::CmFileExportPdf);
    add(file, tr("&Import Channels..."), "fileImportChannels", &TZelWindow::CmImportChannels);
    add(file, tr("Export &Channels..."), "fileExportChannels", &TZelWindow::CmExportChannels);
    recentMenu_ = file->addMenu(tr("Recent &Files"));
    recentMenu_->setObjectName(QStringLiteral("fileRecent"));
    RebuildRecentMenu();
    file->addSeparator();
    add(file, tr("E&xit"), "fileExit", &QWidget::close);
    QMenu* view = menuBar()->addMenu(tr("&View"));
    add(view, tr("&Product"), "viewProduct", &TZelWindow::CmProduct);
    add(view, tr("&RF Sites"), "viewRfSites", &TZelWindow::CmRfSites);
    add(view, tr("&Configuration"), "viewConfiguration", &TZelWindow::CmConfiguration);
    add(view, tr("Pass&word"), "viewPassword", &TZelWindow::CmPassword);
    QMenu* radio = menuBar()->addMenu(tr("&Radio"));
    add(radio, tr("&Program"), "radioProgram", &TZelWindow::CmProgram);
    add(radio, tr("Read from &Board"), "radioReadBoard", &TZelWindow::CmReadBoard);
    add(radio, tr("&Verify Board"), "radioVerifyBoard", &TZelWindow::CmVerifyBoard);
    add(radio, tr("&Identify Board"), "radioIdentifyBoard", &TZelWindow::CmIdentifyBoard);
    add(radio, tr("&Write Image File..."), "radioWriteImageFile", &TZelWindow::CmWriteImageFile);
    printLastRun_ = add(radio, tr("Print &Sheet of Last Run..."), "radioPrintLastRun",
                        &TZelWindow::CmPrintLastRun);
    printLastRun_->setEnabled(false);
    QMenu* options = menuBar()->addMenu(tr("&Options"));
    add(options, tr("Serial &Port"), "optionsSerialPort", &TZelWindow::CmSerialPort);
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    add(help, tr("&About"), "helpAbout", &TZelWindow::CmAbout);
}

void TZelWindow::UpdateTitle() {
    const QFileInfo file(path_);
    if (path_.isEmpty() || file.fileName().isEmpty()) {
        setWindowTitle(kProgramTitle);
        return;
    }
    // The name with its extension as chosen, without the directory.
    setWindowTitle(QStringLiteral("%1 - %2").arg(kProgramTitle, file.fileName()));
}

bool TZelWindow::CanClose() {
    if (!dirty_)
        return true;
    switch (Ui().Message(this, StringText(strings::kSavePrompt), StringText(strings::kDataChanged),
                         IUiServices::Icon::Question, IUiServices::Buttons::YesNoCancel)) {
    case IUiServices::Answer::Cancel:
        return false;
    case IUiServices::Answer::Yes:
        // A save that is cancelled or fails keeps the changes: go no further.
        return CmFileSave();
    default:
        return true;
    }
}

void TZelWindow::closeEvent(QCloseEvent* event) {
    if (CanClose())
        event->accept();
    else
        event->ignore();
}

void TZelWindow::CmFileNew() {
    if (!CanClose())
        return;
    path_.clear();
    doc_->Reset();
    dirty_ = false;
    untitled_ = true;
    unlocked_ = true;
    UpdateTitle();
}

void TZelWindow::CmFileOpen() {
    if (!CanClose())
        return;
    const QString chosen = Ui().OpenFileName(this, path_);
    if (chosen.isEmpty())
        return;
    OpenPath(chosen);
}

void TZelWindow::OpenPath(const QString& path) {
    if (ReadDocument(path))
        UpdateTitle();
}

bool TZelWindow::ReadDocument(const QString& path) {
    std::unique_ptr<TBoardData> loaded;
    const ZelResult result = LoadDocument(path.toStdString(), loaded);
    if (result != ZelResult::Ok) {
        // A file that cannot be read leaves the document, its path and its
        // flags as they were.
        FileError(path, result);
        return false;
    }
    doc_ = std::move(loaded);
    path_ = path;
    unlocked_ = false;
    untitled_ = false;
    dirty_ = false;
    Remember(path);
    return true;
}

bool TZelWindow::CmFileSave() {
    if (untitled_)
        return CmFileSaveAs();
    return WriteDocument();
}

bool TZelWindow::CmFileSaveAs() {
    const QString chosen = Ui().SaveFileName(this, untitled_ ? QString() : path_);
    if (chosen.isEmpty())
        return false;
    const QString previous = path_;
    path_ = chosen;
    if (!WriteDocument()) {
        path_ = previous;
        return false;
    }
    UpdateTitle();
    return true;
}

bool TZelWindow::WriteDocument() {
    const ZelResult result = SaveDocument(*doc_, path_.toStdString());
    if (result != ZelResult::Ok) {
        FileError(path_, result);
        return false;
    }
    dirty_ = false;
    untitled_ = false;
    Remember(path_);
    return true;
}

void TZelWindow::FileError(const QString& path, ZelResult result) {
    // A file that cannot be opened keeps the message it always had; what
    // went wrong with which file is the box's detail.
    const bool cannotOpen = result == ZelResult::CannotOpen || result == ZelResult::NotFound ||
                            result == ZelResult::NoPermission || result == ZelResult::NotAFile ||
                            IsFileError(result);
    Warn(this,
         cannotOpen ? StringText(strings::kUnableToOpen) : ProgramText(DescribeZelResult(result)),
         StringText(strings::kFileError),
         QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path),
                                      ProgramText(DescribeZelResult(result))));
}

void TZelWindow::Remember(const QString& path) {
    recent_.Add(path.toStdString());
    RebuildRecentMenu();
}

// The folder of a recent file, short enough for a menu: the home folder as
// "~", and a long path cut in its middle. Two files of one name in different
// folders can so be told apart.
QString TZelWindow::ShortFolder(const QString& path) const {
    QString folder = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    const QString home = QDir::toNativeSeparators(QDir::homePath());
    if (!home.isEmpty() && home != QStringLiteral("/") &&
        (folder == home || folder.startsWith(home + QDir::separator())))
        folder = QStringLiteral("~") + folder.mid(home.size());
    return fontMetrics().elidedText(folder, Qt::ElideMiddle, fontMetrics().averageCharWidth() * 40);
}

void TZelWindow::RebuildRecentMenu() {
    recentMenu_->clear();
    const auto& paths = recent_.Paths();
    if (paths.empty()) {
        recentMenu_->addAction(tr("(none)"))->setEnabled(false);
        return;
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const QString path = QString::fromStdString(paths[i]);
        QAction* action =
            recentMenu_->addAction(QStringLiteral("&%1 %2  (%3)")
                                       .arg(i + 1)
                                       .arg(QFileInfo(path).fileName(), ShortFolder(path)),
                                   this, [this, path] { OpenRecent(path); });
        action->setObjectName(QStringLiteral("recentFile%1").arg(i + 1));
        action->setToolTip(path);
    }
}

void TZelWindow::OpenRecent(const QString& path) {
    if (!CanClose())
        return;
    if (ReadDocument(path)) {
        UpdateTitle();
        return;
    }
    // A document that is gone or no longer readable leaves the list.
    recent_.Remove(path.toStdString());
    RebuildRecentMenu();
}

namespace {

// The first local .zel file among the dropped URLs.
QString DroppedDocument(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() &&
            url.toLocalFile().endsWith(QStringLiteral(".zel"), Qt::CaseInsensitive))
            return url.toLocalFile();
    return {};
}

} // namespace

void TZelWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedDocument(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TZelWindow::dropEvent(QDropEvent* event) {
    const QString path = DroppedDocument(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    if (CanClose())
        OpenPath(path);
}

std::string TZelWindow::SheetHtml(const std::optional<ProgrammedBoard>& board) const {
    return ConfigurationSheetHtml(
        *doc_, {untitled_ ? std::string() : QFileInfo(path_).fileName().toStdString(),
                ReportTimestamp(), board});
}

// The sheet, the PDF and the board comparison show the document's settings:
// the password gate stands before them as before the editing dialogs.
void TZelWindow::CmFilePrint() {
    if (!CheckAccess())
        return;
    const std::string html = SheetHtml();
    Ui().Print(this, [&html](QPrinter& printer) { PrintReport(html, printer); });
}

void TZelWindow::CmFileExportPdf() {
    if (!CheckAccess())
        return;
    QString suggested;
    if (!untitled_)
        suggested = QFileInfo(path_).dir().filePath(QFileInfo(path_).completeBaseName() +
                                                    QStringLiteral(".pdf"));
    const QString chosen = Ui().ExportFileName(this, suggested);
    if (chosen.isEmpty())
        return;
    const QByteArray pdf = ReportPdf(SheetHtml());
    const WriteResult written =
        WriteFileSafely(chosen.toStdString(),
                        std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())));
    if (written != WriteResult::Ok)
        Warn(this,
             tr("The configuration sheet could not be written: %1")
                 .arg(ProgramText(DescribeWriteResult(written))),
             StringText(strings::kFileError));
}

namespace {

// At most `shown` lines, and how many more there are.
QString Listed(const std::vector<std::string>& lines, std::size_t shown = 20) {
    QString text;
    for (std::size_t i = 0; i < lines.size() && i < shown; ++i)
        text += QStringLiteral("\n") + ProgramText(lines[i]);
    if (lines.size() > shown)
        text += QStringLiteral("\n... and %1 more").arg(lines.size() - shown);
    return text;
}

} // namespace

void TZelWindow::CmImportChannels() {
    if (!CheckAccess())
        return;
    const QString chosen = Ui().CsvFileName(this, QString(), false);
    if (chosen.isEmpty())
        return;
    // Sixteen sites of sixteen channels are far smaller.
    constexpr std::size_t kMaxCsvBytes = 16 << 20;
    std::string text;
    if (const InputProblem problem = ReadWholeFile(chosen.toStdString(), kMaxCsvBytes, text);
        problem != InputProblem::None) {
        Warn(this, tr("The channels could not be read."), StringText(strings::kFileError),
             QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(chosen),
                                          ProgramText(DescribeInputProblem(problem))));
        return;
    }
    const int sitesBefore = doc_->Sites.Count();
    const auto faults = MergeChannelsCsv(text, *doc_);
    if (!faults.empty()) {
        std::vector<std::string> lines;
        for (const auto& fault : faults)
            lines.push_back(fault.Text());
        Warn(this,
             tr("Nothing was imported from %1:").arg(QFileInfo(chosen).fileName()) + Listed(lines));
        return;
    }
    dirty_ = true;
    Ui().Message(this,
                 tr("The sites of %1 were imported: %2 site(s) added, the others' channels "
                    "replaced.")
                     .arg(QFileInfo(chosen).fileName())
                     .arg(doc_->Sites.Count() - sitesBefore),
                 kProgramTitle, IUiServices::Icon::None);
}

void TZelWindow::CmExportChannels() {
    if (!CheckAccess())
        return;
    QString suggested;
    if (!untitled_)
        suggested = QFileInfo(path_).dir().filePath(QFileInfo(path_).completeBaseName() +
                                                    QStringLiteral(".csv"));
    const QString chosen = Ui().CsvFileName(this, suggested, true);
    if (chosen.isEmpty())
        return;
    const WriteResult written = WriteFileSafely(chosen.toStdString(), ChannelsToCsv(*doc_));
    if (written != WriteResult::Ok)
        Warn(this,
             tr("The channels could not be written: %1")
                 .arg(ProgramText(DescribeWriteResult(written))),
             StringText(strings::kFileError));
}

bool TZelWindow::CheckAccess() {
    if (unlocked_)
        return true;
    if (doc_->Product.Password.Empty()) {
        unlocked_ = true;
        return true;
    }
    QString entry;
    TAccessDlg dialog(this, entry);
    if (Ui().Exec(dialog) != QDialog::Accepted)
        return false;
    if (StoredText(entry) == doc_->Product.Password.View()) {
        unlocked_ = true;
        return true;
    }
    Warn(this, tr("Incorrect password"));
    return false;
}

void TZelWindow::EditCopy(const std::function<int(TBoardData&)>& runDialog) {
    if (!CheckAccess())
        return;
    auto copy = std::make_unique<TBoardData>(*doc_);
    if (runDialog(*copy) == QDialog::Accepted) {
        *doc_ = *copy;
        dirty_ = true;
    }
}

template <typename Dialog, typename... Extra> void TZelWindow::EditWith(Extra... extra) {
    EditCopy([this, extra...](TBoardData& copy) {
        Dialog dialog(this, copy, extra...);
        return Ui().Exec(dialog);
    });
}

void TZelWindow::CmProduct() {
    EditWith<TProductDlg>();
}
void TZelWindow::CmRfSites() {
    EditWith<TSitesDlg>(AppSettings().VoidSpecs);
}
void TZelWindow::CmConfiguration() {
    EditWith<TConfigurationSheet>();
}
void TZelWindow::CmPassword() {
    EditWith<TPwdDlg>();
}

void TZelWindow::CmProgram() {
    // The user's preferences may ask for a backup of the board before every
    // write: the board is read first, and nothing is written unless the
    // backup was saved.
    const std::filesystem::path folder = ReadUserPreferences().BackupFolder;
    if (!folder.empty()) {
        TOptionImage image;
        if (const int built = BuildImage(image, *doc_); built != buildresult::Ok) {
            Warn(this, ProgramText(BuildFailureMessage(built)));
            return;
        }
        std::string esn;
        const auto board =
            ReadWithStatusDialog(this, AppSettings().Port, *radio_, programmingOptions_, &esn);
        if (!board)
            return;
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
        const std::filesystem::path backupFile = folder / BackupFileName(AppSettings().Port, esn);
        const WriteResult written = WriteFileSafely(backupFile, *board);
        if (written != WriteResult::Ok) {
            Warn(this,
                 tr("The backup of the board could not be written; nothing was written to the "
                    "board."),
                 StringText(strings::kFileError),
                 QStringLiteral("%1: %2").arg(QString::fromStdString(backupFile.string()),
                                              ProgramText(DescribeWriteResult(written))));
            return;
        }
    }
    const int port = AppSettings().Port;
    const auto result =
        ProgramWithStatusDialog(this, *doc_, port, *radio_, programmingOptions_,
                                Recorder(untitled_ ? QString() : path_, doc_.get()));
    ReportLogProblem();
    if (!result || result->Outcome != RunOutcome::Programmed)
        return;
    // The sheet of the board as programmed, offered until the next success.
    TOptionImage image;
    BuildImage(image, *doc_);
    lastRunSheet_ = SheetHtml(ProgrammedBoard{result->Esn, "COM" + std::to_string(port),
                                              ReportTimestamp(), Sha256Hex(image)});
    printLastRun_->setEnabled(true);
}

void TZelWindow::CmPrintLastRun() {
    if (lastRunSheet_.empty() || !CheckAccess())
        return;
    Ui().Print(this, [this](QPrinter& printer) { PrintReport(lastRunSheet_, printer); });
}

RunRecorder TZelWindow::Recorder(const QString& file, const TBoardData* document) {
    const int port = AppSettings().Port;
    RunRecorder recorder;
    recorder.Started = [this, port, file, document](const TOptionImage& image) {
        logRow_ = log_.Begin(DescribeRunStart("zel", port, file.toStdString(), document, image));
    };
    recorder.Finished = [this](const ProgrammingResult& result) {
        if (logRow_)
            log_.Finish(*logRow_,
                        {result.Esn,
                         result.Outcome == RunOutcome::Cancelled ? kOutsideTheLink : result.Code,
                         result.Message, kVerifyNotAsked});
        logRow_.reset();
    };
    return recorder;
}

void TZelWindow::ReportLogProblem() {
    if (const std::string problem = log_.ProblemToReport(); !problem.empty())
        Warn(this,
             tr("The run was not recorded in the programming log; programming goes on "
                "without it."),
             kProgramTitle, ProgramText(problem));
}

void TZelWindow::CmReadBoard() {
    if (!CanClose())
        return;
    PrepareLibraryForReading(doc_->Product);
    const auto board = ReadWithStatusDialog(this, AppSettings().Port, *radio_, programmingOptions_);
    if (!board)
        return;
    DecodedImage decoded = DecodeImage(*board);
    if (!decoded.Clean()) {
        std::vector<std::string> problems;
        for (const DecodeFinding* problem : decoded.Problems())
            problems.push_back(problem->Text());
        const QString text = tr("The option board holds bytes that no document makes:") +
                             Listed(problems) + tr("\n\nOpen what could be read?");
        if (Ui().Message(this, text, kProgramTitle, IUiServices::Icon::Exclamation,
                         IUiServices::Buttons::YesNoCancel) != IUiServices::Answer::Yes)
            return;
    }
    doc_ = std::move(decoded.Document);
    path_.clear();
    untitled_ = true;
    dirty_ = true;
    unlocked_ = true;
    UpdateTitle();
    Ui().Message(this,
                 tr("Read from the option board: %1 sites, %2 banks. The board holds no site "
                    "names and no password; the sites are named Site 1, Site 2, ...")
                     .arg(doc_->Sites.Count())
                     .arg(doc_->Banks.Count()),
                 kProgramTitle, IUiServices::Icon::None);
}

void TZelWindow::CmWriteImageFile() {
    const QString chosen = Ui().ImageFileName(this);
    if (chosen.isEmpty())
        return;
    std::string bytes;
    const InputProblem problem = ReadWholeFile(chosen.toStdString(), kImageSize, bytes);
    if (problem != InputProblem::None || bytes.size() != kImageSize) {
        Warn(this,
             tr("%1 is not an option-board image file of %2 bytes.")
                 .arg(QFileInfo(chosen).fileName())
                 .arg(kImageSize),
             StringText(strings::kFileError),
             QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(chosen),
                                          problem != InputProblem::None
                                              ? ProgramText(DescribeInputProblem(problem))
                                              : tr("%1 bytes").arg(bytes.size())));
        return;
    }
    const int port = AppSettings().Port;
    if (Ui().Message(this,
                     tr("Write %1 to the option board on COM%2 as it is? What the board holds "
                        "now is replaced.")
                         .arg(QFileInfo(chosen).fileName())
                         .arg(port),
                     kProgramTitle, IUiServices::Icon::Question,
                     IUiServices::Buttons::YesNoCancel) != IUiServices::Answer::Yes)
        return;
    TOptionImage image;
    std::copy(bytes.begin(), bytes.end(), image.begin());
    PrepareLibraryForReading(doc_->Product);
    WriteImageWithStatusDialog(this, image, port, *radio_, programmingOptions_,
                               Recorder(chosen, nullptr));
    ReportLogProblem();
}

void TZelWindow::CmIdentifyBoard() {
    PrepareLibraryForReading(doc_->Product);
    // What is on the bench is only looked at: the radio is not reset.
    ProgrammingOptions options = programmingOptions_;
    options.ResetAround = false;
    const auto board = ReadWithStatusDialog(this, AppSettings().Port, *radio_, options);
    if (!board)
        return;
    const std::vector<std::string> lines = DescribeBoardContent(*board);
    QString text = tr("The option board holds %1.").arg(ProgramText(lines.front()));
    for (std::size_t i = 1; i < lines.size(); ++i)
        text += QStringLiteral("\n") + ProgramText(lines[i]);
    Ui().Message(this, text, kProgramTitle, IUiServices::Icon::None);
}

void TZelWindow::CmVerifyBoard() {
    if (!CheckAccess())
        return;
    TOptionImage image;
    if (const int built = BuildImage(image, *doc_); built != buildresult::Ok) {
        Warn(this, ProgramText(BuildFailureMessage(built)));
        return;
    }
    const auto board = ReadWithStatusDialog(this, AppSettings().Port, *radio_, programmingOptions_);
    if (!board)
        return;
    if (*board == image) {
        Ui().Message(this, tr("Verified: the option board holds this document's image."),
                     kProgramTitle, IUiServices::Icon::None);
        return;
    }
    // Both sides as the board sees them, the board's sites named after the
    // document's.
    const ImageContentDiff diff = DiffImageContent(image, *board, doc_.get());
    std::vector<std::string> lines = diff.Fields;
    for (const DecodeFinding* problem : diff.Second.Problems())
        lines.push_back(problem->Text());
    if (lines.empty())
        for (const ImageDifference& difference : diff.Stretches)
            lines.push_back(difference.Field.Describe() + ": " + DescribeAddresses(difference));
    Warn(this, tr("The option board differs from this document (document \u2192 board):") +
                   Listed(lines));
}

void TZelWindow::CmSerialPort() {
    int port = AppSettings().Port;
    TPortDlg dialog(this, port);
    if (Ui().Exec(dialog) == QDialog::Accepted)
        AppSettings().Port = port;
}

void TZelWindow::CmAbout() {
    TAboutDlg dialog(this);
    Ui().Exec(dialog);
}
