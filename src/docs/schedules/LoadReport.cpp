#include "docs/schedules/LoadReport.h"

#include "calc/loads/LoadCalc.h"

namespace LoadReport {

namespace {

// Columns of the loads list.
enum Column { Name = 0, InstalledPower, PowerFactor, DemandFactor, DesignPower, ApparentPower, Current, Phase, Phases, Efficiency };

QStringList totalsRow(const QString &caption, std::initializer_list<std::pair<Column, QString>> values)
{
    QStringList row(LoadCalc::columnHeaders().size());
    row[Name] = caption;
    for (const auto &[column, text] : values)
        row[column] = text;
    return row;
}

ReportTable shieldTable(const Shield &shield, const QStringList &headers, int places)
{
    ReportTable table;
    for (const QString &h : headers)
        table.heading << ReportCell{h, true, false};
    table.rows.reserve(shield.loads.size());
    for (const Load &load : shield.loads) {
        QStringList row;
        row.reserve(headers.size());
        for (int c = 0; c < headers.size(); ++c)
            row << load.column(c);
        table.rows << row;
    }

    const LoadCalc::ShieldTotals t = LoadCalc::recalcShieldTotals(shield.loads, places);
    table.totals << totalsRow(QStringLiteral("Итого"), {{InstalledPower, t.installedPower},
                                                        {PowerFactor, t.powerFactor},
                                                        {DesignPower, t.designPower},
                                                        {ApparentPower, t.apparentPower},
                                                        {Current, t.current}});
    // The letters of the phase column's, A, B and C.
    const QString phases[3] = {QStringLiteral("Фаза A"), QStringLiteral("Фаза B"), QStringLiteral("Фаза C")};
    for (int k = 0; k < 3; ++k)
        table.totals << totalsRow(phases[k], {{ApparentPower, t.phasePower[k]}, {Current, t.phaseCurrent[k]}});
    table.totals << totalsRow(QStringLiteral("Ток нулевого проводника"), {{Current, t.neutralCurrent}});
    table.totals << totalsRow(QStringLiteral("Неравномерность, %"), {{Current, t.imbalance}});

    // What the user entered keeps its text; what is computed shows the
    // decimal places, the totals of the entered columns as well.
    for (const Column c : {DesignPower, ApparentPower, Current})
        table.setNumberColumn(c, places);
    for (const Column c : {InstalledPower, PowerFactor})
        table.setTotalsPlaces(c, places);
    for (const Column c : {DemandFactor, Phases, Efficiency})
        table.markNumberColumn(c);
    return table;
}

} // namespace

QString title()
{
    return QStringLiteral("Расчетная нагрузка щитов");
}

QString defaultFileName(const QString &projectName)
{
    return projectName + QStringLiteral(" - ") + title();
}

QStringList headings()
{
    return {QStringLiteral("Нагрузка"),
            QStringLiteral("Мощн. установки, кВт"),
            QStringLiteral("Коэф. мощности"),
            QStringLiteral("Коэф. спроса"),
            QStringLiteral("Мощн. расчетная, кВт"),
            QStringLiteral("Полная мощность, кВА"),
            QStringLiteral("Ток, А"),
            QStringLiteral("Фаза"),
            QStringLiteral("Число фаз"),
            QStringLiteral("КПД")};
}

QVector<ReportSection> build(const QVector<Shield> &shields, int places)
{
    const QStringList headers = headings();
    QVector<ReportSection> sections;
    sections.reserve(shields.size());
    for (const Shield &shield : shields)
        sections << ReportSection{shield.name, shieldTable(shield, headers, places)};
    return sections;
}

bool run(ReportWriter &writer, const Project &project, const CalcValues &calc)
{
    writer.setProgressPlan(ReportWriter::kDefaultPlan);
    return writer.run(project.projectName, title(), defaultFileName(project.projectName),
                      [&project, &calc] { return build(project.shields, calc.places()); });
}

bool print(ReportWriter &writer, const Project &project, const CalcValues &calc)
{
    return writer.print(project.projectName, title(), [&project, &calc] { return build(project.shields, calc.places()); });
}

} // namespace LoadReport
