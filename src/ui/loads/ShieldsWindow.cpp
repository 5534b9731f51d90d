#include "ui/loads/ShieldsWindow.h"

#include "base/AppContext.h"
#include "base/IniStore.h"
#include "base/NumberText.h"
#include "base/Project.h"
#include "base/Prompter.h"
#include "calc/loads/LoadCalc.h"
#include "ui/loads/LoadDialog.h"
#include "ui/loads/LoadListModel.h"
#include "ui/loads/ShieldTotalsPanel.h"
#include "docs/schedules/LoadReport.h"
#include "ui/widgets/Icons.h"
#include "ui/widgets/RecordedEdit.h"
#include "ui/widgets/ReportPreview.h"
#include "ui/widgets/WidgetHelpers.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolBar>
#include <QTreeView>
#include <QUndoStack>
#include <QVBoxLayout>

namespace {

const QString kSection = QStringLiteral("LoadWindow");
constexpr int kDefaultWidths[10] = {1950, 1000, 500, 500, 1000, 1000, 800, 700, 700, 700}; // twips
constexpr int kMinWidthTwips = 12500;
constexpr int kMinHeightTwips = 6000;

} // namespace

ShieldsWindow::ShieldsWindow(AppContext &context, Prompter &prompter, Project &project, QWidget *parent)
    : QDialog(parent), m_context(context), m_prompter(prompter), m_project(project)
{
    setObjectName(QStringLiteral("ShieldsWindow"));
    setWindowTitle(QStringLiteral("Расчет нагрузок"));
    setSizeGripEnabled(true);
    if (m_project.shields.isEmpty())
        m_project.shields = Project::initialShields(); // a project always has a shield
    buildControls();

    const QVector<int> widths = storedColumnWidths();
    for (int k = 0; k < m_project.shields.size(); ++k) {
        const ShieldList list = makeList(k, widths);
        m_lists.append(list);
        m_stack->addWidget(list.view);
        shieldTabs->addTab(Icons::shield(), m_project.shields.at(k).name);
    }
    currentShieldIndex = qBound(0, m_project.currentShield, int(m_project.shields.size()) - 1);
    selectTab(currentShieldIndex);
    updateDeleteShieldEnabled();

    setMinimumSize(twipsToPixelsX(kMinWidthTwips, this), twipsToPixelsY(kMinHeightTwips, this));
    resize(minimumSize());
    showCurrentShield();
}

void ShieldsWindow::buildControls()
{
    toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("toolBar"));
    toolBar->setIconSize(QSize(20, 20));
    const struct {
        const char *key;
        const char *tip;
        const char *icon;
        QAction **target;
    } tools[] = {{"Add", "Добавить", "AddLine", &toolAddLoad},
                 {"Edit", "Изменить", "ChangeLine", &toolChangeLoad},
                 {"Remove", "Удалить", "DelLine", &toolRemoveLoad}};
    for (const auto &t : tools) {
        const QString key = QString::fromLatin1(t.key);
        QAction *a = toolBar->addAction(Icons::command(QString::fromLatin1(t.icon)), QString::fromUtf8(t.tip));
        a->setObjectName(QStringLiteral("tb") + key);
        a->setToolTip(QString::fromUtf8(t.tip));
        a->setData(key);
        connect(a, &QAction::triggered, this, [this, key] { runToolbarKey(key); });
        *t.target = a;
    }
    toolBar->addSeparator();
    toolSaveReport = toolBar->addAction(Icons::command(QStringLiteral("ReportP")),
                                        QStringLiteral("Сохранить расчетную нагрузку щитов"));
    toolSaveReport->setObjectName(QStringLiteral("tbReport"));
    toolPrintReport = toolBar->addAction(Icons::command(QStringLiteral("Print")),
                                         QStringLiteral("Печать расчетной нагрузки щитов"));
    toolPrintReport->setObjectName(QStringLiteral("tbPrint"));
    connect(toolSaveReport, &QAction::triggered, this, &ShieldsWindow::saveLoadReport);
    connect(toolPrintReport, &QAction::triggered, this, &ShieldsWindow::printLoadReport);

    // The two pop-up menus; their shortcuts work anywhere in the window.
    shieldMenu = new QMenu(QStringLiteral("Щит"), this);
    shieldMenu->setObjectName(QStringLiteral("shieldMenu"));
    actionAddShield = shieldMenu->addAction(QStringLiteral("Добавить"));
    actionAddShield->setObjectName(QStringLiteral("actionAddShield"));
    actionRenameShield = shieldMenu->addAction(QStringLiteral("Переименовать"));
    actionRenameShield->setObjectName(QStringLiteral("actionRenameShield"));
    actionRecomputeShield = shieldMenu->addAction(QStringLiteral("Пересчитать нагрузки"));
    actionRecomputeShield->setObjectName(QStringLiteral("actionRecomputeShield"));
    shieldMenu->addSeparator();
    actionDeleteShield = shieldMenu->addAction(QStringLiteral("Удалить"));
    actionDeleteShield->setObjectName(QStringLiteral("actionDeleteShield"));

    loadMenu = new QMenu(QStringLiteral("Нагрузка"), this);
    loadMenu->setObjectName(QStringLiteral("loadMenu"));
    actionAddLoad = loadMenu->addAction(QStringLiteral("Добавить"));
    actionAddLoad->setObjectName(QStringLiteral("actionAddLoad"));
    actionAddLoad->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    actionChangeLoad = loadMenu->addAction(QStringLiteral("Изменить"));
    actionChangeLoad->setObjectName(QStringLiteral("actionChangeLoad"));
    actionChangeLoad->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    actionRemoveLoad = loadMenu->addAction(QStringLiteral("Удалить"));
    actionRemoveLoad->setObjectName(QStringLiteral("actionRemoveLoad"));
    actionRemoveLoad->setShortcut(QKeySequence(Qt::Key_Delete));
    loadMenu->addSeparator();
    actionCopyList = loadMenu->addAction(QStringLiteral("Копировать в буфер"));
    actionCopyList->setObjectName(QStringLiteral("actionCopyList"));
    actionCopyList->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    for (QAction *a : {actionAddLoad, actionChangeLoad, actionRemoveLoad, actionCopyList}) {
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
    }

    connect(actionAddShield, &QAction::triggered, this, &ShieldsWindow::addShield);
    connect(actionRenameShield, &QAction::triggered, this, &ShieldsWindow::renameShield);
    connect(actionDeleteShield, &QAction::triggered, this, &ShieldsWindow::deleteShield);
    connect(actionRecomputeShield, &QAction::triggered, this, &ShieldsWindow::recomputeShield);
    connect(actionAddLoad, &QAction::triggered, this, &ShieldsWindow::addLoad);
    connect(actionChangeLoad, &QAction::triggered, this, &ShieldsWindow::changeLoad);
    connect(actionRemoveLoad, &QAction::triggered, this, &ShieldsWindow::removeLoad);
    connect(actionCopyList, &QAction::triggered, this, &ShieldsWindow::copyLoadsToClipboard);

    shieldTabs = new QTabBar(this);
    shieldTabs->setObjectName(QStringLiteral("shieldTabs"));
    shieldTabs->setExpanding(false);
    shieldTabs->setDocumentMode(true);
    shieldTabs->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(shieldTabs, &QTabBar::currentChanged, this, [this](int) {
        if (!m_switching)
            showCurrentShield();
    });
    // The right click shows the menu without selecting the shield under the pointer.
    connect(shieldTabs, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { shieldMenu->popup(shieldTabs->mapToGlobal(pos)); });

    m_stack = new QStackedWidget(this);

    addShieldButton = new QPushButton(QStringLiteral("&Добавить"), this);
    addShieldButton->setObjectName(QStringLiteral("addShieldButton"));
    renameShieldButton = new QPushButton(QStringLiteral("&Переименовать"), this);
    renameShieldButton->setObjectName(QStringLiteral("renameShieldButton"));
    removeShieldButton = new QPushButton(QStringLiteral("&Удалить"), this);
    removeShieldButton->setObjectName(QStringLiteral("removeShieldButton"));
    closeButton = new QPushButton(QStringLiteral("&Закрыть"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    for (QPushButton *b : {addShieldButton, renameShieldButton, removeShieldButton, closeButton})
        b->setAutoDefault(false);
    connect(addShieldButton, &QPushButton::clicked, this, &ShieldsWindow::addShield);
    connect(renameShieldButton, &QPushButton::clicked, this, &ShieldsWindow::renameShield);
    connect(removeShieldButton, &QPushButton::clicked, this, &ShieldsWindow::deleteShield);
    connect(closeButton, &QPushButton::clicked, this, &ShieldsWindow::closeAndSaveWidths);

    m_totals = new ShieldTotalsPanel(this);
    installedPowerEdit = m_totals->installedPowerEdit;
    designPowerEdit = m_totals->designPowerEdit;
    apparentPowerEdit = m_totals->apparentPowerEdit;
    currentEdit = m_totals->currentEdit;
    powerFactorEdit = m_totals->powerFactorEdit;
    phaseAPowerEdit = m_totals->phaseAPowerEdit;
    phaseACurrentEdit = m_totals->phaseACurrentEdit;
    phaseBPowerEdit = m_totals->phaseBPowerEdit;
    phaseBCurrentEdit = m_totals->phaseBCurrentEdit;
    phaseCPowerEdit = m_totals->phaseCPowerEdit;
    phaseCCurrentEdit = m_totals->phaseCCurrentEdit;
    neutralCurrentEdit = m_totals->neutralCurrentEdit;
    imbalanceEdit = m_totals->imbalanceEdit;

    auto *shieldButtons = new QHBoxLayout;
    shieldButtons->addWidget(addShieldButton);
    shieldButtons->addWidget(renameShieldButton);
    shieldButtons->addWidget(removeShieldButton);
    shieldButtons->addStretch(1);

    auto *left = new QVBoxLayout;
    left->setSpacing(0);
    left->addWidget(shieldTabs);
    left->addWidget(m_stack, 1);
    left->addSpacing(6);
    left->addLayout(shieldButtons);

    auto *right = new QVBoxLayout;
    right->addWidget(m_totals);
    right->addStretch(1);
    auto *closeRow = new QHBoxLayout;
    closeRow->addStretch(1);
    closeRow->addWidget(closeButton);
    right->addLayout(closeRow);

    auto *body = new QHBoxLayout;
    body->addLayout(left, 1);
    body->addLayout(right);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 6);
    layout->addWidget(toolBar);
    layout->addLayout(body, 1);
}

QVector<int> ShieldsWindow::storedColumnWidths() const
{
    const IniDocument ini = m_context.settings().read();
    QVector<int> widths;
    for (int c = 0; c < 10; ++c) {
        const QString text = ini.value(kSection, QStringLiteral("ColumnWidth") + QString::number(c + 1));
        // A width that is not a usable number falls back to the default.
        const auto twips = NumberText::parse(text);
        const double value = twips && *twips >= 0 && *twips <= 1e6 ? *twips : kDefaultWidths[c];
        widths << twipsToPixelsX(value, this);
    }
    return widths;
}

ShieldsWindow::ShieldList ShieldsWindow::makeList(int shield, const QVector<int> &widths)
{
    ShieldList list;
    list.model = new LoadListModel(m_project.shields, shield, this);
    list.view = new QTreeView(this);
    list.view->setObjectName(QStringLiteral("loadList"));
    list.view->setRootIsDecorated(false);
    list.view->setUniformRowHeights(true);
    list.view->setAllColumnsShowFocus(true);
    list.view->setSelectionMode(QAbstractItemView::SingleSelection);
    list.view->setSelectionBehavior(QAbstractItemView::SelectRows);
    list.view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list.view->setModel(list.model);
    list.view->header()->setStretchLastSection(false);
    list.view->header()->setSectionsClickable(true);
    list.view->header()->setSectionsMovable(false);
    for (int c = 0; c < widths.size(); ++c)
        list.view->setColumnWidth(c, widths.at(c));
    list.view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list.view, &QWidget::customContextMenuRequested, this, &ShieldsWindow::onListContextMenu);
    connect(list.view->header(), &QHeaderView::sectionClicked, this, &ShieldsWindow::sortByColumn);
    // A double-click opens the load for change, as "Изменить" does.
    connect(list.view, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (!index.isValid())
            return;
        selectLoad(index.row());
        changeLoad();
    });
    followRecordedEdits(list.model);
    // Whoever changes the loads (the load dialog, a delete), the totals follow.
    const auto followLoads = [this, model = list.model] {
        if (model == currentModel())
            recalcShieldTotals();
    };
    connect(list.model, &QAbstractItemModel::rowsInserted, this, followLoads);
    connect(list.model, &QAbstractItemModel::rowsRemoved, this, followLoads);
    connect(list.model, &QAbstractItemModel::dataChanged, this, followLoads);
    return list;
}

QTreeView *ShieldsWindow::loadList(int k) const
{
    return k >= 0 && k < m_lists.size() ? m_lists.at(k).view : nullptr;
}

QTreeView *ShieldsWindow::currentList() const
{
    return loadList(currentShieldIndex);
}

LoadListModel *ShieldsWindow::currentModel() const
{
    return currentShieldIndex >= 0 && currentShieldIndex < m_lists.size() ? m_lists.at(currentShieldIndex).model : nullptr;
}

int ShieldsWindow::shieldCount() const
{
    return int(m_lists.size());
}

int ShieldsWindow::selectedLoad() const
{
    QTreeView *view = currentList();
    if (!view || !view->selectionModel())
        return -1;
    const QModelIndexList rows = view->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ShieldsWindow::selectLoad(int row)
{
    QTreeView *view = currentList();
    if (!view)
        return;
    const QModelIndex index = view->model()->index(row, 0);
    view->setCurrentIndex(index);
    view->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ShieldsWindow::selectTab(int k)
{
    m_switching = true;
    shieldTabs->setCurrentIndex(k);
    m_switching = false;
}

void ShieldsWindow::syncWithProject()
{
    QVector<Shield> &shields = m_project.shields;
    if (shields.isEmpty())
        shields = Project::initialShields();
    if (shields.size() != m_lists.size()) {
        // The project's shields were replaced meanwhile: rebuild the tabs and lists.
        const QVector<int> widths = storedColumnWidths();
        m_switching = true;
        while (shieldTabs->count() > 0)
            shieldTabs->removeTab(0);
        for (ShieldList &l : m_lists) {
            m_stack->removeWidget(l.view);
            delete l.view;
            delete l.model;
        }
        m_lists.clear();
        for (int k = 0; k < shields.size(); ++k) {
            const ShieldList list = makeList(k, widths);
            m_lists.append(list);
            m_stack->addWidget(list.view);
            shieldTabs->addTab(Icons::shield(), shields.at(k).name);
        }
        shieldTabs->setCurrentIndex(qBound(0, m_project.currentShield, int(shields.size()) - 1));
        m_switching = false;
    }
    for (int k = 0; k < shields.size(); ++k) {
        if (shieldTabs->tabText(k) != shields.at(k).name)
            shieldTabs->setTabText(k, shields.at(k).name);
        m_lists[k].model->sync();
    }
    updateDeleteShieldEnabled();
}

void ShieldsWindow::showCurrentShield()
{
    syncWithProject();
    currentShieldIndex = qMax(0, shieldTabs->currentIndex());
    m_project.currentShield = currentShieldIndex;
    if (QTreeView *view = currentList())
        m_stack->setCurrentWidget(view);
    LoadListModel *model = currentModel();
    setLoadCommandsEnabled(model && model->rowCount() > 0);
    recalcShieldTotals();
}

void ShieldsWindow::setLoadCommandsEnabled(bool enabled)
{
    for (QAction *a : {actionChangeLoad, actionRemoveLoad, actionCopyList, toolChangeLoad, toolRemoveLoad})
        a->setEnabled(enabled);
}

void ShieldsWindow::updateDeleteShieldEnabled()
{
    const bool several = m_project.shields.size() >= 2;
    removeShieldButton->setEnabled(several);
    actionDeleteShield->setEnabled(several);
}

void ShieldsWindow::recalcShieldTotals()
{
    LoadListModel *model = currentModel();
    const QVector<Load> none;
    const QVector<Load> &loads = model ? model->loads() : none;
    setLoadCommandsEnabled(!loads.isEmpty());
    m_totals->showTotals(LoadCalc::recalcShieldTotals(loads, m_context.calc.places()));
    // The phase colours and icons of the rows follow from the rows' phase texts.
    if (QTreeView *view = currentList())
        view->viewport()->update();
}

void ShieldsWindow::addShield()
{
    const QString name = m_prompter.input(QStringLiteral("Введите обозначение нового щита:"),
                                          QStringLiteral("Добавить щит"),
                                          Project::defaultShieldName(int(m_project.shields.size()) + 1));
    if (name.isEmpty())
        return;
    m_project.shields.append(Shield{name, {}});
    const int k = int(m_project.shields.size()) - 1;
    recordShieldEdit(QStringLiteral("добавление щита"), k, std::nullopt, m_project.shields.at(k));
    // A new list starts with the widths of the first shield's list.
    QVector<int> widths;
    for (int c = 0; c < 10; ++c)
        widths << m_lists.first().view->columnWidth(c);
    const ShieldList list = makeList(k, widths);
    m_lists.append(list);
    m_stack->addWidget(list.view);
    m_switching = true;
    shieldTabs->addTab(Icons::shield(), name);
    shieldTabs->setCurrentIndex(k);
    m_switching = false;
    updateDeleteShieldEnabled();
    showCurrentShield();
}

void ShieldsWindow::renameShield()
{
    const int k = currentShieldIndex;
    if (k < 0 || k >= m_project.shields.size())
        return;
    const QString name = m_prompter.input(QStringLiteral("Укажите новое имя для щита:"),
                                          QStringLiteral("Переименование щита"), m_project.shields.at(k).name);
    if (name.isEmpty())
        return;
    const Shield before = m_project.shields.at(k);
    m_project.shields[k].name = name;
    shieldTabs->setTabText(k, name);
    recordShieldEdit(QStringLiteral("переименование щита"), k, before, m_project.shields.at(k));
    showCurrentShield();
}

void ShieldsWindow::deleteShield()
{
    const int k = currentShieldIndex;
    if (m_project.shields.size() < 2 || k < 0 || k >= m_project.shields.size())
        return; // the last shield stays
    m_switching = true;
    recordShieldEdit(QStringLiteral("удаление щита"), k, m_project.shields.at(k), std::nullopt);
    m_project.shields.removeAt(k);
    ShieldList gone = m_lists.takeAt(k);
    m_stack->removeWidget(gone.view);
    delete gone.view;
    delete gone.model;
    for (int i = k; i < m_lists.size(); ++i)
        m_lists[i].model->setShieldIndex(i);
    shieldTabs->removeTab(k);
    shieldTabs->setCurrentIndex(k > 0 ? k - 1 : 0);
    m_switching = false;
    updateDeleteShieldEnabled();
    showCurrentShield();
}

void ShieldsWindow::recomputeShield()
{
    const int k = currentShieldIndex;
    LoadListModel *model = currentModel();
    if (!model || k < 0 || k >= m_project.shields.size())
        return;
    const Shield before = m_project.shields.at(k);
    QVector<Load> &loads = m_project.shields[k].loads;
    for (Load &load : loads)
        if (const auto recomputed = LoadCalc::recomputeLoad(load, m_context.calc.places()))
            load = *recomputed;
    if (m_project.shields.at(k) == before)
        return;
    model->reload();
    recordShieldEdit(QStringLiteral("пересчет нагрузок щита"), k, before, m_project.shields.at(k));
    showCurrentShield();
}

void ShieldsWindow::addLoad()
{
    LoadListModel *model = currentModel();
    if (!model)
        return;
    LoadDialog dialog(m_context, m_prompter, *model, this);
    dialog.exec();
    showCurrentShield();
}

void ShieldsWindow::changeLoad()
{
    LoadListModel *model = currentModel();
    const int row = selectedLoad();
    if (!model || row < 0)
        return; // nothing selected: nothing to change
    LoadDialog dialog(m_context, m_prompter, *model, this);
    dialog.loadForChange(row);
    dialog.exec();
    showCurrentShield();
    selectLoad(row);
}

void ShieldsWindow::removeLoad()
{
    LoadListModel *model = currentModel();
    if (model && model->rowCount() > 0) {
        const int row = selectedLoad();
        if (row >= 0)
            model->removeLoad(row);
    }
    showCurrentShield();
}

void ShieldsWindow::copyLoadsToClipboard()
{
    if (LoadListModel *model = currentModel(); model && model->rowCount() > 0)
        copyListToClipboard(*model);
}

void ShieldsWindow::sortByColumn(int column)
{
    if (currentShieldIndex < 0 || currentShieldIndex >= m_lists.size())
        return;
    ShieldList &list = m_lists[currentShieldIndex];
    if (list.sortColumn == column)
        list.sortOrder = list.sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    list.sortColumn = column;
    list.model->sortByColumn(column, list.sortOrder);
    list.view->header()->setSortIndicatorShown(true);
    list.view->header()->setSortIndicator(column, list.sortOrder);
}

void ShieldsWindow::runToolbarKey(const QString &key)
{
    const QString k = key.toUpper();
    if (k == QLatin1String("ADD"))
        addLoad();
    else if (k == QLatin1String("EDIT") && toolChangeLoad->isEnabled())
        changeLoad();
    else if (k == QLatin1String("REMOVE") && toolRemoveLoad->isEnabled())
        removeLoad();
}

void ShieldsWindow::closeAndSaveWidths()
{
    if (QTreeView *view = currentList()) {
        m_context.settings().update(m_prompter, [this, view](IniDocument &ini) {
            for (int c = 0; c < 10; ++c)
                ini.setValue(kSection, QStringLiteral("ColumnWidth") + QString::number(c + 1),
                             QString::number(qRound(pixelsToTwipsX(view->columnWidth(c), this))));
        });
    }
    accept(); // hides; the window and its shields stay
}

void ShieldsWindow::setHistory(QUndoStack *history)
{
    if (m_history || !history)
        return;
    m_history = history;
    for (const ShieldList &list : std::as_const(m_lists))
        followRecordedEdits(list.model);
    QAction *before = toolBar->actions().value(3); // after "Add", "Edit", "Remove"
    toolUndo = m_history->createUndoAction(this, QStringLiteral("Отменить"));
    toolUndo->setObjectName(QStringLiteral("tbUndo"));
    toolUndo->setIcon(Icons::command(QStringLiteral("Undo")));
    toolUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    toolRedo = m_history->createRedoAction(this, QStringLiteral("Повторить"));
    toolRedo->setObjectName(QStringLiteral("tbRedo"));
    toolRedo->setIcon(Icons::command(QStringLiteral("Redo")));
    toolRedo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    for (QAction *a : {toolUndo, toolRedo})
        a->setShortcutContext(Qt::WindowShortcut);
    toolBar->insertSeparator(before);
    toolBar->insertAction(before, toolUndo);
    toolBar->insertAction(before, toolRedo);
}

void ShieldsWindow::followRecordedEdits(LoadListModel *model)
{
    if (!m_history)
        return;
    model->setEditRecorder([this](const QString &text, int k, const Shield &before) {
        if (k >= 0 && k < m_project.shields.size())
            recordShieldEdit(text, k, before, m_project.shields.at(k));
    });
}

void ShieldsWindow::recordShieldEdit(const QString &text, int k, const std::optional<Shield> &before,
                                     const std::optional<Shield> &after)
{
    if (!m_history)
        return;
    // The edit outlives the window's lists (a deleted shield takes its list
    // along): it works on the project's shields and asks the window, if it is
    // still there, to show them afresh.
    QVector<Shield> *shields = &m_project.shields;
    const QPointer<ShieldsWindow> window(this);
    const auto put = [shields, k, window](const std::optional<Shield> &from, const std::optional<Shield> &to) {
        if (from && to && k < shields->size())
            (*shields)[k] = *to;
        else if (!from && to && k <= shields->size())
            shields->insert(k, *to);
        else if (from && !to && k < shields->size())
            shields->removeAt(k);
        if (window)
            window->showProjectShields(k);
    };
    RecordedEdit::record(
        m_history, text, [put, before, after] { put(after, before); }, [put, before, after] { put(before, after); });
}

void ShieldsWindow::showProjectShields(int shieldIndex)
{
    m_project.currentShield = shieldIndex;
    // syncWithProject() builds the lists again when their number changed;
    // otherwise each list is told that all of its rows may be new.
    const qsizetype lists = m_lists.size();
    syncWithProject();
    if (lists == m_lists.size())
        for (const ShieldList &list : std::as_const(m_lists))
            list.model->reload();
    selectTab(qBound(0, shieldIndex, int(m_lists.size()) - 1));
    showCurrentShield();
}

void ShieldsWindow::saveLoadReport()
{
    ReportWriter writer(m_prompter, m_context.documentsFolder());
    writer.setProjectProperties(m_project.properties);
    LoadReport::run(writer, m_project, m_context.calc);
}

void ShieldsWindow::printLoadReport()
{
    ReportWriter writer(m_prompter, m_context.documentsFolder());
    writer.setProjectProperties(m_project.properties);
    ReportPreview preview(this);
    writer.setPrinter(&preview);
    LoadReport::print(writer, m_project, m_context.calc);
}

void ShieldsWindow::onListContextMenu(const QPoint &pos)
{
    QTreeView *view = currentList();
    if (!view)
        return;
    // A click below the last row keeps the selection as it is.
    const QModelIndex index = view->indexAt(pos);
    if (index.isValid())
        selectLoad(index.row());
    loadMenu->popup(view->viewport()->mapToGlobal(pos));
}

bool ShieldsWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        showCurrentShield();
    return QDialog::event(event);
}
