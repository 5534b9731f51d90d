#include "calc/network/NetworkLoadUpdate.h"

#include "base/NumberText.h"
#include "calc/lines/LineEntry.h"
#include "calc/network/NetworkLoads.h"
#include "calc/network/NetworkTree.h"

namespace Network {

int takeNetworkLoads(const Project &project, QVector<CableLine> &lines, const QString &appDir, const CalcValues &calc)
{
    Project view;
    view.lines = lines;
    view.shields = project.shields;
    view.transformerPower = project.transformerPower;
    const Loads loads = computeLoads(view, Tree::build(lines));
    const int places = calc.places();
    QVector<int> rows;
    QVector<CableLine> changed;
    for (int i = 0; i < lines.size(); ++i) {
        const LineLoad &load = loads.lines.at(i);
        const CableLine &line = lines.at(i);
        // A line without inputs cannot be computed again: it keeps its row.
        if (!load.fromNetwork || !line.inputs)
            continue;
        const QString current = NumberText::formatRounded(load.current, places);
        const QString cosPhi = NumberText::formatRounded(load.powerFactor, 2);
        if (line.inputs->loadCurrent.text == current && line.inputs->cosPhi.text == cosPhi)
            continue;
        CableLine taken = line;
        // The texts as the line dialog would store them, read into their values.
        taken.inputs->loadCurrent.text = current;
        taken.inputs->cosPhi.text = cosPhi;
        taken.inputs->readValues();
        changed << taken;
        rows << i;
    }
    if (changed.isEmpty())
        return 0;
    LineEntry::recomputeLines(changed, appDir, calc);
    for (int k = 0; k < rows.size(); ++k)
        lines[rows.at(k)] = changed.at(k);
    return int(rows.size());
}

QString takenLoadsMessage(int lines)
{
    const int lastTwo = lines % 100;
    const int last = lines % 10;
    const char *word = (lastTwo >= 11 && lastTwo <= 14) ? "линий"
                       : last == 1                       ? "линия"
                       : (last >= 2 && last <= 4)        ? "линии"
                                                         : "линий";
    return QStringLiteral("Пересчитано по нагрузкам сети: ") + QString::number(lines) + QLatin1Char(' ')
           + QString::fromUtf8(word);
}

} // namespace Network
