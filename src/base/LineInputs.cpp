#include "base/LineInputs.h"

#include "base/NumberText.h"

#include <array>
#include <cmath>

namespace {

// The last position of c in the text, its final character not examined; -1 when none.
qsizetype lastBeforeEnd(const QString &text, QLatin1Char c)
{
    return text.size() < 2 ? -1 : text.lastIndexOf(c, text.size() - 2);
}

std::optional<int> wholeNumber(const QString &text, int least, int most)
{
    const auto v = NumberText::parse(text);
    if (!v || *v != std::floor(*v) || *v < least || *v > most)
        return std::nullopt;
    return int(*v);
}

std::optional<bool> flag(const QString &text, const char *off, const char *on)
{
    if (text == QLatin1String(on))
        return true;
    if (text == QLatin1String(off))
        return false;
    return std::nullopt;
}

// An empty text, or a number.
std::optional<std::optional<double>> optionalNumber(const QString &text)
{
    if (text.trimmed().isEmpty())
        return std::optional<double>();
    if (const auto v = NumberText::parse(text))
        return std::optional<double>(*v);
    return std::nullopt;
}

std::optional<double> positive(const QString &text)
{
    const auto v = NumberText::parse(text);
    return v && *v > 0 ? v : std::nullopt;
}

template<auto Member>
LineInputs::Key key(const char16_t *name, const char16_t *absent, void (*read)(LineInputs &))
{
    return LineInputs::Key{QString::fromUtf16(name), QString::fromUtf16(absent),
                           [](LineInputs &in) -> QString & { return (in.*Member).text; }, read,
                           [](const LineInputs &in) { return (in.*Member).sound(); }};
}

// Absent keys read "0", as every key of the format always has; the keys
// kept since later versions stand for what lines were computed with before.
const std::array<LineInputs::Key, 16> &keyTable()
{
    using L = LineInputs;
    static const std::array<L::Key, 16> table = {
        key<&L::threePhase>(u"Network", u"0", [](L &in) { in.threePhase.value = flag(in.threePhase.text, "220", "380"); }),
        key<&L::construction>(u"Construction", u"0",
                              [](L &in) { in.construction.value = wholeNumber(in.construction.text, 0, 15); }),
        key<&L::laying>(u"Laying", u"0", [](L &in) { in.laying.value = wholeNumber(in.laying.text, 0, 1); }),
        key<&L::material>(u"Material", u"0",
                          [](L &in) {
                              const bool known = in.material.text == Materials::copper()
                                                 || in.material.text == Materials::aluminium();
                              in.material.value = known ? std::optional<QString>(in.material.text) : std::nullopt;
                          }),
        key<&L::neutral>(u"Neutral", u"0", [](L &in) { in.neutral.value = flag(in.neutral.text, "0", "1"); }),
        // An entry of the neutral list with the neutral core on; anything without it.
        key<&L::neutralSection>(u"NeutralSection", u"0",
                                [](L &in) {
                                    in.neutralSection.value = in.neutral.value == true ? positive(in.neutralSection.text)
                                                                                       : std::optional<double>(0.0);
                                }),
        key<&L::mark>(u"Mark", u"0", [](L &in) { in.mark.value = in.mark.text; }),
        key<&L::loadCurrent>(u"LoadCurrent", u"0",
                             [](L &in) {
                                 const double current = L::loadCurrentOf(in.loadCurrent.text);
                                 in.loadCurrent.value = L::loadCurrentAccepted(current) ? std::optional(current)
                                                                                       : std::nullopt;
                             }),
        key<&L::cosPhi>(u"CosPhi", u"1", [](L &in) { in.cosPhi.value = NumberText::parse(in.cosPhi.text); }),
        key<&L::reactance>(u"Reactance", u"0",
                           [](L &in) {
                               const auto x = NumberText::parse(in.reactance.text);
                               in.reactance.value = x && *x >= 0 ? x : std::nullopt;
                           }),
        key<&L::ambient>(u"Ambient", u"", [](L &in) { in.ambient.value = optionalNumber(in.ambient.text); }),
        // The dialog's spin box and list: 1 to 6 cables, 100, 200 or 300 mm.
        key<&L::cables>(u"Cables", u"1", [](L &in) { in.cables.value = wholeNumber(in.cables.text, 1, 6); }),
        key<&L::spacing>(u"Spacing", u"100",
                         [](L &in) {
                             const auto s = wholeNumber(in.spacing.text, 100, 300);
                             in.spacing.value = s && *s % 100 == 0 ? s : std::nullopt;
                         }),
        key<&L::device>(u"Device", u"", [](L &in) { in.device.value = in.device.text.trimmed(); }),
        key<&L::deviceRating>(u"DeviceRating", u"",
                              [](L &in) {
                                  in.deviceRating.value = in.device.text.trimmed().isEmpty()
                                                              ? std::optional<double>(0.0)
                                                              : positive(in.deviceRating.text);
                              }),
        key<&L::tripTime>(u"TripTime", u"", [](L &in) { in.tripTime.value = optionalNumber(in.tripTime.text); }),
    };
    return table;
}

} // namespace

std::span<const LineInputs::Key> LineInputs::keys()
{
    return keyTable();
}

const QString &LineInputs::presenceKey()
{
    return keyTable()[1].name; // "Construction"
}

void LineInputs::readValues()
{
    for (const Key &k : keyTable())
        k.read(*this);
}

QStringList LineInputs::damagedKeys() const
{
    QStringList out;
    for (const Key &k : keyTable())
        if (!k.sound(*this))
            out << k.name;
    return out;
}

double LineInputs::loadCurrentOf(const QString &text)
{
    const qsizetype p = lastBeforeEnd(text, QLatin1Char('-'));
    if (p < 0)
        return NumberText::toDouble(text);
    // Drop the "-" and the blank after it, then the closing letter "А".
    QString rest = text.mid(p + 2);
    if (rest.isEmpty())
        return 0;
    rest.chop(1);
    return NumberText::toDouble(rest);
}
