#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The utilisation factors η of luminaire types by room index and the
// reflectances of ceiling, walls and working plane (registry entry
// UtilisationTables). One table per type:
//   "Тип","name","100"|"лампа","λ","description with its source"
//   "Индекс",i1,i2,...            room indices, ascending
//   ρп,ρс,ρр,η1,η2,...            one line per reflectance row, per cent
// "100": η is given for a luminaire efficiency of 100 % (relative to the
// luminaire's own flux); "лампа": relative to the flux of its lamps, the
// efficiency of that luminaire already inside. λ is the greatest spacing over
// height the type allows; empty where the source gives none.
namespace Lighting {

enum class TableBasis { Luminaire, Lamps };

struct ReflectanceRow {
    double ceiling = 0; // per cent
    double walls = 0;
    double floor = 0;
    QVector<double> percent; // η per room index
};

struct UtilisationTable {
    QString name;
    TableBasis basis = TableBasis::Luminaire;
    double spacingRatio = 0; // 0: not given
    QString description;
    QVector<double> indices;
    QVector<ReflectanceRow> rows;
};

// η with what had to be taken from the table's edge: an index or a
// reflectance beyond the table takes the nearest value the table has.
struct Utilisation {
    double eta = 0; // fraction
    bool indexClamped = false;
    bool reflectanceClamped = false;
};

// Linear in the room index between the table's indices, and between the
// reflectance rows: first along the working plane among rows of the same
// ceiling and walls, then along the walls among rows of the same ceiling,
// then along the ceiling.
Utilisation utilisation(const UtilisationTable &table, double roomIndex, double ceiling, double walls, double floor);

class UtilisationTables
{
public:
    enum class Status { Ok, Missing, Damaged };

    static UtilisationTables load(const QString &appDir);
    static UtilisationTables fromText(const QString &text);

    Status status() const { return m_status; }
    // The message for a missing or damaged file; empty when it could be read.
    QString problem() const;
    const QVector<UtilisationTable> &tables() const { return m_tables; }
    QStringList names() const;
    // The table of that name (blanks around ignored); nullptr when there is none.
    const UtilisationTable *find(const QString &name) const;

private:
    Status m_status = Status::Missing;
    QVector<UtilisationTable> m_tables;
    QString m_shownPath;
    QString m_detail;
};

} // namespace Lighting
