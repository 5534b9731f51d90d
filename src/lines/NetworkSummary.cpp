#include "lines/NetworkSummary.h"

#include "base/NumberText.h"

#include <cmath>

SummaryText summarizeNetwork(const QVector<CableLine> &lines, double maxVoltageDrop)
{
    double sum = 0;
    QString overloaded;
    for (const CableLine &line : lines) {
        if (!line.checked)
            continue;
        sum += NumberText::toDouble(line.cell(CableLine::voltageDrop));
        const double current = NumberText::toDouble(line.cell(CableLine::LoadCurrent));
        const double permissible = NumberText::toDouble(line.cell(CableLine::PermissibleCurrent));
        if (LineCalc::isOverloaded(current, permissible))
            overloaded += QStringLiteral("''") + line.name + QStringLiteral("'' ");
    }
    SummaryText out;
    // Drops too large to add up are no total of 0.
    const QString total = std::isinf(sum) ? (sum > 0 ? QStringLiteral("∞") : QStringLiteral("-∞")) : NumberText::format(sum);
    out.panel1 = QStringLiteral("Суммарное падение напряжения: ") + total + QStringLiteral("%");
    out.panel2 = overloaded;
    if (!out.panel2.isEmpty())
        out.panel2.prepend(QStringLiteral(" Внимание: Ток нагрузки больше длительно допустимого тока на линии(ях): "));
    if (sum > maxVoltageDrop)
        out.panel2 += QStringLiteral("Внимание: Cуммарные потери напряжения превышают ") + NumberText::format(maxVoltageDrop)
                      + QStringLiteral("%!");
    return out;
}
