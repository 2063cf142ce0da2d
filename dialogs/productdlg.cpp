#include "dialogs/productdlg.h"

#include "dialogs/dialoghelpers.h"
#include "dialogs/listfill.h"
#include "dialogs/rules.h"
#include "dialogs/uiservices.h"
#include "document/limits.h"
#include "document/records.h"
#include "radiolink/modeltable.h"
#include "radiolink/tarvodll.h"
#include "resources/stringtable.h"

#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QComboBox* EditableSortedCombo(QWidget* parent, const char* name) {
    auto* combo = Named(new QComboBox(parent), name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->lineEdit()->setMaxLength(static_cast<int>(limits::kProductText));
    AcceptDocumentText(combo->lineEdit());
    // The text stays as typed: "mobile" is not the product type "Mobile",
    // neither while typing nor when Return picks a line.
    combo->completer()->setCaseSensitivity(Qt::CaseSensitive);
    // Room for the longest text the field takes, in its widest letters.
    combo->setMinimumWidth(
        combo->fontMetrics().horizontalAdvance(QString(limits::kProductText, QLatin1Char('W'))) +
        combo->style()->pixelMetric(QStyle::PM_ScrollBarExtent) * 2);
    return combo;
}

} // namespace

TProductDlg::TProductDlg(QWidget* parent, TBoardData& document)
    : TCenterDlg(parent), document_(document) {
    setWindowTitle(tr("Product Information"));
    product_ = EditableSortedCombo(this, "productType");
    model_ = EditableSortedCombo(this, "modelNumber");
    auto* form = new QFormLayout;
    form->addRow(tr("Product Type:"), product_);
    form->addRow(tr("Model Number:"), model_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancelButtons(this));
    // The whole title shows.
    setMinimumWidth(MessageWidth(windowTitle(), fontMetrics()));
}

void TProductDlg::SetupWindow() {
    FillFromStrings(*product_, strings::kProductTypes, true);
    FillFromStrings(*model_, strings::kDefaultModel, true);
    const ProductTexts shown =
        ProductDisplay(document_.Product.ProductName.View(), document_.Product.ModelNumber.View());
    product_->setEditText(ShownText(shown.Product));
    model_->setEditText(ShownText(shown.Model));
}

bool TProductDlg::CanClose() {
    const std::string product = StoredText(product_->currentText().left(127));
    const std::string model = StoredText(model_->currentText().left(127));
    const ProductChoice choice = ProductFromTexts(product, model);
    if (choice.NeedsCheck &&
        TarvoDllInit(choice.ProductName.c_str(), choice.ModelNumber.c_str(), limits::kPacketSize,
                     limits::kPacketSize) != tarvo::lookup::Known) {
        Warn(this, StringText(strings::kInvalidProduct), StringText(strings::kProductConfigError));
        return false;
    }
    document_.Product.ProductName.Set(choice.ProductName);
    document_.Product.ModelNumber.Set(choice.ModelNumber);
    return true;
}
