#pragma once

#include "base/Project.h"
#include "docs/writers/ReportWriter.h"

// The cable journal the installer works from: one row per line of the
// network, its route and its cable by design, and empty columns for the
// cable actually laid, which the installer fills in.
namespace CableJournalReport {

QString title(); // "Кабельный журнал"
QString defaultFileName(const QString &projectName);

enum Column {
    Designation = 0, // the line's name
    RouteStart, // "ТП", the board at the end of the line it starts at
    RouteEnd, // the board at the line's end
    DesignMark,
    DesignCores, // cores and section, as entered: "4x16"
    DesignLength, // m, as entered
    LaidMark,
    LaidCores,
    LaidLength,
    ColumnCount
};
QStringList headings();

// The lines with a start in the network's tree order; after them, in list
// order, the lines whose start is not set or broken, with an empty route
// start, so that every cable to be laid is in the journal.
ReportTable build(const QVector<CableLine> &lines);

bool run(ReportWriter &writer, const Project &project);
bool print(ReportWriter &writer, const Project &project);

} // namespace CableJournalReport
