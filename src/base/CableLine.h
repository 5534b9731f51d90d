#pragma once

#include "base/LineInputs.h"

#include <QString>
#include <QStringList>

#include <optional>

// Where a line sits in the network: its own number, the node it starts at and
// the board at its end. The list's order is not the network's.
struct LinePlace {
    // A start that names no line: what a file gave that is not a number.
    static constexpr int NoSuchLine = -1;
    // Positive and unique in the project, never given twice; 0 until the
    // project gives one (a line made outside the list).
    int id = 0;
    // Absent: not set (a checked line then continues the checked lines in
    // list order, as the path of older versions); 0: the substation's bus;
    // otherwise the id of the line at whose end this one starts.
    std::optional<int> from;
    QString board; // the board at the line's end, as typed; may be empty
    // What the line feeds: the Id of the shield at its end (0: none), the
    // coincidence factor Ко of its end (0 < Ко <= 1), the phase of a
    // single-phase line ("A", "B" or "C"), and whether its load current comes
    // from the network (else the typed one stands).
    int shield = 0;
    double coincidence = 1;
    QString phase = QStringLiteral("A");
    bool networkLoad = true;
    bool operator==(const LinePlace &o) const = default;
    // Ко is a share of the loads' sum: above 0, at most 1.
    static bool coincidenceAccepted(double k) { return k > 0 && k <= 1; }
};

// One row of the cable line list. The row is its own store: every value is
// kept as the text shown in its column.
struct CableLine {
    enum Cell {
        Mark = 0,
        Cores = 1,
        Material = 2,
        Length = 3,
        Resistance = 4,
        LoadCurrent = 5,
        PermissibleCurrent = 6,
        VoltageDrop = 7,
        Voltage = 8,
        CellCount = 9
    };

    QString name;
    QStringList cells; // CellCount texts, columns 2..10 of the list
    bool checked = false;
    // Lines entered before their inputs were kept have none.
    std::optional<LineInputs> inputs;
    LinePlace place;

    CableLine();
    QString cell(int index) const { return index >= 0 && index < cells.size() ? cells.at(index) : QString(); }
    // The text of list column `column` (0 = name, 1..9 = cells).
    QString column(int column) const { return column == 0 ? name : cell(column - 1); }
    bool operator==(const CableLine &o) const = default;
};
