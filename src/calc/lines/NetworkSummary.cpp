#include "calc/lines/NetworkSummary.h"

#include "base/NumberText.h"

#include <algorithm>
#include <cmath>

void CompensatedSum::add(double value)
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

double totalVoltageDrop(const QVector<CableLine> &lines)
{
    CompensatedSum drops;
    for (const CableLine &line : lines)
        if (line.checked)
            drops.add(NumberText::toDouble(line.cell(CableLine::VoltageDrop)));
    return drops.value();
}

QString shownTotal(double total)
{
    // Drops too large to add up are no total of 0.
    if (std::isinf(total))
        return total > 0 ? QStringLiteral("∞") : QStringLiteral("-∞");
    return NumberText::format(total);
}

bool isAboveLimit(double total, double maxVoltageDrop)
{
    // The limit is checked against the total as it is shown: 15 significant
    // digits, which only a total within a hair of the limit needs written.
    const double hair = 1e-12 * std::max(std::abs(total), std::abs(maxVoltageDrop));
    if (!std::isfinite(total) || std::abs(total - maxVoltageDrop) > hair)
        return total > maxVoltageDrop;
    return NumberText::toDouble(shownTotal(total)) > maxVoltageDrop;
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
    const double total = totalVoltageDrop(lines);
    SummaryText out;
    out.panel1 = QStringLiteral("Суммарное падение напряжения: ") + shownTotal(total) + QStringLiteral("%");
    out.panel2 = overloaded;
    if (!out.panel2.isEmpty())
        out.panel2.prepend(QStringLiteral(" Внимание: Ток нагрузки больше длительно допустимого тока на линии(ях): "));
    if (isAboveLimit(total, maxVoltageDrop))
        out.panel2 += QStringLiteral("Внимание: Cуммарные потери напряжения превышают ") + NumberText::format(maxVoltageDrop)
                      + QStringLiteral("%!");
    return out;
}
