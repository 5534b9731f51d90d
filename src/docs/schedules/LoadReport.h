#pragma once

#include "base/AppContext.h"
#include "base/Project.h"
#include "docs/writers/ReportWriter.h"

// The load schedule: one table per shield with its loads in list order (the
// ten columns of the shields window) and its totals below them.
namespace LoadReport {

QString title(); // "Расчетная нагрузка щитов"
// The project name + " - Расчетная нагрузка щитов"; no extension.
QString defaultFileName(const QString &projectName);

// The columns of the loads list with their units.
QStringList headings();

// Per shield, under its name: the loads, then the totals "Итого" (installed,
// design and apparent power, current, power factor in their columns), the
// phases A, B, C (apparent power and current), the neutral current and the
// imbalance of the phases (in the current column). What the user entered
// (installed power, cos φ, Kс, phases, efficiency) as entered; computed
// numbers with `places` decimals.
QVector<ReportSection> build(const QVector<Shield> &shields, int places);

// The report through the writer: the file choice, the document and the final message.
bool run(ReportWriter &writer, const Project &project, const CalcValues &calc);
// The same document handed to the writer's printer.
bool print(ReportWriter &writer, const Project &project, const CalcValues &calc);

} // namespace LoadReport
