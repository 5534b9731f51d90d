#include "calc/lines/PermissibleTables.h"

#include "base/DataFileRegistry.h"
#include "base/ListInput.h"
#include "base/NumberText.h"
#include "base/TextFile.h"
#include "calc/loads/LoadCalc.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>

namespace Permissible {

namespace {

// Current columns (after the section) of the single-phase tables follow the
// construction list; those of the three-phase tables are fixed.
enum ThreePhaseColumn { OneCoreAir = 0, TwoCoreAir = 1, TwoCoreGround = 2, ThreeCoreAir = 3, ThreeCoreGround = 4 };

constexpr double kFourCoreFactor = 0.92;

struct Column {
    int index = -1;
    double factor = 1;
};

// The column that the permissible current of a choice is read from.
std::optional<Column> lookupColumn(const Choice &c)
{
    if (c.net == NetworkType::SinglePhase) {
        if (c.type1 < 0 || c.type1 > 5)
            return std::nullopt;
        return Column{c.type1, 1};
    }
    const bool air = c.type3 == InAir;
    switch (c.type2) {
    case 0:
        if (!air)
            return std::nullopt;
        return Column{OneCoreAir, 1};
    case 1:
        return Column{air ? TwoCoreAir : TwoCoreGround, 1};
    case 2:
        return Column{air ? ThreeCoreAir : ThreeCoreGround, 1};
    case FourCore:
    case FiveCore:
        return Column{air ? ThreeCoreAir : ThreeCoreGround, kFourCoreFactor};
    default:
        return std::nullopt;
    }
}

// The column whose zero values hide a section from the list; nothing when
// every section is listed ("открыто", a single-core cable, no selection).
std::optional<int> filterColumn(const Choice &c)
{
    if (c.net == NetworkType::SinglePhase) {
        if (c.type1 >= 1 && c.type1 <= 5)
            return c.type1;
        return std::nullopt;
    }
    const bool air = c.type3 == InAir;
    switch (c.type2) {
    case 1:
        return air ? TwoCoreAir : TwoCoreGround;
    case ThreeCore:
    case FourCore:
    case FiveCore:
        return air ? ThreeCoreAir : ThreeCoreGround;
    default:
        return std::nullopt;
    }
}

QString rowNumber(int row)
{
    return QStringLiteral("строка ") + QString::number(row + 1);
}

} // namespace

QStringList materialNames()
{
    return {LineCalc::aluminium(), LineCalc::copper()};
}

QStringList layingChoices()
{
    return {QStringLiteral("в воздухе"), QStringLiteral("в земле")};
}

QString Choice::constructionText() const
{
    const QStringList list = LineCalc::constructionChoices(net);
    const int idx = net == NetworkType::SinglePhase ? type1 : type2;
    return idx >= 0 && idx < list.size() ? list.at(idx) : QString();
}

bool mustLayInAir(const Choice &choice)
{
    return choice.net == NetworkType::ThreePhase && choice.type2 == 0 && choice.type3 == InGround;
}

std::optional<TableSpec> tableSpec(NetworkType net, int material)
{
    if (material != Aluminium && material != Copper)
        return std::nullopt;
    if (net == NetworkType::SinglePhase)
        return material == Aluminium ? TableSpec{DataFiles::Table220Al, 20, 7} : TableSpec{DataFiles::Table220Cu, 25, 7};
    return material == Aluminium ? TableSpec{DataFiles::Table380Al, 14, 6} : TableSpec{DataFiles::Table380Cu, 15, 6};
}

PermissibleTable PermissibleTable::fromText(const QString &text, NetworkType net, int rows)
{
    PermissibleTable t;
    t.m_net = net;
    const int width = net == NetworkType::SinglePhase ? 7 : 6;
    ListInput in(text);
    for (int r = 0; r < rows; ++r) {
        TableRow row;
        for (int f = 0; f < width; ++f) {
            const auto field = in.next();
            if (!field) {
                t.m_status = Status::Damaged;
                t.m_problem = f == 0 ? QStringLiteral("прочитано строк: %1 из %2").arg(r).arg(rows)
                                     : rowNumber(r) + QStringLiteral(" неполная");
                t.m_rows.clear();
                return t;
            }
            const auto value = ListInput::toNumber(*field);
            if (!value) {
                t.m_status = Status::Damaged;
                t.m_problem = rowNumber(r) + QStringLiteral(": «") + *field + QStringLiteral("» не является числом");
                t.m_rows.clear();
                return t;
            }
            const bool bad = f == 0 ? *value <= 0 : *value < 0;
            if (bad) {
                t.m_status = Status::Damaged;
                t.m_problem = rowNumber(r) + QStringLiteral(": недопустимое значение «") + *field + QStringLiteral("»");
                t.m_rows.clear();
                return t;
            }
            if (f == 0)
                row.section = *value;
            else
                row.currents.append(*value);
        }
        // The proposal takes the first row that carries the load, so a table
        // out of order (or values shifted by a cut row) would mislead it.
        if (!t.m_rows.isEmpty() && row.section < t.m_rows.last().section) {
            t.m_status = Status::Damaged;
            t.m_problem = rowNumber(r) + QStringLiteral(": сечения должны идти по возрастанию");
            t.m_rows.clear();
            return t;
        }
        t.m_rows.append(row);
    }
    t.m_status = Status::Ok;
    return t;
}

PermissibleTable PermissibleTable::load(const QString &appDir, NetworkType net, int material)
{
    const auto layout = tableSpec(net, material);
    if (!layout)
        return PermissibleTable();
    const QString entry = DataFiles::dataFileName(appDir, layout->registryIndex);
    const QString path = DataFiles::entryPath(appDir, entry);
    PermissibleTable t;
    QString text;
    if (path.isEmpty() || !QFileInfo(path).isFile() || !TextFile::read(path, &text)) {
        t.m_net = net;
        t.m_status = Status::Missing;
    } else {
        t = fromText(text, net, layout->rows);
    }
    t.m_entry = entry;
    t.m_path = path.isEmpty() ? DataFiles::joinEntry(appDir, entry) : path;
    return t;
}

QString PermissibleTable::errorMessage() const
{
    const QString shown = QDir::toNativeSeparators(m_path);
    switch (m_status) {
    case Status::Missing:
        return DataFiles::missingFileMessage(shown);
    case Status::Damaged:
        return QStringLiteral("Файл таблицы допустимых токов ") + shown + QStringLiteral(" поврежден (") + m_problem
               + QStringLiteral(").");
    default:
        return QString();
    }
}

bool laidInGround(const Choice &choice)
{
    return choice.net == NetworkType::ThreePhase && choice.type3 == InGround;
}

double tableAmbient(const Choice &choice)
{
    return laidInGround(choice) ? 15 : 25;
}

std::optional<double> temperatureFactor(double ambient, double tableAmbient)
{
    if (!(ambient >= -50) || !(ambient < ConductorTemperature))
        return std::nullopt;
    return NumberText::round(std::sqrt((ConductorTemperature - ambient) / (ConductorTemperature - tableAmbient)), 2);
}

std::optional<double> groupingFactor(int cables, int spacing)
{
    // Rows: 1 to 6 working cables; columns: 100, 200, 300 mm in the clear.
    static const double factors[6][3] = {{1.00, 1.00, 1.00}, {0.90, 0.92, 0.93}, {0.85, 0.87, 0.90},
                                         {0.80, 0.84, 0.87}, {0.78, 0.82, 0.86}, {0.75, 0.81, 0.85}};
    const int column = spacing == 100 ? 0 : spacing == 200 ? 1 : spacing == 300 ? 2 : -1;
    if (cables < 1 || cables > 6 || column < 0)
        return std::nullopt;
    return factors[cables - 1][column];
}

QString ambientMessage()
{
    return QStringLiteral("Температура окружающей среды должна быть не ниже -50 °C и ниже 65 °C "
                          "(допустимой температуры жилы)!");
}

QString cablesMessage()
{
    return QStringLiteral("Число кабелей в траншее должно быть от 1 до 6 (ПУЭ, табл. 1.3.26)!");
}

QString spacingMessage()
{
    return QStringLiteral("Расстояние между кабелями в свету должно быть 100, 200 или 300 мм (ПУЭ, табл. 1.3.26)!");
}

AmbientRange ambientRange(const Choice &choice)
{
    return laidInGround(choice) ? AmbientRange{-5, 35} : AmbientRange{-5, 50};
}

bool ambientInRange(const Choice &choice, double ambient)
{
    const AmbientRange range = ambientRange(choice);
    return ambient >= range.low && ambient <= range.high;
}

QString ambientRangeMessage(const Choice &choice)
{
    const AmbientRange range = ambientRange(choice);
    return (laidInGround(choice) ? QStringLiteral("Температура земли должна быть от ")
                                 : QStringLiteral("Температура окружающей среды должна быть от "))
           + NumberText::format(range.low) + QStringLiteral(" до +") + NumberText::format(range.high)
           + QStringLiteral(" °C (ПУЭ, табл. 1.3.3)!");
}

double columnFactor(const Choice &choice)
{
    const auto column = lookupColumn(choice);
    return column ? column->factor : 1;
}

std::optional<Correction> correctionFor(const Choice &choice, const LayingConditions &conditions, QString *message)
{
    Correction c;
    if (conditions.ambient) {
        const auto kt = temperatureFactor(*conditions.ambient, tableAmbient(choice));
        if (!kt) {
            if (message)
                *message = ambientMessage();
            return std::nullopt;
        }
        c.temperature = *kt;
    }
    // Several cables side by side are corrected in the ground only; in air
    // the tables have no such factor.
    if (laidInGround(choice)) {
        const auto kg = groupingFactor(conditions.cables, conditions.spacing);
        if (!kg) {
            if (message)
                *message = conditions.cables < 1 || conditions.cables > 6 ? cablesMessage() : spacingMessage();
            return std::nullopt;
        }
        c.grouping = *kg;
    }
    return c;
}

std::optional<double> rowCurrent(const PermissibleTable &table, int row, const Choice &choice,
                                 const Correction &correction)
{
    if (!table.isUsable() || row < 0 || row >= table.rowCount() || choice.net != table.net())
        return std::nullopt;
    const auto column = lookupColumn(choice);
    if (!column)
        return std::nullopt;
    const TableRow &r = table.rows().at(row);
    if (column->index >= r.currents.size())
        return std::nullopt;
    const double value = r.currents.at(column->index) * column->factor;
    const double factor = correction.factor();
    return factor == 1 ? value : value * factor;
}

QVector<int> listedRows(const PermissibleTable &table, const Choice &choice)
{
    QVector<int> out;
    if (!table.isUsable())
        return out;
    const auto column = filterColumn(choice);
    for (int r = 0; r < table.rowCount(); ++r) {
        const TableRow &row = table.rows().at(r);
        if (column && *column < row.currents.size() && row.currents.at(*column) == 0)
            continue;
        out.append(r);
    }
    return out;
}

QStringList listedSections(const PermissibleTable &table, const Choice &choice)
{
    QStringList out;
    for (int r : listedRows(table, choice))
        out << NumberText::format(table.rows().at(r).section);
    return out;
}

std::optional<double> lookupPermissibleCurrent(const PermissibleTable &table, const Choice &choice, double section,
                                               const Correction &correction)
{
    // The last row of that section counts.
    int found = -1;
    for (int r = 0; r < table.rowCount(); ++r)
        if (table.rows().at(r).section == section)
            found = r;
    if (found < 0)
        return std::nullopt;
    return rowCurrent(table, found, choice, correction);
}

std::optional<int> proposeSection(const PermissibleTable &table, const Choice &choice, double current,
                                  const Correction &correction)
{
    for (int r = 0; r < table.rowCount(); ++r) {
        const auto value = rowCurrent(table, r, choice, correction);
        if (!value)
            return std::nullopt;
        if (*value >= current)
            return r;
    }
    return std::nullopt;
}

QString tooLargeCurrentMessage()
{
    return QStringLiteral("Слишком большое значение тока нагрузки!");
}

QString tooLargeCurrentTitle()
{
    return QStringLiteral("Ошибка");
}

NeutralList readNeutralSections(const QString &appDir)
{
    constexpr int kMaxSections = 11;
    NeutralList out;
    const QString entry = DataFiles::dataFileName(appDir, DataFiles::NeutralSections);
    out.path = DataFiles::entryPath(appDir, entry);
    const QString shown = QDir::toNativeSeparators(out.path.isEmpty() ? DataFiles::joinEntry(appDir, entry) : out.path);
    QString text;
    if (out.path.isEmpty() || !QFileInfo(out.path).isFile() || !TextFile::read(out.path, &text)) {
        out.error = DataFiles::missingFileMessage(shown);
        return out;
    }
    ListInput in(text);
    for (int entry = 0; entry < kMaxSections; ++entry) {
        const auto field = in.next();
        if (!field)
            break;
        const auto value = ListInput::toNumber(*field);
        // A 0 entry offers no section: it is passed over.
        if (value && *value == 0)
            continue;
        if (!value || *value < 0) {
            // The sections before the bad field are sound and stay offered.
            out.error = QStringLiteral("Файл сечений нулевых жил ") + shown + QStringLiteral(" поврежден (")
                        + rowNumber(entry) + QStringLiteral(": «") + *field + QStringLiteral("» не является сечением).");
            break;
        }
        out.sections << NumberText::format(*value);
    }
    return out;
}

QVector<CurrentChoice> loadCurrentChoices(const QVector<Shield> &shields, NetworkType net, int places)
{
    static const QStringList kPhases = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                                        QStringLiteral("ABC")};
    const QString unit = QStringLiteral("А"); // Cyrillic, as the load-current parser expects
    QVector<CurrentChoice> out;
    for (const Shield &shield : shields) {
        // The totals of the shields window: the phase currents and the power factor.
        const LoadCalc::ShieldTotals totals = LoadCalc::recalcShieldTotals(shield.loads, places);
        double current = 0;
        if (net == NetworkType::ThreePhase) {
            // A three-phase feeder carries the shield's most loaded phase.
            current = NumberText::toDouble(totals.current);
        } else {
            for (const Load &load : shield.loads) {
                const auto exact = LoadCalc::loadValues(load);
                const double loadCurrent = exact ? exact->current : NumberText::toDouble(load.cell(Load::Current));
                const double phases = std::nearbyint(NumberText::toDouble(load.cell(Load::Phases)));
                current += loadCurrent * phases;
            }
            current = NumberText::round(current, places);
        }
        if (current != 0 && std::isfinite(current))
            out.append({shield.name + QStringLiteral(" - ") + NumberText::format(current) + unit, QString(),
                        totals.powerFactor});
        for (const Load &load : shield.loads) {
            const QString phase = load.cell(Load::Phase);
            if (!kPhases.contains(phase))
                continue;
            // A single consumer's own line carries its full current, whatever
            // its demand factor within the shield.
            const auto rated = LoadCalc::ratedCurrent(load);
            const QString shown = rated && std::isfinite(*rated) ? NumberText::formatRounded(*rated, places)
                                                                 : load.cell(Load::Current);
            out.append({load.name + QStringLiteral(" - ") + shown + unit, phase, load.cell(Load::PowerFactor)});
        }
    }
    return out;
}

} // namespace Permissible
