#include "docs/writers/RtfDocument.h"

#include "docs/writers/TitleBlock.h"

#include <QHash>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>

namespace {

// Unicode -> Windows-1251 byte for the upper half of the code page.
const QHash<char16_t, uchar> &cp1251Table()
{
    static const QHash<char16_t, uchar> table = [] {
        QHash<char16_t, uchar> t;
        QStringDecoder decoder("windows-1251");
        if (!decoder.isValid())
            return t; // everything non-ASCII then goes out as \uN
        for (int b = 0x80; b <= 0xFF; ++b) {
            const char byte = char(b);
            const QString s = decoder.decode(QByteArrayView(&byte, 1));
            if (s.size() == 1 && s.at(0) != QChar::ReplacementCharacter)
                t.insert(s.at(0).unicode(), uchar(b));
        }
        return t;
    }();
    return table;
}

void appendHexEscape(QByteArray &out, uchar byte)
{
    static const char digits[] = "0123456789abcdef";
    out += "\\'";
    out += digits[byte >> 4];
    out += digits[byte & 0xF];
}

const char *const kBorder = "\\brdrs\\brdrw10 ";
const char *const kThickBorder = "\\brdrs\\brdrw30 ";
// Colour 1 of the document's table: failing cells.
const char *const kColourTable = "{\\colortbl;\\red198\\green40\\blue40;}";

int twipsOf(double millimetres)
{
    return int(std::lround(millimetres * 1440 / 25.4));
}

// The largest size in half points, from `size` points down to 4, at which a
// text of a serif face fits a cell of the title block by an estimate of its
// width (the word processor sets the text itself).
int fittingHalfPoints(const QString &text, double size, double widthMm, double heightMm)
{
    int half = int(size * 2);
    for (; half > 8; --half) {
        const double points = half / 2.0;
        const double charMm = points * 25.4 / 72 * 0.5;
        const double perLine = std::max(1.0, (widthMm - 1.2) / charMm);
        double lines = 0;
        for (const QString &part : text.split(QLatin1Char('\n')))
            lines += std::max(1.0, std::ceil(part.size() / perLine));
        if (lines * points * 25.4 / 72 * 1.15 <= heightMm - 0.4)
            break;
    }
    return half;
}

// Estimated widths of a text in ems of a serif face: its longest word and the
// whole text. Capitals are wider than small letters, blanks and marks narrower.
struct TextExtent {
    double longestWord = 0;
    double length = 0;
};

double charWidth(QChar c)
{
    if (c.isUpper())
        return 0.72;
    if (c.isLetter())
        return 0.56;
    if (c.isDigit())
        return 0.5;
    return 0.3;
}

TextExtent extentOf(const QString &text, bool bold)
{
    TextExtent e;
    double word = 0;
    for (const QChar c : text) {
        const double w = charWidth(c);
        e.length += w;
        if (c.isSpace()) {
            word = 0;
        } else {
            word += w;
            e.longestWord = std::max(e.longestWord, word);
        }
    }
    if (bold) {
        e.longestWord *= 1.08;
        e.length *= 1.08;
    }
    return e;
}

// Twips a column needs beyond its text: the gaps on both sides and the rules.
constexpr double kCellPad = 2 * RtfDocument::kCellGap + 30;

// Per column, in ems: the longest word, and what the texts would like to have.
struct ColumnNeeds {
    QVector<double> least;
    QVector<double> wanted;
};

ColumnNeeds columnNeeds(const ReportTable &table)
{
    const int columns = table.columnCount();
    // Longer texts wrap rather than widen their column beyond this.
    const double wrapAt = 12;
    ColumnNeeds n{QVector<double>(columns, 0), QVector<double>(columns, 0)};
    // Headings wrap between their words freely; the body texts say how wide
    // a column would like to be.
    for (int c = 0; c < columns; ++c) {
        const TextExtent e = extentOf(table.heading.at(c).text, table.heading.at(c).bold);
        n.least[c] = n.wanted[c] = e.longestWord;
    }
    const auto measure = [&](const QVector<QStringList> &rows, bool bold) {
        for (int r = 0; r < rows.size(); ++r) {
            const QStringList &row = rows.at(r);
            for (int c = 0; c < columns && c < row.size(); ++c) {
                const TextExtent e = extentOf(row.at(c), bold || table.isFailing(r, c));
                n.least[c] = std::max(n.least[c], e.longestWord);
                n.wanted[c] = std::max(n.wanted[c], std::max(e.longestWord, std::min(e.length, wrapAt)));
            }
        }
    };
    measure(table.rows, false);
    measure(table.totals, true);
    return n;
}

} // namespace

RtfDocument::RtfDocument(bool landscape) : m_landscape(landscape) {}

QByteArray RtfDocument::pageNumberFields()
{
    return escape(QStringLiteral("Лист ")) + "{\\field{\\*\\fldinst PAGE }{\\fldrslt 1}}" + escape(QStringLiteral(" из "))
           + "{\\field{\\*\\fldinst NUMPAGES }{\\fldrslt 1}}";
}

void RtfDocument::setTitleBlock(const ProjectProperties &properties, const QString &documentTitle)
{
    m_framed = true;
    const QByteArray number = "\\pard\\plain\\qr\\f0\\fs20 " + pageNumberFields() + "\\par}\r\n";
    m_marginals = "{\\headerf " + number + "{\\header " + number;
    // A paragraph follows a table in a footer; a tiny one, so that the block
    // stands on the frame's bottom line.
    const QByteArray after = "\\pard\\plain\\fs2\\par}\r\n";
    m_marginals += "{\\footerf " + titleBlockTable(properties, documentTitle, true) + after;
    m_marginals += "{\\footer " + titleBlockTable(properties, documentTitle, false) + after;
}

QByteArray RtfDocument::titleBlockTable(const ProjectProperties &properties, const QString &documentTitle,
                                        bool firstSheet) const
{
    using namespace TitleBlock;
    const Grid grid =
        TitleBlock::grid(firstSheet ? Form::FirstSheet : Form::FollowingSheet, properties, documentTitle);
    // The block's right edge on the frame, 5 mm into the right margin.
    const int right = textWidth() + kFrameGap;
    const int left = right - twipsOf(grid.width());
    const int lastRow = int(grid.rows.size()) - 1;
    const int lastColumn = int(grid.columns.size()) - 1;
    QByteArray out;
    for (int r = 0; r <= lastRow; ++r) {
        // The cells that cover row r, left to right.
        QVector<const Cell *> row;
        for (const Cell &cell : grid.cells)
            if (cell.row <= r && r < cell.row + cell.rowSpan)
                row << &cell;
        std::sort(row.begin(), row.end(), [](const Cell *a, const Cell *b) { return a->column < b->column; });
        out += "\\trowd\\trgaph28\\trleft" + QByteArray::number(left) + "\\trrh-"
               + QByteArray::number(twipsOf(grid.rows.at(r))) + "\r\n";
        for (const Cell *cell : std::as_const(row)) {
            if (cell->rowSpan > 1)
                out += cell->row == r ? "\\clvmgf" : "\\clvmrg";
            const bool edge[] = {cell->row == 0, cell->column == 0, cell->row + cell->rowSpan - 1 == lastRow,
                                 cell->column + cell->columnSpan - 1 == lastColumn};
            const char *sides[] = {"t", "l", "b", "r"};
            for (int k = 0; k < 4; ++k)
                out += QByteArray("\\clbrdr") + sides[k] + (edge[k] ? kThickBorder : kBorder);
            out += "\\clvertalc\\cellx"
                   + QByteArray::number(left + twipsOf(grid.left(*cell) + grid.cellWidth(*cell))) + "\r\n";
        }
        for (const Cell *cell : std::as_const(row)) {
            out += "\\pard\\plain\\intbl";
            if (cell->row == r) {
                out += cell->centred ? "\\qc" : "\\ql";
                const QString text = cell->text;
                const int half = cell->content == Content::Text
                                     ? fittingHalfPoints(text, cell->pointSize, grid.cellWidth(*cell), grid.cellHeight(*cell))
                                     : int(cell->pointSize * 2);
                out += "\\f0\\fs" + QByteArray::number(half);
                if (cell->bold)
                    out += "\\b";
                out += ' ';
                if (cell->content == Content::SheetNumber)
                    out += "{\\field{\\*\\fldinst PAGE }{\\fldrslt 1}}";
                else if (cell->content == Content::SheetCount)
                    out += "{\\field{\\*\\fldinst NUMPAGES }{\\fldrslt 1}}";
                else
                    out += escape(text);
            }
            out += "\\cell\r\n";
        }
        out += "\\row\r\n";
    }
    return out;
}

QByteArray RtfDocument::escape(const QString &text)
{
    const auto &table = cp1251Table();
    QByteArray out;
    out.reserve(text.size() + 8);
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'\\' || c == u'{' || c == u'}') {
            out += '\\';
            out += char(c);
        } else if (c == u'\t') {
            out += "\\tab ";
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            out += "\\line ";
        } else if (c < 0x20 || c == 0x7F) {
            // other control characters have no place in a document
        } else if (c < 0x80) {
            out += char(c);
        } else if (const auto it = table.constFind(c); it != table.constEnd()) {
            appendHexEscape(out, it.value());
        } else {
            // \uc1: one substitute character follows for readers without Unicode.
            out += "\\u";
            out += QByteArray::number(int(qint16(c)));
            out += '?';
        }
    }
    return out;
}

void RtfDocument::addParagraph(const QString &text, int pointSize, bool bold)
{
    m_body += "\\pard\\plain\\f0\\fs";
    m_body += QByteArray::number(pointSize * 2);
    m_body += bold ? "\\b " : " ";
    m_body += escape(text);
    m_body += "\\par\r\n";
}

int RtfDocument::fittingPointSize(const ReportTable &table, int available, int largest, int smallest)
{
    const ColumnNeeds n = columnNeeds(table);
    double words = 0;
    for (const double w : n.least)
        words += w;
    const double room = available - kCellPad * table.columnCount();
    for (int size = largest; size > smallest; --size)
        if (words * size * 20 <= room)
            return size;
    return smallest;
}

QVector<int> RtfDocument::columnWidths(const ReportTable &table, int available, int pointSize)
{
    const int columns = table.columnCount();
    QVector<int> widths(columns, 0);
    if (columns == 0)
        return widths;

    const ColumnNeeds n = columnNeeds(table);
    const double em = pointSize * 20.0;
    QVector<double> minW(columns), wantW(columns);
    for (int c = 0; c < columns; ++c) {
        minW[c] = n.least.at(c) * em + kCellPad;
        wantW[c] = n.wanted.at(c) * em + kCellPad;
    }
    const QVector<double> w = shareColumnWidths(minW, wantW, available);
    int used = 0;
    for (int c = 0; c < columns; ++c) {
        widths[c] = std::max(1, int(std::floor(w[c])));
        used += widths[c];
    }
    widths[columns - 1] += available - used;
    return widths;
}

QByteArray RtfDocument::rowDefinition(const QVector<int> &rightEdges, bool header) const
{
    QByteArray d = "\\trowd\\trgaph" + QByteArray::number(kCellGap) + "\\trleft0";
    if (header)
        d += "\\trhdr"; // the heading row repeats on every page
    for (const char *side : {"t", "l", "b", "r", "h", "v"})
        d += QByteArray("\\trbrdr") + side + kBorder;
    // Fit to the window: 100 % of the text width (in fiftieths of a percent).
    d += "\\trautofit1\\trftsWidth2\\trwWidth5000\r\n";
    int left = 0;
    for (const int edge : rightEdges) {
        for (const char *side : {"t", "l", "b", "r"})
            d += QByteArray("\\clbrdr") + side + kBorder;
        d += "\\clftsWidth3\\clwWidth" + QByteArray::number(edge - left) + "\\cellx" + QByteArray::number(edge)
             + "\r\n";
        left = edge;
    }
    return d;
}

void RtfDocument::addTable(const ReportTable &table, int pointSize, const QString &caption, int captionSize)
{
    const int columns = table.columnCount();
    if (columns == 0)
        return;
    const QVector<int> widths = columnWidths(table, textWidth(), pointSize);
    QVector<int> edges(columns);
    int x = 0;
    for (int c = 0; c < columns; ++c) {
        x += widths.at(c);
        edges[c] = x;
    }
    const QByteArray cellStart = "\\pard\\plain\\intbl\\f0\\fs" + QByteArray::number(pointSize * 2);
    const QByteArray headerRow = rowDefinition(edges, true);
    const QByteArray bodyRow = rowDefinition(edges, false);

    if (!caption.isEmpty()) {
        m_body += "\\trowd\\trgaph" + QByteArray::number(kCellGap) + "\\trleft0\\trhdr\\trkeep\\cellx"
                  + QByteArray::number(x) + "\r\n\\pard\\plain\\intbl\\keepn\\f0\\fs" + QByteArray::number(captionSize * 2)
                  + "\\b " + escape(caption) + "\\cell\r\n\\row\r\n";
    }
    m_body += headerRow;
    for (const ReportCell &cell : table.heading) {
        m_body += cellStart;
        if (cell.bold)
            m_body += "\\b";
        if (cell.italic)
            m_body += "\\i";
        m_body += ' ';
        m_body += escape(cell.text);
        m_body += "\\cell\r\n";
    }
    m_body += "\\row\r\n";

    const auto addRows = [&](const QVector<QStringList> &rows, bool bold) {
        for (int r = 0; r < rows.size(); ++r) {
            const QStringList &row = rows.at(r);
            m_body += bodyRow;
            for (int c = 0; c < columns; ++c) {
                m_body += cellStart;
                if (table.isNumberColumn(c))
                    m_body += "\\qr";
                const bool failing = !bold && table.isFailing(r, c);
                if (bold || failing)
                    m_body += "\\b";
                if (failing)
                    m_body += "\\cf1";
                m_body += ' ';
                if (c < row.size())
                    m_body += escape(row.at(c));
                m_body += "\\cell\r\n";
            }
            m_body += "\\row\r\n";
        }
    };
    addRows(table.rows, false);
    addRows(table.totals, true);
    // The paragraph that follows a table takes the table's font.
    m_body += "\\pard\\plain\\f0\\fs" + QByteArray::number(pointSize * 2) + "\\par\r\n";
}

QByteArray RtfDocument::toRtf() const
{
    const QByteArray w = QByteArray::number(pageWidth());
    const QByteArray h = QByteArray::number(pageHeight());
    const QByteArray ml = QByteArray::number(leftMargin());
    const QByteArray mr = QByteArray::number(rightMargin());
    // Framed, the text starts under "Лист N из M" and ends above the title
    // block (the word processor makes room for the first page's taller one).
    const QByteArray mt = QByteArray::number(m_framed ? 1020 : kMargin);
    const QByteArray mb = QByteArray::number(m_framed ? 1417 : kMargin);
    QByteArray doc;
    doc.reserve(m_body.size() + m_marginals.size() + 1024);
    doc += "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049\\uc1\r\n";
    doc += "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset204 Times New Roman;}}\r\n";
    doc += kColourTable;
    doc += "\r\n";
    if (!m_title.isEmpty())
        doc += "{\\info{\\title " + escape(m_title) + "}}\r\n";
    doc += "\\paperw" + w + "\\paperh" + h + "\\margl" + ml + "\\margr" + mr + "\\margt" + mt + "\\margb" + mb;
    if (m_landscape)
        doc += "\\landscape";
    doc += "\\viewkind1\r\n";
    doc += "\\sectd";
    if (m_landscape)
        doc += "\\lndscpsxn";
    doc += "\\pgwsxn" + w + "\\pghsxn" + h + "\\marglsxn" + ml + "\\margrsxn" + mr + "\\margtsxn" + mt
           + "\\margbsxn" + mb;
    if (m_framed) {
        // The frame: page borders around the header and footer, 5 mm from
        // the text; the footer stands on the bottom line.
        doc += "\\titlepg\\headery567\\footery283\\pgbrdrhead\\pgbrdrfoot\\pgbrdropt0";
        const std::pair<const char *, int> sides[] = {{"t", kFrameGap}, {"l", kFrameGap}, {"b", 0}, {"r", kFrameGap}};
        for (const auto &[side, space] : sides)
            doc += QByteArray("\\pgbrdr") + side + "\\brdrs\\brdrw30\\brsp" + QByteArray::number(space);
    }
    doc += "\r\n";
    doc += m_marginals;
    doc += m_body;
    doc += "}\r\n";
    return doc;
}
