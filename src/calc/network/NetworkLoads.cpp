#include "calc/network/NetworkLoads.h"

#include "base/NumberText.h"
#include "calc/lines/LineCalc.h"
#include "calc/loads/LoadCalc.h"
#include "calc/shortcircuit/FaultCurrents.h"
#include "calc/shortcircuit/Transformer.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace Network {

void PhasePowers::add(const PhasePowers &o)
{
    for (int k = 0; k < 3; ++k) {
        p[k] += o.p[k];
        q[k] += o.q[k];
    }
    installed += o.installed;
}

void PhasePowers::scale(double factor)
{
    for (int k = 0; k < 3; ++k) {
        p[k] *= factor;
        q[k] *= factor;
    }
}

double PhasePowers::apparentTotal() const
{
    return std::hypot(activeTotal(), reactiveTotal());
}

double PhasePowers::phaseApparent(int k) const
{
    return std::hypot(p[k], q[k]);
}

int phaseIndex(const QString &phase)
{
    if (phase == QLatin1String("B"))
        return 1;
    if (phase == QLatin1String("C"))
        return 2;
    return 0;
}

PhasePowers shieldPowers(const Shield &shield)
{
    PhasePowers out;
    for (const Load &load : shield.loads) {
        const auto values = LoadCalc::loadValues(load);
        const auto eta = NumberText::parse(load.cell(Load::Efficiency));
        const auto installed = NumberText::parse(load.cell(Load::InstalledPower));
        if (installed && std::isfinite(*installed))
            out.installed += *installed;
        if (!values || !eta || !(*eta > 0) || !(values->apparent > 0))
            continue;
        // Drawn from the network: Pр / η, with Q of the load's cos φ.
        const double p = values->design / *eta;
        const double q = values->apparent / *eta * std::sqrt(std::max(0.0, 1 - std::pow(values->design / values->apparent, 2)));
        const LoadCalc::PhaseMark mark = LoadCalc::phaseMark(load.cell(Load::Phase));
        if (mark == LoadCalc::PhaseMark::ABC) {
            for (int k = 0; k < 3; ++k) {
                out.p[k] += p / 3;
                out.q[k] += q / 3;
            }
        } else if (mark != LoadCalc::PhaseMark::None) {
            const int k = int(mark) - int(LoadCalc::PhaseMark::A);
            out.p[k] += p;
            out.q[k] += q;
        }
    }
    return out;
}

namespace {

// A line with nothing at its end: its typed current at its cos φ.
PhasePowers typedLoad(const CableLine &line)
{
    PhasePowers out;
    const double current = LineCalc::parseLoadCurrent(line.cell(CableLine::LoadCurrent));
    double cosPhi = line.inputs ? line.inputs->cosPhi.value.value_or(1) : 1;
    if (!(cosPhi > 0 && cosPhi <= 1))
        cosPhi = 1;
    if (!(current > 0) || !std::isfinite(current))
        return out;
    const double s = current * LoadCalc::PhaseVoltage;
    const double p = s * cosPhi;
    const double q = s * std::sqrt(1 - cosPhi * cosPhi);
    if (FaultCurrents::isThreePhase(line)) {
        for (int k = 0; k < 3; ++k) {
            out.p[k] = p;
            out.q[k] = q;
        }
    } else {
        const int k = phaseIndex(line.place.phase);
        out.p[k] = p;
        out.q[k] = q;
    }
    return out;
}

} // namespace

Loads computeLoads(const Project &project, const Tree &tree)
{
    Loads loads;
    const int n = int(project.lines.size());
    loads.lines.resize(n);
    // Each shield's powers once, however many lines feed it.
    QHash<int, int> shieldOfId;
    for (int s = 0; s < project.shields.size(); ++s)
        if (project.shields.at(s).id > 0 && !shieldOfId.contains(project.shields.at(s).id))
            shieldOfId.insert(project.shields.at(s).id, s);
    QVector<std::optional<PhasePowers>> shieldCache(project.shields.size());

    // What the lines starting at each line's end carry, gathered from below.
    QVector<PhasePowers> below(n);
    // Whether a shield of the project hangs at a line's end or below it.
    QVector<bool> shieldBelow(n, false);
    const QVector<int> &order = tree.order();
    for (auto it = order.crbegin(); it != order.crend(); ++it) {
        const int i = *it;
        const CableLine &line = project.lines.at(i);
        LineLoad &r = loads.lines[i];
        PhasePowers end = below.at(i);
        bool fed = shieldBelow.at(i);
        if (const int s = shieldOfId.value(line.place.shield, -1); s >= 0) {
            if (!shieldCache.at(s))
                shieldCache[s] = shieldPowers(project.shields.at(s));
            end.add(*shieldCache.at(s));
            fed = true;
            r.shield = s;
        }
        if (fed) {
            end.scale(line.place.coincidence);
            if (!FaultCurrents::isThreePhase(line)) {
                // A single-phase line carries the whole load on its phase.
                PhasePowers one;
                const int k = phaseIndex(line.place.phase);
                one.p[k] = end.activeTotal();
                one.q[k] = end.reactiveTotal();
                one.installed = end.installed;
                end = one;
            }
        } else {
            end = typedLoad(line);
        }
        r.fed = fed;
        r.fromNetwork = fed && line.place.networkLoad;
        r.powers = end;
        r.designPower = end.activeTotal();
        const double s = end.apparentTotal();
        r.powerFactor = s > 0 ? r.designPower / s : 1;
        for (int k = 0; k < 3; ++k)
            r.phaseCurrent[k] = end.phaseApparent(k) / LoadCalc::PhaseVoltage;
        r.current = FaultCurrents::isThreePhase(line) ? std::max({r.phaseCurrent[0], r.phaseCurrent[1], r.phaseCurrent[2]})
                                                      : s / LoadCalc::PhaseVoltage;
        const int up = tree.parent(i);
        if (up == Bus) {
            loads.bus.add(end);
        } else if (tree.start(i) == Start::Set) {
            below[up].add(end);
            shieldBelow[up] = shieldBelow.at(up) || fed;
        }
        // A line placed only by the check marks of an older project is a
        // path to one consumer, not what the line before it feeds: the lines
        // of such a path keep their own currents.
    }
    loads.transformerLoad = loads.bus.apparentTotal();
    const double rated = Transformer::powerValue(project.transformerPower);
    if (rated > 0)
        loads.loading = loads.transformerLoad / rated * 100;
    return loads;
}

QVector<bool> overloadedFromNetwork(const Project &project, const Loads &loads)
{
    QVector<bool> over(project.lines.size(), false);
    for (int i = 0; i < project.lines.size() && i < loads.lines.size(); ++i) {
        const LineLoad &load = loads.lines.at(i);
        over[i] = load.fromNetwork
                  && LineCalc::isOverloaded(
                      load.current, NumberText::toDouble(project.lines.at(i).cell(CableLine::PermissibleCurrent)));
    }
    return over;
}

} // namespace Network
