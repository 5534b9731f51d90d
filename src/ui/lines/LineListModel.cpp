#include "ui/lines/LineListModel.h"

#include "ui/widgets/RecordedEdit.h"

#include <QFont>

#include <algorithm>

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

void LineListModel::insertAt(int row, const CableLine &line)
{
    if (row < 0 || row > m_lines.size())
        return;
    beginInsertRows(QModelIndex(), row, row);
    m_lines.insert(row, line);
    endInsertRows();
}

void LineListModel::removeAt(int row)
{
    if (row < 0 || row >= m_lines.size())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_lines.removeAt(row);
    endRemoveRows();
}

void LineListModel::setAt(int row, const CableLine &line)
{
    if (row < 0 || row >= m_lines.size())
        return;
    const bool checkChanges = m_lines.at(row).checked != line.checked;
    m_lines[row] = line;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    if (checkChanges)
        emit checkChanged(row);
}

void LineListModel::recordChanges(const QString &text, const QVector<RowChange> &changes)
{
    if (changes.isEmpty())
        return;
    RecordedEdit::record(
        m_history, text,
        [this, changes] {
            for (auto it = changes.crbegin(); it != changes.crend(); ++it)
                setAt(it->row, it->before);
        },
        [this, changes] {
            for (const RowChange &c : changes)
                setAt(c.row, c.after);
        });
}

void LineListModel::appendLine(const CableLine &given)
{
    CableLine line = given;
    if (line.place.id <= 0 && m_nextId)
        line.place.id = m_nextId();
    const int row = int(m_lines.size());
    insertAt(row, line);
    RecordedEdit::record(
        m_history, QStringLiteral("добавление линии"), [this, row] { removeAt(row); },
        [this, row, line] { insertAt(row, line); });
}

void LineListModel::replaceLine(int row, const CableLine &line)
{
    if (row < 0 || row >= m_lines.size())
        return;
    const CableLine before = m_lines.at(row);
    m_lines[row] = line;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    recordChanges(QStringLiteral("изменение линии"), {RowChange{row, before, line}});
}

void LineListModel::removeLine(int row, const QVector<std::pair<int, CableLine>> &reattached)
{
    if (row < 0 || row >= m_lines.size())
        return;
    const CableLine before = m_lines.at(row);
    QVector<RowChange> moved;
    for (const auto &[at, line] : reattached)
        if (at >= 0 && at < m_lines.size() && at != row)
            moved << RowChange{at, m_lines.at(at), line};
    // The rows are those before the removal: they change first.
    auto redo = [this, row, moved] {
        for (const RowChange &c : moved)
            setAt(c.row, c.after);
        removeAt(row);
    };
    auto undo = [this, row, before, moved] {
        insertAt(row, before);
        for (auto it = moved.crbegin(); it != moved.crend(); ++it)
            setAt(it->row, it->before);
    };
    redo();
    RecordedEdit::record(m_history, QStringLiteral("удаление линии"), undo, redo);
}

void LineListModel::setChecked(int row, bool checked)
{
    if (row < 0 || row >= m_lines.size())
        return;
    const CableLine before = m_lines.at(row);
    m_lines[row].checked = checked;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    emit checkChanged(row);
    if (before.checked != checked)
        recordChanges(checked ? QStringLiteral("отметку линии") : QStringLiteral("снятие отметки линии"),
                      {RowChange{row, before, m_lines.at(row)}});
}

bool LineListModel::checkAll()
{
    QVector<RowChange> changes;
    for (int row = 0; row < m_lines.size(); ++row) {
        CableLine &line = m_lines[row];
        if (!line.checked) {
            RowChange change{row, line, line};
            line.checked = true;
            change.after.checked = true;
            changes << change;
        }
    }
    if (!m_lines.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    recordChanges(QStringLiteral("выделение всех линий"), changes);
    return !changes.isEmpty();
}

void LineListModel::replaceLines(const QVector<CableLine> &lines, const QString &text)
{
    QVector<RowChange> changes;
    const int rows = int(std::min(lines.size(), m_lines.size()));
    for (int row = 0; row < rows; ++row) {
        if (lines.at(row) == m_lines.at(row))
            continue;
        changes << RowChange{row, m_lines.at(row), lines.at(row)};
        m_lines[row] = lines.at(row);
    }
    if (!changes.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    recordChanges(text, changes);
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
