#include "docs/schedules/ShortCircuitReport.h"

#include "base/NumberText.h"
#include "calc/shortcircuit/ShortCircuit.h"

namespace ShortCircuitReport {

QString title()
{
    // Named for its method, so that its currents are not taken for those of ГОСТ 28249-93.
    return QStringLiteral("Сводная ведомость токов КЗ (") + ShortCircuit::methodName() + QStringLiteral(")");
}

QString defaultFileName(const QString &projectName)
{
    return projectName + QStringLiteral(" - Ведомость токов КЗ");
}

ReportProgressPlan progressPlan()
{
    return {1, 10, 20, 30, 50, 50, 50, 80, 80, 90};
}

ReportTable build(const Project &project, const CalcValues &calc)
{
    ReportTable table;
    table.heading = {ReportCell{QStringLiteral("Точка КЗ"), true, false},
                     ReportCell{QStringLiteral("iy, кА"), true, true},
                     ReportCell{QStringLiteral("Ik(3), кА"), true, true},
                     ReportCell{QStringLiteral("Ik(2), кА"), true, true},
                     ReportCell{QStringLiteral("Ik(1), кА"), true, true}};

    const int places = calc.places();
    auto kA = [places](double current) {
        // Always kA here, however small: the schedule keeps one unit per column.
        if (!ShortCircuit::hasValue(current))
            return QStringLiteral("-");
        return NumberText::formatRounded(current, places);
    };
    const QString dash = QStringLiteral("-");
    const double zt = ShortCircuit::transformerFaultImpedance(project);

    // The path to a point is every checked line up to it. Rather than summing
    // lines 1..i again for each point, each checked line adds its own share,
    // taken from the same sums over a list of that one line.
    double RL = 0;
    double RN = 0;
    int r = 0;
    QVector<CableLine> one(1);
    for (const CableLine &line : project.lines) {
        if (!line.checked)
            continue;
        ++r;
        one[0] = line;
        RL += ShortCircuit::sumLineResistance(one, 1);
        RN += ShortCircuit::sumNeutralResistance(one, 1, calc);

        QStringList row;
        row.reserve(5);
        row << line.name;
        if (line.cell(CableLine::Voltage) == QLatin1String("220")) {
            const double Rk = double(ShortCircuit::contactResistance(r));
            row << dash << dash << dash << kA(ShortCircuit::singlePhaseCurrent(RN, RL, zt, Rk));
        } else {
            // A three-phase point counts one stage more than its ordinal, as the
            // short-circuit window starts its stage count at 1.
            const double Rk = double(ShortCircuit::contactResistance(r + 1));
            const double ik3 = ShortCircuit::threePhaseCurrent(project.Rnet, RL, project.Rt, project.Xt, Rk);
            row << kA(ShortCircuit::peakCurrent(ik3)) << kA(ik3) << kA(ShortCircuit::twoPhaseCurrent(ik3))
                << kA(ShortCircuit::singlePhaseCurrent(RN, RL, zt, Rk));
        }
        table.rows << row;
    }
    for (int c = 1; c < table.columnCount(); ++c)
        table.setNumberColumn(c, places);
    return table;
}

bool run(ReportWriter &writer, const Project &project, const CalcValues &calc)
{
    writer.setProgressPlan(progressPlan());
    return writer.run(project.projectName, title(), defaultFileName(project.projectName),
                      [&project, &calc] { return build(project, calc); });
}

} // namespace ShortCircuitReport
