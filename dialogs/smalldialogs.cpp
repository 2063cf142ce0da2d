#include "dialogs/smalldialogs.h"

#include "dialogs/dialoghelpers.h"
#include "dialogs/uiservices.h"
#include "document/limits.h"
#include "document/records.h"
#include "radiolink/server/backend.h"
#include "radiolink/server/portlist.h"
#include "resources/stringtable.h"
#include "resources/version.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cstdio>

namespace {

QLineEdit* PasswordEdit(QWidget* parent, const char* name) {
    auto* edit = TextEdit(parent, name, limits::kPassword);
    edit->setEchoMode(QLineEdit::Password);
    return edit;
}

} // namespace

TPortDlg::TPortDlg(QWidget* parent, int& port) : TCenterDlg(parent), port_(port) {
    setWindowTitle(tr("Port"));
    ports_ = Named(new QComboBox(this), "port");
    auto* form = new QFormLayout;
    form->addRow(tr("Serial &Port:"), ports_);
    auto* group = new QGroupBox(tr("Devices"), this);
    auto* devices = new QFormLayout(group);
    for (int index = 0; index < radioserver::kMappedPorts; ++index) {
        const std::string name = "COM" + std::to_string(index + 1);
        devices_[index] = Named(new QComboBox(group), ("device" + name).c_str());
        devices_[index]->setEditable(true);
        devices_[index]->setInsertPolicy(QComboBox::NoInsert);
        devices_[index]->setMinimumContentsLength(40);
        devices->addRow(ProgramText(name + ":"), devices_[index]);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(group);
    layout->addWidget(OkCancelButtons(this));
}

void TPortDlg::SetupWindow() {
    for (int number = 1; number <= 4; ++number)
        ports_->addItem(QStringLiteral("COM%1").arg(number));
    ports_->setCurrentIndex(port_ - 1);

    // Each box offers the ports found, described, and the simulator; its
    // item data is the value the map keeps, its text may also be typed.
    map_ = radioserver::ReadPortMap();
    const auto found = radioserver::ListSerialPorts();
    const auto mappings = radioserver::DescribePortMapping();
    for (int index = 0; index < radioserver::kMappedPorts; ++index) {
        QComboBox* box = devices_[index];
        box->addItem(QString(), QString());
        for (const auto& port : found) {
            const std::string description = radioserver::DescribeSerialPort(port);
            box->addItem(
                ProgramText(port.Device + (description.empty() ? "" : "  (" + description + ")")),
                ProgramText(port.Device));
        }
        box->addItem(tr("sim  (built-in simulator)"), QStringLiteral("sim"));
        const int listed = box->findData(ProgramText(map_[index]));
        if (listed >= 0)
            box->setCurrentIndex(listed);
        else
            box->setEditText(ProgramText(map_[index]));
        const std::string defaultDevice = radioserver::DefaultDevice(index + 1);
        box->lineEdit()->setPlaceholderText(ProgramText(defaultDevice + " (default)"));
        // A variable set for this port decides it; the box shows what it says.
        const std::string variable = "TARVO_COM" + std::to_string(index + 1);
        if (mappings[index].Source == variable) {
            box->setEnabled(false);
            box->setEditText(ProgramText(variable + ": " + mappings[index].Target));
        }
    }
}

std::string TPortDlg::DeviceValue(int index) const {
    const QComboBox* box = devices_[index];
    const QString text = box->currentText().trimmed();
    const int listed = box->findText(text);
    return StoredText(listed >= 0 ? box->itemData(listed).toString() : text);
}

bool TPortDlg::CanClose() {
    radioserver::PortMap chosen = map_;
    for (int index = 0; index < radioserver::kMappedPorts; ++index) {
        if (!devices_[index]->isEnabled())
            continue;
        chosen[index] = DeviceValue(index);
        if (chosen[index].empty())
            continue;
        if (const std::string problem = radioserver::PortValueProblem(chosen[index]);
            !problem.empty()) {
            Warn(this, ProgramText("COM" + std::to_string(index + 1) + ": " + problem));
            devices_[index]->setFocus();
            return false;
        }
    }
    if (chosen != map_) {
        std::string error;
        if (!radioserver::WritePortMap(chosen, error)) {
            Warn(this, tr("The port mapping could not be saved: ") + ProgramText(error));
            return false;
        }
    }
    int number = 0;
    const std::string text = StoredText(ports_->currentText().left(127));
    port_ =
        std::sscanf(text.c_str(), "COM%d", &number) == 1 && number >= 1 && number <= 4 ? number : 1;
    return true;
}

TAboutDlg::TAboutDlg(QWidget* parent) : TCenterDlg(parent) {
    setWindowTitle(tr("About"));
    auto* group = new QGroupBox(this);
    auto* text = new QLabel(Text(), group);
    text->setObjectName(QStringLiteral("aboutText"));
    auto* inner = new QVBoxLayout(group);
    inner->addWidget(text);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(OkCancelButtons(this, false));
}

QString TAboutDlg::Text() {
    return kProgramTitle + QStringLiteral("\nVersion 1.0\nBuild ") + ProgramText(BuildVersion());
}

TAccessDlg::TAccessDlg(QWidget* parent, QString& entry) : TCenterDlg(parent), entry_(entry) {
    setWindowTitle(tr("Password"));
    password_ = PasswordEdit(this, "password");
    auto* form = new QFormLayout;
    form->addRow(tr("Enter &Password:"), password_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancelButtons(this));
}

void TAccessDlg::SetupWindow() {
    password_->clear();
}

bool TAccessDlg::CanClose() {
    entry_ = password_->text().left(limits::kPassword);
    return true;
}

TPwdDlg::TPwdDlg(QWidget* parent, TBoardData& document) : TCenterDlg(parent), document_(document) {
    setWindowTitle(tr("Password"));
    newPassword_ = PasswordEdit(this, "newPassword");
    verifyPassword_ = PasswordEdit(this, "verifyPassword");
    auto* form = new QFormLayout;
    form->addRow(tr("&New Password:"), newPassword_);
    form->addRow(tr("&Verify Password:"), verifyPassword_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancelButtons(this));
}

void TPwdDlg::SetupWindow() {
    newPassword_->clear();
    verifyPassword_->clear();
}

bool TPwdDlg::CanClose() {
    const std::string entered = StoredText(newPassword_->text().left(limits::kPassword));
    if (entered != StoredText(verifyPassword_->text().left(limits::kPassword))) {
        Warn(this, StringText(strings::kPasswordMismatch));
        return false;
    }
    document_.Product.Password.Set(entered);
    return true;
}
