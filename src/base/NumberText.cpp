#include "base/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace NumberText {

QString format(double value)
{
    if (std::isnan(value) || std::isinf(value))
        return QStringLiteral("0");
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", value);
    QString text = QString::fromLatin1(buf);
    // Whatever separator the C locale of the process uses, ours is the comma.
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

double round(double value, int places)
{
    if (std::isnan(value) || std::isinf(value))
        return value;
    if (places < 0)
        places = 0;
    if (places > 15)
        places = 15;
    // Beyond 1e17 every double is already an integer and %f would need a large buffer.
    if (std::fabs(value) >= 1e17)
        return value;
    // to_chars is exact and ties to even, and knows nothing of locales.
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, places);
    if (ec != std::errc())
        return value;
    double rounded = value;
    std::from_chars(buf, end, rounded);
    return rounded;
}

QString formatRounded(double value, int places)
{
    return format(round(value, places));
}

QString formatFixed(double value, int places)
{
    if (!std::isfinite(value) || std::fabs(value) >= 1e17)
        return format(value);
    places = std::clamp(places, 0, 15);
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, places);
    if (ec != std::errc())
        return format(value);
    const char *first = buf;
    // A value rounded to nothing shows without its sign.
    const char *last = end;
    if (*first == '-' && std::none_of(first, last, [](char c) { return c >= '1' && c <= '9'; }))
        ++first;
    QString text = QString::fromLatin1(first, int(last - first));
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

namespace {

enum class Reading { Number, NotNumber, OutOfRange };

// The number syntax of parse(); `value` is set for a Number. Read without
// allocating: number texts are read for every line of a network many times.
Reading read(const QString &text, double &value)
{
    const QStringView t = QStringView(text).trimmed();
    constexpr int Longest = 200;
    if (t.isEmpty() || t.size() > Longest)
        return Reading::NotNumber;
    // Each character read gives at most one byte.
    char bytes[Longest + 1];
    int length = 0;
    auto keep = [&](char c) { bytes[length++] = c; };
    int i = 0;
    const int n = int(t.size());
    auto digit = [&](int k) { return k < n && t.at(k) >= QLatin1Char('0') && t.at(k) <= QLatin1Char('9'); };
    if (i < n && (t.at(i) == QLatin1Char('+') || t.at(i) == QLatin1Char('-')))
        keep(char(t.at(i++).unicode()));
    // Where the first significant digit stands, in powers of ten.
    int magnitude = 0;
    bool significant = false;
    int mantissaDigits = 0;
    while (digit(i)) {
        significant = significant || t.at(i) != QLatin1Char('0');
        magnitude += significant ? 1 : 0;
        keep(char(t.at(i++).unicode()));
        ++mantissaDigits;
    }
    if (i < n && (t.at(i) == QLatin1Char(',') || t.at(i) == QLatin1Char('.'))) {
        keep('.');
        ++i;
        while (digit(i)) {
            if (!significant && t.at(i) == QLatin1Char('0'))
                --magnitude;
            significant = significant || t.at(i) != QLatin1Char('0');
            keep(char(t.at(i++).unicode()));
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) {
        // The words a C library reads as an infinity or NaN.
        const QStringView word = t.mid(i);
        const bool special = word.compare(QLatin1String("inf"), Qt::CaseInsensitive) == 0
                             || word.compare(QLatin1String("infinity"), Qt::CaseInsensitive) == 0
                             || word.compare(QLatin1String("nan"), Qt::CaseInsensitive) == 0;
        return special ? Reading::OutOfRange : Reading::NotNumber;
    }
    long exponent = 0;
    if (i < n && (t.at(i) == QLatin1Char('e') || t.at(i) == QLatin1Char('E'))) {
        keep('e');
        ++i;
        const bool negative = i < n && t.at(i) == QLatin1Char('-');
        if (i < n && (t.at(i) == QLatin1Char('+') || t.at(i) == QLatin1Char('-')))
            keep(char(t.at(i++).unicode()));
        if (!digit(i))
            return Reading::NotNumber;
        while (digit(i)) {
            exponent = qMin(exponent * 10 + (t.at(i).unicode() - '0'), 100000L);
            keep(char(t.at(i++).unicode()));
        }
        exponent = negative ? -exponent : exponent;
    }
    if (i != n)
        return Reading::NotNumber;
    // from_chars reads the point whatever the process locale says.
    const char *first = bytes;
    const char *last = bytes + length;
    if (*first == '+')
        ++first;
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec == std::errc::result_out_of_range)
        return significant && magnitude + exponent > 0 ? Reading::OutOfRange : Reading::NotNumber;
    if (ec != std::errc() || ptr != last)
        return Reading::NotNumber;
    return std::isfinite(value) ? Reading::Number : Reading::OutOfRange;
}

} // namespace

std::optional<double> parse(const QString &text)
{
    double value = 0;
    if (read(text, value) != Reading::Number)
        return std::nullopt;
    return value;
}

bool outOfRange(const QString &text)
{
    double value = 0;
    return read(text, value) == Reading::OutOfRange;
}

double toDouble(const QString &text)
{
    return parse(text).value_or(0.0);
}

int places(double decimalPlaces)
{
    if (std::isnan(decimalPlaces))
        return 0;
    const double r = std::nearbyint(decimalPlaces);
    if (r < 0)
        return 0;
    if (r > 15)
        return 15;
    return int(r);
}

} // namespace NumberText
