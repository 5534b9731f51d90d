#include "docs/writers/ReportPages.h"

#include "docs/writers/ReportWriter.h"
#include "docs/writers/RtfDocument.h"
#include "docs/writers/TitleBlock.h"

#include <QBuffer>
#include <QHash>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

#include <algorithm>
#include <array>
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
// word only where the word alone is wider than the cell. A long text is laid
// out a window of characters at a time, the last line of each window laid
// out again at the start of the next: breaking a line looks no further than
// the line, so the lines are those of one layout, and the time stays linear
// in the text however long its words are.
class TextBlock
{
public:
    TextBlock(const QString &text, const QFont &font, double width, Qt::Alignment alignment, QPaintDevice *device)
    {
        // A few lines' worth of characters: laying out a line inside a long
        // word looks over the rest of the window, so it stays short.
        const double perLine = width / std::max(1.0, QFontMetricsF(font, device).averageCharWidth());
        const qsizetype Window = qsizetype(std::clamp(8 * perLine, 256.0, 4096.0));
        QTextOption option(alignment);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        double y = 0;
        qsizetype start = 0;
        do {
            qsizetype length = std::min(Window, text.size() - start);
            // A window never ends between the halves of a surrogate pair.
            if (start + length < text.size() && length > 1 && text.at(start + length - 1).isHighSurrogate())
                --length;
            const bool last = start + length >= text.size();
            Chunk chunk;
            chunk.layout = std::make_unique<QTextLayout>(text.mid(start, length), font, device);
            chunk.layout->setTextOption(option);
            chunk.layout->beginLayout();
            chunk.top = y;
            double chunkY = 0;
            for (QTextLine line = chunk.layout->createLine(); line.isValid(); line = chunk.layout->createLine()) {
                line.setLineWidth(width);
                line.setPosition(QPointF(0, chunkY));
                chunkY += line.height();
            }
            chunk.layout->endLayout();
            chunk.lines = chunk.layout->lineCount();
            qsizetype next = start + length;
            // The window's last line may go on past it: it starts the next window.
            if (!last && chunk.lines > 1) {
                --chunk.lines;
                next = start + chunk.layout->lineAt(chunk.lines).textStart();
            }
            for (int i = 0; i < chunk.lines; ++i) {
                const QTextLine line = chunk.layout->lineAt(i);
                m_bottoms.push_back(y + line.y() + line.height());
                m_lines.push_back({int(m_chunks.size()), i});
            }
            if (chunk.lines > 0) {
                const QTextLine lastLine = chunk.layout->lineAt(chunk.lines - 1);
                y += lastLine.y() + lastLine.height();
            }
            m_chunks.push_back(std::move(chunk));
            start = std::max(next, start + 1);
        } while (start < text.size());
        // An empty text still takes one line, as an empty cell of the document does.
        m_height = y > 0 ? y : QFontMetricsF(font, device).height();
    }
    double height() const { return m_height; }
    // The bottom of each line, top down.
    const std::vector<double> &lineBottoms() const { return m_bottoms; }
    // Draws the lines that lie within [from, to) of the block, the block's top at `at`.
    void draw(QPainter &painter, const QPointF &at, double from = 0, double to = 1e300) const
    {
        // Only the lines of the part: a row over many pages draws each line once.
        auto first = std::upper_bound(m_bottoms.begin(), m_bottoms.end(), from);
        for (size_t k = size_t(first - m_bottoms.begin()); k < m_lines.size(); ++k) {
            const Chunk &chunk = m_chunks[size_t(m_lines[k].chunk)];
            const QTextLine line = chunk.layout->lineAt(m_lines[k].index);
            if (chunk.top + line.y() >= to)
                break;
            line.draw(&painter, at + QPointF(0, chunk.top));
        }
    }

private:
    struct Chunk {
        std::unique_ptr<QTextLayout> layout;
        int lines = 0; // the lines of the layout that belong to the block
        double top = 0;
    };
    struct LineRef {
        int chunk = 0;
        int index = 0;
    };
    std::vector<Chunk> m_chunks;
    std::vector<LineRef> m_lines;
    std::vector<double> m_bottoms;
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
    // A row taller than a page goes over several: the part [from, to) of it.
    double from = 0;
    double to = -1;
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
        // The cells' fonts made once for the device: every text laid out in
        // them shares what the font has found for its glyphs.
        for (int k = 0; k < 4; ++k)
            m_cellFonts[k] = QFont(documentFont(m_tableSize, k & 1, k & 2), &m_device);
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
            // Of a row taller than a page, its first line.
            const double lineRoom = 2 * m_padTop + 2 * lineHeight(documentFont(m_tableSize, true));
            if (hasTable && !table.rows.isEmpty())
                keep += std::min(height(ItemKind::BodyRow, s, 0), lineRoom);
            else if (hasTable && !table.totals.isEmpty())
                keep += std::min(height(ItemKind::TotalsRow, s, 0), lineRoom);
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
        // No page is this many characters wide: a longer word or text breaks
        // anyway, and measuring only its start keeps the widths in range.
        constexpr qsizetype Measured = 2000;
        const auto longestWord = [](const QFontMetricsF &fm, const QString &text) {
            double longest = 0;
            for (const QStringView word : QStringView(text).split(QLatin1Char(' '), Qt::SkipEmptyParts))
                longest = std::max(longest, fm.horizontalAdvance(word.left(Measured).toString()));
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
                    n.wanted[c] = std::max(n.wanted[c],
                                           std::max(word, std::min(fm.horizontalAdvance(row.at(c).left(Measured)), wrapAt)));
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
        const double wrapAt = 12 * ReportWriter::kHeadingSize * m_dpi / 72.0;
        for (int s = 0; s < needs.size(); ++s) {
            const ColumnNeeds &n = needs.at(s);
            const ReportTable &table = m_doc.sections.at(s).table;
            // A word longer than a column would like to be breaks at any size.
            double words = 0;
            for (int c = 0; c < n.least.size(); ++c)
                words += table.isWhole(c) ? n.least.at(c) : std::min(n.least.at(c), wrapAt);
            const double room = m_width - cellPad * n.least.size();
            while (m_tableSize > ReportWriter::kSmallestTableSize
                   && words * m_tableSize / ReportWriter::kHeadingSize > room)
                --m_tableSize;
        }
        const double scale = double(m_tableSize) / ReportWriter::kHeadingSize;
        for (int s = 0; s < needs.size(); ++s) {
            const ColumnNeeds &n = needs.at(s);
            QVector<double> least(n.least.size()), wanted(n.least.size());
            QVector<bool> whole(n.least.size());
            for (qsizetype c = 0; c < least.size(); ++c) {
                least[c] = n.least.at(c) * scale + cellPad;
                wanted[c] = n.wanted.at(c) * scale + cellPad;
                whole[c] = m_doc.sections.at(s).table.isWhole(int(c));
            }
            QVector<double> edges{0};
            double x = 0;
            for (const double w : shareColumnWidths(least, wanted, whole, m_width))
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
        int font = 0; // see cellFont()
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
                cells << CellText{h.text, fontIndex(h.bold, h.italic), Qt::AlignLeft};
                continue;
            }
            const QStringList &texts = kind == ItemKind::BodyRow ? table.rows.at(row) : table.totals.at(row);
            const bool failing = kind == ItemKind::BodyRow && table.isFailing(row, c);
            cells << CellText{c < texts.size() ? texts.at(c) : QString(),
                              fontIndex(kind == ItemKind::TotalsRow || failing, false),
                              table.isNumberColumn(c) ? Qt::AlignRight : Qt::AlignLeft, failing};
        }
        return cells;
    }

    static int fontIndex(bool bold, bool italic) { return (bold ? 1 : 0) + (italic ? 2 : 0); }

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
        // Pagination asks for a row's height more than once; a long row is laid out once for it.
        const quint64 key = (quint64(kind) << 56) | ((quint64(quint32(section)) & 0xFFFFFFF) << 28)
                            | (quint64(quint32(row)) & 0xFFFFFFF);
        if (const auto it = m_heights.constFind(key); it != m_heights.constEnd())
            return *it;
        double h = 0;
        if (!isRow(kind)) {
            h = TextBlock(itemText(kind, section), lineFont(kind), m_width, Qt::AlignLeft, &m_device).height();
        } else {
            double tallest = 0;
            for (const auto &block : rowBlocks(kind, section, row))
                tallest = std::max(tallest, block->height());
            h = tallest + 2 * m_padTop;
        }
        m_heights.insert(key, h);
        return h;
    }

    // Where a row taller than a page may be cut: below each line of its
    // tallest cell, in the row's own coordinates.
    std::vector<double> rowCuts(ItemKind kind, int section, int row)
    {
        std::vector<double> cuts;
        double tallest = -1;
        for (const auto &block : rowBlocks(kind, section, row)) {
            if (block->height() > tallest) {
                tallest = block->height();
                cuts = block->lineBottoms();
            }
        }
        for (double &cut : cuts)
            cut += m_padTop;
        return cuts;
    }

    using Blocks = std::vector<std::unique_ptr<TextBlock>>;
    // The laid-out cells of a row. The last row taller than a page is kept:
    // pagination and painting ask for it again and again.
    const Blocks &rowBlocks(ItemKind kind, int section, int row)
    {
        const std::array<int, 3> key{int(kind), section, row};
        if (m_tallOf == key)
            return m_tall;
        const QVector<CellText> cells = rowCells(kind, section, row);
        m_laid.clear();
        double tallest = 0;
        for (int c = 0; c < cells.size(); ++c) {
            m_laid.push_back(std::make_unique<TextBlock>(cells.at(c).text, m_cellFonts[cells.at(c).font], cellWidth(section, c),
                                                         cells.at(c).alignment, &m_device));
            tallest = std::max(tallest, m_laid.back()->height());
        }
        if (tallest + 2 * m_padTop > room()) {
            m_tall = std::move(m_laid);
            m_laid.clear();
            m_tallOf = key;
            return m_tall;
        }
        return m_laid;
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
        // one that fits on no page is cut between its lines and goes on over
        // the pages that follow.
        const double h = height(kind, section, row);
        // The rows of a fresh page begin under the running head and the heading row.
        const double freshTop = height(ItemKind::RunningHead, -1, -1)
                                + lineHeight(documentFont(kRunningHeadSize, false)) * 0.5
                                + height(ItemKind::HeadingRow, section, -1);
        const bool fitsAPage = h <= room() - freshTop;
        // A row taller than any page starts where it stands if a line of it fits there.
        double needed = h;
        if (!fitsAPage) {
            const std::vector<double> cuts = rowCuts(kind, section, row);
            needed = cuts.empty() ? h : cuts.front() + m_padTop;
        }
        if (m_y + needed > room() && m_y > m_freshPageY)
            newPage(section);
        if (m_y + h <= room()) {
            m_pages.last() << PageItem{kind, section, row, m_y};
            m_y += h;
            return;
        }
        const std::vector<double> cuts = rowCuts(kind, section, row);
        double from = 0;
        auto next = cuts.begin();
        while (h - from > room() - m_y) {
            const double limit = from + room() - m_y;
            // The last line that ends on this page; a line taller than a page is cut where the page ends.
            auto fits = std::upper_bound(next, cuts.end(), limit);
            double to = fits != next ? *std::prev(fits) : limit;
            if (!(to > from))
                to = limit;
            next = fits;
            m_pages.last() << PageItem{kind, section, row, m_y, from, to};
            from = to;
            newPage(section);
        }
        m_pages.last() << PageItem{kind, section, row, m_y, from, h};
        m_y += h - from;
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
        const double h = item.to >= 0 ? item.to - item.from : height(item.kind, item.section, item.row);
        const double to = item.to >= 0 ? item.to : h;
        // A part of a row draws the lines of its part, its top at the page's place.
        painter.save();
        if (item.to >= 0)
            painter.setClipRect(QRectF(0, item.y, m_width, h));
        const Blocks &blocks = rowBlocks(item.kind, item.section, item.row);
        for (int c = 0; c < cells.size(); ++c) {
            painter.setPen(cells.at(c).failing ? kFailingColour : QColor(Qt::black));
            blocks[size_t(c)]->draw(painter, QPointF(edges.at(c) + m_pad, item.y + m_padTop - item.from),
                                    item.from - m_padTop, to - m_padTop);
        }
        painter.restore();
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
    QFont m_cellFonts[4]; // regular, bold, italic, bold italic
    double m_pad = 0;
    double m_padTop = 0;
    double m_rule = 1;
    QVector<QVector<double>> m_edges; // per section: the left edge of each column and the right edge
    QVector<QVector<PageItem>> m_pages;
    QHash<quint64, double> m_heights;
    std::array<int, 3> m_tallOf{-1, -1, -1}; // the row whose layout m_tall holds
    Blocks m_tall;
    Blocks m_laid;
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
