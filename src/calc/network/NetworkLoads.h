#pragma once

#include "base/Project.h"
#include "calc/network/NetworkTree.h"

#include <QString>
#include <QVector>

#include <optional>

// The design loads carried through the network, from the loads upwards: a
// line carries the shield at its end and the lines starting there, summed
// per phase as active and reactive power, times the coincidence factor Ко of
// its end; the bus sums the lines starting at it (the transformer's load).
namespace Network {

// Active (kW) and reactive (kvar) power per phase A, B, C.
struct PhasePowers {
    double p[3] = {0, 0, 0};
    double q[3] = {0, 0, 0};
    double installed = 0; // Pу of the loads below, kW
    void add(const PhasePowers &o);
    void scale(double factor); // P and Q, not Pу
    double activeTotal() const { return p[0] + p[1] + p[2]; }
    double reactiveTotal() const { return q[0] + q[1] + q[2]; }
    double apparentTotal() const; // kVA
    double phaseApparent(int k) const; // kVA
};

// What a shield's loads draw from the network, per phase: Pр / η with the
// reactive power of their cos φ; a single-phase load on its phase, a
// three-phase one a third on each. Rows whose inputs give nothing are left out.
PhasePowers shieldPowers(const Shield &shield);

struct LineLoad {
    int shield = -1; // the index of the shield at its end, -1 for none
    bool fed = false; // a shield at its end or below it: the network gives its current
    bool fromNetwork = false; // fed, and its current taken from the network (not typed)
    PhasePowers powers; // what it carries, Ко applied
    double designPower = 0; // Pр = ΣP, kW
    double powerFactor = 1; // cos φ = P / S (1 without load)
    double current = 0; // A: the largest phase current, or the whole load on a single-phase line
    double phaseCurrent[3] = {0, 0, 0}; // A
};

struct Loads {
    QVector<LineLoad> lines; // by the line's index in the list
    PhasePowers bus; // what the lines starting at the bus carry
    double transformerLoad = 0; // S, kVA
    std::optional<double> loading; // S / Sном, %; nothing without a transformer power
    bool overloaded() const { return loading && *loading > 100; }
};

// One pass over the tree order backwards. Only lines whose start is set
// feed the line they start at (a chain given by check marks alone does not).
// A line is fed by the network when a shield hangs at its end or below it;
// lines below with typed currents only leave it its own. A line not fed
// counts upstream as its typed current at its cos φ (three-phase: on each
// phase; single-phase: on its phase).
Loads computeLoads(const Project &project, const Tree &tree);

// The lines that take their current from the network and carry more than the
// permissible current their rows show (the network window's overload rule),
// by the line's index.
QVector<bool> overloadedFromNetwork(const Project &project, const Loads &loads);

// The phase index (0..2) of "A", "B", "C"; 0 for anything else.
int phaseIndex(const QString &phase);

} // namespace Network
