#pragma once

#include "calc/selectivity/Selectivity.h"

#include <QRectF>
#include <QString>

class QPainter;

// The time-current chart of one pair: log-log axes (current, time
// 0,01…10 000 s) with decade grid lines, both devices' bands shaded, markers
// at Ib, Iz, Iк(1) min at the downstream line's end and Iк(3) max at the node,
// the crossing marked. One drawing for the screen, PDF and PNG.
namespace SelectivityChart {

struct Content {
    Selectivity::Pair pair;
    QString upstreamName; // the lines' names
    QString downstreamName;
    int places = 2;
};

// Draws into `area` of a painter of any device; sizes follow the area's height.
void draw(QPainter &painter, const QRectF &area, const Content &content);

// The picture as a file: ".pdf" an A4 landscape page, anything else PNG.
// False when it cannot be written.
bool save(const QString &path, const Content &content);

} // namespace SelectivityChart
