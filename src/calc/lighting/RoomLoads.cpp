#include "calc/lighting/RoomLoads.h"

#include "base/NumberText.h"
#include "calc/loads/LoadCalc.h"

#include <algorithm>

namespace RoomLoads {

namespace {

// The installed power of n luminaires as the load dialog takes it, kW.
QString powerText(int count, double luminairePower)
{
    return NumberText::format(count * luminairePower / 1000);
}

Load computed(const LoadCalc::LoadInput &input, int roomId, int places)
{
    Load load = LoadCalc::computeLoad(input, places);
    load.room = roomId;
    return load;
}

} // namespace

QStringList spreadCaptions()
{
    return {QStringLiteral("Трехфазная нагрузка"), QStringLiteral("Поровну по фазам A, B, C"),
            QStringLiteral("Фаза A"), QStringLiteral("Фаза B"), QStringLiteral("Фаза C")};
}

QString loadName(const LightingRoom &room)
{
    return QStringLiteral("Освещение ") + room.name.trimmed();
}

QVector<int> split(int n, int parts)
{
    QVector<int> shares;
    if (parts <= 0)
        return shares;
    for (int k = 0; k < parts; ++k)
        shares << n / parts + (k < n % parts ? 1 : 0);
    return shares;
}

QVector<Load> makeLoads(const LightingRoom &room, int count, double luminairePower, const Transfer &transfer,
                        int places)
{
    LoadCalc::LoadInput input;
    input.name = loadName(room);
    input.cosf = transfer.cosPhi;
    input.ks = transfer.demandFactor;
    QVector<Load> loads;
    switch (transfer.spread) {
    case Spread::ThreePhase:
        input.threePhase = true;
        input.kpd = QStringLiteral("1");
        input.power = powerText(count, luminairePower);
        loads << computed(input, room.id, places);
        break;
    case Spread::EvenlyABC: {
        const QVector<int> shares = split(count, 3);
        const QString phases[3] = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
        for (int k = 0; k < 3; ++k) {
            if (shares.at(k) == 0)
                continue;
            input.phase = phases[k];
            input.power = powerText(shares.at(k), luminairePower);
            loads << computed(input, room.id, places);
        }
        break;
    }
    case Spread::PhaseA:
    case Spread::PhaseB:
    case Spread::PhaseC:
        input.phase = transfer.spread == Spread::PhaseA   ? QStringLiteral("A")
                      : transfer.spread == Spread::PhaseB ? QStringLiteral("B")
                                                          : QStringLiteral("C");
        input.power = powerText(count, luminairePower);
        loads << computed(input, room.id, places);
        break;
    }
    return loads;
}

void transfer(Project &project, const LightingRoom &room, int count, double luminairePower, const Transfer &transfer,
              int places)
{
    if (transfer.shield < 0 || transfer.shield >= project.shields.size())
        return;
    for (Shield &shield : project.shields)
        shield.loads.removeIf([&room](const Load &load) { return load.room == room.id; });
    project.shields[transfer.shield].loads += makeLoads(room, count, luminairePower, transfer, places);
}

int update(Project &project, const LightingRoom &room, int count, double luminairePower, int places)
{
    const int linked = linkedCount(project, room.id);
    if (linked == 0)
        return 0;
    const QVector<int> shares = split(count, linked);
    int k = 0;
    for (Shield &shield : project.shields) {
        for (Load &load : shield.loads) {
            if (load.room != room.id)
                continue;
            LoadCalc::LoadInput input;
            input.name = loadName(room);
            input.power = powerText(shares.at(k++), luminairePower);
            input.cosf = load.cell(Load::PowerFactor);
            input.ks = load.cell(Load::DemandFactor);
            input.threePhase = load.cell(Load::Phases).trimmed() == QLatin1String("3");
            input.phase = load.cell(Load::Phase);
            input.kpd = input.threePhase ? load.cell(Load::Efficiency) : QStringLiteral("1");
            load = computed(input, room.id, places);
        }
    }
    return linked;
}

void unlink(Project &project, int roomId)
{
    if (roomId <= 0)
        return;
    for (Shield &shield : project.shields)
        for (Load &load : shield.loads)
            if (load.room == roomId)
                load.room = 0;
}

int linkedCount(const Project &project, int roomId)
{
    int n = 0;
    if (roomId <= 0)
        return n;
    for (const Shield &shield : project.shields)
        for (const Load &load : shield.loads)
            n += load.room == roomId ? 1 : 0;
    return n;
}

QStringList linkedShields(const Project &project, int roomId)
{
    QStringList names;
    if (roomId <= 0)
        return names;
    for (const Shield &shield : project.shields)
        if (std::any_of(shield.loads.begin(), shield.loads.end(), [roomId](const Load &l) { return l.room == roomId; }))
            names << shield.name;
    return names;
}

QHash<int, QStringList> linkedShieldsByRoom(const Project &project)
{
    QHash<int, QStringList> names;
    for (const Shield &shield : project.shields)
        for (const Load &load : shield.loads)
            if (load.room > 0) {
                QStringList &of = names[load.room];
                if (of.isEmpty() || of.last() != shield.name)
                    of << shield.name;
            }
    return names;
}

int newRoomId(const Project &project)
{
    int highest = 0;
    for (const LightingRoom &room : project.rooms)
        highest = std::max(highest, room.id);
    for (const Shield &shield : project.shields)
        for (const Load &load : shield.loads)
            highest = std::max(highest, load.room);
    return highest + 1;
}

} // namespace RoomLoads
