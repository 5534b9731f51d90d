#include "ui/widgets/WrappingHeader.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionHeader>

namespace {

// The two lines a heading takes at its narrowest: split at the blank that
// gives the shortest longer line (one line for a single word). Breaking the
// text greedily into that width then never takes a third line.
QStringList narrowestLines(const QString &heading, const QFontMetrics &metrics)
{
    QStringList best{heading};
    int bestWidth = metrics.horizontalAdvance(heading);
    for (qsizetype i = heading.indexOf(QLatin1Char(' ')); i >= 0; i = heading.indexOf(QLatin1Char(' '), i + 1)) {
        const QString first = heading.left(i).trimmed();
        const QString second = heading.mid(i + 1).trimmed();
        if (first.isEmpty() || second.isEmpty())
            continue;
        const int width = qMax(metrics.horizontalAdvance(first), metrics.horizontalAdvance(second));
        if (width < bestWidth) {
            bestWidth = width;
            best = QStringList{first, second};
        }
    }
    return best;
}

} // namespace

WrappingHeader::WrappingHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent)
{
    setDefaultAlignment(Qt::AlignCenter);
}

QSize WrappingHeader::sectionSizeFromContents(int logicalIndex) const
{
    QSize size = QHeaderView::sectionSizeFromContents(logicalIndex);
    if (!model())
        return size;
    const QString heading = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
    const QFontMetrics metrics = fontMetrics();
    const QStringList lines = narrowestLines(heading, metrics);
    if (lines.size() < 2)
        return size;
    // The margins and the sort arrow stay; the text takes its longer line.
    const int narrowest = qMax(metrics.horizontalAdvance(lines.at(0)), metrics.horizontalAdvance(lines.at(1)));
    size.setWidth(size.width() - metrics.horizontalAdvance(heading) + narrowest + 2);
    size.setHeight(size.height() + metrics.lineSpacing());
    return size;
}

void WrappingHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    QStyleOptionHeader option;
    initStyleOption(&option);
    initStyleOptionForIndex(&option, logicalIndex);
    option.rect = rect;
    const QString heading = option.text;
    option.text.clear();
    // The section as the style draws it, then the heading, in two lines when one does not fit.
    painter->save();
    style()->drawControl(QStyle::CE_Header, &option, painter, this);
    painter->restore();
    const QRect textRect = style()->subElementRect(QStyle::SE_HeaderLabel, &option, this);
    painter->save();
    painter->setClipRect(rect);
    painter->setPen(option.palette.color(QPalette::ButtonText));
    painter->drawText(textRect, int(option.textAlignment) | Qt::TextWordWrap, heading);
    painter->restore();
}

int missingWidth(const QAbstractScrollArea &view, const QHeaderView &header)
{
    int columns = 0;
    for (int c = 0; c < header.count(); ++c)
        if (!header.isSectionHidden(c))
            columns += header.sectionSize(c);
    // Room for a vertical scroll bar, whether or not it shows yet.
    const int wanted = columns + view.verticalScrollBar()->sizeHint().width() + 2 * view.frameWidth();
    return qMax(0, wanted - view.width());
}

namespace {

class WidenOnShow : public QObject
{
public:
    WidenOnShow(QWidget &window, QAbstractScrollArea &view, QHeaderView &header)
        : QObject(&window), m_window(window), m_view(view), m_header(header)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &m_window && event->type() == QEvent::Show) {
            m_window.removeEventFilter(this);
            widen();
            deleteLater();
        }
        return false;
    }

private:
    // Before a dialog centres itself over its parent, which keeps it on the screen.
    void widen()
    {
        const int missing = missingWidth(m_view, m_header);
        if (missing <= 0)
            return;
        const QScreen *screen = m_window.screen();
        const QRect free = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
        const int width = qMin(m_window.width() + missing, free.width() * 9 / 10);
        if (width > m_window.width())
            m_window.resize(width, m_window.height());
    }

    QWidget &m_window;
    QAbstractScrollArea &m_view;
    QHeaderView &m_header;
};

} // namespace

void widenOnFirstShow(QWidget &window, QAbstractScrollArea &view, QHeaderView &header)
{
    new WidenOnShow(window, view, header);
}
