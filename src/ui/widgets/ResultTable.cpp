#include "ui/widgets/ResultTable.h"
#include "ui/widgets/WidgetHelpers.h"

#include "ui/widgets/WrappingHeader.h"

#include <QAbstractItemDelegate>
#include <QColor>
#include <QHeaderView>
#include <QStyleOptionViewItem>

#include <algorithm>

namespace {

const QString kIndent = QStringLiteral("    ");

// Each column measures this many of its longest texts.
constexpr int kMeasured = 16;

} // namespace

ResultTableModel::ResultTableModel(const QStringList &headings, QObject *parent)
    : QAbstractTableModel(parent), m_headings(headings)
{
}

void ResultTableModel::setColumnAlignments(const QVector<Qt::Alignment> &alignments)
{
    m_alignments = alignments;
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::TextAlignmentRole});
}

void ResultTableModel::setRows(QVector<ResultRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int ResultTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ResultTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_headings.size());
}

const ResultMark *ResultTableModel::markAt(int row, int column) const
{
    for (const ResultMark &mark : m_rows.at(row).marks)
        if (mark.column == column)
            return &mark;
    return nullptr;
}

QVariant ResultTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const ResultRow &row = m_rows.at(index.row());
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        if (column == 0 && row.level > 0)
            return kIndent.repeated(row.level) + row.texts.value(0);
        return row.texts.value(column);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(m_alignments.value(column, Qt::AlignLeft) | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        if (const ResultMark *mark = markAt(index.row(), column)) {
            if (mark->look == ResultMark::Look::Failed)
                return QColor(Qt::white);
            if (mark->look == ResultMark::Look::Warning)
                return QColor(Qt::red);
        }
        return {};
    case Qt::BackgroundRole:
        if (const ResultMark *mark = markAt(index.row(), column); mark && mark->look == ResultMark::Look::Failed)
            return warningColour();
        return {};
    case Qt::ToolTipRole:
        if (const ResultMark *mark = markAt(index.row(), column); mark && !mark->reason.isEmpty())
            return mark->reason;
        return {};
    default:
        return {};
    }
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_headings.size())
        return m_headings.at(section);
    return {};
}

ResultTable::ResultTable(const QStringList &headings, const QString &name, QWidget *parent)
    : QTableView(parent), m_model(new ResultTableModel(headings, this))
{
    setObjectName(name);
    // Long headings in two lines: a column is as wide as the longer one.
    setHorizontalHeader(new WrappingHeader(this));
    setModel(m_model);
    verticalHeader()->hide();
    // Rows of one height: nothing is measured row by row.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setWordWrap(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    fitColumns();
}

void ResultTable::setColumnAlignments(const QVector<Qt::Alignment> &alignments)
{
    m_model->setColumnAlignments(alignments);
}

void ResultTable::setRows(QVector<ResultRow> rows)
{
    m_model->setRows(std::move(rows));
    fitColumns();
}

// A column as wide as its heading and its widest text. Texts of equal length
// differ little in width: only the longest of each column are measured, so
// that a table of any length is laid out in one pass over its texts.
void ResultTable::fitColumns()
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int rows = m_model->rowCount();
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const auto length = [&](int r) {
            const ResultRow &row = m_model->resultRow(r);
            return row.texts.value(c).size() + (c == 0 ? row.level * kIndent.size() : 0);
        };
        qsizetype longest = 0;
        for (int r = 0; r < rows; ++r)
            longest = std::max(longest, length(r));
        int width = horizontalHeader()->sectionSizeHint(c);
        int measured = 0;
        // The longest first, then those one character shorter.
        for (qsizetype wanted = longest; wanted >= std::max<qsizetype>(0, longest - 1); --wanted) {
            for (int r = 0; r < rows && measured < kMeasured; ++r) {
                if (length(r) != wanted)
                    continue;
                const QModelIndex index = m_model->index(r, c);
                width = std::max(width, itemDelegateForIndex(index)->sizeHint(option, index).width());
                ++measured;
            }
        }
        // The grid line takes a pixel of the column, as the view's own fitting counts it.
        setColumnWidth(c, width + (showGrid() ? 1 : 0));
    }
}
