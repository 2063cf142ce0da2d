// The channel editor: frequencies with typing rules and raster arrows, CTCSS
// tones, channel spacing and Q-Lift of one RF channel.
#pragma once

#include "centerdlg.h"

#include <QLineEdit>
#include <QValidator>

class QCheckBox;
class QComboBox;
class QRadioButton;
class TRfChannel;

// Lets only digits and '.' into a frequency field; typing at the end puts the
// point after the third digit.
class TFqValidator final : public QValidator {
    Q_OBJECT
  public:
    explicit TFqValidator(QObject* parent) : QValidator(parent) {}
    State validate(QString& input, int& position) const override;

  private:
    // The text before the keystroke, so that deletions pass unchecked.
    mutable QString previous_;
};

// A frequency field of at most 9 characters with its validator.
class TFqEdit final : public QLineEdit {
    Q_OBJECT
  public:
    explicit TFqEdit(QWidget* parent);
    // Shows a stored or stepped frequency as it is: only typing is formatted.
    void SetFrequency(const QString& text);

  private:
    TFqValidator* validator_;
};

class TEditChDlg final : public TCenterDlg {
    Q_OBJECT
  public:
    TEditChDlg(QWidget* parent, const QString& caption, TRfChannel& channel);

  protected:
    void SetupWindow() override;
    bool CanClose() override;

  private:
    void Step(TFqEdit* field, int steps);

    TRfChannel& channel_;
    TFqEdit* rxFrequency_;
    TFqEdit* txFrequency_;
    QComboBox* rxCtcss_;
    QComboBox* txCtcss_;
    QRadioButton* spacing12k5_;
    QRadioButton* spacing20k_;
    QRadioButton* spacing25k_;
    QCheckBox* qLift_;
};
