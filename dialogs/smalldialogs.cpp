#include "dialogs/smalldialogs.h"

#include "dialogs/dialoghelpers.h"
#include "dialogs/uiservices.h"
#include "document/limits.h"
#include "document/records.h"
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
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancelButtons(this));
}

void TPortDlg::SetupWindow() {
    for (int number = 1; number <= 4; ++number)
        ports_->addItem(QStringLiteral("COM%1").arg(number));
    ports_->setCurrentIndex(port_ - 1);
}

bool TPortDlg::CanClose() {
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
