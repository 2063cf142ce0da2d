// The main window: owns the open document, its file name and state, and
// carries out every menu command.
#pragma once

#include "document/records.h"
#include "programming/run.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;

class TZelWindow final : public QMainWindow {
    Q_OBJECT
  public:
    explicit TZelWindow(QWidget* parent = nullptr);
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
    void CmProduct();
    void CmRfSites();
    void CmConfiguration();
    void CmPassword();
    void CmProgram();
    // Radio > Read from Board: the board decoded into a new, untitled document.
    void CmReadBoard();
    // Radio > Verify Board: whether the board holds this document's image.
    void CmVerifyBoard();
    void CmSerialPort();
    void CmAbout();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // The editing pattern: gate, working copy, dialog, copy back on OK.
    void EditCopy(const std::function<int(TBoardData&)>& runDialog);
    // EditCopy with a dialog constructed on (this window, working copy, extra).
    template <typename Dialog, typename... Extra> void EditWith(Extra... extra);
    bool ReadDocument(const QString& path);
    bool WriteDocument();
    void BuildMenus();

    std::unique_ptr<TBoardData> doc_;
    QString path_;
    bool untitled_ = true;
    bool dirty_ = false;
    bool unlocked_ = true;
    TarvoRadio defaultRadio_;
    IRadio* radio_ = &defaultRadio_;
    ProgrammingOptions programmingOptions_;
};
