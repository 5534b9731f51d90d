#include "calc/shortcircuit/ShortCircuit.h"

#include "base/NumberText.h"
#include "calc/shortcircuit/Transformer.h"

#include <cmath>

namespace ShortCircuit {

namespace {

constexpr double kLineVoltage = 380;
constexpr double kPhaseVoltage = 220;

bool counts(const CableLine &line)
{
    return line.checked;
}

int clampCount(const QVector<CableLine> &lines, int n)
{
    return qBound(0, n, int(lines.size()));
}

bool isSinglePhaseText(const QString &voltage)
{
    return voltage == QLatin1String("220");
}

} // namespace

double sumLineResistance(const QVector<CableLine> &lines, int n)
{
    double sum = 0;
    const int last = clampCount(lines, n);
    for (int i = 0; i < last; ++i)
        if (counts(lines.at(i)))
            sum += NumberText::toDouble(lines.at(i).cell(CableLine::Resistance));
    return sum;
}

double sumNeutralResistance(const QVector<CableLine> &lines, int n, const CalcValues &calc)
{
    double sum = 0;
    const int last = clampCount(lines, n);
    for (int i = 0; i < last; ++i) {
        const CableLine &line = lines.at(i);
        if (!counts(line))
            continue;
        const QString notation = line.cell(CableLine::Cores);
        double section = LineCalc::neutralSection(notation);
        if (section == 0)
            section = NumberText::toDouble(LineCalc::phaseSectionText(notation));
        const double length = NumberText::toDouble(line.cell(CableLine::Length));
        sum += LineCalc::lineResistance(length, line.cell(CableLine::Material), section, calc).value_or(0.0);
    }
    return sum;
}

qint64 contactResistance(int ns)
{
    if (ns <= 0)
        return 0;
    // No list comes near this; the cap only keeps the sum inside 64 bits.
    const qint64 n = qMin(ns, 1000000000);
    return 10 * n + 5 * (n * (n + 1) / 2);
}

double threePhaseCurrent(double Rnet, double RL, double Rt, double Xt, double Rk)
{
    const double r = Rnet + Rt + Rk + RL;
    const double z = std::sqrt(r * r + Xt * Xt);
    if (!(z > 0) || !std::isfinite(z))
        return 0;
    return (kLineVoltage / std::sqrt(3.0)) / z;
}

double twoPhaseCurrent(double ik3)
{
    return std::sqrt(3.0) / 2 * ik3;
}

double singlePhaseCurrent(double RN, double RL, double Zt, double Rk)
{
    const double z = Zt / 3 + RN + RL + Rk;
    if (!(z > 0) || !std::isfinite(z))
        return 0;
    return kPhaseVoltage / z;
}

double peakCurrent(double ik3)
{
    return std::sqrt(2.0) * ik3;
}

bool hasValue(double current)
{
    return current > 0 && std::isfinite(current);
}

Dimensioned withUnit(double valueKA, int places)
{
    if (valueKA > 0.1)
        return {NumberText::round(valueKA, places), QStringLiteral("к") + QLatin1Char('A')};
    return {NumberText::round(valueKA * 1000, places), QStringLiteral("A")};
}

QString initialUnitLabel()
{
    return QStringLiteral("кА");
}

int initialStageCount(const QVector<CableLine> &lines)
{
    int stages = 1;
    for (const CableLine &line : lines)
        if (line.checked && !isSinglePhaseText(line.cell(CableLine::Voltage)))
            ++stages;
    return stages;
}

int maxStageCount(const QVector<CableLine> &lines)
{
    return int(lines.size()) + 1;
}

QString methodName()
{
    return QStringLiteral("упрощенный метод");
}

double transformerFaultImpedance(const Project &project)
{
    return Transformer::faultImpedance(project.Rt, project.Xt, project.Zt, project.transformerGroup);
}

Currents Calculate(const Project &project, int n, int ns, const CalcValues &calc)
{
    const double RL = sumLineResistance(project.lines, n);
    const double RN = sumNeutralResistance(project.lines, n, calc);
    const double Rk = double(contactResistance(ns));
    Currents c;
    c.ik3 = threePhaseCurrent(project.Rnet, RL, project.Rt, project.Xt, Rk);
    c.ik2 = twoPhaseCurrent(c.ik3);
    c.ik1 = singlePhaseCurrent(RN, RL, transformerFaultImpedance(project), Rk);
    c.iy = peakCurrent(c.ik3);
    return c;
}

bool endsOnSinglePhaseLine(const QVector<CableLine> &lines)
{
    if (lines.isEmpty())
        return false;
    const CableLine &last = lines.last();
    return last.checked && last.cell(CableLine::Voltage) != QLatin1String("380");
}

ShownCurrents shownCurrents(const Project &project, int ns, const CalcValues &calc)
{
    const Currents c = Calculate(project, int(project.lines.size()), ns, calc);
    const int places = calc.places();
    auto shown = [places](double current) {
        // A current without a value is shown as a dash, never as inf or NaN.
        if (!hasValue(current))
            return ShownCurrent{QStringLiteral("-"), QString()};
        const Dimensioned d = withUnit(current, places);
        return ShownCurrent{NumberText::format(d.value), d.unit};
    };
    const ShownCurrent dash{QStringLiteral("-"), QString()};
    if (endsOnSinglePhaseLine(project.lines))
        return {dash, dash, shown(c.ik1), dash};
    return {shown(c.ik3), shown(c.ik2), shown(c.ik1), shown(c.iy)};
}

} // namespace ShortCircuit
