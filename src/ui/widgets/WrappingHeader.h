#pragma once

#include <QHeaderView>

class QAbstractScrollArea;
class QWidget;

// A horizontal header whose headings break between words into two lines
// where the column is narrower than the heading: a column sized to its
// contents needs no more than the longer line of its heading.
class WrappingHeader : public QHeaderView
{
    Q_OBJECT
public:
    explicit WrappingHeader(QWidget *parent = nullptr);

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override;
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
};

// The width a view would need to show all its columns without scrolling
// sideways, less the width it has now; 0 when it has enough.
int missingWidth(const QAbstractScrollArea &view, const QHeaderView &header);

// When the dialog first shows, it is widened by what the view lacks to show
// every column, as far as nine tenths of the screen's free area; it then
// centres itself as dialogs do.
void widenOnFirstShow(QWidget &window, QAbstractScrollArea &view, QHeaderView &header);
