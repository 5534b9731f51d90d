#include "ui/network/NetworkModel.h"
#include "ui/widgets/WidgetHelpers.h"

#include "base/AppContext.h"
#include "base/Project.h"

#include <QColor>
#include <QFont>

namespace {

// Index ids: 0 the bus, line i is i + 1.
quintptr internalIdOf(int node)
{
    return quintptr(node + 1);
}

int nodeOf(quintptr id)
{
    return int(id) - 1;
}


} // namespace

NetworkModel::NetworkModel(const Project &project, const AppContext &context, QObject *parent)
    : QAbstractItemModel(parent), m_project(project), m_context(context)
{
    refresh();
}

QStringList NetworkModel::headings()
{
    return {QStringLiteral("Линия"),
            QStringLiteral("Щит в конце"),
            QStringLiteral("Марка, жилы и сечение"),
            QStringLiteral("Длина, м"),
            QStringLiteral("Ток нагрузки, А"),
            QStringLiteral("Ток допустимый, А"),
            QStringLiteral("ΔU линии, %"),
            QStringLiteral("ΔU от шин ТП, %"),
            QStringLiteral("Iк(3) max, кА"),
            QStringLiteral("Iк(1) min, кА"),
            QStringLiteral("Аппарат"),
            QStringLiteral("Проверки"),
            QStringLiteral("Pу, кВт"),
            QStringLiteral("Pр, кВт"),
            QStringLiteral("cos φ"),
            QStringLiteral("Ток")};
}

void NetworkModel::refresh()
{
    Network::Tree tree = Network::Tree::build(m_project.lines);
    const bool sameShape = tree.lineCount() == m_tree.lineCount() && [&] {
        for (int i = 0; i < tree.lineCount(); ++i)
            if (tree.parent(i) != m_tree.parent(i))
                return false;
        return true;
    }();
    if (!sameShape)
        beginResetModel();
    m_tree = std::move(tree);
    m_ids.resize(m_project.lines.size());
    for (int i = 0; i < m_project.lines.size(); ++i)
        m_ids[i] = m_project.lines.at(i).place.id;
    m_result = Network::compute(m_project, m_tree, m_context.calc, Network::Sources::load(m_project, m_context));
    m_bus = Network::busRow(m_result, m_context.calc.places());
    m_texts.clear();
    m_texts.resize(m_tree.lineCount());
    if (!sameShape) {
        endResetModel();
        return;
    }
    // The same rows with new values: the bus, then the lines at each node.
    emit dataChanged(busIndex(), busIndex().siblingAtColumn(ColumnCount - 1));
    auto changedBelow = [this](int node, const QModelIndex &parent) {
        if (const int rows = m_tree.childCount(node); rows > 0)
            emit dataChanged(index(0, 0, parent), index(rows - 1, ColumnCount - 1, parent));
    };
    changedBelow(Network::Bus, busIndex());
    for (const int line : m_tree.order())
        changedBelow(line, indexOfLine(line));
}

QStringList NetworkModel::problems() const
{
    return Network::problemTexts(m_tree, m_project.lines) + m_result.problems;
}

const Network::RowTexts &NetworkModel::texts(int line) const
{
    std::optional<Network::RowTexts> &slot = m_texts[line];
    if (!slot)
        slot = Network::lineRow(m_project, m_tree, m_result, line, m_context.calc.places(),
                                m_context.calc.maxVoltageDrop);
    return *slot;
}

QModelIndex NetworkModel::index(int row, int column, const QModelIndex &parent) const
{
    if (row < 0 || column < 0 || column >= ColumnCount)
        return {};
    if (!parent.isValid())
        return row == 0 ? createIndex(0, column, internalIdOf(Network::Bus)) : QModelIndex();
    if (parent.column() != 0)
        return {};
    const int node = nodeOf(parent.internalId());
    if (row >= m_tree.childCount(node))
        return {};
    return createIndex(row, column, internalIdOf(m_tree.child(node, row)));
}

QModelIndex NetworkModel::parent(const QModelIndex &child) const
{
    if (!child.isValid())
        return {};
    const int node = nodeOf(child.internalId());
    if (node == Network::Bus || node >= m_tree.lineCount())
        return {};
    const int up = m_tree.parent(node);
    if (up == Network::Bus)
        return busIndex();
    return createIndex(m_tree.rowAtParent(up), 0, internalIdOf(up));
}

int NetworkModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return 1;
    if (parent.column() != 0)
        return 0;
    return m_tree.childCount(nodeOf(parent.internalId()));
}

int NetworkModel::columnCount(const QModelIndex &) const
{
    return ColumnCount;
}

QModelIndex NetworkModel::busIndex() const
{
    return createIndex(0, 0, internalIdOf(Network::Bus));
}

QModelIndex NetworkModel::indexOfLine(int line, int column) const
{
    if (line < 0 || line >= m_tree.lineCount())
        return {};
    return createIndex(m_tree.rowAtParent(line), column, internalIdOf(line));
}

int NetworkModel::lineOf(const QModelIndex &index) const
{
    if (!index.isValid())
        return -1;
    const int node = nodeOf(index.internalId());
    return node >= 0 && node < m_tree.lineCount() ? node : -1;
}

Qt::ItemFlags NetworkModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

QVariant NetworkModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return headings().at(section);
    return {};
}

QVariant NetworkModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int line = lineOf(index);
    const bool bus = nodeOf(index.internalId()) == Network::Bus;
    if (!bus && line < 0)
        return {};
    const Network::RowTexts &row = bus ? m_bus : texts(line);
    const int column = index.column();
    switch (role) {
    case LineRole:
        return line;
    case Qt::DisplayRole: {
        const QString *cells[ColumnCount] = {&row.name,
                                             &row.board,
                                             &row.cable,
                                             &row.length,
                                             &row.loadCurrent,
                                             &row.permissibleCurrent,
                                             &row.lineDrop,
                                             &row.dropFromBus,
                                             &row.threePhaseMax,
                                             &row.singlePhaseMin,
                                             &row.device,
                                             &row.checks,
                                             &row.installedPower,
                                             &row.designPower,
                                             &row.powerFactor,
                                             &row.currentSource};
        if (bus && column != Name && column != ThreePhaseMax && column != SinglePhaseMin && column != Board
            && column != LoadCurrent && column != InstalledPower && column != DesignPower && column != PowerFactor)
            return QString();
        return *cells[column];
    }
    case Qt::TextAlignmentRole:
        if ((column >= Length && column <= SinglePhaseMin) || (column >= InstalledPower && column <= PowerFactor))
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::FontRole:
        if (row.withoutStart) {
            QFont f;
            f.setItalic(true);
            return f;
        }
        return {};
    case Qt::ToolTipRole:
        if (column == DropFromBus && !row.dropWarning.isEmpty())
            return row.dropWarning;
        if (column == LoadCurrent && !row.loadWarning.isEmpty())
            return row.loadWarning;
        if (column == Checks && !row.checksReason.isEmpty())
            return row.checksReason;
        if (column == Name && row.withoutStart)
            return Network::noStartText() + QStringLiteral(": линия считается от шин ТП.");
        return {};
    case Qt::BackgroundRole:
    case Qt::ForegroundRole: {
        const bool warned = (column == DropFromBus && !row.dropWarning.isEmpty())
                            || (column == LoadCurrent && !row.loadWarning.isEmpty())
                            || (column == Checks && row.checks.startsWith(QStringLiteral("нет")));
        if (!warned)
            return {};
        return role == Qt::BackgroundRole ? QVariant(warningColour()) : QVariant(QColor(Qt::white));
    }
    default:
        return {};
    }
}
