#pragma once

#include "lines/LineCalc.h"

#include <QAbstractTableModel>
#include <QVector>

// The cable line list as the main window shows it: ten columns, a check box
// on the name, checked rows in bold. The lines themselves live in the project.
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
    void appendLine(const CableLine &line);
    void replaceLine(int row, const CableLine &line);
    void removeLine(int row);
    void setChecked(int row, bool checked);
    // Checks every row; true when any row changed.
    bool checkAll();
    // The project's lines were replaced as a whole.
    void reload();
    // The lines' texts changed in place (same rows).
    void refresh();

signals:
    // A check mark was set or cleared by the user or by setChecked().
    void checkChanged(int row);

private:
    QVector<CableLine> &m_lines;
    QStringList m_headers;
};
