#include "dialogs/dialoghelpers.h"

#include "document/windows1252.h"
#include "resources/stringtable.h"

#include <QCollator>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>

#include <algorithm>

QString StringText(int id) {
    return ShownText(LoadMessage(id));
}

QString ProgramText(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString ShownText(std::string_view documentText) {
    return ProgramText(DocumentTextToUtf8(documentText));
}

std::string StoredText(const QString& text) {
    std::string stored;
    stored.reserve(static_cast<std::size_t>(text.size()));
    for (const char32_t c : text.toUcs4())
        stored += static_cast<char>(CodePointToWindows1252(c).value_or('?'));
    return stored;
}

QDialogButtonBox* OkCancelButtons(QDialog* dialog, bool withCancel) {
    auto* buttons = new QDialogButtonBox(
        withCancel ? QDialogButtonBox::Ok | QDialogButtonBox::Cancel : QDialogButtonBox::Ok,
        dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

namespace {

// True when `after` is `before` with one stretch of characters removed.
bool OnlyDeletes(const QString& before, const QString& after) {
    if (after.size() >= before.size())
        return false;
    const qsizetype limit = after.size();
    qsizetype prefix = 0;
    while (prefix < limit && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < limit - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    return prefix + suffix == limit;
}

} // namespace

TRuleValidator::TRuleValidator(QLineEdit* edit, Rule rule)
    : QValidator(edit), rule_(std::move(rule)), shown_(edit->text()) {
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { shown_ = text; });
}

QValidator::State TRuleValidator::validate(QString& input, int& position) const {
    if (OnlyDeletes(shown_, input))
        return Acceptable;
    const bool atEnd = position == input.size();
    const QByteArray utf8 = input.toUtf8();
    const auto text = Utf8ToDocumentText(std::string_view(utf8.constData(), utf8.size()));
    if (!text)
        return Invalid;
    const auto result = rule_(*text, atEnd);
    if (!result)
        return Invalid;
    input = ShownText(*result);
    if (atEnd)
        position = static_cast<int>(input.size());
    return Acceptable;
}

QLineEdit* RuleEdit(QWidget* parent, const char* name, int maxLength, TRuleValidator::Rule rule) {
    auto* edit = Named(new QLineEdit(parent), name);
    edit->setMaxLength(maxLength);
    edit->setValidator(new TRuleValidator(edit, std::move(rule)));
    return edit;
}

QLineEdit* TextEdit(QWidget* parent, const char* name, int maxLength) {
    auto* edit = Named(new QLineEdit(parent), name);
    edit->setMaxLength(maxLength);
    AcceptDocumentText(edit);
    return edit;
}

void AcceptDocumentText(QLineEdit* edit) {
    edit->setValidator(new TRuleValidator(
        edit, [](std::string_view text, bool) { return std::optional<std::string>(text); }));
}

bool NameBefore(const QString& first, const QString& second) {
    static const QCollator collator = [] {
        QCollator made;
        made.setCaseSensitivity(Qt::CaseInsensitive);
        return made;
    }();
    // Folded first, so that letter case never decides whatever the
    // collation the system offers.
    return collator.compare(first.toCaseFolded(), second.toCaseFolded()) < 0;
}

void InsertSorted(QListWidget& list, QListWidgetItem* line) {
    int row = list.count();
    while (row > 0 && NameBefore(line->text(), list.item(row - 1)->text()))
        --row;
    list.insertItem(row, line);
}

void SetTextUnchecked(QLineEdit& edit, const QString& text) {
    const QValidator* validator = edit.validator();
    edit.setValidator(nullptr);
    edit.setText(text);
    edit.setValidator(validator);
}
