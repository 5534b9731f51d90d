#include "docs/schedules/SelectivityReport.h"

namespace SelectivityReport {

QString title()
{
    return QStringLiteral("Селективность защитных аппаратов");
}

QString defaultFileName(const QString &projectName)
{
    return projectName + QStringLiteral(" - ") + title();
}

QVector<ReportSection> build(const Project &project, const Selectivity::Result &result, int places)
{
    constexpr int Columns = 7; // the reason and the hint go to the second table
    ReportTable table;
    for (const QString &heading : Selectivity::headings().mid(0, Columns))
        table.heading << ReportCell{heading, true, false};
    ReportTable reasons;
    for (const char *heading : {"Линия", "Причина", "Что поможет"})
        reasons.heading << ReportCell{QString::fromUtf8(heading), true, false};
    for (const Selectivity::Pair &pair : result.pairs) {
        const QStringList texts = Selectivity::pairTexts(project, pair, places);
        table.rows << texts.mid(0, Columns);
        if (pair.check.verdict == Selectivity::Verdict::Partial || pair.check.verdict == Selectivity::Verdict::None)
            reasons.rows << QStringList{texts.at(1), pair.reason, pair.hint};
    }
    table.markNumberColumn(4);
    table.markNumberColumn(5);
    QVector<ReportSection> sections{
        ReportSection{QStringLiteral("Вердикты ") + Selectivity::basisText()
                          + QStringLiteral(" (ГОСТ IEC 60898-1, ГОСТ Р 50030.2)"),
                      table}};
    if (!reasons.rows.isEmpty())
        sections << ReportSection{QStringLiteral("Где сходятся характеристики и что поможет"), reasons};
    return sections;
}

bool run(ReportWriter &writer, const Project &project, const Selectivity::Result &result, int places)
{
    return writer.run(project.projectName, title(), defaultFileName(project.projectName),
                      [&] { return build(project, result, places); });
}

bool print(ReportWriter &writer, const Project &project, const Selectivity::Result &result, int places)
{
    return writer.print(project.projectName, title(), [&] { return build(project, result, places); });
}

} // namespace SelectivityReport
