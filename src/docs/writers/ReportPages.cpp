#include "docs/writers/ReportPages.h"

#include "docs/writers/ReportWriter.h"
#include "docs/writers/RtfDocument.h"

#include <QBuffer>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace ReportPages {

namespace {

constexpr int kRunningHeadSize = 10;
constexpr int kPageNumberSize = 10;
constexpr double kCellPadTopTwips = 30;
constexpr double kRuleTwips = 10; // the Word document's 0,5 pt grid

QFont documentFont(int pointSize, bool bold, bool italic = false)
{
    // The Word document's face; where it is missing the system's serif stands in.
    QFont f(QStringLiteral("Times New Roman"));
    f.setStyleHint(QFont::Serif);
    f.setPointSize(pointSize);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

// A text laid out in a given width; lines break between words, and inside a
// word only where the word alone is wider than the cell.
class TextBlock
{
public:
    TextBlock(const QString &text, const QFont &font, double width, Qt::Alignment alignment, QPaintDevice *device)
        : m_layout(text, font, device)
    {
        QTextOption option(alignment);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        m_layout.setTextOption(option);
        m_layout.beginLayout();
        double y = 0;
        for (QTextLine line = m_layout.createLine(); line.isValid(); line = m_layout.createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, y));
            y += line.height();
        }
        m_layout.endLayout();
        // An empty text still takes one line, as an empty cell of the document does.
        m_height = y > 0 ? y : QFontMetricsF(font, device).height();
    }
    double height() const { return m_height; }
    void draw(QPainter &painter, const QPointF &at) const { m_layout.draw(&painter, at); }

private:
    QTextLayout m_layout;
    double m_height = 0;
};

// What one page holds, top down.
enum class ItemKind { NameLine, TitleLine, DateLine, EmptyLine, RunningHead, Caption, HeadingRow, BodyRow, TotalsRow };

struct PageItem {
    ItemKind kind;
    int section = -1;
    int row = -1;
    double y = 0;
};

class Layout
{
public:
    Layout(const ReportDocument &document, QPagedPaintDevice &device) : m_doc(document), m_device(device)
    {
        m_dpi = device.logicalDpiY();
        m_width = device.width();
        m_height = device.height();
        m_pad = twips(RtfDocument::kCellGap);
        m_padTop = twips(kCellPadTopTwips);
        m_rule = std::max(1.0, twips(kRuleTwips));
        m_footer = lineHeight(documentFont(kPageNumberSize, false)) * 1.8;
        layOutColumns();
    }

    void paginate()
    {
        m_pages = {{}};
        m_y = 0;
        place(ItemKind::NameLine, -1, -1);
        place(ItemKind::TitleLine, -1, -1);
        place(ItemKind::DateLine, -1, -1);
        place(ItemKind::EmptyLine, -1, -1);
        for (int s = 0; s < m_doc.sections.size(); ++s) {
            const ReportTable &table = m_doc.sections.at(s).table;
            const bool hasTable = table.columnCount() > 0;
            // A caption and a heading row never stand alone at the foot of a page.
            double keep = hasTable ? height(ItemKind::HeadingRow, s, -1) : 0;
            if (hasTable && !table.rows.isEmpty())
                keep += height(ItemKind::BodyRow, s, 0);
            else if (hasTable && !table.totals.isEmpty())
                keep += height(ItemKind::TotalsRow, s, 0);
            if (!m_doc.sections.at(s).caption.isEmpty()) {
                keep += height(ItemKind::Caption, s, -1);
                if (m_y + keep > room())
                    newPage(-1);
                place(ItemKind::Caption, s, -1);
                keep -= height(ItemKind::Caption, s, -1);
            }
            if (!hasTable)
                continue;
            if (m_y + keep > room())
                newPage(-1);
            place(ItemKind::HeadingRow, s, -1);
            for (int r = 0; r < table.rows.size(); ++r)
                placeRow(ItemKind::BodyRow, s, r);
            for (int r = 0; r < table.totals.size(); ++r)
                placeRow(ItemKind::TotalsRow, s, r);
            // The empty paragraph that follows a table in the Word document.
            m_y += lineHeight(documentFont(m_tableSize, false));
        }
    }

    void paint(QPainter &painter)
    {
        const int pages = int(m_pages.size());
        for (int p = 0; p < pages; ++p) {
            if (p > 0)
                m_device.newPage();
            for (const PageItem &item : m_pages.at(p))
                paintItem(painter, item);
            TextBlock number(pageNumberText(p + 1, pages), documentFont(kPageNumberSize, false), m_width,
                             Qt::AlignRight, &m_device);
            number.draw(painter, QPointF(0, m_height - number.height()));
        }
    }

private:
    // What the texts of a table's columns need at the heading's size, in
    // pixels without padding: the longest word, and the texts up to a wrap width.
    struct ColumnNeeds {
        QVector<double> least;
        QVector<double> wanted;
    };

    ColumnNeeds measure(const ReportTable &table) const
    {
        const int columns = table.columnCount();
        ColumnNeeds n{QVector<double>(columns, 0), QVector<double>(columns, 0)};
        // Longer texts wrap rather than widen their column beyond this.
        const double wrapAt = 12 * ReportWriter::kHeadingSize * m_dpi / 72.0;
        const QFontMetricsF regular(documentFont(ReportWriter::kHeadingSize, false), &m_device);
        const QFontMetricsF bold(documentFont(ReportWriter::kHeadingSize, true), &m_device);
        const auto longestWord = [](const QFontMetricsF &fm, const QString &text) {
            double longest = 0;
            for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
                longest = std::max(longest, fm.horizontalAdvance(word));
            return longest;
        };
        // Headings wrap between their words freely; the other rows say how
        // wide a column would like to be.
        for (int c = 0; c < columns; ++c) {
            const ReportCell &h = table.heading.at(c);
            const QFontMetricsF fm(documentFont(ReportWriter::kHeadingSize, h.bold, h.italic), &m_device);
            n.least[c] = n.wanted[c] = longestWord(fm, h.text);
        }
        const auto take = [&](const QVector<QStringList> &rows, const QFontMetricsF &fm) {
            for (const QStringList &row : rows) {
                for (int c = 0; c < columns && c < row.size(); ++c) {
                    const double word = longestWord(fm, row.at(c));
                    n.least[c] = std::max(n.least[c], word);
                    n.wanted[c] = std::max(n.wanted[c], std::max(word, std::min(fm.horizontalAdvance(row.at(c)), wrapAt)));
                }
            }
        };
        take(table.rows, regular);
        take(table.totals, bold);
        return n;
    }

    // One size for every table: the heading's unless some table's longest
    // words would then have to break; then the column widths of each table.
    void layOutColumns()
    {
        const double cellPad = 2 * m_pad + m_rule;
        QVector<ColumnNeeds> needs;
        for (const ReportSection &section : m_doc.sections)
            needs << measure(section.table);
        m_tableSize = ReportWriter::kHeadingSize;
        for (const ColumnNeeds &n : needs) {
            double words = 0;
            for (const double w : n.least)
                words += w;
            const double room = m_width - cellPad * n.least.size();
            while (m_tableSize > ReportWriter::kSmallestTableSize
                   && words * m_tableSize / ReportWriter::kHeadingSize > room)
                --m_tableSize;
        }
        const double scale = double(m_tableSize) / ReportWriter::kHeadingSize;
        for (const ColumnNeeds &n : needs) {
            QVector<double> least(n.least.size()), wanted(n.least.size());
            for (qsizetype c = 0; c < least.size(); ++c) {
                least[c] = n.least.at(c) * scale + cellPad;
                wanted[c] = n.wanted.at(c) * scale + cellPad;
            }
            QVector<double> edges{0};
            double x = 0;
            for (const double w : shareColumnWidths(least, wanted, m_width))
                edges << (x += w);
            m_edges << edges;
        }
    }

    double twips(double value) const { return value * m_dpi / 1440.0; }
    double room() const { return m_height - m_footer; }
    double lineHeight(const QFont &font) const { return QFontMetricsF(font, &m_device).height(); }

    QString lineText(ItemKind kind) const
    {
        switch (kind) {
        case ItemKind::NameLine:
            return m_doc.projectName;
        case ItemKind::TitleLine:
            return m_doc.title.toUpper();
        case ItemKind::DateLine:
            return m_doc.dateTime;
        case ItemKind::RunningHead:
            return m_doc.projectName + QStringLiteral(". ") + m_doc.title;
        default:
            return QString();
        }
    }

    QFont lineFont(ItemKind kind) const
    {
        switch (kind) {
        case ItemKind::NameLine:
            return documentFont(ReportWriter::kNameSize, false);
        case ItemKind::TitleLine:
        case ItemKind::Caption:
            return documentFont(ReportWriter::kHeadingSize, true);
        case ItemKind::RunningHead:
            return documentFont(kRunningHeadSize, false, true);
        default:
            return documentFont(ReportWriter::kHeadingSize, false);
        }
    }

    bool isRow(ItemKind kind) const
    {
        return kind == ItemKind::HeadingRow || kind == ItemKind::BodyRow || kind == ItemKind::TotalsRow;
    }

    // The texts of a row with the font and alignment of each cell.
    struct CellText {
        QString text;
        QFont font;
        Qt::Alignment alignment;
    };
    QVector<CellText> rowCells(ItemKind kind, int section, int row) const
    {
        const ReportTable &table = m_doc.sections.at(section).table;
        QVector<CellText> cells;
        cells.reserve(table.columnCount());
        for (int c = 0; c < table.columnCount(); ++c) {
            if (kind == ItemKind::HeadingRow) {
                const ReportCell &h = table.heading.at(c);
                cells << CellText{h.text, documentFont(m_tableSize, h.bold, h.italic), Qt::AlignLeft};
                continue;
            }
            const QStringList &texts = kind == ItemKind::BodyRow ? table.rows.at(row) : table.totals.at(row);
            cells << CellText{c < texts.size() ? texts.at(c) : QString(),
                              documentFont(m_tableSize, kind == ItemKind::TotalsRow),
                              table.isNumberColumn(c) ? Qt::AlignRight : Qt::AlignLeft};
        }
        return cells;
    }

    double cellWidth(int section, int column) const
    {
        const QVector<double> &e = m_edges.at(section);
        return std::max(1.0, e.at(column + 1) - e.at(column) - 2 * m_pad);
    }

    double height(ItemKind kind, int section, int row)
    {
        if (!isRow(kind)) {
            const QString text = kind == ItemKind::Caption ? m_doc.sections.at(section).caption : lineText(kind);
            return TextBlock(text, lineFont(kind), m_width, Qt::AlignLeft, &m_device).height();
        }
        double tallest = 0;
        const QVector<CellText> cells = rowCells(kind, section, row);
        for (int c = 0; c < cells.size(); ++c)
            tallest = std::max(tallest, TextBlock(cells.at(c).text, cells.at(c).font, cellWidth(section, c),
                                                  cells.at(c).alignment, &m_device)
                                            .height());
        return tallest + 2 * m_padTop;
    }

    void newPage(int continuedSection)
    {
        m_pages.append(QVector<PageItem>());
        m_y = 0;
        place(ItemKind::RunningHead, -1, -1);
        m_y += lineHeight(documentFont(kRunningHeadSize, false)) * 0.5;
        if (continuedSection >= 0)
            place(ItemKind::HeadingRow, continuedSection, -1);
        m_freshPageY = m_y;
    }

    void place(ItemKind kind, int section, int row)
    {
        m_pages.last() << PageItem{kind, section, row, m_y};
        m_y += height(kind, section, row);
    }

    void placeRow(ItemKind kind, int section, int row)
    {
        // A row that does not fit goes over, under the repeated heading row;
        // one that fits on no page stays on the fresh page it begins.
        const double h = height(kind, section, row);
        if (m_y + h > room() && m_y > m_freshPageY)
            newPage(section);
        m_pages.last() << PageItem{kind, section, row, m_y};
        m_y += h;
    }

    void paintItem(QPainter &painter, const PageItem &item)
    {
        if (!isRow(item.kind)) {
            const QString text = item.kind == ItemKind::Caption ? m_doc.sections.at(item.section).caption
                                                                 : lineText(item.kind);
            TextBlock(text, lineFont(item.kind), m_width, Qt::AlignLeft, &m_device).draw(painter, QPointF(0, item.y));
            return;
        }
        const QVector<double> &edges = m_edges.at(item.section);
        const QVector<CellText> cells = rowCells(item.kind, item.section, item.row);
        double tallest = 0;
        std::vector<std::unique_ptr<TextBlock>> blocks;
        for (int c = 0; c < cells.size(); ++c) {
            blocks.push_back(std::make_unique<TextBlock>(cells.at(c).text, cells.at(c).font, cellWidth(item.section, c),
                                                  cells.at(c).alignment, &m_device));
            tallest = std::max(tallest, blocks.back()->height());
        }
        const double h = tallest + 2 * m_padTop;
        for (int c = 0; c < cells.size(); ++c)
            blocks[size_t(c)]->draw(painter, QPointF(edges.at(c) + m_pad, item.y + m_padTop));
        painter.setPen(QPen(Qt::black, m_rule));
        painter.setBrush(Qt::NoBrush);
        for (int c = 0; c < cells.size(); ++c)
            painter.drawRect(QRectF(edges.at(c), item.y, edges.at(c + 1) - edges.at(c), h));
    }

    const ReportDocument &m_doc;
    QPagedPaintDevice &m_device;
    double m_dpi = 96;
    double m_width = 0;
    double m_height = 0;
    int m_tableSize = ReportWriter::kHeadingSize;
    double m_pad = 0;
    double m_padTop = 0;
    double m_rule = 1;
    double m_footer = 0;
    QVector<QVector<double>> m_edges; // per section: the left edge of each column and the right edge
    QVector<QVector<PageItem>> m_pages;
    double m_y = 0;
    double m_freshPageY = -1; // where the rows of a fresh page begin
};

} // namespace

QString pageNumberText(int page, int pages)
{
    return QStringLiteral("Лист ") + QString::number(page) + QStringLiteral(" из ") + QString::number(pages);
}

bool draw(const ReportDocument &document, QPagedPaintDevice &device)
{
    Layout layout(document, device);
    layout.paginate();
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.setPen(Qt::black);
    layout.paint(painter);
    return painter.end();
}

QByteArray pdf(const ReportDocument &document)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                         QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter));
        writer.setTitle(document.title);
        writer.setCreator(QStringLiteral("Кабинор"));
        if (!draw(document, writer))
            return QByteArray();
    }
    return buffer.data();
}

void install()
{
    ReportWriter::setPdfRenderer(&pdf);
}

} // namespace ReportPages
