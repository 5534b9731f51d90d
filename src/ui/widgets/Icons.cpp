#include "ui/widgets/Icons.h"

#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace Icons {

namespace {

QPixmap canvas()
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    return pm;
}

// A rounded tile with a short glyph: enough to tell the commands apart.
QIcon tile(const QColor &color, const QString &glyph, int pointSize = 13)
{
    QPixmap pm = canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(color.darker(140), 1.5));
    p.setBrush(color);
    p.drawRoundedRect(QRectF(2.5, 2.5, 27, 27), 5, 5);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(pointSize);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, glyph);
    return QIcon(pm);
}

QIcon document(const QColor &color, const QString &glyph)
{
    QPixmap pm = canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.moveTo(6, 2.5);
    path.lineTo(20, 2.5);
    path.lineTo(26.5, 9);
    path.lineTo(26.5, 29.5);
    path.lineTo(6, 29.5);
    path.closeSubpath();
    p.setPen(QPen(QColor(90, 90, 90), 1.5));
    p.setBrush(Qt::white);
    p.drawPath(path);
    p.setBrush(color);
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(8, 16, 17, 11));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(9);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(8, 16, 17, 11), Qt::AlignCenter, glyph);
    return QIcon(pm);
}

QIcon folder()
{
    QPixmap pm = canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(150, 110, 20), 1.5));
    p.setBrush(QColor(240, 200, 80));
    QPainterPath path;
    path.moveTo(3, 8);
    path.lineTo(12, 8);
    path.lineTo(15, 11);
    path.lineTo(29, 11);
    path.lineTo(29, 27);
    path.lineTo(3, 27);
    path.closeSubpath();
    p.drawPath(path);
    return QIcon(pm);
}

QIcon disk()
{
    QPixmap pm = canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 50, 110), 1.5));
    p.setBrush(QColor(60, 100, 190));
    p.drawRoundedRect(QRectF(4, 4, 24, 24), 3, 3);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 5, 14, 8));
    p.setBrush(QColor(200, 200, 210));
    p.drawRect(QRectF(9, 18, 14, 9));
    return QIcon(pm);
}

// A curved arrow turning back (undo) or forward (redo).
QIcon turnArrow(bool forward)
{
    QPixmap pm = canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (forward) {
        p.translate(32, 0);
        p.scale(-1, 1);
    }
    const QColor color(40, 90, 170);
    p.setPen(QPen(color, 3.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath arc;
    arc.moveTo(9, 13);
    arc.cubicTo(15, 6, 28, 8, 27, 19);
    arc.cubicTo(26, 25, 21, 27, 16, 27);
    p.drawPath(arc);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    QPainterPath head;
    head.moveTo(3, 9);
    head.lineTo(14, 5);
    head.lineTo(12, 17);
    head.closeSubpath();
    p.drawPath(head);
    return QIcon(pm);
}

QIcon printer()
{
    QPixmap pm = canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(90, 90, 90), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 3.5, 14, 10)); // the sheet going in
    p.setBrush(QColor(110, 115, 125));
    p.drawRoundedRect(QRectF(3.5, 12.5, 25, 11), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8.5, 19.5, 15, 9)); // the sheet coming out
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.drawLine(QPointF(11, 23), QPointF(21, 23));
    p.drawLine(QPointF(11, 26), QPointF(19, 26));
    return QIcon(pm);
}

// The bus with lines hanging from it: the network as a tree.
QIcon networkTree()
{
    QPixmap pm = canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor wire(30, 90, 60);
    p.setPen(QPen(wire, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 5), QPointF(27, 5)); // the bus
    p.setPen(QPen(wire, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 5), QPointF(16, 14));
    p.drawLine(QPointF(8, 19), QPointF(24, 19));
    p.drawLine(QPointF(8, 19), QPointF(8, 25));
    p.drawLine(QPointF(24, 19), QPointF(24, 25));
    p.drawLine(QPointF(16, 19), QPointF(16, 25));
    p.setPen(QPen(wire.darker(130), 1.2));
    p.setBrush(QColor(120, 190, 140));
    p.drawRect(QRectF(12, 13, 8, 6)); // a board
    for (const double x : {8.0, 16.0, 24.0})
        p.drawRect(QRectF(x - 3, 24.5, 6, 5));
    return QIcon(pm);
}

} // namespace

QColor phaseColor(QChar phase)
{
    // The load lists have always shown A red, B blue, C green and three-phase loads purple.
    switch (phase.unicode()) {
    case 'A':
    case u'А':
        return QColor(255, 0, 0);
    case 'B':
    case u'В':
        return QColor(0, 0, 255);
    case 'C':
    case u'С':
        return QColor(0, 192, 0);
    default:
        return QColor(128, 0, 128);
    }
}

QIcon phase(QChar ph)
{
    static QHash<ushort, QIcon> cache;
    const ushort key = ph.unicode();
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor c = phaseColor(ph);
    p.setPen(QPen(c.darker(150), 1));
    p.setBrush(c);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(9);
    p.setFont(f);
    p.setPen(Qt::white);
    const bool single = c != phaseColor(QChar());
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, single ? QString(ph) : QStringLiteral("3"));
    p.end();
    QIcon icon(pm);
    cache.insert(key, icon);
    return icon;
}

QIcon shield()
{
    static QIcon icon = [] {
        QPixmap pm(16, 16);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(70, 70, 70), 1));
        p.setBrush(QColor(170, 180, 195));
        p.drawRect(QRectF(2.5, 1.5, 11, 13));
        p.setPen(QPen(QColor(230, 180, 0), 1.6));
        p.drawLine(QPointF(9, 3.5), QPointF(6.5, 8));
        p.drawLine(QPointF(6.5, 8), QPointF(9.5, 8));
        p.drawLine(QPointF(9.5, 8), QPointF(7, 12.5));
        return QIcon(pm);
    }();
    return icon;
}

QIcon application()
{
    static QIcon icon = tile(QColor(30, 90, 170), QStringLiteral("К"), 20);
    return icon;
}

QIcon command(const QString &key)
{
    static QHash<QString, QIcon> cache;
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    QIcon icon;
    if (key == QLatin1String("NewPrj"))
        icon = document(QColor(120, 120, 120), QStringLiteral("+"));
    else if (key == QLatin1String("OpenPrj"))
        icon = folder();
    else if (key == QLatin1String("SavePrj"))
        icon = disk();
    else if (key == QLatin1String("AddLine"))
        icon = tile(QColor(40, 150, 70), QStringLiteral("+"), 20);
    else if (key == QLatin1String("ChangeLine"))
        icon = tile(QColor(40, 110, 180), QStringLiteral("✎"), 17);
    else if (key == QLatin1String("DelLine"))
        icon = tile(QColor(190, 50, 50), QStringLiteral("✕"), 16);
    else if (key == QLatin1String("SelTP"))
        icon = tile(QColor(120, 70, 160), QStringLiteral("ТП"), 11);
    else if (key == QLatin1String("Network"))
        icon = networkTree();
    else if (key == QLatin1String("CalcP"))
        icon = tile(QColor(200, 120, 20), QStringLiteral("P"), 17);
    else if (key == QLatin1String("CalcKZ"))
        icon = tile(QColor(210, 60, 30), QStringLiteral("КЗ"), 11);
    else if (key == QLatin1String("Light"))
        icon = tile(QColor(220, 180, 20), QStringLiteral("☀"), 18);
    else if (key == QLatin1String("Calc"))
        icon = tile(QColor(80, 80, 90), QStringLiteral("="), 18);
    else if (key == QLatin1String("Prop"))
        icon = tile(QColor(100, 110, 130), QStringLiteral("⚙"), 18);
    else if (key == QLatin1String("ReportKL"))
        icon = document(QColor(40, 90, 170), QStringLiteral("КЛ"));
    else if (key == QLatin1String("ReportKZ"))
        icon = document(QColor(200, 60, 30), QStringLiteral("КЗ"));
    else if (key == QLatin1String("ReportP"))
        icon = document(QColor(200, 120, 20), QStringLiteral("P"));
    else if (key == QLatin1String("Print"))
        icon = printer();
    else if (key == QLatin1String("Undo"))
        icon = turnArrow(false);
    else if (key == QLatin1String("Redo"))
        icon = turnArrow(true);
    else
        icon = tile(QColor(128, 128, 128), QString());
    cache.insert(key, icon);
    return icon;
}

} // namespace Icons
