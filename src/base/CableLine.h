#pragma once

#include "base/LineInputs.h"

#include <QString>
#include <QStringList>

#include <optional>

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

    CableLine();
    QString cell(int index) const { return index >= 0 && index < cells.size() ? cells.at(index) : QString(); }
    // The text of list column `column` (0 = name, 1..9 = cells).
    QString column(int column) const { return column == 0 ? name : cell(column - 1); }
    bool operator==(const CableLine &o) const = default;
};
