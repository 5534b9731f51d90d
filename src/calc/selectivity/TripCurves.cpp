#include "calc/selectivity/TripCurves.h"

#include "base/DataFileRegistry.h"
#include "base/ListInput.h"

#include <cmath>
#include <limits>

namespace TripCurves {

namespace {

constexpr int MaxPoints = 64;

// Straight in log-log co-ordinates between two points.
double between(const Point &a, const Point &b, double current)
{
    if (b.current <= a.current)
        return b.time;
    const double share = std::log(current / a.current) / std::log(b.current / a.current);
    return std::exp(std::log(a.time) + share * (std::log(b.time) - std::log(a.time)));
}

} // namespace

double Curve::timeAt(double current) const
{
    if (points.isEmpty() || current < points.first().current)
        return std::numeric_limits<double>::infinity();
    if (current > points.last().current)
        return kind == Kind::NeverTrips ? 0.0 : points.last().time;
    // The last point not right of the current; at a point itself the point's
    // own time (a vertical step gives its lower time to the "never trips"
    // curve and its upper one to the "always trips" curve).
    qsizetype i = 0;
    while (i + 1 < points.size() && points.at(i + 1).current <= current)
        ++i;
    if (current == points.at(i).current) {
        if (kind == Kind::AlwaysTrips)
            while (i > 0 && points.at(i - 1).current == current)
                --i;
        return points.at(i).time;
    }
    return between(points.at(i), points.at(i + 1), current);
}

QString kindWord(Curve::Kind kind)
{
    return kind == Curve::Kind::NeverTrips ? QStringLiteral("несрабатывание") : QStringLiteral("срабатывание");
}

CurveTable CurveTable::fromText(const QString &text)
{
    CurveTable t;
    t.m_status = Status::Ok;
    ListInput in(text);
    const auto damaged = [&t]() {
        t.m_status = Status::Damaged;
        t.m_detail = QStringLiteral("запись ") + QString::number(t.m_rows.size() + 1);
        t.m_rows.clear();
        return t;
    };
    while (!in.atEnd()) {
        const auto characteristic = in.next();
        if (!characteristic)
            break;
        Row row;
        row.characteristic = characteristic->trimmed();
        const auto above = in.nextNumber();
        const auto upTo = in.nextNumber();
        const auto word = in.next();
        const auto count = in.nextNumber();
        if (row.characteristic.isEmpty() || !above || !upTo || !word || !count || !(*above >= 0)
            || !(*upTo > *above) || !std::isfinite(*upTo) || !(*count >= 1) || *count > MaxPoints
            || *count != std::floor(*count))
            return damaged();
        if (word->trimmed() == kindWord(Curve::Kind::NeverTrips))
            row.kind = Curve::Kind::NeverTrips;
        else if (word->trimmed() == kindWord(Curve::Kind::AlwaysTrips))
            row.kind = Curve::Kind::AlwaysTrips;
        else
            return damaged();
        row.ratedAbove = *above;
        row.ratedUpTo = *upTo;
        for (int k = 0; k < int(*count); ++k) {
            const auto x = in.nextNumber();
            const auto time = in.nextNumber();
            if (!x || !time || !(*x > 0) || !(*time > 0) || !std::isfinite(*x) || !std::isfinite(*time))
                return damaged();
            // A curve runs to the right and down: currents never fall, times never rise.
            if (!row.multiples.isEmpty()
                && (*x < row.multiples.last().current || *time > row.multiples.last().time))
                return damaged();
            row.multiples.append({*x, *time});
        }
        t.m_rows.append(row);
    }
    if (t.m_rows.isEmpty()) {
        t.m_status = Status::Damaged;
        t.m_detail = QStringLiteral("нет записей");
    }
    return t;
}

CurveTable CurveTable::load(const QString &appDir)
{
    QString shown;
    const auto text =
        DataFiles::readDataFile(appDir, DataFiles::TripCurves, QStringLiteral("\\TripCurves.dat"), &shown);
    CurveTable t = text ? fromText(*text) : CurveTable();
    t.m_shownPath = shown;
    return t;
}

QString CurveTable::problem() const
{
    if (m_status == Status::Ok)
        return QString();
    return DataFiles::fileProblemMessage(m_status == Status::Missing, QStringLiteral("Файл время-токовых характеристик"),
                                         m_shownPath, m_detail);
}

std::optional<Curve> CurveTable::curveOf(const Protection::Breaker &device, Curve::Kind kind) const
{
    for (const Row &row : m_rows) {
        if (row.kind != kind || row.characteristic != device.characteristic || !(device.rated > row.ratedAbove)
            || device.rated > row.ratedUpTo)
            continue;
        Curve c;
        c.kind = kind;
        c.points.reserve(row.multiples.size());
        for (const Point &p : row.multiples)
            c.points.append({p.current * device.rated, p.time});
        return c;
    }
    return std::nullopt;
}

std::optional<Band> CurveTable::bandOf(const Protection::Breaker &device) const
{
    auto never = curveOf(device, Curve::Kind::NeverTrips);
    auto always = curveOf(device, Curve::Kind::AlwaysTrips);
    if (!never || !always)
        return std::nullopt;
    return Band{*never, *always};
}

} // namespace TripCurves
