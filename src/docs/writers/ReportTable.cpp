#include "docs/writers/ReportTable.h"

#include "base/NumberText.h"

namespace {

void fixPlaces(QVector<QStringList> &rows, int column, int places)
{
    for (QStringList &row : rows) {
        if (column >= row.size())
            continue;
        if (const auto value = NumberText::parse(row.at(column)))
            row[column] = NumberText::formatFixed(*value, places);
    }
}

} // namespace

void ReportTable::markNumberColumn(int column)
{
    if (column < 0 || column >= columnCount())
        return;
    if (numberColumns.size() < columnCount())
        numberColumns.resize(columnCount());
    numberColumns[column] = true;
}

void ReportTable::setNumberColumn(int column, int places)
{
    if (column < 0 || column >= columnCount())
        return;
    markNumberColumn(column);
    fixPlaces(rows, column, places);
    fixPlaces(totals, column, places);
}

QVector<double> shareColumnWidths(const QVector<double> &least, const QVector<double> &wanted, double available)
{
    const qsizetype columns = least.size();
    double sumLeast = 0;
    double sumWanted = 0;
    for (qsizetype c = 0; c < columns; ++c) {
        sumLeast += least.at(c);
        sumWanted += wanted.at(c);
    }
    QVector<double> w(columns);
    for (qsizetype c = 0; c < columns; ++c) {
        if (sumWanted <= available)
            w[c] = wanted.at(c) * available / sumWanted; // stretched to the page
        else if (sumLeast <= available && sumWanted > sumLeast)
            w[c] = least.at(c) + (wanted.at(c) - least.at(c)) * (available - sumLeast) / (sumWanted - sumLeast);
        else
            w[c] = least.at(c) * available / sumLeast; // words must break
    }
    return w;
}
