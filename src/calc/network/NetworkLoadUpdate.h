#pragma once

#include "base/AppContext.h"
#include "base/Project.h"

#include <QString>
#include <QVector>

// Lines whose load current comes from the network take it: their typed
// current and cos φ become the network's and the row is computed again (its
// drop, permissible-current warning and section proposal with them).
namespace Network {

// `lines` (the project's lines, or a changed copy of them) with the
// project's shields and transformer; the number of lines that changed.
int takeNetworkLoads(const Project &project, QVector<CableLine> &lines, const QString &appDir, const CalcValues &calc);

// "Пересчитано по нагрузкам сети: 3 линии".
QString takenLoadsMessage(int lines);

} // namespace Network
