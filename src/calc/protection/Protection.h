#pragma once

#include "base/AppContext.h"
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
    // A modular breaker of ГОСТ IEC 60898-1 (B, C, D): its multiple is already
    // the upper limit of the instantaneous range.
    bool isModular() const;
    // What the setting of the instantaneous release may be exceeded by: 1 for
    // a modular breaker, 1,2 for an industrial one (ГОСТ Р 50030.2 / IEC
    // 60947-2, 8.3.3.1.2: ±20 % of the setting).
    double releaseTolerance() const;
    // The current that surely trips the device at once, A.
    double tripCurrent() const { return rated * instantaneous * releaseTolerance(); }
    // "10·Iн = 630 А", or "1,2·10·Iн = 1920 А" with the tolerance.
    QString tripCurrentText(int places) const;
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

// The most let-through energy of modular breakers of energy-limiting class 3
// (registry entry LetThrough): "characteristic",In,Ik,I2t per line: a
// breaker of that characteristic up to In (A) lets through at most I2t (A²s)
// at a prospective current up to Ik (A).
class LetThroughTable
{
public:
    enum class Status { Ok, Missing, Damaged };
    static LetThroughTable load(const QString &appDir);
    static LetThroughTable fromText(const QString &text);
    Status status() const { return m_status; }
    QString problem() const;
    // The least bound of the rows that cover the device and the current;
    // nothing where none does.
    std::optional<double> find(const QString &characteristic, double rated, double prospectiveCurrent) const;

private:
    struct Row {
        QString characteristic;
        double rated = 0;
        double current = 0;
        double energy = 0;
    };
    Status m_status = Status::Missing;
    QVector<Row> m_rows;
    QString m_shownPath;
    QString m_detail;
};

// The I²t a device lets through at `maximumAtDevice` (kA): a modular breaker
// that breaks that current and has a row; nothing otherwise.
std::optional<double> letThroughOf(const Breaker &device, std::optional<double> maximumAtDevice,
                                   const LetThroughTable &letThrough);

// The smallest device of the characteristic with Ib <= In <= Iz.
std::optional<Breaker> choose(const BreakerTable &table, const QString &characteristic, double loadCurrent,
                              double permissibleCurrent);
// The characteristics "Подобрать" tries without one chosen: C, B, D, then
// the industrial breakers in file order.
QStringList choiceOrder(const BreakerTable &table);
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

// How the thermal withstand was judged: by the least section for the fault
// current and the disconnection time (S min = Iк·√t / k), or by the device's
// let-through energy (I²t).
enum class ThermalCriterion { None, MinimumSection, LetThrough };
QString thermalCriterionText(ThermalCriterion criterion); // "S min", "I²t", ""

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
    // I²t of the device at maximumAtDevice, A²s: the thermal check then
    // compares it with k²S² instead of taking S >= I·√t / k.
    std::optional<double> letThrough;
    // Without a device: none of the table fits Ib <= In <= Iz.
    bool noDeviceFits = false;
};

struct LineCheck {
    QString name;
    int level = 1; // 1 for a line starting at the bus, 2 for one starting at its end, ...
    CheckInput input;
    double tripTime = 0; // the one the thermal check used
    // A, the current that surely trips the device at once (with the tolerance
    // of an industrial release), which the disconnection check used; 0
    // without a device.
    double tripCurrent = 0;
    bool chosen = false; // the device was chosen for this run ("Подобрать")
    Verdict overload = Verdict::NotApplicable;
    Verdict disconnection = Verdict::NotApplicable;
    Verdict breaking = Verdict::NotApplicable;
    Verdict thermal = Verdict::NotApplicable;
    // The figures behind a "нет", for the user.
    QString overloadReason;
    QString disconnectionReason;
    QString breakingReason;
    QString thermalReason;

    // The figures behind the thermal verdict, for the schedule: the criterion
    // and the least section it asks for (mm²).
    ThermalCriterion thermalCriterion = ThermalCriterion::None;
    double minimumSection = 0;
};

// `withReasons` false leaves the reasons empty: a whole network is checked
// without them, and a line's are had again when they are shown.
LineCheck evaluate(const QString &name, const CheckInput &input, int places, bool withReasons = true);
// The checks a verdict "нет" stands for, by name ("отключающая способность").
QStringList failedChecks(const LineCheck &check);
// The tool tip of a disconnection verdict: its figures, the trip current used.
QString disconnectionNote(const LineCheck &check, int places);

// "Подобрать" for a line whose place gives `input` (its device ignored): the
// smallest In with Ib <= In <= Iz whose device passes every check that the
// known currents allow, trying `characteristic` or, without one, the
// characteristics in choiceOrder(). When none passes all, the one that fails
// least: breaking capacity first, then the number of failed checks.
struct DeviceChoice {
    std::optional<Breaker> device; // nothing: no device fits Ib <= In <= Iz
    LineCheck check; // the verdicts of the chosen device
};
DeviceChoice chooseDevice(const BreakerTable &table, const LetThroughTable &letThrough, const QString &characteristic,
                          const QString &lineName, CheckInput input, int places);
// What "Подобрать" says of a device that fails checks; empty when it passes all.
QString compromiseMessage(const DeviceChoice &choice);

// The device a line keeps; nothing without one (or one the file lacks, which
// `problem` then names).
std::optional<Breaker> deviceOf(const CableLine &line, const BreakerTable &table, QString *problem = nullptr);

// What the checks of a line take from the line itself: its device, Ib, Iz,
// conductor and disconnection time; the currents are the network's. A stored
// time out of its range is told in `damage` and the default stands for it.
CheckInput lineInput(const CableLine &line, const BreakerTable &table, QString *problem = nullptr,
                     QString *damage = nullptr);
// The checks of a line at its place (`input`): with its device, or, with
// `chooseMissing` and none set, with the one "Подобрать" chooses (what the
// choice found added to `notes`).
LineCheck checkLine(const CableLine &line, CheckInput input, const BreakerTable &table,
                    const LetThroughTable &letThrough, int places, bool chooseMissing, QStringList &notes,
                    bool withReasons = true);

struct Result {
    QVector<LineCheck> lines; // every line of the network, in tree order
    QStringList problems; // data files that could not be read, devices the file lacks
    QStringList damage; // stored values out of their range, replaced by the defaults: damage of the project
    QStringList notes; // what choosing devices found; a let-through file that could not be read
};

// The columns of the window, the schedule and the command line.
QStringList headings();
QStringList lineTexts(const LineCheck &check, int places);
QString verdictText(Verdict verdict); // "да", "нет", "-"

} // namespace Protection
