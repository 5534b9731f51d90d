#pragma once

#include "calc/network/NetworkCalc.h"
#include "calc/network/NetworkTree.h"
#include "docs/writers/ReportWriter.h"

// The table that stands under a diagram of the distribution network: the bus
// ("ТП", the transformer's load and loading as its board), then one row per
// line in tree order, indented under the line it starts at, with its
// loads, its device and cable, its drops and the short-circuit currents at
// its end, the same values the network window shows.
namespace NetworkSchemeReport {

QString title(); // "Расчетная схема сети"
QString defaultFileName(const QString &projectName);

enum Column {
    Line = 0,
    Board, // the board at its end, a linked shield's name
    InstalledPower, // Pу, kW
    Coincidence, // Ко of its end, "-" where nothing is summed there
    DesignPower, // Pр, kW
    PowerFactor, // cos φ
    LoadCurrent, // Iр, A
    Device, // "C63"
    Cable, // mark, cores and section
    Length, // m
    PermissibleCurrent, // Iдоп, A
    LineDrop, // %
    DropFromBus, // %
    ThreePhaseMax, // Iк(3) max at the end, kA
    SinglePhaseMin, // Iк(1) min at the end, kA
    ColumnCount
};

ReportTable table(const Project &project, const Network::Tree &tree, const Network::Result &result, int places,
                  double maxVoltageDrop);
// The one table, without a caption.
QVector<ReportSection> build(const Project &project, const Network::Tree &tree, const Network::Result &result,
                             int places, double maxVoltageDrop);

// The project computed as the network window computes it, then the schedule
// through the writer (file choice, document, final message) or its printer.
bool run(ReportWriter &writer, const Project &project, const AppContext &context);
bool print(ReportWriter &writer, const Project &project, const AppContext &context);

} // namespace NetworkSchemeReport
