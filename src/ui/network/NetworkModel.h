#pragma once

#include "calc/network/NetworkCalc.h"
#include "calc/network/NetworkTexts.h"
#include "calc/network/NetworkTree.h"

#include <QAbstractItemModel>
#include <QVector>

#include <optional>

class AppContext;
struct Project;

// The network as a tree for a view: the bus ("ТП") at the top, every line
// under the line it starts at, in the columns of the network window. The
// project is read, never changed; refresh() follows its changes.
class NetworkModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    enum Column {
        Name,
        Board,
        Cable,
        Length,
        LoadCurrent,
        PermissibleCurrent,
        LineDrop,
        DropFromBus,
        ThreePhaseMax,
        SinglePhaseMin,
        Device,
        Checks,
        InstalledPower,
        DesignPower,
        PowerFactor,
        CurrentSource,
        ColumnCount
    };
    // The line's index in the project's list; -1 for the bus.
    static constexpr int LineRole = Qt::UserRole + 1;

    NetworkModel(const Project &project, const AppContext &context, QObject *parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Computes the network again; the rows stay (and with them the view's
    // expanded nodes and selection) when the tree kept its shape.
    void refresh();

    QModelIndex busIndex() const;
    QModelIndex indexOfLine(int line, int column = 0) const;
    // -1 for the bus or an invalid index.
    int lineOf(const QModelIndex &index) const;

    const Network::Tree &tree() const { return m_tree; }
    // The id a line had when the model was last refreshed (the project may
    // have changed since).
    int idOf(int line) const { return m_ids.value(line); }
    const Network::Result &result() const { return m_result; }
    // What kept currents or checks from being had, and the places' problems.
    QStringList problems() const;

    static QStringList headings();

private:
    const Network::RowTexts &texts(int line) const;

    const Project &m_project;
    const AppContext &m_context;
    Network::Tree m_tree;
    Network::Result m_result;
    Network::RowTexts m_bus;
    QVector<int> m_ids;
    // Made when a row is first shown.
    mutable QVector<std::optional<Network::RowTexts>> m_texts;
};
