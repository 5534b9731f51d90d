#pragma once

#include "base/Project.h"
#include "calc/lines/NetworkSummary.h"
#include "calc/network/NetworkTree.h"

#include <QString>
#include <QVector>

#include <optional>

// The checked lines, which the summary, the simplified short-circuit window
// and its schedule take as one path of the network from the bus: the path
// they form, or the line where they stop forming one.
namespace Network {

struct CheckedPath {
    QVector<int> lines; // the checked lines from the bus down, as far as they form one path
    bool isPath = true;
    // Where it breaks: `breakLine` starts where `sameStart` starts too, or
    // (sameStart -1) does not start at the end of the path's last line.
    int breakLine = -1;
    int sameStart = -1;
};

CheckedPath checkedPath(const QVector<CableLine> &lines, const Tree &tree);

// "Отмеченные линии не образуют один путь сети", as the status bar says it.
QString notOnePathText();
// The same with the line where the path breaks, for the windows that refuse.
QString pathBreakMessage(const CheckedPath &path, const QVector<CableLine> &lines, const Tree &tree);

// The status bar: the total drop and the warnings of the checked lines; when
// they are not one path, that instead of the limit, which no path's drop is.
SummaryText summarize(const QVector<CableLine> &lines, const Tree &tree, double maxVoltageDrop);
SummaryText summarize(const QVector<CableLine> &lines, double maxVoltageDrop);

// The project as the simplified short-circuit calculation chains it: the
// checked lines in the order of their path, in the places the checked lines
// hold in the list (a list in path order, as every older project's, stays as
// it is). Nothing, with the message naming the break, when they are no path.
std::optional<Project> checkedPathProject(const Project &project, QString *message);

// "Отметить путь до линии": exactly the lines from the bus to `line` checked.
// The starts that only the checked lines' order gave are set first, so that
// no line moves when the marks change.
QVector<CableLine> markedPath(const QVector<CableLine> &lines, const Tree &tree, int line);
// Every start given by the checked lines' order, set as it stands.
void setCheckedOrderStarts(QVector<CableLine> &lines, const Tree &tree);

// The lines starting at the end of `line` once it is deleted: they start
// where it started (or get no start when it had none). Row and new line, by
// the rows of the list before the deletion.
QVector<std::pair<int, CableLine>> reattachedOnDelete(const QVector<CableLine> &lines, const Tree &tree, int line);

// What a line's From is when it starts at `node` (Bus or a line).
std::optional<int> fromOf(const QVector<CableLine> &lines, int node);

} // namespace Network
