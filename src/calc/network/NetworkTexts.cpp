#include "calc/network/NetworkTexts.h"

#include "base/NumberText.h"

#include <cmath>

namespace Network {

namespace {

const QString kDash = QStringLiteral("-");

QString amount(const std::optional<double> &value, int places)
{
    return value ? NumberText::formatRounded(*value, places) : kDash;
}

} // namespace

QString indentedName(const QString &name, int level)
{
    constexpr int DeepestIndent = 12;
    const int steps = qBound(0, level - 1, DeepestIndent);
    return QString(2 * steps, QChar(0x00A0)) + name;
}

QString noStartText()
{
    return QStringLiteral("начало не задано");
}

RowTexts busRow(const Result &result, int places)
{
    RowTexts row;
    row.level = 0;
    row.name = QStringLiteral("ТП");
    for (QString *text : {&row.from, &row.board, &row.cable, &row.length, &row.loadCurrent, &row.permissibleCurrent,
                          &row.lineDrop, &row.dropFromBus, &row.device, &row.checks})
        *text = kDash;
    row.threePhaseMax = amount(result.bus.threePhase, places);
    row.singlePhaseMin = amount(result.bus.singlePhaseMin, places);
    return row;
}

RowTexts lineRow(const Project &project, const Tree &tree, const Result &result, int line, int places,
                 double maxVoltageDrop)
{
    const CableLine &l = project.lines.at(line);
    const LineResult &r = result.lines.at(line);
    RowTexts row;
    row.level = tree.depth(line);
    row.name = l.name;
    row.withoutStart = !tree.hasStart(line);
    const int up = tree.parent(line);
    row.from = row.withoutStart ? QStringLiteral("?") : (up == Bus ? QStringLiteral("ТП") : project.lines.at(up).name);
    row.board = l.place.board;
    const QString mark = l.cell(CableLine::Mark);
    row.cable = mark.isEmpty() ? l.cell(CableLine::Cores) : mark + QLatin1Char(' ') + l.cell(CableLine::Cores);
    row.length = l.cell(CableLine::Length);
    row.loadCurrent = NumberText::formatRounded(r.loadCurrent, places);
    row.permissibleCurrent = NumberText::formatRounded(r.permissibleCurrent, places);
    row.lineDrop = NumberText::formatRounded(r.lineDrop, places);
    // Drops past the range of doubles show as the summary shows them.
    row.dropFromBus = std::isinf(r.dropFromBus) ? shownTotal(r.dropFromBus)
                                                 : NumberText::formatRounded(r.dropFromBus, places);
    row.threePhaseMax = r.endKnown ? amount(r.end.threePhase, places) : kDash;
    row.singlePhaseMin = r.endKnown ? amount(r.end.singlePhaseMin, places) : kDash;
    row.device = r.check.input.device ? r.check.input.device->designation() : kDash;
    row.checks = checksText(explained(r.check, places), &row.checksReason);
    if (r.dropAboveLimit)
        row.dropWarning = QStringLiteral("Падение напряжения от шин ТП ") + row.dropFromBus
                          + QStringLiteral("% больше допустимого ") + NumberText::format(maxVoltageDrop)
                          + QStringLiteral("%.");
    if (r.overloaded)
        row.loadWarning = QStringLiteral("Ток нагрузки ") + row.loadCurrent
                          + QStringLiteral(" А больше длительно допустимого тока ") + row.permissibleCurrent
                          + QStringLiteral(" А.");
    return row;
}

QStringList commandLineFields(const RowTexts &row)
{
    return {QString::number(row.level), row.name, row.from, row.board, row.loadCurrent, row.permissibleCurrent,
            row.lineDrop, row.dropFromBus, row.threePhaseMax, row.singlePhaseMin, row.device, row.checks};
}

} // namespace Network
