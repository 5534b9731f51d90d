#pragma once

#include "base/AppContext.h"
#include "base/Project.h"
#include "base/Prompter.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// One transformer of the data file: rated power (kVA) and its impedances
// referred to the 0.4 kV side (mOhm).
struct TransformerRecord {
    double power = 0;
    double Rt = 0;
    double Xt = 0;
    double Zt = 0;
    bool operator==(const TransformerRecord &) const = default;
};

// The transformer data file as read for one lookup. Every record of the file
// is kept, in file order, so that every power offered in the dialog finds
// its own impedances.
struct TransformerTable {
    enum class Status { Ok, Missing, Damaged };

    QVector<TransformerRecord> records;
    Status status = Status::Ok;
    QString shownPath; // the file as named in messages
    int badRecord = 0; // 1-based number of the first record that could not be read

    // The powers as the dialog lists them ("400", "2,5").
    QStringList powerTexts() const;
    // What to tell the user about the file; empty when it was read whole.
    QString problem() const;
};

namespace Transformer {

// Read as the file's records: four numbers each, point decimal, separated by
// commas or line ends. Reading stops at the first field that is not a
// number, at a power not above 0 or a negative impedance, and at an
// incomplete last record; the records before it are kept.
TransformerTable parseTransformerTable(const QString &text);
// Reads the file of registry entry 5 of the application folder.
TransformerTable readTransformerTable(const QString &appDir);
// Shows the table's problem, if any, as an error.
void reportTableProblem(const TransformerTable &table, Prompter &prompter);

// The numeric value of transformerPower in single precision, as the lookups compare it.
float powerValue(const QString &transformerPower);

// The last record whose power equals `power` in single precision.
std::optional<TransformerRecord> recordOf(const TransformerTable &table, float power);

// Zт(1), the transformer's impedance to a single-phase fault, that the
// simplified method takes, mOhm: the table's value (of a Y/Yн-0
// transformer) for group "Y"; for "D" (Д/Yн-11), whose zero-sequence
// impedance equals the positive-sequence one, Zт(1)/3 = |Z1| = √(Rt² + Xt²).
double faultImpedance(double Rt, double Xt, double Zt, const QString &group);

// Sets Rt, Xt, Zt of the project from the last record whose power equals
// `power` in single precision; an unknown power leaves them as they were.
// Returns the index of the list entry to select (the last whose value equals
// `power`), -1 when none does.
int selectTransformer(const TransformerTable &table, float power, Project &project);

// Resistance of the high-voltage supply line referred to 0.4 kV, mOhm:
// 1.6 x L x 1000 / (gamma x S) with L in km and S in mm2. Texts that are
// empty or not numbers count as 0; a section of 0 or an unknown material
// gives 0.
double supplyLineResistance(const QString &length, const QString &material, const QString &section, const CalcValues &calc);

// What opening a project does with its transformer texts: looks up Rt, Xt,
// Zt for transformerPower and computes Rnet. Returns the table it read, so the caller
// can report a damaged or missing file.
TransformerTable updateProjectValues(Project &project, const QString &appDir, const CalcValues &calc);

// The warning of every command that needs a transformer power and finds none.
QString noPowerMessage();

} // namespace Transformer
