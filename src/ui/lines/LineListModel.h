#pragma once

#include "calc/lines/LineCalc.h"

#include <QAbstractTableModel>
#include <QVector>

#include <functional>
#include <utility>

class QUndoStack;

// What an edit changed in the rows it touched, field by field: the texts that
// differ (both ways) and the inputs of the lines whose inputs differ. A
// recompute of 10 000 lines that changes two cells of each keeps those cells,
// not 10 000 lines twice over.
class LineChanges
{
public:
    // Adds what turns `before` into `after` at `row`; nothing when they are equal.
    void add(int row, const CableLine &before, const CableLine &after);
    bool isEmpty() const { return m_rowCount == 0; }
    // Puts one side into the lines; false when nothing was there to put.
    bool apply(QVector<CableLine> &lines, bool after) const;
    // The rows touched, first and last (-1 for none).
    int firstRow() const { return m_firstRow; }
    int lastRow() const { return m_lastRow; }
    // What the change keeps, about; the texts are counted whole though most
    // of them are shared with the lines.
    qsizetype bytes() const { return m_bytes; }
    // Gives back what the lists took ahead of need.
    void squeeze();

    // What a whole line keeps, about.
    static qsizetype lineBytes(const CableLine &line);

private:
    enum Field : qint32 { Name = -2, Checked = -1 }; // then the cells by index
    struct Text {
        qint32 row;
        qint32 field;
    };
    struct Inputs {
        qint32 row;
        std::optional<LineInputs> before;
        std::optional<LineInputs> after;
    };
    struct Whole {
        qint32 row;
        CableLine before;
        CableLine after;
    };
    void addText(int row, int field, const QString &before, const QString &after);
    static void put(CableLine &line, int field, const QString &text);

    QVector<Text> m_texts;
    QStringList m_before;
    QStringList m_after;
    QVector<Inputs> m_inputs;
    QVector<Whole> m_whole; // rows whose change the fields do not tell (another number of cells)
    int m_rowCount = 0;
    int m_firstRow = -1;
    int m_lastRow = -1;
    qsizetype m_bytes = 0;
};

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

    // The rows whose current comes from the network and is over their
    // permissible current: their load current is highlighted, as the network
    // window shows it. Set by the window after every change of the project.
    void setNetworkOverloads(const QVector<bool> &rows);

signals:
    // A check mark was set or cleared by the user or by setChecked().
    void checkChanged(int row);

private:
    // The changes themselves, as undo and redo make them again.
    void insertAt(int row, const CableLine &line);
    void removeAt(int row);
    // One side of a recorded change put back into the rows, as one change of the model.
    void applyChanges(const LineChanges &changes, bool after);
    void recordChanges(const QString &text, LineChanges changes);

    QVector<CableLine> &m_lines;
    QStringList m_headers;
    QUndoStack *m_history = nullptr;
    std::function<int()> m_nextId;
    QVector<bool> m_networkOverloads; // by row; may be shorter than the list
};
