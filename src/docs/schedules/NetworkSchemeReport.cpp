#include "docs/schedules/NetworkSchemeReport.h"

#include "base/NumberText.h"
#include "calc/network/NetworkTexts.h"

namespace NetworkSchemeReport {

QString title()
{
    return QStringLiteral("Расчетная схема сети");
}

QString defaultFileName(const QString &projectName)
{
    return projectName + QStringLiteral(" - ") + title();
}

ReportTable table(const Project &project, const Network::Tree &tree, const Network::Result &result, int places,
                  double maxVoltageDrop)
{
    ReportTable t;
    t.heading << ReportCell{QStringLiteral("Линия"), true, false}
              << ReportCell{QStringLiteral("Щит в конце линии"), true, false};
    for (const char *heading : {"Pу, кВт", "Ко", "Pр, кВт", "cos φ", "Iр, А"})
        t.heading << ReportCell{QString::fromUtf8(heading), true, true};
    t.heading << ReportCell{QStringLiteral("Защитный аппарат"), true, false}
              << ReportCell{QStringLiteral("Кабель"), true, false};
    for (const char *heading : {"Длина, м", "Iдоп, А", "ΔU линии, %", "ΔU от шин ТП, %", "Iк(3) max в конце, кА",
                                "Iк(1) min в конце, кА"})
        t.heading << ReportCell{QString::fromUtf8(heading), true, true};
    // The bus first, as the network window shows it: the transformer's load
    // and loading in the board column, the currents at its terminals.
    const Network::RowTexts bus = Network::busRow(result, places);
    const QString dash = QStringLiteral("-");
    t.rows << QStringList{bus.name, bus.board, bus.installedPower, dash, bus.designPower, bus.powerFactor, dash, dash,
                          dash, dash, dash, dash, dash, bus.threePhaseMax, bus.singlePhaseMin};
    for (const int line : tree.order()) {
        const Network::RowTexts row = Network::lineRow(project, tree, result, line, places, maxVoltageDrop);
        // Ко acts only where loads are summed at the line's end.
        const Network::LineLoad &load = result.loads.lines.at(line);
        const QString coincidence =
            load.fed ? NumberText::format(project.lines.at(line).place.coincidence) : QStringLiteral("-");
        t.rows << QStringList{Network::indentedName(row.name, row.level),
                              row.board,
                              row.installedPower,
                              coincidence,
                              row.designPower,
                              row.powerFactor,
                              row.loadCurrent,
                              row.device,
                              row.cable,
                              row.length,
                              row.permissibleCurrent,
                              row.lineDrop,
                              row.dropFromBus,
                              row.threePhaseMax,
                              row.singlePhaseMin};
    }
    for (const int c : {InstalledPower, DesignPower, LoadCurrent, PermissibleCurrent, LineDrop, DropFromBus,
                        ThreePhaseMax, SinglePhaseMin})
        t.setNumberColumn(c, places);
    t.setNumberColumn(PowerFactor, 2);
    // Texts as entered: they keep their own digits and stand right.
    t.markNumberColumn(Coincidence);
    t.markNumberColumn(Length);
    return t;
}

QVector<ReportSection> build(const Project &project, const Network::Tree &tree, const Network::Result &result,
                             int places, double maxVoltageDrop)
{
    return {ReportSection{QString(), table(project, tree, result, places, maxVoltageDrop)}};
}

namespace {

template<typename Write>
bool withComputed(const Project &project, const AppContext &context, const Write &write)
{
    const Network::Tree tree = Network::Tree::build(project.lines);
    const Network::Result result = Network::compute(project, tree, context.calc, Network::Sources::load(project, context));
    const int places = context.calc.places();
    const double limit = context.calc.maxVoltageDrop;
    return write(ReportWriter::SectionsBuilder([&] { return build(project, tree, result, places, limit); }));
}

} // namespace

bool run(ReportWriter &writer, const Project &project, const AppContext &context)
{
    return withComputed(project, context, [&](const ReportWriter::SectionsBuilder &sections) {
        return writer.run(project.projectName, title(), defaultFileName(project.projectName), sections);
    });
}

bool print(ReportWriter &writer, const Project &project, const AppContext &context)
{
    return withComputed(project, context,
                        [&](const ReportWriter::SectionsBuilder &sections) { return writer.print(project.projectName, title(), sections); });
}

} // namespace NetworkSchemeReport
