#pragma once

#include "calc/lines/LineCalc.h"

#include <QAbstractTableModel>
#include <QVector>

#include <functional>
#include <utility>

class QUndoStack;

// The cable line list as the main window shows it: ten columns, a check box
// on the name, checked rows in bold. The lines themselves live in the project.
// With a history, every change made through the model can be undone.
class LineListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit LineListModel(QVector<CableLine> &lines, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const CableLine &line(int row) const { return m_lines.at(row); }
    void setHistory(QUndoStack *history) { m_history = history; }
    // Where an added line without an id gets one.
    void setIdSource(std::function<int()> nextId) { m_nextId = std::move(nextId); }

    void appendLine(const CableLine &line);
    void replaceLine(int row, const CableLine &line);
    // Removes a row; the lines that started at its end start elsewhere
    // (`reattached`: row and line, by the rows before the removal), in the
    // same change.
    void removeLine(int row, const QVector<std::pair<int, CableLine>> &reattached = {});
    void setChecked(int row, bool checked);
    // Checks every row; true when any row changed.
    bool checkAll();
    // The lines as `lines` has them (as many as there are), as one change
    // named `text`; the history keeps only the rows that differ.
    void replaceLines(const QVector<CableLine> &lines, const QString &text);
    // The project's lines were replaced as a whole.
    void reload();
    // The lines' texts changed in place (same rows).
    void refresh();

signals:
    // A check mark was set or cleared by the user or by setChecked().
    void checkChanged(int row);

private:
    // The changes themselves, as undo and redo make them again.
    void insertAt(int row, const CableLine &line);
    void removeAt(int row);
    void setAt(int row, const CableLine &line);
    struct RowChange {
        int row;
        CableLine before;
        CableLine after;
    };
    void recordChanges(const QString &text, const QVector<RowChange> &changes);

    QVector<CableLine> &m_lines;
    QStringList m_headers;
    QUndoStack *m_history = nullptr;
    std::function<int()> m_nextId;
};
