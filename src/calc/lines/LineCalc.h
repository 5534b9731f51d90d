#pragma once

#include "base/CableLine.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

struct CalcValues;

enum class NetworkType { SinglePhase, ThreePhase };

namespace LineCalc {

inline QString copper() { return Materials::copper(); }
inline QString aluminium() { return Materials::aluminium(); }

// Column headers of the cable line list, in order.
QStringList columnHeaders();

// L * 1000 / gamma / S in mOhm; no value when S is 0 or the material is unknown.
std::optional<double> lineResistance(double length, const QString &material, double section,
                                     const CalcValues &calc);

// In %, with R and X in mOhm: 2I (R cos φ + X sin φ) / 220 / 10 (single-phase)
// or sqrt(3) I (R cos φ + X sin φ) / 380 / 10 (three-phase); no R counts as 0.
// With cos φ 1 it is the resistance-only drop.
double voltageDrop(std::optional<double> resistance, double current, NetworkType net, double reactance = 0,
                   double cosPhi = 1);

// n "x" S [" + 1x" S0]
QString formatCoreNotation(int coreCount, double section, const QString &neutralText);

// The neutral-core section of a notation, 0 when there is none.
float neutralSection(const QString &notation);

// The phase-core section of a notation as text (may be empty).
QString phaseSectionText(const QString &notation);

// The typed current or the value of an offered choice "name - 25,5А"; 0 when
// the text yields no number.
double parseLoadCurrent(const QString &text);

// The texts of a row read as the calculations take them: nothing where a
// text is not a sound value (a length not above 0, a material that is not
// one of the two, a number no finite double holds).
struct RowValues {
    std::optional<QString> material;
    std::optional<NetworkType> net; // from the voltage, "220" or "380"
    std::optional<double> section; // of the phase cores, mm², above 0 and at most 1 000 000 as the dialog takes it
    double neutralSection = 0; // of a separate neutral core, 0 without one
    std::optional<double> length; // m, the same
    std::optional<double> resistance; // mOhm, 0 or more
    std::optional<double> loadCurrent; // A, 0 or more
    std::optional<double> permissibleCurrent; // A, 0 or more
    std::optional<double> voltageDrop; // %, 0 or more
};
RowValues rowValues(const CableLine &line);
// The cells of the row whose texts are not sound values, as CableLine::Cell.
QVector<int> unsoundCells(const CableLine &line);

// Construction choices of each network, in list order.
QStringList constructionChoices(NetworkType net);
// Number of cores of a construction choice; 0 for a text not in the table.
int coreCountOf(NetworkType net, const QString &choice);

// The overload rule of the summary: load current above the permissible one.
bool isOverloaded(double loadCurrent, double permissibleCurrent);

// What the line dialog confirms, already checked; the result row is unchecked.
struct LineInput {
    QString name;
    QString mark;
    QString material;
    NetworkType net = NetworkType::ThreePhase;
    int coreCount = 0;
    double section = 0;
    double length = 0;
    QString loadCurrentText;
    QString neutralText = QStringLiteral("0"); // "0" when the neutral core is off
    double permissibleCurrent = 0;
    double reactance = 0; // X of the line, mOhm
    double cosPhi = 1;
};

CableLine computeLine(const LineInput &in, const CalcValues &calc);

} // namespace LineCalc
