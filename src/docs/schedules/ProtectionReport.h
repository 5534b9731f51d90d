#pragma once

#include "base/AppContext.h"
#include "calc/protection/Protection.h"
#include "docs/writers/ReportWriter.h"

#include <optional>

// The schedule of protective devices: one row per line of the network, in
// tree order and indented under the line it starts at, with the columns of the window.
namespace ProtectionReport {

QString title(); // "Ведомость защитных аппаратов"
QString defaultFileName(const QString &projectName);

// The short-circuit currents by ГОСТ 28249-93 and the checks of the project;
// nothing, with the message for the user, when the currents cannot be had.
std::optional<Protection::Result> checkProject(const Project &project, const AppContext &context, QString *message);

ReportTable build(const Protection::Result &result, int places);
bool run(ReportWriter &writer, const QString &projectName, const Protection::Result &result, int places);
bool print(ReportWriter &writer, const QString &projectName, const Protection::Result &result, int places);

} // namespace ProtectionReport
