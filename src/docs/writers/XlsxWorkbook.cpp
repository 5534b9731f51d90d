#include "docs/writers/XlsxWorkbook.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>

namespace XlsxWorkbook {

namespace {

constexpr int kSheetNameLength = 31;
constexpr qsizetype kLongestCellText = 32767; // what a cell of a workbook holds
constexpr double kWidestColumn = 60; // characters; longer texts wrap
constexpr double kNarrowestColumn = 6;
constexpr lxw_color_t kFailingColour = 0xC62828;
constexpr uint8_t kA4Paper = 9;

QByteArray utf8(const QString &text)
{
    return text.left(kLongestCellText).toUtf8();
}

// What a cell looks like; every combination is made once per workbook.
struct CellStyle {
    enum Kind : quint8 { Title, Line, Caption, Heading, Body };
    Kind kind = Body;
    bool bold = false;
    bool failing = false;
    bool right = false;
    bool wrap = false;
    int places = -2; // -2: a text; -1: a number in the general format; else the decimals
    bool operator==(const CellStyle &) const = default;
};

size_t qHash(const CellStyle &s, size_t seed = 0)
{
    return qHashMulti(seed, int(s.kind), s.bold, s.failing, s.right, s.wrap, s.places);
}

// The number format of a number shown with `places` decimals: "0", "0.00".
QByteArray numberFormat(int places)
{
    if (places <= 0)
        return "0";
    return "0." + QByteArray(std::min(places, 30), '0');
}

class Writer
{
public:
    explicit Writer(lxw_workbook *workbook) : m_workbook(workbook) {}

    lxw_format *format(const CellStyle &style)
    {
        if (lxw_format *known = m_formats.value(style))
            return known;
        lxw_format *f = workbook_add_format(m_workbook);
        format_set_font_name(f, "Times New Roman");
        format_set_font_size(f, style.kind == CellStyle::Title ? 14 : 11);
        if (style.bold || style.failing || style.kind == CellStyle::Title || style.kind == CellStyle::Caption
            || style.kind == CellStyle::Heading)
            format_set_bold(f);
        if (style.failing)
            format_set_font_color(f, kFailingColour);
        if (style.kind == CellStyle::Heading || style.kind == CellStyle::Body) {
            format_set_border(f, LXW_BORDER_THIN);
            format_set_align(f, LXW_ALIGN_VERTICAL_TOP);
        }
        if (style.kind == CellStyle::Heading) {
            format_set_text_wrap(f);
            format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
        }
        if (style.wrap)
            format_set_text_wrap(f);
        if (style.right)
            format_set_align(f, LXW_ALIGN_RIGHT);
        if (style.places >= 0)
            format_set_num_format(f, numberFormat(style.places).constData());
        m_formats.insert(style, f);
        return f;
    }

    void text(lxw_worksheet *sheet, int row, int column, const QString &value, const CellStyle &style)
    {
        if (value.isEmpty())
            note(worksheet_write_blank(sheet, lxw_row_t(row), lxw_col_t(column), format(style)));
        else
            note(worksheet_write_string(sheet, lxw_row_t(row), lxw_col_t(column), utf8(value).constData(),
                                        format(style)));
    }

    void number(lxw_worksheet *sheet, int row, int column, double value, const CellStyle &style)
    {
        note(worksheet_write_number(sheet, lxw_row_t(row), lxw_col_t(column), value, format(style)));
    }

    void note(lxw_error error)
    {
        if (error != LXW_NO_ERROR && m_error == LXW_NO_ERROR)
            m_error = error;
    }
    lxw_error error() const { return m_error; }

private:
    lxw_workbook *m_workbook;
    QHash<CellStyle, lxw_format *> m_formats;
    lxw_error m_error = LXW_NO_ERROR;
};

// Characters a column wants: its heading wraps between words; the body
// texts up to the widest a column gets.
QVector<double> columnWidths(const ReportTable &table)
{
    QVector<double> widths(table.columnCount(), kNarrowestColumn);
    for (int c = 0; c < table.columnCount(); ++c)
        for (const QString &word : table.heading.at(c).text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            widths[c] = std::max(widths.at(c), word.size() * 1.15 + 2);
    const auto take = [&](const QVector<QStringList> &rows) {
        for (const QStringList &row : rows)
            for (int c = 0; c < table.columnCount() && c < row.size(); ++c)
                widths[c] = std::max(widths.at(c), std::min(kWidestColumn, row.at(c).size() * 1.1 + 2));
    };
    take(table.rows);
    take(table.totals);
    return widths;
}

// The lines a text takes in a column `width` characters wide, broken
// between words (a workbook sets no row heights of its own: the rows that
// wrap are given theirs).
int wrappedLines(const QString &text, double width)
{
    const double room = std::max(1.0, width - 1.5);
    int lines = 0;
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        ++lines;
        double used = 0;
        for (const QString &word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const double w = word.size() * 1.1;
            if (used > 0 && used + 1 + w > room) {
                ++lines;
                used = 0;
            }
            // A word wider than the column takes lines of its own.
            lines += int(w / room);
            used = used > 0 ? used + 1 + w : std::fmod(w, room);
        }
    }
    return std::max(1, lines);
}

constexpr double kLineHeight = 15; // points, of an 11 pt line

// "&" starts a code in a header or footer; a text shows it doubled.
QString footerText(const QString &text)
{
    return QString(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

void writeSheet(Writer &out, lxw_worksheet *sheet, const ReportDocument &document, const ReportSection *section)
{
    int row = 0;
    out.text(sheet, row++, 0, document.title.toUpper(), {CellStyle::Title});
    out.text(sheet, row++, 0, document.projectName, {CellStyle::Line});
    out.text(sheet, row++, 0, document.dateTime, {CellStyle::Line});
    if (section && !section->caption.isEmpty())
        out.text(sheet, row++, 0, section->caption, {CellStyle::Caption});
    ++row;

    worksheet_set_landscape(sheet);
    worksheet_set_paper(sheet, kA4Paper);
    worksheet_set_margins(sheet, 0.6, 0.4, 0.6, 0.7);
    worksheet_fit_to_pages(sheet, 1, 0); // as wide as the page, as many pages as it takes
    const QString code = document.properties.documentCode;
    const QString footer = QStringLiteral("&L") + footerText(code.isEmpty() ? document.projectName : code)
                           + QStringLiteral("&RЛист &P из &N");
    out.note(worksheet_set_footer(sheet, footer.left(200).toUtf8().constData()));

    if (!section || section->table.columnCount() == 0)
        return;
    const ReportTable &table = section->table;
    const int columns = std::min(table.columnCount(), LXW_COL_MAX);
    const QVector<double> widths = columnWidths(table);
    for (int c = 0; c < columns; ++c)
        out.note(worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), widths.at(c), nullptr));

    const int headingRow = row;
    int headingLines = 1;
    for (int c = 0; c < columns; ++c) {
        out.text(sheet, row, c, table.heading.at(c).text, {CellStyle::Heading});
        headingLines = std::max(headingLines, wrappedLines(table.heading.at(c).text, widths.at(c)));
    }
    out.note(worksheet_set_row(sheet, lxw_row_t(row), std::min(409.0, headingLines * kLineHeight), nullptr));
    ++row;
    worksheet_freeze_panes(sheet, lxw_row_t(row), 0);
    out.note(worksheet_repeat_rows(sheet, lxw_row_t(headingRow), lxw_row_t(headingRow)));

    const auto writeRows = [&](const QVector<QStringList> &rows, bool totals) {
        for (int r = 0; r < rows.size() && row < LXW_ROW_MAX; ++r, ++row) {
            const QStringList &texts = rows.at(r);
            int lines = 1;
            for (int c = 0; c < columns; ++c) {
                const QString text = c < texts.size() ? texts.at(c) : QString();
                CellStyle style{CellStyle::Body, totals, !totals && table.isFailing(r, c)};
                const bool numbers = table.isNumberColumn(c);
                style.right = numbers;
                if (numbers) {
                    if (const auto n = reportNumber(text)) {
                        style.places = n->places;
                        out.number(sheet, row, c, n->value, style);
                        continue;
                    }
                }
                style.wrap = text.size() * 1.1 + 2 > widths.at(c);
                if (style.wrap)
                    lines = std::max(lines, wrappedLines(text, widths.at(c)));
                out.text(sheet, row, c, text, style);
            }
            if (lines > 1)
                out.note(worksheet_set_row(sheet, lxw_row_t(row), std::min(409.0, lines * kLineHeight), nullptr));
        }
    };
    writeRows(table.rows, false);
    writeRows(table.totals, true);
}

} // namespace

QString sheetName(const QString &wanted, const QStringList &taken)
{
    QString base = wanted.trimmed();
    for (QChar &c : base)
        if (QStringLiteral("[]:*?/\\").contains(c) || c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    // An apostrophe may neither begin nor end the name.
    while (base.startsWith(QLatin1Char('\'')))
        base.remove(0, 1);
    if (base.isEmpty())
        base = QStringLiteral("Лист");
    const auto isTaken = [&taken](const QString &name) {
        return std::any_of(taken.begin(), taken.end(),
                           [&name](const QString &t) { return t.compare(name, Qt::CaseInsensitive) == 0; });
    };
    const auto fitted = [](QString name, const QString &suffix) {
        name = name.left(kSheetNameLength - suffix.size());
        while (name.endsWith(QLatin1Char('\'')))
            name.chop(1);
        return name + suffix;
    };
    QString name = fitted(base, QString());
    for (int n = 2; name.isEmpty() || isTaken(name); ++n)
        name = fitted(base, QStringLiteral(" (") + QString::number(n) + QLatin1Char(')'));
    return name;
}

QByteArray workbook(const ReportDocument &document, QString *error)
{
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return QByteArray();
    };
    // libxlsxwriter writes to a path of its own choosing at close; the bytes
    // are then saved like every other report's.
    QTemporaryFile file;
    file.setFileTemplate(QDir::tempPath() + QStringLiteral("/kabinor-XXXXXX.xlsx"));
    if (!file.open())
        return fail(file.errorString());
    const QByteArray path = QFile::encodeName(file.fileName());
    file.close();

    lxw_workbook *book = workbook_new(path.constData());
    if (!book)
        return fail(QStringLiteral("workbook_new"));
    Writer out(book);
    const QByteArray title = document.title.toUtf8();
    const QByteArray company = document.properties.organization.toUtf8();
    lxw_doc_properties properties{};
    properties.title = const_cast<char *>(title.constData());
    properties.company = const_cast<char *>(company.constData());
    out.note(workbook_set_properties(book, &properties));

    QStringList names;
    const auto addSheet = [&](const QString &wanted) {
        names << sheetName(wanted, names);
        return workbook_add_worksheet(book, names.last().toUtf8().constData());
    };
    if (document.sections.isEmpty()) {
        if (lxw_worksheet *sheet = addSheet(document.title))
            writeSheet(out, sheet, document, nullptr);
    }
    for (const ReportSection &section : document.sections) {
        lxw_worksheet *sheet = addSheet(section.caption.isEmpty() ? document.title : section.caption);
        if (!sheet) {
            out.note(LXW_ERROR_SHEETNAME_ALREADY_USED);
            break;
        }
        writeSheet(out, sheet, document, &section);
    }
    // The file is only complete, and its write only known to be good, once
    // the workbook is closed.
    const lxw_error closed = workbook_close(book);
    const lxw_error first = out.error() != LXW_NO_ERROR ? out.error() : closed;
    if (first != LXW_NO_ERROR)
        return fail(QString::fromUtf8(lxw_strerror(first)));
    QFile written(file.fileName());
    if (!written.open(QIODevice::ReadOnly))
        return fail(written.errorString());
    QByteArray bytes = written.readAll();
    if (bytes.isEmpty())
        return fail(QStringLiteral("empty workbook"));
    return bytes;
}

} // namespace XlsxWorkbook
