#pragma once

#include "base/AppContext.h"
#include "calc/protection/Protection.h"
#include "docs/writers/ReportWriter.h"

#include <optional>

// The schedule of protective devices: one row per checked line with the
// columns of the window.
namespace ProtectionReport {

QString title(); // "Ведомость защитных аппаратов"
QString defaultFileName(const QString &projectName);

// The short-circuit currents by ГОСТ 28249-93 and the checks of the project;
// nothing, with the message for the user, when the currents cannot be had.
// With `chooseMissing`, lines without a device get the one "Подобрать" chooses.
std::optional<Protection::Result> checkProject(const Project &project, const AppContext &context, QString *message,
                                               bool chooseMissing = false);

ReportTable build(const Protection::Result &result, int places);
bool run(ReportWriter &writer, const QString &projectName, const Protection::Result &result, int places);
bool print(ReportWriter &writer, const QString &projectName, const Protection::Result &result, int places);

} // namespace ProtectionReport
