#include "calc/selectivity/Selectivity.h"

#include "base/NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace Selectivity {

namespace {

using TripCurves::Curve;
using TripCurves::Point;

double straight(const Point &a, const Point &b, double current)
{
    const double share = std::log(current / a.current) / std::log(b.current / a.current);
    return std::exp(std::log(a.time) + share * (std::log(b.time) - std::log(a.time)));
}

double pastLast(const Curve &c)
{
    return c.kind == Curve::Kind::NeverTrips ? 0.0 : c.points.last().time;
}

// The curve just right of a current (the lower time of a vertical step there).
double valueAfter(const Curve &c, double current)
{
    if (current >= c.lastCurrent())
        return pastLast(c);
    qsizetype j = 0;
    while (c.points.at(j + 1).current <= current)
        ++j;
    if (c.points.at(j).current == current)
        return c.points.at(j).time;
    return straight(c.points.at(j), c.points.at(j + 1), current);
}

// The curve just left of a current (the upper time of a vertical step there).
double valueBefore(const Curve &c, double current)
{
    if (current <= c.firstCurrent())
        return std::numeric_limits<double>::infinity();
    if (current > c.lastCurrent())
        return pastLast(c);
    qsizetype j = 1;
    while (c.points.at(j).current < current)
        ++j;
    if (c.points.at(j).current == current)
        return c.points.at(j).time;
    return straight(c.points.at(j - 1), c.points.at(j), current);
}

QString kiloamperes(double amperes, int places)
{
    return NumberText::formatRounded(amperes / 1000.0, places);
}

QString optionalKiloamperes(const std::optional<double> &value, int places)
{
    return value ? NumberText::formatRounded(*value, places) : QStringLiteral("-");
}

QString reasonOf(const Pair &p, int places)
{
    const QString up = p.upstreamDevice.designation();
    const QString down = p.downstreamDevice.designation();
    switch (p.check.verdict) {
    case Verdict::Unknown:
        return QStringLiteral("нет время-токовых характеристик аппарата");
    case Verdict::Full:
        if (p.maximumAtNode)
            return QStringLiteral("кривые не сходятся до Iк(3) max в узле (") + NumberText::formatRounded(*p.maximumAtNode, places)
                   + QStringLiteral(" кА)");
        return QStringLiteral("кривые не сходятся");
    case Verdict::Partial:
    case Verdict::None:
        break;
    }
    const QString at = NumberText::formatRounded(*p.check.limit, places) + QStringLiteral(" А");
    if (p.check.zone == Zone::Instantaneous)
        return QStringLiteral("зона мгновенного расцепления: от ") + at + QStringLiteral(" ") + up
               + QStringLiteral(" может сработать мгновенно, раньше, чем отключит ") + down;
    return QStringLiteral("зона перегрузки: при ") + at + QStringLiteral(" ") + up
           + QStringLiteral(" может сработать раньше, чем отключит ") + down;
}

QString hintOf(const Pair &p)
{
    if (p.check.verdict == Verdict::Full || p.check.verdict == Verdict::Unknown)
        return QString();
    if (p.remedy)
        return p.remedy->designation() + QStringLiteral(" выше по цепи");
    if (p.check.zone == Zone::Thermal)
        return QStringLiteral("аппарат на больший ток выше по цепи (с кабелем на больший Iz)");
    return QStringLiteral("другая характеристика выше по цепи (D, промышленный автомат, выдержка времени) "
                          "или таблица селективности изготовителя");
}

struct Candidate {
    Protection::Breaker device;
    TripCurves::Band band;
};

} // namespace

std::optional<double> limitCurrent(const TripCurves::Band &upstream, const TripCurves::Band &downstream)
{
    const Curve &a = upstream.neverTrips;
    const Curve &b = downstream.alwaysTrips;
    if (a.isEmpty() || b.isEmpty())
        return std::nullopt;
    // Below either first point one of the times is infinite: no crossing there.
    const double start = std::max(a.firstCurrent(), b.firstCurrent());
    std::vector<double> xs{start};
    for (const Point &p : a.points)
        if (p.current > start)
            xs.push_back(p.current);
    for (const Point &p : b.points)
        if (p.current > start)
            xs.push_back(p.current);
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    // Between neighbouring breakpoints both curves are straight in log-log
    // co-ordinates, so is the difference of their logarithms.
    for (size_t k = 0; k < xs.size(); ++k) {
        const double x0 = xs[k];
        if (a.timeAt(x0) <= b.timeAt(x0))
            return x0;
        const double after = valueAfter(a, x0);
        if (after <= 0 || after <= valueAfter(b, x0))
            return x0;
        if (k + 1 == xs.size())
            break;
        const double x1 = xs[k + 1];
        const double f0 = std::log(after) - std::log(valueAfter(b, x0));
        const double f1 = std::log(valueBefore(a, x1)) - std::log(valueBefore(b, x1));
        if (f1 <= 0) {
            if (f1 == 0)
                return x1;
            const double u = std::log(x0) + f0 / (f0 - f1) * (std::log(x1) - std::log(x0));
            return std::clamp(std::exp(u), x0, x1);
        }
    }
    // Past every point the "always trips" curve keeps its time while the
    // "never trips" one has fallen to 0: the loop has returned by now.
    return std::nullopt;
}

PairCheck check(const PairInput &input)
{
    PairCheck c;
    c.limit = limitCurrent(input.upstream, input.downstream);
    if (!c.limit || (input.maximumAtNode && *c.limit > *input.maximumAtNode * 1000.0)) {
        c.verdict = Verdict::Full;
        return c;
    }
    c.zone = *c.limit >= input.upstream.instantaneousFrom() ? Zone::Instantaneous : Zone::Thermal;
    c.verdict = *c.limit <= input.downstream.instantaneousTo() ? Verdict::None : Verdict::Partial;
    return c;
}

Result compute(const Network::Tree &tree, const Network::Result &network,
               const Protection::BreakerTable &breakers, const TripCurves::CurveTable &curves, int places)
{
    Result result;
    result.pairOfLine.fill(-1, tree.lineCount());
    result.order = tree.order();
    if (curves.status() != TripCurves::CurveTable::Status::Ok)
        result.problems << curves.problem();
    // The devices that may replace an upstream one, smallest first, each with
    // its curves once.
    std::vector<Candidate> candidates;
    for (const QString &characteristic : breakers.characteristics())
        for (const Protection::Breaker &device : breakers.ofCharacteristic(characteristic))
            if (const auto band = curves.bandOf(device))
                candidates.push_back({device, *band});
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate &x, const Candidate &y) { return x.device.rated < y.device.rated; });
    QStringList lacking;
    const auto bandOf = [&](const Protection::Breaker &device) -> std::optional<TripCurves::Band> {
        for (const Candidate &c : candidates)
            if (c.device == device)
                return c.band;
        const auto band = curves.bandOf(device);
        if (!band && curves.status() == TripCurves::CurveTable::Status::Ok && !lacking.contains(device.designation()))
            lacking << device.designation();
        return band;
    };

    for (const int line : tree.order()) {
        const int up = tree.parent(line);
        if (up == Network::Bus || line >= network.lines.size() || up >= network.lines.size())
            continue;
        const Network::LineResult &upResult = network.lines.at(up);
        const Network::LineResult &downResult = network.lines.at(line);
        if (!upResult.check.input.device || !downResult.check.input.device)
            continue;
        Pair p;
        p.upstreamLine = up;
        p.downstreamLine = line;
        p.upstreamDevice = *upResult.check.input.device;
        p.downstreamDevice = *downResult.check.input.device;
        p.upstreamBand = bandOf(p.upstreamDevice);
        p.downstreamBand = bandOf(p.downstreamDevice);
        if (network.currentsComputed && upResult.endKnown)
            p.maximumAtNode = upResult.end.threePhase;
        if (network.currentsComputed && downResult.endKnown)
            p.minimumAtEnd = downResult.end.singlePhaseMin;
        p.loadCurrent = downResult.loadCurrent;
        p.permissibleCurrent = downResult.permissibleCurrent;
        if (p.upstreamBand && p.downstreamBand) {
            p.check = check({*p.upstreamBand, *p.downstreamBand, p.maximumAtNode});
            // The smallest device the upstream line could carry instead
            // (Ib <= In <= Iz, as a device is chosen) that is selective in full.
            if (p.check.verdict != Verdict::Full && p.maximumAtNode) {
                const double ib = upResult.loadCurrent;
                const double iz = upResult.permissibleCurrent;
                const Candidate *best = nullptr;
                for (const Candidate &c : candidates) {
                    if (best && c.device.rated > best->device.rated)
                        break;
                    if (c.device.rated < ib || (iz > 0 && c.device.rated > iz) || c.device == p.upstreamDevice)
                        continue;
                    if (check({c.band, *p.downstreamBand, p.maximumAtNode}).verdict != Verdict::Full)
                        continue;
                    if (!best || c.device.characteristic == p.upstreamDevice.characteristic)
                        best = &c;
                }
                if (best)
                    p.remedy = best->device;
            }
        }
        p.reason = reasonOf(p, places);
        p.hint = hintOf(p);
        result.pairOfLine[line] = int(result.pairs.size());
        result.pairs.append(p);
    }
    if (!lacking.isEmpty())
        result.problems << QStringLiteral("Нет время-токовых характеристик аппаратов ") + lacking.join(QStringLiteral(", "))
                               + QStringLiteral(": их селективность не проверена.");
    return result;
}

Result of(const Project &project, const AppContext &context)
{
    const Network::Tree tree = Network::Tree::build(project.lines);
    const Network::Sources sources = Network::Sources::load(project, context);
    const Network::Result network = Network::compute(project, tree, context.calc, sources);
    Result result = compute(tree, network, sources.breakers, TripCurves::CurveTable::load(context.appDir()),
                            context.calc.places());
    result.problems = network.problems + result.problems;
    return result;
}

QString verdictWord(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Full:
        return QStringLiteral("полная");
    case Verdict::Partial:
        return QStringLiteral("частичная");
    case Verdict::None:
        return QStringLiteral("нет");
    case Verdict::Unknown:
        break;
    }
    return QStringLiteral("-");
}

QString verdictText(const PairCheck &check, int places)
{
    if (check.verdict == Verdict::Partial)
        return QStringLiteral("до Is = ") + kiloamperes(*check.limit, places) + QStringLiteral(" кА");
    return verdictWord(check.verdict);
}

QString basisText()
{
    return QStringLiteral("по характеристикам стандарта");
}

QStringList headings()
{
    return {QStringLiteral("Линия выше по цепи"), QStringLiteral("Линия"),          QStringLiteral("Аппарат выше по цепи"),
            QStringLiteral("Аппарат"),            QStringLiteral("Iк(3) max в узле, кА"), QStringLiteral("Is, кА"),
            QStringLiteral("Селективность"),      QStringLiteral("Причина"),        QStringLiteral("Что поможет")};
}

QStringList pairTexts(const Project &project, const Pair &pair, int places)
{
    QStringList out = commandLineFields(project, pair, places);
    out[6] = verdictText(pair.check, places);
    out << pair.reason << pair.hint;
    return out;
}

QStringList commandLineFields(const Project &project, const Pair &pair, int places)
{
    const bool limited = pair.check.verdict == Verdict::Partial || pair.check.verdict == Verdict::None;
    return {project.lines.at(pair.upstreamLine).name,
            project.lines.at(pair.downstreamLine).name,
            pair.upstreamDevice.designation(),
            pair.downstreamDevice.designation(),
            optionalKiloamperes(pair.maximumAtNode, places),
            limited ? kiloamperes(*pair.check.limit, places) : QStringLiteral("-"),
            verdictWord(pair.check.verdict)};
}

QString lineVerdictText(const Result &result, int line, int places)
{
    if (line < 0 || line >= result.pairOfLine.size() || result.pairOfLine.at(line) < 0)
        return QStringLiteral("-");
    return verdictText(result.pairs.at(result.pairOfLine.at(line)).check, places);
}

} // namespace Selectivity
