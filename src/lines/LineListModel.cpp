#include "lines/LineListModel.h"

#include <QFont>

LineListModel::LineListModel(QVector<CableLine> &lines, QObject *parent)
    : QAbstractTableModel(parent), m_lines(lines), m_headers(LineCalc::columnHeaders())
{
}

int LineListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_lines.size());
}

int LineListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_headers.size());
}

QVariant LineListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_lines.size())
        return {};
    const CableLine &line = m_lines.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return line.column(index.column());
    case Qt::CheckStateRole:
        if (index.column() == 0)
            return line.checked ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::FontRole:
        if (line.checked) {
            QFont f;
            f.setBold(true);
            return f;
        }
        return {};
    default:
        return {};
    }
}

bool LineListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0)
        return false;
    setChecked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags LineListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant LineListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_headers.size())
        return m_headers.at(section);
    return {};
}

void LineListModel::appendLine(const CableLine &line)
{
    const int row = int(m_lines.size());
    beginInsertRows(QModelIndex(), row, row);
    m_lines.append(line);
    endInsertRows();
}

void LineListModel::replaceLine(int row, const CableLine &line)
{
    if (row < 0 || row >= m_lines.size())
        return;
    m_lines[row] = line;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void LineListModel::removeLine(int row)
{
    if (row < 0 || row >= m_lines.size())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_lines.removeAt(row);
    endRemoveRows();
}

void LineListModel::setChecked(int row, bool checked)
{
    if (row < 0 || row >= m_lines.size())
        return;
    m_lines[row].checked = checked;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    emit checkChanged(row);
}

bool LineListModel::checkAll()
{
    bool changed = false;
    for (CableLine &line : m_lines) {
        if (!line.checked) {
            line.checked = true;
            changed = true;
        }
    }
    if (!m_lines.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    return changed;
}

void LineListModel::reload()
{
    beginResetModel();
    endResetModel();
}

void LineListModel::refresh()
{
    if (!m_lines.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}
