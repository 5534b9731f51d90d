#include "docs/schedules/LightingReport.h"

#include "base/NumberText.h"
#include "calc/lighting/RoomLighting.h"

namespace LightingReport {

namespace {

enum Column {
    Name = 0,
    Size,
    Height,
    Reflectances,
    Norm,
    Maintenance,
    Uniformity,
    Curve,
    Flux,
    Power,
    Index,
    Eta,
    Count,
    Grid,
    Illuminance,
    Installed,
    Density,
    Ratio,
    ColumnCount
};

QString dimension(const QString &text)
{
    return text.trimmed();
}

} // namespace

QString title()
{
    return QStringLiteral("Светотехнический расчет");
}

QString defaultFileName(const QString &projectName)
{
    return projectName + QStringLiteral(" - ") + title();
}

QStringList columnHeaders()
{
    return {QStringLiteral("Помещение"), QStringLiteral("A × B × H, м"), QStringLiteral("h, м"),
            QStringLiteral("ρп/ρс/ρр, %"), QStringLiteral("Eн, лк"), QStringLiteral("Kз"), QStringLiteral("z"),
            QStringLiteral("Тип светильника"), QStringLiteral("Φ, лм"), QStringLiteral("P, Вт"), QStringLiteral("i"),
            QStringLiteral("η"), QStringLiteral("N, шт"), QStringLiteral("Расположение"), QStringLiteral("Eср, лк"),
            QStringLiteral("Pуст, кВт"), QStringLiteral("Вт/м²"), QStringLiteral("L/h")};
}

QVector<ReportSection> build(const QVector<LightingRoom> &rooms, const Lighting::UtilisationTables &tables, int places)
{
    ReportTable table;
    for (const QString &h : columnHeaders())
        table.heading << ReportCell{h, true, false};
    ReportTable notes;
    notes.heading << ReportCell{QStringLiteral("Помещение"), true, false}
                  << ReportCell{QStringLiteral("Замечание"), true, false};
    long long luminaires = 0;
    double installed = 0;
    for (const LightingRoom &room : rooms) {
        const RoomLighting::Result r = RoomLighting::compute(room, tables);
        QStringList row(ColumnCount);
        row[Name] = room.name;
        row[Size] = dimension(room.length) + QStringLiteral(" × ") + dimension(room.width) + QStringLiteral(" × ")
                    + dimension(room.height);
        row[Reflectances] = room.ceiling.trimmed() + QLatin1Char('/') + room.walls.trimmed() + QLatin1Char('/')
                            + room.floor.trimmed();
        row[Norm] = room.illuminance;
        row[Maintenance] = room.maintenance;
        row[Uniformity] = room.uniformity;
        row[Curve] = room.curve;
        if (r.ok()) {
            row[Height] = NumberText::format(r.height);
            row[Flux] = NumberText::format(r.luminaireFlux);
            row[Power] = NumberText::format(r.luminairePower);
            row[Index] = NumberText::format(r.roomIndex);
            row[Eta] = NumberText::format(r.utilisation.eta);
            row[Count] = QString::number(r.chosen.count);
            row[Grid] = RoomLighting::gridText(r.chosen.grid);
            row[Illuminance] = NumberText::format(r.chosen.illuminance);
            row[Installed] = NumberText::format(r.chosen.installedPower / 1000);
            row[Density] = NumberText::format(r.chosen.powerDensity);
            row[Ratio] = NumberText::format(r.chosen.spacingRatio);
            luminaires += r.chosen.count;
            installed += r.chosen.installedPower / 1000;
            for (const QString &note : RoomLighting::notes(r))
                notes.rows << QStringList{room.name, note};
        } else {
            for (const Column c : {Height, Flux, Power, Index, Eta, Count, Grid, Illuminance, Installed, Density, Ratio})
                row[c] = QStringLiteral("-");
            row[Flux] = room.flux;
            row[Power] = room.power;
            notes.rows << QStringList{room.name, r.refusal->text};
        }
        table.rows << row;
    }
    QStringList totals(ColumnCount);
    totals[Name] = QStringLiteral("Итого");
    totals[Count] = QString::number(luminaires);
    totals[Installed] = NumberText::format(installed);
    table.totals << totals;
    for (const Column c : {Height, Index, Eta, Illuminance, Installed, Density, Ratio})
        table.setNumberColumn(c, places);
    for (const Column c : {Norm, Maintenance, Uniformity, Flux, Power, Count})
        table.markNumberColumn(c);

    QVector<ReportSection> sections{ReportSection{QString(), table}};
    if (!notes.rows.isEmpty())
        sections << ReportSection{QStringLiteral("Замечания"), notes};
    return sections;
}

bool run(ReportWriter &writer, const Project &project, const Lighting::UtilisationTables &tables, int places)
{
    writer.setProgressPlan(ReportWriter::kDefaultPlan);
    return writer.run(project.projectName, title(), defaultFileName(project.projectName),
                      [&project, &tables, places] { return build(project.rooms, tables, places); });
}

bool print(ReportWriter &writer, const Project &project, const Lighting::UtilisationTables &tables, int places)
{
    return writer.print(project.projectName, title(),
                        [&project, &tables, places] { return build(project.rooms, tables, places); });
}

} // namespace LightingReport
