#pragma once

#include "lines/LineCalc.h"
#include "reports/RtfDocument.h"

#include <QVector>

// The cable line schedule: the checked lines of the list with the columns the
// user picked.
namespace CableLineReport {

QString defaultTitle(); // "Ведомость кабельных линий"
// The project name + " - " + the title as typed; no extension.
QString defaultFileName(const QString &projectName, const QString &title);

// One heading per selected column of the line list, in column order, bold;
// one row per checked line, in list order, with the texts of those columns.
// `selected` holds one flag per list column; missing flags count as unselected.
ReportTable build(const QVector<CableLine> &lines, const QVector<bool> &selected);

} // namespace CableLineReport
