#pragma once

#include "base/CableLine.h"
#include "base/ProjectFile.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// The network as a tree: the substation's 0,4 kV bus at the root, every line
// under the line at whose end it starts. Built once from the project's lines
// (their places and check marks), in time linear in their number, without
// recursion; the list's order is kept among the lines that start at one node.
namespace Network {

// The bus as a parent: what parent() gives for a line starting at the bus.
constexpr int Bus = -1;

// How a line came by its start.
enum class Start {
    Set, // its From names the bus or a line
    CheckedOrder, // not set, checked: at the end of the previous such checked line (the path of older versions)
    NotSet, // not set, unchecked: no start yet, computed as starting at the bus
    Broken, // names no line or closes a circle: no start, computed at the bus
};

// What is wrong with the places of some lines.
struct Problem {
    enum class Kind { NoSuchLine, Circle };
    Kind kind = Kind::NoSuchLine;
    QVector<int> lines; // in list order
};

class Tree
{
public:
    Tree() = default;
    static Tree build(const QVector<CableLine> &lines);

    int lineCount() const { return int(m_parent.size()); }
    // Bus or the index (in the list) of the line a line starts at.
    int parent(int line) const { return m_parent.at(line); }
    Start start(int line) const { return m_start.at(line); }
    // A start set or given by the checked lines' order; the others are
    // "начало не задано" and computed at the bus.
    bool hasStart(int line) const;
    // 1 for a line at the bus, 2 for one at the end of such a line, ...
    int depth(int line) const { return m_depth.at(line); }

    // Every line once, depth first from the bus, the lines starting at one
    // node in list order: a line always comes after the line it starts at.
    const QVector<int> &order() const { return m_order; }
    int positionInOrder(int line) const { return m_position.at(line); }

    // The lines starting at a node (Bus or a line), in list order.
    int childCount(int node) const;
    int child(int node, int k) const;
    // The position of a line among the lines starting where it starts.
    int rowAtParent(int line) const { return m_row.at(line); }

    // Whether `line` is `of` or lies below it (starts at its end, or at the
    // end of a line below it): the lines `of` may not start at.
    bool isDownstream(int line, int of) const;
    // The lines from the bus down to `line`, `line` last.
    QVector<int> pathTo(int line) const;
    // The line with an id; -1 when none has it (or, in a list that is not
    // sound, more than one has).
    int lineOfId(int id) const;

    const QVector<Problem> &problems() const { return m_problems; }

private:
    QVector<int> m_parent;
    QVector<Start> m_start;
    QVector<int> m_depth;
    QVector<int> m_order;
    QVector<int> m_position;
    QVector<int> m_subtreeSize;
    QVector<int> m_row;
    // The lines starting at each node: node k (0 = the bus, line i = i + 1)
    // holds m_children[m_firstChild[k] .. m_firstChild[k + 1]).
    QVector<int> m_firstChild;
    QVector<int> m_children;
    QHash<int, int> m_lineOfId; // -1 for an id that more than one line holds
    QVector<Problem> m_problems;
};

// The problems as the user is told them: "линии «…» начинаются в конце линии,
// которой нет", "линии «…» образуют круг".
QStringList problemTexts(const Tree &tree, const QVector<CableLine> &lines);

// What an opened project's places have wrong, told with the file's other damage.
void addPlaceProblems(const QVector<CableLine> &lines, ProjectFile::ReadResult &result);

} // namespace Network
