#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>
#include <QVector>

// A cell that stands out: one that failed a check is white on red, the
// reason in its tool tip; a warning is in red letters; a note only tells.
struct ResultMark {
    enum class Look { Failed, Note, Warning };
    int column = 0;
    QString reason;
    Look look = Look::Failed;
};

// One row of results as the window shows it.
struct ResultRow {
    QStringList texts;
    int level = 0; // indentation of the first column (a line's depth in the network)
    QVector<ResultMark> marks;
};

// The rows of a result table, handed over whole: a window refills its table
// in one reset, so the view lays itself out once, whatever the number of rows.
class ResultTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit ResultTableModel(const QStringList &headings, QObject *parent = nullptr);

    // The alignment of each column's texts; columns without one are on the left.
    void setColumnAlignments(const QVector<Qt::Alignment> &alignments);
    void setRows(QVector<ResultRow> rows);
    const ResultRow &resultRow(int row) const { return m_rows.at(row); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const ResultMark *markAt(int row, int column) const;

    QStringList m_headings;
    QVector<Qt::Alignment> m_alignments;
    QVector<ResultRow> m_rows;
};

// A read-only table of results: whole rows selected, no row numbers, long
// headings in two lines, each column as wide as its widest text once the
// rows are in, a row's level shown as four blanks a level before its first
// text.
class ResultTable : public QTableView
{
    Q_OBJECT
public:
    ResultTable(const QStringList &headings, const QString &name, QWidget *parent = nullptr);

    void setColumnAlignments(const QVector<Qt::Alignment> &alignments);
    // Replaces every row, then fits the columns.
    void setRows(QVector<ResultRow> rows);

    ResultTableModel *resultModel() const { return m_model; }
    int rowCount() const { return m_model->rowCount(); }
    QString text(int row, int column) const { return m_model->resultRow(row).texts.value(column); }

private:
    void fitColumns();

    ResultTableModel *m_model = nullptr;
};
