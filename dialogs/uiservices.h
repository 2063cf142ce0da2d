// Everything the program shows the user outside its own dialogs goes
// through this interface: message boxes, the beep, file dialogs and running
// a modal dialog. Widget tests install a scripted fake.
#pragma once

#include <QString>

#include <functional>

class QDialog;
class QFontMetrics;
class QPrinter;
class QWidget;

class IUiServices {
  public:
    enum class Icon { None, Exclamation, Question };
    enum class Buttons { Ok, YesNoCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~IUiServices() = default;
    // A box without a caption bears the program title; `detail` (the
    // technical reason behind the text) shows on request.
    virtual Answer Message(QWidget* owner, const QString& text, const QString& caption, Icon icon,
                           Buttons buttons = Buttons::Ok, const QString& detail = {}) = 0;
    virtual void Beep() = 0;
    // An empty result means the user cancelled.
    virtual QString OpenFileName(QWidget* owner, const QString& current) = 0;
    virtual QString SaveFileName(QWidget* owner, const QString& current) = 0;
    // The name of a PDF file to export to.
    virtual QString ExportFileName(QWidget* owner, const QString& current) = 0;
    // An option-board image file to write to the board (a backup).
    virtual QString ImageFileName(QWidget* owner) = 0;
    // A CSV file of sites and channels to read, or with `save` to write.
    virtual QString CsvFileName(QWidget* owner, const QString& current, bool save) = 0;
    // Lets the user choose a printer, then prints on it with `print`; false
    // when the user cancelled.
    virtual bool Print(QWidget* owner, const std::function<void(QPrinter&)>& print) = 0;
    // Runs a modal dialog; returns QDialog::Accepted or QDialog::Rejected.
    virtual int Exec(QDialog& dialog) = 0;
};

// The program's services; the application installs them at start.
IUiServices& Ui();
void SetUiServices(IUiServices* services);

inline const QString kProgramTitle = QStringLiteral("Quarvelin II PRO-ZEL");

// A warning box (exclamation icon, OK) owned by `owner`.
inline void Warn(QWidget* owner, const QString& text, const QString& caption = kProgramTitle,
                 const QString& detail = {}) {
    Ui().Message(owner, text, caption, IUiServices::Icon::Exclamation, IUiServices::Buttons::Ok,
                 detail);
}

// The least width of a message box whose caption is `title`: the whole
// title shows.
int MessageWidth(const QString& title, const QFontMetrics& metrics);

// The real services, on Qt's message boxes and file dialogs.
class QtUiServices final : public IUiServices {
  public:
    Answer Message(QWidget* owner, const QString& text, const QString& caption, Icon icon,
                   Buttons buttons, const QString& detail) override;
    void Beep() override;
    QString OpenFileName(QWidget* owner, const QString& current) override;
    QString SaveFileName(QWidget* owner, const QString& current) override;
    QString ExportFileName(QWidget* owner, const QString& current) override;
    QString ImageFileName(QWidget* owner) override;
    QString CsvFileName(QWidget* owner, const QString& current, bool save) override;
    bool Print(QWidget* owner, const std::function<void(QPrinter&)>& print) override;
    int Exec(QDialog& dialog) override;
};
