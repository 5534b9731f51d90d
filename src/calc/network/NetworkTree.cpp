#include "calc/network/NetworkTree.h"

#include <algorithm>

namespace Network {

namespace {

// Node numbers of the child lists: 0 the bus, line i is i + 1.
int nodeOf(int line)
{
    return line + 1;
}

// At most this many lines are named in one message; a circle of 100 000
// lines is told, not listed.
constexpr int NamedLines = 6;

QString namesOf(const QVector<int> &which, const QVector<CableLine> &lines)
{
    QStringList names;
    for (int k = 0; k < which.size() && k < NamedLines; ++k)
        names << QStringLiteral("«") + lines.at(which.at(k)).name + QStringLiteral("»");
    QString text = names.join(QStringLiteral(", "));
    if (which.size() > NamedLines)
        text += QStringLiteral(" и еще ") + QString::number(which.size() - NamedLines);
    return text;
}

} // namespace

Tree Tree::build(const QVector<CableLine> &lines)
{
    Tree t;
    const int n = int(lines.size());
    t.m_parent.fill(Bus, n);
    t.m_start.fill(Start::NotSet, n);
    t.m_depth.fill(1, n);
    t.m_lineOfId.reserve(n);
    for (int i = 0; i < n; ++i) {
        const int id = lines.at(i).place.id;
        if (id <= 0)
            continue;
        auto it = t.m_lineOfId.find(id);
        if (it == t.m_lineOfId.end())
            t.m_lineOfId.insert(id, i);
        else
            *it = -1; // which of them a start means cannot be told
    }

    // Starts as set; a checked line without one continues the checked lines
    // without one, in list order, from the bus.
    Problem noSuchLine{Problem::Kind::NoSuchLine, {}};
    int previousChecked = Bus;
    for (int i = 0; i < n; ++i) {
        const CableLine &line = lines.at(i);
        if (!line.place.from) {
            if (line.checked) {
                t.m_parent[i] = previousChecked;
                t.m_start[i] = Start::CheckedOrder;
                previousChecked = i;
            }
            continue;
        }
        const int from = *line.place.from;
        if (from == 0) {
            t.m_start[i] = Start::Set;
            continue;
        }
        const int at = from > 0 ? t.m_lineOfId.value(from, -1) : -1;
        if (at < 0) {
            t.m_start[i] = Start::Broken;
            noSuchLine.lines << i;
            continue;
        }
        t.m_parent[i] = at;
        t.m_start[i] = Start::Set;
    }
    if (!noSuchLine.lines.isEmpty())
        t.m_problems << noSuchLine;

    // Circles: every line has one parent at most, so each walk up either
    // reaches the bus, a line already known, or itself. Lines in a circle
    // get no start; those below them keep theirs.
    {
        QVector<int> walk(n, 0); // the walk that passed a line; 0 none yet
        int walkNumber = 0;
        for (int i = 0; i < n; ++i) {
            if (walk.at(i) != 0)
                continue;
            ++walkNumber;
            int v = i;
            while (v != Bus && walk.at(v) == 0) {
                walk[v] = walkNumber;
                v = t.m_parent.at(v);
            }
            if (v == Bus || walk.at(v) != walkNumber)
                continue;
            Problem circle{Problem::Kind::Circle, {}};
            int u = v;
            do {
                circle.lines << u;
                u = t.m_parent.at(u);
            } while (u != v);
            std::sort(circle.lines.begin(), circle.lines.end());
            for (const int line : std::as_const(circle.lines)) {
                t.m_parent[line] = Bus;
                t.m_start[line] = Start::Broken;
            }
            t.m_problems << circle;
        }
    }

    // The lines at each node, in list order.
    t.m_firstChild.fill(0, n + 2);
    for (int i = 0; i < n; ++i)
        ++t.m_firstChild[nodeOf(t.m_parent.at(i)) + 1];
    for (int k = 1; k < t.m_firstChild.size(); ++k)
        t.m_firstChild[k] += t.m_firstChild.at(k - 1);
    t.m_children.resize(n);
    t.m_row.resize(n);
    {
        QVector<int> filled(n + 1, 0);
        for (int i = 0; i < n; ++i) {
            const int node = nodeOf(t.m_parent.at(i));
            t.m_row[i] = filled.at(node);
            t.m_children[t.m_firstChild.at(node) + filled[node]++] = i;
        }
    }

    // Depth first from the bus with a stack of our own.
    t.m_order.reserve(n);
    t.m_position.fill(0, n);
    QVector<int> stack;
    stack.reserve(n + 1);
    stack << Bus;
    while (!stack.isEmpty()) {
        const int node = stack.takeLast();
        if (node != Bus) {
            t.m_position[node] = int(t.m_order.size());
            t.m_order << node;
            const int up = t.m_parent.at(node);
            t.m_depth[node] = up == Bus ? 1 : t.m_depth.at(up) + 1;
        }
        const int k = nodeOf(node);
        for (int c = t.m_firstChild.at(k + 1) - 1; c >= t.m_firstChild.at(k); --c)
            stack << t.m_children.at(c);
    }
    // A line's lines below follow it in the order: their count is all it takes.
    t.m_subtreeSize.fill(1, n);
    for (int p = n - 1; p >= 0; --p) {
        const int line = t.m_order.at(p);
        if (const int up = t.m_parent.at(line); up != Bus)
            t.m_subtreeSize[up] += t.m_subtreeSize.at(line);
    }
    return t;
}

bool Tree::hasStart(int line) const
{
    const Start s = m_start.at(line);
    return s == Start::Set || s == Start::CheckedOrder;
}

int Tree::childCount(int node) const
{
    const int k = nodeOf(node);
    if (k < 0 || k + 1 >= m_firstChild.size())
        return 0;
    return m_firstChild.at(k + 1) - m_firstChild.at(k);
}

int Tree::child(int node, int k) const
{
    return m_children.at(m_firstChild.at(nodeOf(node)) + k);
}

bool Tree::isDownstream(int line, int of) const
{
    const int from = m_position.at(of);
    const int at = m_position.at(line);
    return at >= from && at < from + m_subtreeSize.at(of);
}

QVector<int> Tree::pathTo(int line) const
{
    QVector<int> path;
    path.reserve(m_depth.at(line));
    for (int v = line; v != Bus; v = m_parent.at(v))
        path << v;
    std::reverse(path.begin(), path.end());
    return path;
}

int Tree::lineOfId(int id) const
{
    return m_lineOfId.value(id, -1);
}

QStringList problemTexts(const Tree &tree, const QVector<CableLine> &lines)
{
    QStringList texts;
    for (const Problem &p : tree.problems()) {
        const bool one = p.lines.size() == 1;
        const QString names = namesOf(p.lines, lines);
        if (p.kind == Problem::Kind::NoSuchLine)
            texts << (one ? QStringLiteral("линия ") + names + QStringLiteral(" начинается в конце линии, которой нет")
                          : QStringLiteral("линии ") + names
                                + QStringLiteral(" начинаются в конце линии, которой нет"));
        else
            texts << (one ? QStringLiteral("линия ") + names + QStringLiteral(" начинается в своем же конце")
                          : QStringLiteral("линии ") + names + QStringLiteral(" образуют круг"));
    }
    return texts;
}

void addPlaceProblems(const QVector<CableLine> &lines, ProjectFile::ReadResult &result)
{
    const Tree tree = Tree::build(lines);
    for (const QString &text : problemTexts(tree, lines))
        ProjectFile::addProblem(result, text);
}

} // namespace Network
