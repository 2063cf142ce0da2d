// Helpers that every dialog of the program shares: control names, the OK and
// Cancel buttons, keystroke validators over Qt-free rules, stored texts shown
// unchecked, and document records attached to list lines.
#pragma once

#include <QDialog>
#include <QString>
#include <QValidator>
#include <QVariant>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QDialogButtonBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

// A string-table entry as the user sees it.
QString StringText(int id);

// A text of the program's own (a message of the core, in UTF-8) as the user
// sees it.
QString ProgramText(std::string_view utf8);

// A document text (one byte a character, Windows-1252) as the user sees it.
QString ShownText(std::string_view documentText);
// What the user sees as a document text. The edits refuse a character that
// the document cannot hold when it is typed; one that reaches here all the
// same becomes '?'.
std::string StoredText(const QString& text);

// Names a control (tests and screenshots find controls by name).
template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// OK and Cancel (or OK alone), wired to the dialog's accept and reject.
QDialogButtonBox* OkCancelButtons(QDialog* dialog, bool withCancel = true);

// Wraps a keystroke rule: the rule returns the text to show, or nothing to
// refuse the keystroke; `caretAtEnd` tells whether formatting is allowed.
// The rule sees the document text; a character that the document cannot
// hold is refused before it.
// As with the platform's validators, only typing is checked: a keystroke
// that only deletes (backspace, delete, cutting a selection) passes as it is.
class TRuleValidator : public QValidator {
    Q_OBJECT
  public:
    using Rule = std::function<std::optional<std::string>(std::string_view text, bool caretAtEnd)>;
    // Attached to `edit`, whose text it follows to tell deletions apart.
    TRuleValidator(QLineEdit* edit, Rule rule);
    State validate(QString& input, int& position) const override;

  private:
    Rule rule_;
    QString shown_; // the edit's text before the keystroke
};

// A line edit of at most `maxLength` characters whose typing `rule` checks.
QLineEdit* RuleEdit(QWidget* parent, const char* name, int maxLength, TRuleValidator::Rule rule);
// A line edit of free document text: any character the document can hold.
QLineEdit* TextEdit(QWidget* parent, const char* name, int maxLength);
// Makes an existing edit (a combo box's) refuse what the document cannot hold.
void AcceptDocumentText(QLineEdit* edit);

// Shows a stored value as it is: a validator would reformat it.
void SetTextUnchecked(QLineEdit& edit, const QString& text);

// The order of a sorted list of names (the RF sites): alphabetical
// regardless of letter case, in the user's language; equal names keep the
// order in which they came.
bool NameBefore(const QString& first, const QString& second);

// Puts a line into a list kept in NameBefore order, after the lines of the
// same name.
void InsertSorted(QListWidget& list, QListWidgetItem* line);

// A document record attached to a list line, and back.
template <typename T> QVariant RecordData(T* record) {
    return QVariant::fromValue(reinterpret_cast<quintptr>(record));
}
template <typename T> T* RecordFrom(const QVariant& data) {
    return reinterpret_cast<T*>(data.value<quintptr>());
}
