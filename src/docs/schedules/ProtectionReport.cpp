#include "docs/schedules/ProtectionReport.h"

#include "base/NumberText.h"

namespace ProtectionReport {

QString title()
{
    return QStringLiteral("Ведомость защитных аппаратов");
}

QString defaultFileName(const QString &projectName)
{
    return projectName + QStringLiteral(" - ") + title();
}

std::optional<Protection::Result> checkProject(const Project &project, const AppContext &context, QString *message,
                                               bool chooseMissing)
{
    const auto inputs = FaultCurrents::inputsOf(project, message);
    if (!inputs)
        return std::nullopt;
    const FaultCurrents::Result faults =
        FaultCurrents::compute(project, *inputs, context.calc, FaultCurrents::TransformerTable::load(context.appDir()),
                               FaultCurrents::CableTable::load(context.appDir()));
    Protection::Result result =
        Protection::check(project, faults, Protection::BreakerTable::load(context.appDir()),
                          Protection::LetThroughTable::load(context.appDir()), context.calc.places(), chooseMissing);
    result.problems = faults.problems + result.problems;
    return result;
}

ReportTable build(const Protection::Result &result, int places)
{
    // Beside the columns of the window, the instantaneous trip current the
    // disconnection check took (with the tolerance of an industrial release).
    constexpr int tripColumn = 3;
    ReportTable table;
    QStringList headings = Protection::headings();
    headings.insert(tripColumn, QStringLiteral("Iмгн, А"));
    for (const QString &heading : headings)
        table.heading << ReportCell{heading, true, false};
    for (const Protection::LineCheck &line : result.lines) {
        QStringList row = Protection::lineTexts(line, places);
        row.insert(tripColumn, line.input.device ? NumberText::formatRounded(line.tripCurrent, places) : QStringLiteral("-"));
        table.rows << row;
    }
    // Iн is the device's rating as its table gives it; the currents show the
    // decimal places.
    table.markNumberColumn(2);
    for (const int c : {3, 4, 5, 6})
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
