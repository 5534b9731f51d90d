#pragma once

#include "base/Project.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// The report model that every writer (the RTF document, the PDF and the
// printed pages) renders: a schedule builds its tables once and each writer
// draws the same texts.

// One cell of a report table's heading row.
struct ReportCell {
    QString text;
    bool bold = false;
    bool italic = false;
};

// The table of a report: one heading cell per column, the body rows, each
// holding one text per column, and the rows of totals below them (in bold).
struct ReportTable {
    QVector<ReportCell> heading;
    QVector<QStringList> rows;
    QVector<QStringList> totals;
    // Per column: its texts are numbers and stand to the right of their cells.
    QVector<bool> numberColumns;
    // Body cells whose figure fails a check: bold, and red where the format
    // has colour (row << 32 | column).
    QSet<quint64> failingCells;

    void markFailing(int row, int column) { failingCells.insert(cellKey(row, column)); }
    bool isFailing(int row, int column) const
    {
        return !failingCells.isEmpty() && failingCells.contains(cellKey(row, column));
    }
    static quint64 cellKey(int row, int column) { return quint64(quint32(row)) << 32 | quint32(column); }

    int columnCount() const { return int(heading.size()); }
    // Heading row and totals included; a table without columns has no rows at all.
    int rowCount() const { return heading.isEmpty() ? 0 : int(rows.size() + totals.size()) + 1; }

    bool isNumberColumn(int column) const { return column >= 0 && column < numberColumns.size() && numberColumns.at(column); }
    // Marks `column` as one of numbers and shows each of its texts that is a
    // number, in the body and the totals, with exactly `places` decimals
    // ("0,70"); other texts ("-", empty) stay. Called once the rows are in.
    void setNumberColumn(int column, int places);
    // Marks `column` as one of numbers; its texts stay as they are (values
    // as entered).
    void markNumberColumn(int column);
    // Marks `column` as one of numbers whose body texts are values as
    // entered and whose totals are computed: only the totals show exactly
    // `places` decimals.
    void setTotalsPlaces(int column, int places);
};

// A number of a number column as a spreadsheet keeps it: the value and the
// decimal places its text shows ("0,70": 0.7 with 2); places are -1 for a
// text in exponent form, which keeps the general format.
struct ReportNumber {
    double value = 0;
    int places = 0;
};
// Nothing for texts that are not plain numbers ("-", "C63", empty).
std::optional<ReportNumber> reportNumber(const QString &text);

// A table under its caption; one document may hold several.
struct ReportSection {
    QString caption; // empty: the table follows the heading directly
    ReportTable table;
    // What a page that goes on with the table says above its heading row:
    // "ЩС-1 (продолжение)"; empty for a table without a caption.
    QString continuedCaption() const;
};

// What a writer is given: the heading lines, the tables, and what the title
// block of every sheet says.
struct ReportDocument {
    QString projectName;
    QString title;
    QString dateTime;
    QVector<ReportSection> sections;
    ProjectProperties properties;
};

// How a table shares the width of its page among its columns, as a table
// fitted to the window does: each column gets at least `least` (its longest
// word) where the page allows, the rest is shared by what the columns would
// like to have (`wanted`); where even the words do not fit, in proportion to
// them. Both include the cells' padding; the widths sum to `available`.
QVector<double> shareColumnWidths(const QVector<double> &least, const QVector<double> &wanted, double available);
