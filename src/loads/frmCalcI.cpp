#include "loads/frmCalcI.h"

#include "app/AppContext.h"
#include "app/Icons.h"
#include "app/IniStore.h"
#include "app/NumberText.h"
#include "app/Project.h"
#include "app/Prompter.h"
#include "app/UiHelpers.h"
#include "loads/LoadCalc.h"
#include "loads/LoadListModel.h"
#include "loads/frmAddPower.h"

#include <QAction>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

const QString kSection = QStringLiteral("LoadWindow");
constexpr int kDefaultWidths[10] = {1950, 1000, 500, 500, 1000, 1000, 800, 700, 700, 700}; // twips
constexpr int kMinWidthTwips = 12500;
constexpr int kMinHeightTwips = 6000;

QLineEdit *display(QWidget *parent, const char *name)
{
    auto *e = new QLineEdit(QStringLiteral("0"), parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setReadOnly(true);
    e->setAlignment(Qt::AlignRight);
    e->setFixedWidth(90);
    return e;
}

} // namespace

frmCalcI::frmCalcI(AppContext &context, Prompter &prompter, Project &project, QWidget *parent)
    : QDialog(parent), m_context(context), m_prompter(prompter), m_project(project)
{
    setObjectName(QStringLiteral("frmCalcI"));
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
        tabShields->addTab(Icons::shield(), m_project.shields.at(k).name);
    }
    iNs = qBound(0, m_project.currentShield, int(m_project.shields.size()) - 1);
    selectTab(iNs);
    updateDeleteShieldEnabled();

    setMinimumSize(twipsToPixelsX(kMinWidthTwips, this), twipsToPixelsY(kMinHeightTwips, this));
    resize(minimumSize());
    ShowCurrentShield();
}

void frmCalcI::buildControls()
{
    tbrTools = new QToolBar(this);
    tbrTools->setObjectName(QStringLiteral("tbrTools"));
    tbrTools->setIconSize(QSize(20, 20));
    const struct {
        const char *key;
        const char *tip;
        const char *icon;
        QAction **target;
    } tools[] = {{"Add", "Добавить", "AddLine", &tbAdd},
                 {"Edit", "Изменить", "ChangeLine", &tbEdit},
                 {"Remove", "Удалить", "DelLine", &tbRemove}};
    for (const auto &t : tools) {
        const QString key = QString::fromLatin1(t.key);
        QAction *a = tbrTools->addAction(Icons::command(QString::fromLatin1(t.icon)), QString::fromUtf8(t.tip));
        a->setObjectName(QStringLiteral("tb") + key);
        a->setToolTip(QString::fromUtf8(t.tip));
        a->setData(key);
        connect(a, &QAction::triggered, this, [this, key] { runToolbarKey(key); });
        *t.target = a;
    }

    // The two pop-up menus; their shortcuts work anywhere in the window.
    mnuShield = new QMenu(QStringLiteral("Щит"), this);
    mnuShield->setObjectName(QStringLiteral("mnuShield"));
    mnuAddShield = mnuShield->addAction(QStringLiteral("Добавить"));
    mnuAddShield->setObjectName(QStringLiteral("mnuAddShield"));
    mnuRenameShield = mnuShield->addAction(QStringLiteral("Переименовать"));
    mnuRenameShield->setObjectName(QStringLiteral("mnuRenameShield"));
    mnuShield->addSeparator();
    mnuDelShield = mnuShield->addAction(QStringLiteral("Удалить"));
    mnuDelShield->setObjectName(QStringLiteral("mnuDelShield"));

    mnuPower = new QMenu(QStringLiteral("Нагрузка"), this);
    mnuPower->setObjectName(QStringLiteral("mnuPower"));
    mnuAddP = mnuPower->addAction(QStringLiteral("Добавить"));
    mnuAddP->setObjectName(QStringLiteral("mnuAddP"));
    mnuAddP->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    mnuEditP = mnuPower->addAction(QStringLiteral("Изменить"));
    mnuEditP->setObjectName(QStringLiteral("mnuEditP"));
    mnuEditP->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    mnuRemoveP = mnuPower->addAction(QStringLiteral("Удалить"));
    mnuRemoveP->setObjectName(QStringLiteral("mnuRemoveP"));
    mnuRemoveP->setShortcut(QKeySequence(Qt::Key_Delete));
    mnuPower->addSeparator();
    mnuSendToClip = mnuPower->addAction(QStringLiteral("Копировать в буфер"));
    mnuSendToClip->setObjectName(QStringLiteral("mnuSendToClip"));
    mnuSendToClip->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    for (QAction *a : {mnuAddP, mnuEditP, mnuRemoveP, mnuSendToClip}) {
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
    }

    connect(mnuAddShield, &QAction::triggered, this, &frmCalcI::addShield);
    connect(mnuRenameShield, &QAction::triggered, this, &frmCalcI::renameShield);
    connect(mnuDelShield, &QAction::triggered, this, &frmCalcI::deleteShield);
    connect(mnuAddP, &QAction::triggered, this, &frmCalcI::addLoad);
    connect(mnuEditP, &QAction::triggered, this, &frmCalcI::changeLoad);
    connect(mnuRemoveP, &QAction::triggered, this, &frmCalcI::removeLoad);
    connect(mnuSendToClip, &QAction::triggered, this, &frmCalcI::sendToClip);

    tabShields = new QTabBar(this);
    tabShields->setObjectName(QStringLiteral("tabShields"));
    tabShields->setExpanding(false);
    tabShields->setDocumentMode(true);
    tabShields->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tabShields, &QTabBar::currentChanged, this, [this](int) {
        if (!m_switching)
            ShowCurrentShield();
    });
    // The right click shows the menu without selecting the shield under the pointer.
    connect(tabShields, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { mnuShield->popup(tabShields->mapToGlobal(pos)); });

    m_stack = new QStackedWidget(this);

    cmdAddShield = new QPushButton(QStringLiteral("&Добавить"), this);
    cmdAddShield->setObjectName(QStringLiteral("cmdAddShield"));
    cmdRenameShield = new QPushButton(QStringLiteral("&Переименовать"), this);
    cmdRenameShield->setObjectName(QStringLiteral("cmdRenameShield"));
    cmdRemoveShield = new QPushButton(QStringLiteral("&Удалить"), this);
    cmdRemoveShield->setObjectName(QStringLiteral("cmdRemoveShield"));
    cmdClose = new QPushButton(QStringLiteral("&Закрыть"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    for (QPushButton *b : {cmdAddShield, cmdRenameShield, cmdRemoveShield, cmdClose})
        b->setAutoDefault(false);
    connect(cmdAddShield, &QPushButton::clicked, this, &frmCalcI::addShield);
    connect(cmdRenameShield, &QPushButton::clicked, this, &frmCalcI::renameShield);
    connect(cmdRemoveShield, &QPushButton::clicked, this, &frmCalcI::deleteShield);
    connect(cmdClose, &QPushButton::clicked, this, &frmCalcI::closeAndSaveWidths);

    // "Нагрузка на фазы": one row per phase, power and current.
    auto *phases = new QGroupBox(QStringLiteral("Нагрузка на фазы"), this);
    auto *pg = new QGridLayout(phases);
    pg->addWidget(new QLabel(QStringLiteral("Полн. мощн, кВА"), phases), 0, 1, Qt::AlignCenter);
    pg->addWidget(new QLabel(QStringLiteral("Ток, А"), phases), 0, 2, Qt::AlignCenter);
    txtSA = display(phases, "txtSA");
    txtIA = display(phases, "txtIA");
    txtSB = display(phases, "txtSB");
    txtIB = display(phases, "txtIB");
    txtSC = display(phases, "txtSC");
    txtIC = display(phases, "txtIC");
    const struct {
        const char *caption;
        QChar phase;
        QLineEdit *s;
        QLineEdit *i;
    } rows[] = {{"Фаза А", QLatin1Char('A'), txtSA, txtIA},
                {"Фаза B", QLatin1Char('B'), txtSB, txtIB},
                {"Фаза C", QLatin1Char('C'), txtSC, txtIC}};
    int r = 1;
    for (const auto &row : rows) {
        auto *caption = new QLabel(QString::fromUtf8(row.caption), phases);
        QPalette p = caption->palette();
        p.setColor(QPalette::WindowText, Icons::phaseColor(row.phase));
        caption->setPalette(p);
        pg->addWidget(caption, r, 0);
        pg->addWidget(row.s, r, 1);
        pg->addWidget(row.i, r++, 2);
    }

    // "Общее": the totals of the shield.
    auto *total = new QGroupBox(QStringLiteral("Общее"), this);
    auto *tg = new QGridLayout(total);
    txtPrasSum = display(total, "txtPrasSum");
    txtPustSum = display(total, "txtPustSum");
    txtSSum = display(total, "txtSSum");
    txtISum = display(total, "txtISum");
    txtCosf = display(total, "txtCosf");
    const struct {
        const char *caption;
        QLineEdit *box;
        const char *unit;
    } totals[] = {{"Мощность установленная", txtPrasSum, "кВт"},
                  {"Мощность расчетная", txtPustSum, "кВт"},
                  {"Полная мощность", txtSSum, "кВА"},
                  {"Ток", txtISum, "А"},
                  {"Коэффициент мощности", txtCosf, ""}};
    r = 0;
    for (const auto &t : totals) {
        tg->addWidget(new QLabel(QString::fromUtf8(t.caption), total), r, 0);
        tg->addWidget(t.box, r, 1);
        tg->addWidget(new QLabel(QString::fromUtf8(t.unit), total), r++, 2);
    }

    auto *shieldButtons = new QHBoxLayout;
    shieldButtons->addWidget(cmdAddShield);
    shieldButtons->addWidget(cmdRenameShield);
    shieldButtons->addWidget(cmdRemoveShield);
    shieldButtons->addStretch(1);

    auto *left = new QVBoxLayout;
    left->setSpacing(0);
    left->addWidget(tabShields);
    left->addWidget(m_stack, 1);
    left->addSpacing(6);
    left->addLayout(shieldButtons);

    auto *right = new QVBoxLayout;
    right->addWidget(phases);
    right->addWidget(total);
    right->addStretch(1);
    auto *closeRow = new QHBoxLayout;
    closeRow->addStretch(1);
    closeRow->addWidget(cmdClose);
    right->addLayout(closeRow);

    auto *body = new QHBoxLayout;
    body->addLayout(left, 1);
    body->addLayout(right);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 6);
    layout->addWidget(tbrTools);
    layout->addLayout(body, 1);
}

QVector<int> frmCalcI::storedColumnWidths() const
{
    IniDocument ini;
    ini.load(m_context.settingsPath());
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

frmCalcI::ShieldList frmCalcI::makeList(int shield, const QVector<int> &widths)
{
    ShieldList list;
    list.model = new LoadListModel(m_project.shields, shield, this);
    list.view = new QTreeView(this);
    list.view->setObjectName(QStringLiteral("lvPower"));
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
    connect(list.view, &QWidget::customContextMenuRequested, this, &frmCalcI::onListContextMenu);
    connect(list.view->header(), &QHeaderView::sectionClicked, this, &frmCalcI::sortByColumn);
    return list;
}

QTreeView *frmCalcI::lvPower(int k) const
{
    return k >= 0 && k < m_lists.size() ? m_lists.at(k).view : nullptr;
}

QTreeView *frmCalcI::currentList() const
{
    return lvPower(iNs);
}

LoadListModel *frmCalcI::currentModel() const
{
    return iNs >= 0 && iNs < m_lists.size() ? m_lists.at(iNs).model : nullptr;
}

int frmCalcI::shieldCount() const
{
    return int(m_lists.size());
}

int frmCalcI::selectedLoad() const
{
    QTreeView *view = currentList();
    if (!view || !view->selectionModel())
        return -1;
    const QModelIndexList rows = view->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void frmCalcI::selectLoad(int row)
{
    QTreeView *view = currentList();
    if (!view)
        return;
    const QModelIndex index = view->model()->index(row, 0);
    view->setCurrentIndex(index);
    view->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void frmCalcI::selectTab(int k)
{
    m_switching = true;
    tabShields->setCurrentIndex(k);
    m_switching = false;
}

void frmCalcI::syncWithProject()
{
    QVector<Shield> &shields = m_project.shields;
    if (shields.isEmpty())
        shields = Project::initialShields();
    if (shields.size() != m_lists.size()) {
        // The project's shields were replaced meanwhile: rebuild the tabs and lists.
        const QVector<int> widths = storedColumnWidths();
        m_switching = true;
        while (tabShields->count() > 0)
            tabShields->removeTab(0);
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
            tabShields->addTab(Icons::shield(), shields.at(k).name);
        }
        tabShields->setCurrentIndex(qBound(0, m_project.currentShield, int(shields.size()) - 1));
        m_switching = false;
    }
    for (int k = 0; k < shields.size(); ++k) {
        if (tabShields->tabText(k) != shields.at(k).name)
            tabShields->setTabText(k, shields.at(k).name);
        m_lists[k].model->sync();
    }
    updateDeleteShieldEnabled();
}

void frmCalcI::ShowCurrentShield()
{
    syncWithProject();
    iNs = qMax(0, tabShields->currentIndex());
    m_project.currentShield = iNs;
    if (QTreeView *view = currentList())
        m_stack->setCurrentWidget(view);
    LoadListModel *model = currentModel();
    setLoadCommandsEnabled(model && model->rowCount() > 0);
    RecalcShieldTotals();
}

void frmCalcI::setLoadCommandsEnabled(bool enabled)
{
    for (QAction *a : {mnuEditP, mnuRemoveP, mnuSendToClip, tbEdit, tbRemove})
        a->setEnabled(enabled);
}

void frmCalcI::updateDeleteShieldEnabled()
{
    const bool several = m_project.shields.size() >= 2;
    cmdRemoveShield->setEnabled(several);
    mnuDelShield->setEnabled(several);
}

void frmCalcI::RecalcShieldTotals()
{
    LoadListModel *model = currentModel();
    const QVector<Load> none;
    const QVector<Load> &loads = model ? model->loads() : none;
    setLoadCommandsEnabled(!loads.isEmpty());
    const LoadCalc::ShieldTotals t = LoadCalc::RecalcShieldTotals(loads, m_context.calc.tol());
    txtPrasSum->setText(t.installedPower);
    txtPustSum->setText(t.designPower);
    txtSSum->setText(t.apparentPower);
    txtISum->setText(t.current);
    txtCosf->setText(t.powerFactor);
    QLineEdit *const powers[3] = {txtSA, txtSB, txtSC};
    QLineEdit *const currents[3] = {txtIA, txtIB, txtIC};
    for (int k = 0; k < 3; ++k) {
        powers[k]->setText(t.phasePower[k]);
        currents[k]->setText(t.phaseCurrent[k]);
    }
    // The phase colours and icons of the rows follow from the rows' phase texts.
    if (QTreeView *view = currentList())
        view->viewport()->update();
}

void frmCalcI::addShield()
{
    const QString name = m_prompter.input(QStringLiteral("Введите обозначение нового щита:"),
                                          QStringLiteral("Добавить щит"),
                                          Project::defaultShieldName(int(m_project.shields.size()) + 1));
    if (name.isEmpty())
        return;
    m_project.shields.append(Shield{name, {}});
    const int k = int(m_project.shields.size()) - 1;
    // A new list starts with the widths of the first shield's list.
    QVector<int> widths;
    for (int c = 0; c < 10; ++c)
        widths << m_lists.first().view->columnWidth(c);
    const ShieldList list = makeList(k, widths);
    m_lists.append(list);
    m_stack->addWidget(list.view);
    m_switching = true;
    tabShields->addTab(Icons::shield(), name);
    tabShields->setCurrentIndex(k);
    m_switching = false;
    updateDeleteShieldEnabled();
    ShowCurrentShield();
}

void frmCalcI::renameShield()
{
    const int k = iNs;
    if (k < 0 || k >= m_project.shields.size())
        return;
    const QString name = m_prompter.input(QStringLiteral("Укажите новое имя для щита:"),
                                          QStringLiteral("Переименование щита"), m_project.shields.at(k).name);
    if (name.isEmpty())
        return;
    m_project.shields[k].name = name;
    tabShields->setTabText(k, name);
    ShowCurrentShield();
}

void frmCalcI::deleteShield()
{
    const int k = iNs;
    if (m_project.shields.size() < 2 || k < 0 || k >= m_project.shields.size())
        return; // the last shield stays
    m_switching = true;
    m_project.shields.removeAt(k);
    ShieldList gone = m_lists.takeAt(k);
    m_stack->removeWidget(gone.view);
    delete gone.view;
    delete gone.model;
    for (int i = k; i < m_lists.size(); ++i)
        m_lists[i].model->setShieldIndex(i);
    tabShields->removeTab(k);
    tabShields->setCurrentIndex(k > 0 ? k - 1 : 0);
    m_switching = false;
    updateDeleteShieldEnabled();
    ShowCurrentShield();
}

void frmCalcI::addLoad()
{
    LoadListModel *model = currentModel();
    if (!model)
        return;
    frmAddPower dialog(m_context, m_prompter, *model, this);
    connect(&dialog, &frmAddPower::loadsChanged, this, &frmCalcI::RecalcShieldTotals);
    dialog.exec();
    ShowCurrentShield();
}

void frmCalcI::changeLoad()
{
    LoadListModel *model = currentModel();
    const int row = selectedLoad();
    if (!model || row < 0)
        return; // nothing selected: nothing to change
    frmAddPower dialog(m_context, m_prompter, *model, this);
    dialog.loadForChange(row);
    connect(&dialog, &frmAddPower::loadsChanged, this, &frmCalcI::RecalcShieldTotals);
    dialog.exec();
    ShowCurrentShield();
    selectLoad(row);
}

void frmCalcI::removeLoad()
{
    LoadListModel *model = currentModel();
    if (model && model->rowCount() > 0) {
        const int row = selectedLoad();
        if (row >= 0)
            model->removeLoad(row);
    }
    ShowCurrentShield();
}

void frmCalcI::sendToClip()
{
    if (LoadListModel *model = currentModel(); model && model->rowCount() > 0)
        CopyListToClipboard(*model);
}

void frmCalcI::sortByColumn(int column)
{
    if (iNs < 0 || iNs >= m_lists.size())
        return;
    ShieldList &list = m_lists[iNs];
    if (list.sortColumn == column)
        list.sortOrder = list.sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    list.sortColumn = column;
    list.model->sortByColumn(column, list.sortOrder);
    list.view->header()->setSortIndicatorShown(true);
    list.view->header()->setSortIndicator(column, list.sortOrder);
}

void frmCalcI::runToolbarKey(const QString &key)
{
    const QString k = key.toUpper();
    if (k == QLatin1String("ADD"))
        addLoad();
    else if (k == QLatin1String("EDIT") && tbEdit->isEnabled())
        changeLoad();
    else if (k == QLatin1String("REMOVE") && tbRemove->isEnabled())
        removeLoad();
}

void frmCalcI::closeAndSaveWidths()
{
    if (QTreeView *view = currentList()) {
        IniDocument ini;
        const QString path = m_context.settingsPath();
        ini.load(path);
        for (int c = 0; c < 10; ++c)
            ini.setValue(kSection, QStringLiteral("ColumnWidth") + QString::number(c + 1),
                         QString::number(qRound(pixelsToTwipsX(view->columnWidth(c), this))));
        ini.save(path);
    }
    accept(); // hides; the window and its shields stay
}

void frmCalcI::onListContextMenu(const QPoint &pos)
{
    QTreeView *view = currentList();
    if (!view)
        return;
    // A click below the last row keeps the selection as it is.
    const QModelIndex index = view->indexAt(pos);
    if (index.isValid())
        selectLoad(index.row());
    mnuPower->popup(view->viewport()->mapToGlobal(pos));
}

bool frmCalcI::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        ShowCurrentShield();
    return QDialog::event(event);
}
