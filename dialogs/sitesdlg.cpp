#include "dialogs/sitesdlg.h"

#include "dialogs/dialoghelpers.h"
#include "dialogs/editchdlg.h"
#include "dialogs/uiservices.h"
#include "document/limits.h"
#include "document/records.h"
#include "radiolink/tarvodll.h"
#include "resources/stringtable.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

template <typename T> T* ItemRecord(const QListWidgetItem* item) {
    return item != nullptr ? RecordFrom<T>(item->data(Qt::UserRole)) : nullptr;
}

QListWidgetItem* RecordLine(const QString& text, void* record) {
    auto* line = new QListWidgetItem(text);
    line->setData(Qt::UserRole, RecordData(record));
    return line;
}

QPushButton* Button(QWidget* parent, const QString& text, const char* name) {
    auto* button = Named(new QPushButton(text, parent), name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TSitesDlg::TSitesDlg(QWidget* parent, TBoardData& document, int voidSpecs)
    : TCenterDlg(parent), document_(document), voidSpecs_(voidSpecs) {
    setWindowTitle(tr("RF Sites"));
    auto* siteBox = new QGroupBox(tr("&Sites"), this);
    sites_ = Named(new QListWidget(siteBox), "sites");
    auto* newSite = Button(siteBox, tr("&New "), "newSite");
    auto* deleteSite = Button(siteBox, tr("&Delete"), "deleteSite");
    auto* siteButtons = new QHBoxLayout;
    siteButtons->addWidget(newSite);
    siteButtons->addWidget(deleteSite);
    auto* siteLayout = new QVBoxLayout(siteBox);
    siteLayout->addWidget(sites_);
    siteLayout->addLayout(siteButtons);

    auto* channelBox = new QGroupBox(tr("&Channels"), this);
    channels_ = Named(new QListWidget(channelBox), "channels");
    auto* add = Button(channelBox, tr("&Add"), "addChannel");
    auto* remove = Button(channelBox, tr("&Remove"), "removeChannel");
    auto* edit = Button(channelBox, tr("&Edit"), "editChannel");
    auto* channelButtons = new QHBoxLayout;
    channelButtons->addWidget(add);
    channelButtons->addWidget(remove);
    channelButtons->addWidget(edit);
    auto* channelLayout = new QVBoxLayout(channelBox);
    channelLayout->addWidget(channels_);
    channelLayout->addLayout(channelButtons);

    auto* lists = new QHBoxLayout;
    lists->addWidget(siteBox, 1);
    lists->addWidget(channelBox, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addWidget(OkCancelButtons(this));
    resize(640, 360);

    connect(sites_, &QListWidget::currentRowChanged, this, &TSitesDlg::ShowChannels);
    connect(newSite, &QPushButton::clicked, this, &TSitesDlg::NewSite);
    connect(deleteSite, &QPushButton::clicked, this, &TSitesDlg::DeleteSite);
    connect(add, &QPushButton::clicked, this, &TSitesDlg::AddChannel);
    connect(remove, &QPushButton::clicked, this, &TSitesDlg::RemoveChannel);
    connect(edit, &QPushButton::clicked, this, &TSitesDlg::EditChannel);
    connect(channels_, &QListWidget::itemDoubleClicked, this, &TSitesDlg::EditChannel);
}

void TSitesDlg::SetupWindow() {
    const QSignalBlocker blocker(sites_);
    for (const auto& site : document_.Sites)
        InsertSorted(*sites_, RecordLine(ShownText(site->Name.View()), site.get()));
    if (sites_->count() > 0) {
        sites_->setCurrentRow(0);
        ShowChannels(0);
    } else {
        sites_->setCurrentRow(-1);
        channels_->setCurrentRow(-1);
    }
    // The library is initialised for the product being edited; the result
    // does not stop the dialog.
    TarvoDllInit(document_.Product.ProductName.c_str(), document_.Product.ModelNumber.c_str(),
                 limits::kPacketSize, limits::kPacketSize);
}

TRfSite* TSitesDlg::SelectedSite() const {
    return ItemRecord<TRfSite>(sites_->currentItem());
}

TRfChannel* TSitesDlg::SelectedChannel() const {
    return ItemRecord<TRfChannel>(channels_->currentItem());
}

QListWidgetItem* TSitesDlg::ChannelLine(TRfChannel& channel) {
    return RecordLine(ShownText(channel.GetDisplayText().substr(0, 255)), &channel);
}

void TSitesDlg::ShowChannels(int siteLine) {
    channels_->clear();
    if (siteLine < 0)
        return;
    TRfSite* site = ItemRecord<TRfSite>(sites_->item(siteLine));
    for (const auto& channel : site->Channels)
        channels_->addItem(ChannelLine(*channel));
    channels_->setCurrentRow(-1);
}

void TSitesDlg::NewSite() {
    if (document_.Sites.Count() >= limits::kMaxSites) {
        Ui().Beep();
        return;
    }
    QString name;
    TSiteNameDlg dialog(this, name);
    if (Ui().Exec(dialog) != QDialog::Accepted)
        return;
    auto site = std::make_unique<TRfSite>();
    site->SetName(StoredText(name.left(limits::kSiteName)));
    TRfSite* added = site.get();
    document_.Sites.Append(site);
    auto* line = RecordLine(ShownText(added->Name.View()), added);
    InsertSorted(*sites_, line);
    sites_->setCurrentItem(line);
    ShowChannels(sites_->row(line));
}

void TSitesDlg::DeleteSite() {
    TRfSite* site = SelectedSite();
    if (site == nullptr || document_.Sites.Count() == 0) {
        Ui().Beep();
        return;
    }
    if (SiteInUse(document_, site)) {
        Warn(this, StringText(strings::kSiteInUse));
        return;
    }
    const int line = sites_->currentRow();
    {
        const QSignalBlocker blocker(sites_);
        delete sites_->takeItem(line);
        document_.Sites.RemoveAt(document_.Sites.Find(site));
        sites_->setCurrentRow(std::min(line, sites_->count() - 1));
    }
    ShowChannels(sites_->currentRow());
}

void TSitesDlg::AddChannel() {
    TRfSite* site = SelectedSite();
    if (site == nullptr || site->Channels.Count() >= limits::kMaxChannelsPerSite) {
        Ui().Beep();
        return;
    }
    auto channel = std::make_unique<TRfChannel>();
    if (const TRfChannel* selected = SelectedChannel())
        *channel = *selected;
    TEditChDlg dialog(this, StringText(strings::kNewChannel), *channel, voidSpecs_);
    if (Ui().Exec(dialog) != QDialog::Accepted)
        return;
    TRfChannel& added = *channel;
    site->Channels.Append(channel);
    auto* line = ChannelLine(added);
    channels_->addItem(line);
    channels_->setCurrentItem(line);
}

void TSitesDlg::RemoveChannel() {
    TRfSite* site = SelectedSite();
    TRfChannel* channel = SelectedChannel();
    if (site == nullptr || channel == nullptr || site->Channels.Count() == 0) {
        Ui().Beep();
        return;
    }
    const int line = channels_->currentRow();
    delete channels_->takeItem(line);
    site->Channels.RemoveAt(site->Channels.Find(channel));
    channels_->setCurrentRow(std::min(line, channels_->count() - 1));
}

void TSitesDlg::EditChannel() {
    TRfChannel* channel = SelectedChannel();
    if (SelectedSite() == nullptr || channel == nullptr) {
        Ui().Beep();
        return;
    }
    TRfChannel temporary = *channel;
    TEditChDlg dialog(this, StringText(strings::kEditChannel), temporary, voidSpecs_);
    if (Ui().Exec(dialog) != QDialog::Accepted)
        return;
    *channel = temporary;
    const int line = channels_->currentRow();
    delete channels_->takeItem(line);
    channels_->insertItem(line, ChannelLine(*channel));
    channels_->setCurrentRow(line);
}

TSiteNameDlg::TSiteNameDlg(QWidget* parent, QString& name) : TCenterDlg(parent), name_(name) {
    setWindowTitle(tr("New Site"));
    edit_ = TextEdit(this, "siteName", limits::kSiteName);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(edit_);
    layout->addWidget(OkCancelButtons(this));
}

void TSiteNameDlg::SetupWindow() {
    edit_->setText(name_);
}

bool TSiteNameDlg::CanClose() {
    if (edit_->text().isEmpty()) {
        Warn(this, StringText(strings::kInvalidSiteName));
        return false;
    }
    name_ = edit_->text().left(limits::kSiteName);
    return true;
}
