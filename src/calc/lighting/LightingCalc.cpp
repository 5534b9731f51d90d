#include "calc/lighting/LightingCalc.h"

#include "base/DataFileRegistry.h"
#include "base/IniStore.h"
#include "base/ListInput.h"
#include "base/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace Lighting {

namespace {

const QString kSection = QStringLiteral("Light");

// Nearest whole number, halves to even (the default rounding mode).
double roundEven(double value)
{
    return std::nearbyint(value);
}

} // namespace

// ---- Reference lists -------------------------------------------------------

std::optional<QVector<ListRecord>> readRecords(const QString &path)
{
    auto input = ListInput::fromFile(path);
    if (!input)
        return std::nullopt;
    QVector<ListRecord> records;
    while (true) {
        const auto name = input->next();
        if (!name)
            break;
        const auto value = input->next();
        if (!value)
            break;
        records.append({*name, *value});
    }
    return records;
}

std::optional<QVector<UtilisationRow>> readUtilisationTable(const QString &path)
{
    const auto records = readRecords(path);
    if (!records)
        return std::nullopt;
    QVector<UtilisationRow> rows;
    rows.reserve(records->size());
    for (const ListRecord &r : *records) {
        const auto threshold = NumberText::parse(r.name);
        const auto percent = NumberText::parse(r.value);
        if (threshold && percent)
            rows.append({*threshold, *percent});
    }
    return rows;
}

std::optional<int> readInteger(const QString &text)
{
    const auto value = NumberText::parse(text);
    if (!value)
        return std::nullopt;
    const double rounded = roundEven(*value);
    if (rounded < -32768 || rounded > 32767)
        return std::nullopt;
    return int(rounded);
}

int lampEfficacy(const QVector<ListRecord> &lamps, const QString &name)
{
    int efficacy = 0;
    for (const ListRecord &r : lamps) {
        if (r.name == name)
            efficacy = readInteger(r.value).value_or(0);
    }
    return efficacy;
}

std::optional<int> normIlluminance(const QVector<ListRecord> &norms, const QString &name)
{
    for (const ListRecord &r : norms) {
        if (r.name == name)
            return readInteger(r.value);
    }
    return std::nullopt;
}

QString otherNormName()
{
    return QStringLiteral("Другое");
}

QString unreadableFileText(const QString &appDir, int index)
{
    return DataFiles::missingFileMessage(DataFiles::shownPath(appDir, DataFiles::dataFileName(appDir, index)));
}

// ---- Settings --------------------------------------------------------------

Settings Settings::load(const IniDocument &ini)
{
    Settings s;
    auto read = [&](const char *key, QString &target) {
        target = ini.value(kSection, QLatin1String(key), target);
    };
    // "Lenght" is the key the settings file has always used.
    read("Lenght", s.length);
    read("Width", s.width);
    read("H1", s.h1);
    read("H2", s.h2);
    read("Kz", s.kz);
    read("EnListIdx", s.enListIdx);
    read("LTListIdx", s.ltListIdx);
    read("LampPower", s.lampPower);
    read("NLamp", s.lampCount);
    return s;
}

void Settings::store(IniDocument &ini) const
{
    ini.setValue(kSection, QStringLiteral("Lenght"), length);
    ini.setValue(kSection, QStringLiteral("Width"), width);
    ini.setValue(kSection, QStringLiteral("H1"), h1);
    ini.setValue(kSection, QStringLiteral("H2"), h2);
    ini.setValue(kSection, QStringLiteral("Kz"), kz);
    ini.setValue(kSection, QStringLiteral("EnListIdx"), enListIdx);
    ini.setValue(kSection, QStringLiteral("LTListIdx"), ltListIdx);
    ini.setValue(kSection, QStringLiteral("LampPower"), lampPower);
    ini.setValue(kSection, QStringLiteral("NLamp"), lampCount);
}

int storedListIndex(const QString &stored, int count)
{
    if (count <= 0)
        return -1;
    const auto index = readInteger(stored);
    if (!index || *index < 0 || *index >= count)
        return 0;
    return *index;
}

int storedLampCount(const QString &stored)
{
    const auto value = NumberText::parse(stored);
    if (!value)
        return 4;
    const double n = roundEven(*value);
    if (n < MinLamps)
        return MinLamps;
    if (n > MaxLamps)
        return MaxLamps;
    return int(n);
}

// ---- Checks and calculation ------------------------------------------------

QString errorTitle()
{
    return QStringLiteral("Ошибка");
}

std::optional<Failure> checkTexts(const Texts &t)
{
    auto numeric = [](Field field, const QString &text) -> std::optional<Failure> {
        const InputCheck::Numeric r = InputCheck::classify(text);
        if (r == InputCheck::Numeric::Ok)
            return std::nullopt;
        return Failure{field, r, InputCheck::message(r), InputCheck::title()};
    };
    auto limit = [](Field field, const char *message) {
        return Failure{field, InputCheck::Numeric::Ok, QString::fromUtf8(message), errorTitle()};
    };
    const struct {
        Field field;
        const QString &text;
        double max;
        const char *message;
    } upperLimits[] = {
        {Field::Length, t.length, 50, "Слишком большая длина комнаты!"},
        {Field::Width, t.width, 50, "Слишком большая ширина комнаты!"},
        {Field::H1, t.h1, 15, "Слишком большая высота комнаты!"},
    };
    for (const auto &c : upperLimits) {
        if (auto f = numeric(c.field, c.text))
            return f;
        if (NumberText::toDouble(c.text) > c.max)
            return limit(c.field, c.message);
    }
    if (auto f = numeric(Field::H2, t.h2))
        return f;
    if (!(0.9 * NumberText::toDouble(t.h1) > NumberText::toDouble(t.h2)))
        return limit(Field::H2, "Высота рабочей плоскости не может быть больше высоты комнаты!");
    const struct {
        Field field;
        const QString &text;
        double max;
        const char *message;
    } laterLimits[] = {
        {Field::En, t.en, 10000, "Слишком большая норма освещенности!"},
        {Field::LampPower, t.lampPower, 5000, "Слишком большая мощность лампы!"},
        {Field::Kz, t.kz, 10, "Слишком большой коэффициент запаса!"},
    };
    for (const auto &c : laterLimits) {
        if (auto f = numeric(c.field, c.text))
            return f;
        if (NumberText::toDouble(c.text) > c.max)
            return limit(c.field, c.message);
    }
    return std::nullopt;
}

Inputs inputsFromTexts(const Texts &t, int efficacy, int lamps)
{
    Inputs in;
    in.length = NumberText::toDouble(t.length);
    in.width = NumberText::toDouble(t.width);
    in.h1 = NumberText::toDouble(t.h1);
    in.h2 = NumberText::toDouble(t.h2);
    in.kz = NumberText::toDouble(t.kz);
    in.illuminance = readInteger(t.en).value_or(0);
    in.lampPower = NumberText::toDouble(t.lampPower);
    in.efficacy = efficacy;
    in.lamps = lamps;
    return in;
}

Result calculate(const Inputs &in, const QVector<UtilisationRow> &table)
{
    Result r;
    r.area = in.length * in.width;
    r.roomIndex = r.area / (in.h1 - in.h2) / (in.length + in.width);

    // Rows are in ascending order of the threshold: the first that covers the
    // index is the one. An index beyond the last row (or not a number) has none.
    const UtilisationRow *row = nullptr;
    for (const UtilisationRow &u : table) {
        if (u.threshold >= r.roomIndex) {
            row = &u;
            break;
        }
    }
    if (!row) {
        r.message = QStringLiteral("Слишком большой индекс помещения!");
        return r;
    }
    r.eta = row->percent / 100;
    // A zero factor or a lamp without light would divide by zero.
    if (!(r.eta > 0)) {
        r.message = QStringLiteral("Неверный коэффициент использования!");
        return r;
    }
    r.flux = in.lampPower * in.efficacy * in.lamps;
    if (!(r.flux > 0)) {
        r.message = QStringLiteral("Не задана светоотдача лампы!");
        return r;
    }
    const double n = roundEven(double(in.illuminance) * r.area * in.kz / r.eta / r.flux);
    if (!std::isfinite(n)) {
        r.message = QStringLiteral("Слишком большое количество светильников!");
        return r;
    }
    r.count = n < 1 ? 1 : n;
    r.ok = true;
    return r;
}

QString countText(double count)
{
    return QStringLiteral("Количество светильников: ") + NumberText::format(count);
}

// ---- Plan ------------------------------------------------------------------

Grid chooseGrid(qint64 n, double longSide, double shortSide)
{
    if (n < 1)
        return {};
    if (!(longSide > 0) || !(shortSide > 0))
        longSide = shortSide = 1;
    // How far apart the spacings of a columns x b rows are: the larger over
    // the smaller of longSide / a and shortSide / b.
    auto spread = [&](qint64 a, qint64 b) {
        const double across = longSide * double(b);
        const double along = shortSide * double(a);
        return std::max(across, along) / std::min(across, along);
    };
    Grid best{int(n), 1};
    double bestSpread = spread(n, 1);
    for (qint64 b = 1; b * b <= n; ++b) {
        if (n % b != 0)
            continue;
        for (const qint64 rows : {b, n / b}) {
            const qint64 columns = n / rows;
            const double s = spread(columns, rows);
            const qint64 squareness = std::abs(columns - rows);
            const qint64 bestSquareness = std::abs(qint64(best.columns) - best.rows);
            const bool tie = std::abs(s - bestSpread) <= 1e-9 * bestSpread;
            const bool better = tie ? (squareness < bestSquareness
                                       || (squareness == bestSquareness && columns > best.columns))
                                    : s < bestSpread;
            if (better) {
                best = {int(columns), int(rows)};
                bestSpread = s;
            }
        }
    }
    return best;
}

Plan makePlan(double length, double width, double count)
{
    Plan plan;
    const double ratio = width <= length ? length / width : width / length;
    plan.width = PlanSize;
    plan.height = plan.width / ratio;
    if (!(count >= 1) || count > MaxDrawable || !std::isfinite(plan.height)) {
        // Too many to draw: the picture stays square and only says so.
        plan.height = PlanSize;
        return plan;
    }
    const qint64 n = qint64(count);
    plan.drawable = true;

    double r = roundEven(plan.height / 20);
    if (r * n > plan.width) {
        while (r * n > plan.width)
            r = roundEven(r / 2);
    } else if (r * n > plan.height) {
        while (r * n > plan.height)
            r = roundEven(r / 2);
    }
    plan.radius = int(r);
    plan.grid = chooseGrid(n, std::max(length, width), std::min(length, width));
    return plan;
}

QVector<QPointF> Plan::centres() const
{
    QVector<QPointF> points;
    if (!drawable || grid.columns <= 0 || grid.rows <= 0)
        return points;
    points.reserve(grid.columns * grid.rows);
    const double dx = width / grid.columns;
    const double dy = height / grid.rows;
    for (int c = 0; c < grid.columns; ++c) {
        for (int k = 0; k < grid.rows; ++k)
            points.append(QPointF(dx / 2 + c * dx, dy / 2 + k * dy));
    }
    return points;
}

QString tooManyText()
{
    return QStringLiteral("Слишком много светильников для построения плана");
}

} // namespace Lighting
