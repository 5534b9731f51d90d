#pragma once

#include "calc/protection/Protection.h"

#include <QString>
#include <QVector>

#include <optional>

// Time-current characteristics of the protective devices as two curves in
// log-log co-ordinates: below the "never trips" curve a device does not trip,
// at or above the "always trips" curve it has tripped. Each curve is a list
// of points (current as a multiple of In, time in s) joined by straight lines
// in log-log co-ordinates, so that a maker's curve fits the same form.
namespace TripCurves {

struct Point {
    double current = 0; // A
    double time = 0; // s
};

// One curve in amperes. Below its first point the time is infinite (the
// device never trips, or is not sure to trip). Past its last point the
// "never trips" curve is 0 (the device may trip at once) and the "always
// trips" curve keeps its last time.
struct Curve {
    enum class Kind { NeverTrips, AlwaysTrips };
    Kind kind = Kind::NeverTrips;
    QVector<Point> points; // currents ascending, times descending
    bool isEmpty() const { return points.isEmpty(); }
    double firstCurrent() const { return points.first().current; }
    double lastCurrent() const { return points.last().current; }
    // The curve's time at a current (infinity or 0 outside, as said above).
    double timeAt(double current) const;
};

// Both curves of one device.
struct Band {
    Curve neverTrips;
    Curve alwaysTrips;
    // Where the "never trips" curve ends: from this current on the device may
    // trip at once (the lower limit of its instantaneous release).
    double instantaneousFrom() const { return neverTrips.lastCurrent(); }
    // From this current on the device is sure to trip within the last time of
    // its "always trips" curve (the upper limit of its instantaneous release).
    double instantaneousTo() const { return alwaysTrips.lastCurrent(); }
};

// The curves of the data file: records
//   "characteristic", In above, In up to, "несрабатывание"|"срабатывание", N, x1, t1, ..., xN, tN
// with x as multiples of In (ascending) and t in s (descending).
class CurveTable
{
public:
    enum class Status { Ok, Missing, Damaged };
    static CurveTable load(const QString &appDir);
    static CurveTable fromText(const QString &text);
    Status status() const { return m_status; }
    QString problem() const;
    // The band of a device; nothing when the file has no curve for it.
    std::optional<Band> bandOf(const Protection::Breaker &device) const;

private:
    struct Row {
        QString characteristic;
        double ratedAbove = 0;
        double ratedUpTo = 0;
        Curve::Kind kind = Curve::Kind::NeverTrips;
        QVector<Point> multiples;
    };
    std::optional<Curve> curveOf(const Protection::Breaker &device, Curve::Kind kind) const;
    Status m_status = Status::Missing;
    QVector<Row> m_rows;
    QString m_shownPath;
    QString m_detail;
};

// The words by which the data file names the curves.
QString kindWord(Curve::Kind kind);

} // namespace TripCurves
