#pragma once

#include "base/Load.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

class Prompter;

// The load of one consumer, the named coefficient lists and the totals of a
// shield. Every derived value of a load comes from its inputs (Pу, cos φ,
// Kс, number of phases, η) unrounded; only what is shown is rounded, and the
// totals add the unrounded values.
namespace LoadCalc {

// Headers of the ten columns of a loads list, in order.
QStringList columnHeaders();

// The phase voltage in kV: S in kVA divided by it gives A.
constexpr double PhaseVoltage = 0.22;

// What the load dialog holds when it is confirmed, as typed.
struct LoadInput {
    QString name;
    QString power; // Pу, kW
    QString cosf; // cos φ
    QString ks; // Кс
    bool threePhase = false;
    QString phase = QStringLiteral("A"); // of a single-phase load
    QString kpd = QStringLiteral("1"); // η; a single-phase load always holds "1"
};

// The field that failed the checks.
enum class Field { None, Name, Power, Cosf, Ks, Kpd };

// Runs the dialog's eight checks in order and tells the user about the first
// failure through the prompter. `emptyField` is set when the failed field was
// empty (its text is then not selected).
Field checkLoadInput(const LoadInput &in, Prompter &prompter, bool *emptyField = nullptr);

// The ten texts of a checked input; `places` is decimalPlaces as an integer.
Load computeLoad(const LoadInput &in, int places);

// What a load derives from its inputs, unrounded.
struct LoadValues {
    double design = 0; // Pр = Pу·Kс, kW
    double apparent = 0; // S = Pр / cos φ, kVA
    double current = 0; // I = S / n / η / 0,22, A in each of its phases
};
// Nothing when an input is not a number or a divisor (cos φ, n, η) is not above 0.
std::optional<LoadValues> loadValues(const QString &power, const QString &cosf, const QString &ks, double phases,
                                     const QString &kpd);
// The values of a row from its input cells.
std::optional<LoadValues> loadValues(const Load &load);
// The current of a load at its full power (Kс = 1), A in each of its phases:
// what a single consumer draws from its own line.
std::optional<double> ratedCurrent(const Load &load);
// The row computed afresh from its input cells; nothing when they would not
// pass the load dialog's checks (the row then keeps its texts).
std::optional<Load> recomputeLoad(const Load &load, int places);

// A total as shown: rounded to `places`, "∞" (or "-∞") past the range of
// numbers, "-" where it has no value.
QString totalText(double value, int places);

// One record of a coefficient list: a consumer and its value (nothing when
// the value text is not a number).
struct NamedCoefficient {
    QString name;
    std::optional<double> value;
};

// Reads a coefficient list (registry entries 8 and 9): quoted or bare
// "name","value" pairs, values with a comma or a point. A missing file gives
// an empty list.
QVector<NamedCoefficient> readCoefficientList(const QString &path);

// The first record of that name, if any.
std::optional<NamedCoefficient> findCoefficient(const QVector<NamedCoefficient> &list, const QString &name);

// The phase a row is marked with, from its phase text (exact Latin letters).
enum class PhaseMark { None, A, B, C, ABC };
PhaseMark phaseMark(const QString &phaseText);

// The eleven displays of a shield and the two figures of its phase balance,
// as number texts.
struct ShieldTotals {
    QString installedPower = QStringLiteral("0"); // ΣPу, kW
    QString designPower = QStringLiteral("0"); // ΣPр, kW
    QString apparentPower = QStringLiteral("0"); // ΣS, kVA
    QString current = QStringLiteral("0"); // the largest phase current, A
    QString powerFactor = QStringLiteral("0");
    QString phasePower[3] = {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")}; // A, B, C, kVA
    QString phaseCurrent[3] = {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")}; // A, B, C, A
    QString neutralCurrent = QStringLiteral("0"); // of the phase currents, A
    QString imbalance = QStringLiteral("0"); // of the phase currents, %

    bool operator==(const ShieldTotals &o) const;
};

// The totals and phase loading of a shield's loads: the unrounded values of
// every row from its inputs added up, rounded only as shown (phase powers to
// one place more). A row whose inputs give nothing counts with its texts; a
// cell that is not a number is left out of the sum that needs it. The current
// of the shield is its most loaded phase's; the neutral and the imbalance
// come from the phase currents.
ShieldTotals recalcShieldTotals(const QVector<Load> &loads, int places);

// The current in the neutral conductor of three phase currents of one power
// factor: √(Ia² + Ib² + Ic² − Ia·Ib − Ib·Ic − Ic·Ia), computed on the
// currents scaled to the largest, so that no square overflows.
double neutralCurrent(double a, double b, double c);
// How far the most loaded phase lies above the mean, (Imax − Iср) / Iср in
// per cent; 0 without any load.
double phaseImbalance(double a, double b, double c);
// Above this imbalance, in per cent, the phases count as unevenly loaded.
constexpr double ImbalanceLimit = 15;
bool isImbalanced(const ShieldTotals &totals);

} // namespace LoadCalc
