#pragma once

#include "docs/writers/ReportWriter.h"
#include "calc/shortcircuit/FaultCurrents.h"

// The schedule of the short-circuit currents by ГОСТ 28249-93: one row per
// point (the substation's terminals, then every line of the network in tree
// order, indented under the line it starts at), the columns of the window.
namespace FaultCurrentsReport {

QString title(); // "Ведомость токов КЗ (ГОСТ 28249-93)"
// The project name + " - Ведомость токов КЗ (ГОСТ 28249-93)"; no extension.
QString defaultFileName(const QString &projectName);

ReportTable build(const FaultCurrents::Result &result, int places);

// The schedule through the writer: the file choice, the document and the final message.
bool run(ReportWriter &writer, const QString &projectName, const FaultCurrents::Result &result, int places);
// The same document handed to the writer's printer.
bool print(ReportWriter &writer, const QString &projectName, const FaultCurrents::Result &result, int places);

} // namespace FaultCurrentsReport
