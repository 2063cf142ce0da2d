#include "dialogs/configsheet.h"

#include "dialogs/dialoghelpers.h"
#include "dialogs/listfill.h"
#include "dialogs/rules.h"
#include "dialogs/uiservices.h"
#include "document/limits.h"
#include "document/records.h"
#include "programming/fieldrules.h"
#include "resources/stringtable.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

// A keystroke rule that only lets the given characters in.
TRuleValidator::Rule Only(std::string allowed) {
    return [allowed](std::string_view text, bool) -> std::optional<std::string> {
        if (!OnlyCharacters(text, allowed))
            return std::nullopt;
        return std::string(text);
    };
}

// A keystroke rule that lets in only text that can still match a picture.
TRuleValidator::Rule Picture(bool (*couldMatch)(std::string_view)) {
    return [couldMatch](std::string_view text, bool) -> std::optional<std::string> {
        if (!couldMatch(text))
            return std::nullopt;
        return std::string(text);
    };
}

void SetChecked(QAbstractButton* button, std::int32_t flag) {
    button->setChecked(flag != 0);
}
std::int32_t Flag(const QAbstractButton* button) {
    return button->isChecked() ? 1 : 0;
}

std::string Text(const QLineEdit* edit, std::size_t maxLength) {
    return StoredText(edit->text().left(static_cast<qsizetype>(maxLength)));
}

// Selects the first line that begins with the route's digits; an unknown
// route leaves the previous line.
void SelectRoute(QComboBox* routes, std::int32_t route) {
    const int line = routes->findText(QString::number(route), Qt::MatchStartsWith);
    if (line >= 0)
        routes->setCurrentIndex(line);
}

// The characters of a dial string.
constexpr const char* kDialCharacters = "0-9()-";

QString Report(int messageId) {
    QString text = StringText(messageId);
    if (messageId == strings::kOutOfRange)
        text.replace(QStringLiteral("%ld to %ld"),
                     QStringLiteral("0 to %1").arg(limits::kMaxSystemId));
    return text;
}

} // namespace

void TPropertyPage::EnsureSetUp() {
    if (setUp_)
        return;
    setUp_ = true;
    SetupWindow();
}

void TPropertyPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    EnsureSetUp();
}

// --- General -----------------------------------------------------------

TGlobalDlg::TGlobalDlg(QWidget* parent, TBoardData& document) : TPropertyPage(parent, document) {
    auto* options = new QGroupBox(tr("&Options"), this);
    conventional_ =
        Named(new QCheckBox(tr("Enable Conventional Operation"), options), "conventional");
    clearChannelAlert_ =
        Named(new QCheckBox(tr("Clear Channel Alert"), options), "clearChannelAlert");
    disableRadioKill_ = Named(new QCheckBox(tr("Disable Radio-Kill"), options), "disableRadioKill");
    disableBeep_ = Named(new QCheckBox(tr("Disable Disconnect Beep"), options), "disableBeep");
    auto* optionsLayout = new QVBoxLayout(options);
    for (QWidget* box : {conventional_, clearChannelAlert_, disableRadioKill_, disableBeep_})
        optionsLayout->addWidget(box);

    auto* speedDial = new QGroupBox(tr("&Speed Dial"), this);
    disableUserProgramming_ =
        Named(new QCheckBox(tr("Disable User Programming"), speedDial), "disableUserProgramming");
    restrictKeypad_ =
        Named(new QCheckBox(tr("Restrict Keypad Calls"), speedDial), "restrictKeypad");
    auto* speedLayout = new QVBoxLayout(speedDial);
    speedLayout->addWidget(disableUserProgramming_);
    speedLayout->addWidget(restrictKeypad_);

    auto* busy = new QGroupBox(tr("&Busy Channel Detect"), this);
    carrier_ = Named(new QRadioButton(tr("Carrier"), busy), "carrier");
    ctcss_ = Named(new QRadioButton(tr("CTCSS"), busy), "ctcss");
    auto* busyLayout = new QVBoxLayout(busy);
    busyLayout->addWidget(carrier_);
    busyLayout->addWidget(ctcss_);

    auto* identification = new QGroupBox(tr("Radio &Identification"), this);
    verifyEsn_ = Named(new QCheckBox(tr("Verify ESN:"), identification), "verifyEsn");
    esn_ = RuleEdit(identification, "esn", limits::kEsn, FilterEsnInput);
    auto* idLayout = new QHBoxLayout(identification);
    idLayout->addWidget(verifyEsn_);
    idLayout->addWidget(esn_);
    connect(verifyEsn_, &QCheckBox::toggled, esn_, &QLineEdit::setEnabled);

    auto* microphone = new QGroupBox(tr("External &Microphone"), this);
    delayed_ = Named(new QRadioButton(tr("Delayed"), microphone), "delayed");
    standard_ = Named(new QRadioButton(tr("Standard"), microphone), "standard");
    auto* micLayout = new QVBoxLayout(microphone);
    micLayout->addWidget(delayed_);
    micLayout->addWidget(standard_);

    auto* grid = new QGridLayout(this);
    grid->addWidget(options, 0, 0);
    grid->addWidget(speedDial, 1, 0);
    grid->addWidget(busy, 0, 1);
    grid->addWidget(microphone, 1, 1);
    grid->addWidget(identification, 2, 0, 1, 2);
}

void TGlobalDlg::SetupWindow() {
    const TGlobalData& g = document_.Global;
    SetTextUnchecked(*esn_, ShownText(g.EsnText.View()));
    SetChecked(verifyEsn_, g.VerifyEsn);
    esn_->setEnabled(verifyEsn_->isChecked());
    SetChecked(conventional_, g.ConventionalOperation);
    SetChecked(clearChannelAlert_, g.ClearChannelAlert);
    SetChecked(disableRadioKill_, g.DisableRadioKill);
    SetChecked(ctcss_, g.BusyDetectCtcss);
    SetChecked(carrier_, g.BusyDetectCarrier);
    SetChecked(disableUserProgramming_, g.DisableUserProgramming);
    SetChecked(restrictKeypad_, g.RestrictKeypadCalls);
    SetChecked(delayed_, g.ExtMicDelayed);
    SetChecked(standard_, g.ExtMicStandard);
    SetChecked(disableBeep_, g.DisableDisconnectBeep);
}

void TGlobalDlg::Apply() {
    TGlobalData& g = document_.Global;
    g.EsnText.Set(Text(esn_, limits::kEsn));
    g.VerifyEsn = Flag(verifyEsn_);
    g.ConventionalOperation = Flag(conventional_);
    g.ClearChannelAlert = Flag(clearChannelAlert_);
    g.DisableRadioKill = Flag(disableRadioKill_);
    g.BusyDetectCtcss = Flag(ctcss_);
    g.BusyDetectCarrier = Flag(carrier_);
    g.DisableUserProgramming = Flag(disableUserProgramming_);
    g.RestrictKeypadCalls = Flag(restrictKeypad_);
    g.ExtMicDelayed = Flag(delayed_);
    g.ExtMicStandard = Flag(standard_);
    g.DisableDisconnectBeep = Flag(disableBeep_);
}

// --- Channel banks -----------------------------------------------------

TBankDlg::TBankDlg(QWidget* parent, TBoardData& document) : TPropertyPage(parent, document) {
    auto* selectorBox = new QGroupBox(tr("Channel Selector"), this);
    selector_ = Named(new QListWidget(selectorBox), "selector");
    auto* remove = Named(new QPushButton(tr("-"), selectorBox), "removeBank");
    auto* add = Named(new QPushButton(tr("+"), selectorBox), "addBank");
    auto* selectorButtons = new QHBoxLayout;
    selectorButtons->addWidget(remove);
    selectorButtons->addWidget(add);
    auto* selectorLayout = new QVBoxLayout(selectorBox);
    selectorLayout->addWidget(selector_);
    selectorLayout->addLayout(selectorButtons);

    auto* nameBox = new QGroupBox(tr("Channel &Name"), this);
    // Any text that fits is a channel name.
    name_ = TextEdit(nameBox, "name", limits::kBankName);
    (new QVBoxLayout(nameBox))->addWidget(name_);

    auto* addressBox = new QGroupBox(tr("Primary &Address"), this);
    systemId_ = RuleEdit(addressBox, "systemId", limits::kSystemId, Only("0-9"));
    pagingCode_ = RuleEdit(addressBox, "pagingCode", limits::kPrimaryPagingCode, Only("0-9"));
    auto* addressForm = new QFormLayout(addressBox);
    addressForm->addRow(tr("System ID:"), systemId_);
    addressForm->addRow(tr("Paging Code:"), pagingCode_);

    auto* siteBox = new QGroupBox(tr("&RF Site"), this);
    site_ = Named(new QComboBox(siteBox), "site");
    (new QVBoxLayout(siteBox))->addWidget(site_);
    auto* secureBox = new QGroupBox(tr("&Secure Speech"), this);
    secureSpeech_ = Named(new QComboBox(secureBox), "secureSpeech");
    (new QVBoxLayout(secureBox))->addWidget(secureSpeech_);

    emergencyOverride_ = Named(new QCheckBox(tr("Emergency Override"), this), "emergencyOverride");
    priorityOverride_ = Named(new QCheckBox(tr("Priority Override"), this), "priorityOverride");
    hornAlert_ = Named(new QCheckBox(tr("Horn Alert"), this), "hornAlert");

    auto actionBox = [this](const QString& title, const char* prefix, QRadioButton*& group,
                            QRadioButton*& connectButton, QRadioButton*& none, QLineEdit*& code,
                            QComboBox*& route, QLineEdit*& number, std::size_t numberLength,
                            const char* numberCharacters) {
        auto* box = new QGroupBox(title, this);
        const std::string p(prefix);
        group = Named(new QRadioButton(tr("Group"), box), (p + "Group").c_str());
        connectButton = Named(new QRadioButton(tr("Connect"), box), (p + "Connect").c_str());
        none = Named(new QRadioButton(tr("None"), box), (p + "None").c_str());
        auto* buttons = new QButtonGroup(box);
        for (QRadioButton* button : {group, connectButton, none})
            buttons->addButton(button);
        code = RuleEdit(box, (p + "PagingCode").c_str(), limits::kActionPagingCode,
                        Picture(CouldBecomePageCode));
        route = Named(new QComboBox(box), (p + "Route").c_str());
        number = RuleEdit(box, (p + "Number").c_str(), numberLength, Only(numberCharacters));
        auto* radios = new QHBoxLayout;
        radios->addWidget(group);
        radios->addWidget(connectButton);
        radios->addWidget(none);
        auto* form = new QFormLayout(box);
        form->addRow(radios);
        form->addRow(tr("Paging Code:"), code);
        form->addRow(tr("Route:"), route);
        form->addRow(tr("Number:"), number);
        return box;
    };
    auto* ptt = actionBox(tr("PTT Action"), "ptt", pttGroup_, pttConnect_, pttNone_, pttPagingCode_,
                          pttRoute_, pttNumber_, limits::kPttNumber, "0-9");
    auto* button = actionBox(tr("Button Action"), "button", buttonGroup_, buttonConnect_,
                             buttonNone_, buttonPagingCode_, buttonRoute_, buttonNumber_,
                             limits::kButtonNumber, kDialCharacters);

    auto* groupsBox = new QGroupBox(tr("Receive &Groups"), this);
    receiveGroups_ =
        RuleEdit(groupsBox, "receiveGroups", limits::kReceiveGroups, Picture(CouldBecomeJoinCode));
    (new QVBoxLayout(groupsBox))->addWidget(receiveGroups_);

    auto* options = new QVBoxLayout;
    options->addWidget(emergencyOverride_);
    options->addWidget(priorityOverride_);
    options->addWidget(hornAlert_);
    auto* grid = new QGridLayout;
    grid->addWidget(nameBox, 0, 0);
    grid->addWidget(addressBox, 1, 0);
    grid->addWidget(siteBox, 0, 1);
    grid->addWidget(secureBox, 1, 1);
    grid->addWidget(ptt, 2, 0);
    grid->addWidget(button, 2, 1);
    grid->addWidget(groupsBox, 3, 0);
    grid->addLayout(options, 3, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(selectorBox);
    layout->addLayout(grid, 1);

    connect(selector_, &QListWidget::currentRowChanged, this, &TBankDlg::SelectorChanged);
    connect(add, &QPushButton::clicked, this, &TBankDlg::Add);
    connect(remove, &QPushButton::clicked, this, &TBankDlg::Remove);
}

void TBankDlg::SetupWindow() {
    FillFromStrings(*secureSpeech_, strings::kSecureSpeech);
    FillFromStrings(*pttRoute_, strings::kRoutes);
    FillFromStrings(*buttonRoute_, strings::kRoutes);
    // The sites in the order of a sorted list; two of one name both stay,
    // each with its own site.
    std::vector<std::pair<QString, TRfSite*>> sites;
    for (const auto& site : document_.Sites)
        sites.emplace_back(ShownText(site->Name.View()), site.get());
    std::stable_sort(sites.begin(), sites.end(),
                     [](const auto& a, const auto& b) { return NameBefore(a.first, b.first); });
    for (const auto& [name, site] : sites)
        site_->addItem(name, RecordData(site));
    {
        const QSignalBlocker blocker(selector_);
        const QString format = StringText(strings::kPosition);
        for (int i = 0; i < document_.Banks.Count(); ++i)
            selector_->addItem(
                QString(format).replace(QStringLiteral("%d"), QString::number(i + 1)));
        selector_->setCurrentRow(document_.Banks.Count() > 0 ? 0 : -1);
    }
    shown_ = -1;
    SwitchTo(document_.Banks.Count() > 0 ? 0 : -1);
}

void TBankDlg::SelectLine(int line) {
    const QSignalBlocker blocker(selector_);
    selector_->setCurrentRow(line);
}

void TBankDlg::SwitchTo(int bank) {
    Store(shown_);
    shown_ = bank;
    Load(bank);
}

void TBankDlg::Load(int bank) {
    if (bank < 0 || bank >= document_.Banks.Count()) {
        for (QLineEdit* edit : {name_, systemId_, pagingCode_, pttPagingCode_, pttNumber_,
                                buttonPagingCode_, buttonNumber_, receiveGroups_})
            edit->clear();
        for (QComboBox* list : {site_, secureSpeech_, pttRoute_, buttonRoute_})
            list->setCurrentIndex(-1);
        for (QAbstractButton* box : {static_cast<QAbstractButton*>(emergencyOverride_),
                                     static_cast<QAbstractButton*>(priorityOverride_),
                                     static_cast<QAbstractButton*>(hornAlert_)})
            box->setChecked(false);
        pttNone_->setChecked(true);
        buttonNone_->setChecked(true);
        return;
    }
    const TBankData& b = document_.Banks[bank];
    // Stored values are shown as they are; only typing is checked.
    auto put = [](QLineEdit* edit, const auto& text) {
        SetTextUnchecked(*edit, ShownText(text.View()));
    };
    put(name_, b.Name);
    put(systemId_, b.SystemId);
    put(pagingCode_, b.PagingCode);
    int siteLine = -1;
    for (int line = site_->count() - 1; line >= 0; --line)
        if (b.Site != nullptr && RecordFrom<TRfSite>(site_->itemData(line)) == b.Site) {
            siteLine = line;
            break;
        }
    site_->setCurrentIndex(siteLine);
    secureSpeech_->setCurrentIndex(
        b.Scrambler >= 0 && b.Scrambler < secureSpeech_->count() ? b.Scrambler : -1);
    SetChecked(emergencyOverride_, b.EmergencyOverride);
    SetChecked(priorityOverride_, b.PriorityOverride);
    SetChecked(pttGroup_, b.PttGroup);
    SetChecked(pttNone_, b.PttNone);
    put(pttPagingCode_, b.PttPagingCode);
    SetChecked(buttonGroup_, b.ButtonGroup);
    SetChecked(buttonConnect_, b.ButtonConnect);
    SetChecked(buttonNone_, b.ButtonNone);
    put(buttonPagingCode_, b.ButtonPagingCode);
    SelectRoute(buttonRoute_, b.ButtonRoute);
    put(buttonNumber_, b.ButtonNumber);
    put(receiveGroups_, b.ReceiveGroups);
    SetChecked(hornAlert_, b.HornAlert);
    SetChecked(pttConnect_, b.PttConnect);
    SelectRoute(pttRoute_, b.PttRoute);
    put(pttNumber_, b.PttNumber);
}

void TBankDlg::Store(int bank) {
    if (bank < 0 || bank >= document_.Banks.Count())
        return;
    TBankData& b = document_.Banks[bank];
    b.Name.Set(Text(name_, limits::kBankName));
    b.SystemId.Set(Text(systemId_, limits::kSystemId));
    b.PagingCode.Set(Text(pagingCode_, limits::kPrimaryPagingCode));
    b.Site = site_->currentIndex() >= 0 ? RecordFrom<TRfSite>(site_->currentData()) : nullptr;
    b.Scrambler = secureSpeech_->currentIndex();
    b.EmergencyOverride = Flag(emergencyOverride_);
    b.PriorityOverride = Flag(priorityOverride_);
    b.PttGroup = Flag(pttGroup_);
    b.PttNone = Flag(pttNone_);
    b.PttPagingCode.Set(Text(pttPagingCode_, limits::kActionPagingCode));
    b.ButtonGroup = Flag(buttonGroup_);
    b.ButtonConnect = Flag(buttonConnect_);
    b.ButtonNone = Flag(buttonNone_);
    b.ButtonPagingCode.Set(Text(buttonPagingCode_, limits::kActionPagingCode));
    b.ButtonRoute = LeadingRoute(StoredText(buttonRoute_->currentText()));
    b.ButtonNumber.Set(Text(buttonNumber_, limits::kButtonNumber));
    b.ReceiveGroups.Set(Text(receiveGroups_, limits::kReceiveGroups));
    b.HornAlert = Flag(hornAlert_);
    b.PttConnect = Flag(pttConnect_);
    b.PttRoute = LeadingRoute(StoredText(pttRoute_->currentText()));
    b.PttNumber.Set(Text(pttNumber_, limits::kPttNumber));
}

bool TBankDlg::FieldsValid() {
    const std::pair<QLineEdit*, FieldCheck> checks[] = {
        {systemId_, CheckSystemIdField(Text(systemId_, limits::kSystemId))},
        {pagingCode_, CheckCharactersField(Text(pagingCode_, limits::kPrimaryPagingCode), "0-9")},
        {pttPagingCode_, CheckPageCodeField(Text(pttPagingCode_, limits::kActionPagingCode))},
        {pttNumber_, CheckCharactersField(Text(pttNumber_, limits::kPttNumber), "0-9")},
        {buttonPagingCode_, CheckPageCodeField(Text(buttonPagingCode_, limits::kActionPagingCode))},
        {buttonNumber_,
         CheckCharactersField(Text(buttonNumber_, limits::kButtonNumber), kDialCharacters)},
        {receiveGroups_, CheckJoinCodeField(Text(receiveGroups_, limits::kReceiveGroups))},
    };
    for (const auto& [edit, check] : checks) {
        if (check.Passed)
            continue;
        Warn(this, Report(check.MessageId));
        edit->setFocus();
        return false;
    }
    return true;
}

void TBankDlg::SelectorChanged(int line) {
    if (FieldsValid()) {
        SwitchTo(line);
        return;
    }
    // The click that changed the selection is not done with the list yet:
    // the selection goes back to the shown bank once it is.
    QMetaObject::invokeMethod(
        this, [this] { SelectLine(shown_); }, Qt::QueuedConnection);
}

// + and - store the bank shown, so its fields must pass the same checks as
// before a switch: a value the board cannot take never reaches the document.
void TBankDlg::Add() {
    if (document_.Banks.Count() >= limits::kMaxBanks) {
        Ui().Beep();
        return;
    }
    if (!FieldsValid())
        return;
    auto bank = std::make_unique<TBankData>();
    const int line = selector_->currentRow();
    if (line >= 0 && line < document_.Banks.Count())
        *bank = document_.Banks[line];
    document_.Banks.Append(bank);
    const int count = document_.Banks.Count();
    const QString format = StringText(strings::kPosition);
    selector_->addItem(QString(format).replace(QStringLiteral("%d"), QString::number(count)));
    SelectLine(count - 1);
    SwitchTo(count - 1);
}

void TBankDlg::Remove() {
    if (document_.Banks.Count() == 0) {
        Ui().Beep();
        return;
    }
    if (!FieldsValid())
        return;
    const int last = document_.Banks.Count() - 1;
    // The removed bank's values on screen go with it; any other shown bank
    // keeps them.
    if (shown_ != last)
        Store(shown_);
    shown_ = -1;
    document_.Banks.RemoveAt(last);
    {
        const QSignalBlocker blocker(selector_);
        delete selector_->takeItem(last);
    }
    SelectLine(last - 1);
    SwitchTo(last - 1);
}

bool TBankDlg::KillActive() {
    return FieldsValid();
}

void TBankDlg::Apply() {
    Store(shown_);
}

// --- Speed dial --------------------------------------------------------

TSpeedDialDlg::TSpeedDialDlg(QWidget* parent, TBoardData& document)
    : TPropertyPage(parent, document) {
    auto* box = new QGroupBox(tr("Memory Locations"), this);
    auto* grid = new QGridLayout(box);
    for (int i = 0; i < TSdData::kLocations; ++i) {
        numbers_[i] = RuleEdit(box, ("number" + std::to_string(i)).c_str(), limits::kDialString,
                               Only(kDialCharacters));
        routes_[i] = Named(new QComboBox(box), ("route" + std::to_string(i)).c_str());
        auto* label = new QLabel(QStringLiteral("&%1:").arg(i), box);
        label->setBuddy(numbers_[i]);
        const int row = i % 5;
        const int column = (i / 5) * 3;
        grid->addWidget(label, row, column);
        grid->addWidget(numbers_[i], row, column + 1);
        grid->addWidget(routes_[i], row, column + 2);
    }
    (new QVBoxLayout(this))->addWidget(box);
}

void TSpeedDialDlg::SetupWindow() {
    for (int i = 0; i < TSdData::kLocations; ++i) {
        FillFromStrings(*routes_[i], strings::kRoutes);
        SetTextUnchecked(*numbers_[i], ShownText(document_.SpeedDial.Number[i].View()));
        SelectRoute(routes_[i], document_.SpeedDial.Route[i]);
    }
}

bool TSpeedDialDlg::KillActive() {
    // The filter of every number is checked on the whole text too, so that a
    // stored dial string the filter would not let in is not written back.
    for (QLineEdit* number : numbers_) {
        const FieldCheck check =
            CheckCharactersField(Text(number, limits::kDialString), kDialCharacters);
        if (!check.Passed) {
            Warn(this, Report(check.MessageId));
            number->setFocus();
            return false;
        }
    }
    for (int i = 0; i < TSdData::kLocations; ++i) {
        document_.SpeedDial.Number[i].Set(Text(numbers_[i], limits::kDialString));
        document_.SpeedDial.Route[i] = LeadingRoute(StoredText(routes_[i]->currentText()));
    }
    return true;
}

// --- The sheet ---------------------------------------------------------

TConfigurationSheet::TConfigurationSheet(QWidget* parent, TBoardData& document) : QDialog(parent) {
    setWindowTitle(tr("Configuration"));
    tabs_ = Named(new QTabWidget(this), "pages");
    pages_ = {new TGlobalDlg(tabs_, document), new TBankDlg(tabs_, document),
              new TSpeedDialDlg(tabs_, document)};
    tabs_->addTab(pages_[0], tr("General"));
    tabs_->addTab(pages_[1], tr("Channel Banks"));
    tabs_->addTab(pages_[2], tr("Speed Dial"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(OkCancelButtons(this));
    connect(tabs_, &QTabWidget::currentChanged, this, &TConfigurationSheet::TabChanged);
    tabs_->tabBar()->installEventFilter(this);
}

bool TConfigurationSheet::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tabs_->tabBar() && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        const int index = tabs_->tabBar()->tabAt(press->position().toPoint());
        if (press->button() == Qt::LeftButton && index >= 0 && index != current_) {
            if (!pages_[static_cast<std::size_t>(current_)]->KillActive())
                return true;
            leaveChecked_ = true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TConfigurationSheet::TabChanged(int index) {
    if (index == current_)
        return;
    const bool checked = std::exchange(leaveChecked_, false);
    if (!checked && !pages_[static_cast<std::size_t>(current_)]->KillActive()) {
        const QSignalBlocker blocker(tabs_);
        tabs_->setCurrentIndex(current_);
        return;
    }
    current_ = index;
    pages_[static_cast<std::size_t>(index)]->EnsureSetUp();
}

void TConfigurationSheet::accept() {
    if (!pages_[static_cast<std::size_t>(current_)]->KillActive())
        return;
    for (TPropertyPage* page : pages_)
        if (page->IsSetUp())
            page->Apply();
    QDialog::accept();
}
