#pragma once

#include "base/AppContext.h"
#include "calc/protection/Protection.h"
#include "docs/writers/ReportWriter.h"

#include <optional>

// The schedule of protective devices: one row per line of the network, in
// tree order and indented under the line it starts at, with the figures
// behind every verdict, grouped with the check they decide, and the reasons
// of the failed checks in words.
namespace ProtectionReport {

QString title(); // "Ведомость защитных аппаратов"
QString defaultFileName(const QString &projectName);

// The short-circuit currents by ГОСТ 28249-93 and the checks of the project;
// nothing, with the message for the user, when the currents cannot be had.
// With `chooseMissing`, lines without a device get the one "Подобрать" chooses.
std::optional<Protection::Result> checkProject(const Project &project, const AppContext &context, QString *message,
                                               bool chooseMissing = false);

// The columns of the checks' table; a check's verdict stands under its
// condition, after the figures it compares.
enum Column {
    Line = 0,
    LoadCurrent, // Iр, A, as entered
    Device, // "C25", "250А 10In"
    PermissibleCurrent, // Iz, A
    Overload, // "Iр≤Iн≤Iz"
    BreakingCapacity, // Icu, kA, as the device table gives it
    MaximumCurrent, // Iк(3) max at the line's start, kA
    Breaking, // "Iк(3)≤Icu"
    MinimumCurrent, // Iк(1) min at the line's end, kA
    TripCurrent, // Iа, the current that surely trips the device at once, A
    TripTime, // the disconnection time the thermal check takes, s
    Disconnection, // "Iк(1)≥Iа"
    ThermalCriterion, // "S min" or "I²t"
    Section, // the cable's, mm², as entered
    MinimumSection, // mm²
    Thermal, // "S≥S min"
    ColumnCount
};
QStringList headings();

// The checks, one row per line of `result`, every "нет" and the figure that
// fails it in bold red; then, when a check failed, the table
// "Причины невыполнения проверок": the line, the check and its reason in words.
QVector<ReportSection> build(const Protection::Result &result, int places);

bool run(ReportWriter &writer, const QString &projectName, const Protection::Result &result, int places);
bool print(ReportWriter &writer, const QString &projectName, const Protection::Result &result, int places);

} // namespace ProtectionReport
