// A project opened as the programs open it, then everything computed from
// its lines: every line recomputed, the network summary, the short-circuit
// currents of both methods, the protection checks and the cable line
// schedule written. No NaN or infinity may reach a number text.
#include "FuzzSupport.h"
#include "base/NumberText.h"
#include "calc/network/NetworkCalc.h"
#include "calc/network/NetworkTree.h"
#include "calc/lines/LineEntry.h"
#include "calc/lines/NetworkSummary.h"
#include "calc/lines/ProjectCheck.h"
#include "calc/protection/Protection.h"
#include "calc/shortcircuit/FaultCurrents.h"
#include "calc/shortcircuit/ShortCircuit.h"
#include "calc/shortcircuit/Transformer.h"
#include "docs/schedules/CableLineReport.h"
#include "docs/schedules/ProtectionReport.h"
#include "docs/schedules/ShortCircuitReport.h"
#include "docs/writers/ReportWriter.h"

#include <QFileInfo>
#include <QScopeGuard>

#include <cstdlib>

namespace {

// The delivered data files stand next to the program (build/bin, build-fuzz/bin).
const QString &dataFolder()
{
    static const QString folder = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    NumberText::setNonFiniteHandler([] { std::abort(); });
    const auto reset = qScopeGuard([] { NumberText::setNonFiniteHandler(nullptr); });
    static const FaultCurrents::TransformerTable transformers = FaultCurrents::TransformerTable::load(dataFolder());
    static const FaultCurrents::CableTable cables = FaultCurrents::CableTable::load(dataFolder());
    static const Protection::BreakerTable breakers = Protection::BreakerTable::load(dataFolder());
    static const Protection::LetThroughTable letThrough = Protection::LetThroughTable::load(dataFolder());

    Project project;
    ProjectCheck::readText(fuzzText(data, size), project);
    const CalcValues calc;
    const int places = calc.places();

    LineEntry::recomputeLines(project.lines, dataFolder(), calc);
    summarizeNetwork(project.lines, calc.maxVoltageDrop);

    // The whole network with the devices "Подобрать" chooses, so that every
    // line without one is checked too.
    Network::Sources sources;
    sources.inputs = FaultCurrents::inputsOf(project, &sources.inputsProblem);
    sources.transformers = transformers;
    sources.cables = cables;
    sources.breakers = breakers;
    sources.letThrough = letThrough;
    const Network::Tree tree = Network::Tree::build(project.lines);
    const Network::Result network = Network::compute(project, tree, calc, sources, true);
    for (const FaultCurrents::Point &point : Network::faultPoints(project, tree, network).points)
        FaultCurrents::pointTexts(point, places);
    const Protection::Result checks = Network::protectionChecks(tree, network, places);
    for (const Protection::LineCheck &line : checks.lines)
        Protection::lineTexts(line, places);
    ProtectionReport::build(checks, places);
    Transformer::updateProjectValues(project, dataFolder(), calc);
    if (ShortCircuit::inputProblem(project).isEmpty()) {
        ShortCircuit::shownCurrents(project, ShortCircuit::initialStageCount(project.lines), calc);
        ShortCircuitReport::build(project, calc);
    }
    const ReportTable schedule =
        CableLineReport::build(project.lines, QVector<bool>(int(CableLineReport::columnHeaders().size()), true), places);
    if (ReportWriter::document(project.projectName, CableLineReport::defaultTitle(), QString(), schedule).isEmpty())
        std::abort();
    return 0;
}
