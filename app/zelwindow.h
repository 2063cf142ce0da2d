// The main window: owns the open document, its file name and state, and
// carries out every menu command.
#pragma once

#include "document/records.h"
#include "document/zelfile.h"
#include "programming/run.h"
#include "programming/statusdialog/pgmstatdlg.h"
#include "programminglog/programminglog.h"
#include "report/sheethtml.h"

#include "app/core/recentfiles.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QMenu;

class TZelWindow final : public QMainWindow {
    Q_OBJECT
  public:
    // `recentStore` keeps File > Recent Files (the user's configuration
    // directory by default).
    explicit TZelWindow(QWidget* parent = nullptr,
                        const std::filesystem::path& recentStore = RecentFilesLocation());
    ~TZelWindow() override;

    // The window's rectangle: the desktop shrunk on each side by a tenth.
    static QRect InitialGeometry(const QRect& desktop);

    const TBoardData& Doc() const { return *doc_; }
    const QString& Path() const { return path_; }
    bool Untitled() const { return untitled_; }
    bool Dirty() const { return dirty_; }
    bool Unlocked() const { return unlocked_; }

    // Opens a file as File > Open does after its dialog.
    void OpenPath(const QString& path);
    // The save prompt; false abandons the close, New or Open.
    bool CanClose();
    // The password gate of the guarded View commands.
    bool CheckAccess();
    void UpdateTitle();

    // The radio the programming run talks to; tests may replace it.
    void SetRadio(IRadio* radio) { radio_ = radio; }
    void SetProgrammingOptions(ProgrammingOptions options) {
        programmingOptions_ = std::move(options);
    }

  public slots:
    void CmFileNew();
    void CmFileOpen();
    bool CmFileSave();
    bool CmFileSaveAs();
    // File > Print... and File > Export PDF...: the configuration sheet.
    void CmFilePrint();
    void CmFileExportPdf();
    // File > Import Channels... and Export Channels...: sites and channels
    // as CSV.
    void CmImportChannels();
    void CmExportChannels();
    // File > Recent Files: one of the last documents opened or saved.
    void OpenRecent(const QString& path);
    const std::vector<std::string>& RecentPaths() const { return recent_.Paths(); }
    void CmProduct();
    void CmRfSites();
    void CmConfiguration();
    void CmPassword();
    void CmProgram();
    // Radio > Read from Board: the board decoded into a new, untitled document.
    void CmReadBoard();
    // Radio > Verify Board: whether the board holds this document's image.
    void CmVerifyBoard();
    // Radio > Identify Board: what the board on the bench holds.
    void CmIdentifyBoard();
    // Radio > Print Sheet of Last Run...: the configuration sheet of the
    // document as the last successful Radio > Program wrote it, with the
    // board's ESN, the time and the image checksum.
    void CmPrintLastRun();
    // Radio > Write Image File...: a 2256-byte image (a backup) written as it is.
    void CmWriteImageFile();
    void CmSerialPort();
    void CmAbout();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // A .zel file dropped on the window opens as File > Open would open it.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // The editing pattern: gate, working copy, dialog, copy back on OK.
    void EditCopy(const std::function<int(TBoardData&)>& runDialog);
    // EditCopy with a dialog constructed on (this window, working copy, extra).
    template <typename Dialog, typename... Extra> void EditWith(Extra... extra);
    QString ShortFolder(const QString& path) const;
    // Places the frame at the initial rectangle.
    void PlaceFrame();
    bool ReadDocument(const QString& path);
    bool WriteDocument();
    // "Unable to open file" / "File Error", with the file and the reason.
    void FileError(const QString& path, ZelResult result);
    void BuildMenus();
    void RebuildRecentMenu();
    void Remember(const QString& path);
    std::string SheetHtml(const std::optional<ProgrammedBoard>& board = std::nullopt) const;
    // Records a write of `file` (with its document, null for an image file)
    // in the programming log.
    RunRecorder Recorder(const QString& file, const TBoardData* document);
    // Tells once per session that the programming log cannot be used.
    void ReportLogProblem();

    std::unique_ptr<TBoardData> doc_;
    QString path_;
    bool untitled_ = true;
    bool dirty_ = false;
    bool unlocked_ = true;
    bool placed_ = false; // the frame was placed once shown
    TarvoRadio defaultRadio_;
    IRadio* radio_ = &defaultRadio_;
    ProgrammingOptions programmingOptions_;
    RecentFiles recent_;
    QMenu* recentMenu_ = nullptr;
    ProgrammingLog log_;
    std::string lastRunSheet_; // the sheet of the last successful run, or empty
    QAction* printLastRun_ = nullptr;
    std::optional<std::int64_t> logRow_; // the run being recorded
};
