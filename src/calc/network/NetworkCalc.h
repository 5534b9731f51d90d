#pragma once

#include "base/AppContext.h"
#include "base/Project.h"
#include "calc/lines/NetworkSummary.h"
#include "calc/network/NetworkTree.h"
#include "calc/protection/Protection.h"
#include "calc/shortcircuit/FaultCurrents.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// Every line of the network computed in its own place: the drop from the bus
// along its path, the short-circuit currents by ГОСТ 28249-93 at its end with
// the impedances of its own path, and the checks of its protective device
// (Iк(3) max where it starts, Iк(1) min at its end). The work is done in
// passes over the tree order, each line after the line it starts at: drops,
// then currents, then the checks. (Sums from the ends back to the bus, such
// as loads, are a pass over the order backwards.)
namespace Network {

// The data files and substation inputs the currents and checks take.
struct Sources {
    // Nothing when the substation's inputs cannot be used (the reason in inputsProblem).
    std::optional<FaultCurrents::Inputs> inputs;
    QString inputsProblem;
    FaultCurrents::TransformerTable transformers;
    FaultCurrents::CableTable cables;
    Protection::BreakerTable breakers;
    Protection::LetThroughTable letThrough;

    // The project's substation inputs and the data files of the application folder.
    static Sources load(const Project &project, const AppContext &context);
};

struct LineResult {
    double loadCurrent = 0; // Ib, A, as the row has it
    double permissibleCurrent = 0; // Iz, A, as the row has it
    double lineDrop = 0; // % of the line itself, as the row shows it
    double dropFromBus = 0; // % along the path from the bus to the line's end
    bool dropAboveLimit = false; // dropFromBus above the options' limit, as shown
    bool overloaded = false; // Ib above Iz
    FaultCurrents::Point end; // currents at the line's end (none without the currents)
    bool endKnown = false; // the currents at the end could be had
    Protection::LineCheck check; // the checks (none without a device); the reasons: explained()
};

struct Result {
    FaultCurrents::Point bus; // the transformer's terminals, "ТП"
    bool currentsComputed = false; // the source was known: the points have currents
    QVector<LineResult> lines; // by the line's index in the list
    QStringList problems; // what kept currents or checks from being had, each once
    QStringList damage; // stored values out of their range, the defaults taken: damage of the project
    QStringList notes; // what choosing devices found; a let-through file that could not be read
};

// The whole network in one go; `sources` may lack the inputs (drops only).
// With `chooseMissing`, a line without a device is checked with the one
// "Подобрать" chooses for it.
Result compute(const Project &project, const Tree &tree, const CalcValues &calc, const Sources &sources,
               bool chooseMissing = false);

// The points as the ГОСТ window and schedule list them: "ТП", then every line
// in tree order with its level.
FaultCurrents::Result faultPoints(const Project &project, const Tree &tree, const Result &result);
// A line's checks with the reasons of those that fail, as they are shown.
Protection::LineCheck explained(const Protection::LineCheck &check, int places);
// The checks as the protection window and schedule list them: every line in
// tree order, with their reasons.
Protection::Result protectionChecks(const Tree &tree, const Result &result, int places);

// The same for a project as it stands, reading the data files of the
// application folder; nothing, with the message for the user, when the
// substation's inputs cannot be used.
std::optional<FaultCurrents::Result> faultCurrentsOf(const Project &project, const AppContext &context,
                                                     QString *message);
std::optional<Protection::Result> protectionOf(const Project &project, const AppContext &context, QString *message,
                                               bool chooseMissing = false);
// The currents of row `row`'s place in the network, the row taken as `line`
// has it (the line dialog's entries, not yet confirmed); nothing is set where
// the currents cannot be had.
void placeCurrentsOfRow(Protection::CheckInput &input, const Project &project, int row, const CableLine &line,
                        const AppContext &context);

// The verdicts of a line in one word: "да" when every check passed, "нет: "
// and the first failing check ("нет: отключение"), "-" without a device or
// when a check could not be made; `reason` gets the failing check's reason
// (when the check was explained()).
QString checksText(const Protection::LineCheck &check, QString *reason = nullptr);

} // namespace Network
