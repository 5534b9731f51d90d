// The main window driven offscreen: caption, commands, check marks, delete, copy, closing.
#include "TestSupport.h"
#include "ui/about/GuideViewer.h"
#include "base/AppContext.h"
#include "base/DataFileRegistry.h"
#include "base/IniStore.h"
#include "base/ProjectFile.h"
#include "base/TextFile.h"
#include "ui/lines/CableLineDialog.h"
#include "ui/lines/LineListModel.h"
#include "calc/lines/NetworkSummary.h"
#include "calc/loads/LoadCalc.h"
#include "ui/loads/LoadListModel.h"
#include "ui/loads/ShieldsWindow.h"
#include "shell/MainWindow.h"
#include "ui/shortcircuit/FaultCurrentsWindow.h"
#include "ui/shortcircuit/SubstationDialog.h"
#include "shell/QtTranslation.h"
#include "ui/widgets/EditHistory.h"
#include "ui/widgets/WidgetHelpers.h"

#include <QAbstractItemView>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QDirIterator>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeView>
#include <QTabBar>
#include <QTreeWidget>
#include <QUndoStack>
#include <QtTest>

namespace {

CableLine makeLine(const QString &name, const QString &dU, const QString &ikab = QStringLiteral("10"),
                   const QString &idop = QStringLiteral("25"))
{
    CableLine l;
    l.name = name;
    l.cells = QStringList{QStringLiteral("ВВГ"), QStringLiteral("3x2,5"), QStringLiteral("Медь"), QStringLiteral("100"),
                          QStringLiteral("712"), ikab, idop, dU, QStringLiteral("220")};
    return l;
}

struct Fixture {
    TestAppDir app;
    AppContext context{app.path()};
    ScriptedPrompter prompter;
    std::unique_ptr<MainWindow> window;
    Fixture()
    {
        MainWindow::runStartupCheck(context, prompter);
        window = std::make_unique<MainWindow>(context, prompter);
    }
    void addLine(const CableLine &line)
    {
        window->lineModel()->appendLine(line);
        window->setLineCommandsEnabled(true);
    }
};

const char *const kLineCommands[] = {"actionChangeLine", "actionDeleteLine", "actionCopyList", "actionCheckAll"};

// What undo and redo answer for: all the project holds, the window's own state aside.
struct ProjectData {
    QVector<CableLine> lines;
    QVector<Shield> shields;
    SubstationData substation;
    double Rt, Xt, Zt, Rnet;
    bool operator==(const ProjectData &) const = default;
};

ProjectData dataOf(const Project &p)
{
    return {p.lines, p.shields, p.substation(), p.Rt, p.Xt, p.Zt, p.Rnet};
}

// Runs `body` on the modal window that `trigger` opens, once it is up (the
// mouse events of a trigger may run the event loop before it opens). A body
// that stops early still leaves the window closed.
void onModal(const std::function<void(QWidget *)> &body, const std::function<void()> &trigger)
{
    bool seen = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QPointer<QWidget> modal = QApplication::activeModalWidget();
        if (!modal || seen)
            return;
        seen = true;
        poll.stop();
        body(modal);
        if (modal && modal->isVisible())
            modal->close();
    });
    poll.start();
    trigger();
    poll.stop();
    QVERIFY(seen);
}

// A double-click as the system delivers it: press, release, the double-click, release.
void doubleClick(QWidget *widget, const QPoint &pos)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, pos);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, pos);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, pos);
}

Load makeLoad(const QString &name, const QString &power, const QString &phase)
{
    return LoadCalc::computeLoad(LoadCalc::LoadInput{name, power, QStringLiteral("0,9"), QStringLiteral("0,8"), false, phase,
                                                     QStringLiteral("1")},
                                 2);
}

} // namespace

class TstMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void startupState();
    void menusAndShortcuts();
    void toolbarOrderAndTips();
    void checkMakesBoldAndSums();
    void checkAll();
    void historyKeepsTheNewestSteps();
    void deleteOnlyRowDisablesCommands();
    void deleteAnsweredNo();
    void copyToClipboard();
    void copyEmptyList();
    void columnWidthsFitThenStored();
    void missingHelpFile();
    void closeAndEscAsk();
    void shortcutsNeverActBehindADialog();
    void missingDataFilesReported();
    void installedProgramWritesOnlyUserFolders();
    void installedWithoutWritableUserFolders_data();
    void installedWithoutWritableUserFolders();
    void unreadableSettingsToldAtStart();
    void guideOpensInOwnWindowWhenSystemCannot_data();
    void guideOpensInOwnWindowWhenSystemCannot();
    void standardDialogsInRussian();
    void undoAndRedoEveryEdit();
    void doubleClickChangesOrOnlyChecks();
};

void TstMainWindow::startupState()
{
    Fixture f;
    QCOMPARE(f.window->windowTitle(), QStringLiteral("[Проект 1] - Кабинор 3.2"));
    QCOMPARE(f.window->projectName(), QStringLiteral("Проект 1"));
    QCOMPARE(f.window->projectFolder(), f.app.path() + QLatin1Char('/'));
    QCOMPARE(f.window->statusPanel1->text(), QStringLiteral("Нажмите F1 для получения справки"));
    QCOMPARE(f.window->statusPanel2->text(), QString());
    for (const char *name : kLineCommands)
        QVERIFY2(!f.window->action(QString::fromLatin1(name))->isEnabled(), name);
    QVERIFY(!f.window->toolButton(QStringLiteral("ChangeLine"))->isEnabled());
    QVERIFY(!f.window->toolButton(QStringLiteral("DelLine"))->isEnabled());
    QVERIFY(f.window->action(QStringLiteral("actionAddLine"))->isEnabled());
    // The settings file was created empty by the start-up check.
    QVERIFY(QFile::exists(f.app.settingsPath()));
}

void TstMainWindow::menusAndShortcuts()
{
    Fixture f;
    const struct {
        const char *name;
        const char *caption;
        QKeySequence keys;
    } items[] = {
        {"actionNewProject", "&Новый проект...", QKeySequence(QStringLiteral("Ctrl+N"))},
        {"actionOpenProject", "&Открыть проект...", QKeySequence(QStringLiteral("Ctrl+O"))},
        {"actionSaveProject", "&Сохранить проект", QKeySequence(QStringLiteral("Ctrl+S"))},
        {"actionSaveProjectAs", "Сохранить проект &как...", QKeySequence()},
        {"actionProjectProperties", "Сво&йства проекта...", QKeySequence()},
        {"actionCableLineReport", "Сохранить ведомость К&Л...", QKeySequence(QStringLiteral("F2"))},
        {"actionShortCircuitReport", "Сохранить ведомость токов К&З...", QKeySequence(QStringLiteral("F3"))},
        {"actionLoadReport", "Сохранить расчетную нагрузку &щитов...", QKeySequence()},
        {"actionPrintCableLineReport", "Ведомость &кабельных линий...", QKeySequence()},
        {"actionPrintShortCircuitReport", "Ведомость токов К&З...", QKeySequence()},
        {"actionPrintLoadReport", "Расчетная нагрузка &щитов...", QKeySequence()},
        {"actionLightingReport", "Сохранить светотехнический &расчет...", QKeySequence()},
        {"actionPrintLightingReport", "Светотехнический &расчет...", QKeySequence()},
        {"actionNetworkSchemeReport", "Сохранить расчетную с&хему сети...", QKeySequence()},
        {"actionPrintNetworkSchemeReport", "Расчетная с&хема сети...", QKeySequence()},
        {"actionCableJournalReport", "Сохранить кабельный &журнал...", QKeySequence()},
        {"actionPrintCableJournalReport", "Кабельный &журнал...", QKeySequence()},
        {"actionUndo", "&Отменить", QKeySequence(QStringLiteral("Ctrl+Z"))},
        {"actionRedo", "&Повторить", QKeySequence(QStringLiteral("Ctrl+Y"))},
        {"actionExit", "&Выход", QKeySequence(QStringLiteral("Ctrl+Q"))},
        {"actionAddLine", "&Добавить...", QKeySequence(QStringLiteral("Ctrl+D"))},
        {"actionChangeLine", "&Изменить...", QKeySequence(QStringLiteral("Ctrl+G"))},
        {"actionDeleteLine", "&Удалить", QKeySequence(QStringLiteral("Del"))},
        {"actionCopyList", "&Копировать в буфер", QKeySequence(QStringLiteral("Ctrl+C"))},
        {"actionCheckAll", "&Выделить всё", QKeySequence(QStringLiteral("Ctrl+A"))},
        {"actionChooseSubstation", "&Выбрать...", QKeySequence(QStringLiteral("Ctrl+T"))},
        {"actionLoads", "Расчет &нагрузок...", QKeySequence(QStringLiteral("Ctrl+R"))},
        {"actionShortCircuit", "Расчет токов &КЗ...", QKeySequence(QStringLiteral("Ctrl+K"))},
        {"actionLighting", "Расчет &освещенности...", QKeySequence(QStringLiteral("Ctrl+L"))},
        {"actionRooms", "Освещение &помещений...", QKeySequence()},
        {"actionSelectivity", "Се&лективность...", QKeySequence()},
        {"actionSelectivityReport", "Сохранить ведомость се&лективности...", QKeySequence()},
        {"actionPrintSelectivityReport", "Се&лективность защитных аппаратов...", QKeySequence()},
        {"actionCalculator", "&Строковый калькулятор", QKeySequence(QStringLiteral("F4"))},
        {"actionOptions", "&Настройки...", QKeySequence(QStringLiteral("Ctrl+P"))},
        {"actionCheckUpdate", "Проверить &обновление", QKeySequence(QStringLiteral("Ctrl+U"))},
        {"actionHelp", "&Справка...", QKeySequence(QStringLiteral("F1"))},
        {"actionTipOfDay", "Совет &дня...", QKeySequence()},
        {"actionAbout", "&О программе...", QKeySequence()},
    };
    for (const auto &item : items) {
        QAction *a = f.window->action(QString::fromLatin1(item.name));
        QVERIFY2(a, item.name);
        QCOMPARE(a->text(), QString::fromUtf8(item.caption));
        QCOMPARE(a->shortcut(), item.keys);
    }
    QStringList titles;
    for (QAction *a : f.window->menuBar()->actions())
        titles << a->text();
    QCOMPARE(titles, (QStringList{"&Файл", "Пр&авка", "&Линия", "&ТП", "&Расчет", "&Опции", "&Помощь"}));
    QStringList printed;
    for (QAction *a : f.window->printMenu->actions())
        printed << a->objectName();
    QCOMPARE(printed, (QStringList{"actionPrintCableLineReport", "actionPrintShortCircuitReport", "actionPrintFaultCurrentsReport",
                                   "actionPrintProtectionReport", "actionPrintSelectivityReport", "actionPrintLoadReport",
                                   "actionPrintLightingReport", "actionPrintNetworkSchemeReport",
                                   "actionPrintCableJournalReport"}));
    // The recent-file items and their separator are hidden while the list is empty.
    QAction *recentSeparator = f.window->findChild<QAction *>(QStringLiteral("recentSeparator"));
    QVERIFY(recentSeparator && !recentSeparator->isVisible());
}

void TstMainWindow::toolbarOrderAndTips()
{
    Fixture f;
    QStringList keys;
    QStringList tips;
    int changeLinePosition = -1;
    const QList<QAction *> actions = f.window->toolBar->actions();
    for (int i = 0; i < actions.size(); ++i) {
        if (actions.at(i)->isSeparator())
            continue;
        keys << actions.at(i)->data().toString();
        tips << actions.at(i)->toolTip();
        if (keys.last() == QLatin1String("ChangeLine"))
            changeLinePosition = i + 1;
    }
    QCOMPARE(keys, (QStringList{"NewPrj", "OpenPrj", "SavePrj", "Undo", "Redo", "AddLine", "ChangeLine", "DelLine", "SelTP",
                                "Network", "CalcP", "CalcKZ", "Light", "Calc", "Prop", "ReportKL", "ReportKZ", "ReportP"}));
    QCOMPARE(tips.at(3), QStringLiteral("Отменить"));
    QCOMPARE(tips.at(9), QStringLiteral("Сеть"));
    QCOMPARE(tips.at(11), QStringLiteral("Расчитать токи КЗ"));
    QCOMPARE(tips.at(15), QStringLiteral("Сохранить ведомость кабельных линий"));
    QCOMPARE(changeLinePosition, 9); // the separators after "SavePrj" and "Redo" count as entries
}

void TstMainWindow::checkMakesBoldAndSums()
{
    Fixture f;
    f.addLine(makeLine(QStringLiteral("Линия №1"), QStringLiteral("1,5"), QStringLiteral("30"), QStringLiteral("25")));
    f.addLine(makeLine(QStringLiteral("Линия №2"), QStringLiteral("6,2"), QStringLiteral("10"), QStringLiteral("19")));
    LineListModel *m = f.window->lineModel();
    QVERIFY(!m->index(0, 3).data(Qt::FontRole).value<QFont>().bold());

    QVERIFY(m->setData(m->index(0, 0), Qt::Checked, Qt::CheckStateRole));
    for (int c = 0; c < 10; ++c)
        QVERIFY(m->index(0, c).data(Qt::FontRole).value<QFont>().bold());
    QVERIFY(!m->index(1, 0).data(Qt::FontRole).value<QFont>().bold());
    QCOMPARE(f.window->statusPanel1->text(), QStringLiteral("Суммарное падение напряжения: 1,5%"));
    QVERIFY(f.window->statusPanel2->text().endsWith(QStringLiteral("''Линия №1'' ")));

    m->setData(m->index(1, 0), Qt::Checked, Qt::CheckStateRole);
    QCOMPARE(f.window->statusPanel1->text(), QStringLiteral("Суммарное падение напряжения: 7,7%"));
    QVERIFY(f.window->statusPanel2->text().endsWith(QStringLiteral("превышают 7,5%!")));

    m->setData(m->index(0, 0), Qt::Unchecked, Qt::CheckStateRole);
    QVERIFY(!m->index(0, 0).data(Qt::FontRole).value<QFont>().bold());
    QCOMPARE(f.window->statusPanel1->text(), QStringLiteral("Суммарное падение напряжения: 6,2%"));
    QCOMPARE(f.window->statusPanel2->text(), QString());
    QVERIFY(f.window->project().lines.at(1).checked);
}

void TstMainWindow::checkAll()
{
    Fixture f;
    for (int i = 1; i <= 3; ++i)
        f.addLine(makeLine(QStringLiteral("Л%1").arg(i), QStringLiteral("1,25")));
    f.window->action(QStringLiteral("actionCheckAll"))->trigger();
    for (const CableLine &l : f.window->project().lines)
        QVERIFY(l.checked);
    QCOMPARE(f.window->statusPanel1->text(), QStringLiteral("Суммарное падение напряжения: 3,75%"));

    // Undone and redone as one change of the list: one notice for all the
    // rows, none of them a check of its own (each would sum the network again).
    LineListModel *model = f.window->lineModel();
    QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
    QSignalSpy checks(model, &LineListModel::checkChanged);
    f.window->action(QStringLiteral("actionUndo"))->trigger();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(checks.count(), 0);
    for (const CableLine &l : f.window->project().lines)
        QVERIFY(!l.checked);
    QCOMPARE(f.window->statusPanel1->text(), QStringLiteral("Суммарное падение напряжения: 0%"));
    f.window->action(QStringLiteral("actionRedo"))->trigger();
    QCOMPARE(changed.count(), 2);
    QCOMPARE(checks.count(), 0);
    QCOMPARE(f.window->statusPanel1->text(), QStringLiteral("Суммарное падение напряжения: 3,75%"));
}

// The history keeps the newest steps: at most 100, and within its memory,
// a recompute kept as the cells it changed. What is kept undoes exactly.
void TstMainWindow::historyKeepsTheNewestSteps()
{
    Fixture f;
    MainWindow &w = *f.window;
    f.addLine(makeLine(QStringLiteral("Л1"), QStringLiteral("1")));
    w.history()->clear();
    for (int step = 1; step <= 150; ++step) {
        CableLine line = w.lineModel()->line(0);
        line.cells[CableLine::Length] = QString::number(step);
        w.lineModel()->replaceLine(0, line);
    }
    QCOMPARE(w.history()->count(), 100);
    while (w.history()->canUndo())
        w.action(QStringLiteral("actionUndo"))->trigger();
    QCOMPARE(w.lineModel()->line(0).cell(CableLine::Length), QStringLiteral("50"));
    QCOMPARE(w.action(QStringLiteral("actionRedo"))->text(), QStringLiteral("&Повторить изменение линии"));

    // 1 000 lines recomputed: two cells of each change.
    QVector<CableLine> lines;
    for (int i = 0; i < 1000; ++i)
        lines << makeLine(QStringLiteral("Линия №%1").arg(i + 1), QStringLiteral("0,5"));
    LineListModel model(lines);
    const auto recomputed = [&](int pass) {
        QVector<CableLine> next = lines;
        for (CableLine &line : next) {
            line.cells[CableLine::Resistance] = QString::number(700 + pass);
            line.cells[CableLine::VoltageDrop] = QStringLiteral("0,%1").arg(pass);
        }
        return next;
    };
    {
        EditHistory unbounded;
        model.setHistory(&unbounded);
        model.replaceLines(recomputed(1), QStringLiteral("пересчет всех линий"));
        // The changed cells, not the lines: a small part of what two copies of each line would take.
        QVERIFY(unbounded.bytes() > 0);
        QVERIFY2(unbounded.bytes() < 1000 * LineChanges::lineBytes(lines.first()) / 4,
                 qPrintable(QString::number(unbounded.bytes())));
        unbounded.undo();
    }
    const QVector<CableLine> original = lines;
    EditHistory history(nullptr, EditHistory::DefaultSteps, 0);
    QAction *undo = history.createUndoAction(&history, QStringLiteral("Отменить"));
    model.setHistory(&history);
    QVector<QVector<CableLine>> states{original};
    for (int pass = 1; pass <= 6; ++pass) {
        model.replaceLines(recomputed(pass), QStringLiteral("пересчет всех линий"));
        states << lines;
    }
    // Over the limit with every step: only the newest stays, and it undoes.
    QCOMPARE(history.count(), 1);
    QVERIFY(undo->isEnabled());
    QCOMPARE(undo->text(), QStringLiteral("Отменить пересчет всех линий"));
    history.undo();
    QVERIFY(!undo->isEnabled());
    QVERIFY(lines == states.at(5));
    history.redo();
    QVERIFY(lines == states.at(6));
}

void TstMainWindow::deleteOnlyRowDisablesCommands()
{
    Fixture f;
    f.addLine(makeLine(QStringLiteral("Линия №1"), QStringLiteral("2")));
    f.window->lineModel()->setChecked(0, true);
    f.window->selectRow(0);
    f.prompter.answers = {Prompter::Answer::Yes};
    f.window->action(QStringLiteral("actionDeleteLine"))->trigger();
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(f.prompter.messages.first().text,
             QStringLiteral("Вы уверены в том, что хотите удалить из списка линию 'Линия №1'?"));
    QCOMPARE(f.prompter.messages.first().title, QStringLiteral("Кабинор"));
    QCOMPARE(f.prompter.messages.first().buttons, Prompter::Buttons::YesNo);
    QCOMPARE(f.window->project().lines.size(), 0);
    for (const char *name : kLineCommands)
        QVERIFY2(!f.window->action(QString::fromLatin1(name))->isEnabled(), name);
    QVERIFY(!f.window->toolButton(QStringLiteral("ChangeLine"))->isEnabled());
    QVERIFY(!f.window->toolButton(QStringLiteral("DelLine"))->isEnabled());
    QCOMPARE(f.window->statusPanel1->text(), QStringLiteral("Суммарное падение напряжения: 0%"));
}

void TstMainWindow::deleteAnsweredNo()
{
    Fixture f;
    f.addLine(makeLine(QStringLiteral("А"), QStringLiteral("2")));
    f.addLine(makeLine(QStringLiteral("Б"), QStringLiteral("3")));
    f.window->lineModel()->setChecked(1, true);
    const QString before = f.window->statusPanel1->text();
    f.window->selectRow(1);
    f.prompter.answers = {Prompter::Answer::No};
    f.window->deleteLine();
    QCOMPARE(f.window->project().lines.size(), 2);
    QCOMPARE(f.window->statusPanel1->text(), before);
    // Yes removes the selected row, not the first one.
    f.prompter.answers = {Prompter::Answer::Yes};
    f.window->deleteLine();
    QCOMPARE(f.window->project().lines.size(), 1);
    QCOMPARE(f.window->project().lines.first().name, QStringLiteral("А"));
    QVERIFY(f.window->action(QStringLiteral("actionDeleteLine"))->isEnabled());
}

void TstMainWindow::copyToClipboard()
{
    Fixture f;
    f.addLine(makeLine(QStringLiteral("Линия №1"), QStringLiteral("6,47")));
    f.addLine(makeLine(QStringLiteral("Линия №2"), QStringLiteral("1,87")));
    f.window->action(QStringLiteral("actionCopyList"))->trigger();
    const QString expected = QStringLiteral(
        "Кабельная линия\tМарка\tЧисло и сечение жил\tМатериал\tДлина, м\tСопротивление, мОм\tТок нагрузки, А\t"
        "Ток допустимый, А\tПадение напряжения, %\tНапряжение, В\r\n"
        "Линия №1\tВВГ\t3x2,5\tМедь\t100\t712\t10\t25\t6,47\t220\r\n"
        "Линия №2\tВВГ\t3x2,5\tМедь\t100\t712\t10\t25\t1,87\t220");
    QCOMPARE(listClipboardText(*f.window->lineModel()), expected);
    QCOMPARE(QGuiApplication::clipboard()->text(), expected);
}

void TstMainWindow::copyEmptyList()
{
    Fixture f;
    const QString text = listClipboardText(*f.window->lineModel());
    QVERIFY(!text.contains(QLatin1Char('\n')));
    QCOMPARE(text.count(QLatin1Char('\t')), 9);
}

void TstMainWindow::columnWidthsFitThenStored()
{
    Fixture f;
    QTreeView *lv = f.window->lineList;
    QHeaderView *header = lv->header();
    // Nothing stored: every header fits, and the last column reaches the list's edge.
    int others = 0;
    for (int c = 0; c < 10; ++c) {
        QVERIFY2(lv->columnWidth(c) >= header->sectionSizeHint(c), qPrintable(QString::number(c)));
        if (c < 9)
            others += lv->columnWidth(c);
    }
    // The list is the window less 120 twips, and the last column leaves 100 of them.
    const int listWidth = twipsToPixelsX(pixelsToTwipsX(f.window->width(), f.window.get()) - 220, f.window.get());
    QCOMPARE(lv->columnWidth(9), qMax(header->sectionSizeHint(9), listWidth - others));
    // A long heading takes two lines rather than its whole width.
    QVERIFY(header->sectionSizeHint(2) < lv->fontMetrics().horizontalAdvance(QStringLiteral("Число и сечение жил")));
    QVERIFY(header->height() >= 2 * lv->fontMetrics().height());

    // An opened list widens the columns to its texts (checked rows are bold).
    CableLine wide;
    wide.name = QStringLiteral("Очень длинное обозначение линии");
    wide.cells = QStringList{QStringLiteral("АВВГнг(А)-LS"), QStringLiteral("4x240 + 1x120"), QStringLiteral("Алюминий"),
                             QStringLiteral("1234,5"), QStringLiteral("1,23"), QStringLiteral("ЩО1 - 125,5А"),
                             QStringLiteral("355"), QStringLiteral("0,12"), QStringLiteral("380")};
    wide.checked = true;
    f.window->project().lines = {wide};
    lv->setColumnWidth(3, 40); // sized by the user: kept
    f.window->lineModel()->reload();
    QFont bold = lv->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    QVERIFY(lv->columnWidth(0) > metrics.horizontalAdvance(wide.name));
    for (int c = 1; c < 10; ++c)
        if (c != 3)
            QVERIFY2(lv->columnWidth(c) > metrics.horizontalAdvance(wide.column(c)), qPrintable(wide.column(c)));
    QCOMPARE(lv->columnWidth(3), 40);
    // A line added later widens them too.
    CableLine wider = wide;
    wider.cells[CableLine::Mark] = QStringLiteral("ВБбШвнг(А)-FRLSLTx");
    wider.checked = false;
    f.window->lineModel()->appendLine(wider);
    QVERIFY(lv->columnWidth(1) > lv->fontMetrics().horizontalAdvance(wider.cell(CableLine::Mark)));

    lv->setColumnWidth(2, 150);
    f.window->writeSettings();
    IniDocument ini;
    ini.load(f.app.settingsPath());
    QCOMPARE(ini.value(QStringLiteral("MainWindow"), QStringLiteral("ColumnWidth3")),
             QString::number(qRound(pixelsToTwipsX(150, f.window.get()))));
    QCOMPARE(ini.value(QStringLiteral("Calculation"), QStringLiteral("gAl")), QStringLiteral("37,04"));

    // A second start takes the stored widths; a width that is no number fits its header.
    ini.setValue(QStringLiteral("MainWindow"), QStringLiteral("ColumnWidth2"), QStringLiteral("широко"));
    ini.save(f.app.settingsPath());
    MainWindow second(f.context, f.prompter);
    QCOMPARE(second.lineList->columnWidth(2), 150);
    QCOMPARE(second.lineList->columnWidth(3), 40);
    QVERIFY(second.lineList->columnWidth(1) >= second.lineList->header()->sectionSizeHint(1));
}

void TstMainWindow::missingHelpFile()
{
    Fixture f;
    QFile::remove(f.app.file(QStringLiteral("Справка.html")));
    QFile::remove(f.app.file(QStringLiteral("Справка.chm")));
    f.window->action(QStringLiteral("actionHelp"))->trigger();
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(f.prompter.lastText(), QStringLiteral("Файл справки не найден!"));
    QCOMPARE(f.prompter.messages.first().icon, Prompter::Icon::Critical);
    QCOMPARE(f.prompter.messages.first().title, QStringLiteral("Кабинор"));
}

void TstMainWindow::closeAndEscAsk()
{
    Fixture f;
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    const QString saved = QStringLiteral("[Проект 1] - Кабинор 3.2");
    const QString unsaved = QStringLiteral("[Проект 1*] - Кабинор 3.2");
    QCOMPARE(f.window->windowTitle(), saved);
    // An edit marks the title; undone, the project is as it was.
    f.addLine(makeLine(QStringLiteral("Л1"), QStringLiteral("1")));
    QCOMPARE(f.window->windowTitle(), unsaved);
    f.window->history()->undo();
    QCOMPARE(f.window->windowTitle(), saved);
    f.window->history()->redo();
    QCOMPARE(f.window->windowTitle(), unsaved);

    // Esc asks as closing does; Cancel keeps the window, whichever asked.
    for (const bool escape : {false, true}) {
        f.prompter.clear();
        f.prompter.answers = {Prompter::Answer::Cancel};
        if (escape)
            QTest::keyClick(f.window.get(), Qt::Key_Escape);
        else
            f.window->close();
        QVERIFY(f.window->isVisible());
        QCOMPARE(f.prompter.lastText(), QStringLiteral("Сохранить проект 'Проект 1'?"));
        QCOMPARE(f.prompter.messages.last().buttons, Prompter::Buttons::YesNoCancel);
    }

    // Saved, the mark goes and the window closes without a question.
    f.window->project().transformerPower = QStringLiteral("400");
    QVERIFY(f.window->saveProject(false));
    QCOMPARE(f.window->windowTitle(), saved);
    f.prompter.clear();
    QTest::keyClick(f.window.get(), Qt::Key_Escape);
    QVERIFY(!f.window->isVisible());
    QVERIFY(f.prompter.messages.isEmpty());
    // Unloading wrote the settings.
    IniDocument ini;
    ini.load(f.app.settingsPath());
    QVERIFY(ini.contains(QStringLiteral("Calculation"), QStringLiteral("dUmax")));
    QVERIFY(ini.contains(QStringLiteral("MainWindow"), QStringLiteral("ColumnWidth10")));
}

namespace {

// Takes the shortcut events meant for the actions it watches, so that none
// of their commands runs, and counts them.
class ShortcutCatcher : public QObject
{
public:
    int caught = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::Shortcut)
            return false;
        ++caught;
        return true;
    }
};

} // namespace

void TstMainWindow::shortcutsNeverActBehindADialog()
{
    Fixture f;
    f.addLine(makeLine(QStringLiteral("Линия №1"), QStringLiteral("1")));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.window->lineList->setFocus();

    QList<QAction *> withKeys;
    for (QAction *a : f.window->findChildren<QAction *>())
        if (!a->shortcut().isEmpty())
            withKeys << a;
    QCOMPARE(withKeys.size(), 23);
    ShortcutCatcher catcher;
    for (QAction *a : std::as_const(withKeys))
        a->installEventFilter(&catcher);
    auto press = [](QWidget *target, const QKeySequence &keys) {
        const QKeyCombination k = keys[0];
        QTest::keyClick(target, k.key(), k.keyboardModifiers());
    };

    // A modal dialog with an editable list, as the line dialog has: keys typed
    // in its field and in its open list.
    QDialog dialog(f.window.get());
    auto *list = new QComboBox(&dialog);
    list->setEditable(true);
    list->addItems({QStringLiteral("ЩО1 - 10А"), QStringLiteral("Насос - 5А")});
    dialog.setModal(true);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    list->setFocus();
    for (QAction *a : std::as_const(withKeys)) {
        press(list, a->shortcut());
        list->showPopup();
        QTRY_VERIFY(list->view()->isVisible());
        press(list->view(), a->shortcut());
        list->hidePopup();
    }
    QCOMPARE(catcher.caught, 0);
    QVERIFY(!f.window->project().lines.first().checked);
    dialog.close();

    // Without the dialog the same keys reach the window's commands, Ctrl+A and
    // Ctrl+C from the list included.
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.window->lineList->setFocus();
    for (const QKeySequence &keys : {QKeySequence(QStringLiteral("Ctrl+A")), QKeySequence(QStringLiteral("Ctrl+C"))})
        press(f.window->lineList, keys);
    QCOMPARE(catcher.caught, 2);
}

void TstMainWindow::missingDataFilesReported()
{
    TestAppDir app;
    QFile::remove(DataFiles::dataFilePath(app.path(), 0));
    QFile::remove(DataFiles::dataFilePath(app.path(), 12));
    QFile::remove(app.settingsPath());
    AppContext context(app.path());
    ScriptedPrompter p;
    QVERIFY(!MainWindow::runStartupCheck(context, p));
    // A start that ends leaves no settings file behind.
    QVERIFY(!QFileInfo::exists(app.settingsPath()));
    QCOMPARE(p.messages.size(), 2);
    for (const auto &m : p.messages) {
        QCOMPARE(m.title, QStringLiteral("Критическая ошибка"));
        QCOMPARE(m.icon, Prompter::Icon::Critical);
        QVERIFY(m.text.startsWith(QStringLiteral("Файл ")) && m.text.endsWith(QStringLiteral(" не найден!")));
    }
    QCOMPARE(p.messages.at(0).text, QStringLiteral("Файл ") + DataFiles::dataFilePath(app.path(), 0) + QStringLiteral(" не найден!"));
    QCOMPARE(p.messages.at(1).text, QStringLiteral("Файл ") + DataFiles::dataFilePath(app.path(), 12) + QStringLiteral(" не найден!"));
}

// Every file under `folder` with its contents.
QMap<QString, QByteArray> filesUnder(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        f.open(QIODevice::ReadOnly);
        files.insert(it.filePath(), f.readAll());
    }
    return files;
}

void TstMainWindow::installedProgramWritesOnlyUserFolders()
{
    TestAppDir data;
    QTemporaryDir user;
    const AppContext::UserFolders folders{user.filePath(QStringLiteral("config/kabinor")),
                                          user.filePath(QStringLiteral("share/kabinor")), user.filePath(QStringLiteral("Документы"))};
    QDir().mkpath(folders.documents);
    AppContext context(data.path(), folders);
    const auto delivered = filesUnder(data.path());
    ScriptedPrompter prompter;
    QVERIFY(MainWindow::runStartupCheck(context, prompter));
    QVERIFY(prompter.messages.isEmpty());
    // First use: the settings are made and the mark lists copied in the user's folders.
    QVERIFY(QFileInfo::exists(folders.settings + QStringLiteral("/kabinor.ini")));
    QCOMPARE(filesUnder(folders.data).value(folders.data + QStringLiteral("/MarksCu.dat")), data.readFile(QStringLiteral("MarksCu.dat")));
    {
        MainWindow window(context, prompter);
        QCOMPARE(window.projectFolder(), folders.documents + QLatin1Char('/'));
        prompter.answers = {Prompter::Answer::No}; // the save question before the open dialog
        window.action(QStringLiteral("actionOpenProject"))->trigger();
        QCOMPARE(prompter.lastFileArgs.value(0), folders.documents);

        CableLineDialog d(*window.lineModel(), window.project(), context, prompter, false);
        d.materialList->setCurrentText(QStringLiteral("Медь"));
        prompter.inputs << QStringLiteral("ВВГнг-LS");
        d.addCopperMarkButton->click();
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(d.isUnloaded());
        window.show();
        prompter.answers = {Prompter::Answer::No};
        window.close();
        QVERIFY(!window.isVisible());
    }
    QString marks;
    QVERIFY(TextFile::read(folders.data + QStringLiteral("/MarksCu.dat"), &marks));
    QVERIFY(marks.split(QStringLiteral("\r\n")).contains(QStringLiteral("ВВГнг-LS")));
    // The window's state went to the user's settings; the program's folder is as delivered.
    IniDocument ini;
    ini.load(context.settingsPath());
    QVERIFY(ini.contains(QStringLiteral("MainWindow"), QStringLiteral("ColumnWidth10")));
    QCOMPARE(filesUnder(data.path()), delivered);
}

void TstMainWindow::installedWithoutWritableUserFolders_data()
{
    QTest::addColumn<bool>("home");
    // It stopped with "Файл …/MarksAl.dat не найден!".
    QTest::newRow("home that cannot be written") << true;
    // As root without HOME it wrote /.local/share/kabinor.
    QTest::newRow("no home folder") << false;
}

void TstMainWindow::installedWithoutWritableUserFolders()
{
    QFETCH(bool, home);
    TestAppDir data;
    QTemporaryDir user;
    // A file where the user's folders would go: nothing is made under it, root included.
    QFile blocker(user.filePath(QStringLiteral("home")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    if (!home) {
        const QByteArray saved = qgetenv("HOME");
        const auto restore = qScopeGuard([saved] { qputenv("HOME", saved); });
        qunsetenv("HOME");
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_DATA_HOME");
        const AppContext::UserFolders none = AppContext::standardUserFolders();
        QVERIFY(none.settings.isEmpty() && none.data.isEmpty());
    }
    const AppContext::UserFolders folders = home ? AppContext::UserFolders{user.filePath(QStringLiteral("home/.config/kabinor")),
                                                                          user.filePath(QStringLiteral("home/.local/share/kabinor")),
                                                                          user.path()}
                                                 : AppContext::UserFolders{QString(), QString(), user.path()};
    AppContext context(data.path(), folders);
    const auto delivered = filesUnder(data.path());
    ScriptedPrompter prompter;
    // It starts, and says once that the user's files cannot be written.
    QVERIFY(MainWindow::runStartupCheck(context, prompter));
    QCOMPARE(prompter.messages.size(), 1);
    QVERIFY2(prompter.lastText().contains(QStringLiteral("не могут быть сохранены")), qPrintable(prompter.lastText()));
    QVERIFY(!context.userFileWritable(DataFiles::MarksCu));
    {
        MainWindow window(context, prompter);
        // The installed mark lists are read, and never written.
        CableLineDialog d(*window.lineModel(), window.project(), context, prompter, false);
        QVERIFY(d.copperMarkList->count() > 0);
        d.materialList->setCurrentText(QStringLiteral("Медь"));
        prompter.inputs << QStringLiteral("ВВГнг-LS");
        d.addCopperMarkButton->click();
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(d.isUnloaded());
    }
    QCOMPARE(filesUnder(data.path()), delivered);
    QCOMPARE(QDir(user.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{QStringLiteral("home")});
}

// An unreadable settings file: its values take their defaults, said once at
// start (and on standard error by the command line, which goes on).
void TstMainWindow::unreadableSettingsToldAtStart()
{
    TestAppDir app;
    QVERIFY(QDir().mkpath(app.file(QStringLiteral("kabinor.ini")))); // a folder where the file would be
    AppContext context(app.path());
    ScriptedPrompter prompter;
    QVERIFY(MainWindow::runStartupCheck(context, prompter));
    QCOMPARE(prompter.messages.size(), 1);
    QVERIFY(prompter.lastText().startsWith(QStringLiteral("Не удалось прочитать файл настроек")));
    QVERIFY(prompter.lastText().contains(QStringLiteral("по умолчанию")));
    QString out, err;
    QCOMPARE(runCli({QStringLiteral("eval"), QStringLiteral("1+1"), QStringLiteral("--app-dir"), app.path()}, &out, &err), 0);
    QCOMPARE(out, QStringLiteral("2\n"));
    QVERIFY(err.startsWith(QStringLiteral("Не удалось прочитать файл настроек")));
}

void TstMainWindow::guideOpensInOwnWindowWhenSystemCannot_data()
{
    QTest::addColumn<QString>("launcher"); // the body of a stand-in xdg-open; empty: none at all
    QTest::addColumn<bool>("ownWindow");
    QTest::newRow("no launcher") << QString() << true;
    QTest::newRow("launcher finds no application") << QStringLiteral("exit 3") << true;
    QTest::newRow("launcher opens the guide") << QStringLiteral("echo \"$1\" > \"$0.arg\"") << false;
}

void TstMainWindow::guideOpensInOwnWindowWhenSystemCannot()
{
    QFETCH(QString, launcher);
    QFETCH(bool, ownWindow);
    QTemporaryDir bin;
    if (!launcher.isEmpty()) {
        QFile script(bin.filePath(QStringLiteral("xdg-open")));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n" + launcher.toUtf8() + "\n");
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner);
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8());
    const auto restore = qScopeGuard([&] { qputenv("PATH", path); });

    Fixture f;
    f.window->action(QStringLiteral("actionHelp"))->trigger();
    const QString guide = f.app.file(QStringLiteral("Справка.html"));
    if (!ownWindow) {
        QTRY_VERIFY(QFileInfo::exists(bin.filePath(QStringLiteral("xdg-open.arg"))));
        QTest::qWait(100);
        QVERIFY(!f.window->guideViewer()->window());
        QFile arg(bin.filePath(QStringLiteral("xdg-open.arg")));
        QVERIFY(arg.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(arg.readAll()).trimmed(), guide);
        return;
    }
    QTRY_VERIFY(f.window->guideViewer()->window() && f.window->guideViewer()->window()->isVisible());
    GuideWindow *w = f.window->guideViewer()->window();
    QVERIFY(f.prompter.messages.isEmpty());
    QCOMPARE(w->browser->source(), QUrl::fromLocalFile(guide));
    // The contents list holds the sections, each with its subsections, and moves the text to the one chosen.
    QVERIFY(w->contentsTree->topLevelItemCount() >= 15);
    QCOMPARE(w->contentsTree->topLevelItem(0)->text(0), QStringLiteral("1. Начало работы"));
    QTreeWidgetItem *install = w->contentsTree->findItems(QStringLiteral("Установка и файлы пользователя"),
                                                          Qt::MatchContains).value(0);
    QVERIFY(install);
    QVERIFY(w->contentsTree->topLevelItem(1)->childCount() > 0);
    QCOMPARE(w->browser->verticalScrollBar()->value(), 0);
    w->contentsTree->setCurrentItem(install);
    emit w->contentsTree->itemActivated(install, 0);
    QVERIFY(w->browser->verticalScrollBar()->value() > 0);
    QCOMPARE(w->browser->textCursor().block().text().simplified(), install->text(0));
    // A second request shows the same window again.
    f.window->action(QStringLiteral("actionHelp"))->trigger();
    QTRY_COMPARE(f.window->guideViewer()->window(), w);
    QTRY_VERIFY(f.window->guideViewer()->findChildren<QProcess *>().isEmpty());
    QCOMPARE(f.window->guideViewer()->window(), w);
    // It lies whole on the screen (offscreen 800 x 600, narrower than its size), and Esc closes it.
    QVERIFY2(w->screen()->availableGeometry().contains(w->frameGeometry()), qPrintable(QDebug::toString(w->frameGeometry())));
    QVERIFY(w->width() < 1000);
    QTest::keyClick(w->browser, Qt::Key_Escape);
    QTRY_VERIFY(!f.window->guideViewer()->window());
}

void TstMainWindow::standardDialogsInRussian()
{
    // A folder without the translation: Qt's texts stay English, and that is no error.
    QTemporaryDir empty;
    QVERIFY(!installQtTranslation(*QCoreApplication::instance(), empty.path()));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    if (!installQtTranslation(*QCoreApplication::instance()))
        QSKIP("Qt's Russian translation (Debian's qt6-translations-l10n) is not installed");
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Отмена"));
    QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Перейти к:"));
}

// Every kind of edit of the project, then all of them undone and redone:
// each way ends exactly where it should, lines, loads, shields and the
// substation alike, the lists showing it.
void TstMainWindow::undoAndRedoEveryEdit()
{
    Fixture f;
    MainWindow &w = *f.window;
    LineListModel *lines = w.lineModel();
    Project start;
    start.transformerPower = QStringLiteral("400");
    start.lines = {makeLine(QStringLiteral("Л1"), QStringLiteral("1")), makeLine(QStringLiteral("Л2"), QStringLiteral("2")),
                   makeLine(QStringLiteral("Л3"), QStringLiteral("3"))};
    start.lines[0].cells[CableLine::Resistance] = QStringLiteral("1"); // out of date: "Пересчитать" changes it
    start.shields = {Shield{QStringLiteral("ЩО1"), {makeLoad(QStringLiteral("Свет"), QStringLiteral("2"), QStringLiteral("A"))}}};
    const QString path = f.app.file(QStringLiteral("Правки.kbp"));
    QVERIFY(ProjectFile::write(path, start));
    lines->appendLine(makeLine(QStringLiteral("до открытия"), QStringLiteral("1")));
    QVERIFY(w.openProject(path));
    QCOMPARE(w.history()->count(), 0); // opening forgets what came before
    const ProjectData original = dataOf(w.project());

    // The line list: add, change (inputs included), check, delete, check all, recompute.
    lines->appendLine(makeLine(QStringLiteral("Л4"), QStringLiteral("4")));
    CableLine changed = w.project().lines.at(1);
    changed.cells[CableLine::Length] = QStringLiteral("250");
    changed.inputs = storedInputs({{"CosPhi", QStringLiteral("0,85")}});
    lines->replaceLine(1, changed);
    QVERIFY(lines->setData(lines->index(2, 0), Qt::Checked, Qt::CheckStateRole));
    w.selectRow(0);
    f.prompter.answers = {Prompter::Answer::Yes};
    w.action(QStringLiteral("actionDeleteLine"))->trigger();
    w.action(QStringLiteral("actionCheckAll"))->trigger();
    w.action(QStringLiteral("actionRecomputeLines"))->trigger();
    QCOMPARE(w.history()->count(), 6);
    QCOMPARE(w.action(QStringLiteral("actionUndo"))->text(), QStringLiteral("&Отменить пересчет всех линий"));

    // The substation's data, applied by the dialog's OK.
    onModal(
        [](QWidget *modal) {
            auto *d = qobject_cast<SubstationDialog *>(modal);
            QVERIFY(d);
            d->powerList->setCurrentIndex((d->powerList->currentIndex() + 1) % d->powerList->count());
            d->systemPowerEdit->setText(QStringLiteral("250"));
            d->okButton->click();
        },
        [&] { w.action(QStringLiteral("actionChooseSubstation"))->trigger(); });
    QVERIFY(w.project().substation() != start.substation());
    // The ГОСТ 28249-93 window takes its inputs into them on "Рассчитать".
    onModal(
        [](QWidget *modal) {
            auto *fw = qobject_cast<FaultCurrentsWindow *>(modal);
            QVERIFY(fw);
            fw->busResistanceEdit->setText(QStringLiteral("1,5"));
            fw->calculateButton->click();
            fw->closeButton->click();
        },
        [&] { w.action(QStringLiteral("actionFaultCurrents"))->trigger(); });
    QCOMPARE(w.project().busResistance, QStringLiteral("1,5"));
    QCOMPARE(w.history()->count(), 6 + 2);

    // Shields and loads; one step back and forth inside the window as well.
    f.prompter.inputs = {QStringLiteral("ЩР-2"), QStringLiteral("ЩР-2А"), QStringLiteral("ЩС")};
    onModal(
        [&](QWidget *modal) {
            auto *s = qobject_cast<ShieldsWindow *>(modal);
            QVERIFY(s);
            s->addShield();
            s->currentModel()->appendLoad(makeLoad(QStringLiteral("Насос"), QStringLiteral("5"), QStringLiteral("B")));
            s->currentModel()->appendLoad(makeLoad(QStringLiteral("Вентилятор"), QStringLiteral("1"), QStringLiteral("C")));
            s->currentModel()->replaceLoad(0, makeLoad(QStringLiteral("Насос"), QStringLiteral("7,5"), QStringLiteral("B")));
            s->sortByColumn(0);
            s->renameShield();
            s->shieldTabs->setCurrentIndex(0);
            s->selectLoad(0);
            s->removeLoad();
            s->addShield();
            s->deleteShield();
            QCOMPARE(s->shieldCount(), 2);
            s->toolUndo->trigger();
            QCOMPARE(s->shieldCount(), 3);
            QCOMPARE(s->shieldTabs->tabText(2), QStringLiteral("ЩС"));
            s->toolUndo->trigger();
            QCOMPARE(s->shieldCount(), 2);
            s->toolRedo->trigger();
            s->toolRedo->trigger();
            QCOMPARE(s->shieldCount(), 2);
            s->shieldTabs->setCurrentIndex(1);
            QCOMPARE(s->shieldTabs->tabText(1), QStringLiteral("ЩР-2А"));
            QCOMPARE(s->currentModel()->rowCount(), 2);
            QCOMPARE(s->currentModel()->index(0, 0).data().toString(), QStringLiteral("Вентилятор"));
            s->closeAndSaveWidths();
        },
        [&] { w.showShieldsWindow(); });
    QCOMPARE(w.history()->count(), 6 + 2 + 9);
    const ProjectData edited = dataOf(w.project());
    QVERIFY(!(edited == original));

    while (w.history()->canUndo())
        w.action(QStringLiteral("actionUndo"))->trigger();
    QVERIFY(dataOf(w.project()) == original);
    QCOMPARE(lines->rowCount(), 3);
    QCOMPARE(lines->index(0, 5).data().toString(), QStringLiteral("1"));
    QCOMPARE(w.statusPanel1->text(), summarizeNetwork(original.lines, w.calc().maxVoltageDrop).panel1);
    QVERIFY(!w.action(QStringLiteral("actionUndo"))->isEnabled());
    QVERIFY(!w.toolButton(QStringLiteral("Undo"))->isEnabled());

    while (w.history()->canRedo())
        w.action(QStringLiteral("actionRedo"))->trigger();
    QVERIFY(dataOf(w.project()) == edited);
    QCOMPARE(lines->rowCount(), 3);
    QCOMPARE(lines->line(0).inputs->cosPhi.text, QStringLiteral("0,85"));
    // The shields window, built again, shows what the project holds.
    onModal(
        [](QWidget *modal) {
            auto *s = qobject_cast<ShieldsWindow *>(modal);
            QCOMPARE(s->shieldCount(), 2);
            QCOMPARE(s->shieldTabs->tabText(1), QStringLiteral("ЩР-2А"));
            s->closeAndSaveWidths();
        },
        [&] { w.showShieldsWindow(); });

    // A new project starts without a history.
    f.prompter.answers = {Prompter::Answer::No};
    f.prompter.inputs = {QStringLiteral("Проект 2")};
    w.newProject();
    QCOMPARE(w.history()->count(), 0);
    QVERIFY(!w.action(QStringLiteral("actionUndo"))->isEnabled());
}

// A double-click on a line opens it for change; on its check box it only
// does what two clicks there do.
void TstMainWindow::doubleClickChangesOrOnlyChecks()
{
    Fixture f;
    f.addLine(makeLine(QStringLiteral("Линия №1"), QStringLiteral("1")));
    f.addLine(makeLine(QStringLiteral("Линия №2"), QStringLiteral("2")));
    // No tip of the day in the way of the double-clicks.
    QVERIFY(setIniValue(f.app.settingsPath(), QStringLiteral("Startup"), QStringLiteral("ShowTips"), QStringLiteral("0")));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QTreeView *list = f.window->lineList;
    LineListModel *m = f.window->lineModel();

    onModal(
        [](QWidget *modal) {
            auto *d = qobject_cast<CableLineDialog *>(modal);
            QVERIFY2(d, modal->metaObject()->className());
            QVERIFY(d->changeMode);
            d->reject();
        },
        [&] { doubleClick(list->viewport(), list->visualRect(m->index(1, 3)).center()); });
    QCOMPARE(f.window->selectedRow(), 1);

    // Where the style puts the check box of the first line.
    QStyleOptionViewItem option;
    option.initFrom(list->viewport());
    option.rect = list->visualRect(m->index(0, 0));
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = m->index(0, 0).data().toString();
    const QPoint box = list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list).center();
    bool dialogOpened = false;
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            dialogOpened = true;
            modal->close();
        }
    });
    watch.start();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box);
    QVERIFY(m->line(0).checked);
    const int steps = f.window->history()->count();
    doubleClick(list->viewport(), box);
    QTest::qWait(50);
    watch.stop();
    QVERIFY(!dialogOpened);
    // Each click of it changed the mark, each change undoable.
    QCOMPARE(f.window->history()->count(), steps + 2);
    QVERIFY(m->line(0).checked);
}

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
