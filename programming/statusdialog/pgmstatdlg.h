// The programming status dialog: shows the radio's ESN, the operation, the
// counter and the progress while the programming run, or a read of the
// board, proceeds.
#pragma once

#include "dialogs/centerdlg.h"
#include "programming/run.h"

#include <functional>
#include <optional>

class QLabel;
class QProgressBar;

class TPgmStatDlg final : public TCenterDlg, public IProgrammingObserver {
    Q_OBJECT
  public:
    // `heading` is the fixed text above the fields.
    explicit TPgmStatDlg(QWidget* parent, const QString& heading = tr("Programming in progress"));

    void Operation(std::string_view text) override;
    void Esn(std::string_view esn) override;
    void Counter(std::string_view text) override;
    void Progress(int position, int range) override;

  protected:
    void SetupWindow() override;

  private:
    // Lets the dialog repaint while the run blocks; user input waits.
    static void Repaint();

    QLabel* esn_;
    QLabel* operation_;
    QLabel* counter_;
    QProgressBar* progress_;
};

// Told when a transfer begins, with its image, and when it has ended, before
// the closing message: the programming log listens.
struct RunRecorder {
    std::function<void(const TOptionImage&)> Started;
    std::function<void(const ProgrammingResult&)> Finished;
};

// Radio > Program: builds the image, reports a document that cannot be
// programmed, otherwise runs the programming with the status dialog and ends
// with one message. `options` lets tests skip the final pause.
// The run's result, or none when the document could not be programmed.
std::optional<ProgrammingResult> ProgramWithStatusDialog(QWidget* owner, const TBoardData& document,
                                                         int port, IRadio& radio,
                                                         const ProgrammingOptions& options = {},
                                                         const RunRecorder& recorder = {});

// Writes an image as it is (a backup restored) with the status dialog, ending
// with one message as Radio > Program does.
ProgrammingResult WriteImageWithStatusDialog(QWidget* owner, const TOptionImage& image, int port,
                                             IRadio& radio, const ProgrammingOptions& options = {},
                                             const RunRecorder& recorder = {});

// Reads the whole board with the status dialog; a failure is reported with
// its numbered error and gives nothing. `esn` receives the radio's ESN.
std::optional<TOptionImage> ReadWithStatusDialog(QWidget* owner, int port, IRadio& radio,
                                                 const ProgrammingOptions& options = {},
                                                 std::string* esn = nullptr);
