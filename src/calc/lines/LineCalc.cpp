#include "calc/lines/LineCalc.h"

#include "base/AppContext.h"
#include "base/InputCheck.h"
#include "base/NumberText.h"

#include <cmath>

namespace LineCalc {

QStringList columnHeaders()
{
    return {QStringLiteral("Кабельная линия"), QStringLiteral("Марка"), QStringLiteral("Число и сечение жил"),
            QStringLiteral("Материал"), QStringLiteral("Длина, м"), QStringLiteral("Сопротивление, мОм"),
            QStringLiteral("Ток нагрузки, А"), QStringLiteral("Ток допустимый, А"),
            QStringLiteral("Падение напряжения, %"), QStringLiteral("Напряжение, В")};
}

std::optional<double> lineResistance(double length, const QString &material, double section,
                                     const CalcValues &calc)
{
    double gamma;
    if (material == copper())
        gamma = calc.copperConductivity;
    else if (material == aluminium())
        gamma = calc.aluminiumConductivity;
    else
        return std::nullopt;
    if (section == 0 || gamma == 0)
        return std::nullopt;
    return length * 1000 / gamma / section;
}

double voltageDrop(std::optional<double> resistance, double current, NetworkType net, double reactance,
                   double cosPhi)
{
    const double r = resistance.value_or(0.0);
    // The drop along the load current's phase: R cos φ + X sin φ; with
    // cos φ 1 the resistance alone, to the last bit.
    const double z = cosPhi == 1 ? r : r * cosPhi + reactance * std::sqrt(1 - cosPhi * cosPhi);
    if (net == NetworkType::SinglePhase)
        return z * (2 * current) / 220 / 10;
    // A balanced three-phase line: the phase drop is sqrt(3) times as much in line voltage.
    return std::sqrt(3.0) * z * current / 380 / 10;
}

QString formatCoreNotation(int coreCount, double section, const QString &neutralText)
{
    QString text = QString::number(coreCount) + QLatin1Char('x') + NumberText::format(section);
    if (NumberText::toDouble(neutralText) != 0)
        text += QStringLiteral(" + 1x") + neutralText;
    return text;
}

namespace {

// The last position of c in the text, its final character not examined; -1 when none.
qsizetype lastBeforeEnd(const QString &text, QLatin1Char c)
{
    return text.size() < 2 ? -1 : text.lastIndexOf(c, text.size() - 2);
}

} // namespace

float neutralSection(const QString &notation)
{
    const qsizetype p = lastBeforeEnd(notation, QLatin1Char('+'));
    if (p < 0)
        return 0;
    // Skip " 1x" after the "+".
    return float(NumberText::toDouble(notation.mid(p + 4)));
}

QString phaseSectionText(const QString &notation)
{
    const qsizetype last = notation.size() - 1;
    bool sawPlus = false;
    for (qsizetype i = 0; i < last; ++i) {
        if (notation.at(i) != QLatin1Char('+'))
            continue;
        sawPlus = true;
        // The head is the text before " +".
        const QString head = notation.left(qMax<qsizetype>(0, i - 1));
        const qsizetype x = head.indexOf(QLatin1Char('x'));
        if (x >= 0)
            return head.mid(x + 1);
    }
    if (sawPlus)
        return QString();
    for (qsizetype i = 0; i < last; ++i)
        if (notation.at(i) == QLatin1Char('x'))
            return notation.mid(i + 1);
    return QString();
}

double parseLoadCurrent(const QString &text)
{
    return LineInputs::loadCurrentOf(text);
}

RowValues rowValues(const CableLine &line)
{
    auto notNegative = [&](int cell) -> std::optional<double> {
        const auto v = NumberText::parse(line.cell(cell));
        return v && *v >= 0 ? v : std::nullopt;
    };
    RowValues v;
    const QString material = line.cell(CableLine::Material);
    if (material == copper() || material == aluminium())
        v.material = material;
    const QString voltage = line.cell(CableLine::Voltage);
    if (voltage == QLatin1String("220"))
        v.net = NetworkType::SinglePhase;
    else if (voltage == QLatin1String("380"))
        v.net = NetworkType::ThreePhase;
    // The length and the section by the dialog's rule for its numeric fields.
    const QString cores = line.cell(CableLine::Cores);
    if (const QString s = phaseSectionText(cores); InputCheck::classify(s) == InputCheck::Numeric::Ok)
        v.section = NumberText::parse(s);
    const float neutral = neutralSection(cores);
    v.neutralSection = std::isfinite(neutral) && neutral > 0 ? neutral : 0;
    if (InputCheck::classify(line.cell(CableLine::Length)) == InputCheck::Numeric::Ok)
        v.length = NumberText::parse(line.cell(CableLine::Length));
    v.resistance = notNegative(CableLine::Resistance);
    v.loadCurrent = notNegative(CableLine::LoadCurrent);
    v.permissibleCurrent = notNegative(CableLine::PermissibleCurrent);
    v.voltageDrop = notNegative(CableLine::VoltageDrop);
    return v;
}

QVector<int> unsoundCells(const CableLine &line)
{
    const RowValues v = rowValues(line);
    QVector<int> cells;
    const std::pair<int, bool> all[] = {
        {CableLine::Cores, bool(v.section)},
        {CableLine::Material, bool(v.material)},
        {CableLine::Length, bool(v.length)},
        {CableLine::Resistance, bool(v.resistance)},
        {CableLine::LoadCurrent, bool(v.loadCurrent)},
        {CableLine::PermissibleCurrent, bool(v.permissibleCurrent)},
        {CableLine::VoltageDrop, bool(v.voltageDrop)},
        {CableLine::Voltage, bool(v.net)},
    };
    for (const auto &[cell, sound] : all)
        if (!sound)
            cells << cell;
    return cells;
}

QStringList constructionChoices(NetworkType net)
{
    if (net == NetworkType::SinglePhase)
        return {QStringLiteral("открыто"), QStringLiteral("два одножильных"), QStringLiteral("три одножильных"),
                QStringLiteral("четыре одножильных"), QStringLiteral("один двухжильный"),
                QStringLiteral("один трехжильный")};
    return {QStringLiteral("одножильный"), QStringLiteral("двухжильный"), QStringLiteral("трехжильный"),
            QStringLiteral("четырехжильный"), QStringLiteral("пятижильный")};
}

int coreCountOf(NetworkType net, const QString &choice)
{
    static const int single[] = {3, 2, 3, 4, 2, 3};
    static const int three[] = {1, 2, 3, 4, 5};
    const int idx = int(constructionChoices(net).indexOf(choice));
    if (idx < 0)
        return 0;
    return net == NetworkType::SinglePhase ? single[idx] : three[idx];
}

bool isOverloaded(double loadCurrent, double permissibleCurrent)
{
    return permissibleCurrent < loadCurrent;
}

CableLine computeLine(const LineInput &in, const CalcValues &calc)
{
    const auto r = lineResistance(in.length, in.material, in.section, calc);
    const double current = parseLoadCurrent(in.loadCurrentText);
    const double dU = voltageDrop(r, current, in.net, in.reactance, in.cosPhi);
    const int tol = calc.places();

    CableLine line;
    line.name = in.name;
    line.checked = false;
    line.cells[CableLine::Mark] = in.mark;
    line.cells[CableLine::Cores] = formatCoreNotation(in.coreCount, in.section, in.neutralText);
    line.cells[CableLine::Material] = in.material;
    line.cells[CableLine::Length] = NumberText::format(in.length);
    line.cells[CableLine::Resistance] = NumberText::formatRounded(r.value_or(0.0), tol);
    line.cells[CableLine::LoadCurrent] = NumberText::format(current);
    line.cells[CableLine::PermissibleCurrent] = NumberText::format(in.permissibleCurrent);
    line.cells[CableLine::VoltageDrop] = NumberText::formatRounded(dU, tol);
    line.cells[CableLine::Voltage] = in.net == NetworkType::SinglePhase ? QStringLiteral("220")
                                                                       : QStringLiteral("380");
    return line;
}

} // namespace LineCalc
