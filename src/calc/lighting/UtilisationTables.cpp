#include "calc/lighting/UtilisationTables.h"

#include "base/DataFileRegistry.h"
#include "base/ListInput.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <tuple>

#include <QSet>

namespace Lighting {

namespace {

// Where x stands between the sorted keys: the two neighbours and the share
// of the upper one; beyond the ends, the end itself.
struct Bracket {
    int lower = 0;
    int upper = 0;
    double share = 0;
    bool clamped = false;
};

Bracket bracket(const QVector<double> &keys, double x)
{
    Bracket b;
    const int last = int(keys.size()) - 1;
    if (!(x > keys.first())) {
        b.clamped = x < keys.first() || std::isnan(x);
        return b;
    }
    if (!(x < keys.at(last))) {
        b.lower = b.upper = last;
        b.clamped = x > keys.at(last);
        return b;
    }
    const auto it = std::upper_bound(keys.begin(), keys.end(), x);
    b.upper = int(it - keys.begin());
    b.lower = b.upper - 1;
    b.share = (x - keys.at(b.lower)) / (keys.at(b.upper) - keys.at(b.lower));
    return b;
}

double along(const Bracket &b, double lowerValue, double upperValue)
{
    return lowerValue + (upperValue - lowerValue) * b.share;
}

// The keys of a map, in order.
template<typename Map>
QVector<double> keysOf(const Map &map)
{
    QVector<double> keys;
    keys.reserve(qsizetype(map.size()));
    for (const auto &entry : map)
        keys << entry.first;
    return keys;
}

// Interpolates over one reflectance between the two neighbouring keys of
// `map`; `valueAt` gives the value at a key. Only the keys that count are
// asked, so the edge is noted only where it is taken.
template<typename Map, typename ValueAt>
double across(const Map &map, double x, bool &clamped, const ValueAt &valueAt)
{
    const QVector<double> keys = keysOf(map);
    const Bracket b = bracket(keys, x);
    clamped = clamped || b.clamped;
    const double lower = valueAt(map.at(keys.at(b.lower)));
    if (b.share == 0)
        return lower;
    return along(b, lower, valueAt(map.at(keys.at(b.upper))));
}

std::optional<double> number(const QString &field)
{
    const auto value = ListInput::toNumber(field);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return value;
}

} // namespace

Utilisation utilisation(const UtilisationTable &table, double roomIndex, double ceiling, double walls, double floor)
{
    Utilisation u;
    if (table.indices.isEmpty() || table.rows.isEmpty())
        return u;
    const Bracket byIndex = bracket(table.indices, roomIndex);
    u.indexClamped = byIndex.clamped;
    // ceiling -> walls -> floor -> η at the room index
    std::map<double, std::map<double, std::map<double, double>>> grid;
    for (const ReflectanceRow &row : table.rows)
        grid[row.ceiling][row.walls][row.floor] = along(byIndex, row.percent.at(byIndex.lower), row.percent.at(byIndex.upper));
    bool &clamped = u.reflectanceClamped;
    const auto atFloor = [](double eta) { return eta; };
    const auto atWalls = [&](const std::map<double, double> &floors) { return across(floors, floor, clamped, atFloor); };
    const auto atCeiling = [&](const std::map<double, std::map<double, double>> &wallRows) {
        return across(wallRows, walls, clamped, atWalls);
    };
    u.eta = across(grid, ceiling, clamped, atCeiling) / 100;
    return u;
}

UtilisationTables UtilisationTables::fromText(const QString &text)
{
    UtilisationTables t;
    t.m_status = Status::Ok;
    auto damaged = [&t](int line, const QString &what) {
        t.m_status = Status::Damaged;
        t.m_detail = QStringLiteral("строка ") + QString::number(line) + QStringLiteral(": ") + what;
        t.m_tables.clear();
        return t;
    };
    const QStringList lines = text.split(QLatin1Char('\n'));
    QSet<QString> names;
    std::set<std::tuple<double, double, double>> rowsSeen; // of the current table
    for (int k = 0; k < lines.size(); ++k) {
        ListInput in(lines.at(k));
        const QStringList fields = in.rest();
        if (fields.isEmpty())
            continue;
        const QString tag = fields.first().trimmed();
        if (tag == QStringLiteral("Тип")) {
            UtilisationTable table;
            table.name = fields.value(1).trimmed();
            const QString basis = fields.value(2).trimmed().toLower();
            if (table.name.isEmpty())
                return damaged(k + 1, QStringLiteral("нет имени типа"));
            if (basis == QLatin1String("100"))
                table.basis = TableBasis::Luminaire;
            else if (basis == QStringLiteral("лампа"))
                table.basis = TableBasis::Lamps;
            else
                return damaged(k + 1, QStringLiteral("неизвестная основа таблицы"));
            const QString ratio = fields.value(3).trimmed();
            if (!ratio.isEmpty()) {
                const auto value = number(ratio);
                if (!value || *value <= 0)
                    return damaged(k + 1, QStringLiteral("неверное отношение L/h"));
                table.spacingRatio = *value;
            }
            table.description = fields.value(4).trimmed();
            if (names.contains(table.name))
                return damaged(k + 1, QStringLiteral("тип повторяется"));
            names.insert(table.name);
            rowsSeen.clear();
            t.m_tables << table;
            continue;
        }
        if (t.m_tables.isEmpty())
            return damaged(k + 1, QStringLiteral("нет строки «Тип»"));
        UtilisationTable &table = t.m_tables.last();
        if (tag == QStringLiteral("Индекс")) {
            if (!table.indices.isEmpty())
                return damaged(k + 1, QStringLiteral("индексы повторяются"));
            for (int f = 1; f < fields.size(); ++f) {
                const auto value = number(fields.at(f));
                if (!value || *value <= 0 || (!table.indices.isEmpty() && *value <= table.indices.last()))
                    return damaged(k + 1, QStringLiteral("индексы не по возрастанию"));
                table.indices << *value;
            }
            if (table.indices.size() < 2)
                return damaged(k + 1, QStringLiteral("меньше двух индексов"));
            continue;
        }
        if (table.indices.isEmpty())
            return damaged(k + 1, QStringLiteral("нет строки «Индекс»"));
        if (fields.size() != 3 + table.indices.size())
            return damaged(k + 1, QStringLiteral("число значений не равно числу индексов"));
        ReflectanceRow row;
        QVector<double> values;
        for (const QString &field : fields) {
            const auto value = number(field);
            if (!value || *value < 0)
                return damaged(k + 1, QStringLiteral("не число"));
            values << *value;
        }
        row.ceiling = values.at(0);
        row.walls = values.at(1);
        row.floor = values.at(2);
        if (row.ceiling > 100 || row.walls > 100 || row.floor > 100)
            return damaged(k + 1, QStringLiteral("коэффициент отражения больше 100 %"));
        if (!rowsSeen.insert({row.ceiling, row.walls, row.floor}).second)
            return damaged(k + 1, QStringLiteral("строка коэффициентов отражения повторяется"));
        row.percent = values.mid(3);
        table.rows << row;
    }
    for (const UtilisationTable &table : std::as_const(t.m_tables))
        if (table.rows.isEmpty()) {
            t.m_status = Status::Damaged;
            t.m_detail = QStringLiteral("у типа «") + table.name + QStringLiteral("» нет строк");
            t.m_tables.clear();
            return t;
        }
    if (t.m_tables.isEmpty()) {
        t.m_status = Status::Damaged;
        t.m_detail = QStringLiteral("нет таблиц");
    }
    return t;
}

UtilisationTables UtilisationTables::load(const QString &appDir)
{
    QString shown;
    const auto text =
        DataFiles::readDataFile(appDir, DataFiles::UtilisationTables, QStringLiteral("\\UtilTables.dat"), &shown);
    UtilisationTables t = text ? fromText(*text) : UtilisationTables();
    t.m_shownPath = shown;
    return t;
}

QString UtilisationTables::problem() const
{
    if (m_status == Status::Ok)
        return QString();
    return DataFiles::fileProblemMessage(m_status == Status::Missing,
                                         QStringLiteral("Файл коэффициентов использования"), m_shownPath, m_detail);
}

QStringList UtilisationTables::names() const
{
    QStringList out;
    for (const UtilisationTable &t : m_tables)
        out << t.name;
    return out;
}

const UtilisationTable *UtilisationTables::find(const QString &name) const
{
    const QString wanted = name.trimmed();
    for (const UtilisationTable &t : m_tables)
        if (t.name == wanted)
            return &t;
    return nullptr;
}

} // namespace Lighting
