#include "shell/MainWindow.h"

#include "ui/about/AboutDialog.h"
#include "ui/about/GuideViewer.h"
#include "ui/about/TipDialog.h"
#include "base/DataFileRegistry.h"
#include "base/IniStore.h"
#include "base/InputCheck.h"
#include "base/NumberText.h"
#include "base/StartupSettings.h"
#include "base/Version.h"
#include "ui/calculator/CalculatorWindow.h"
#include "ui/lighting/LightingWindow.h"
#include "ui/lines/CableLineDialog.h"
#include "calc/lines/LineEntry.h"
#include "ui/lines/LineListModel.h"
#include "calc/lines/NetworkSummary.h"
#include "calc/network/CheckedPath.h"
#include "calc/network/NetworkLoadUpdate.h"
#include "calc/network/NetworkLoads.h"
#include "calc/network/NetworkTree.h"
#include "ui/network/DiagramWindow.h"
#include "ui/network/NetworkWindow.h"
#include "ui/loads/ShieldsWindow.h"
#include "docs/writers/ReportWriter.h"
#include "shell/OptionsDialog.h"
#include "shell/TrayIcon.h"
#include "ui/shortcircuit/FaultCurrentsWindow.h"
#include "ui/shortcircuit/ShortCircuitWindow.h"
#include "ui/shortcircuit/SubstationDialog.h"
#include "calc/shortcircuit/Transformer.h"
#include "ui/update/UpdateCheck.h"
#include "calc/update/UpdateSite.h"
#include "ui/widgets/Icons.h"
#include "ui/widgets/ProgressPanel.h"
#include "ui/widgets/EditHistory.h"
#include "ui/widgets/RecordedEdit.h"
#include "ui/widgets/ReportPreview.h"
#include "ui/widgets/StatusBarProgress.h"
#include "ui/widgets/WidgetHelpers.h"
#include "ui/widgets/WrappingHeader.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QScopedValueRollback>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QUndoStack>
#include <QVBoxLayout>

#include <tuple>
#include <utility>

namespace {

const char *const kStartupHint = "Нажмите F1 для получения справки";

constexpr int kColumns = 10;

} // namespace

MainWindow::MainWindow(AppContext &context, Prompter &prompter, QWidget *parent)
    : QMainWindow(parent), m_context(context), m_prompter(prompter)
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowIcon(Icons::application());

    // Start-up, in order.
    m_project.projectNumber = 1;
    m_project.projectName = QStringLiteral("Проект ") + QString::number(m_project.projectNumber);
    m_project.projectFolder = m_context.documentsFolder() + QLatin1Char('/');
    updateCaption();

    m_history = new EditHistory(this);
    buildActions();
    buildMenus();
    buildTrayMenu();
    if (Startup::readFlag(m_context.settings().read(), Startup::ShowInTray))
        addTrayIcon();
    m_update = new UpdateCheck(m_prompter, this);
    m_guideViewer = new GuideViewer(this);
    buildToolbar();
    buildList();
    buildStatusBar();

    setMinimumSize(twipsToPixelsX(5000, this), twipsToPixelsY(2400, this));

    readRecentFiles();
    m_context.calc = CalcValues::load(m_context.settings().read());
    m_context.folders = FileFolders::load(m_context.settings().read());
    restoreWindowGeometry();
    // After the size: the last column takes what the others leave of the list.
    applyColumnWidths();

    statusPanel1->setText(QString::fromUtf8(kStartupHint));
    m_panel1->hideProgress();
    setLineCommandsEnabled(false);
    m_shownNormally = true;
    m_firstPaintPending = true;
}

MainWindow::~MainWindow()
{
    // The history goes first: what it says as it empties still finds the window whole.
    delete m_history;
}

bool MainWindow::runStartupCheck(const AppContext &context, Prompter &prompter)
{
    const DataFiles::CheckResult r = context.checkDataFiles();
    for (const QString &missing : r.missingFiles)
        prompter.message(DataFiles::missingFileMessage(missing), QStringLiteral("Критическая ошибка"),
                         Prompter::Icon::Critical);
    if (!r.ok())
        return false;
    // Told once here rather than when a value silently takes its default or a change is lost.
    if (const QString problem = context.userFilesProblem(); !problem.isEmpty())
        prompter.message(problem, QString(), Prompter::Icon::Exclamation);
    if (const QString problem = context.settings().startupProblem(); !problem.isEmpty())
        prompter.message(problem, QStringLiteral("Ошибка"), Prompter::Icon::Exclamation);
    return true;
}

QAction *MainWindow::makeAction(const QString &name, const QString &caption, const QKeySequence &shortcut)
{
    auto *a = new QAction(caption, this);
    a->setObjectName(name);
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    m_actions.insert(name, a);
    return a;
}

void MainWindow::buildActions()
{
    connect(makeAction(QStringLiteral("actionNewProject"), QStringLiteral("&Новый проект..."), QKeySequence(Qt::CTRL | Qt::Key_N)),
            &QAction::triggered, this, &MainWindow::newProject);
    connect(makeAction(QStringLiteral("actionOpenProject"), QStringLiteral("&Открыть проект..."), QKeySequence(Qt::CTRL | Qt::Key_O)),
            &QAction::triggered, this, &MainWindow::chooseAndOpenProject);
    connect(makeAction(QStringLiteral("actionSaveProject"), QStringLiteral("&Сохранить проект"), QKeySequence(Qt::CTRL | Qt::Key_S)),
            &QAction::triggered, this, [this] { saveProject(false); });
    connect(makeAction(QStringLiteral("actionSaveProjectAs"), QStringLiteral("Сохранить проект &как...")),
            &QAction::triggered, this, [this] { saveProject(true); });
    connect(makeAction(QStringLiteral("actionProjectProperties"), QStringLiteral("Сво&йства проекта...")),
            &QAction::triggered, this, &MainWindow::editProjectProperties);
    connect(makeAction(QStringLiteral("actionCableLineReport"), QStringLiteral("Сохранить ведомость К&Л..."), QKeySequence(Qt::Key_F2)),
            &QAction::triggered, this, &MainWindow::saveCableLineReport);
    connect(makeAction(QStringLiteral("actionShortCircuitReport"), QStringLiteral("Сохранить ведомость токов К&З..."),
                       QKeySequence(Qt::Key_F3)),
            &QAction::triggered, this, &MainWindow::saveShortCircuitReport);
    connect(makeAction(QStringLiteral("actionFaultCurrentsReport"), QStringLiteral("Сохранить ведомость токов КЗ по &ГОСТ...")),
            &QAction::triggered, this, &MainWindow::saveFaultCurrentsReport);
    connect(makeAction(QStringLiteral("actionProtectionReport"),
                       QStringLiteral("Сохранить ведомость защитных &аппаратов...")),
            &QAction::triggered, this, &MainWindow::saveProtectionReport);
    connect(makeAction(QStringLiteral("actionSelectivityReport"), QStringLiteral("Сохранить ведомость се&лективности...")),
            &QAction::triggered, this, &MainWindow::saveSelectivityReport);
    connect(makeAction(QStringLiteral("actionPrintSelectivityReport"), QStringLiteral("Се&лективность защитных аппаратов...")),
            &QAction::triggered, this, &MainWindow::printSelectivityReport);
    connect(makeAction(QStringLiteral("actionLoadReport"), QStringLiteral("Сохранить расчетную нагрузку &щитов...")),
            &QAction::triggered, this, &MainWindow::saveLoadReport);
    connect(makeAction(QStringLiteral("actionLightingReport"), QStringLiteral("Сохранить светотехнический &расчет...")),
            &QAction::triggered, this, &MainWindow::saveLightingReport);
    connect(makeAction(QStringLiteral("actionNetworkSchemeReport"), QStringLiteral("Сохранить расчетную с&хему сети...")),
            &QAction::triggered, this, &MainWindow::saveNetworkSchemeReport);
    connect(makeAction(QStringLiteral("actionCableJournalReport"), QStringLiteral("Сохранить кабельный &журнал...")),
            &QAction::triggered, this, &MainWindow::saveCableJournalReport);
    connect(makeAction(QStringLiteral("actionPrintCableLineReport"), QStringLiteral("Ведомость &кабельных линий...")),
            &QAction::triggered, this, &MainWindow::printCableLineReport);
    connect(makeAction(QStringLiteral("actionPrintShortCircuitReport"), QStringLiteral("Ведомость токов К&З...")),
            &QAction::triggered, this, &MainWindow::printShortCircuitReport);
    connect(makeAction(QStringLiteral("actionPrintFaultCurrentsReport"), QStringLiteral("Ведомость токов КЗ по &ГОСТ...")),
            &QAction::triggered, this, &MainWindow::printFaultCurrentsReport);
    connect(makeAction(QStringLiteral("actionPrintProtectionReport"), QStringLiteral("Ведомость защитных &аппаратов...")),
            &QAction::triggered, this, &MainWindow::printProtectionReport);
    connect(makeAction(QStringLiteral("actionPrintLoadReport"), QStringLiteral("Расчетная нагрузка &щитов...")),
            &QAction::triggered, this, &MainWindow::printLoadReport);
    connect(makeAction(QStringLiteral("actionPrintLightingReport"), QStringLiteral("Светотехнический &расчет...")),
            &QAction::triggered, this, &MainWindow::printLightingReport);
    connect(makeAction(QStringLiteral("actionPrintNetworkSchemeReport"), QStringLiteral("Расчетная с&хема сети...")),
            &QAction::triggered, this, &MainWindow::printNetworkSchemeReport);
    connect(makeAction(QStringLiteral("actionPrintCableJournalReport"), QStringLiteral("Кабельный &журнал...")),
            &QAction::triggered, this, &MainWindow::printCableJournalReport);
    connect(makeAction(QStringLiteral("actionExit"), QStringLiteral("&Выход"), QKeySequence(Qt::CTRL | Qt::Key_Q)),
            &QAction::triggered, this, &QWidget::close);

    connect(makeAction(QStringLiteral("actionAddLine"), QStringLiteral("&Добавить..."), QKeySequence(Qt::CTRL | Qt::Key_D)),
            &QAction::triggered, this, &MainWindow::addLine);
    connect(makeAction(QStringLiteral("actionChangeLine"), QStringLiteral("&Изменить..."), QKeySequence(Qt::CTRL | Qt::Key_G)),
            &QAction::triggered, this, &MainWindow::changeLine);
    connect(makeAction(QStringLiteral("actionDeleteLine"), QStringLiteral("&Удалить"), QKeySequence(Qt::Key_Delete)),
            &QAction::triggered, this, &MainWindow::deleteLine);
    connect(makeAction(QStringLiteral("actionCopyList"), QStringLiteral("&Копировать в буфер"),
                       QKeySequence(Qt::CTRL | Qt::Key_C)),
            &QAction::triggered, this, &MainWindow::copyLinesToClipboard);
    connect(makeAction(QStringLiteral("actionCheckAll"), QStringLiteral("&Выделить всё"), QKeySequence(Qt::CTRL | Qt::Key_A)),
            &QAction::triggered, this, &MainWindow::checkAllLines);

    connect(makeAction(QStringLiteral("actionRecomputeLines"), QStringLiteral("Пересчитать все линии")),
            &QAction::triggered, this, &MainWindow::recomputeLines);
    connect(makeAction(QStringLiteral("actionMarkPath"), QStringLiteral("Отметить &путь до линии"),
                       QKeySequence(Qt::CTRL | Qt::Key_M)),
            &QAction::triggered, this, [this] { markPathTo(selectedRow()); });

    connect(makeAction(QStringLiteral("actionChooseSubstation"), QStringLiteral("&Выбрать..."), QKeySequence(Qt::CTRL | Qt::Key_T)),
            &QAction::triggered, this, &MainWindow::chooseSubstation);

    connect(makeAction(QStringLiteral("actionLoads"), QStringLiteral("Расчет &нагрузок..."), QKeySequence(Qt::CTRL | Qt::Key_R)),
            &QAction::triggered, this, &MainWindow::showShieldsWindow);
    connect(makeAction(QStringLiteral("actionShortCircuit"), QStringLiteral("Расчет токов &КЗ..."), QKeySequence(Qt::CTRL | Qt::Key_K)),
            &QAction::triggered, this, &MainWindow::showShortCircuitWindow);
    connect(makeAction(QStringLiteral("actionFaultCurrents"), QStringLiteral("Токи КЗ по &ГОСТ 28249-93...")),
            &QAction::triggered, this, &MainWindow::showFaultCurrentsWindow);
    connect(makeAction(QStringLiteral("actionNetwork"), QStringLiteral("С&еть..."), QKeySequence(Qt::CTRL | Qt::Key_E)),
            &QAction::triggered, this, &MainWindow::showNetworkWindow);
    connect(makeAction(QStringLiteral("actionSelectivity"), QStringLiteral("Се&лективность...")), &QAction::triggered,
            this, [this] { showSelectivityWindow(selectedRow()); });
    connect(makeAction(QStringLiteral("actionDiagram"), QStringLiteral("&Однолинейная схема...")),
            &QAction::triggered, this, &MainWindow::showDiagramWindow);
    connect(makeAction(QStringLiteral("actionProtection"), QStringLiteral("Проверка &защитных аппаратов...")),
            &QAction::triggered, this, &MainWindow::showProtectionWindow);
    connect(makeAction(QStringLiteral("actionLighting"), QStringLiteral("Расчет &освещенности..."), QKeySequence(Qt::CTRL | Qt::Key_L)),
            &QAction::triggered, this, &MainWindow::showLightingWindow);
    connect(makeAction(QStringLiteral("actionRooms"), QStringLiteral("Освещение &помещений...")), &QAction::triggered,
            this, &MainWindow::showRoomsWindow);
    connect(makeAction(QStringLiteral("actionCalculator"), QStringLiteral("&Строковый калькулятор"), QKeySequence(Qt::Key_F4)),
            &QAction::triggered, this, &MainWindow::showCalculator);

    connect(makeAction(QStringLiteral("actionOptions"), QStringLiteral("&Настройки..."), QKeySequence(Qt::CTRL | Qt::Key_P)),
            &QAction::triggered, this, &MainWindow::showOptions);
    connect(makeAction(QStringLiteral("actionCheckUpdate"), QStringLiteral("Проверить &обновление"), QKeySequence(Qt::CTRL | Qt::Key_U)),
            &QAction::triggered, this, &MainWindow::checkForUpdate);

    connect(makeAction(QStringLiteral("actionHelp"), QStringLiteral("&Справка..."), QKeySequence(Qt::Key_F1)),
            &QAction::triggered, this, &MainWindow::showHelp);
    connect(makeAction(QStringLiteral("actionTipOfDay"), QStringLiteral("Совет &дня...")), &QAction::triggered, this,
            &MainWindow::showTipOfDay);
    connect(makeAction(QStringLiteral("actionAbout"), QStringLiteral("&О программе...")), &QAction::triggered, this,
            &MainWindow::showAbout);

    // The history names what undo and redo would do ("Отменить удаление линии").
    QAction *undo = m_history->createUndoAction(this, QStringLiteral("&Отменить"));
    undo->setObjectName(QStringLiteral("actionUndo"));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_actions.insert(undo->objectName(), undo);
    QAction *redo = m_history->createRedoAction(this, QStringLiteral("&Повторить"));
    redo->setObjectName(QStringLiteral("actionRedo"));
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    m_actions.insert(redo->objectName(), redo);

    // Shortcuts act in the main window only: never behind a dialog.
    for (QAction *a : std::as_const(m_actions))
        a->setShortcutContext(Qt::WindowShortcut);
}

void MainWindow::buildMenus()
{
    QMenuBar *bar = menuBar();
    fileMenu = bar->addMenu(QStringLiteral("&Файл"));
    fileMenu->setObjectName(QStringLiteral("fileMenu"));
    fileMenu->addAction(action(QStringLiteral("actionNewProject")));
    fileMenu->addAction(action(QStringLiteral("actionOpenProject")));
    fileMenu->addAction(action(QStringLiteral("actionSaveProject")));
    fileMenu->addAction(action(QStringLiteral("actionSaveProjectAs")));
    fileMenu->addAction(action(QStringLiteral("actionProjectProperties")));
    fileMenu->addSeparator();
    fileMenu->addAction(action(QStringLiteral("actionCableLineReport")));
    fileMenu->addAction(action(QStringLiteral("actionShortCircuitReport")));
    fileMenu->addAction(action(QStringLiteral("actionFaultCurrentsReport")));
    fileMenu->addAction(action(QStringLiteral("actionProtectionReport")));
    fileMenu->addAction(action(QStringLiteral("actionSelectivityReport")));
    fileMenu->addAction(action(QStringLiteral("actionLoadReport")));
    fileMenu->addAction(action(QStringLiteral("actionLightingReport")));
    fileMenu->addAction(action(QStringLiteral("actionNetworkSchemeReport")));
    fileMenu->addAction(action(QStringLiteral("actionCableJournalReport")));
    printMenu = fileMenu->addMenu(QStringLiteral("П&ечать"));
    printMenu->setObjectName(QStringLiteral("printMenu"));
    for (const char *name : {"actionPrintCableLineReport", "actionPrintShortCircuitReport", "actionPrintFaultCurrentsReport",
                             "actionPrintProtectionReport", "actionPrintSelectivityReport", "actionPrintLoadReport",
                             "actionPrintLightingReport", "actionPrintNetworkSchemeReport",
                             "actionPrintCableJournalReport"})
        printMenu->addAction(action(QLatin1String(name)));
    m_recentSeparator = fileMenu->addSeparator();
    m_recentSeparator->setObjectName(QStringLiteral("recentSeparator"));
    m_recentSeparator->setVisible(false);
    for (int k = 0; k < 5; ++k) {
        auto *a = new QAction(this);
        a->setObjectName(QStringLiteral("actionRecentFile%1").arg(k));
        a->setVisible(false);
        connect(a, &QAction::triggered, this, [this, a] {
            if (!askSaveProject())
                return;
            openProject(a->text().mid(2));
        });
        fileMenu->addAction(a);
        m_recentActions << a;
    }
    fileMenu->addSeparator();
    fileMenu->addAction(action(QStringLiteral("actionExit")));

    editMenu = bar->addMenu(QStringLiteral("Пр&авка"));
    editMenu->setObjectName(QStringLiteral("editMenu"));
    editMenu->addAction(action(QStringLiteral("actionUndo")));
    editMenu->addAction(action(QStringLiteral("actionRedo")));

    lineMenu = bar->addMenu(QStringLiteral("&Линия"));
    lineMenu->setObjectName(QStringLiteral("lineMenu"));
    lineMenu->addAction(action(QStringLiteral("actionAddLine")));
    lineMenu->addAction(action(QStringLiteral("actionChangeLine")));
    lineMenu->addAction(action(QStringLiteral("actionDeleteLine")));
    lineMenu->addSeparator();
    lineMenu->addAction(action(QStringLiteral("actionCopyList")));
    lineMenu->addAction(action(QStringLiteral("actionCheckAll")));
    lineMenu->addAction(action(QStringLiteral("actionMarkPath")));
    lineMenu->addSeparator();
    lineMenu->addAction(action(QStringLiteral("actionRecomputeLines")));

    QMenu *tp = bar->addMenu(QStringLiteral("&ТП"));
    tp->setObjectName(QStringLiteral("substationMenu"));
    tp->addAction(action(QStringLiteral("actionChooseSubstation")));

    QMenu *calc = bar->addMenu(QStringLiteral("&Расчет"));
    calc->setObjectName(QStringLiteral("calculationMenu"));
    calc->addAction(action(QStringLiteral("actionNetwork")));
    calc->addAction(action(QStringLiteral("actionDiagram")));
    calc->addAction(action(QStringLiteral("actionLoads")));
    calc->addAction(action(QStringLiteral("actionShortCircuit")));
    calc->addAction(action(QStringLiteral("actionFaultCurrents")));
    calc->addAction(action(QStringLiteral("actionProtection")));
    calc->addAction(action(QStringLiteral("actionSelectivity")));
    calc->addAction(action(QStringLiteral("actionLighting")));
    calc->addAction(action(QStringLiteral("actionRooms")));
    calc->addSeparator();
    calc->addAction(action(QStringLiteral("actionCalculator")));

    QMenu *options = bar->addMenu(QStringLiteral("&Опции"));
    options->setObjectName(QStringLiteral("optionsMenu"));
    options->addAction(action(QStringLiteral("actionOptions")));
    options->addSeparator();
    options->addAction(action(QStringLiteral("actionCheckUpdate")));

    QMenu *help = bar->addMenu(QStringLiteral("&Помощь"));
    help->setObjectName(QStringLiteral("helpMenu"));
    help->addAction(action(QStringLiteral("actionHelp")));
    help->addAction(action(QStringLiteral("actionTipOfDay")));
    help->addSeparator();
    help->addAction(action(QStringLiteral("actionAbout")));

    // The tray menu never shows in the menu bar.
    trayMenu = new QMenu(QStringLiteral("Трей"), this);
    trayMenu->setObjectName(QStringLiteral("trayMenu"));
}

void MainWindow::buildToolbar()
{
    toolBar = addToolBar(QStringLiteral("Панель инструментов"));
    toolBar->setObjectName(QStringLiteral("toolBar"));
    toolBar->setMovable(false);
    toolBar->setIconSize(QSize(24, 24));
    struct Button {
        const char *key;
        const char *tip;
        bool separatorBefore;
    };
    static const Button buttons[] = {
        {"NewPrj", "Создать новый проект", false},
        {"OpenPrj", "Открыть проект", false},
        {"SavePrj", "Сохранить проект", false},
        {"Undo", "Отменить", true},
        {"Redo", "Повторить", false},
        {"AddLine", "Добавить линию", true},
        {"ChangeLine", "Изменить линию", false},
        {"DelLine", "Удалить линию", false},
        {"SelTP", "Выбрать ТП", true},
        {"Network", "Сеть", false},
        {"CalcP", "Расчет нагрузок", false},
        {"CalcKZ", "Расчитать токи КЗ", false},
        {"Light", "Расчет освещенности", false},
        {"Calc", "Строковый калькулятор", true},
        {"Prop", "Настройки", false},
        {"ReportKL", "Сохранить ведомость кабельных линий", true},
        {"ReportKZ", "Сохранить ведомость токов КЗ", false},
        {"ReportP", "Сохранить расчетную нагрузку щитов", false},
    };
    for (const Button &b : buttons) {
        if (b.separatorBefore)
            toolBar->addSeparator();
        const QString key = QString::fromLatin1(b.key);
        auto *a = toolBar->addAction(Icons::command(key), QString::fromUtf8(b.tip));
        a->setObjectName(QStringLiteral("tb") + key);
        a->setToolTip(QString::fromUtf8(b.tip));
        a->setData(key);
        connect(a, &QAction::triggered, this, [this, key] { runToolbarKey(key); });
        m_toolActions.insert(key, a);
    }
    // The menu items carry the same pictures.
    static const std::pair<const char *, const char *> menuIcons[] = {
        {"actionNewProject", "NewPrj"}, {"actionOpenProject", "OpenPrj"}, {"actionSaveProject", "SavePrj"},
        {"actionAddLine", "AddLine"}, {"actionChangeLine", "ChangeLine"}, {"actionDeleteLine", "DelLine"},
        {"actionChooseSubstation", "SelTP"}, {"actionNetwork", "Network"}, {"actionLoads", "CalcP"}, {"actionShortCircuit", "CalcKZ"},
        {"actionLighting", "Light"}, {"actionCalculator", "Calc"}, {"actionOptions", "Prop"},
        {"actionCableLineReport", "ReportKL"}, {"actionShortCircuitReport", "ReportKZ"},
        {"actionLoadReport", "ReportP"}, {"actionUndo", "Undo"}, {"actionRedo", "Redo"}};
    for (const auto &[menu, key] : menuIcons)
        action(QString::fromLatin1(menu))->setIcon(Icons::command(QString::fromLatin1(key)));
    printMenu->setIcon(Icons::command(QStringLiteral("Print")));
    // The two history buttons are there while there is something to undo or redo.
    toolButton(QStringLiteral("Undo"))->setEnabled(m_history->canUndo());
    toolButton(QStringLiteral("Redo"))->setEnabled(m_history->canRedo());
    connect(m_history, &QUndoStack::canUndoChanged, toolButton(QStringLiteral("Undo")), &QAction::setEnabled);
    connect(m_history, &QUndoStack::canRedoChanged, toolButton(QStringLiteral("Redo")), &QAction::setEnabled);
    // Their tips say what they would do, as the menu items do.
    for (const auto &[key, tip, signal] :
         {std::tuple{"Undo", "Отменить", &QUndoStack::undoTextChanged}, std::tuple{"Redo", "Повторить", &QUndoStack::redoTextChanged}}) {
        QAction *button = toolButton(QString::fromLatin1(key));
        const QString plain = QString::fromUtf8(tip);
        connect(m_history, signal, button, [button, plain](const QString &text) {
            button->setToolTip(text.isEmpty() ? plain : plain + QLatin1Char(' ') + text);
        });
    }
}

void MainWindow::runToolbarKey(const QString &key)
{
    static const std::pair<const char *, const char *> keys[] = {
        {"NEWPRJ", "actionNewProject"},       {"OPENPRJ", "actionOpenProject"},     {"SAVEPRJ", "actionSaveProject"},
        {"ADDLINE", "actionAddLine"},     {"CHANGELINE", "actionChangeLine"}, {"DELLINE", "actionDeleteLine"},
        {"REPORTKL", "actionCableLineReport"}, {"REPORTKZ", "actionShortCircuitReport"}, {"CALCKZ", "actionShortCircuit"},
        {"LIGHT", "actionLighting"},         {"CALC", "actionCalculator"},     {"PROP", "actionOptions"},
        {"SELTP", "actionChooseSubstation"},         {"CALCP", "actionLoads"},  {"NETWORK", "actionNetwork"},
        {"UNDO", "actionUndo"},                {"REDO", "actionRedo"},           {"REPORTP", "actionLoadReport"}};
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

void MainWindow::buildList()
{
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    lineList = new QTreeView(central);
    lineList->setObjectName(QStringLiteral("lineList"));
    lineList->setRootIsDecorated(false);
    lineList->setItemsExpandable(false);
    lineList->setUniformRowHeights(true);
    lineList->setAllColumnsShowFocus(true);
    lineList->setSelectionMode(QAbstractItemView::SingleSelection);
    lineList->setSelectionBehavior(QAbstractItemView::SelectRows);
    lineList->setAlternatingRowColors(true);
    lineList->setContextMenuPolicy(Qt::CustomContextMenu);
    lineList->setHeader(new WrappingHeader(lineList));
    lineList->header()->setStretchLastSection(false);
    lineList->header()->setSectionsMovable(false);
    m_lineModel = new LineListModel(m_project.lines, this);
    m_lineModel->setHistory(m_history);
    m_lineModel->setIdSource([this] { return m_project.takeLineId(); });
    // Known before the list's selection moves with the rows (see below).
    const auto rowsChanging = [this] { m_rowsChanging = true; };
    const auto rowsChanged = [this] { m_rowsChanging = false; };
    connect(m_lineModel, &QAbstractItemModel::rowsAboutToBeInserted, this, rowsChanging);
    connect(m_lineModel, &QAbstractItemModel::rowsAboutToBeRemoved, this, rowsChanging);
    connect(m_lineModel, &QAbstractItemModel::modelAboutToBeReset, this, rowsChanging);
    connect(m_lineModel, &QAbstractItemModel::rowsInserted, this, rowsChanged);
    connect(m_lineModel, &QAbstractItemModel::rowsRemoved, this, rowsChanged);
    connect(m_lineModel, &QAbstractItemModel::modelReset, this, rowsChanged);
    lineList->setModel(m_lineModel);
    lineList->viewport()->installEventFilter(this);
    layout->addWidget(lineList);
    setCentralWidget(central);

    connect(m_lineModel, &LineListModel::checkChanged, this, &MainWindow::onCheckChanged);
    // The commands that act on a line are there while the list has one.
    const auto followRowCount = [this] { setLineCommandsEnabled(m_lineModel->rowCount() > 0); };
    connect(m_lineModel, &QAbstractItemModel::rowsInserted, this, followRowCount);
    connect(m_lineModel, &QAbstractItemModel::rowsRemoved, this, followRowCount);
    connect(m_lineModel, &QAbstractItemModel::modelReset, this, followRowCount);
    // Columns without a stored width fit what the list holds (an opened
    // project, a line added or changed); a column the user has sized keeps its width.
    connect(m_lineModel, &QAbstractItemModel::modelReset, this, &MainWindow::fitColumns);
    connect(m_lineModel, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) { widenColumnsFor(first, last); });
    connect(m_lineModel, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &from, const QModelIndex &to) { widenColumnsFor(from.row(), to.row()); });
    connect(lineList->header(), &QHeaderView::sectionResized, this, [this](int column) {
        if (!m_fittingColumns)
            m_fittedColumns.remove(column);
    });
    connect(lineList, &QWidget::customContextMenuRequested, this, &MainWindow::onListContextMenu);
    // A double-click opens the line for change; on the check box it only checks.
    connect(lineList, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &) {
        if (std::exchange(m_doubleClickOnCheckBox, false))
            return;
        if (action(QStringLiteral("actionChangeLine"))->isEnabled())
            changeLine();
    });
    // What undo and redo change shows in the summary as every edit does.
    connect(m_history, &QUndoStack::indexChanged, this, [this] {
        m_shieldsWindowStale = true;
        summarizeNetwork();
        refreshNetworkWindow();
    });
    connect(m_history, &QUndoStack::cleanChanged, this, &MainWindow::updateCaption);
    // The network window follows the list's selection, but not while rows
    // come and go: it catches up when it shows the change.
    connect(lineList->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (m_networkWindow && !m_followingNetworkWindow && !m_rowsChanging)
            m_networkWindow->selectLine(selectedRow());
        if (m_diagramWindow && !m_rowsChanging)
            m_diagramWindow->selectLine(selectedRow());
    });

}

void MainWindow::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    bar->setSizeGripEnabled(true);
    m_panel1 = new ProgressPanel(bar);
    statusPanel1 = m_panel1->label();
    statusPanel1->setObjectName(QStringLiteral("statusPanel1"));
    progressBar = m_panel1->bar();
    progressBar->setObjectName(QStringLiteral("progressBar"));
    m_panel1->setMinimumWidth(twipsToPixelsX(3300, this));
    statusPanel2 = new QLabel(bar);
    statusPanel2->setObjectName(QStringLiteral("statusPanel2"));
    statusPanel2->setMinimumWidth(10);
    statusPanel2->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar->addWidget(m_panel1);
    bar->addWidget(statusPanel2, 1);
}

void MainWindow::applyColumnWidths()
{
    const IniDocument ini = m_context.settings().read();
    m_fittedColumns.clear();
    for (int c = 0; c < kColumns; ++c) {
        const QString stored = ini.value(QStringLiteral("MainWindow"), QStringLiteral("ColumnWidth") + QString::number(c + 1));
        if (const auto v = NumberText::parse(stored); v && *v >= 0 && *v < 1e6)
            lineList->setColumnWidth(c, qMax(0, twipsToPixelsX(*v, this)));
        else
            m_fittedColumns.insert(c);
    }
    fitColumns();
}

// A column without a stored width fits its header and the widest of the first
// rows; the last one takes what the others leave of the list.
void MainWindow::fitColumns()
{
    if (m_fittedColumns.isEmpty())
        return;
    QScopedValueRollback fitting(m_fittingColumns, true);
    for (int c = 0; c < kColumns; ++c)
        if (m_fittedColumns.contains(c))
            lineList->resizeColumnToContents(c);
    fillLastColumn(lineList->columnWidth(kColumns - 1));
}

// The last column, when fitted, takes what the others leave of the list, at least `fit`.
void MainWindow::fillLastColumn(int fit)
{
    const int last = kColumns - 1;
    if (!m_fittedColumns.contains(last))
        return;
    QScopedValueRollback fitting(m_fittingColumns, true);
    int others = 0;
    for (int c = 0; c < last; ++c)
        others += lineList->columnWidth(c);
    // The list is the window less 120 twips; the last column leaves 100 twips of it.
    const int listWidth = twipsToPixelsX(pixelsToTwipsX(width(), this) - 120 - 100, this);
    lineList->setColumnWidth(last, qMax(fit, listWidth - others));
}

// A line added or changed widens a fitted column that is too narrow for it;
// of a long run of rows (check all) the first ones stand for the rest.
void MainWindow::widenColumnsFor(int first, int last)
{
    if (m_fittedColumns.isEmpty() || first < 0)
        return;
    constexpr int kRowsMeasured = 8;
    last = qMin(last, first + kRowsMeasured - 1);
    QScopedValueRollback fitting(m_fittingColumns, true);
    bool widened = false;
    int lastFit = 0;
    for (int c = 0; c < kColumns; ++c) {
        if (!m_fittedColumns.contains(c))
            continue;
        int needed = 0;
        for (int r = first; r <= last; ++r)
            needed = qMax(needed, lineList->sizeHintForIndex(m_lineModel->index(r, c)).width());
        if (c == kColumns - 1) {
            lastFit = qMax(needed, lineList->header()->sectionSizeHint(c));
        } else if (needed > lineList->columnWidth(c)) {
            lineList->setColumnWidth(c, needed);
            widened = true;
        }
    }
    if (widened || lastFit > lineList->columnWidth(kColumns - 1))
        fillLastColumn(lastFit);
}

void MainWindow::updateCaption()
{
    // "*" after the name while the history holds changes not yet saved.
    const bool modified = m_history && !m_history->isClean();
    setWindowTitle(Version::caption(modified ? m_project.projectName + QLatin1Char('*') : m_project.projectName));
}

void MainWindow::summarizeNetwork()
{
    const SummaryText s = Network::summarize(m_project.lines, m_context.calc.maxVoltageDrop);
    statusPanel1->setText(s.panel1);
    statusPanel2->setText(s.panel2);
    // Lines fed by the network that now carry more than they may stand out
    // in the list, as in the network window.
    m_lineModel->setNetworkOverloads(Network::overloadedFromNetwork(
        m_project, Network::computeLoads(m_project, Network::Tree::build(m_project.lines))));
}

// Every change of the project is a step of the history, or replaces the
// project, or changes the options: the network window follows those.
void MainWindow::followNetworkLoads(const QString &what)
{
    QVector<CableLine> lines = m_project.lines;
    const int taken = Network::takeNetworkLoads(m_project, lines, m_context.appDir(), m_context.calc);
    if (taken == 0)
        return;
    m_lineModel->replaceLines(lines, what);
    summarizeNetwork();
    statusBar()->showMessage(Network::takenLoadsMessage(taken));
}

void MainWindow::refreshNetworkWindow()
{
    if (m_diagramWindow && m_diagramWindow->isVisible())
        m_diagramWindow->refresh();
    if (!m_networkWindow || !m_networkWindow->isVisible())
        return;
    m_networkWindow->refresh();
    m_networkWindow->selectLine(selectedRow(), false);
}

void MainWindow::setLineCommandsEnabled(bool enabled)
{
    for (const char *name :
         {"actionChangeLine", "actionDeleteLine", "actionCopyList", "actionCheckAll", "actionMarkPath", "actionRecomputeLines"})
        action(QString::fromLatin1(name))->setEnabled(enabled);
    toolButton(QStringLiteral("ChangeLine"))->setEnabled(enabled);
    toolButton(QStringLiteral("DelLine"))->setEnabled(enabled);
}

int MainWindow::selectedRow() const
{
    const QModelIndexList rows = lineList->selectionModel()->selectedRows();
    if (!rows.isEmpty())
        return rows.first().row();
    const QModelIndex current = lineList->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void MainWindow::selectRow(int row)
{
    if (row < 0 || row >= m_lineModel->rowCount())
        return;
    const QModelIndex idx = m_lineModel->index(row, 0);
    lineList->selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void MainWindow::onCheckChanged(int)
{
    summarizeNetwork();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The list tells of a double-click only after it happened; whether it
    // fell on a check box is known here, before.
    if (watched == lineList->viewport() && event->type() == QEvent::MouseButtonDblClick)
        m_doubleClickOnCheckBox =
            isOnCheckBox(*lineList, static_cast<QMouseEvent *>(event)->position().toPoint());
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::onListContextMenu(const QPoint &pos)
{
    const int rows = m_lineModel->rowCount();
    if (rows > 0) {
        QModelIndex idx = lineList->indexAt(pos);
        if (!idx.isValid()) {
            // Just below the last row still takes it.
            const QRect last = lineList->visualRect(m_lineModel->index(rows - 1, 0));
            if (pos.y() >= last.top() && pos.y() <= last.top() + twipsToPixelsY(255, this))
                idx = m_lineModel->index(rows - 1, 0);
        }
        if (idx.isValid())
            selectRow(idx.row());
    }
    lineMenu->popup(lineList->viewport()->mapToGlobal(pos));
}

void MainWindow::deleteLine()
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
    // The lines that started at its end start where it started.
    m_lineModel->removeLine(row, Network::reattachedOnDelete(m_project.lines, Network::Tree::build(m_project.lines), row));
    summarizeNetwork();
}

namespace {

// A line computed from its texts alone kept its permissible current, a
// line with damaged values was left as it was: neither was recomputed.
QString recomputeStatusText(const LineEntry::RecomputeResult &result)
{
    return QStringLiteral("Пересчитано линий: ") + QString::number(result.recomputed - result.withoutTable)
           + QStringLiteral("; не удалось пересчитать: ")
           + QString::number(result.withoutInputs + result.withoutTable + result.skipped.size());
}

} // namespace

void MainWindow::markPathTo(int row)
{
    if (row < 0 || row >= m_project.lines.size())
        return;
    m_lineModel->replaceLines(Network::markedPath(m_project.lines, Network::Tree::build(m_project.lines), row),
                              QStringLiteral("отметку пути до линии"));
    summarizeNetwork();
}

NetworkWindow *MainWindow::networkWindow() const
{
    return m_networkWindow.data();
}

void MainWindow::showNetworkWindow()
{
    if (!m_networkWindow) {
        auto *w = new NetworkWindow(m_project, m_context, m_prompter, this);
        connect(w, &NetworkWindow::lineSelected, this, [this](int line) {
            const QScopedValueRollback following(m_followingNetworkWindow, true);
            selectRow(line);
        });
        connect(w, &NetworkWindow::changeRequested, this, [this](int line) {
            {
                const QScopedValueRollback following(m_followingNetworkWindow, true);
                selectRow(line);
            }
            changeLine();
        });
        connect(w, &NetworkWindow::markPathRequested, this, &MainWindow::markPathTo);
        connect(w, &NetworkWindow::selectivityRequested, this, &MainWindow::showSelectivityWindow);
        m_networkWindow = w;
    } else {
        m_networkWindow->refresh();
    }
    m_networkWindow->selectLine(selectedRow());
    m_networkWindow->show();
    m_networkWindow->raise();
    m_networkWindow->activateWindow();
}

DiagramWindow *MainWindow::diagramWindow() const
{
    return m_diagramWindow.data();
}

void MainWindow::showDiagramWindow()
{
    if (!m_diagramWindow) {
        auto *w = new DiagramWindow(m_project, m_context, m_prompter, this);
        connect(w, &DiagramWindow::lineSelected, this, [this](int line) { selectRow(line); });
        connect(w, &DiagramWindow::changeRequested, this, [this](int line) {
            selectRow(line);
            changeLine();
        });
        m_diagramWindow = w;
    } else {
        m_diagramWindow->refreshNow();
    }
    m_diagramWindow->selectLine(selectedRow());
    m_diagramWindow->show();
    m_diagramWindow->raise();
    m_diagramWindow->activateWindow();
}

void MainWindow::recomputeLines()
{
    if (m_lineModel->rowCount() == 0)
        return;
    // Computed on a copy and handed to the list as one change, which the
    // history keeps for the lines that came out differently.
    QVector<CableLine> lines = m_project.lines;
    const LineEntry::RecomputeResult result = LineEntry::recomputeLines(lines, m_context.appDir(), m_context.calc);
    Network::takeNetworkLoads(m_project, lines, m_context.appDir(), m_context.calc);
    m_lineModel->replaceLines(lines, QStringLiteral("пересчет всех линий"));
    summarizeNetwork();
    statusPanel2->setText(recomputeStatusText(result));
    for (const QString &problem : result.problems)
        m_prompter.message(problem, QString(), Prompter::Icon::Critical);
    const QString message = LineEntry::recomputeMessage(result);
    if (!message.isEmpty())
        m_prompter.message(message, QString(),
                           result.skipped.isEmpty() ? Prompter::Icon::Information : Prompter::Icon::Exclamation);
}

void MainWindow::copyLinesToClipboard()
{
    copyListToClipboard(*m_lineModel);
}

void MainWindow::checkAllLines()
{
    // Checking row by row ends in the same summary as running it once at the end.
    m_lineModel->checkAll();
    if (m_lineModel->rowCount() > 0)
        summarizeNetwork();
}

void MainWindow::showHelp()
{
    for (const char *name : {"\\Справка.chm", "\\Справка.html"}) {
        const QString path = DataFiles::joinEntry(m_context.appDir(), QString::fromUtf8(name));
        if (QFileInfo::exists(path)) {
            m_guideViewer->open(path);
            return;
        }
    }
    m_prompter.message(QStringLiteral("Файл справки не найден!"), QString(), Prompter::Icon::Critical);
}

// Commands whose windows live in their own subsystems.
void MainWindow::addLine()
{
    if (!m_lineDialog)
        m_lineDialog = std::make_unique<CableLineDialog>(*m_lineModel, m_project, m_context, m_prompter, false, this);
    m_lineDialog->exec();
    if (m_lineDialog && m_lineDialog->isUnloaded())
        m_lineDialog.reset();
    summarizeNetwork();
    followNetworkLoads(QStringLiteral("пересчет по нагрузкам сети"));
}

void MainWindow::changeLine()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    // A dialog hidden in add mode is taken over; change mode always ends with it.
    if (!m_lineDialog)
        m_lineDialog = std::make_unique<CableLineDialog>(*m_lineModel, m_project, m_context, m_prompter, true, this);
    m_lineDialog->changeMode = true;
    m_lineDialog->fillFromRow(row);
    m_lineDialog->exec();
    if (m_lineDialog && m_lineDialog->isUnloaded())
        m_lineDialog.reset();
    summarizeNetwork();
    followNetworkLoads(QStringLiteral("пересчет по нагрузкам сети"));
}
namespace {

// What the substation dialog changes: the data as typed and what it derives from them.
struct SubstationState {
    SubstationData data;
    double Rt = 0;
    double Xt = 0;
    double Zt = 0;
    double Rnet = 0;
    bool operator==(const SubstationState &) const = default;
};

SubstationState substationState(const Project &project)
{
    return {project.substation(), project.Rt, project.Xt, project.Zt, project.Rnet};
}

void restoreSubstation(Project &project, const SubstationState &state)
{
    project.setSubstation(state.data);
    project.Rt = state.Rt;
    project.Xt = state.Xt;
    project.Zt = state.Zt;
    project.Rnet = state.Rnet;
}

// What a window did to the substation's data since `before`, as one edit.
void recordSubstationEdit(QUndoStack *history, Project &project, const SubstationState &before)
{
    const SubstationState after = substationState(project);
    if (after == before)
        return;
    Project *p = &project;
    RecordedEdit::record(
        history, QStringLiteral("изменение данных ТП"), [p, before] { restoreSubstation(*p, before); },
        [p, after] { restoreSubstation(*p, after); });
}

} // namespace

void MainWindow::chooseSubstation()
{
    const SubstationState before = substationState(m_project);
    SubstationDialog dialog(m_project, m_context, m_prompter, this);
    dialog.exec();
    recordSubstationEdit(m_history, m_project, before);
}

void MainWindow::showFaultCurrentsWindow()
{
    if (!haveTransformer())
        return;
    // A calculation takes the window's inputs into the substation's data.
    const SubstationState before = substationState(m_project);
    withReportWriter([&](ReportWriter &writer) {
        FaultCurrentsWindow window(m_project, m_context, m_prompter, writer, this);
        window.exec();
    });
    recordSubstationEdit(m_history, m_project, before);
}

void MainWindow::showShortCircuitWindow()
{
    if (!haveTransformer())
        return;
    const auto chained = checkedPathProject();
    if (!chained)
        return;
    ShortCircuitWindow dialog(*chained, m_context.calc, this);
    dialog.exec();
}

std::optional<Project> MainWindow::checkedPathProject()
{
    QString message;
    auto chained = Network::checkedPathProject(m_project, &message);
    if (!chained)
        m_prompter.message(message, QString(), Prompter::Icon::Exclamation);
    return chained;
}
void MainWindow::showLightingWindow()
{
    LightingWindow dialog(m_context, m_prompter, this);
    dialog.exec();
}
void MainWindow::showOptions()
{
    OptionsDialog dialog(m_context, m_prompter, this);
    followOptions(dialog);
    dialog.exec();
}

void MainWindow::followOptions(OptionsDialog &dialog)
{
    connect(&dialog, &OptionsDialog::applied, this, [this](bool showInTray) {
        if (showInTray)
            addTrayIcon();
        else
            removeTrayIcon();
        summarizeNetwork();
        refreshNetworkWindow();
    });
}
void MainWindow::checkForUpdate()
{
    // One check at a time: the command waits for the site with the interface alive.
    if (m_update->isRunning())
        return;
    const IniDocument settings = m_context.settings().read();
    QAction *menuItems[] = {action(QStringLiteral("actionCheckUpdate")), action(QStringLiteral("actionTrayCheckUpdate"))};
    for (QAction *a : menuItems)
        a->setEnabled(false);
    m_update->setTimeoutMs(qint64(UpdateSite::timeoutSeconds(settings)) * 1000);
    m_update->run(UpdateSite::siteAddress(settings), statusPanel2, m_siteVersion);
    for (QAction *a : menuItems)
        a->setEnabled(true);
}
void MainWindow::showTipOfDay()
{
    TipDialog dialog(m_context, m_prompter, this);
    dialog.exec();
}
void MainWindow::showAbout()
{
    AboutDialog dialog(UpdateSite::siteAddress(m_context.settings().read()), this);
    dialog.exec();
}
void MainWindow::refreshTransformerValues()
{
    Transformer::reportTableProblem(Transformer::updateProjectValues(m_project, m_context.appDir(), m_context.calc),
                                    m_prompter);
}

// The shields window is built on first use from the project's shields and
// only hidden when closed; discardShieldsWindow() drops it with the project.
void MainWindow::showShieldsWindow()
{
    auto *w = qobject_cast<ShieldsWindow *>(m_shieldsWindow.data());
    if (!w) {
        w = new ShieldsWindow(m_context, m_prompter, m_project, this);
        w->setHistory(m_history);
        m_shieldsWindow = w;
    } else if (m_shieldsWindowStale) {
        w->showProjectShields(m_project.currentShield);
    }
    m_shieldsWindowStale = false;
    w->exec();
    // The loads may have changed: the lines feeding them follow.
    followNetworkLoads(QStringLiteral("пересчет по нагрузкам сети"));
}

// The calculator does not block the main window; a second call brings the open one forward.
void MainWindow::showCalculator()
{
    if (!m_calculatorWindow) {
        auto *w = new CalculatorWindow(m_prompter, this);
        w->setAttribute(Qt::WA_DeleteOnClose); // closing discards the results
        m_calculatorWindow = w;
    }
    m_calculatorWindow->show();
    m_calculatorWindow->raise();
    m_calculatorWindow->activateWindow();
}

void MainWindow::writeSettings()
{
    m_context.settings().update(m_prompter, [this](IniDocument &ini) {
        writeRecentFiles(ini);
        m_context.folders.store(ini);
        m_context.calc.store(ini);
        for (int c = 0; c < 10; ++c)
            ini.setValue(QStringLiteral("MainWindow"), QStringLiteral("ColumnWidth") + QString::number(c + 1),
                         QString::number(qRound(pixelsToTwipsX(lineList->columnWidth(c), this))));
        saveWindowGeometry(ini);
    });
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_unloaded && !askSaveProject()) {
        event->ignore();
        return;
    }
    if (!m_unloaded) {
        m_unloaded = true;
        writeSettings();
        // The line dialog writes its mark lists back when it unloads.
        if (m_lineDialog) {
            m_lineDialog->unload();
            m_lineDialog.reset();
        }
        removeTrayIcon();
    }
    // Every other window of the program closes with the main window.
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible())
            w->close();
    event->accept();
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    // Esc closes as the window's close box does, with the save question.
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void MainWindow::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    if (m_firstPaintPending) {
        m_firstPaintPending = false;
        QTimer::singleShot(0, this, &MainWindow::firstPaint);
    }
}

void MainWindow::firstPaint()
{
    if (!Startup::readFlag(m_context.settings().read(), Startup::ShowTips))
        return;
    // Modal over the window, but not run from inside the paint handling.
    auto *tip = new TipDialog(m_context, m_prompter, this);
    tip->setAttribute(Qt::WA_DeleteOnClose);
    tip->open();
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Hidden after the state change has settled, not inside it.
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        QTimer::singleShot(0, this, &MainWindow::minimiseToTray);
}
