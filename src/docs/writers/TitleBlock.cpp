#include "docs/writers/TitleBlock.h"

#include <QFont>
#include <QPainter>
#include <QPen>
#include <QTextLayout>

#include <algorithm>
#include <numeric>

namespace TitleBlock {

namespace {

constexpr double kCaptionSize = 7;
constexpr double kNameSize = 8;
constexpr double kCodeSize = 12;
constexpr double kTitleSize = 10;
constexpr double kSmallestSize = 4;
constexpr double kPadMm = 0.6;

Cell caption(int row, int column, const QString &text, int rowSpan = 1)
{
    return Cell{row, column, rowSpan, 1, Content::Caption, text, kCaptionSize, false, true};
}

Cell text(int row, int column, int rowSpan, int columnSpan, const QString &value, double size, bool bold = false,
          bool centred = true)
{
    return Cell{row, column, rowSpan, columnSpan, Content::Text, value, size, bold, centred};
}

// The columns of changes (Изм., Кол.уч., Лист, № док., Подп., Дата), two
// empty rows above their captions; the following sheets' form has its middle
// row split, so that the sheet column beside can be divided 7 + 8 mm.
void addChanges(QVector<Cell> &cells, const QVector<int> &rowSpans)
{
    static const char *const captions[] = {"Изм.", "Кол.уч.", "Лист", "№ док.", "Подп.", "Дата"};
    int row = 0;
    for (const int span : rowSpans) {
        for (int c = 0; c < 6; ++c)
            cells << text(row, c, span, 1, QString(), kNameSize);
        row += span;
    }
    for (int c = 0; c < 6; ++c)
        cells << caption(row, c, QString::fromUtf8(captions[c]));
}

QFont cellFont(double pointSize, bool bold)
{
    QFont f(QStringLiteral("Times New Roman"));
    f.setStyleHint(QFont::Serif);
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

// The text laid out in `width`, broken between words; its height.
double layOut(QTextLayout &layout, double width, bool centred)
{
    QTextOption option(centred ? Qt::AlignHCenter : Qt::AlignLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    double y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    return y;
}

} // namespace

double Grid::width() const
{
    return std::accumulate(columns.begin(), columns.end(), 0.0);
}

double Grid::height() const
{
    return std::accumulate(rows.begin(), rows.end(), 0.0);
}

double Grid::left(const Cell &cell) const
{
    return std::accumulate(columns.begin(), columns.begin() + cell.column, 0.0);
}

double Grid::top(const Cell &cell) const
{
    return std::accumulate(rows.begin(), rows.begin() + cell.row, 0.0);
}

double Grid::cellWidth(const Cell &cell) const
{
    return std::accumulate(columns.begin() + cell.column, columns.begin() + cell.column + cell.columnSpan, 0.0);
}

double Grid::cellHeight(const Cell &cell) const
{
    return std::accumulate(rows.begin() + cell.row, rows.begin() + cell.row + cell.rowSpan, 0.0);
}

Grid grid(Form form, const ProjectProperties &p, const QString &documentTitle)
{
    Grid g;
    if (form == Form::FollowingSheet) {
        g.columns = {10, 10, 10, 10, 15, 10, 110, 10};
        g.rows = {5, 2, 3, 5};
        addChanges(g.cells, {1, 2});
        g.cells << text(0, 6, 4, 1, p.documentCode, kCodeSize, true);
        g.cells << caption(0, 7, QStringLiteral("Лист"), 2);
        g.cells << Cell{2, 7, 2, 1, Content::SheetNumber, QString(), kNameSize, false, true};
        return g;
    }
    g.columns = {10, 10, 10, 10, 15, 10, 70, 15, 15, 20};
    g.rows = QVector<double>(8, 5);
    addChanges(g.cells, {1, 1});
    g.cells << text(0, 6, 3, 4, p.documentCode, kCodeSize, true);
    // The signatures: what each one did, the name, the signature by hand,
    // the date (beside the names given).
    const std::pair<const char *, QString> signatures[] = {
        {"Разраб.", p.developer}, {"Пров.", p.checker}, {"", QString()}, {"Н. контр.", p.normController},
        {"Утв.", p.approver}};
    int row = 3;
    for (const auto &[role, name] : signatures) {
        g.cells << text(row, 0, 1, 2, QString::fromUtf8(role), kNameSize, false, false);
        g.cells << text(row, 2, 1, 2, name, kNameSize, false, false);
        g.cells << text(row, 4, 1, 1, QString(), kNameSize);
        g.cells << text(row, 5, 1, 1, name.isEmpty() ? QString() : p.date, kCaptionSize);
        ++row;
    }
    const QString name = p.object.isEmpty() ? documentTitle : p.object + QLatin1Char('\n') + documentTitle;
    g.cells << text(3, 6, 5, 1, name, kTitleSize);
    g.cells << caption(3, 7, QStringLiteral("Стадия")) << caption(3, 8, QStringLiteral("Лист"))
            << caption(3, 9, QStringLiteral("Листов"));
    g.cells << text(4, 7, 1, 1, p.stage, kNameSize);
    g.cells << Cell{4, 8, 1, 1, Content::SheetNumber, QString(), kNameSize, false, true};
    g.cells << Cell{4, 9, 1, 1, Content::SheetCount, QString(), kNameSize, false, true};
    g.cells << text(5, 7, 3, 3, p.organization, kTitleSize);
    return g;
}

QString cellText(const Cell &cell, int sheet, int sheets)
{
    switch (cell.content) {
    case Content::SheetNumber:
        return QString::number(sheet);
    case Content::SheetCount:
        return QString::number(sheets);
    case Content::Caption:
    case Content::Text:
        break;
    }
    return cell.text;
}

void draw(QPainter &painter, const Grid &grid, const QRectF &rect, int sheet, int sheets)
{
    const double unit = rect.width() / grid.width(); // painter units per mm
    painter.save();
    painter.setBrush(Qt::NoBrush);
    for (const Cell &cell : grid.cells) {
        const QRectF box(rect.left() + grid.left(cell) * unit, rect.top() + grid.top(cell) * unit,
                         grid.cellWidth(cell) * unit, grid.cellHeight(cell) * unit);
        painter.setPen(QPen(Qt::black, 0.25 * unit));
        painter.drawRect(box);
        const QString value = cellText(cell, sheet, sheets);
        if (value.isEmpty())
            continue;
        // The largest size up to the cell's own at which the text fits;
        // what fits at no size is cut at the cell's edges.
        const QRectF inner = box.adjusted(kPadMm * unit, 0.2 * unit, -kPadMm * unit, -0.2 * unit);
        QString shown = value;
        shown.replace(QLatin1Char('\n'), QChar::LineSeparator);
        for (double size = cell.pointSize;; size -= 0.5) {
            QTextLayout layout(shown, cellFont(size, cell.bold), painter.device());
            const double height = layOut(layout, inner.width(), cell.centred);
            if (height > inner.height() && size - 0.5 >= kSmallestSize)
                continue;
            painter.setPen(Qt::black);
            painter.setClipRect(box);
            layout.draw(&painter, QPointF(inner.left(), inner.top() + std::max(0.0, (inner.height() - height) / 2)));
            painter.setClipping(false);
            break;
        }
    }
    painter.setPen(QPen(Qt::black, 0.5 * unit));
    painter.drawRect(QRectF(rect.topLeft(), QSizeF(grid.width() * unit, grid.height() * unit)));
    painter.restore();
}

} // namespace TitleBlock
