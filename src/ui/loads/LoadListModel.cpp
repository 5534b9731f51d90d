#include "ui/loads/LoadListModel.h"

#include "calc/loads/LoadCalc.h"
#include "ui/widgets/Icons.h"

#include <algorithm>

LoadListModel::LoadListModel(QVector<Shield> &shields, int shieldIndex, QObject *parent)
    : QAbstractTableModel(parent), m_shields(shields), m_shield(shieldIndex), m_headers(LoadCalc::columnHeaders())
{
    m_rows = int(loads().size());
}

QVector<Load> *LoadListModel::shieldLoads()
{
    if (m_shield < 0 || m_shield >= m_shields.size())
        return nullptr;
    return &m_shields[m_shield].loads;
}

const QVector<Load> &LoadListModel::loads() const
{
    static const QVector<Load> none;
    if (m_shield < 0 || m_shield >= m_shields.size())
        return none;
    return m_shields.at(m_shield).loads;
}

Load LoadListModel::load(int row) const
{
    const QVector<Load> &l = loads();
    return row >= 0 && row < l.size() ? l.at(row) : Load();
}

int LoadListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int LoadListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_headers.size());
}

QVariant LoadListModel::data(const QModelIndex &index, int role) const
{
    // Bounds are checked against the store itself: a view may ask before sync().
    const QVector<Load> &l = loads();
    if (!index.isValid() || index.row() >= l.size())
        return {};
    const Load &load = l.at(index.row());
    const LoadCalc::PhaseMark mark = LoadCalc::phaseMark(load.cell(Load::Phase));
    static const QChar letters[] = {QChar(), QLatin1Char('A'), QLatin1Char('B'), QLatin1Char('C'), QChar()};
    switch (role) {
    case Qt::DisplayRole:
        return load.column(index.column());
    case Qt::ForegroundRole:
        if (mark == LoadCalc::PhaseMark::None)
            return {};
        return Icons::phaseColor(letters[int(mark)]);
    case Qt::DecorationRole:
        if (index.column() != 0 || mark == LoadCalc::PhaseMark::None)
            return {};
        return Icons::phase(letters[int(mark)]);
    default:
        return {};
    }
}

QVariant LoadListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_headers.size())
        return m_headers.at(section);
    return {};
}

void LoadListModel::setShieldIndex(int index)
{
    beginResetModel();
    m_shield = index;
    m_rows = int(loads().size());
    endResetModel();
}

void LoadListModel::recordEdit(const QString &text, const Shield &before)
{
    if (m_recordEdit)
        m_recordEdit(text, m_shield, before);
}

void LoadListModel::appendLoad(const Load &load)
{
    QVector<Load> *l = shieldLoads();
    if (!l)
        return;
    const Shield before = m_shields.at(m_shield);
    sync();
    const int row = int(l->size());
    beginInsertRows(QModelIndex(), row, row);
    l->append(load);
    m_rows = row + 1;
    endInsertRows();
    recordEdit(QStringLiteral("добавление нагрузки"), before);
}

bool LoadListModel::replaceLoad(int row, const Load &load)
{
    QVector<Load> *l = shieldLoads();
    if (!l || row < 0 || row >= l->size())
        return false;
    const Shield before = m_shields.at(m_shield);
    sync();
    // A load changed by hand stays the load of its room.
    const int room = load.room > 0 ? load.room : l->at(row).room;
    (*l)[row] = load;
    (*l)[row].room = room;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    recordEdit(QStringLiteral("изменение нагрузки"), before);
    return true;
}

bool LoadListModel::removeLoad(int row)
{
    QVector<Load> *l = shieldLoads();
    if (!l || row < 0 || row >= l->size())
        return false;
    const Shield before = m_shields.at(m_shield);
    sync();
    beginRemoveRows(QModelIndex(), row, row);
    l->removeAt(row);
    m_rows = int(l->size());
    endRemoveRows();
    recordEdit(QStringLiteral("удаление нагрузки"), before);
    return true;
}

void LoadListModel::sortByColumn(int column, Qt::SortOrder order)
{
    QVector<Load> *l = shieldLoads();
    if (!l || column < 0 || column >= columnCount())
        return;
    const Shield shieldBefore = m_shields.at(m_shield);
    sync();
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QVector<int> permutation(l->size());
    for (int i = 0; i < permutation.size(); ++i)
        permutation[i] = i;
    const QVector<Load> old = *l;
    std::stable_sort(permutation.begin(), permutation.end(), [&](int a, int b) {
        const int c = QString::compare(old.at(a).column(column), old.at(b).column(column), Qt::CaseInsensitive);
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    QVector<int> newRowOf(permutation.size());
    for (int i = 0; i < permutation.size(); ++i) {
        (*l)[i] = old.at(permutation.at(i));
        newRowOf[permutation.at(i)] = i;
    }
    QModelIndexList after;
    for (const QModelIndex &idx : before)
        after << index(newRowOf.value(idx.row(), idx.row()), idx.column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    if (*l != shieldBefore.loads)
        recordEdit(QStringLiteral("сортировку нагрузок"), shieldBefore);
}

void LoadListModel::sync()
{
    const int actual = int(loads().size());
    if (actual == m_rows)
        return;
    beginResetModel();
    m_rows = actual;
    endResetModel();
}

void LoadListModel::reload()
{
    beginResetModel();
    m_rows = int(loads().size());
    endResetModel();
}
