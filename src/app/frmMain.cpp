#include "app/frmMain.h"

#include "app/DataFileRegistry.h"
#include "app/Icons.h"
#include "app/IniStore.h"
#include "app/LineListModel.h"
#include "app/NumberText.h"
#include "app/UiHelpers.h"
#include "app/Version.h"
#include "app/StartupSettings.h"
#include "app/TrayIcon.h"
#include "app/frmOptions.h"
#include "about/frmAbout.h"
#include "about/frmTip.h"
#include "update/UpdateCheck.h"
#include "update/UpdateSite.h"
#include "calculator/frmCalculator.h"
#include "loads/frmCalcI.h"
#include "lighting/frmLight.h"
#include "lines/NetworkSummary.h"
#include "lines/frmAddR.h"
#include "reports/ReportWriter.h"
#include "reports/ShortCircuitReport.h"
#include "reports/StatusBarProgress.h"
#include "reports/frmSaveReport.h"
#include "shortcircuit/Transformer.h"
#include "shortcircuit/frmKZ.h"
#include "shortcircuit/frmTP.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const char *const kStartupHint = "Нажмите F1 для получения справки";

// Default column widths as fractions of the list width; column 10 takes the rest.
constexpr int kWidthDivisors[9] = {6, 11, 9, 13, 13, 9, 11, 11, 12};

} // namespace

frmMain::frmMain(AppContext &context, Prompter &prompter, QWidget *parent)
    : QMainWindow(parent), m_context(context), m_prompter(prompter)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(Icons::application());

    // Start-up, in order.
    m_project.iPrjN = 1;
    m_project.sPrjName = QStringLiteral("Проект ") + QString::number(m_project.iPrjN);
    m_project.sPath = m_context.appDir() + QLatin1Char('/');
    updateCaption();

    buildActions();
    buildMenus();
    buildTrayMenu();
    if (Startup::readFlag(m_context.settingsPath(), Startup::ShowInTray))
        AddTrayIcon();
    m_update = new UpdateCheck(m_prompter, this);
    buildToolbar();
    buildList();
    buildStatusBar();

    // The starting size of a window without stored geometry.
    resize(twipsToPixelsX(13665, this), twipsToPixelsY(7200, this));
    setMinimumSize(twipsToPixelsX(5000, this), twipsToPixelsY(2400, this));
    applyColumnWidths();

    readRecentFiles();
    m_context.calc = CalcValues::load(m_context.settingsPath());
    RestoreWindowGeometry();

    statusPanel1->setText(QString::fromUtf8(kStartupHint));
    hideProgress();
    setLineCommandsEnabled(false);
    FlagShow = true;
    bFR = true;
}

frmMain::~frmMain() = default;

bool frmMain::runStartupCheck(const AppContext &context, Prompter &prompter)
{
    const DataFiles::CheckResult r = DataFiles::CheckDataFiles(context.appDir());
    for (const QString &missing : r.missingFiles)
        prompter.message(DataFiles::missingFileMessage(missing), QStringLiteral("Критическая ошибка"),
                         Prompter::Icon::Critical);
    return r.ok();
}

QAction *frmMain::makeAction(const QString &name, const QString &caption, const QKeySequence &shortcut)
{
    auto *a = new QAction(caption, this);
    a->setObjectName(name);
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    m_actions.insert(name, a);
    return a;
}

void frmMain::buildActions()
{
    connect(makeAction(QStringLiteral("mnuNewPrj"), QStringLiteral("&Новый проект..."), QKeySequence(Qt::CTRL | Qt::Key_N)),
            &QAction::triggered, this, &frmMain::cmdNewProject);
    connect(makeAction(QStringLiteral("mnuOpenPrj"), QStringLiteral("&Открыть проект..."), QKeySequence(Qt::CTRL | Qt::Key_O)),
            &QAction::triggered, this, &frmMain::cmdOpenProject);
    connect(makeAction(QStringLiteral("mnuSavePrj"), QStringLiteral("&Сохранить проект"), QKeySequence(Qt::CTRL | Qt::Key_S)),
            &QAction::triggered, this, [this] { saveProject(false); });
    connect(makeAction(QStringLiteral("mnuSavePrjAs"), QStringLiteral("Сохранить проект &как...")),
            &QAction::triggered, this, [this] { saveProject(true); });
    connect(makeAction(QStringLiteral("mnuSaveReport"), QStringLiteral("Сохранить ведомость К&Л..."), QKeySequence(Qt::Key_F2)),
            &QAction::triggered, this, &frmMain::cmdSaveReport);
    connect(makeAction(QStringLiteral("mnuSaveKZReport"), QStringLiteral("Сохранить ведомость токов К&З..."),
                       QKeySequence(Qt::Key_F3)),
            &QAction::triggered, this, &frmMain::cmdSaveKZReport);
    connect(makeAction(QStringLiteral("mnuExit"), QStringLiteral("&Выход"), QKeySequence(Qt::CTRL | Qt::Key_Q)),
            &QAction::triggered, this, &QWidget::close);

    connect(makeAction(QStringLiteral("mnuAddLine"), QStringLiteral("&Добавить..."), QKeySequence(Qt::CTRL | Qt::Key_D)),
            &QAction::triggered, this, &frmMain::cmdAddLine);
    connect(makeAction(QStringLiteral("mnuChangeLine"), QStringLiteral("&Изменить..."), QKeySequence(Qt::CTRL | Qt::Key_G)),
            &QAction::triggered, this, &frmMain::cmdChangeLine);
    connect(makeAction(QStringLiteral("mnuDelLine"), QStringLiteral("&Удалить"), QKeySequence(Qt::Key_Delete)),
            &QAction::triggered, this, &frmMain::cmdDelLine);
    connect(makeAction(QStringLiteral("mnuSendToClip"), QStringLiteral("&Копировать в буфер"),
                       QKeySequence(Qt::CTRL | Qt::Key_C)),
            &QAction::triggered, this, &frmMain::cmdSendToClip);
    connect(makeAction(QStringLiteral("mnuSelectAll"), QStringLiteral("&Выделить всё"), QKeySequence(Qt::CTRL | Qt::Key_A)),
            &QAction::triggered, this, &frmMain::cmdSelectAll);

    connect(makeAction(QStringLiteral("mnuSelTP"), QStringLiteral("&Выбрать..."), QKeySequence(Qt::CTRL | Qt::Key_T)),
            &QAction::triggered, this, &frmMain::cmdSelTP);

    connect(makeAction(QStringLiteral("mnuCalcP"), QStringLiteral("Расчет &нагрузок..."), QKeySequence(Qt::CTRL | Qt::Key_R)),
            &QAction::triggered, this, &frmMain::cmdCalcP);
    connect(makeAction(QStringLiteral("mnuCalcKZ"), QStringLiteral("Расчет токов &КЗ..."), QKeySequence(Qt::CTRL | Qt::Key_K)),
            &QAction::triggered, this, &frmMain::cmdCalcKZ);
    connect(makeAction(QStringLiteral("mnuCalcL"), QStringLiteral("Расчет &освещенности..."), QKeySequence(Qt::CTRL | Qt::Key_L)),
            &QAction::triggered, this, &frmMain::cmdCalcL);
    connect(makeAction(QStringLiteral("mnuCalculator"), QStringLiteral("&Строковый калькулятор"), QKeySequence(Qt::Key_F4)),
            &QAction::triggered, this, &frmMain::cmdCalculator);

    connect(makeAction(QStringLiteral("mnuProperties"), QStringLiteral("&Настройки..."), QKeySequence(Qt::CTRL | Qt::Key_P)),
            &QAction::triggered, this, &frmMain::cmdProperties);
    connect(makeAction(QStringLiteral("mnuUpdate"), QStringLiteral("Проверить &обновление"), QKeySequence(Qt::CTRL | Qt::Key_U)),
            &QAction::triggered, this, &frmMain::cmdUpdate);

    connect(makeAction(QStringLiteral("mnuHelpFile"), QStringLiteral("&Справка..."), QKeySequence(Qt::Key_F1)),
            &QAction::triggered, this, &frmMain::cmdHelpFile);
    connect(makeAction(QStringLiteral("mnuTipOfDay"), QStringLiteral("Совет &дня...")), &QAction::triggered, this,
            &frmMain::cmdTipOfDay);
    connect(makeAction(QStringLiteral("mnuAbout"), QStringLiteral("&О программе...")), &QAction::triggered, this,
            &frmMain::cmdAbout);

    for (QAction *a : std::as_const(m_actions))
        a->setShortcutContext(Qt::WindowShortcut);
    // Ctrl+C and Ctrl+A would otherwise be taken by the list itself.
    m_actions.value(QStringLiteral("mnuSendToClip"))->setShortcutContext(Qt::ApplicationShortcut);
    m_actions.value(QStringLiteral("mnuSelectAll"))->setShortcutContext(Qt::ApplicationShortcut);
}

void frmMain::buildMenus()
{
    QMenuBar *bar = menuBar();
    mnuFile = bar->addMenu(QStringLiteral("&Файл"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFile->addAction(action(QStringLiteral("mnuNewPrj")));
    mnuFile->addAction(action(QStringLiteral("mnuOpenPrj")));
    mnuFile->addAction(action(QStringLiteral("mnuSavePrj")));
    mnuFile->addAction(action(QStringLiteral("mnuSavePrjAs")));
    mnuFile->addSeparator();
    mnuFile->addAction(action(QStringLiteral("mnuSaveReport")));
    mnuFile->addAction(action(QStringLiteral("mnuSaveKZReport")));
    m_recentSeparator = mnuFile->addSeparator();
    m_recentSeparator->setObjectName(QStringLiteral("ms2"));
    m_recentSeparator->setVisible(false);
    for (int k = 0; k < 5; ++k) {
        auto *a = new QAction(this);
        a->setObjectName(QStringLiteral("mnuRecFile%1").arg(k));
        a->setVisible(false);
        connect(a, &QAction::triggered, this, [this, a] {
            if (!AskSaveProject())
                return;
            OpenProject(a->text().mid(2));
        });
        mnuFile->addAction(a);
        m_recentActions << a;
    }
    mnuFile->addSeparator();
    mnuFile->addAction(action(QStringLiteral("mnuExit")));

    mnuLine = bar->addMenu(QStringLiteral("&Линия"));
    mnuLine->setObjectName(QStringLiteral("mnuLine"));
    mnuLine->addAction(action(QStringLiteral("mnuAddLine")));
    mnuLine->addAction(action(QStringLiteral("mnuChangeLine")));
    mnuLine->addAction(action(QStringLiteral("mnuDelLine")));
    mnuLine->addSeparator();
    mnuLine->addAction(action(QStringLiteral("mnuSendToClip")));
    mnuLine->addAction(action(QStringLiteral("mnuSelectAll")));

    QMenu *tp = bar->addMenu(QStringLiteral("&ТП"));
    tp->setObjectName(QStringLiteral("mnuTP"));
    tp->addAction(action(QStringLiteral("mnuSelTP")));

    QMenu *calc = bar->addMenu(QStringLiteral("&Расчет"));
    calc->setObjectName(QStringLiteral("mnuCalc"));
    calc->addAction(action(QStringLiteral("mnuCalcP")));
    calc->addAction(action(QStringLiteral("mnuCalcKZ")));
    calc->addAction(action(QStringLiteral("mnuCalcL")));
    calc->addSeparator();
    calc->addAction(action(QStringLiteral("mnuCalculator")));

    QMenu *options = bar->addMenu(QStringLiteral("&Опции"));
    options->setObjectName(QStringLiteral("mnuOptions"));
    options->addAction(action(QStringLiteral("mnuProperties")));
    options->addSeparator();
    options->addAction(action(QStringLiteral("mnuUpdate")));

    QMenu *help = bar->addMenu(QStringLiteral("&Помощь"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    help->addAction(action(QStringLiteral("mnuHelpFile")));
    help->addAction(action(QStringLiteral("mnuTipOfDay")));
    help->addSeparator();
    help->addAction(action(QStringLiteral("mnuAbout")));

    // The tray menu never shows in the menu bar.
    mnuTray = new QMenu(QStringLiteral("Трей"), this);
    mnuTray->setObjectName(QStringLiteral("mnuTray"));
}

void frmMain::buildToolbar()
{
    tbrTools = addToolBar(QStringLiteral("Панель инструментов"));
    tbrTools->setObjectName(QStringLiteral("tbrTools"));
    tbrTools->setMovable(false);
    tbrTools->setIconSize(QSize(24, 24));
    struct Button {
        const char *key;
        const char *tip;
        bool separatorBefore;
    };
    static const Button buttons[] = {
        {"NewPrj", "Создать новый проект", false},
        {"OpenPrj", "Открыть проект", false},
        {"SavePrj", "Сохранить проект", false},
        {"AddLine", "Добавить линию", true},
        {"ChangeLine", "Изменить линию", false},
        {"DelLine", "Удалить линию", false},
        {"SelTP", "Выбрать ТП", true},
        {"CalcP", "Расчет нагрузок", false},
        {"CalcKZ", "Расчитать токи КЗ", false},
        {"Light", "Расчет освещенности", false},
        {"Calc", "Строковый калькулятор", true},
        {"Prop", "Настройки", false},
        {"ReportKL", "Сохранить ведомость кабельных линий", true},
        {"ReportKZ", "Сохранить ведомость токов КЗ", false},
    };
    for (const Button &b : buttons) {
        if (b.separatorBefore)
            tbrTools->addSeparator();
        const QString key = QString::fromLatin1(b.key);
        auto *a = tbrTools->addAction(Icons::command(key), QString::fromUtf8(b.tip));
        a->setObjectName(QStringLiteral("tb") + key);
        a->setToolTip(QString::fromUtf8(b.tip));
        a->setData(key);
        connect(a, &QAction::triggered, this, [this, key] { runToolbarKey(key); });
        m_toolActions.insert(key, a);
    }
    // The menu items carry the same pictures.
    static const std::pair<const char *, const char *> menuIcons[] = {
        {"mnuNewPrj", "NewPrj"}, {"mnuOpenPrj", "OpenPrj"}, {"mnuSavePrj", "SavePrj"},
        {"mnuAddLine", "AddLine"}, {"mnuChangeLine", "ChangeLine"}, {"mnuDelLine", "DelLine"},
        {"mnuSelTP", "SelTP"}, {"mnuCalcP", "CalcP"}, {"mnuCalcKZ", "CalcKZ"},
        {"mnuCalcL", "Light"}, {"mnuCalculator", "Calc"}, {"mnuProperties", "Prop"},
        {"mnuSaveReport", "ReportKL"}, {"mnuSaveKZReport", "ReportKZ"}};
    for (const auto &[menu, key] : menuIcons)
        action(QString::fromLatin1(menu))->setIcon(Icons::command(QString::fromLatin1(key)));
}

void frmMain::runToolbarKey(const QString &key)
{
    static const std::pair<const char *, const char *> keys[] = {
        {"NEWPRJ", "mnuNewPrj"},       {"OPENPRJ", "mnuOpenPrj"},     {"SAVEPRJ", "mnuSavePrj"},
        {"ADDLINE", "mnuAddLine"},     {"CHANGELINE", "mnuChangeLine"}, {"DELLINE", "mnuDelLine"},
        {"REPORTKL", "mnuSaveReport"}, {"REPORTKZ", "mnuSaveKZReport"}, {"CALCKZ", "mnuCalcKZ"},
        {"LIGHT", "mnuCalcL"},         {"CALC", "mnuCalculator"},     {"PROP", "mnuProperties"},
        {"SELTP", "mnuSelTP"},         {"CALCP", "mnuCalcP"}};
    const QString upper = key.toUpper();
    for (const auto &[k, menu] : keys) {
        if (upper == QLatin1String(k)) {
            QAction *a = action(QString::fromLatin1(menu));
            if (a && a->isEnabled())
                a->trigger();
            return;
        }
    }
}

void frmMain::buildList()
{
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    lvMain = new QTreeView(central);
    lvMain->setObjectName(QStringLiteral("lvMain"));
    lvMain->setRootIsDecorated(false);
    lvMain->setItemsExpandable(false);
    lvMain->setUniformRowHeights(true);
    lvMain->setAllColumnsShowFocus(true);
    lvMain->setSelectionMode(QAbstractItemView::SingleSelection);
    lvMain->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvMain->setAlternatingRowColors(true);
    lvMain->setContextMenuPolicy(Qt::CustomContextMenu);
    lvMain->header()->setStretchLastSection(false);
    lvMain->header()->setSectionsMovable(false);
    m_lineModel = new LineListModel(m_project.lines, this);
    lvMain->setModel(m_lineModel);
    layout->addWidget(lvMain);
    setCentralWidget(central);

    connect(m_lineModel, &LineListModel::checkChanged, this, &frmMain::onCheckChanged);
    connect(lvMain, &QWidget::customContextMenuRequested, this, &frmMain::onListContextMenu);
    connect(lvMain, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &) {
        if (action(QStringLiteral("mnuChangeLine"))->isEnabled())
            cmdChangeLine();
    });
}

void frmMain::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("sbrStatus"));
    bar->setSizeGripEnabled(true);
    m_panel1Stack = new QStackedWidget(bar);
    statusPanel1 = new QLabel(m_panel1Stack);
    statusPanel1->setObjectName(QStringLiteral("sbrPanel1"));
    pBar = new QProgressBar(m_panel1Stack);
    pBar->setObjectName(QStringLiteral("pBar"));
    pBar->setRange(0, 100);
    pBar->setTextVisible(false);
    m_panel1Stack->addWidget(statusPanel1);
    m_panel1Stack->addWidget(pBar);
    m_panel1Stack->setMinimumWidth(twipsToPixelsX(3300, this));
    statusPanel2 = new QLabel(bar);
    statusPanel2->setObjectName(QStringLiteral("sbrPanel2"));
    statusPanel2->setMinimumWidth(10);
    statusPanel2->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar->addWidget(m_panel1Stack);
    bar->addWidget(statusPanel2, 1);
}

void frmMain::applyColumnWidths()
{
    const QString settings = m_context.settingsPath();
    IniDocument ini;
    ini.load(settings);
    // The list width in twips: the window's width less 120.
    const double listWidth = pixelsToTwipsX(width(), this) - 120;
    double sum = 0;
    for (int c = 0; c < 10; ++c) {
        double def;
        if (c < 9)
            def = listWidth / kWidthDivisors[c];
        else
            def = listWidth - sum - 100;
        const QString stored = ini.value(QStringLiteral("MainWindow"), QStringLiteral("ColumnWidth") + QString::number(c + 1));
        double twips = def;
        if (const auto v = NumberText::parse(stored); v && *v >= 0 && *v < 1e6)
            twips = *v;
        if (c < 9)
            sum += twips;
        lvMain->setColumnWidth(c, qMax(0, twipsToPixelsX(twips, this)));
    }
}

void frmMain::updateCaption()
{
    setWindowTitle(Version::caption(m_project.sPrjName));
}

void frmMain::NetworkSummary()
{
    if (m_suspendSummary)
        return;
    const SummaryText s = ::NetworkSummary(m_project.lines, m_context.calc.dUmax);
    statusPanel1->setText(s.panel1);
    statusPanel2->setText(s.panel2);
}

void frmMain::setLineCommandsEnabled(bool enabled)
{
    for (const char *name : {"mnuChangeLine", "mnuDelLine", "mnuSendToClip", "mnuSelectAll"})
        action(QString::fromLatin1(name))->setEnabled(enabled);
    toolButton(QStringLiteral("ChangeLine"))->setEnabled(enabled);
    toolButton(QStringLiteral("DelLine"))->setEnabled(enabled);
}

int frmMain::selectedRow() const
{
    const QModelIndexList rows = lvMain->selectionModel()->selectedRows();
    if (!rows.isEmpty())
        return rows.first().row();
    const QModelIndex current = lvMain->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void frmMain::selectRow(int row)
{
    if (row < 0 || row >= m_lineModel->rowCount())
        return;
    const QModelIndex idx = m_lineModel->index(row, 0);
    lvMain->selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void frmMain::showProgress(int value)
{
    pBar->setValue(value);
    m_panel1Stack->setCurrentWidget(pBar);
}

void frmMain::hideProgress()
{
    m_panel1Stack->setCurrentWidget(statusPanel1);
}

void frmMain::onCheckChanged(int)
{
    NetworkSummary();
}

void frmMain::onListContextMenu(const QPoint &pos)
{
    const int rows = m_lineModel->rowCount();
    if (rows > 0) {
        QModelIndex idx = lvMain->indexAt(pos);
        if (!idx.isValid()) {
            // Just below the last row still takes it.
            const QRect last = lvMain->visualRect(m_lineModel->index(rows - 1, 0));
            if (pos.y() >= last.top() && pos.y() <= last.top() + twipsToPixelsY(255, this))
                idx = m_lineModel->index(rows - 1, 0);
        }
        if (idx.isValid())
            selectRow(idx.row());
    }
    mnuLine->popup(lvMain->viewport()->mapToGlobal(pos));
}

void frmMain::cmdDelLine()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const auto answer = m_prompter.message(
        QStringLiteral("Вы уверены в том, что хотите удалить из списка линию '") + m_lineModel->line(row).name
            + QStringLiteral("'?"),
        QString(), Prompter::Icon::Exclamation, Prompter::Buttons::YesNo);
    if (answer != Prompter::Answer::Yes)
        return;
    if (m_lineModel->rowCount() > 0) {
        m_lineModel->removeLine(row);
        if (m_lineModel->rowCount() == 0)
            setLineCommandsEnabled(false);
    }
    NetworkSummary();
}

void frmMain::cmdSendToClip()
{
    CopyListToClipboard(*m_lineModel);
}

void frmMain::cmdSelectAll()
{
    // Checking row by row ends in the same summary as running it once at the end.
    m_lineModel->checkAll();
    if (m_lineModel->rowCount() > 0)
        NetworkSummary();
}

void frmMain::cmdHelpFile()
{
    for (const char *name : {"\\Справка.chm", "\\Справка.html"}) {
        const QString path = DataFiles::joinEntry(m_context.appDir(), QString::fromUtf8(name));
        if (QFileInfo::exists(path)) {
            QDesktopServices::openUrl(QUrl::fromLocalFile(path));
            return;
        }
    }
    m_prompter.message(QStringLiteral("Файл справки не найден!"), QString(), Prompter::Icon::Critical);
}

// Commands whose windows live in their own subsystems.
void frmMain::cmdAddLine()
{
    if (!m_lineDialog)
        m_lineDialog = std::make_unique<frmAddR>(*this, false);
    m_lineDialog->exec();
    if (m_lineDialog && m_lineDialog->isUnloaded())
        m_lineDialog.reset();
    NetworkSummary();
}

void frmMain::cmdChangeLine()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    // A dialog hidden in add mode is taken over; change mode always ends with it.
    if (!m_lineDialog)
        m_lineDialog = std::make_unique<frmAddR>(*this, true);
    m_lineDialog->ChangeFlag = true;
    m_lineDialog->fillFromRow(row);
    m_lineDialog->exec();
    if (m_lineDialog && m_lineDialog->isUnloaded())
        m_lineDialog.reset();
    NetworkSummary();
}
void frmMain::cmdSelTP()
{
    frmTP dialog(m_project, m_context, m_prompter, this);
    dialog.exec();
}
void frmMain::cmdCalcKZ()
{
    if (Transformer::powerValue(m_project.sSTP) == 0) {
        m_prompter.message(Transformer::noPowerMessage(), QString(), Prompter::Icon::Exclamation);
        cmdSelTP();
        return;
    }
    frmKZ dialog(m_project, m_context.calc, this);
    dialog.exec();
}
void frmMain::cmdCalcL()
{
    frmLight dialog(m_context, m_prompter, this);
    dialog.exec();
}
void frmMain::cmdProperties()
{
    frmOptions dialog(*this);
    dialog.exec();
}
void frmMain::cmdUpdate()
{
    // One check at a time: the command waits for the site with the interface alive.
    if (m_update->isRunning())
        return;
    const QString settings = m_context.settingsPath();
    QAction *menuItems[] = {action(QStringLiteral("mnuUpdate")), action(QStringLiteral("mnuTrayUpdate"))};
    for (QAction *a : menuItems)
        a->setEnabled(false);
    m_update->setTimeoutMs(UpdateSite::timeoutSeconds(settings) * 1000);
    m_update->run(UpdateSite::siteAddress(settings), statusPanel2, sVersion);
    for (QAction *a : menuItems)
        a->setEnabled(true);
}
void frmMain::cmdTipOfDay()
{
    frmTip dialog(m_context.appDir(), m_context.settingsPath(), this);
    dialog.exec();
}
void frmMain::cmdAbout()
{
    frmAbout dialog(UpdateSite::siteAddress(m_context.settingsPath()), this);
    dialog.exec();
}
void frmMain::cmdSaveReport()
{
    StatusBarProgress progress(*this);
    ReportWriter writer(m_prompter, m_context.appDir());
    writer.setProgress(&progress);
    frmSaveReport dialog(m_project, writer, this);
    dialog.exec();
}

void frmMain::cmdSaveKZReport()
{
    if (Transformer::powerValue(m_project.sSTP) == 0) {
        m_prompter.message(Transformer::noPowerMessage(), QString(), Prompter::Icon::Exclamation);
        cmdSelTP();
        return;
    }
    StatusBarProgress progress(*this);
    ReportWriter writer(m_prompter, m_context.appDir());
    writer.setProgress(&progress);
    ShortCircuitReport::run(writer, m_project, m_context.calc);
}

void frmMain::refreshTransformerValues()
{
    Transformer::ReportTableProblem(Transformer::UpdateProjectValues(m_project, m_context.appDir(), m_context.calc),
                                    m_prompter);
}

// The shields window is built on first use from the project's shields and
// only hidden when closed; discardShieldsWindow() drops it with the project.
void frmMain::cmdCalcP()
{
    auto *w = qobject_cast<frmCalcI *>(m_shieldsWindow.data());
    if (!w) {
        w = new frmCalcI(m_context, m_prompter, m_project, this);
        m_shieldsWindow = w;
    }
    w->exec();
}

// The calculator does not block the main window; a second call brings the open one forward.
void frmMain::cmdCalculator()
{
    if (!m_calculatorWindow) {
        auto *w = new frmCalculator(m_prompter, this);
        w->setAttribute(Qt::WA_DeleteOnClose); // closing discards the results
        m_calculatorWindow = w;
    }
    m_calculatorWindow->show();
    m_calculatorWindow->raise();
    m_calculatorWindow->activateWindow();
}

void frmMain::writeSettings()
{
    const QString settings = m_context.settingsPath();
    IniDocument ini;
    // A settings file that is there but cannot be read is not replaced by
    // one that holds only what the main window keeps.
    if (!ini.load(settings) && QFileInfo::exists(settings))
        return;
    writeRecentFiles(ini);
    m_context.calc.store(ini);
    for (int c = 0; c < 10; ++c)
        ini.setValue(QStringLiteral("MainWindow"), QStringLiteral("ColumnWidth") + QString::number(c + 1),
                     QString::number(qRound(pixelsToTwipsX(lvMain->columnWidth(c), this))));
    saveWindowGeometry(ini);
    ini.save(settings);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (!m_closeWithoutAsking && !AskSaveProject()) {
        event->ignore();
        return;
    }
    m_closeWithoutAsking = false;
    if (!m_unloaded) {
        m_unloaded = true;
        writeSettings();
        // The line dialog writes its mark lists back when it unloads.
        if (m_lineDialog) {
            m_lineDialog->unload();
            m_lineDialog.reset();
        }
        RemoveTrayIcon();
    }
    // Every other window of the program closes with the main window.
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible())
            w->close();
    event->accept();
}

void frmMain::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        m_closeWithoutAsking = true;
        close();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void frmMain::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    if (bFR) {
        bFR = false;
        QTimer::singleShot(0, this, &frmMain::firstPaint);
    }
}

void frmMain::firstPaint()
{
    if (!Startup::readFlag(m_context.settingsPath(), Startup::ShowTips))
        return;
    // Modal over the window, but not run from inside the paint handling.
    auto *tip = new frmTip(m_context.appDir(), m_context.settingsPath(), this);
    tip->setAttribute(Qt::WA_DeleteOnClose);
    tip->open();
}

void frmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Hidden after the state change has settled, not inside it.
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        QTimer::singleShot(0, this, &frmMain::minimiseToTray);
}
