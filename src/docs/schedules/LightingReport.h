#pragma once

#include "base/Project.h"
#include "calc/lighting/UtilisationTables.h"
#include "docs/writers/ReportWriter.h"

// "Светотехнический расчет": one row per room of the project with its inputs
// and results, then the notes and refusals of the rooms.
namespace LightingReport {

QString title(); // "Светотехнический расчет"
QString defaultFileName(const QString &projectName);
QStringList columnHeaders();

// The rooms table with the totals (luminaires and installed power), then,
// when any room has one, the table of notes: a room that cannot be computed
// shows its inputs, "-" for its results and why in the notes.
QVector<ReportSection> build(const QVector<LightingRoom> &rooms, const Lighting::UtilisationTables &tables, int places);

bool run(ReportWriter &writer, const Project &project, const Lighting::UtilisationTables &tables, int places);
bool print(ReportWriter &writer, const Project &project, const Lighting::UtilisationTables &tables, int places);

} // namespace LightingReport
