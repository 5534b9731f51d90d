#pragma once

#include "base/Load.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>

#include <functional>

// The loads list of one shield: ten columns, each row in the colour and with
// the icon of its phase. The loads live in the project's shields; the model
// finds its shield by position, so the shield list may grow or shrink.
class LoadListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    LoadListModel(QVector<Shield> &shields, int shieldIndex, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    int shieldIndex() const { return m_shield; }
    // The shield moved (an earlier one was deleted).
    void setShieldIndex(int index);

    // The shield's loads; empty when the shield no longer exists.
    const QVector<Load> &loads() const;
    Load load(int row) const;

    // Told of every change made through the model, after it: what it was
    // (for the history), which shield, and the shield as it was before.
    using EditRecorder = std::function<void(const QString &text, int shieldIndex, const Shield &before)>;
    void setEditRecorder(const EditRecorder &recorder) { m_recordEdit = recorder; }

    void appendLoad(const Load &load);
    // Replaces a row in place (a load of a room stays linked to it); false
    // when there is no such row.
    bool replaceLoad(int row, const Load &load);
    bool removeLoad(int row);
    // Orders the rows by the text of a column (compared as text, not as numbers).
    void sortByColumn(int column, Qt::SortOrder order);
    // The loads were changed behind the model's back: show them afresh when the count differs.
    void sync();
    // The loads were replaced behind the model's back: show them all afresh.
    void reload();

private:
    QVector<Load> *shieldLoads();
    void recordEdit(const QString &text, const Shield &before);

    QVector<Shield> &m_shields;
    int m_shield;
    int m_rows = 0; // the row count the views were last told about
    QStringList m_headers;
    EditRecorder m_recordEdit;
};
