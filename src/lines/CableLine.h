#pragma once

#include <QString>
#include <QStringList>

#include <optional>

struct CalcValues;

// One row of the cable line list. The row is its own store: every value is
// kept as the text shown in its column.
struct CableLine {
    enum Cell {
        Mark = 0,
        Cores = 1,
        Material = 2,
        Length = 3,
        Resistance = 4,
        LoadCurrent = 5,
        PermissibleCurrent = 6,
        VoltageDrop = 7,
        Voltage = 8,
        CellCount = 9
    };

    QString name;
    QStringList cells; // CellCount texts, columns 2..10 of the list
    bool checked = false;

    CableLine();
    QString cell(int index) const { return index >= 0 && index < cells.size() ? cells.at(index) : QString(); }
    // The text of list column `column` (0 = name, 1..9 = cells).
    QString column(int column) const { return column == 0 ? name : cell(column - 1); }
    bool operator==(const CableLine &o) const = default;
};

enum class NetworkType { SinglePhase, ThreePhase };

namespace LineCalc {

inline QString copper() { return QStringLiteral("Медь"); }
inline QString aluminium() { return QStringLiteral("Алюминий"); }

// Column headers of the cable line list, in order.
QStringList columnHeaders();

// L * 1000 / gamma / S in mOhm; no value when S is 0 or the material is unknown.
std::optional<double> LineResistance(double length, const QString &material, double section,
                                     const CalcValues &calc);

// R * 2I / 220 / 10 (single-phase) or R * I / 380 / 10 (three-phase); no R counts as 0.
double VoltageDrop(std::optional<double> resistance, double current, NetworkType net);

// n "x" S [" + 1x" S0]
QString FormatCoreNotation(int coreCount, double section, const QString &neutralText);

// The neutral-core section of a notation, 0 when there is none.
float NeutralSection(const QString &notation);

// The phase-core section of a notation as text (may be empty).
QString PhaseSectionText(const QString &notation);

// The typed current or the value of an offered choice "name - 25,5А"; 0 when
// the text yields no number.
double ParseLoadCurrent(const QString &text);

// Construction choices of each network, in list order.
QStringList constructionChoices(NetworkType net);
// Number of cores of a construction choice; 0 for a text not in the table.
int CoreCount(NetworkType net, const QString &choice);

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
};

CableLine ComputeLine(const LineInput &in, const CalcValues &calc);

} // namespace LineCalc
