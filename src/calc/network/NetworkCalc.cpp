#include "calc/network/NetworkCalc.h"

#include "base/NumberText.h"
#include "calc/lines/LineCalc.h"

namespace Network {

namespace {

// The first of many like problems, and how many more there were.
class FirstOfMany
{
public:
    void add(const QString &text)
    {
        if (m_first.isEmpty())
            m_first = text;
        else
            ++m_more;
    }
    void putInto(QStringList &problems, const QString &moreText) const
    {
        if (m_first.isEmpty())
            return;
        problems << (m_more == 0 ? m_first : m_first + QLatin1Char(' ') + moreText.arg(m_more));
    }

private:
    QString m_first;
    int m_more = 0;
};

void passDrops(const Project &project, const Tree &tree, const CalcValues &calc, Result &result)
{
    QVector<CompensatedSum> drops(project.lines.size());
    for (const int i : tree.order()) {
        const CableLine &line = project.lines.at(i);
        LineResult &r = result.lines[i];
        r.loadCurrent = NumberText::toDouble(line.cell(CableLine::LoadCurrent));
        r.permissibleCurrent = NumberText::toDouble(line.cell(CableLine::PermissibleCurrent));
        r.lineDrop = NumberText::toDouble(line.cell(CableLine::VoltageDrop));
        r.overloaded = LineCalc::isOverloaded(r.loadCurrent, r.permissibleCurrent);
        // Added as the summary adds the checked path, so a path's figure is the summary's.
        const int up = tree.parent(i);
        if (up != Bus)
            drops[i] = drops.at(up);
        drops[i].add(r.lineDrop);
        r.dropFromBus = drops.at(i).value();
        r.dropAboveLimit = isAboveLimit(r.dropFromBus, calc.maxVoltageDrop);
        r.end.name = line.name;
        r.end.level = tree.depth(i);
    }
}

void passCurrents(const Project &project, const Tree &tree, const CalcValues &calc, const Sources &sources,
                  Result &result)
{
    result.bus.name = QStringLiteral("ТП");
    if (!sources.inputs) {
        if (!sources.inputsProblem.isEmpty())
            result.problems << sources.inputsProblem;
        return;
    }
    const FaultCurrents::Inputs &inputs = *sources.inputs;
    const auto source = FaultCurrents::sourceSums(inputs, calc, sources.transformers, sources.cables, &result.problems);
    if (!source)
        return;
    result.currentsComputed = true;
    result.bus = FaultCurrents::pointOf(QStringLiteral("ТП"), *source, true, inputs);

    // The sums at each line's end; a line whose cable is unknown leaves its
    // own end and every end below it without currents.
    QVector<FaultCurrents::Sums> ends(project.lines.size());
    FirstOfMany missing;
    const bool cableFileUsable = sources.cables.status() == FaultCurrents::CableTable::Status::Ok;
    for (const int i : tree.order()) {
        const CableLine &line = project.lines.at(i);
        LineResult &r = result.lines[i];
        const int up = tree.parent(i);
        if (up != Bus && !result.lines.at(up).endKnown)
            continue;
        const auto cable = FaultCurrents::cableShare(line, inputs, sources.cables);
        if (!cable) {
            if (cableFileUsable)
                missing.add(FaultCurrents::missingCableMessage(line));
            continue;
        }
        ends[i] = FaultCurrents::lineEnd(up == Bus ? *source : ends.at(up), *cable, inputs);
        r.end = FaultCurrents::pointOf(line.name, ends.at(i), FaultCurrents::isThreePhase(line), inputs);
        r.end.level = tree.depth(i);
        r.endKnown = true;
    }
    missing.putInto(result.problems, QStringLiteral("Еще линий без сопротивлений в файле: %1."));
}

void passChecks(const Project &project, const Tree &tree, const CalcValues &calc, const Sources &sources,
                bool chooseMissing, Result &result)
{
    if (!sources.breakers.problem().isEmpty())
        result.problems << sources.breakers.problem();
    // Without the let-through energies the thermal check falls back on S >= I·√t/k, the cautious side.
    if (!sources.letThrough.problem().isEmpty())
        result.notes << sources.letThrough.problem()
                            + QStringLiteral(" Термическая стойкость проверяется по формуле S ≥ I·√t/k.");
    FirstOfMany unknownDevices;
    const int places = calc.places();
    for (const int i : tree.order()) {
        const CableLine &line = project.lines.at(i);
        QString problem;
        QString damage;
        Protection::CheckInput in = Protection::lineInput(line, sources.breakers, &problem, &damage);
        if (!problem.isEmpty())
            unknownDevices.add(problem);
        if (!damage.isEmpty())
            result.damage << damage;
        const LineResult &end = result.lines.at(i);
        if (end.endKnown)
            in.minimumSinglePhase = end.end.singlePhaseMin;
        // The device is at the line's start: the largest current there.
        const int up = tree.parent(i);
        const bool startKnown = up == Bus ? result.currentsComputed : result.lines.at(up).endKnown;
        if (startKnown) {
            const FaultCurrents::Point &start = up == Bus ? result.bus : result.lines.at(up).end;
            in.maximumAtDevice = start.threePhase ? start.threePhase : start.singlePhaseMax;
        }
        LineResult &r = result.lines[i];
        // The reasons of a failing check are had when a line is shown.
        r.check = Protection::checkLine(line, in, sources.breakers, sources.letThrough, places, chooseMissing,
                                        result.notes, false);
        r.check.level = tree.depth(i);
    }
    unknownDevices.putInto(result.problems, QStringLiteral("Еще линий с аппаратом, которого нет в файле: %1."));
}

} // namespace

Sources Sources::load(const Project &project, const AppContext &context)
{
    Sources s;
    s.inputs = FaultCurrents::inputsOf(project, &s.inputsProblem);
    s.transformers = FaultCurrents::TransformerTable::load(context.appDir());
    s.cables = FaultCurrents::CableTable::load(context.appDir());
    s.breakers = Protection::BreakerTable::load(context.appDir());
    s.letThrough = Protection::LetThroughTable::load(context.appDir());
    return s;
}

Result compute(const Project &project, const Tree &tree, const CalcValues &calc, const Sources &sources,
               bool chooseMissing)
{
    Result result;
    result.lines.resize(project.lines.size());
    passDrops(project, tree, calc, result);
    passCurrents(project, tree, calc, sources, result);
    passChecks(project, tree, calc, sources, chooseMissing, result);
    return result;
}

FaultCurrents::Result faultPoints(const Project &project, const Tree &tree, const Result &result)
{
    FaultCurrents::Result out;
    out.problems = result.problems;
    if (!result.currentsComputed)
        return out;
    out.points.reserve(project.lines.size() + 1);
    out.points << result.bus;
    for (const int i : tree.order())
        out.points << result.lines.at(i).end;
    return out;
}

Protection::LineCheck explained(const Protection::LineCheck &check, int places)
{
    using Protection::Verdict;
    if (check.overload != Verdict::No && check.disconnection != Verdict::No && check.breaking != Verdict::No
        && check.thermal != Verdict::No)
        return check;
    Protection::LineCheck full = Protection::evaluate(check.name, check.input, places);
    full.level = check.level;
    full.chosen = check.chosen;
    return full;
}

Protection::Result protectionChecks(const Tree &tree, const Result &result, int places)
{
    Protection::Result out;
    out.problems = result.problems;
    out.damage = result.damage;
    out.notes = result.notes;
    out.lines.reserve(result.lines.size());
    for (const int i : tree.order())
        out.lines << explained(result.lines.at(i).check, places);
    return out;
}

namespace {

std::optional<std::pair<Tree, Result>> computeProject(const Project &project, const AppContext &context,
                                                      QString *message, bool chooseMissing = false)
{
    const Sources sources = Sources::load(project, context);
    if (!sources.inputs) {
        if (message)
            *message = sources.inputsProblem;
        return std::nullopt;
    }
    Tree tree = Tree::build(project.lines);
    Result result = compute(project, tree, context.calc, sources, chooseMissing);
    return std::pair{std::move(tree), std::move(result)};
}

} // namespace

std::optional<FaultCurrents::Result> faultCurrentsOf(const Project &project, const AppContext &context,
                                                     QString *message)
{
    const auto computed = computeProject(project, context, message);
    if (!computed)
        return std::nullopt;
    return faultPoints(project, computed->first, computed->second);
}

std::optional<Protection::Result> protectionOf(const Project &project, const AppContext &context, QString *message,
                                               bool chooseMissing)
{
    const auto computed = computeProject(project, context, message, chooseMissing);
    if (!computed)
        return std::nullopt;
    return protectionChecks(computed->first, computed->second, context.calc.places());
}

void placeCurrentsOfRow(Protection::CheckInput &input, const Project &project, int row, const CableLine &line,
                        const AppContext &context)
{
    if (row < 0 || row >= project.lines.size())
        return;
    Project entered;
    entered.setSubstation(project.substation());
    entered.lines = project.lines;
    entered.lines[row] = line;
    const auto computed = computeProject(entered, context, nullptr);
    if (!computed)
        return;
    const auto &[tree, result] = *computed;
    const LineResult &end = result.lines.at(row);
    if (end.endKnown)
        input.minimumSinglePhase = end.end.singlePhaseMin;
    const int up = tree.parent(row);
    const bool startKnown = up == Bus ? result.currentsComputed : result.lines.at(up).endKnown;
    if (startKnown) {
        const FaultCurrents::Point &start = up == Bus ? result.bus : result.lines.at(up).end;
        input.maximumAtDevice = start.threePhase ? start.threePhase : start.singlePhaseMax;
    }
}

QString checksText(const Protection::LineCheck &check, QString *reason)
{
    if (!check.input.device)
        return QStringLiteral("-");
    const struct {
        Protection::Verdict verdict;
        const char *name;
        const QString &reason;
    } checks[] = {{check.overload, "перегрузка", check.overloadReason},
                  {check.disconnection, "отключение", check.disconnectionReason},
                  {check.breaking, "отключающая способность", check.breakingReason},
                  {check.thermal, "термическая стойкость", check.thermalReason}};
    bool all = true;
    for (const auto &c : checks) {
        if (c.verdict == Protection::Verdict::No) {
            if (reason)
                *reason = c.reason;
            return QStringLiteral("нет: ") + QString::fromUtf8(c.name);
        }
        all = all && c.verdict == Protection::Verdict::Yes;
    }
    return all ? QStringLiteral("да") : QStringLiteral("-");
}

} // namespace Network
