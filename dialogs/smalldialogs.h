// The small dialogs of the main window: serial port, about box, password
// entry and new password.
#pragma once

#include "dialogs/centerdlg.h"

#include "radiolink/server/portmap.h"

#include <QString>

#include <array>

class QComboBox;
class QLineEdit;
class TBoardData;

// Options > Serial Port: chooses COM1..COM4, and the device each of them
// leads to (a serial port found on this machine, a typed path, or "sim"),
// kept in the user's port map; a TARVO_COMn variable shows and wins.
class TPortDlg final : public TCenterDlg {
    Q_OBJECT
  public:
    TPortDlg(QWidget* parent, int& port);

  protected:
    void SetupWindow() override;
    bool CanClose() override;

  private:
    // The map value the device box of COMn (0-based) holds.
    std::string DeviceValue(int index) const;

    int& port_;
    QComboBox* ports_;
    std::array<QComboBox*, radioserver::kMappedPorts> devices_{};
    radioserver::PortMap map_;
};

// Help > About.
class TAboutDlg final : public TCenterDlg {
    Q_OBJECT
  public:
    explicit TAboutDlg(QWidget* parent);
    // The box's text: title, "Version 1.0", then this build's version.
    static QString Text();
};

// Asks for the document's password; OK copies the entry into `entry`.
class TAccessDlg final : public TCenterDlg {
    Q_OBJECT
  public:
    TAccessDlg(QWidget* parent, QString& entry);

  protected:
    void SetupWindow() override;
    bool CanClose() override;

  private:
    QString& entry_;
    QLineEdit* password_;
};

// View > Password: sets a new password (two empty entries remove it).
class TPwdDlg final : public TCenterDlg {
    Q_OBJECT
  public:
    TPwdDlg(QWidget* parent, TBoardData& document);

  protected:
    void SetupWindow() override;
    bool CanClose() override;

  private:
    TBoardData& document_;
    QLineEdit* newPassword_;
    QLineEdit* verifyPassword_;
};
