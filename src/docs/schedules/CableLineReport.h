#pragma once

#include "calc/lines/LineCalc.h"
#include "docs/writers/ReportTable.h"

#include <QVector>

// The cable line schedule: the checked lines of the list with the columns the
// user picked.
namespace CableLineReport {

QString defaultTitle(); // "Ведомость кабельных линий"
// The project name + " - " + the title as typed; no extension.
QString defaultFileName(const QString &projectName, const QString &title);

// The columns the schedule can show: the ten of the line list, then what the
// lines keep beyond it (the power factor, the reactance and the protective
// device; empty for lines kept without them).
QStringList columnHeaders();
// The ten columns of the list, which a schedule shows unless others are picked.
constexpr int ListColumnCount = 10;

// One heading per selected column, in column order, bold; one row per checked
// line, in list order, with the texts of those columns; then, when the
// voltage drop is among them, the row "Итого" with the total drop of the
// checked lines. `selected` holds one flag per column; missing flags count
// as unselected. Computed numbers show `places` decimals; what the user
// entered (length, load current, voltage, cos φ) keeps its text.
ReportTable build(const QVector<CableLine> &lines, const QVector<bool> &selected, int places);

} // namespace CableLineReport
