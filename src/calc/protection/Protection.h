#pragma once

#include "base/Project.h"
#include "calc/shortcircuit/FaultCurrents.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// Protective devices of the lines and the checks that make the short-circuit
// currents worth computing: overload (ГОСТ Р 50571.4.43 / IEC 60364-4-43,
// 433.1), automatic disconnection (ПУЭ 1.7.79), breaking capacity and the
// thermal withstand of the cable (IEC 60364-4-43, table 43A).
namespace Protection {

// One device of the data file.
struct Breaker {
    QString type; // "Автомат"; fuses may follow
    QString characteristic; // "B", "C", "D" (ГОСТ IEC 60898-1) or "10In" (industrial breakers)
    double rated = 0; // In, A
    double instantaneous = 0; // upper limit of the instantaneous release, multiples of In
    double breakingCapacity = 0; // Icu, kA
    // "C63" for a letter, "250А 10In" otherwise.
    QString designation() const;
    // The current that trips the device at once, A.
    double tripCurrent() const { return rated * instantaneous; }
    bool operator==(const Breaker &) const = default;
};

// The devices (registry entry 17): "type","characteristic",In,multiple,Icu per line.
class BreakerTable
{
public:
    enum class Status { Ok, Missing, Damaged };
    static BreakerTable load(const QString &appDir);
    static BreakerTable fromText(const QString &text);
    Status status() const { return m_status; }
    QString problem() const;
    // The characteristics in file order, each once.
    QStringList characteristics() const;
    // The devices of a characteristic by rated current.
    QVector<Breaker> ofCharacteristic(const QString &characteristic) const;
    std::optional<Breaker> find(const QString &characteristic, double rated) const;

private:
    Status m_status = Status::Missing;
    QVector<Breaker> m_rows;
    QString m_shownPath;
    QString m_detail;
};

// "Подобрать": the smallest device of the characteristic with Ib <= In <= Iz.
std::optional<Breaker> choose(const BreakerTable &table, const QString &characteristic, double loadCurrent,
                              double permissibleCurrent);
// Without a characteristic: the default one first, then the others in file
// order (an industrial breaker where no modular one is large enough).
std::optional<Breaker> chooseAny(const BreakerTable &table, double loadCurrent, double permissibleCurrent);
// The characteristic offered first.
QString defaultCharacteristic();
// What "Подобрать" says when no device of the characteristic fits.
QString noDeviceMessage(const QString &lineName, const QString &characteristic, double loadCurrent,
                        double permissibleCurrent);

// k of IEC 60364-4-43 table 43A for PVC insulation: 115 copper, 76 aluminium
// up to 300 mm², 103 and 68 above.
double thermalFactor(const QString &material, double section);
// The disconnection time the thermal check takes when none is typed: 0,1 s
// for an instantaneous trip, else 5 s (ПУЭ 1.7.79 for distribution circuits).
double defaultTripTime(bool instantaneous);

enum class Verdict { NotApplicable, Yes, No };

// What the checks of one line take.
struct CheckInput {
    std::optional<Breaker> device;
    double loadCurrent = 0; // Ib, A
    double permissibleCurrent = 0; // Iz, A (corrected)
    std::optional<double> minimumSinglePhase; // Iк(1) min at the line's end, kA
    std::optional<double> maximumAtDevice; // Iк(3) max (Iк(1) max on a single-phase path) at the line's start, kA
    QString material;
    double section = 0; // mm²
    std::optional<double> tripTime; // s, as typed
};

struct LineCheck {
    QString name;
    int level = 1; // 1 for a line starting at the bus, 2 for one starting at its end, ...
    CheckInput input;
    double tripTime = 0; // the one the thermal check used
    Verdict overload = Verdict::NotApplicable;
    Verdict disconnection = Verdict::NotApplicable;
    Verdict breaking = Verdict::NotApplicable;
    Verdict thermal = Verdict::NotApplicable;
    // The figures behind a "нет", for the user.
    QString overloadReason;
    QString disconnectionReason;
    QString breakingReason;
    QString thermalReason;
};

// `withReasons` false leaves the reasons empty: a whole network is checked
// without them, and a line's are had again when they are shown.
LineCheck evaluate(const QString &name, const CheckInput &input, int places, bool withReasons = true);

// The device a line keeps; nothing without one (or one the file lacks, which
// `problem` then names).
std::optional<Breaker> deviceOf(const CableLine &line, const BreakerTable &table, QString *problem = nullptr);

// What the checks of a line take from the line itself: its device, Ib, Iz,
// conductor and disconnection time; the currents are the network's.
CheckInput lineInput(const CableLine &line, const BreakerTable &table, QString *problem = nullptr);

struct Result {
    QVector<LineCheck> lines; // every line of the network, in tree order
    QStringList problems;
};

// The columns of the window, the schedule and the command line.
QStringList headings();
QStringList lineTexts(const LineCheck &check, int places);
QString verdictText(Verdict verdict); // "да", "нет", "-"

} // namespace Protection
