#include "calc/network/CheckedPath.h"

#include <limits>

namespace Network {

namespace {

QString quoted(const QString &name)
{
    return QStringLiteral("«") + name + QStringLiteral("»");
}

QString nodeText(const QVector<CableLine> &lines, int node)
{
    return node == Bus ? QStringLiteral("на шинах ТП") : QStringLiteral("в конце линии ") + quoted(lines.at(node).name);
}

} // namespace

CheckedPath checkedPath(const QVector<CableLine> &lines, const Tree &tree)
{
    CheckedPath path;
    int checked = 0;
    for (const CableLine &line : lines)
        checked += line.checked ? 1 : 0;
    // Down from the bus while one checked line with a start goes on.
    int node = Bus;
    while (true) {
        int next = -1;
        for (int k = 0; k < tree.childCount(node); ++k) {
            const int c = tree.child(node, k);
            if (!lines.at(c).checked || !tree.hasStart(c))
                continue;
            if (next >= 0) {
                path.isPath = false;
                path.breakLine = c;
                path.sameStart = next;
                return path;
            }
            next = c;
        }
        if (next < 0)
            break;
        path.lines << next;
        node = next;
    }
    if (path.lines.size() == checked)
        return path;
    // The first checked line off the path, nearest the bus: the line it starts
    // at is not checked, or it has no start.
    path.isPath = false;
    QVector<bool> onPath(lines.size(), false);
    for (const int i : std::as_const(path.lines))
        onPath[i] = true;
    for (const int i : tree.order()) {
        if (lines.at(i).checked && !onPath.at(i)) {
            path.breakLine = i;
            break;
        }
    }
    return path;
}

QString notOnePathText()
{
    return QStringLiteral("Отмеченные линии не образуют один путь сети");
}

QString pathBreakMessage(const CheckedPath &path, const QVector<CableLine> &lines, const Tree &tree)
{
    if (path.isPath || path.breakLine < 0)
        return QString();
    const int line = path.breakLine;
    QString detail;
    if (path.sameStart >= 0)
        detail = QStringLiteral("линии ") + quoted(lines.at(path.sameStart).name) + QStringLiteral(" и ")
                 + quoted(lines.at(line).name) + QStringLiteral(" обе начинаются ") + nodeText(lines, tree.parent(line));
    else if (!tree.hasStart(line))
        detail = QStringLiteral("у линии ") + quoted(lines.at(line).name) + QStringLiteral(" не задано начало");
    else
        detail = QStringLiteral("линия ") + quoted(lines.at(line).name) + QStringLiteral(" начинается ")
                 + nodeText(lines, tree.parent(line)) + QStringLiteral(", а эта линия не отмечена");
    return notOnePathText() + QStringLiteral(": ") + detail + QStringLiteral(".");
}

SummaryText summarize(const QVector<CableLine> &lines, const Tree &tree, double maxVoltageDrop)
{
    SummaryText text = summarizeNetwork(lines, maxVoltageDrop);
    if (checkedPath(lines, tree).isPath)
        return text;
    // The overload warning stays; the limit is a path's, and this is none.
    text = summarizeNetwork(lines, std::numeric_limits<double>::infinity());
    if (!text.panel2.isEmpty() && !text.panel2.endsWith(QLatin1Char(' ')))
        text.panel2 += QLatin1Char(' ');
    text.panel2 += notOnePathText();
    return text;
}

SummaryText summarize(const QVector<CableLine> &lines, double maxVoltageDrop)
{
    return summarize(lines, Tree::build(lines), maxVoltageDrop);
}

std::optional<Project> checkedPathProject(const Project &project, QString *message)
{
    const Tree tree = Tree::build(project.lines);
    const CheckedPath path = checkedPath(project.lines, tree);
    if (!path.isPath) {
        if (message)
            *message = pathBreakMessage(path, project.lines, tree);
        return std::nullopt;
    }
    Project chained = project;
    int k = 0;
    for (int i = 0; i < project.lines.size(); ++i)
        if (project.lines.at(i).checked)
            chained.lines[i] = project.lines.at(path.lines.at(k++));
    return chained;
}

std::optional<int> fromOf(const QVector<CableLine> &lines, int node)
{
    if (node == Bus)
        return 0;
    const int id = lines.at(node).place.id;
    if (id <= 0)
        return std::nullopt; // a line without an id cannot be named
    return id;
}

void setCheckedOrderStarts(QVector<CableLine> &lines, const Tree &tree)
{
    for (int i = 0; i < lines.size(); ++i)
        if (tree.start(i) == Start::CheckedOrder)
            lines[i].place.from = fromOf(lines, tree.parent(i));
}

QVector<CableLine> markedPath(const QVector<CableLine> &lines, const Tree &tree, int line)
{
    QVector<CableLine> marked = lines;
    setCheckedOrderStarts(marked, tree);
    for (CableLine &l : marked)
        l.checked = false;
    for (const int i : tree.pathTo(line))
        marked[i].checked = true;
    return marked;
}

QVector<std::pair<int, CableLine>> reattachedOnDelete(const QVector<CableLine> &lines, const Tree &tree, int line)
{
    QVector<std::pair<int, CableLine>> changed;
    const std::optional<int> from = tree.hasStart(line) ? fromOf(lines, tree.parent(line)) : std::nullopt;
    for (int k = 0; k < tree.childCount(line); ++k) {
        const int c = tree.child(line, k);
        // A checked line without a start of its own follows the checked order anyway.
        if (tree.start(c) != Start::Set)
            continue;
        CableLine moved = lines.at(c);
        moved.place.from = from;
        changed << std::pair{c, moved};
    }
    return changed;
}

} // namespace Network
