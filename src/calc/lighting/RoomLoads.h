#pragma once

#include "base/Project.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// The luminaires of a room handed to a shield as its loads. The loads carry
// the room's Id (Load::room), so the link holds wherever the loads go: a
// shield renamed, moved or sorted keeps them, and a change of the room
// reaches them in whatever shield they are.
namespace RoomLoads {

// How the luminaires are spread over the phases.
enum class Spread { ThreePhase, EvenlyABC, PhaseA, PhaseB, PhaseC };

// The captions of the spreads, in the order of the enumeration.
QStringList spreadCaptions();

struct Transfer {
    int shield = 0; // position in the project's shields
    QString cosPhi; // as the load dialog takes them
    QString demandFactor;
    Spread spread = Spread::EvenlyABC;
};

// "Освещение " + the room's name.
QString loadName(const LightingRoom &room);

// n split into `parts` shares that differ by at most one, larger ones first.
QVector<int> split(int n, int parts);

// The loads of `count` luminaires of `luminairePower` W each, linked to the
// room: one three-phase load, one single-phase load, or one per phase with
// its share of the luminaires (a phase without any gets no load).
QVector<Load> makeLoads(const LightingRoom &room, int count, double luminairePower, const Transfer &transfer,
                        int places);

// The loads linked to a room leave their shields and the new ones follow the
// loads of the chosen shield.
void transfer(Project &project, const LightingRoom &room, int count, double luminairePower, const Transfer &transfer,
              int places);

// After a change of the room: each load linked to it, in shield and list
// order, gets its share of the luminaires and the room's name; its power
// factor, demand factor, phase and efficiency stay its own. Returns how many
// loads were changed.
int update(Project &project, const LightingRoom &room, int count, double luminairePower, int places);

// The loads linked to a room stay in their shields as loads of their own.
void unlink(Project &project, int roomId);

// How many loads are linked to a room, and the names of their shields.
int linkedCount(const Project &project, int roomId);
QStringList linkedShields(const Project &project, int roomId);
// The same names for every room at once, by Id, in one pass over the loads.
QHash<int, QStringList> linkedShieldsByRoom(const Project &project);

// An Id no room of the project has and no load is linked to.
int newRoomId(const Project &project);

} // namespace RoomLoads
