#include "report/reportwriter.h"

#include <QBuffer>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QTextDocument>

namespace {

void Layout(QTextDocument& document, const std::string& html) {
    document.setDefaultStyleSheet(
        QStringLiteral("h1 { font-size: 16pt; } h2 { font-size: 13pt; margin-top: 12px; } "
                       "h3 { font-size: 11pt; } th { background-color: #e0e0e0; }"));
    document.setHtml(QString::fromUtf8(html.data(), static_cast<qsizetype>(html.size())));
}

} // namespace

QByteArray ReportPdf(const std::string& html) {
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setTitle(QStringLiteral("Configuration sheet"));
        writer.setCreator(QStringLiteral("Quarvelin II PRO-ZEL"));
        QTextDocument document;
        Layout(document, html);
        document.print(&writer);
    }
    return pdf;
}

void PrintReport(const std::string& html, QPrinter& printer) {
    QTextDocument document;
    Layout(document, html);
    document.print(&printer);
}
