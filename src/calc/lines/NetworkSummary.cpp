#include "calc/lines/NetworkSummary.h"

#include "base/NumberText.h"

#include <cmath>

namespace {

// A running sum that carries the rounding error of every addition along
// (Neumaier), so that many drops such as 0,17 add up to what their decimal
// texts say instead of gathering binary noise.
class CompensatedSum
{
public:
    void add(double value)
    {
        const double t = m_sum + value;
        if (!std::isfinite(t)) {
            // Past the range of doubles there is nothing left to carry.
            m_sum = t;
            m_carry = 0;
            return;
        }
        if (std::abs(m_sum) >= std::abs(value))
            m_carry += (m_sum - t) + value;
        else
            m_carry += (value - t) + m_sum;
        m_sum = t;
    }
    double value() const { return m_sum + m_carry; }

private:
    double m_sum = 0;
    double m_carry = 0;
};

} // namespace

double totalVoltageDrop(const QVector<CableLine> &lines)
{
    CompensatedSum drops;
    for (const CableLine &line : lines)
        if (line.checked)
            drops.add(NumberText::toDouble(line.cell(CableLine::VoltageDrop)));
    return drops.value();
}

SummaryText summarizeNetwork(const QVector<CableLine> &lines, double maxVoltageDrop)
{
    QString overloaded;
    for (const CableLine &line : lines) {
        if (!line.checked)
            continue;
        const double current = NumberText::toDouble(line.cell(CableLine::LoadCurrent));
        const double permissible = NumberText::toDouble(line.cell(CableLine::PermissibleCurrent));
        if (LineCalc::isOverloaded(current, permissible))
            overloaded += QStringLiteral("''") + line.name + QStringLiteral("'' ");
    }
    // The limit is checked against the total as it is shown.
    const double total = totalVoltageDrop(lines);
    // Drops too large to add up are no total of 0.
    const QString shownSum = NumberText::formatUnbounded(total);
    const double sum = std::isfinite(total) ? NumberText::toDouble(shownSum) : total;
    SummaryText out;
    out.panel1 = QStringLiteral("Суммарное падение напряжения: ") + shownSum + QStringLiteral("%");
    out.panel2 = overloaded;
    if (!out.panel2.isEmpty())
        out.panel2.prepend(QStringLiteral(" Внимание: Ток нагрузки больше длительно допустимого тока на линии(ях): "));
    if (sum > maxVoltageDrop)
        out.panel2 += QStringLiteral("Внимание: Cуммарные потери напряжения превышают ") + NumberText::format(maxVoltageDrop)
                      + QStringLiteral("%!");
    return out;
}
