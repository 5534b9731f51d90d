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

// A stored number that is not a sound value is no figure of the schedule.
const QString kDash = QStringLiteral("-");

QString columnText(const CableLine &line, const LineCalc::RowValues &row, int column)
{
    if (column < ListColumnCount) {
        const bool sound = [&] {
            switch (column - 1) {
            case CableLine::Cores:
                return bool(row.section);
            case CableLine::Material:
                return bool(row.material);
            case CableLine::Length:
                return bool(row.length);
            case CableLine::Resistance:
                return bool(row.resistance);
            case CableLine::LoadCurrent:
                return bool(row.loadCurrent);
            case CableLine::PermissibleCurrent:
                return bool(row.permissibleCurrent);
            case CableLine::VoltageDrop:
                return bool(row.voltageDrop);
            case CableLine::Voltage:
                return bool(row.net);
            default:
                return true;
            }
        }();
        return sound ? line.column(column) : kDash;
    }
    if (!line.inputs)
        return QString();
    const LineInputs &in = *line.inputs;
    if (column == ListColumnCount)
        return in.cosPhi.value ? NumberText::format(*in.cosPhi.value) : kDash;
    if (column == ListColumnCount + 1)
        return in.reactance.value ? NumberText::format(*in.reactance.value) : kDash;
    if (!in.device.sound() || !in.deviceRating.sound())
        return kDash;
    return Protection::storedDesignation(in);
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
        const LineCalc::RowValues values = LineCalc::rowValues(line);
        for (const int c : columns)
            row << columnText(line, values, c);
        table.rows << row;
    }

    const int dropColumn = int(columns.indexOf(kVoltageDropColumn));
    if (dropColumn >= 0) {
        QStringList total(columns.size());
        if (dropColumn > 0)
            total[0] = QStringLiteral("Итого");
        // A total past the range of numbers is shown as such, never as 0.
        total[dropColumn] = NumberText::formatUnbounded(totalVoltageDrop(lines));
        table.totals << total;
    }
    const auto isIn = [](const auto &list, int column) {
        return std::find(std::begin(list), std::end(list), column) != std::end(list);
    };
    for (int k = 0; k < columns.size(); ++k) {
        // The notation and the device read as one, like numbers.
        if (columns.at(k) == CableLine::Cores + 1 || columns.at(k) == ListColumnCount + 2)
            table.keepWhole(k);
        if (isIn(kComputedColumns, columns.at(k)))
            table.setNumberColumn(k, places);
        else if (isIn(kEnteredColumns, columns.at(k)))
            table.markNumberColumn(k);
    }
    return table;
}

} // namespace CableLineReport
