#include "calc/lighting/RoomLighting.h"

#include "base/InputCheck.h"
#include "base/NumberText.h"

#include <algorithm>
#include <cmath>

namespace RoomLighting {

namespace {

// The largest reflectance a surface may have, per cent.
constexpr double MaxReflectance = 90;
// The most lamps one luminaire may hold.
constexpr int MaxLamps = 100;

QString lowerFirst(const QString &text)
{
    return text.isEmpty() ? text : text.front().toLower() + text.mid(1);
}

// The checks of one room, in their order; the first failure is the answer.
class Checker
{
public:
    explicit Checker(const LightingRoom &room) : m_room(room) {}

    std::optional<Refusal> refusal;

    // A number above 0 (the shared check), or nothing after the refusal.
    std::optional<double> positive(Field field, const QString &text)
    {
        if (refusal)
            return std::nullopt;
        const InputCheck::Numeric r = InputCheck::classify(text);
        if (r != InputCheck::Numeric::Ok)
            return refuse(field, fieldCaption(field, m_room) + QStringLiteral(": ") + lowerFirst(InputCheck::message(r)));
        return NumberText::toDouble(text);
    }

    // A number of 0 or more (a height above the floor, a reflectance).
    std::optional<double> nonNegative(Field field, const QString &text)
    {
        if (refusal)
            return std::nullopt;
        const QString caption = fieldCaption(field, m_room) + QStringLiteral(": ");
        if (text.trimmed().isEmpty())
            return refuse(field, caption + lowerFirst(InputCheck::message(InputCheck::Numeric::Empty)));
        const auto value = NumberText::parse(text);
        if (!value)
            return refuse(field, caption + lowerFirst(InputCheck::message(InputCheck::Numeric::NotNumber)));
        if (*value < 0)
            return refuse(field, caption + QStringLiteral("значение не может быть отрицательным!"));
        if (*value > 1000000)
            return refuse(field, caption + lowerFirst(InputCheck::message(InputCheck::Numeric::TooLarge)));
        return value;
    }

    // A whole number from `least` to `most`.
    std::optional<int> whole(Field field, const QString &text, int least, int most)
    {
        if (refusal)
            return std::nullopt;
        const auto value = NumberText::parse(text);
        if (!value || *value != std::floor(*value) || *value < least || *value > most)
            return refuse(field, fieldCaption(field, m_room) + QStringLiteral(": укажите целое число от ")
                                     + QString::number(least) + QStringLiteral(" до ") + QString::number(most)
                                     + QLatin1Char('!'));
        return int(*value);
    }

    std::nullopt_t refuse(Field field, const QString &text)
    {
        if (!refusal)
            refusal = Refusal{field, text};
        return std::nullopt;
    }

private:
    const LightingRoom &m_room;
};

double spread(const Lighting::Grid &grid, double longSide, double shortSide)
{
    const double across = longSide / grid.columns;
    const double along = shortSide / grid.rows;
    return std::max(across, along) / std::min(across, along);
}

QString number(double value)
{
    return NumberText::formatRounded(value, 2);
}

} // namespace

QString fieldCaption(Field field, const LightingRoom &room)
{
    switch (field) {
    case Field::Name:
        return QStringLiteral("Наименование помещения");
    case Field::Length:
        return QStringLiteral("Длина помещения");
    case Field::Width:
        return QStringLiteral("Ширина помещения");
    case Field::Height:
        return QStringLiteral("Высота помещения");
    case Field::Plane:
        return QStringLiteral("Высота рабочей плоскости");
    case Field::Hang:
        return room.mountedHeight ? QStringLiteral("Высота светильника над полом") : QStringLiteral("Свес светильника");
    case Field::Ceiling:
        return QStringLiteral("Коэффициент отражения потолка");
    case Field::Walls:
        return QStringLiteral("Коэффициент отражения стен");
    case Field::Floor:
        return QStringLiteral("Коэффициент отражения рабочей поверхности");
    case Field::Illuminance:
        return QStringLiteral("Нормируемая освещенность");
    case Field::Maintenance:
        return QStringLiteral("Коэффициент запаса Kз");
    case Field::Uniformity:
        return QStringLiteral("Коэффициент z");
    case Field::Curve:
        return QStringLiteral("Тип светильника");
    case Field::Flux:
        return room.led ? QStringLiteral("Световой поток светильника") : QStringLiteral("Световой поток лампы");
    case Field::Power:
        return room.led ? QStringLiteral("Мощность светильника") : QStringLiteral("Мощность лампы");
    case Field::Lamps:
        return QStringLiteral("Число ламп");
    case Field::Efficiency:
        return QStringLiteral("КПД светильника");
    case Field::Count:
        return QStringLiteral("Число светильников");
    }
    return QString();
}

Result compute(const LightingRoom &room, const Lighting::UtilisationTables &tables)
{
    Result r;
    Checker in(room);
    auto refused = [&r, &in] {
        r.refusal = in.refusal;
        return r;
    };
    if (room.name.trimmed().isEmpty()) {
        in.refuse(Field::Name, QStringLiteral("Укажите наименование помещения!"));
        return refused();
    }
    const auto length = in.positive(Field::Length, room.length);
    const auto width = in.positive(Field::Width, room.width);
    const auto height = in.positive(Field::Height, room.height);
    const auto plane = in.nonNegative(Field::Plane, room.plane);
    const auto hang = in.nonNegative(Field::Hang, room.hang);
    if (in.refusal)
        return refused();
    double h = 0;
    if (room.mountedHeight) {
        if (*hang > *height)
            in.refuse(Field::Hang, QStringLiteral("Высота светильника над полом больше высоты помещения!"));
        h = *hang - *plane;
    } else {
        h = *height - *hang - *plane;
    }
    // A working plane at or above the luminaires leaves nothing to light.
    if (!in.refusal && !(h > 0))
        in.refuse(*plane >= (room.mountedHeight ? *hang : *height) ? Field::Plane : Field::Hang,
                  room.mountedHeight
                      ? QStringLiteral("Расчетная высота h = hсв − hр должна быть больше нуля: светильник должен быть "
                                       "выше рабочей плоскости!")
                      : QStringLiteral("Расчетная высота h = H − hс − hр должна быть больше нуля: проверьте высоту "
                                       "помещения, свес светильника и высоту рабочей плоскости!"));
    double reflectance[3] = {0, 0, 0};
    const Field surfaces[3] = {Field::Ceiling, Field::Walls, Field::Floor};
    const QString *texts[3] = {&room.ceiling, &room.walls, &room.floor};
    for (int k = 0; k < 3; ++k) {
        const auto value = in.nonNegative(surfaces[k], *texts[k]);
        if (value && *value > MaxReflectance)
            in.refuse(surfaces[k], fieldCaption(surfaces[k], room) + QStringLiteral(" должен быть от 0 до 90 %!"));
        reflectance[k] = value.value_or(0);
    }
    const auto illuminance = in.positive(Field::Illuminance, room.illuminance);
    const auto maintenance = in.positive(Field::Maintenance, room.maintenance);
    if (maintenance && *maintenance < 1)
        in.refuse(Field::Maintenance, QStringLiteral("Коэффициент запаса Kз не может быть меньше 1!"));
    const auto uniformity = in.positive(Field::Uniformity, room.uniformity);
    if (uniformity && *uniformity < 1)
        in.refuse(Field::Uniformity, QStringLiteral("Коэффициент z не может быть меньше 1!"));
    if (in.refusal)
        return refused();

    const Lighting::UtilisationTable *table = nullptr;
    if (tables.status() != Lighting::UtilisationTables::Status::Ok)
        in.refuse(Field::Curve, tables.problem());
    else if (room.curve.trimmed().isEmpty())
        in.refuse(Field::Curve, QStringLiteral("Укажите тип светильника!"));
    else if (!(table = tables.find(room.curve)))
        in.refuse(Field::Curve, QStringLiteral("Тип светильника «") + room.curve.trimmed()
                                    + QStringLiteral("» не найден в файле коэффициентов использования!"));
    const auto flux = in.positive(Field::Flux, room.flux);
    const auto power = in.positive(Field::Power, room.power);
    std::optional<int> lamps = 1;
    std::optional<double> efficiency = 100;
    if (!room.led) {
        lamps = in.whole(Field::Lamps, room.lamps, 1, MaxLamps);
        efficiency = in.positive(Field::Efficiency, room.efficiency);
        if (efficiency && *efficiency > 100)
            in.refuse(Field::Efficiency, QStringLiteral("КПД светильника не может быть больше 100 %!"));
    } else if (table && table->basis == Lighting::TableBasis::Lamps) {
        // Its flux has the luminaire's losses in it already.
        in.refuse(Field::Curve, QStringLiteral("Таблица «") + table->name
                                    + QStringLiteral("» дана относительно потока ламп (в ней учтен КПД светильника) и не "
                                                     "подходит для светодиодного светильника: выберите таблицу для КПД "
                                                     "100 %!"));
    }
    std::optional<int> chosen;
    if (!room.count.trimmed().isEmpty())
        chosen = in.whole(Field::Count, room.count, 1, MaxLuminaires);
    if (in.refusal)
        return refused();

    r.length = *length;
    r.width = *width;
    r.maintenance = *maintenance;
    r.area = *length * *width;
    r.height = h;
    r.roomIndex = r.area / (h * (*length + *width));
    r.utilisation = Lighting::utilisation(*table, r.roomIndex, reflectance[0], reflectance[1], reflectance[2]);
    r.firstIndex = table->indices.first();
    r.lastIndex = table->indices.last();
    if (!(r.utilisation.eta > 0)) {
        in.refuse(Field::Curve, QStringLiteral("Таблица «") + table->name
                                    + QStringLiteral("» дает для этого помещения коэффициент использования 0!"));
        return refused();
    }
    if (room.led)
        r.luminaireFlux = *flux;
    else if (table->basis == Lighting::TableBasis::Lamps)
        r.luminaireFlux = *flux * *lamps;
    else
        r.luminaireFlux = *flux * *lamps * *efficiency / 100;
    r.luminairePower = *power * *lamps;
    r.required = *illuminance * r.area * *maintenance * *uniformity / (r.luminaireFlux * r.utilisation.eta);
    if (!(r.required <= MaxLuminaires)) {
        in.refuse(Field::Flux, QStringLiteral("Нужно больше 1 000 000 светильников: проверьте световой поток "
                                              "светильника и нормируемую освещенность!"));
        return refused();
    }
    // Rounded up, so that the norm is reached; a hair above a whole number
    // from the arithmetic is that number.
    r.computed = std::max(1, int(std::ceil(r.required - 1e-9 * r.required)));
    r.chosen = layoutOf(r, chosen.value_or(r.computed));

    // A few more luminaires may give a grid with nearly equal spacings.
    const double longSide = std::max(r.length, r.width);
    const double shortSide = std::min(r.length, r.width);
    const Layout computed = layoutOf(r, r.computed);
    double best = spread(computed.grid, longSide, shortSide);
    const int last = std::min({std::max(r.computed + 1, int(std::floor(r.computed * 1.1))), r.computed + 20,
                               MaxLuminaires});
    for (int n = r.computed + 1; n <= last; ++n) {
        const Lighting::Grid grid = Lighting::chooseGrid(n, longSide, shortSide);
        const double s = spread(grid, longSide, shortSide);
        if (s < best * (1 - 1e-9)) {
            best = s;
            r.rounder = layoutOf(r, n);
        }
    }

    r.spacingLimit = table->spacingRatio;
    r.spacingExceeded = r.spacingLimit > 0 && r.chosen.spacingRatio > r.spacingLimit * (1 + 1e-9);
    return r;
}

Layout layoutOf(const Result &r, int count)
{
    Layout l;
    l.count = count;
    const bool lengthIsLonger = r.length >= r.width;
    l.grid = Lighting::chooseGrid(count, std::max(r.length, r.width), std::min(r.length, r.width));
    if (l.grid.columns <= 0 || l.grid.rows <= 0)
        return l;
    l.spacingLength = r.length / (lengthIsLonger ? l.grid.columns : l.grid.rows);
    l.spacingWidth = r.width / (lengthIsLonger ? l.grid.rows : l.grid.columns);
    l.wallLength = l.spacingLength / 2;
    l.wallWidth = l.spacingWidth / 2;
    l.spacingRatio = std::max(l.spacingLength, l.spacingWidth) / r.height;
    l.illuminance = count * r.luminaireFlux * r.utilisation.eta / (r.area * r.maintenance);
    l.installedPower = count * r.luminairePower;
    l.powerDensity = l.installedPower / r.area;
    return l;
}

QString gridText(const Lighting::Grid &grid)
{
    return QString::number(grid.columns) + QLatin1Char('x') + QString::number(grid.rows);
}

QStringList notes(const Result &r)
{
    QStringList out;
    if (!r.ok())
        return out;
    if (r.utilisation.indexClamped)
        out << QStringLiteral("Индекс помещения ") + number(r.roomIndex) + QStringLiteral(" вне таблицы (")
                   + number(r.firstIndex) + QStringLiteral("…") + number(r.lastIndex)
                   + QStringLiteral("): взят коэффициент использования на ее краю.");
    if (r.utilisation.reflectanceClamped)
        out << QStringLiteral("Коэффициенты отражения вне строк таблицы: взяты ближайшие строки.");
    if (r.spacingExceeded)
        out << QStringLiteral("L/h = ") + number(r.chosen.spacingRatio) + QStringLiteral(" больше рекомендуемого λ = ")
                   + number(r.spacingLimit) + QStringLiteral(": освещенность будет неравномерной, нужно больше светильников.");
    return out;
}

} // namespace RoomLighting
