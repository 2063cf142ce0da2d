#include "report/reportwriter.h"

#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QTextDocument>

namespace {

void Layout(QTextDocument& document, const std::string& html) {
    document.setDefaultStyleSheet(
        QStringLiteral("h1 { font-size: 16pt; } h2 { font-size: 13pt; margin-top: 12px; } "
                       "h3 { font-size: 11pt; } th { background-color: #e0e0e0; }"));
    document.setHtml(QString::fromUtf8(html.data(), static_cast<qsizetype>(html.size())));
}

} // namespace

bool WriteReportPdf(const std::string& html, const QString& path, QString* error) {
    // QSaveFile writes beside the target and replaces it only when complete.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error != nullptr)
            *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setTitle(QStringLiteral("Configuration sheet"));
        writer.setCreator(QStringLiteral("Quarvelin II PRO-ZEL"));
        QTextDocument document;
        Layout(document, html);
        document.print(&writer);
    }
    if (!file.commit()) {
        if (error != nullptr)
            *error = file.errorString();
        return false;
    }
    return true;
}

void PrintReport(const std::string& html, QPrinter& printer) {
    QTextDocument document;
    Layout(document, html);
    document.print(&printer);
}
