#pragma once

#include "docs/writers/Drawing.h"

#include <QByteArray>

// A drawing as an AutoCAD R12 ASCII DXF (AC1009), the oldest form every CAD
// program still reads. Written here in full because no maintained library
// under a licence the program may use writes DXF from C++ on Debian; what a
// diagram needs is small:
//   HEADER    $ACADVER AC1009, $DWGCODEPAGE ANSI_1251, $INSUNITS 4 (mm), the extents;
//   TABLES    the line type CONTINUOUS, one layer per Drawing::Layer, the
//             text style "KABINOR" on arial.ttf (Cyrillic in every CAD program);
//   BLOCKS    one block per symbol ("QF"), drawn on layer 0;
//   ENTITIES  LINE, CIRCLE, TEXT, INSERT, and POLYLINE with a width for the buses.
// Lengths are millimetres on paper; the sheets lie side by side from x = 0,
// y up (the drawing's y down is turned over). Texts are Windows-1251: φ is
// written ф and ² 2, as drawings in that code page write them, any other
// letter outside it \U+XXXX, as AutoCAD reads it.
namespace Dxf {

QByteArray write(const Drawing::Document &document);

// A text in Windows-1251 with \U+XXXX for what that code page lacks.
QByteArray encodeText(const QString &text);

} // namespace Dxf
