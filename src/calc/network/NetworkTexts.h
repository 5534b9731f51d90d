#pragma once

#include "base/Project.h"
#include "calc/network/NetworkCalc.h"
#include "calc/network/NetworkTree.h"

#include <QString>
#include <QStringList>

// What the network window and `kabinor-cli network` show of a node: the same
// texts from one place. Numbers are rounded to the decimal places of the
// options, "-" where a value does not apply or could not be had.
namespace Network {

struct RowTexts {
    int level = 0; // 0 for the bus
    QString name;
    QString from; // "ТП", the line it starts at, "?" without a start
    QString board;
    QString cable; // mark, cores and section: "АВВГ 4x95"
    QString length; // m
    QString loadCurrent; // A
    QString permissibleCurrent; // A
    QString lineDrop; // %
    QString dropFromBus; // %
    QString threePhaseMax; // Iк(3) max at the end, kA
    QString singlePhaseMin; // Iк(1) min at the end, kA
    QString device; // "C63", "-" without one
    QString checks; // "да", "нет: отключение", "-"
    QString installedPower; // Pу below the node, kW
    QString designPower; // Pр, kW
    QString powerFactor; // cos φ
    QString currentSource; // "сеть" or "задан"

    // Why a cell is highlighted, for its tool tip; empty when it is not.
    QString dropWarning;
    QString loadWarning;
    QString checksReason;
    bool withoutStart = false; // "начало не задано"
};

// "ТП": the bus with the currents at the transformer's terminals.
RowTexts busRow(const Result &result, int places);
RowTexts lineRow(const Project &project, const Tree &tree, const Result &result, int line, int places,
                 double maxVoltageDrop);

// The fields `kabinor-cli network` prints, in order: level, name, from,
// board, load current, permissible current, drop of the line, drop from the
// bus, Iк(3) max, Iк(1) min, device, checks, Pу, Pр, cos φ, where the
// current comes from.
QStringList commandLineFields(const RowTexts &row);

// A name indented by its level, as the lists of the ГОСТ and protection
// windows and their schedules show a line under the line it starts at (two
// no-break blanks a level; deep levels stop indenting further).
QString indentedName(const QString &name, int level);

// "начало не задано", as the window and the line dialog say it.
QString noStartText();

// "S = 412,6 кВА (65,5 %)": the transformer's load and loading.
QString transformerLoadText(const Loads &loads, int places);

} // namespace Network
