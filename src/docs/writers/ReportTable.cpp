#include "docs/writers/ReportTable.h"

#include "base/NumberText.h"

#include <algorithm>
#include <vector>

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

void ReportTable::keepWhole(int column)
{
    if (column < 0 || column >= columnCount())
        return;
    if (wholeColumns.size() < columnCount())
        wholeColumns.resize(columnCount());
    wholeColumns[column] = true;
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

QVector<double> shareColumnWidths(const QVector<double> &least, const QVector<double> &wanted,
                                  const QVector<bool> &whole, double available)
{
    const qsizetype columns = least.size();
    double sumLeast = 0;
    double sumWanted = 0;
    double sumWhole = 0;
    for (qsizetype c = 0; c < columns; ++c) {
        sumLeast += least.at(c);
        sumWanted += wanted.at(c);
        if (whole.value(c))
            sumWhole += least.at(c);
    }
    QVector<double> w(columns);
    if (sumWanted <= available) {
        for (qsizetype c = 0; c < columns; ++c)
            w[c] = wanted.at(c) * available / sumWanted; // stretched to the page
        return w;
    }
    if (sumLeast <= available && sumWanted > sumLeast) {
        for (qsizetype c = 0; c < columns; ++c)
            w[c] = least.at(c) + (wanted.at(c) - least.at(c)) * (available - sumLeast) / (sumWanted - sumLeast);
        return w;
    }
    if (sumWhole > available || sumWhole == sumLeast) {
        for (qsizetype c = 0; c < columns; ++c)
            w[c] = least.at(c) * available / sumLeast; // words must break everywhere
        return w;
    }
    // The whole columns keep their width; the others share what is left, the
    // narrow ones taking their words, the wide ones a fair share each.
    std::vector<qsizetype> open;
    for (qsizetype c = 0; c < columns; ++c) {
        if (whole.value(c))
            w[c] = least.at(c);
        else
            open.push_back(c);
    }
    std::sort(open.begin(), open.end(), [&](qsizetype a, qsizetype b) { return least.at(a) < least.at(b); });
    double left = available - sumWhole;
    for (size_t k = 0; k < open.size(); ++k) {
        const double fair = left / double(open.size() - k);
        const qsizetype c = open[k];
        w[c] = std::min(least.at(c), fair);
        left -= w[c];
    }
    // What the fair shares leave goes to the columns that wrap.
    if (left > 0 && !open.empty())
        w[open.back()] += left;
    return w;
}
