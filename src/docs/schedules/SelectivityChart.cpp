#include "docs/schedules/SelectivityChart.h"

#include "base/NumberText.h"

#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace SelectivityChart {

namespace {

constexpr double TimeFrom = 0.01;
constexpr double TimeTo = 10000;

const QColor UpstreamColour(0x1f, 0x5f, 0xbf);
const QColor DownstreamColour(0xe0, 0x7b, 0x00);
const QColor MarkerColour(0x55, 0x55, 0x55);
const QColor CrossingColour(0xc6, 0x28, 0x28);

// Maps currents and times onto the plot rectangle in log-log co-ordinates.
struct Axes {
    QRectF plot;
    double currentFrom = 1; // A, a power of ten
    double currentTo = 10;
    double x(double current) const
    {
        const double share = std::log10(current / currentFrom) / std::log10(currentTo / currentFrom);
        return plot.left() + std::clamp(share, 0.0, 1.0) * plot.width();
    }
    double y(double time) const
    {
        if (!(time > TimeFrom))
            return plot.bottom();
        if (!(time < TimeTo))
            return plot.top();
        return plot.bottom() - std::log10(time / TimeFrom) / std::log10(TimeTo / TimeFrom) * plot.height();
    }
};

QString tickText(double value)
{
    return NumberText::format(value).replace(QStringLiteral("E+"), QStringLiteral("e"));
}

// The curve over the whole current axis: a log grid with the curve's own
// points (and just past them, so that a step is drawn upright).
QPolygonF curveLine(const Axes &axes, const TripCurves::Curve &curve)
{
    std::vector<double> currents;
    constexpr int Steps = 240;
    for (int k = 0; k <= Steps; ++k)
        currents.push_back(axes.currentFrom * std::pow(axes.currentTo / axes.currentFrom, double(k) / Steps));
    for (const TripCurves::Point &p : curve.points) {
        currents.push_back(p.current);
        currents.push_back(std::nextafter(p.current, INFINITY));
        currents.push_back(std::nextafter(p.current, 0.0));
    }
    std::sort(currents.begin(), currents.end());
    // Left of its first point the curve is infinite: it rises upright there.
    QPolygonF line;
    if (!curve.isEmpty() && curve.firstCurrent() >= axes.currentFrom)
        line << QPointF(axes.x(curve.firstCurrent()), axes.plot.top());
    for (const double current : currents)
        if (current >= axes.currentFrom && current <= axes.currentTo && std::isfinite(curve.timeAt(current)))
            line << QPointF(axes.x(current), axes.y(curve.timeAt(current)));
    return line;
}

void drawBand(QPainter &painter, const Axes &axes, const TripCurves::Band &band, const QColor &colour, double pen)
{
    const QPolygonF never = curveLine(axes, band.neverTrips);
    const QPolygonF always = curveLine(axes, band.alwaysTrips);
    QPolygonF area = never;
    area << QPointF(axes.plot.right(), axes.plot.bottom()) << QPointF(axes.plot.right(), axes.y(band.alwaysTrips.timeAt(axes.currentTo)));
    for (qsizetype k = always.size() - 1; k >= 0; --k)
        area << always.at(k);
    QColor fill = colour;
    fill.setAlpha(60);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPolygon(area);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colour, pen));
    painter.drawPolyline(never);
    painter.drawPolyline(always);
}

} // namespace

void draw(QPainter &painter, const QRectF &area, const Content &content)
{
    const Selectivity::Pair &pair = content.pair;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, Qt::white);
    const double unit = area.height() / 60.0; // sizes follow the picture
    QFont font = painter.font();
    font.setPixelSize(std::max(8, int(unit * 1.6)));
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    const double line = metrics.height();
    const double pen = std::max(1.0, unit * 0.22);

    // Title: the pair, the verdict and what it rests on.
    const QString title = QStringLiteral("«") + content.upstreamName + QStringLiteral("» ")
                          + pair.upstreamDevice.designation() + QStringLiteral(" → «") + content.downstreamName
                          + QStringLiteral("» ") + pair.downstreamDevice.designation() + QStringLiteral(": ")
                          + Selectivity::verdictText(pair.check, content.places) + QStringLiteral(" (")
                          + Selectivity::basisText() + QStringLiteral(")");
    painter.setPen(Qt::black);
    painter.drawText(QRectF(area.left(), area.top(), area.width(), line * 1.4), Qt::AlignCenter, title);

    Axes axes;
    const QString widest = QStringLiteral("10000");
    axes.plot = QRectF(area.left() + metrics.horizontalAdvance(widest) + line * 2.2, area.top() + line * 3.2, 0, 0);
    axes.plot.setRight(area.right() - metrics.horizontalAdvance(widest) * 0.6 - line * 0.5);
    axes.plot.setBottom(area.bottom() - line * 3);

    // The current axis: whole decades around both bands, the markers and Is.
    std::vector<double> currents;
    for (const auto *band : {&pair.upstreamBand, &pair.downstreamBand})
        if (*band) {
            currents.push_back((*band)->neverTrips.firstCurrent());
            currents.push_back((*band)->alwaysTrips.lastCurrent() * 1.5);
        }
    if (pair.loadCurrent > 0)
        currents.push_back(pair.loadCurrent);
    if (pair.maximumAtNode && *pair.maximumAtNode > 0)
        currents.push_back(*pair.maximumAtNode * 1000);
    if (currents.empty())
        currents = {1, 1000};
    const auto [low, high] = std::minmax_element(currents.begin(), currents.end());
    axes.currentFrom = std::pow(10.0, std::floor(std::log10(*low * 0.9)));
    axes.currentTo = std::pow(10.0, std::ceil(std::log10(*high * 1.1)));
    const bool kiloamperes = axes.currentTo > 10000;

    // Grid: every decade strong, the steps 2…9 faint; the labels of the decades.
    painter.setPen(QPen(QColor(0xe4, 0xe4, 0xe4), pen * 0.6));
    for (double decade = axes.currentFrom; decade < axes.currentTo * 0.999; decade *= 10)
        for (int k = 2; k < 10; ++k)
            painter.drawLine(QPointF(axes.x(decade * k), axes.plot.top()), QPointF(axes.x(decade * k), axes.plot.bottom()));
    for (double decade = TimeFrom; decade < TimeTo * 0.999; decade *= 10)
        for (int k = 2; k < 10; ++k)
            painter.drawLine(QPointF(axes.plot.left(), axes.y(decade * k)), QPointF(axes.plot.right(), axes.y(decade * k)));
    for (double decade = axes.currentFrom; decade <= axes.currentTo * 1.001; decade *= 10) {
        painter.setPen(QPen(QColor(0xa0, 0xa0, 0xa0), pen * 0.8));
        const double x = axes.x(decade);
        painter.drawLine(QPointF(x, axes.plot.top()), QPointF(x, axes.plot.bottom()));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(x - line * 3, axes.plot.bottom() + line * 0.2, line * 6, line), Qt::AlignHCenter,
                         tickText(kiloamperes ? decade / 1000 : decade));
    }
    for (double decade = TimeFrom; decade <= TimeTo * 1.001; decade *= 10) {
        painter.setPen(QPen(QColor(0xa0, 0xa0, 0xa0), pen * 0.8));
        const double y = axes.y(decade);
        painter.drawLine(QPointF(axes.plot.left(), y), QPointF(axes.plot.right(), y));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(area.left(), y - line / 2, axes.plot.left() - area.left() - line * 0.3, line),
                         Qt::AlignRight | Qt::AlignVCenter, tickText(decade));
    }
    painter.drawText(QRectF(axes.plot.left(), axes.plot.bottom() + line * 1.4, axes.plot.width(), line * 1.2),
                     Qt::AlignHCenter, kiloamperes ? QStringLiteral("Ток, кА") : QStringLiteral("Ток, А"));
    painter.save();
    painter.translate(area.left() + line * 0.2, axes.plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-axes.plot.height() / 2, 0, axes.plot.height(), line * 1.2), Qt::AlignCenter,
                     QStringLiteral("Время, с"));
    painter.restore();

    painter.save();
    painter.setClipRect(axes.plot);
    if (pair.upstreamBand)
        drawBand(painter, axes, *pair.upstreamBand, UpstreamColour, pen * 1.4);
    if (pair.downstreamBand)
        drawBand(painter, axes, *pair.downstreamBand, DownstreamColour, pen * 1.4);
    painter.restore();

    // Markers: dashed verticals, their names at the top of the plot.
    struct Marker {
        QString name;
        double current;
    };
    std::vector<Marker> markers;
    if (pair.loadCurrent > 0)
        markers.push_back({QStringLiteral("Ib"), pair.loadCurrent});
    if (pair.permissibleCurrent > 0)
        markers.push_back({QStringLiteral("Iz"), pair.permissibleCurrent});
    if (pair.minimumAtEnd && *pair.minimumAtEnd > 0)
        markers.push_back({QStringLiteral("Iк(1) min"), *pair.minimumAtEnd * 1000});
    if (pair.maximumAtNode && *pair.maximumAtNode > 0)
        markers.push_back({QStringLiteral("Iк(3) max"), *pair.maximumAtNode * 1000});
    double lastLabelRight = -1e9;
    int row = 0;
    for (const Marker &m : markers) {
        const double x = axes.x(m.current);
        painter.setPen(QPen(MarkerColour, pen, Qt::DashLine));
        painter.drawLine(QPointF(x, axes.plot.top()), QPointF(x, axes.plot.bottom()));
        painter.setPen(MarkerColour);
        const double width = metrics.horizontalAdvance(m.name);
        // Labels that would run into the previous one go one row lower.
        row = x - width / 2 < lastLabelRight + line * 0.3 ? row + 1 : 0;
        const QRectF label(x - width / 2, axes.plot.top() - line * (1.1 + 0) + row * line, width, line);
        painter.fillRect(label, Qt::white);
        painter.drawText(label, Qt::AlignCenter, m.name);
        lastLabelRight = label.right();
    }

    // The crossing: where the upstream device may trip before the downstream one has cleared.
    if (pair.check.limit && pair.downstreamBand && *pair.check.limit <= axes.currentTo) {
        const double current = *pair.check.limit;
        const QPointF at(axes.x(current), axes.y(pair.downstreamBand->alwaysTrips.timeAt(current)));
        painter.setPen(QPen(CrossingColour, pen * 1.6));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(at, unit * 1.1, unit * 1.1);
        const QString text = QStringLiteral("Is = ") + NumberText::formatRounded(current / 1000, content.places)
                             + QStringLiteral(" кА");
        const double width = metrics.horizontalAdvance(text);
        QRectF label(at.x() + unit * 1.4, at.y() - line * 1.6, width + line * 0.4, line);
        if (label.right() > axes.plot.right())
            label.moveRight(at.x() - unit * 1.4);
        painter.fillRect(label, Qt::white);
        painter.setPen(CrossingColour);
        painter.drawText(label, Qt::AlignCenter, text);
    }

    // Legend, in the lower left corner where the bands never reach.
    const QStringList names = {pair.upstreamDevice.designation() + QStringLiteral(" — выше по цепи, «")
                                   + content.upstreamName + QStringLiteral("»"),
                               pair.downstreamDevice.designation() + QStringLiteral(" — «") + content.downstreamName
                                   + QStringLiteral("»")};
    double legendWidth = 0;
    for (const QString &n : names)
        legendWidth = std::max(legendWidth, metrics.horizontalAdvance(n));
    const QRectF legend(axes.plot.left() + line * 0.6, axes.plot.bottom() - line * 3.2, legendWidth + line * 2.2,
                        line * 2.6);
    painter.setPen(QPen(QColor(0xa0, 0xa0, 0xa0), pen * 0.6));
    painter.setBrush(Qt::white);
    painter.drawRect(legend);
    const QColor colours[] = {UpstreamColour, DownstreamColour};
    for (int k = 0; k < 2; ++k) {
        const QRectF swatch(legend.left() + line * 0.4, legend.top() + line * (0.45 + k * 1.0), line * 1.0, line * 0.7);
        QColor fill = colours[k];
        fill.setAlpha(60);
        painter.setBrush(fill);
        painter.setPen(QPen(colours[k], pen));
        painter.drawRect(swatch);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(swatch.right() + line * 0.4, swatch.top() - line * 0.15, legendWidth, line),
                         Qt::AlignLeft | Qt::AlignVCenter, names.at(k));
    }
    painter.setPen(QPen(Qt::black, pen));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(axes.plot);
    painter.restore();
}

bool save(const QString &path, const Content &content)
{
    if (path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        QPdfWriter writer(&file);
        writer.setResolution(300);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                                         QPageLayout::Millimeter));
        writer.setTitle(QStringLiteral("Селективность"));
        QPainter painter;
        if (!painter.begin(&writer))
            return false;
        draw(painter, QRectF(QPointF(0, 0), QSizeF(writer.width(), writer.height())), content);
        painter.end();
        return file.error() == QFileDevice::NoError;
    }
    QImage image(1600, 1100, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        draw(painter, QRectF(image.rect()), content);
    }
    return image.save(path, "PNG");
}

} // namespace SelectivityChart
