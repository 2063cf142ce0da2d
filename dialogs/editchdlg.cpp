#include "dialogs/editchdlg.h"

#include "dialogs/dialoghelpers.h"
#include "dialogs/listfill.h"
#include "dialogs/rules.h"
#include "dialogs/uiservices.h"
#include "document/limits.h"
#include "document/records.h"
#include "programming/encodings.h"
#include "programming/fieldrules.h"
#include "resources/stringtable.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>
#include <tuple>

TFqValidator::TFqValidator(QLineEdit* edit) : TRuleValidator(edit, FilterFrequencyInput) {}

TFqEdit::TFqEdit(QWidget* parent) : QLineEdit(parent) {
    setMaxLength(static_cast<int>(limits::kFrequency));
    setValidator(new TFqValidator(this));
}

void TFqEdit::SetFrequency(const QString& text) {
    SetTextUnchecked(*this, text);
}

namespace {

// A frequency field with its arrows: the upper arrow steps up the raster.
QWidget* FrequencyRow(QWidget* parent, TFqEdit* field, const char* name,
                      const std::function<void(int)>& step) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(field);
    for (const auto& [arrow, delta, suffix] :
         {std::tuple{Qt::UpArrow, 1, "Up"}, std::tuple{Qt::DownArrow, -1, "Down"}}) {
        auto* button = new QToolButton(row);
        button->setArrowType(arrow);
        button->setObjectName(QString::fromLatin1(name) + QString::fromLatin1(suffix));
        button->setAutoRepeat(true);
        QObject::connect(button, &QToolButton::clicked, row,
                         [step, delta = delta] { step(delta); });
        layout->addWidget(button);
    }
    return row;
}

} // namespace

TEditChDlg::TEditChDlg(QWidget* parent, const QString& caption, TRfChannel& channel, int voidSpecs)
    : TCenterDlg(parent), channel_(channel), voidSpecs_(voidSpecs) {
    setWindowTitle(caption);
    rxFrequency_ = Named(new TFqEdit(this), "rxFrequency");
    txFrequency_ = Named(new TFqEdit(this), "txFrequency");
    rxCtcss_ = Named(new QComboBox(this), "rxCtcss");
    txCtcss_ = Named(new QComboBox(this), "txCtcss");

    auto* receiver = new QGroupBox(tr("&Receiver"), this);
    auto* rxForm = new QFormLayout(receiver);
    rxForm->addRow(tr("Frequency:"), FrequencyRow(receiver, rxFrequency_, "rx",
                                                  [this](int d) { Step(rxFrequency_, d); }));
    rxForm->addRow(tr("CTCSS:"), rxCtcss_);
    auto* transmitter = new QGroupBox(tr("&Transmitter"), this);
    auto* txForm = new QFormLayout(transmitter);
    txForm->addRow(tr("Frequency:"), FrequencyRow(transmitter, txFrequency_, "tx",
                                                  [this](int d) { Step(txFrequency_, d); }));
    txForm->addRow(tr("CTCSS:"), txCtcss_);

    auto* spacing = new QGroupBox(tr("Channel &Spacing"), this);
    spacing12k5_ = Named(new QRadioButton(tr("12.5 kHz"), spacing), "spacing12k5");
    spacing20k_ = Named(new QRadioButton(tr("20 kHz"), spacing), "spacing20k");
    spacing25k_ = Named(new QRadioButton(tr("25 kHz"), spacing), "spacing25k");
    auto* spacingGroup = new QButtonGroup(this);
    // Non-exclusive while set up, so that a channel with no spacing shows none.
    spacingGroup->setExclusive(false);
    auto* spacingLayout = new QVBoxLayout(spacing);
    for (QRadioButton* button : {spacing12k5_, spacing20k_, spacing25k_}) {
        spacingGroup->addButton(button);
        spacingLayout->addWidget(button);
        connect(button, &QRadioButton::toggled, this, [this, button](bool on) {
            if (!on)
                return;
            for (QRadioButton* other : {spacing12k5_, spacing20k_, spacing25k_})
                if (other != button)
                    other->setChecked(false);
        });
    }
    auto* audio = new QGroupBox(tr("&Audio"), this);
    qLift_ = Named(new QCheckBox(tr("Q-Lift"), audio), "qLift");
    (new QVBoxLayout(audio))->addWidget(qLift_);

    auto* grid = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(receiver);
    left->addWidget(transmitter);
    auto* right = new QVBoxLayout;
    right->addWidget(spacing);
    right->addWidget(audio);
    right->addStretch();
    grid->addLayout(left);
    grid->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(OkCancelButtons(this));
}

void TEditChDlg::SetupWindow() {
    FillFromStrings(*txCtcss_, strings::kTones);
    FillFromStrings(*rxCtcss_, strings::kTones);
    auto show = [](TFqEdit* field, QComboBox* tones, std::string_view frequency,
                   std::string_view tone) {
        field->SetFrequency(ShownText(frequency));
        const int line = tones->findText(ShownText(tone), Qt::MatchStartsWith);
        if (line >= 0)
            tones->setCurrentIndex(line);
    };
    show(rxFrequency_, rxCtcss_, channel_.RxFrequency.View(), channel_.RxCtcss.View());
    show(txFrequency_, txCtcss_, channel_.TxFrequency.View(), channel_.TxCtcss.View());
    spacing12k5_->setChecked(channel_.Spacing12k5 != 0);
    spacing20k_->setChecked(channel_.Spacing20k != 0);
    spacing25k_->setChecked(channel_.Spacing25k != 0);
    qLift_->setChecked(channel_.QLift != 0);
}

void TEditChDlg::Step(TFqEdit* field, int steps) {
    field->SetFrequency(ShownText(StepFrequencyText(StoredText(field->text()), steps)));
}

bool TEditChDlg::CanClose() {
    const std::string tx = StoredText(txFrequency_->text().left(255));
    const std::string rx = StoredText(rxFrequency_->text().left(255));
    // A text that is not one number would be read by its leading number
    // alone: "45.0.0125" would program 45 MHz while the list shows the text.
    if (!IsOneDecimalNumber(tx) || !IsOneDecimalNumber(rx) ||
        CheckFreqSpec(tx, 1, nullptr, voidSpecs_) != 0 ||
        CheckFreqSpec(rx, 2, nullptr, voidSpecs_) != 0) {
        Warn(this, StringText(strings::kInvalidFrequencies));
        return false;
    }
    channel_.TxFrequency.Set(tx);
    channel_.TxCtcss.Set(StoredText(txCtcss_->currentText()));
    channel_.RxFrequency.Set(rx);
    channel_.RxCtcss.Set(StoredText(rxCtcss_->currentText()));
    channel_.Spacing12k5 = spacing12k5_->isChecked() ? 1 : 0;
    channel_.Spacing20k = spacing20k_->isChecked() ? 1 : 0;
    channel_.Spacing25k = spacing25k_->isChecked() ? 1 : 0;
    channel_.QLift = qLift_->isChecked() ? 1 : 0;
    return true;
}
