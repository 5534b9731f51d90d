#pragma once

#include "base/AppContext.h"
#include "base/Project.h"
#include "docs/writers/ReportWriter.h"

// The short-circuit schedule: the currents at the end of every checked line,
// the path to each point being the checked lines up to and including it.
namespace ShortCircuitReport {

QString title(); // "Сводная ведомость токов КЗ (упрощенный метод)"
// The project name + " - Ведомость токов КЗ"; no extension.
QString defaultFileName(const QString &projectName);

// Five columns: "Точка КЗ" (bold), then iy, Ik(3), Ik(2), Ik(1) in kA (bold
// italic). A single-phase line shows "-" for the first three currents. The
// sums of the path are carried along the list in one pass.
ReportTable build(const Project &project, const CalcValues &calc);

// The bar values of this report's steps.
ReportProgressPlan progressPlan();

// The report through the writer: the file choice, the document and the
// final message. The caller has checked that a transformer is chosen.
bool run(ReportWriter &writer, const Project &project, const CalcValues &calc);

} // namespace ShortCircuitReport
