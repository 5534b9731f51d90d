#include "docs/schedules/ProtectionReport.h"

#include "calc/network/NetworkCalc.h"
#include "calc/network/NetworkTexts.h"

namespace ProtectionReport {

QString title()
{
    return QStringLiteral("Ведомость защитных аппаратов");
}

QString defaultFileName(const QString &projectName)
{
    return projectName + QStringLiteral(" - ") + title();
}

std::optional<Protection::Result> checkProject(const Project &project, const AppContext &context, QString *message)
{
    return Network::protectionOf(project, context, message);
}

ReportTable build(const Protection::Result &result, int places)
{
    ReportTable table;
    for (const QString &heading : Protection::headings())
        table.heading << ReportCell{heading, true, false};
    for (const Protection::LineCheck &line : result.lines) {
        QStringList row = Protection::lineTexts(line, places);
        row[0] = Network::indentedName(line.name, line.level);
        table.rows << row;
    }
    // Iн is the device's rating as its table gives it; the currents show the
    // decimal places.
    table.markNumberColumn(2);
    for (const int c : {3, 4, 5})
        table.setNumberColumn(c, places);
    return table;
}

bool run(ReportWriter &writer, const QString &projectName, const Protection::Result &result, int places)
{
    return writer.run(projectName, title(), defaultFileName(projectName),
                      [&result, places] { return build(result, places); });
}

bool print(ReportWriter &writer, const QString &projectName, const Protection::Result &result, int places)
{
    return writer.print(projectName, title(), [&result, places] { return build(result, places); });
}

} // namespace ProtectionReport
