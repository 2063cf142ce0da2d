#include "dialogs/uiservices.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QSpacerItem>

namespace {

IUiServices* installed = nullptr;

const QString kFilter = QStringLiteral("PRO-ZEL Files (*.ZEL *.zel)");

} // namespace

int MessageWidth(const QString& title, const QFontMetrics& metrics) {
    // Room for the title beside the frame's buttons, so it is never cut.
    return metrics.horizontalAdvance(title) + 160;
}

namespace {} // namespace

IUiServices& Ui() {
    static QtUiServices fallback;
    return installed != nullptr ? *installed : fallback;
}

void SetUiServices(IUiServices* services) {
    installed = services;
}

IUiServices::Answer QtUiServices::Message(QWidget* owner, const QString& text,
                                          const QString& caption, Icon icon, Buttons buttons,
                                          const QString& detail) {
    QMessageBox box(owner);
    const QString title = caption.isEmpty() ? kProgramTitle : caption;
    box.setWindowTitle(title);
    // Texts from the string table separate sentences with a carriage return.
    QString shown = text;
    box.setText(shown.replace(QLatin1Char('\r'), QLatin1Char('\n')));
    box.setDetailedText(detail);
    box.setIcon(icon == Icon::Exclamation ? QMessageBox::Warning
                : icon == Icon::Question  ? QMessageBox::Question
                                          : QMessageBox::NoIcon);
    if (buttons == Buttons::YesNoCancel)
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    else
        box.setStandardButtons(QMessageBox::Ok);
    // A message box sizes itself to its text; a spacer across its grid (laid
    // out anew by the icon and buttons, so added last) keeps it wide enough
    // for the whole caption.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(MessageWidth(title, box.fontMetrics()), 0,
                                      QSizePolicy::Minimum, QSizePolicy::Expanding),
                      grid->rowCount(), 0, 1, grid->columnCount());
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return Answer::Ok;
    }
}

void QtUiServices::Beep() {
    QApplication::beep();
}

QString QtUiServices::OpenFileName(QWidget* owner, const QString& current) {
    QFileDialog dialog(owner, QString(), current, kFilter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString QtUiServices::SaveFileName(QWidget* owner, const QString& current) {
    QFileDialog dialog(owner, QString(), current, kFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Asks before overwriting and adds the extension when none is typed.
    dialog.setDefaultSuffix(QStringLiteral("zel"));
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString QtUiServices::ImageFileName(QWidget* owner) {
    QFileDialog dialog(owner, QString(), QString(),
                       QStringLiteral("Option-board images (*.bin);;All files (*)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString QtUiServices::CsvFileName(QWidget* owner, const QString& current, bool save) {
    QFileDialog dialog(owner, QString(), current,
                       QStringLiteral("CSV files (*.csv);;All files (*)"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save)
        dialog.setDefaultSuffix(QStringLiteral("csv"));
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString QtUiServices::ExportFileName(QWidget* owner, const QString& current) {
    QFileDialog dialog(owner, QString(), current, QStringLiteral("PDF files (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

bool QtUiServices::Print(QWidget* owner, const std::function<void(QPrinter&)>& print) {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, owner);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    print(printer);
    return true;
}

int QtUiServices::Exec(QDialog& dialog) {
    return dialog.exec();
}
