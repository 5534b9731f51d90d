#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

// The program's pictures, drawn once at first use, so that no image files
// need to travel with it.
namespace Icons {

// Toolbar and menu pictures by toolbar key ("NewPrj", "AddLine", ...).
QIcon command(const QString &key);
// The application icon.
QIcon application();
// The shield icon of the load lists and of the offered currents.
QIcon shield();
// A phase icon: 'A', 'B', 'C' in the phase colours, anything else a three-phase sign.
QIcon phase(QChar phase);
// The colour of a phase in the load lists.
QColor phaseColor(QChar phase);

} // namespace Icons
