#include "report/reportwriter.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <cmath>
#include <vector>

namespace {

void Layout(QTextDocument& document, const std::string& html) {
    document.setDefaultStyleSheet(
        QStringLiteral("h1 { font-size: 16pt; } h2 { font-size: 13pt; margin-top: 12px; } "
                       "h3 { font-size: 11pt; } th { background-color: #e0e0e0; } "
                       "th.caption { background-color: #c8c8c8; font-size: 11pt; }"));
    document.setHtml(QString::fromUtf8(html.data(), static_cast<qsizetype>(html.size())));
}

// What must not end a page: a heading, or the heading rows of a table,
// each with the bottom of the first thing that has to stand on its page.
struct KeepWithNext {
    qreal Top = 0;
    qreal FollowerBottom = 0;
    QTextBlock Heading;          // a heading block, or
    QTextTable* Table = nullptr; // a table whose heading rows must not stand alone
};

qreal BlockBottom(QAbstractTextDocumentLayout& layout, const QTextBlock& block) {
    const QRectF rect = layout.blockBoundingRect(block);
    return rect.bottom();
}

// The bottom of the first data row of a table with heading rows.
qreal FirstRowBottom(QAbstractTextDocumentLayout& layout, QTextTable& table) {
    const int row = table.format().headerRowCount();
    if (row >= table.rows())
        return layout.frameBoundingRect(&table).bottom();
    qreal bottom = 0;
    for (int column = 0; column < table.columns(); ++column) {
        const QTextTableCell cell = table.cellAt(row, column);
        for (auto block = cell.firstCursorPosition().block();
             block.isValid() && block.position() <= cell.lastCursorPosition().position();
             block = block.next())
            bottom = std::max(bottom, BlockBottom(layout, block));
    }
    return bottom;
}

// The first thing that does not move before `block` on its page: the next
// block, or the first data row of the table it opens.
std::vector<KeepWithNext> FindKeepTogether(QTextDocument& document) {
    QAbstractTextDocumentLayout& layout = *document.documentLayout();
    std::vector<KeepWithNext> found;
    QTextTable* lastTable = nullptr;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextCursor cursor(block);
        if (auto* table = cursor.currentTable()) {
            if (table != lastTable && table->format().headerRowCount() > 0)
                found.push_back({layout.frameBoundingRect(table).top(),
                                 FirstRowBottom(layout, *table),
                                 {},
                                 table});
            lastTable = table;
            continue;
        }
        if (block.blockFormat().headingLevel() == 0 || !block.next().isValid())
            continue;
        const QTextBlock next = block.next();
        QTextCursor nextCursor(next);
        const qreal follower = nextCursor.currentTable() != nullptr
                                   ? FirstRowBottom(layout, *nextCursor.currentTable())
                                   : BlockBottom(layout, next);
        found.push_back({layout.blockBoundingRect(block).top(), follower, block, nullptr});
    }
    return found;
}

// Moves each heading, and each table's heading rows, that would end a page
// to the next page, one at a time: each move shifts all after it.
void KeepHeadingsWithTheirContent(QTextDocument& document, qreal pageHeight) {
    for (std::size_t index = 0;; ++index) {
        const auto found = FindKeepTogether(document);
        if (index >= found.size())
            return;
        const KeepWithNext& keep = found[index];
        const int page = static_cast<int>(std::floor(keep.Top / pageHeight));
        const int followerPage =
            static_cast<int>(std::floor((keep.FollowerBottom - 1) / pageHeight));
        if (followerPage == page)
            continue;
        if (keep.Table != nullptr) {
            QTextTableFormat format = keep.Table->format();
            if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
                continue;
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            keep.Table->setFormat(format);
        } else {
            QTextBlockFormat format = keep.Heading.blockFormat();
            if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
                continue;
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            QTextCursor(keep.Heading).setBlockFormat(format);
        }
    }
}

// Lays the sheet out on the device's pages with "Page N of M" at the foot
// of each.
void Render(const std::string& html, QPagedPaintDevice& device) {
    QTextDocument document;
    document.documentLayout()->setPaintDevice(&device);
    Layout(document, html);
    // The device measures its printable area in its own pixels.
    const QRectF page(0, 0, device.width(), device.height());
    const QFont footerFont = document.defaultFont();
    const qreal footerHeight = QFontMetricsF(footerFont, &device).height() * 2;
    const qreal bodyHeight = page.height() - footerHeight;
    document.setPageSize(QSizeF(page.width(), bodyHeight));
    KeepHeadingsWithTheirContent(document, bodyHeight);
    const int pages = document.pageCount();
    QPainter painter(&device);
    for (int number = 0; number < pages; ++number) {
        if (number > 0)
            device.newPage();
        painter.save();
        painter.translate(0, -number * bodyHeight);
        document.drawContents(&painter, QRectF(0, number * bodyHeight, page.width(), bodyHeight));
        painter.restore();
        painter.setFont(footerFont);
        painter.drawText(QRectF(0, bodyHeight, page.width(), footerHeight),
                         Qt::AlignHCenter | Qt::AlignBottom,
                         QStringLiteral("Page %1 of %2").arg(number + 1).arg(pages));
    }
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
        Render(html, writer);
    }
    return pdf;
}

void PrintReport(const std::string& html, QPrinter& printer) {
    Render(html, printer);
}
