#pragma once

#include "docs/writers/ReportWriter.h"
#include "calc/shortcircuit/FaultCurrents.h"

// The schedule of the short-circuit currents by ГОСТ 28249-93: first the
// inputs of the calculation as entered, then one row per point (the
// substation's terminals, then every line of the network in tree order,
// indented under the line it starts at) with the sums of the sequence
// impedances to the point beside its currents.
namespace FaultCurrentsReport {

QString title(); // "Ведомость токов КЗ (ГОСТ 28249-93)"
// The project name + " - Ведомость токов КЗ (ГОСТ 28249-93)"; no extension.
QString defaultFileName(const QString &projectName);

// The inputs: parameter, value as entered, unit.
ReportTable inputsTable(const Project &project);
// The points: the name, R1Σ, X1Σ, R0Σ, X0Σ (mOhm, cold conductors, as the
// maximum currents take them), then the currents of the window.
ReportTable pointsTable(const FaultCurrents::Result &result, int places);

// The two tables under their captions "Исходные данные" and "Токи КЗ в точках сети".
QVector<ReportSection> build(const Project &project, const FaultCurrents::Result &result, int places);

// The schedule through the writer: the file choice, the document and the final message.
bool run(ReportWriter &writer, const Project &project, const FaultCurrents::Result &result, int places);
// The same document handed to the writer's printer.
bool print(ReportWriter &writer, const Project &project, const FaultCurrents::Result &result, int places);

} // namespace FaultCurrentsReport
