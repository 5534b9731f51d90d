#pragma once

#include <QString>

// A room whose general lighting the project computes, with its luminaire.
// Values are kept as typed; the calculation reads and checks them.
struct LightingRoom {
    // Known to the loads it was handed to (Load::room); unique in the project.
    int id = 0;
    QString name;
    QString length; // A, m
    QString width; // B, m
    QString height; // H, m
    QString plane = QStringLiteral("0,8"); // working plane above the floor, m
    // The luminaire's place: its suspension below the ceiling, or (with
    // mountedHeight) its height above the floor, m.
    bool mountedHeight = false;
    QString hang = QStringLiteral("0");
    // Reflectances of ceiling, walls and working plane, per cent.
    QString ceiling = QStringLiteral("70");
    QString walls = QStringLiteral("50");
    QString floor = QStringLiteral("30");
    QString norm; // name in the norm list; empty for the user's own value
    QString illuminance = QStringLiteral("300"); // Eн, lx
    QString maintenance = QStringLiteral("1,5"); // Kз
    QString uniformity = QStringLiteral("1,1"); // z
    QString curve; // luminaire type: the name of its utilisation table
    // An LED luminaire is its own flux and power; a luminaire with lamps is
    // the flux and power of one lamp, the number of lamps and its efficiency.
    bool led = true;
    QString flux; // lm
    QString power; // W
    QString lamps = QStringLiteral("1");
    QString efficiency = QStringLiteral("100"); // per cent
    // The number of luminaires chosen by the user; empty: as computed.
    QString count;

    bool operator==(const LightingRoom &) const = default;
};
