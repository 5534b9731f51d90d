#pragma once

#include "base/Load.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

class Prompter;

// The load of one consumer, the named coefficient lists and the totals of a
// shield. Every value is read back from the texts already written, so a
// rounded design power is what feeds the apparent power, and so on.
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
    QString current = QStringLiteral("0"); // ΣS / 0.22, A
    QString powerFactor = QStringLiteral("0");
    QString phasePower[3] = {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")}; // A, B, C, kVA
    QString phaseCurrent[3] = {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")}; // A, B, C, A
    QString neutralCurrent = QStringLiteral("0"); // of the phase currents, A
    QString imbalance = QStringLiteral("0"); // of the phase currents, %

    bool operator==(const ShieldTotals &o) const;
};

// The totals and phase loading of a shield's loads in list order. Each step
// reads the running text, adds, rounds where due and writes the text back; a
// cell that is not a number is left out of the step that needs it.
// The neutral and the imbalance come from the phase currents as shown.
ShieldTotals recalcShieldTotals(const QVector<Load> &loads, int places);

// The current in the neutral conductor of three phase currents of one power
// factor: √(Ia² + Ib² + Ic² − Ia·Ib − Ib·Ic − Ic·Ia).
double neutralCurrent(double a, double b, double c);
// How far the most loaded phase lies above the mean, (Imax − Iср) / Iср in
// per cent; 0 without any load.
double phaseImbalance(double a, double b, double c);
// Above this imbalance, in per cent, the phases count as unevenly loaded.
constexpr double ImbalanceLimit = 15;
bool isImbalanced(const ShieldTotals &totals);

} // namespace LoadCalc
