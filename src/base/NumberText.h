#pragma once

#include <QString>

#include <optional>

// Numbers are shown, stored and read back as texts with the decimal comma,
// whatever the system locale says. Every module formats and parses through here.
namespace NumberText {

// "%.15G" with a comma for the point: 712, 6,47, 0,333333333333333, 1E+20.
QString format(double value);

// As format(), with an infinity shown as "∞" or "-∞" and NaN as "-": for
// totals that may pass the range of numbers, which are no total of 0.
QString formatUnbounded(double value);

// Called whenever a NaN or an infinity reaches format() (which shows it as
// "0"); the fuzz targets set one that stops the run. Null: nothing is called.
using NonFiniteHandler = void (*)();
void setNonFiniteHandler(NonFiniteHandler handler);

// Rounds the exact binary value to `places` decimals, ties to even
// (0.125 -> 0.12, 0.375 -> 0.38, 2.5 -> 2). Negative places count as 0.
double round(double value, int places);

// format(round(value, places)).
QString formatRounded(double value, int places);

// Exactly `places` decimals, rounded as round() does, with the comma:
// 0,70 and 12,00 for two places, 380 for none. Values past 1e17 and
// non-finite ones fall back to format().
QString formatFixed(double value, int places);

// Reads a number typed by the user: optional blanks around, optional sign,
// a comma or a point as decimal separator, optional exponent, no grouping.
// Infinity and NaN texts are refused.
std::optional<double> parse(const QString &text);

// True for a text written as a number that no finite double holds: beyond
// the range ("1e309", "-1e400" is not: it is as good as 0), or an infinity
// or NaN word ("inf", "-Infinity", "nan").
bool outOfRange(const QString &text);

// parse() or 0 when the text is not a number.
double toDouble(const QString &text);

// The number of decimal places held as a double is used as the nearest integer.
int places(double decimalPlaces);

} // namespace NumberText
