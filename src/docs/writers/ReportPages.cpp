#include "docs/writers/ReportPages.h"

#include "docs/writers/ReportWriter.h"
#include "docs/writers/RtfDocument.h"
#include "docs/writers/TitleBlock.h"

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
const QColor kFailingColour(0xc6, 0x28, 0x28);

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
enum class ItemKind {
    NameLine,
    TitleLine,
    DateLine,
    EmptyLine,
    RunningHead,
    Caption,
    ContinuedCaption,
    HeadingRow,
    BodyRow,
    TotalsRow
};

struct PageItem {
    ItemKind kind;
    int section = -1;
    int row = -1;
    double y = 0;
};

class Layout
{
public:
    // The device's page is the whole sheet: the frame 20 mm from its left
    // edge and 5 mm from the others, the text 5 mm inside the frame, the
    // title block in the frame's bottom right corner.
    Layout(const ReportDocument &document, QPagedPaintDevice &device) : m_doc(document), m_device(device)
    {
        m_dpi = device.logicalDpiY();
        m_sheetWidth = device.width();
        m_sheetHeight = device.height();
        m_frame = QRectF(mm(20), mm(5), m_sheetWidth - mm(25), m_sheetHeight - mm(10));
        m_pageNumberHeight = lineHeight(documentFont(kPageNumberSize, false));
        m_left = m_frame.left() + mm(5);
        m_top = m_frame.top() + mm(3) + m_pageNumberHeight * 1.5;
        m_width = m_frame.width() - mm(10);
        m_pad = twips(RtfDocument::kCellGap);
        m_padTop = twips(kCellPadTopTwips);
        m_rule = std::max(1.0, twips(kRuleTwips));
        m_firstBlock = TitleBlock::grid(TitleBlock::Form::FirstSheet, m_doc.properties, m_doc.title);
        m_followingBlock = TitleBlock::grid(TitleBlock::Form::FollowingSheet, m_doc.properties, m_doc.title);
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
            painter.save();
            painter.translate(m_left, m_top);
            for (const PageItem &item : m_pages.at(p))
                paintItem(painter, item);
            painter.restore();
            paintSheet(painter, p, pages);
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
        const auto take = [&](const QVector<QStringList> &rows, bool totals) {
            for (int r = 0; r < rows.size(); ++r) {
                const QStringList &row = rows.at(r);
                for (int c = 0; c < columns && c < row.size(); ++c) {
                    // Totals and failing cells are set in bold.
                    const QFontMetricsF &fm = totals || table.isFailing(r, c) ? bold : regular;
                    const double word = longestWord(fm, row.at(c));
                    n.least[c] = std::max(n.least[c], word);
                    n.wanted[c] = std::max(n.wanted[c], std::max(word, std::min(fm.horizontalAdvance(row.at(c)), wrapAt)));
                }
            }
        };
        take(table.rows, false);
        take(table.totals, true);
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
    double mm(double value) const { return value * m_dpi / 25.4; }
    const TitleBlock::Grid &block(int page) const { return page == 0 ? m_firstBlock : m_followingBlock; }
    // The height the rows of the page being filled may take: down to 5 mm
    // above its title block.
    double room() const
    {
        const int page = int(m_pages.size()) - 1;
        return m_frame.bottom() - mm(block(page).height() + 5) - m_top;
    }

    // What every sheet carries around the text: the frame, "Лист N из M" in
    // its top right corner and the title block of its form.
    void paintSheet(QPainter &painter, int page, int pages)
    {
        painter.save();
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::black, mm(0.5)));
        painter.drawRect(m_frame);
        TextBlock number(pageNumberText(page + 1, pages), documentFont(kPageNumberSize, false), m_width,
                         Qt::AlignRight, &m_device);
        painter.setPen(Qt::black);
        number.draw(painter, QPointF(m_left, m_frame.top() + mm(3)));
        const TitleBlock::Grid &grid = block(page);
        const QRectF area(m_frame.right() - mm(grid.width()), m_frame.bottom() - mm(grid.height()), mm(grid.width()),
                          mm(grid.height()));
        TitleBlock::draw(painter, grid, area, page + 1, pages);
        painter.restore();
    }
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
        case ItemKind::ContinuedCaption:
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
        bool failing = false;
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
            const bool failing = kind == ItemKind::BodyRow && table.isFailing(row, c);
            cells << CellText{c < texts.size() ? texts.at(c) : QString(),
                              documentFont(m_tableSize, kind == ItemKind::TotalsRow || failing),
                              table.isNumberColumn(c) ? Qt::AlignRight : Qt::AlignLeft, failing};
        }
        return cells;
    }

    double cellWidth(int section, int column) const
    {
        const QVector<double> &e = m_edges.at(section);
        return std::max(1.0, e.at(column + 1) - e.at(column) - 2 * m_pad);
    }

    QString itemText(ItemKind kind, int section) const
    {
        if (kind == ItemKind::Caption)
            return m_doc.sections.at(section).caption;
        if (kind == ItemKind::ContinuedCaption)
            return m_doc.sections.at(section).continuedCaption();
        return lineText(kind);
    }

    double height(ItemKind kind, int section, int row)
    {
        if (!isRow(kind))
            return TextBlock(itemText(kind, section), lineFont(kind), m_width, Qt::AlignLeft, &m_device).height();
        double tallest = 0;
        const QVector<CellText> cells = rowCells(kind, section, row);
        for (int c = 0; c < cells.size(); ++c)
            tallest = std::max(tallest, TextBlock(cells.at(c).text, cells.at(c).font, cellWidth(section, c),
                                                  cells.at(c).alignment, &m_device)
                                            .height());
        return tallest + 2 * m_padTop;
    }

    // A page that goes on with a table names it again ("ЩС-1 (продолжение)")
    // above its heading row.
    void newPage(int continuedSection)
    {
        m_pages.append(QVector<PageItem>());
        m_y = 0;
        place(ItemKind::RunningHead, -1, -1);
        m_y += lineHeight(documentFont(kRunningHeadSize, false)) * 0.5;
        if (continuedSection >= 0) {
            if (!m_doc.sections.at(continuedSection).caption.isEmpty())
                place(ItemKind::ContinuedCaption, continuedSection, -1);
            place(ItemKind::HeadingRow, continuedSection, -1);
        }
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
            TextBlock(itemText(item.kind, item.section), lineFont(item.kind), m_width, Qt::AlignLeft, &m_device)
                .draw(painter, QPointF(0, item.y));
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
        for (int c = 0; c < cells.size(); ++c) {
            painter.setPen(cells.at(c).failing ? kFailingColour : QColor(Qt::black));
            blocks[size_t(c)]->draw(painter, QPointF(edges.at(c) + m_pad, item.y + m_padTop));
        }
        painter.setPen(QPen(Qt::black, m_rule));
        painter.setBrush(Qt::NoBrush);
        for (int c = 0; c < cells.size(); ++c)
            painter.drawRect(QRectF(edges.at(c), item.y, edges.at(c + 1) - edges.at(c), h));
    }

    const ReportDocument &m_doc;
    QPagedPaintDevice &m_device;
    double m_dpi = 96;
    double m_sheetWidth = 0;
    double m_sheetHeight = 0;
    QRectF m_frame;
    double m_pageNumberHeight = 0;
    double m_left = 0; // where the text of a page begins
    double m_top = 0;
    double m_width = 0; // of the text
    TitleBlock::Grid m_firstBlock;
    TitleBlock::Grid m_followingBlock;
    int m_tableSize = ReportWriter::kHeadingSize;
    double m_pad = 0;
    double m_padTop = 0;
    double m_rule = 1;
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
        // The whole sheet: the pages draw their frame and margins themselves.
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0),
                                         QPageLayout::Millimeter));
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
