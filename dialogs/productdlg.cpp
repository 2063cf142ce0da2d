#include "productdlg.h"

#include "listfill.h"
#include "records.h"
#include "rules.h"
#include "stringtable.h"
#include "tarvodll.h"
#include "uiservices.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

QComboBox* EditableSortedCombo(QWidget* parent, const char* name) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->lineEdit()->setMaxLength(31);
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
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void TProductDlg::SetupWindow() {
    FillFromStrings(*product_, strings::kProductTypes, true);
    FillFromStrings(*model_, strings::kDefaultModel, true);
    const ProductTexts shown = ProductDisplay(document_.Product.ProductName.View(),
                                              document_.Product.ModelNumber.View());
    product_->setEditText(QString::fromStdString(shown.Product));
    model_->setEditText(QString::fromStdString(shown.Model));
}

bool TProductDlg::CanClose() {
    const std::string product = product_->currentText().left(127).toStdString();
    const std::string model = model_->currentText().left(127).toStdString();
    const ProductChoice choice = ProductFromTexts(product, model);
    if (choice.NeedsCheck &&
        TarvoDllInit(choice.ProductName.c_str(), choice.ModelNumber.c_str(), 16, 16) != 0) {
        Ui().Message(this, QString::fromStdString(LoadMessage(strings::kInvalidProduct)),
                     QString::fromStdString(LoadMessage(strings::kProductConfigError)),
                     IUiServices::Icon::Exclamation);
        return false;
    }
    document_.Product.ProductName.Set(choice.ProductName);
    document_.Product.ModelNumber.Set(choice.ModelNumber);
    return true;
}
