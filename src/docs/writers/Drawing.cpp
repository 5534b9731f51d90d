#include "docs/writers/Drawing.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QLineF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>

namespace Drawing {

namespace {

// The face of every text: narrow enough for the columns of a diagram and
// with the Cyrillic letters. Its capitals are 0,729 of its size, and a text's
// height on a drawing is the height of its capitals.
constexpr double CapitalsOfSize = 0.729;
constexpr int FontPixels = 100;

QFont drawingFont()
{
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(FontPixels);
    return font;
}

} // namespace

QString layerName(Layer layer)
{
    switch (layer) {
    case Layer::Frame:
        return QStringLiteral("FRAME");
    case Layer::Bus:
        return QStringLiteral("BUS");
    case Layer::Cables:
        return QStringLiteral("CABLES");
    case Layer::Symbols:
        return QStringLiteral("SYMBOLS");
    case Layer::Texts:
        return QStringLiteral("TEXTS");
    case Layer::Table:
        return QStringLiteral("TABLE");
    }
    return QString();
}

QString symbolName(Symbol)
{
    return QStringLiteral("QF");
}

double textWidth(const QString &text, double height)
{
    // Per letter, from the widths of the condensed face with some room: the
    // wide letters, the narrow signs and the rest.
    static const QString wide = QStringLiteral("ЖШЩЮМЫФжшщюмыфWMwm%");
    static const QString narrow = QStringLiteral(" .,:;!|()[]-/'ilIj1Гт");
    double width = 0;
    for (const QChar c : text)
        width += wide.contains(c) ? 1.15 : narrow.contains(c) ? 0.6 : 0.85;
    return width * height;
}

QRectF textBox(const Piece &text)
{
    const double w = textWidth(text.text, text.size);
    double left = text.a.x();
    if (text.align == Piece::Align::Center)
        left -= w / 2;
    else if (text.align == Piece::Align::Right)
        left -= w;
    // Descenders below the base line take a third of the height.
    return QRectF(left, text.a.y() - text.size, w, text.size * 4 / 3);
}

QVector<QLineF> symbolLines(Symbol)
{
    // The breaker from its top (0, 0) to its bottom (0, 8): the conductor
    // to the fixed contact, the cross on it, the moving contact open to the
    // left and the conductor on from its hinge.
    return {QLineF(0, 0, 0, 2), QLineF(-0.9, 1.1, 0.9, 2.9), QLineF(-0.9, 2.9, 0.9, 1.1),
            QLineF(0, 6, -2.2, 2.4), QLineF(0, 6, 0, 8)};
}

QRectF box(const Piece &piece)
{
    switch (piece.kind) {
    case Kind::Line:
    case Kind::Rect:
        return QRectF(piece.a, piece.b).normalized();
    case Kind::Circle:
        return QRectF(piece.a.x() - piece.size, piece.a.y() - piece.size, 2 * piece.size, 2 * piece.size);
    case Kind::Text:
        return textBox(piece);
    case Kind::SymbolAt: {
        QRectF r;
        for (const QLineF &l : symbolLines(piece.symbol))
            r |= QRectF(l.p1(), l.p2()).normalized();
        return r.translated(piece.a);
    }
    }
    return QRectF();
}

void paint(QPainter &painter, const QVector<Piece> &pieces)
{
    const QFont font = drawingFont();
    const QFontMetricsF metrics(font);
    painter.setFont(font);
    painter.setBrush(Qt::NoBrush);
    QPen pen(Qt::black);
    pen.setCapStyle(Qt::FlatCap);
    for (const Piece &p : pieces) {
        pen.setWidthF(p.width > 0 ? p.width : 0.25);
        painter.setPen(pen);
        switch (p.kind) {
        case Kind::Line:
            painter.drawLine(p.a, p.b);
            break;
        case Kind::Rect:
            painter.drawRect(QRectF(p.a, p.b).normalized());
            break;
        case Kind::Circle:
            painter.drawEllipse(p.a, p.size, p.size);
            break;
        case Kind::SymbolAt: {
            const QVector<QLineF> lines = symbolLines(p.symbol);
            for (const QLineF &l : lines)
                painter.drawLine(l.translated(p.a));
            break;
        }
        case Kind::Text: {
            const double scale = p.size / CapitalsOfSize / FontPixels;
            const double advance = metrics.horizontalAdvance(p.text);
            double x = 0;
            if (p.align == Piece::Align::Center)
                x = -advance / 2;
            else if (p.align == Piece::Align::Right)
                x = -advance;
            painter.save();
            painter.translate(p.a);
            painter.scale(scale, scale);
            painter.drawText(QPointF(x, 0), p.text);
            painter.restore();
            break;
        }
        }
    }
}

QByteArray pdf(const Document &document)
{
    if (document.sheets.isEmpty())
        return QByteArray();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(document.title);
        writer.setCreator(QStringLiteral("Кабинор"));
        writer.setResolution(1200);
        const auto pageOf = [](const Sheet &sheet) {
            return QPageSize(sheet.size, QPageSize::Millimeter);
        };
        writer.setPageLayout(QPageLayout(pageOf(document.sheets.first()), QPageLayout::Portrait, QMarginsF()));
        QPainter painter;
        if (!painter.begin(&writer))
            return QByteArray();
        for (int s = 0; s < document.sheets.size(); ++s) {
            const Sheet &sheet = document.sheets.at(s);
            if (s > 0) {
                writer.setPageLayout(QPageLayout(pageOf(sheet), QPageLayout::Portrait, QMarginsF()));
                writer.newPage();
            }
            painter.save();
            painter.scale(writer.resolution() / 25.4, writer.resolution() / 25.4);
            paint(painter, sheet.pieces);
            painter.restore();
        }
        painter.end();
    }
    return bytes;
}

double sheetOffset(const Document &document, int sheet)
{
    double x = 0;
    for (int s = 0; s < sheet && s < document.sheets.size(); ++s)
        x += document.sheets.at(s).size.width() + SheetGap;
    return x;
}

QByteArray svg(const Document &document)
{
    if (document.sheets.isEmpty())
        return QByteArray();
    double width = 0;
    double height = 0;
    for (const Sheet &sheet : document.sheets)
        height = std::max(height, sheet.size.height());
    width = sheetOffset(document, int(document.sheets.size())) - SheetGap;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setTitle(document.title);
    // Millimetres throughout: the view box in them, the size at 96 dots an inch.
    generator.setResolution(96);
    generator.setSize(QSize(qRound(width * 96 / 25.4), qRound(height * 96 / 25.4)));
    generator.setViewBox(QRectF(0, 0, width, height));
    QPainter painter;
    if (!painter.begin(&generator))
        return QByteArray();
    for (int s = 0; s < document.sheets.size(); ++s) {
        painter.save();
        painter.translate(sheetOffset(document, s), 0);
        paint(painter, document.sheets.at(s).pieces);
        painter.restore();
    }
    painter.end();
    return bytes;
}

} // namespace Drawing
