#include "programming/statusdialog/pgmstatdlg.h"

#include "dialogs/uiservices.h"

#include <QApplication>
#include <QFormLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include <functional>

TPgmStatDlg::TPgmStatDlg(QWidget* parent, const QString& heading) : TCenterDlg(parent) {
    setWindowTitle(QString());
    esn_ = new QLabel(QStringLiteral("XXXXXXXXXX"), this);
    esn_->setObjectName(QStringLiteral("esn"));
    operation_ = new QLabel(QStringLiteral("operation"), this);
    operation_->setObjectName(QStringLiteral("operation"));
    counter_ = new QLabel(QStringLiteral("0000 of 0000"), this);
    counter_->setObjectName(QStringLiteral("counter"));
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setRange(0, static_cast<int>(kImageSize));
    progress_->setValue(0);
    auto* form = new QFormLayout;
    form->addRow(tr("Radio ESN:"), esn_);
    form->addRow(tr("Operation:"), operation_);
    form->addRow(tr("Counter:"), counter_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(heading, this));
    layout->addLayout(form);
    layout->addWidget(progress_);
    setMinimumWidth(320);
}

void TPgmStatDlg::SetupWindow() {
    esn_->clear();
    operation_->clear();
    counter_->clear();
}

void TPgmStatDlg::Repaint() {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TPgmStatDlg::Operation(std::string_view text) {
    operation_->setText(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
    Repaint();
}

void TPgmStatDlg::Esn(std::string_view esn) {
    esn_->setText(QString::fromLatin1(esn.data(), static_cast<int>(esn.size())));
    Repaint();
}

void TPgmStatDlg::Counter(std::string_view text) {
    counter_->setText(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
    Repaint();
}

void TPgmStatDlg::Progress(int position, int range) {
    progress_->setRange(0, range);
    progress_->setValue(position);
    Repaint();
}

namespace {

// Shows the dialog without a modal loop, with the wait cursor, while `run`
// blocks.
void ShowWhileRunning(TPgmStatDlg& status, const std::function<void()>& run) {
    status.setModal(false);
    status.show();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    run();
    QApplication::restoreOverrideCursor();
    status.close();
}

} // namespace

std::optional<ProgrammingResult> ProgramWithStatusDialog(QWidget* owner, const TBoardData& document,
                                                         int port, IRadio& radio,
                                                         const ProgrammingOptions& options,
                                                         const RunRecorder& recorder) {
    TOptionImage image;
    if (const int built = BuildImage(image, document); built != buildresult::Ok) {
        Warn(owner, QString::fromStdString(BuildFailureMessage(built)));
        return std::nullopt;
    }
    return WriteImageWithStatusDialog(owner, image, port, radio, options, recorder);
}

ProgrammingResult WriteImageWithStatusDialog(QWidget* owner, const TOptionImage& image, int port,
                                             IRadio& radio, const ProgrammingOptions& options,
                                             const RunRecorder& recorder) {
    if (recorder.Started)
        recorder.Started(image);
    ProgrammingResult result;
    {
        TPgmStatDlg status(owner);
        ShowWhileRunning(status,
                         [&] { result = TransferImage(image, port, radio, status, options); });
    }
    if (recorder.Finished)
        recorder.Finished(result);
    Ui().Beep();
    const QString message = QString::fromStdString(result.Message);
    if (result.Outcome == RunOutcome::Programmed)
        Ui().Message(owner, message, kProgramTitle, IUiServices::Icon::None);
    else
        Warn(owner, message);
    return result;
}

std::optional<TOptionImage> ReadWithStatusDialog(QWidget* owner, int port, IRadio& radio,
                                                 const ProgrammingOptions& options,
                                                 std::string* esn) {
    BoardReadResult result;
    {
        TPgmStatDlg status(owner, QObject::tr("Reading the option board"));
        ShowWhileRunning(status, [&] { result = ReadBoardImage(port, radio, status, options); });
    }
    if (esn != nullptr)
        *esn = result.Esn;
    if (result.Outcome == ReadOutcome::Read)
        return result.Image;
    Ui().Beep();
    Warn(owner, QString::fromStdString(result.Message));
    return std::nullopt;
}
