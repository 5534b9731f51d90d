#include "docs/writers/DxfWriter.h"

#include "base/TextFile.h"

#include <QLineF>

#include <algorithm>
#include <array>

namespace Dxf {

namespace {

constexpr double TextThin = 0.3; // pens up to this are plain lines

class Writer
{
public:
    QByteArray bytes;

    void pair(int code, const QByteArray &value)
    {
        bytes += QByteArray::number(code).rightJustified(3, ' ');
        bytes += "\r\n";
        bytes += value;
        bytes += "\r\n";
    }
    void pair(int code, const char *value) { pair(code, QByteArray(value)); }
    void number(int code, double value) { pair(code, QByteArray::number(value, 'f', 3)); }
    void integer(int code, int value) { pair(code, QByteArray::number(value)); }
    void point(int code, double x, double y)
    {
        number(code, x);
        number(code + 10, y);
        number(code + 20, 0);
    }
    void layer(Drawing::Layer l) { pair(8, Drawing::layerName(l).toLatin1()); }
};

} // namespace

QByteArray encodeText(const QString &text)
{
    QByteArray out;
    for (const QChar c : text) {
        // Signs of the table that Windows-1251 lacks, as drawings write them.
        const char16_t u = c.unicode();
        if (u < 0x20)
            out += ' ';
        else if (u == 0x03C6)
            TextFile::appendCp1251(out, u"ф");
        else if (u == 0x00B2)
            out += '2';
        else if (!TextFile::appendCp1251(out, QStringView(&c, 1)))
            out += "\\U+" + QByteArray::number(int(c.unicode()), 16).toUpper().rightJustified(4, '0');
    }
    return out;
}

QByteArray write(const Drawing::Document &document)
{
    using namespace Drawing;
    Writer w;
    const double width = std::max(0.0, sheetOffset(document, int(document.sheets.size())) - SheetGap);
    double height = 0;
    for (const Sheet &sheet : document.sheets)
        height = std::max(height, sheet.size.height());

    w.pair(0, "SECTION");
    w.pair(2, "HEADER");
    w.pair(9, "$ACADVER");
    w.pair(1, "AC1009");
    w.pair(9, "$DWGCODEPAGE");
    w.pair(3, "ANSI_1251");
    w.pair(9, "$INSUNITS");
    w.integer(70, 4);
    w.pair(9, "$INSBASE");
    w.point(10, 0, 0);
    w.pair(9, "$EXTMIN");
    w.point(10, 0, 0);
    w.pair(9, "$EXTMAX");
    w.point(10, width, height);
    w.pair(9, "$LIMMIN");
    w.number(10, 0);
    w.number(20, 0);
    w.pair(9, "$LIMMAX");
    w.number(10, width);
    w.number(20, height);
    w.pair(9, "$TEXTSTYLE");
    w.pair(7, "KABINOR");
    w.pair(0, "ENDSEC");

    w.pair(0, "SECTION");
    w.pair(2, "TABLES");
    w.pair(0, "TABLE");
    w.pair(2, "LTYPE");
    w.integer(70, 1);
    w.pair(0, "LTYPE");
    w.pair(2, "CONTINUOUS");
    w.integer(70, 0);
    w.pair(3, "Solid line");
    w.integer(72, 65);
    w.integer(73, 0);
    w.number(40, 0);
    w.pair(0, "ENDTAB");
    const std::array layers = {Layer::Frame, Layer::Bus, Layer::Cables, Layer::Symbols, Layer::Texts, Layer::Table};
    // Colours of the AutoCAD palette, so that the layers tell apart on screen;
    // every colour prints black on a plotter set up for drawings.
    const std::array colours = {7, 7, 5, 1, 7, 7};
    w.pair(0, "TABLE");
    w.pair(2, "LAYER");
    w.integer(70, int(layers.size()) + 1);
    w.pair(0, "LAYER");
    w.pair(2, "0");
    w.integer(70, 0);
    w.integer(62, 7);
    w.pair(6, "CONTINUOUS");
    for (size_t i = 0; i < layers.size(); ++i) {
        w.pair(0, "LAYER");
        w.pair(2, layerName(layers[i]).toLatin1());
        w.integer(70, 0);
        w.integer(62, colours[i]);
        w.pair(6, "CONTINUOUS");
    }
    w.pair(0, "ENDTAB");
    w.pair(0, "TABLE");
    w.pair(2, "STYLE");
    w.integer(70, 1);
    w.pair(0, "STYLE");
    w.pair(2, "KABINOR");
    w.integer(70, 0);
    w.number(40, 0);
    w.number(41, 0.8); // the narrow face of the printed drawing
    w.number(50, 0);
    w.integer(71, 0);
    w.number(42, 2.5);
    w.pair(3, "arial.ttf");
    w.pair(4, "");
    w.pair(0, "ENDTAB");
    w.pair(0, "ENDSEC");

    w.pair(0, "SECTION");
    w.pair(2, "BLOCKS");
    for (const Symbol symbol : {Symbol::Breaker}) {
        const QByteArray name = symbolName(symbol).toLatin1();
        w.pair(0, "BLOCK");
        w.pair(8, "0");
        w.pair(2, name);
        w.integer(70, 0);
        w.point(10, 0, 0);
        w.pair(3, name);
        for (const QLineF &l : symbolLines(symbol)) {
            w.pair(0, "LINE");
            w.pair(8, "0");
            w.point(10, l.x1(), -l.y1());
            w.point(11, l.x2(), -l.y2());
        }
        w.pair(0, "ENDBLK");
        w.pair(8, "0");
    }
    w.pair(0, "ENDSEC");

    w.pair(0, "SECTION");
    w.pair(2, "ENTITIES");
    for (int s = 0; s < document.sheets.size(); ++s) {
        const Sheet &sheet = document.sheets.at(s);
        const double dx = sheetOffset(document, s);
        const double top = sheet.size.height();
        const auto X = [&](double x) { return dx + x; };
        const auto Y = [&](double y) { return top - y; };
        const auto line = [&](Layer layer, QPointF a, QPointF b, double pen) {
            if (pen <= TextThin) {
                w.pair(0, "LINE");
                w.layer(layer);
                w.point(10, X(a.x()), Y(a.y()));
                w.point(11, X(b.x()), Y(b.y()));
                return;
            }
            w.pair(0, "POLYLINE");
            w.layer(layer);
            w.integer(66, 1);
            w.point(10, 0, 0);
            w.number(40, pen);
            w.number(41, pen);
            for (const QPointF &p : {a, b}) {
                w.pair(0, "VERTEX");
                w.layer(layer);
                w.point(10, X(p.x()), Y(p.y()));
            }
            w.pair(0, "SEQEND");
            w.layer(layer);
        };
        for (const Piece &p : sheet.pieces) {
            switch (p.kind) {
            case Kind::Line:
                line(p.layer, p.a, p.b, p.width);
                break;
            case Kind::Rect: {
                const QRectF r = QRectF(p.a, p.b).normalized();
                line(p.layer, r.topLeft(), r.topRight(), p.width);
                line(p.layer, r.topRight(), r.bottomRight(), p.width);
                line(p.layer, r.bottomRight(), r.bottomLeft(), p.width);
                line(p.layer, r.bottomLeft(), r.topLeft(), p.width);
                break;
            }
            case Kind::Circle:
                w.pair(0, "CIRCLE");
                w.layer(p.layer);
                w.point(10, X(p.a.x()), Y(p.a.y()));
                w.number(40, p.size);
                break;
            case Kind::SymbolAt:
                w.pair(0, "INSERT");
                w.layer(p.layer);
                w.pair(2, symbolName(p.symbol).toLatin1());
                w.point(10, X(p.a.x()), Y(p.a.y()));
                break;
            case Kind::Text:
                w.pair(0, "TEXT");
                w.layer(p.layer);
                w.point(10, X(p.a.x()), Y(p.a.y()));
                w.number(40, p.size);
                w.pair(1, encodeText(p.text));
                w.pair(7, "KABINOR");
                if (p.align != Piece::Align::Left) {
                    w.integer(72, p.align == Piece::Align::Center ? 1 : 2);
                    w.point(11, X(p.a.x()), Y(p.a.y()));
                }
                break;
            }
        }
    }
    w.pair(0, "ENDSEC");
    w.pair(0, "EOF");
    return w.bytes;
}

} // namespace Dxf
