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

// List columns (0 = name) that hold numbers.
constexpr int kVoltageDropColumn = CableLine::VoltageDrop + 1;
constexpr int kVoltageColumn = CableLine::Voltage + 1;
constexpr int kMeasuredColumns[] = {CableLine::Length + 1, CableLine::Resistance + 1, CableLine::LoadCurrent + 1,
                                    CableLine::PermissibleCurrent + 1, kVoltageDropColumn, ListColumnCount,
                                    ListColumnCount + 1};

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
    for (int k = 0; k < columns.size(); ++k) {
        // The notation and the device read as one, like numbers.
        if (columns.at(k) == CableLine::Cores + 1 || columns.at(k) == ListColumnCount + 2)
            table.keepWhole(k);
        if (columns.at(k) == kVoltageColumn)
            table.setNumberColumn(k, 0); // the network's nominal voltage: 220 or 380
        else if (std::find(std::begin(kMeasuredColumns), std::end(kMeasuredColumns), columns.at(k))
                 != std::end(kMeasuredColumns))
            table.setNumberColumn(k, places);
    }
    return table;
}

} // namespace CableLineReport
