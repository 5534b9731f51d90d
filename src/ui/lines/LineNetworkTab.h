#pragma once

#include "base/CableLine.h"
#include "calc/network/NetworkTree.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
struct Project;

// The tab "Сеть" of the cable line dialog: where the line starts (the bus or
// the end of another line) and the board at its end.
class LineNetworkTab : public QWidget
{
    Q_OBJECT
public:
    explicit LineNetworkTab(QWidget *parent = nullptr);

    QComboBox *startList = nullptr; // data: the From the choice gives (0 the bus, else a line's id)
    QLabel *startNote = nullptr;
    QComboBox *boardList = nullptr; // editable; a shield's name links the shield
    QLineEdit *coincidenceEdit = nullptr; // Ко of the line's end
    QComboBox *phaseList = nullptr; // the phase of a single-phase line
    QCheckBox *networkLoadCheck = nullptr; // "Ток нагрузки: по сети"
    QLabel *networkLoadNote = nullptr; // the network's current and cos φ

    // The choices for line `line` of the project (-1: a line being added):
    // the bus and every line except this one and the lines below it, so that
    // no circle can be made; the board names in use and the shields. A line
    // is shown at its start, or where it is computed when it has none.
    void fill(const Project &project, int line);
    // Offers the choices again for a line being added, keeping what is chosen.
    void refill(const Project &project);

    // The user chose a start (picking even the entry already shown).
    bool startChosen() const { return m_startChosen; }
    // The Ко typed, nothing when it is no number in (0; 1].
    std::optional<double> coincidence() const;
    // The place the line gets: `before` with the chosen start and the board.
    LinePlace placeFor(const LinePlace &before) const;

private:
    void fillStarts(const Project &project, const Network::Tree &tree, int line, std::optional<int> shownFrom);
    void fillBoards(const Project &project, const QString &board);

    bool m_startChosen = false;
    QVector<std::pair<QString, int>> m_shields; // name and id of every shield
};
