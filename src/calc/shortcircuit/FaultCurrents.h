#pragma once

#include "base/AppContext.h"
#include "base/Project.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// Short-circuit currents by the method of ГОСТ 28249-93 beside the simplified
// method of ShortCircuit (the network walks the lines and adds their shares): positive- and zero-sequence impedances summed as
// complex values, the average voltage 400 V, the system's short-circuit power,
// the transformer's vector group, the maximum currents with cold conductors
// and the minimum single-phase current with heated cables, contacts and the arc.
// Impedances are in mOhm and voltages in V, so currents come out in kA.
namespace FaultCurrents {

// The average voltage of the 0.4 kV network the standard computes with.
constexpr double AverageVoltage = 400;

struct Sequences {
    double r1 = 0;
    double x1 = 0;
    double r0 = 0;
    double x0 = 0;
    Sequences &operator+=(const Sequences &o);
};

// The transformer table (registry entry 15): "power,group,R1,X1,R0,X0" per
// line, group Y for Y/Yн-0 and D for Д/Yн-11, mOhm referred to 0.4 kV.
class TransformerTable
{
public:
    enum class Status { Ok, Missing, Damaged };
    static TransformerTable load(const QString &appDir);
    static TransformerTable fromText(const QString &text);
    Status status() const { return m_status; }
    // The last record of the power and group.
    std::optional<Sequences> find(double power, const QString &group) const;
    QString problem() const;

private:
    struct Row {
        double power = 0;
        QString group;
        Sequences z;
    };
    Status m_status = Status::Missing;
    QVector<Row> m_rows;
    QString m_shownPath;
    QString m_detail;
};

// The cable table (registry entry 16): "material,section,r1,x1,r0,x0" per
// line, mOhm/m, resistances at 20 °C, r0 for a neutral of the phase section.
class CableTable
{
public:
    enum class Status { Ok, Missing, Damaged };
    static CableTable load(const QString &appDir);
    static CableTable fromText(const QString &text);
    Status status() const { return m_status; }
    std::optional<Sequences> find(const QString &material, double section) const;
    QString problem() const;

private:
    struct Row {
        QString material;
        double section = 0;
        Sequences z;
    };
    Status m_status = Status::Missing;
    QVector<Row> m_rows;
    QString m_shownPath;
    QString m_detail;
};

// The inputs of the method, read from the project's texts.
struct Inputs {
    double transformerPower = 0; // kVA
    QString group = QStringLiteral("Y"); // "Y" or "D"
    double systemPower = 0; // MVA; 0: an infinite system
    double supplyVoltage = 10; // kV of the supply line: 6 or 10
    bool supplyLine = false;
    bool supplyOverhead = false; // an overhead line, else a cable
    double supplyLength = 0; // km
    QString supplyMaterial;
    double supplySection = 0; // mm²
    double busResistance = 0; // mOhm: busbars and devices of the substation
    double busReactance = 0;
    double contactResistance = 0; // mOhm per line
    double arcResistance = 0; // mOhm at the fault, minimum currents only
    double conductorTemperature = 65; // °C of the cables at the end of the fault, minimum currents only
};

// The project's inputs; nothing, with the message for the user, when one of
// them is not a sound value (named by its field).
std::optional<Inputs> inputsOf(const Project &project, QString *message);

// System reactance referred to 0.4 kV: U² / Sк, mOhm (Sк in MVA); 0 for an infinite system.
double systemReactance(double systemPowerMVA);
// The average voltage of the supply line's network (ГОСТ 28249-93): 10,5 kV
// for 10 kV, 6,3 kV for 6 kV.
double averageSupplyVoltage(double supplyVoltage);
// The supply line's resistance referred to 0.4 kV: L / (γ S) × (0.4 / Uср)², mOhm.
double supplyLineResistance(const Inputs &inputs, const CalcValues &calc);
// Its reactance per km, Ω: 0,08 for a cable, 0,35 for an overhead line.
double supplyLineReactancePerKm(bool overhead);
// Its reactance referred to 0.4 kV: x·L × (0.4 / Uср)², mOhm.
double supplyLineReactance(const Inputs &inputs);
// The resistance factor of a conductor heated from 20 °C to `temperature`
// (ГОСТ 22483: (234,5 + θ) / 254,5 for copper, (228 + θ) / 248 for aluminium).
double heatingFactor(const QString &material, double temperature);
// The peak factor from the circuit's X/R: 1 + sin φ · e^(−(π/2 + φ) / tg φ), φ = arctg(X/R).
double peakFactor(double r1, double x1);

// The currents of one point, kA; a current that does not apply (three-phase
// currents at the end of a single-phase line) or cannot be had is nothing.
struct Point {
    QString name;
    int level = 0; // 0 for the substation's terminals, 1 for a line starting at the bus, ...
    std::optional<double> threePhase; // Iк(3) max
    std::optional<double> twoPhase; // Iк(2)
    std::optional<double> singlePhaseMax; // Iк(1) max
    std::optional<double> singlePhaseMin; // Iк(1) min
    std::optional<double> peakFactor; // Kуд
    std::optional<double> peakCurrent; // iуд
    Sequences maximum; // the sums of the point, cold conductors
};

struct Result {
    QVector<Point> points; // "ТП", then every line of the network in tree order
    QStringList problems; // what could not be read or found, for the user
};

// The sums of a point: cold conductors for the maximum currents, heated ones
// (at the end of the fault) for the minimum.
struct Sums {
    Sequences cold;
    Sequences heated;
};

// The sums at the transformer's terminals: the system and the supply line in
// the positive sequence, the transformer, the busbars and devices of the
// substation. Nothing when the transformer file lacks the transformer (the
// reason added to `problems`, with those of the two files).
std::optional<Sums> sourceSums(const Inputs &inputs, const CalcValues &calc, const TransformerTable &transformers,
                               const CableTable &cables, QStringList *problems);
// What a line's cable adds to the sums (by the cable file; the neutral's own
// section gives the zero sequence); nothing when the file lacks its sections.
std::optional<Sums> cableShare(const CableLine &line, const Inputs &inputs, const CableTable &cables);
// The same from the line's values: its material, phase and neutral sections
// (mm²; the neutral 0 when it has none of its own) and length (m).
std::optional<Sums> cableShare(const QString &material, double section, double neutralSection, double length,
                               const Inputs &inputs, const CableTable &cables);
// The sums at a line's end: those at its start, its cable, its contacts.
Sums lineEnd(const Sums &start, const Sums &cable, const Inputs &inputs);
// Said once when a line's sections are missing from the cable file.
QString missingCableMessage(const CableLine &line);
// Whether a line counts as three-phase for its point (the row's voltage).
bool isThreePhase(const CableLine &line);
// The currents of a point with these sums.
Point pointOf(const QString &name, const Sums &sums, bool threePhase, const Inputs &inputs);

// The texts of a point as the window, the schedule and the command line show
// them: kA rounded to `places`, "-" where a value does not apply.
QStringList pointTexts(const Point &point, int places);
// The headings of those texts.
QStringList headings();

} // namespace FaultCurrents
