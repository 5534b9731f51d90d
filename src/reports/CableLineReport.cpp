#include "reports/CableLineReport.h"

#include "base/NumberText.h"
#include "protection/Protection.h"

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

ReportTable build(const QVector<CableLine> &lines, const QVector<bool> &selected)
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
    return table;
}

} // namespace CableLineReport
