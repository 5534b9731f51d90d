#pragma once

#include "base/AppContext.h"
#include "base/Project.h"
#include "calc/lines/LineCalc.h"

#include <QString>
#include <QVector>

#include <array>

// Short-circuit currents at the end of the checked path by the simplified
// method: cable resistances only, the transformer's impedances (Zт(1) of the
// chosen vector group), the supply line and a contact resistance growing with
// the distribution stages.
// Resistances are in mOhm and voltages in V, so currents come out in kA.
namespace ShortCircuit {

// Sum over the checked lines among lines 1..n of their column
// "Сопротивление, мОм" (already rounded as shown); 0 when none counts.
double sumLineResistance(const QVector<CableLine> &lines, int n);

// Sum over the same lines of the resistance of their neutral conductor: the
// separate neutral core of "3x50 + 1x25", otherwise the phase section ("4x16").
double sumNeutralResistance(const QVector<CableLine> &lines, int n, const CalcValues &calc);

// Sum of (10 + 5 i) for i = 1..ns: 0, 15, 35, 60, 90, 125 mOhm for ns = 0..5;
// 0 for a negative ns. Computed in 64 bits, so it never wraps.
qint64 contactResistance(int ns);

// A current whose formula has a zero (or negative) denominator has no value
// and comes back as 0; hasValue() tells such a result from a real one.
double threePhaseCurrent(double Rnet, double RL, double Rt, double Xt, double Rk);
double twoPhaseCurrent(double ik3);
double singlePhaseCurrent(double RN, double RL, double Zt, double Rk);
double peakCurrent(double ik3);
bool hasValue(double current);

// A current as the window shows it: above 0.1 kA in kA ("кA", Cyrillic к
// and Latin A), otherwise in A ("A", Latin), rounded to `places` decimals.
struct Dimensioned {
    double value = 0;
    QString unit;
};
Dimensioned withUnit(double valueKA, int places);

// The caption of a unit label before the first calculation ("кА", both Cyrillic).
QString initialUnitLabel();

// 1 plus the number of checked lines that are not single-phase.
int initialStageCount(const QVector<CableLine> &lines);
// The upper limit of the stage count: the number of lines plus 1.
int maxStageCount(const QVector<CableLine> &lines);

struct Currents {
    double ik3 = 0;
    double ik2 = 0;
    double ik1 = 0;
    double iy = 0;
};

// The method's name for captions and titles: "упрощенный метод".
QString methodName();
// Zт(1) of the project's transformer and vector group, mOhm.
double transformerFaultImpedance(const Project &project);

// The four currents for a fault after lines 1..n with ns distribution stages.
Currents Calculate(const Project &project, int n, int ns, const CalcValues &calc);

// True when the last line of the list is checked and is not three-phase: the
// fault is then on a single-phase line and only Ik(1) means anything.
bool endsOnSinglePhaseLine(const QVector<CableLine> &lines);

// One result box of the window: its text and the unit label's new caption
// (empty when the label keeps the caption it has).
struct ShownCurrent {
    QString text;
    QString unit;
};
// "Трехфазный ", "Двухфазный ", "Однофазный ", "Ударный " in this order.
using ShownCurrents = std::array<ShownCurrent, 4>;

// What "Вычислить" shows for the whole list and ns stages.
ShownCurrents shownCurrents(const Project &project, int ns, const CalcValues &calc);

} // namespace ShortCircuit
