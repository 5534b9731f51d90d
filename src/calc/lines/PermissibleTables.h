#pragma once

#include "base/Load.h"
#include "calc/lines/LineCalc.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// The permissible-current tables, the sections they offer for a construction,
// the permissible current of a section and the proposal of a section for a load.
namespace Permissible {

// Positions of the material list of the line dialog.
enum Material { Aluminium = 0, Copper = 1 };
// Positions of the laying list (three-phase cables).
enum Laying { InAir = 0, InGround = 1 };

// The material list in its order: "Алюминий", "Медь".
QStringList materialNames();
// The laying list: "в воздухе", "в земле".
QStringList layingChoices();

// What the line dialog has chosen; -1 where a list has no selection.
struct Choice {
    NetworkType net = NetworkType::ThreePhase;
    int material = Aluminium;
    int type1 = -1; // single-phase construction
    int type2 = -1; // three-phase number of cores
    int type3 = -1; // three-phase laying

    // The text of the construction entry that gives the number of cores.
    QString constructionText() const;
};

// A single-core cable has no value in the ground: choosing it moves the
// laying to the air.
bool mustLayInAir(const Choice &choice);

// Positions of the three-phase construction list.
enum ThreePhaseConstruction { OneCore = 0, TwoCore = 1, ThreeCore = 2, FourCore = 3, FiveCore = 4 };

// A cable laid in the ground (three-phase, "в земле"); everything else is in air.
bool laidInGround(const Choice &choice);

// The conditions the tables assume and those of the line: ambient temperature
// and several working cables in one trench (ПУЭ 1.3.10-1.3.13).
struct LayingConditions {
    std::optional<double> ambient; // °C; nothing: the tables' own
    int cables = 1; // working cables in one trench (ground only)
    int spacing = 100; // their clear distance, mm: 100, 200 or 300
};

// The correction of a table current: k_t for the temperature, k_group for
// the cables in one trench.
struct Correction {
    double temperature = 1;
    double grouping = 1;
    double factor() const { return temperature * grouping; }
};

// Conductor temperature of the tables of rubber and PVC insulation, °C.
constexpr double ConductorTemperature = 65;
// The ambient of the tables: 15 °C in the ground, 25 °C in air.
double tableAmbient(const Choice &choice);
// k_t = sqrt((65 - ambient) / (65 - table ambient)), to two places as the
// printed factors are; nothing for an ambient from 65 °C up or below -50 °C.
std::optional<double> temperatureFactor(double ambient, double tableAmbient);
// ПУЭ table 1.3.26: 1 to 6 cables at 100, 200 or 300 mm; nothing otherwise.
std::optional<double> groupingFactor(int cables, int spacing);
// The correction of a choice under its conditions; nothing, with the
// message for the user, when a condition is out of the tables' range.
std::optional<Correction> correctionFor(const Choice &choice, const LayingConditions &conditions,
                                        QString *message = nullptr);
QString ambientMessage();
QString cablesMessage();
QString spacingMessage();

// The ambient temperatures ПУЭ table 1.3.3 prints factors for: -5…+50 °C in
// air, -5…+35 °C in the ground. What the line dialog takes.
struct AmbientRange {
    double low = -5;
    double high = 50;
};
AmbientRange ambientRange(const Choice &choice);
bool ambientInRange(const Choice &choice, double ambient);
// The refusal of an ambient out of that range, with the range.
QString ambientRangeMessage(const Choice &choice);

// The factor a column of the choice applies to the printed value: 0,92 for a
// four- or five-core cable, else 1.
double columnFactor(const Choice &choice);

// Which registry entry holds the table of a network and material, how many
// rows are read from it and how many values a row has.
struct TableSpec {
    int registryIndex = 0;
    int rows = 0;
    int width = 0;
};
std::optional<TableSpec> tableSpec(NetworkType net, int material);

struct TableRow {
    double section = 0;
    QVector<double> currents; // the columns after the section
};

// One loaded table. A file that cannot be read whole is refused as a whole,
// so that no current is ever taken from a damaged file.
class PermissibleTable
{
public:
    enum class Status { NotLoaded, Ok, Missing, Damaged };

    // Reads the table of the network and material from the application folder.
    static PermissibleTable load(const QString &appDir, NetworkType net, int material);
    // Reads `rows` rows of a table text (what load() does with the file's text).
    static PermissibleTable fromText(const QString &text, NetworkType net, int rows);

    Status status() const { return m_status; }
    bool isUsable() const { return m_status == Status::Ok; }
    NetworkType net() const { return m_net; }
    // Rows of the table in use; 0 when it is not usable.
    int rowCount() const { return isUsable() ? int(m_rows.size()) : 0; }
    const QVector<TableRow> &rows() const { return m_rows; }
    // The registry entry text and the file's path.
    const QString &registryEntry() const { return m_entry; }
    const QString &path() const { return m_path; }
    // What is wrong with a damaged file (empty when it is fine).
    const QString &problem() const { return m_problem; }
    // The message shown for a missing or damaged file.
    QString errorMessage() const;

private:
    Status m_status = Status::NotLoaded;
    NetworkType m_net = NetworkType::ThreePhase;
    QVector<TableRow> m_rows;
    QString m_entry;
    QString m_path;
    QString m_problem;
};

// The current of a row for the choice: the column of the construction and
// laying, 0.92 of the three-core value for a four- or five-core cable (the
// fifth core carries no load current), times the correction. Nothing when the
// choice has no column (no selection, a single-core cable in the ground).
std::optional<double> rowCurrent(const PermissibleTable &table, int row, const Choice &choice,
                                 const Correction &correction = {});

// The rows whose sections the section list offers, in file order.
QVector<int> listedRows(const PermissibleTable &table, const Choice &choice);
// Their sections as number texts (2,5 for 2.5 mm²).
QStringList listedSections(const PermissibleTable &table, const Choice &choice);

// The permissible current of a section: nothing when the section is not a
// row of the table or the choice has no column (the caller keeps its value).
std::optional<double> lookupPermissibleCurrent(const PermissibleTable &table, const Choice &choice,
                                               double section, const Correction &correction = {});

// The first row that carries the load (equal values qualify); nothing when no row does.
std::optional<int> proposeSection(const PermissibleTable &table, const Choice &choice, double current,
                                  const Correction &correction = {});

// "Слишком большое значение тока нагрузки!" and its title "Ошибка".
QString tooLargeCurrentMessage();
QString tooLargeCurrentTitle();

// The neutral-core sections offered with a separate neutral core (at most 11).
struct NeutralList {
    QStringList sections; // number texts
    QString path;
    QString error; // the message for a missing or damaged file; empty when it was read
};
NeutralList readNeutralSections(const QString &appDir);

// The load currents offered by the line dialog: shields whose loads draw
// current, and every load with a known phase. A shield offers its design
// current: for a single-phase line, the sum of its loads' currents times
// their phase counts; for a three-phase line, its most loaded phase as the
// shields window totals it (three-phase loads count on every phase); both
// with `places` decimals. A load offers its rated current (Kс = 1), which
// its own line carries.
struct CurrentChoice {
    QString text; // "name - value" + "А"
    QString phase; // empty for a shield, else "A", "B", "C" or "ABC"
    QString powerFactor; // the shield's total or the load's cos φ, as shown
    bool operator==(const CurrentChoice &) const = default;
};
QVector<CurrentChoice> loadCurrentChoices(const QVector<Shield> &shields, NetworkType net, int places);

} // namespace Permissible
