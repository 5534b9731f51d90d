#pragma once

#include "calc/network/NetworkCalc.h"
#include "calc/selectivity/TripCurves.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// Selectivity of the devices in series: the device of a line and the device
// of every line starting at its end. A fault on the downstream line is to be
// cleared by the downstream device alone. The check compares the upstream
// device's "never trips" curve with the downstream device's "always trips"
// curve (the curves of the standards unless the data file holds a maker's).
namespace Selectivity {

enum class Verdict {
    Unknown, // a device without curves
    Full, // the curves do not meet up to Iк(3) max at the node
    Partial, // selective up to Is only
    None, // Is within the downstream device's own range (up to its sure instantaneous trip)
};

// Where the curves meet.
enum class Zone { None, Thermal, Instantaneous };

// The smallest current at which the upstream "never trips" curve is not above
// the downstream "always trips" curve, A; nothing when they never meet.
std::optional<double> limitCurrent(const TripCurves::Band &upstream, const TripCurves::Band &downstream);

struct PairInput {
    TripCurves::Band upstream;
    TripCurves::Band downstream;
    std::optional<double> maximumAtNode; // Iк(3) max at the node, kA
};

struct PairCheck {
    std::optional<double> limit; // Is, A (nothing: the curves never meet)
    Verdict verdict = Verdict::Unknown;
    Zone zone = Zone::None;
};

PairCheck check(const PairInput &input);

struct Pair {
    int upstreamLine = -1; // index in the project's list
    int downstreamLine = -1;
    Protection::Breaker upstreamDevice;
    Protection::Breaker downstreamDevice;
    std::optional<TripCurves::Band> upstreamBand; // nothing: the file has no curves for the device
    std::optional<TripCurves::Band> downstreamBand;
    std::optional<double> maximumAtNode; // Iк(3) max at the node, kA
    std::optional<double> minimumAtEnd; // Iк(1) min at the downstream line's end, kA
    double loadCurrent = 0; // Ib of the downstream line, A
    double permissibleCurrent = 0; // Iz of the downstream line, A
    PairCheck check;
    std::optional<Protection::Breaker> remedy; // the smallest upstream device that would be selective
    QString reason; // where the curves meet, for the user
    QString hint; // what would help
};

struct Result {
    QVector<Pair> pairs; // in tree order of the downstream lines
    QVector<int> pairOfLine; // by line index: its pair as the downstream line, or -1
    QVector<int> order; // every line in tree order
    QStringList problems;
};

// Every pair of the network: each line with a device whose start is the end
// of a line with a device.
Result compute(const Network::Tree &tree, const Network::Result &network,
               const Protection::BreakerTable &breakers, const TripCurves::CurveTable &curves, int places);

// The pairs of a project as it stands, with the data files of the application folder.
Result of(const Project &project, const AppContext &context);

// "полная", "до Is = 0,32 кА", "нет", "-".
QString verdictText(const PairCheck &check, int places);
// "полная", "частичная", "нет", "-".
QString verdictWord(Verdict verdict);
// What the verdicts rest on, shown wherever they are.
QString basisText();

// The columns of the window and the schedule.
QStringList headings();
QStringList pairTexts(const Project &project, const Pair &pair, int places);
// The command line's fields: upstream line, downstream line, devices,
// Iк(3) max at the node (kA), Is (kA or "-"), verdict word.
QStringList commandLineFields(const Project &project, const Pair &pair, int places);

// The verdict of a line as the downstream device of its pair: the protection
// schedule's column ("-" for a line that is no downstream device of a pair).
QString lineVerdictText(const Result &result, int line, int places);

} // namespace Selectivity
