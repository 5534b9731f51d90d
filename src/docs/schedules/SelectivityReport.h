#pragma once

#include "calc/selectivity/Selectivity.h"
#include "docs/writers/ReportWriter.h"

// The schedule "Селективность защитных аппаратов": one row per pair of
// devices in series, in tree order, with the verdict; then, for the pairs
// that are not selective in full, where the curves meet and what would help.
namespace SelectivityReport {

QString title(); // "Селективность защитных аппаратов"
QString defaultFileName(const QString &projectName);

QVector<ReportSection> build(const Project &project, const Selectivity::Result &result, int places);

bool run(ReportWriter &writer, const Project &project, const Selectivity::Result &result, int places);
bool print(ReportWriter &writer, const Project &project, const Selectivity::Result &result, int places);

} // namespace SelectivityReport
