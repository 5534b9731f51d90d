#include "ui/lines/LineListModel.h"

#include "ui/widgets/RecordedEdit.h"
#include "ui/widgets/WidgetHelpers.h"

#include <QColor>

#include <QFont>

#include <algorithm>
#include <memory>

namespace {

const QString kTrue = QStringLiteral("True");
const QString kFalse = QStringLiteral("False");

qsizetype textBytes(const QString &text)
{
    // The string itself, and its characters with their header when it has any.
    return qsizetype(sizeof(QString)) + (text.isEmpty() ? 0 : 16 + 2 * text.capacity());
}

} // namespace

qsizetype LineChanges::lineBytes(const CableLine &line)
{
    qsizetype bytes = sizeof(CableLine) + textBytes(line.name);
    for (const QString &cell : line.cells)
        bytes += textBytes(cell);
    return bytes + (line.inputs ? qsizetype(sizeof(LineInputs)) : 0);
}

void LineChanges::put(CableLine &line, int field, const QString &text)
{
    if (field == Name)
        line.name = text;
    else if (field == Checked)
        line.checked = text == kTrue;
    else if (field < line.cells.size())
        line.cells[field] = text;
}

void LineChanges::addText(int row, int field, const QString &before, const QString &after)
{
    m_texts.append(Text{row, field});
    m_before.append(before);
    m_after.append(after);
    m_bytes += qsizetype(sizeof(Text)) + textBytes(before) + textBytes(after);
}

void LineChanges::add(int row, const CableLine &before, const CableLine &after)
{
    if (before == after)
        return;
    ++m_rowCount;
    m_firstRow = m_firstRow < 0 ? row : std::min(m_firstRow, row);
    m_lastRow = std::max(m_lastRow, row);
    // The fields tell the change only when, put into the line, they make it
    // whole; otherwise (a line of another number of cells) both lines are kept.
    CableLine made = before;
    const qsizetype texts = m_texts.size();
    const qsizetype inputs = m_inputs.size();
    const qsizetype bytes = m_bytes;
    if (before.cells.size() == after.cells.size()) {
        if (before.name != after.name)
            addText(row, Name, before.name, after.name);
        if (before.checked != after.checked)
            addText(row, Checked, before.checked ? kTrue : kFalse, after.checked ? kTrue : kFalse);
        for (int k = 0; k < before.cells.size(); ++k)
            if (before.cells.at(k) != after.cells.at(k))
                addText(row, k, before.cells.at(k), after.cells.at(k));
        for (qsizetype i = texts; i < m_texts.size(); ++i)
            put(made, m_texts.at(i).field, m_after.at(i));
        if (before.inputs != after.inputs) {
            m_inputs.append(Inputs{row, before.inputs, after.inputs});
            m_bytes += qsizetype(sizeof(Inputs));
            made.inputs = after.inputs;
        }
    }
    if (made == after)
        return;
    // Back to what the fields had added: the whole lines tell it instead.
    m_texts.resize(texts);
    m_before.resize(texts);
    m_after.resize(texts);
    m_inputs.erase(m_inputs.begin() + inputs, m_inputs.end());
    m_whole.append(Whole{row, before, after});
    m_bytes = bytes + lineBytes(before) + lineBytes(after);
}

bool LineChanges::apply(QVector<CableLine> &lines, bool after) const
{
    if (m_rowCount == 0 || m_lastRow >= lines.size())
        return false;
    const QStringList &texts = after ? m_after : m_before;
    for (qsizetype i = 0; i < m_texts.size(); ++i)
        put(lines[m_texts.at(i).row], m_texts.at(i).field, texts.at(i));
    for (const Inputs &in : m_inputs)
        lines[in.row].inputs = after ? in.after : in.before;
    for (const Whole &w : m_whole)
        lines[w.row] = after ? w.after : w.before;
    return true;
}

void LineChanges::squeeze()
{
    m_texts.squeeze();
    m_before.squeeze();
    m_after.squeeze();
    m_inputs.squeeze();
    m_whole.squeeze();
}

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
    case Qt::BackgroundRole:
    case Qt::ForegroundRole:
    case Qt::ToolTipRole:
        if (index.column() != CableLine::LoadCurrent + 1 || index.row() >= m_networkOverloads.size()
            || !m_networkOverloads.at(index.row()))
            return {};
        if (role == Qt::ToolTipRole)
            return QStringLiteral("Ток нагрузки по сети ") + line.cell(CableLine::LoadCurrent)
                   + QStringLiteral(" А больше длительно допустимого тока ") + line.cell(CableLine::PermissibleCurrent)
                   + QStringLiteral(" А.");
        return role == Qt::BackgroundRole ? QVariant(warningColour()) : QVariant(QColor(Qt::white));
    default:
        return {};
    }
}

void LineListModel::setNetworkOverloads(const QVector<bool> &rows)
{
    if (rows == m_networkOverloads)
        return;
    // Only the rows whose highlight changes are told.
    const int column = CableLine::LoadCurrent + 1;
    const qsizetype count = qMax(rows.size(), m_networkOverloads.size());
    const QVector<bool> before = std::exchange(m_networkOverloads, rows);
    for (qsizetype r = 0; r < count && r < m_lines.size(); ++r) {
        const bool was = r < before.size() && before.at(r);
        const bool is = r < rows.size() && rows.at(r);
        if (was != is)
            emit dataChanged(index(int(r), column), index(int(r), column),
                             {Qt::BackgroundRole, Qt::ForegroundRole, Qt::ToolTipRole});
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

void LineListModel::applyChanges(const LineChanges &changes, bool after)
{
    // One notice for all the rows: the view repaints once, and the summary
    // follows the history's step, not each row.
    if (changes.apply(m_lines, after))
        emit dataChanged(index(changes.firstRow(), 0), index(changes.lastRow(), columnCount() - 1));
}

void LineListModel::recordChanges(const QString &text, LineChanges changes)
{
    if (changes.isEmpty())
        return;
    changes.squeeze();
    const qsizetype bytes = changes.bytes();
    const auto kept = std::make_shared<const LineChanges>(std::move(changes));
    RecordedEdit::record(
        m_history, text, [this, kept] { applyChanges(*kept, false); }, [this, kept] { applyChanges(*kept, true); },
        bytes);
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
        [this, row, line] { insertAt(row, line); }, LineChanges::lineBytes(line));
}

void LineListModel::replaceLine(int row, const CableLine &line)
{
    if (row < 0 || row >= m_lines.size())
        return;
    LineChanges changes;
    changes.add(row, m_lines.at(row), line);
    m_lines[row] = line;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    recordChanges(QStringLiteral("изменение линии"), std::move(changes));
}

void LineListModel::removeLine(int row, const QVector<std::pair<int, CableLine>> &reattached)
{
    if (row < 0 || row >= m_lines.size())
        return;
    const CableLine before = m_lines.at(row);
    LineChanges moved;
    for (const auto &[at, line] : reattached)
        if (at >= 0 && at < m_lines.size() && at != row)
            moved.add(at, m_lines.at(at), line);
    moved.squeeze();
    const qsizetype bytes = LineChanges::lineBytes(before) + moved.bytes();
    const auto kept = std::make_shared<const LineChanges>(std::move(moved));
    // The rows are those before the removal: they change first.
    auto redo = [this, row, kept] {
        applyChanges(*kept, true);
        removeAt(row);
    };
    auto undo = [this, row, before, kept] {
        insertAt(row, before);
        applyChanges(*kept, false);
    };
    redo();
    RecordedEdit::record(m_history, QStringLiteral("удаление линии"), undo, redo, bytes);
}

void LineListModel::setChecked(int row, bool checked)
{
    if (row < 0 || row >= m_lines.size())
        return;
    const CableLine before = m_lines.at(row);
    m_lines[row].checked = checked;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    emit checkChanged(row);
    if (before.checked != checked) {
        LineChanges changes;
        changes.add(row, before, m_lines.at(row));
        recordChanges(checked ? QStringLiteral("отметку линии") : QStringLiteral("снятие отметки линии"),
                      std::move(changes));
    }
}

bool LineListModel::checkAll()
{
    LineChanges changes;
    for (int row = 0; row < m_lines.size(); ++row) {
        CableLine &line = m_lines[row];
        if (!line.checked) {
            CableLine after = line;
            after.checked = true;
            changes.add(row, line, after);
            line.checked = true;
        }
    }
    if (!m_lines.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    const bool changed = !changes.isEmpty();
    recordChanges(QStringLiteral("выделение всех линий"), std::move(changes));
    return changed;
}

void LineListModel::replaceLines(const QVector<CableLine> &lines, const QString &text)
{
    LineChanges changes;
    const int rows = int(std::min(lines.size(), m_lines.size()));
    for (int row = 0; row < rows; ++row) {
        if (lines.at(row) == m_lines.at(row))
            continue;
        changes.add(row, m_lines.at(row), lines.at(row));
        m_lines[row] = lines.at(row);
    }
    if (!changes.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    recordChanges(text, std::move(changes));
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
