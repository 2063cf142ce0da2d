// The channel editor: frequencies with typing rules and raster arrows, CTCSS
// tones, channel spacing and Q-Lift of one RF channel.
#pragma once

#include "dialogs/centerdlg.h"
#include "dialogs/dialoghelpers.h"

#include <QLineEdit>

class QCheckBox;
class QComboBox;
class QRadioButton;
class TRfChannel;

// Lets only digits and '.' into a frequency field; typing at the end puts the
// point after the third digit.
class TFqValidator final : public TRuleValidator {
    Q_OBJECT
  public:
    explicit TFqValidator(QLineEdit* edit);
};

// A frequency field that holds what a channel holds, with its validator.
class TFqEdit final : public QLineEdit {
    Q_OBJECT
  public:
    explicit TFqEdit(QWidget* parent);
    // Shows a stored or stepped frequency as it is: only typing is formatted.
    void SetFrequency(const QString& text);
};

class TEditChDlg final : public TCenterDlg {
    Q_OBJECT
  public:
    // `voidSpecs` is the setting that the frequency check consults.
    TEditChDlg(QWidget* parent, const QString& caption, TRfChannel& channel, int voidSpecs);

  protected:
    void SetupWindow() override;
    bool CanClose() override;

  private:
    void Step(TFqEdit* field, int steps);

    TRfChannel& channel_;
    int voidSpecs_;
    TFqEdit* rxFrequency_;
    TFqEdit* txFrequency_;
    QComboBox* rxCtcss_;
    QComboBox* txCtcss_;
    QRadioButton* spacing12k5_;
    QRadioButton* spacing20k_;
    QRadioButton* spacing25k_;
    QCheckBox* qLift_;
};
