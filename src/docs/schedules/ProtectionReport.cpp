#include "docs/schedules/ProtectionReport.h"

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
    const auto inputs = FaultCurrents::inputsOf(project, message);
    if (!inputs)
        return std::nullopt;
    const FaultCurrents::Result faults =
        FaultCurrents::compute(project, *inputs, context.calc, FaultCurrents::TransformerTable::load(context.appDir()),
                               FaultCurrents::CableTable::load(context.appDir()));
    Protection::Result result =
        Protection::check(project, faults, Protection::BreakerTable::load(context.appDir()), context.calc.places());
    result.problems = faults.problems + result.problems;
    return result;
}

ReportTable build(const Protection::Result &result, int places)
{
    ReportTable table;
    for (const QString &heading : Protection::headings())
        table.heading << ReportCell{heading, true, false};
    for (const Protection::LineCheck &line : result.lines)
        table.rows << Protection::lineTexts(line, places);
    // Iн is the device's rating as its table gives it; the currents show the
    // decimal places.
    table.markNumberColumn(2);
    table.keepWhole(1); // the device: "C63", "250А 10In"
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
