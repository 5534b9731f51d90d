#include "docs/schedules/FaultCurrentsReport.h"

#include "calc/network/NetworkTexts.h"

namespace FaultCurrentsReport {

QString title()
{
    return QStringLiteral("Ведомость токов КЗ (ГОСТ 28249-93)");
}

QString defaultFileName(const QString &projectName)
{
    return projectName + QStringLiteral(" - ") + title();
}

ReportTable build(const FaultCurrents::Result &result, int places)
{
    ReportTable table;
    const QStringList headings = FaultCurrents::headings();
    for (int c = 0; c < headings.size(); ++c)
        table.heading << ReportCell{headings.at(c), true, c > 0};
    for (const FaultCurrents::Point &point : result.points) {
        QStringList row = FaultCurrents::pointTexts(point, places);
        row[0] = Network::indentedName(point.name, point.level);
        table.rows << row;
    }
    for (int c = 1; c < table.columnCount(); ++c)
        table.setNumberColumn(c, places);
    return table;
}

bool run(ReportWriter &writer, const QString &projectName, const FaultCurrents::Result &result, int places)
{
    return writer.run(projectName, title(), defaultFileName(projectName),
                      [&result, places] { return build(result, places); });
}

bool print(ReportWriter &writer, const QString &projectName, const FaultCurrents::Result &result, int places)
{
    return writer.print(projectName, title(), [&result, places] { return build(result, places); });
}

} // namespace FaultCurrentsReport
