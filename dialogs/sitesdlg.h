// View > RF Sites: the RF sites of the document and the channels of each.
#pragma once

#include "dialogs/centerdlg.h"

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class TBoardData;
class TRfChannel;
class TRfSite;

class TSitesDlg final : public TCenterDlg {
    Q_OBJECT
  public:
    // `voidSpecs` is the setting that the channel editor's frequency check
    // consults.
    TSitesDlg(QWidget* parent, TBoardData& document, int voidSpecs);

  public slots:
    void NewSite();
    void DeleteSite();
    void AddChannel();
    void RemoveChannel();
    void EditChannel();

  protected:
    void SetupWindow() override;

  private:
    TRfSite* SelectedSite() const;
    TRfChannel* SelectedChannel() const;
    void ShowChannels(int siteLine);
    QListWidgetItem* ChannelLine(TRfChannel& channel);

    TBoardData& document_;
    int voidSpecs_;
    QListWidget* sites_;
    QListWidget* channels_;
};

// Asks for the name of a new site (at least one character, at most what a
// site holds).
class TSiteNameDlg final : public TCenterDlg {
    Q_OBJECT
  public:
    TSiteNameDlg(QWidget* parent, QString& name);

  protected:
    void SetupWindow() override;
    bool CanClose() override;

  private:
    QString& name_;
    QLineEdit* edit_;
};
