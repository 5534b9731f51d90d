#include "docs/schedules/CableLineReport.h"

#include "base/NumberText.h"
#include "calc/lines/NetworkSummary.h"
#include "calc/protection/Protection.h"

#include <algorithm>
#include <iterator>

namespace CableLineReport {

QString defaultTitle()
{
    return QStringLiteral("Ведомость кабельных линий");
}

QString defaultFileName(const QString &projectName, const QString &title)
{
    return projectName + QStringLiteral(" - ") + title;
}

QStringList columnHeaders()
{
    return LineCalc::columnHeaders() << QStringLiteral("cos φ") << QStringLiteral("Индуктивное сопротивление, мОм")
                                     << QStringLiteral("Защитный аппарат");
}

namespace {

// List columns (0 = name) that hold numbers: computed ones, shown with the
// decimal places, and those the user entered (the network's voltage among
// them), which keep their texts.
constexpr int kVoltageDropColumn = CableLine::VoltageDrop + 1;
constexpr int kComputedColumns[] = {CableLine::Resistance + 1, CableLine::PermissibleCurrent + 1, kVoltageDropColumn,
                                    ListColumnCount + 1};
constexpr int kEnteredColumns[] = {CableLine::Length + 1, CableLine::LoadCurrent + 1, CableLine::Voltage + 1,
                                   ListColumnCount};

QString columnText(const CableLine &line, int column)
{
    if (column < ListColumnCount)
        return line.column(column);
    if (!line.inputs)
        return QString();
    if (column == ListColumnCount)
        return line.inputs->cosPhi;
    if (column == ListColumnCount + 1)
        return line.inputs->reactance;
    if (line.inputs->device.isEmpty())
        return QString();
    Protection::Breaker device;
    device.characteristic = line.inputs->device;
    device.rated = NumberText::toDouble(line.inputs->deviceRating);
    return device.designation();
}

} // namespace

ReportTable build(const QVector<CableLine> &lines, const QVector<bool> &selected, int places)
{
    const QStringList headers = columnHeaders();
    QVector<int> columns;
    for (int c = 0; c < headers.size(); ++c)
        if (c < selected.size() && selected.at(c))
            columns << c;

    ReportTable table;
    if (columns.isEmpty())
        return table; // no table at all: the document keeps its heading only
    for (const int c : columns)
        table.heading << ReportCell{headers.at(c), true, false};
    for (const CableLine &line : lines) {
        if (!line.checked)
            continue;
        QStringList row;
        row.reserve(columns.size());
        for (const int c : columns)
            row << columnText(line, c);
        table.rows << row;
    }

    const int dropColumn = int(columns.indexOf(kVoltageDropColumn));
    if (dropColumn >= 0) {
        QStringList total(columns.size());
        if (dropColumn > 0)
            total[0] = QStringLiteral("Итого");
        total[dropColumn] = NumberText::format(totalVoltageDrop(lines));
        table.totals << total;
    }
    const auto isIn = [](const auto &list, int column) {
        return std::find(std::begin(list), std::end(list), column) != std::end(list);
    };
    for (int k = 0; k < columns.size(); ++k) {
        if (isIn(kComputedColumns, columns.at(k)))
            table.setNumberColumn(k, places);
        else if (isIn(kEnteredColumns, columns.at(k)))
            table.markNumberColumn(k);
    }
    return table;
}

} // namespace CableLineReport
