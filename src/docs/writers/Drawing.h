#pragma once

#include <QByteArray>
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QVector>

class QPainter;

// A drawing as sheets of simple pieces in millimetres on paper (y down), so
// that the screen, PDF, SVG and DXF all show the one drawing: the screen, PDF
// and SVG paint it with one QPainter routine, the DXF writer writes the same
// pieces as entities.
namespace Drawing {

// The layers the pieces lie on; the DXF keeps them as named layers.
enum class Layer { Frame, Bus, Cables, Symbols, Texts, Table };
QString layerName(Layer layer); // "FRAME", "BUS", ...

// The symbols drawn from one definition each (a DXF block).
enum class Symbol {
    Breaker, // the automatic switch: a contact with the cross on its fixed end
};
QString symbolName(Symbol symbol); // "QF"

enum class Kind { Line, Rect, Circle, Text, SymbolAt };

struct Piece {
    Kind kind = Kind::Line;
    Layer layer = Layer::Texts;
    QPointF a; // start, corner, centre, the text's reference point, the symbol's origin
    QPointF b; // end, the opposite corner
    double size = 0; // a circle's radius, a text's height (capital letters), mm
    double width = 0; // pen width, mm; 0 for a thin line
    Symbol symbol = Symbol::Breaker;
    QString text;
    // A text's reference point: its left, centre or right end on the base line.
    enum class Align { Left, Center, Right } align = Align::Left;
    int owner = -1; // the line of the project the piece shows; -1 for the rest
};

struct Sheet {
    QSizeF size; // mm
    QVector<Piece> pieces;
};

struct Document {
    QString title;
    QVector<Sheet> sheets;
};

// The width a text takes at a height, with room to spare for the widest
// letters of the face the pieces are drawn in.
double textWidth(const QString &text, double height);
// The box of a text piece on paper.
QRectF textBox(const Piece &text);
// The box of any piece (a symbol's box from its definition).
QRectF box(const Piece &piece);

// The pieces of a symbol at origin (0, 0): lines only.
QVector<QLineF> symbolLines(Symbol symbol);

// Paints pieces in millimetres on a painter already scaled to them.
void paint(QPainter &painter, const QVector<Piece> &pieces);

// A PDF of one page per sheet, drawn as vectors; empty when it could not be made.
QByteArray pdf(const Document &document);
// An SVG with the sheets side by side, as the DXF has them.
QByteArray svg(const Document &document);

// The gap between sheets placed side by side, mm.
constexpr double SheetGap = 20;
// Where a sheet starts when the sheets lie side by side.
double sheetOffset(const Document &document, int sheet);

} // namespace Drawing
