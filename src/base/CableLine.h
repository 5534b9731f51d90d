#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the line dialog was given for a line, beyond what the row's texts
// show: kept with the line so that the dialog can show it again exactly and a
// recompute can run it through today's tables and settings.
struct LineInputs {
    bool threePhase = true; // 380 V three-phase, else 220 V single-phase
    int construction = 2; // position in the construction list of the network
    int laying = 0; // 0 in air, 1 in the ground (three-phase cables)
    QString material; // "Алюминий" or "Медь"
    bool neutral = false; // a separate neutral core
    QString neutralSection; // its entry of the neutral-section list
    QString mark;
    QString loadCurrent; // as typed or picked ("ЩО1 - 25,5А")
    QString cosPhi = QStringLiteral("1"); // power factor of the load, as typed
    QString ambient; // ambient temperature, °C, as typed; empty: the tables' own
    int cables = 1; // working cables side by side in one trench
    int spacing = 100; // their clear distance, mm
    QString reactance = QStringLiteral("0"); // the line's reactance as computed, mOhm
    // The protective device at the line's start: its characteristic ("C",
    // "10In", ...; empty for none) and rated current, A; the disconnection
    // time, s, as typed (empty: what the check of disconnection gives).
    QString device;
    QString deviceRating;
    QString tripTime;
    bool operator==(const LineInputs &o) const = default;
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

    CableLine();
    QString cell(int index) const { return index >= 0 && index < cells.size() ? cells.at(index) : QString(); }
    // The text of list column `column` (0 = name, 1..9 = cells).
    QString column(int column) const { return column == 0 ? name : cell(column - 1); }
    bool operator==(const CableLine &o) const = default;
};
