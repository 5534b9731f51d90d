#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// One consumer of a shield: its name and nine cell texts, kept as displayed.
struct Load {
    enum Cell {
        InstalledPower = 0,
        PowerFactor = 1,
        DemandFactor = 2,
        DesignPower = 3,
        ApparentPower = 4,
        Current = 5,
        Phase = 6,
        Phases = 7,
        Efficiency = 8,
        CellCount = 9
    };

    QString name;
    QStringList cells;
    // The Id of the room whose luminaires this load is (kept linked to it:
    // a change of the room changes the load); 0 for a load of its own.
    int room = 0;

    Load();
    QString cell(int index) const { return index >= 0 && index < cells.size() ? cells.at(index) : QString(); }
    QString column(int column) const { return column == 0 ? name : cell(column - 1); }
    bool operator==(const Load &o) const = default;
};

// A distribution board: a name and its loads in list order.
struct Shield {
    QString name;
    QVector<Load> loads;
    bool operator==(const Shield &o) const = default;
};
