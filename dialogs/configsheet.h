// View > Configuration: the property sheet with the General, Channel Banks
// and Speed Dial pages, all editing one working copy of the document.
#pragma once

#include "document/records.h"

#include <QDialog>
#include <QWidget>

#include <array>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QTabWidget;

// A page of the sheet: set up when first shown, asked before it is left,
// applied when the sheet ends with OK.
class TPropertyPage : public QWidget {
    Q_OBJECT
  public:
    TPropertyPage(QWidget* parent, TBoardData& document) : QWidget(parent), document_(document) {}
    bool IsSetUp() const { return setUp_; }
    void EnsureSetUp();
    // False keeps the page showing.
    virtual bool KillActive() { return true; }
    virtual void Apply() {}

  protected:
    virtual void SetupWindow() = 0;
    void showEvent(QShowEvent* event) override;
    TBoardData& document_;

  private:
    bool setUp_ = false;
};

class TGlobalDlg final : public TPropertyPage {
    Q_OBJECT
  public:
    TGlobalDlg(QWidget* parent, TBoardData& document);
    void Apply() override;

  protected:
    void SetupWindow() override;

  private:
    QLineEdit* esn_;
    QCheckBox* verifyEsn_;
    QCheckBox* conventional_;
    QCheckBox* clearChannelAlert_;
    QCheckBox* disableRadioKill_;
    QCheckBox* disableBeep_;
    QCheckBox* disableUserProgramming_;
    QCheckBox* restrictKeypad_;
    QRadioButton* carrier_;
    QRadioButton* ctcss_;
    QRadioButton* delayed_;
    QRadioButton* standard_;
};

class TBankDlg final : public TPropertyPage {
    Q_OBJECT
  public:
    TBankDlg(QWidget* parent, TBoardData& document);
    bool KillActive() override;
    void Apply() override;

  public slots:
    void Add();
    void Remove();

  protected:
    void SetupWindow() override;

  private:
    // Every field's whole-text check; the first failure is reported.
    bool FieldsValid();
    void SelectorChanged(int line);
    void SwitchTo(int bank);
    void Load(int bank);
    void Store(int bank);
    void SelectLine(int line);

    int shown_ = -1;
    QListWidget* selector_;
    QLineEdit* name_;
    QLineEdit* systemId_;
    QLineEdit* pagingCode_;
    QComboBox* site_;
    QComboBox* secureSpeech_;
    QCheckBox* emergencyOverride_;
    QCheckBox* priorityOverride_;
    QCheckBox* hornAlert_;
    QRadioButton* pttGroup_;
    QRadioButton* pttConnect_;
    QRadioButton* pttNone_;
    QLineEdit* pttPagingCode_;
    QComboBox* pttRoute_;
    QLineEdit* pttNumber_;
    QRadioButton* buttonGroup_;
    QRadioButton* buttonConnect_;
    QRadioButton* buttonNone_;
    QLineEdit* buttonPagingCode_;
    QComboBox* buttonRoute_;
    QLineEdit* buttonNumber_;
    QLineEdit* receiveGroups_;
};

class TSpeedDialDlg final : public TPropertyPage {
    Q_OBJECT
  public:
    TSpeedDialDlg(QWidget* parent, TBoardData& document);
    // Writes the page into the copy whenever it is left.
    bool KillActive() override;

  protected:
    void SetupWindow() override;

  private:
    std::array<QLineEdit*, TSdData::kLocations> numbers_{};
    std::array<QComboBox*, TSdData::kLocations> routes_{};
};

class TConfigurationSheet final : public QDialog {
    Q_OBJECT
  public:
    TConfigurationSheet(QWidget* parent, TBoardData& document);
    QTabWidget& Tabs() { return *tabs_; }

  public slots:
    void accept() override;

  protected:
    // A click on another tab asks the page first, so that a page that
    // refuses to be left is never shown behind its error report.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void TabChanged(int index);

    QTabWidget* tabs_;
    std::vector<TPropertyPage*> pages_;
    int current_ = 0;
    bool leaveChecked_ = false; // the page was asked before this tab change
};
