#include "docs/writers/ReportTable.h"

#include "base/NumberText.h"

#include <algorithm>

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

void ReportTable::setTotalsPlaces(int column, int places)
{
    if (column < 0 || column >= columnCount())
        return;
    markNumberColumn(column);
    fixPlaces(totals, column, places);
}

std::optional<ReportNumber> reportNumber(const QString &text)
{
    const auto value = NumberText::parse(text);
    if (!value)
        return std::nullopt;
    const QString t = text.trimmed();
    if (t.contains(QLatin1Char('e'), Qt::CaseInsensitive))
        return ReportNumber{*value, -1};
    const qsizetype separator = std::max(t.indexOf(QLatin1Char(',')), t.indexOf(QLatin1Char('.')));
    return ReportNumber{*value, separator < 0 ? 0 : int(t.size() - separator - 1)};
}

QString ReportSection::continuedCaption() const
{
    if (caption.isEmpty())
        return QString();
    return caption + QStringLiteral(" (продолжение)");
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
