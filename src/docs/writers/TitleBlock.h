#pragma once

#include "base/Project.h"

#include <QString>
#include <QVector>

class QPainter;
class QRectF;

// The title block (основная надпись) of a text document sheet: the first
// sheet's form, 185 × 40 mm, and the following sheets' form, 185 × 15 mm,
// with the grid of their columns and rows in millimetres. Every writer that
// draws pages (the PDF and printed pages, the Word document's footers) takes
// the same cells from here.
namespace TitleBlock {

enum class Form { FirstSheet, FollowingSheet };

// What a cell shows: a fixed caption ("Разраб.", "Лист"), a property of the
// project, or the number of the sheet or of all sheets, which only the page
// writer knows.
enum class Content { Caption, Text, SheetNumber, SheetCount };

struct Cell {
    int row = 0;
    int column = 0;
    int rowSpan = 1;
    int columnSpan = 1;
    Content content = Content::Text;
    QString text; // captions and properties; empty for the sheet numbers
    double pointSize = 8; // the largest size; a long text is set smaller to fit
    bool bold = false;
    bool centred = true; // else at the left
};

struct Grid {
    QVector<double> columns; // widths, mm
    QVector<double> rows; // heights, mm
    QVector<Cell> cells; // every place of the grid belongs to exactly one cell
    double width() const;
    double height() const;
    // Where a cell stands from the block's top left corner, mm.
    double left(const Cell &cell) const;
    double top(const Cell &cell) const;
    double cellWidth(const Cell &cell) const;
    double cellHeight(const Cell &cell) const;
};

constexpr double kWidth = 185;
constexpr double kFirstSheetHeight = 40;
constexpr double kFollowingSheetHeight = 15;

// The cells of `form` filled from the project's properties and the
// document's title (the name of the document beside the signatures).
Grid grid(Form form, const ProjectProperties &properties, const QString &documentTitle);

// The text of a cell on sheet `sheet` of `sheets`.
QString cellText(const Cell &cell, int sheet, int sheets);

// Draws the block into `rect`, the block's size in the painter's units: the
// grid in thin lines inside a thick outline, each text at the largest size
// up to its own that fits its cell.
void draw(QPainter &painter, const Grid &grid, const QRectF &rect, int sheet, int sheets);

} // namespace TitleBlock
