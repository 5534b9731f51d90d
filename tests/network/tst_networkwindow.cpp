// The network through the program: the window "Сеть" beside the main window,
// the place of a line in the line dialog, marking the path to a line, the
// windows that chain the checked lines, and kabinor-cli network.
#include "TestSupport.h"
#include "Workshop.h"
#include "base/AppContext.h"
#include "base/ProjectFile.h"
#include "calc/network/CheckedPath.h"
#include "shell/MainWindow.h"
#include "ui/lines/CableLineDialog.h"
#include "ui/lines/LineListModel.h"
#include "ui/network/NetworkModel.h"
#include "ui/network/NetworkWindow.h"

#include <QAction>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeView>
#include <QUndoStack>
#include <QtTest>

#include <functional>

namespace {

struct Fixture {
    TestAppDir app;
    AppContext context{app.path()};
    ScriptedPrompter prompter;
    std::unique_ptr<MainWindow> window;
    explicit Fixture(const Project &project = Workshop::project())
    {
        window = std::make_unique<MainWindow>(context, prompter);
        const QString path = app.file(QStringLiteral("Цех.kbp"));
        ProjectFile::write(path, project);
        window->openProject(path);
    }
    NetworkWindow &network()
    {
        window->showNetworkWindow();
        return *window->networkWindow();
    }
    QVector<CableLine> &lines() { return window->project().lines; }
};

// The texts of a row of the network window.
QStringList rowTexts(const NetworkModel &model, const QModelIndex &index)
{
    QStringList out;
    for (int c = 0; c < model.columnCount(); ++c)
        out << index.siblingAtColumn(c).data().toString();
    return out;
}

QStringList childNames(const NetworkModel &model, const QModelIndex &parent)
{
    QStringList out;
    for (int r = 0; r < model.rowCount(parent); ++r)
        out << model.index(r, 0, parent).data().toString();
    return out;
}

QStringList checkedNames(const QVector<CableLine> &lines)
{
    QStringList out;
    for (const CableLine &l : lines)
        if (l.checked)
            out << l.name;
    return out;
}

// Runs `body` on the line dialog once it is open modally.
void whenOpen(std::function<void(CableLineDialog &)> body)
{
    QTimer::singleShot(0, [body] {
        auto *dialog = qobject_cast<CableLineDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            QFAIL("the line dialog is not open");
            return;
        }
        body(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

QStringList entries(const QComboBox *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->itemText(i);
    return out;
}

// Picks an entry of a list as the user does.
void pick(QComboBox *list, const QString &text)
{
    const int i = list->findText(text);
    QVERIFY(i >= 0);
    list->setCurrentIndex(i);
    emit list->activated(i);
}

} // namespace

class TstNetworkWindow : public QObject
{
    Q_OBJECT
private slots:
    void windowFollowsTheProject();
    void lineDialogPlacesTheLine();
    void markingThePathAndTheCheckedPathWindows();
    void deepChainOpensAsFarAsShown();
    void commandLine();
    void loadsFollowTheShields();
};

void TstNetworkWindow::windowFollowsTheProject()
{
    Fixture f;
    NetworkWindow &w = f.network();
    const NetworkModel &model = *w.model();
    QVERIFY(w.isVisible());
    QCOMPARE(childNames(model, QModelIndex()), QStringList{"ТП"});
    const QModelIndex bus = model.busIndex();
    QCOMPARE(rowTexts(model, bus),
             (QStringList{"ТП", "S = 132 кВА (20,95 %)", "", "", "132", "", "", "", "16,57", "4,96", "", "", "0", "132",
                          "1", ""}));
    QCOMPARE(childNames(model, bus), QStringList{"Ввод ВРУ"});
    const QModelIndex feeder = model.index(0, 0, bus);
    QCOMPARE(childNames(model, feeder), (QStringList{"ЩС-1", "ЩО-1", "ЩВ-1"}));
    QCOMPARE(rowTexts(model, model.index(2, 0, feeder)),
             (QStringList{"ЩВ-1", "ЩВ-1", "ВВГ 4x25", "200", "35", "87,4", "2,04", "4,56", "1,26", "0,52", "C40", "да", "0",
                          "23,1", "1", "задан"}));
    QVERIFY(w.networkView->isExpanded(feeder));

    // The selection follows the main list, and back.
    f.window->selectRow(3);
    QCOMPARE(w.selectedLine(), 3);
    w.networkView->setCurrentIndex(model.index(0, 0, feeder));
    QCOMPARE(f.window->selectedRow(), 1);

    // A drop from the bus over the limit and a load over the permissible
    // current are red, the reason in the tool tip; the window follows every change.
    f.context.calc.maxVoltageDrop = 4.4;
    CableLine heavy = f.lines().at(1);
    heavy.cells[CableLine::LoadCurrent] = QStringLiteral("120");
    f.window->lineModel()->replaceLine(1, heavy);
    const QModelIndex power = model.indexOfLine(1);
    QCOMPARE(power.siblingAtColumn(NetworkModel::LoadCurrent).data(Qt::ToolTipRole).toString(),
             QStringLiteral("Ток нагрузки 120 А больше длительно допустимого тока 110,4 А."));
    QCOMPARE(power.siblingAtColumn(NetworkModel::Checks).data().toString(), QStringLiteral("нет: перегрузка"));
    QCOMPARE(power.siblingAtColumn(NetworkModel::Checks).data(Qt::ToolTipRole).toString(),
             QStringLiteral("Ток нагрузки Iр = 120 А больше Iн = 100 А."));
    const QModelIndex ventilation = model.indexOfLine(3).siblingAtColumn(NetworkModel::DropFromBus);
    QCOMPARE(ventilation.data(Qt::ToolTipRole).toString(),
             QStringLiteral("Падение напряжения от шин ТП 4,56% больше допустимого 4,4%."));
    QCOMPARE(ventilation.data(Qt::BackgroundRole).value<QColor>(), QColor(0xc6, 0x28, 0x28));
    QVERIFY(!model.indexOfLine(2).siblingAtColumn(NetworkModel::DropFromBus).data(Qt::BackgroundRole).isValid());

    // A line added without a start hangs at the bus in italics.
    CableLine spare = Workshop::project().lines.at(2);
    spare.name = QStringLiteral("Резерв");
    spare.place = LinePlace{};
    spare.checked = false;
    f.window->lineModel()->appendLine(spare);
    QCOMPARE(f.lines().last().place.id, 5);
    QCOMPARE(childNames(model, bus), (QStringList{"Ввод ВРУ", "Резерв"}));
    QVERIFY(model.indexOfLine(4).data(Qt::FontRole).value<QFont>().italic());
    QVERIFY(!model.indexOfLine(0).data(Qt::FontRole).value<QFont>().italic());

    // The user's collapsed node stays collapsed through a change of the tree's shape.
    w.networkView->collapse(model.indexOfLine(0));
    // Deleting the feeder: the boards start at the bus, where it started, in
    // the same step; undo puts all back.
    f.window->selectRow(0);
    f.prompter.answers = {Prompter::Answer::Yes};
    f.window->deleteLine();
    QCOMPARE(childNames(model, bus), (QStringList{"ЩС-1", "ЩО-1", "ЩВ-1", "Резерв"}));
    QCOMPARE(f.lines().at(0).place.from, std::optional<int>(0));
    f.window->history()->undo();
    QCOMPARE(childNames(model, bus), (QStringList{"Ввод ВРУ", "Резерв"}));
    QCOMPARE(f.lines().at(1).place.from, std::optional<int>(1));
    QVERIFY(!w.networkView->isExpanded(model.indexOfLine(0)));
    f.window->history()->undo(); // the spare line
    f.window->history()->undo(); // the heavy load
    QCOMPARE(childNames(model, bus), QStringList{"Ввод ВРУ"});
    QCOMPARE(model.indexOfLine(1).siblingAtColumn(NetworkModel::Checks).data().toString(), QStringLiteral("да"));

    // Enter or a double-click opens the line for change, at its place.
    bool opened = false;
    whenOpen([&](CableLineDialog &d) {
        opened = true;
        QCOMPARE(d.nameEdit->text(), QStringLiteral("ЩО-1"));
        QCOMPARE(d.startList->currentText(), QStringLiteral("Ввод ВРУ"));
    });
    emit w.networkView->activated(model.indexOfLine(2));
    QVERIFY(opened);
}

void TstNetworkWindow::lineDialogPlacesTheLine()
{
    Fixture f;
    QString startOfFeeder;
    QStringList offered;
    whenOpen([&](CableLineDialog &d) {
        QCOMPARE(d.tabs->tabText(4), QStringLiteral("Сеть"));
        // Every other line starts below the feeder: only the bus is left.
        offered = entries(d.startList);
        startOfFeeder = d.startList->currentText();
    });
    f.window->selectRow(0);
    f.window->changeLine();
    QCOMPARE(offered, QStringList{"Шины 0,4 кВ ТП"});
    QCOMPARE(startOfFeeder, QStringLiteral("Шины 0,4 кВ ТП"));

    // The lighting board moves to the end of the power board, with a board
    // name of its own: one step, which undo takes back.
    const QVector<CableLine> before = f.lines();
    whenOpen([&](CableLineDialog &d) {
        offered = entries(d.startList);
        QVERIFY(entries(d.boardList).contains(QStringLiteral("ЩО1"))); // the project's shield
        QVERIFY(entries(d.boardList).contains(QStringLiteral("ЩС-1"))); // a board in use
        QVERIFY(d.startNote->text().isEmpty());
        pick(d.startList, QStringLiteral("ЩС-1"));
        d.boardList->setEditText(QStringLiteral("ЩО-1а"));
        d.confirmButton->click();
    });
    f.window->selectRow(2);
    f.window->changeLine();
    QCOMPARE(offered, (QStringList{"Шины 0,4 кВ ТП", "Ввод ВРУ", "ЩС-1", "ЩВ-1"}));
    QCOMPARE(f.lines().at(2).place, (LinePlace{3, 2, QStringLiteral("ЩО-1а")}));
    QCOMPARE(f.window->history()->undoText(), QStringLiteral("изменение линии"));
    f.window->history()->undo();
    QCOMPARE(f.lines(), before);

    // In a project of an older version the checked lines are one chain and
    // the others have no start. Changing a line of the chain without choosing
    // a start leaves it without one, as older versions took it off the path;
    // choosing one keeps every other line where it was.
    Fixture old(Workshop::project(false));
    old.lines()[2].checked = false;
    old.window->lineModel()->reload();
    QString note;
    whenOpen([&](CableLineDialog &d) {
        note = d.startNote->text();
        QCOMPARE(d.startList->currentText(), QStringLiteral("Шины 0,4 кВ ТП"));
        d.confirmButton->click();
    });
    old.window->selectRow(2);
    old.window->changeLine();
    QCOMPARE(note, QStringLiteral("начало не задано: линия считается от шин ТП."));
    QCOMPARE(old.lines().at(2).place.from, std::nullopt);
    whenOpen([&](CableLineDialog &d) {
        note = d.startNote->text();
        QCOMPARE(d.startList->currentText(), QStringLiteral("ЩС-1"));
        pick(d.startList, QStringLiteral("ЩС-1"));
        d.confirmButton->click();
    });
    old.window->selectRow(3);
    old.window->changeLine();
    QCOMPARE(note, QStringLiteral("начало не задано: отмеченная линия продолжает отмеченные линии в порядке списка."));
    const std::optional<int> starts[] = {0, 1, std::nullopt, 2};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(old.lines().at(i).place.from, starts[i]);
}

void TstNetworkWindow::markingThePathAndTheCheckedPathWindows()
{
    Project all = Workshop::project();
    for (CableLine &l : all.lines)
        l.checked = true;
    Fixture f(all);
    // Four lines that are no path: said in the status bar, refused by the
    // windows that chain the checked lines.
    f.window->summarizeNetwork();
    QCOMPARE(f.window->statusPanel2->text(), QStringLiteral("Отмеченные линии не образуют один путь сети"));
    f.window->showShortCircuitWindow();
    QCOMPARE(f.prompter.lastText(), QStringLiteral("Отмеченные линии не образуют один путь сети: линии «ЩС-1» и "
                                                   "«ЩО-1» обе начинаются в конце линии «Ввод ВРУ»."));

    // "Отметить путь до линии" from the menu and from the network window: one step each.
    f.window->selectRow(3);
    f.window->action(QStringLiteral("actionMarkPath"))->trigger();
    QCOMPARE(checkedNames(f.lines()), (QStringList{"Ввод ВРУ", "ЩВ-1"}));
    QCOMPARE(f.window->statusPanel1->text(), QStringLiteral("Суммарное падение напряжения: 4,56%"));
    QCOMPARE(f.window->statusPanel2->text(), QString());
    NetworkWindow &w = f.network();
    w.selectLine(1);
    w.markPathButton->click();
    QCOMPARE(checkedNames(f.lines()), (QStringList{"Ввод ВРУ", "ЩС-1"}));
    // "Селективность..." asks for the selected line's pair.
    // (The main window's modal answer is left out here.)
    QObject::disconnect(&w, &NetworkWindow::selectivityRequested, f.window.get(), nullptr);
    QSignalSpy selectivity(&w, &NetworkWindow::selectivityRequested);
    w.selectivityButton->click();
    QCOMPARE(selectivity.size(), 1);
    QVERIFY(w.selectedLine() >= 0);
    QCOMPARE(selectivity.first().first().toInt(), w.selectedLine());
    f.window->history()->undo();
    f.window->history()->undo();
    QCOMPARE(checkedNames(f.lines()), (QStringList{"Ввод ВРУ", "ЩС-1", "ЩО-1", "ЩВ-1"}));
}

void TstNetworkWindow::deepChainOpensAsFarAsShown()
{
    // 20 000 lines, each at the end of the one before: the window opens the
    // first levels only, and selecting a deep line does not open the way to it.
    Project chain = Workshop::project();
    CableLine pattern = chain.lines.at(1);
    pattern.inputs.reset();
    chain.lines.clear();
    for (int i = 0; i < 20000; ++i) {
        CableLine l = pattern;
        l.name = QStringLiteral("L%1").arg(i + 1);
        l.place = LinePlace{i + 1, i, QString()};
        chain.lines << l;
    }
    Fixture f(chain);
    NetworkWindow &w = f.network();
    const NetworkModel &model = *w.model();
    QCOMPARE(model.tree().depth(19999), 20000);
    QVERIFY(w.networkView->isExpanded(model.indexOfLine(62)));
    QVERIFY(!w.networkView->isExpanded(model.indexOfLine(63)));
    f.window->selectRow(19999);
    QCOMPARE(w.selectedLine(), 19999);
    QVERIFY(!w.networkView->isExpanded(model.indexOfLine(63)));
    // "*" would open every level below at once: it is not taken.
    w.networkView->setCurrentIndex(model.indexOfLine(0));
    QTest::keyClick(w.networkView, Qt::Key_Asterisk);
    QVERIFY(!w.networkView->isExpanded(model.indexOfLine(63)));
    QCOMPARE(model.indexOfLine(19999).siblingAtColumn(NetworkModel::DropFromBus).data().toString(),
             QStringLiteral("30800"));
}

void TstNetworkWindow::commandLine()
{
    TestAppDir app;
    const QString path = app.file(QStringLiteral("Цех.kbp"));
    QVERIFY(ProjectFile::write(path, Workshop::project()));
    QString out, err;
    QCOMPARE(runCli({QStringLiteral("network"), path, QStringLiteral("--app-dir"), app.path()}, &out, &err), 0);
    // No shield is linked: every line keeps its typed current (at cos φ 1),
    // the bus sums the feeder's 200 A: 3 · 0,22 · 200 = 132 kVA of 630.
    QCOMPARE(out, QStringLiteral("0\tТП\t-\tS = 132 кВА (20,95 %)\t132\t-\t-\t-\t16,57\t4,96\t-\t-\t0\t132\t1\tсеть\n"
                                 "1\tВвод ВРУ\tТП\tВРУ\t200\t216,2\t2,52\t2,52\t5,65\t2,06\t200 А, 10·Iн\tнет: отключение"
                                 "\t0\t132\t1\tзадан\n"
                                 "2\tЩС-1\tВвод ВРУ\tЩС-1\t95\t110,4\t1,54\t4,06\t2,85\t1,12\tC100\tда\t0\t62,7\t1\tзадан\n"
                                 "2\tЩО-1\tВвод ВРУ\tЩО-1\t25\t69\t1,84\t4,36\t1,1\t0,45\tC25\tда\t0\t16,5\t1\tзадан\n"
                                 "2\tЩВ-1\tВвод ВРУ\tЩВ-1\t35\t87,4\t2,04\t4,56\t1,26\t0,52\tC40\tда\t0\t23,1\t1\tзадан\n"));
    QCOMPARE(err, QString());

    // The lines as an older version kept them: one chain, and "?" where a
    // line has no start. "faults" and "protect" print every line in tree order.
    Project old = Workshop::project(false);
    old.lines[2].checked = false;
    QVERIFY(ProjectFile::write(path, old));
    QCOMPARE(runCli({QStringLiteral("network"), path, QStringLiteral("--app-dir"), app.path(), QStringLiteral("--tolerance"),
                     QStringLiteral("1")},
                    &out),
             0);
    QCOMPARE(out.split(QLatin1Char('\n')).mid(1, 4),
             (QStringList{"1\tВвод ВРУ\tТП\tВРУ\t200\t216,2\t2,5\t2,5\t5,7\t2,1\t200 А, 10·Iн\tнет: отключение\t0\t132\t1\tзадан",
                          "2\tЩС-1\tВвод ВРУ\tЩС-1\t95\t110,4\t1,5\t4,1\t2,9\t1,1\tC100\tда\t0\t62,7\t1\tзадан",
                          "3\tЩВ-1\tЩС-1\tЩВ-1\t35\t87,4\t2\t6,1\t1\t0,4\tC40\tда\t0\t23,1\t1\tзадан",
                          "1\tЩО-1\t?\tЩО-1\t25\t69\t1,8\t1,8\t1,3\t0,5\tC25\tнет: отключающая способность\t0\t16,5\t1\tзадан"}));
    QCOMPARE(runCli({QStringLiteral("faults"), path, QStringLiteral("--app-dir"), app.path()}, &out), 0);
    QStringList firstFields;
    for (const QString &row : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        firstFields << row.section(QLatin1Char('\t'), 0, 0);
    QCOMPARE(firstFields, (QStringList{"ТП", "Ввод ВРУ", "ЩС-1", "ЩВ-1", "ЩО-1"}));
    QCOMPARE(runCli({QStringLiteral("kz"), path, QStringLiteral("--app-dir"), app.path()}, &out), 0);

    // A damaged file: what could be read, the damage once, exit 3.
    QString text = ProjectFile::toText(Workshop::project());
    text.replace(QStringLiteral("Id=1\r\nFrom=0"), QStringLiteral("Id=1\r\nFrom=4"));
    app.writeFile(QStringLiteral("Круг.kbp"), cp1251(text));
    QCOMPARE(runCli({QStringLiteral("network"), app.file(QStringLiteral("Круг.kbp")), QStringLiteral("--app-dir"),
                     app.path()},
                    &out, &err),
             3);
    QVERIFY(err.contains(QStringLiteral("линии «Ввод ВРУ», «ЩВ-1» образуют круг")));
    QVERIFY(out.contains(QStringLiteral("1\tЩВ-1\t?\t")));
    // Boards that are no path refuse the simplified method's command.
    Project all = Workshop::project();
    for (CableLine &l : all.lines)
        l.checked = true;
    QVERIFY(ProjectFile::write(path, all));
    QCOMPARE(runCli({QStringLiteral("kz"), path, QStringLiteral("--app-dir"), app.path()}, &out, &err), 1);
    QVERIFY(err.startsWith(QStringLiteral("Отмеченные линии не образуют один путь сети: ")));
}

void TstNetworkWindow::loadsFollowTheShields()
{
    // ЩС-1 linked to its shield: 30 kW, Кс 0,7, cos φ 0,8, three-phase.
    Project p = Workshop::project();
    Load load;
    load.name = QStringLiteral("Станок");
    load.cells[Load::InstalledPower] = QStringLiteral("30");
    load.cells[Load::PowerFactor] = QStringLiteral("0,8");
    load.cells[Load::DemandFactor] = QStringLiteral("0,7");
    load.cells[Load::Phase] = QStringLiteral("ABC");
    load.cells[Load::Phases] = QStringLiteral("3");
    load.cells[Load::Efficiency] = QStringLiteral("1");
    p.shields = {Shield{QStringLiteral("ЩС-1"), {load}, 1}};
    p.lines[1].place.shield = 1;
    Fixture f(p);
    // Opened: ЩС-1 takes 7 + j5,25 kVA a phase, 39,77 A at 0,8; the feeder
    // adds ЩО-1's typed 25 A and ЩВ-1's 35 A at cos φ 1 (5,5 and 7,7 kW a
    // phase): 20,2 + j5,25, 94,87 A at 60,6 / 62,61 = 0,97. One undoable step.
    QCOMPARE(f.window->statusBar()->currentMessage(), QStringLiteral("Пересчитано по нагрузкам сети: 2 линии"));
    QCOMPARE(f.lines().at(1).cell(CableLine::LoadCurrent), QStringLiteral("39,77"));
    QCOMPARE(f.lines().at(1).inputs->cosPhi.text, QStringLiteral("0,8"));
    QCOMPARE(f.lines().at(0).cell(CableLine::LoadCurrent), QStringLiteral("94,87"));
    QCOMPARE(f.lines().at(0).inputs->cosPhi.text, QStringLiteral("0,97"));
    QCOMPARE(f.lines().at(2).cell(CableLine::LoadCurrent), QStringLiteral("25"));
    QCOMPARE(f.window->history()->undoText(), QStringLiteral("пересчет по нагрузкам сети"));
    const QString drop = f.lines().at(0).cell(CableLine::VoltageDrop);

    // Кс 1: 10 + j7,5 a phase on ЩС-1, 56,82 A; the feeder 23,2 + j7,5,
    // 110,83 A, and its drop with it; undo restores both.
    f.window->project().shields[0].loads[0].cells[Load::DemandFactor] = QStringLiteral("1");
    f.window->action(QStringLiteral("actionRecomputeLines"))->trigger();
    QCOMPARE(f.lines().at(1).cell(CableLine::LoadCurrent), QStringLiteral("56,82"));
    QCOMPARE(f.lines().at(0).cell(CableLine::LoadCurrent), QStringLiteral("110,83"));
    QVERIFY(f.lines().at(0).cell(CableLine::VoltageDrop) != drop);
    QCOMPARE(f.network().model()->indexOfLine(0).siblingAtColumn(NetworkModel::CurrentSource).data().toString(),
             QStringLiteral("сеть"));
    f.window->history()->undo();
    QCOMPARE(f.lines().at(0).cell(CableLine::LoadCurrent), QStringLiteral("94,87"));
    QCOMPARE(f.lines().at(0).cell(CableLine::VoltageDrop), drop);

    // 70 kW at Кс 1: 29,17 kVA a phase, 132,58 A on ЩС-1, over its cable's
    // current: highlighted in the main list as in the network window; the
    // feeder (184 A) is not; back at 30 kW the highlight goes.
    const auto loadCell = [&f](int row) {
        return f.window->lineModel()->index(row, CableLine::LoadCurrent + 1);
    };
    QVERIFY(!loadCell(1).data(Qt::BackgroundRole).isValid());
    f.window->project().shields[0].loads[0].cells[Load::DemandFactor] = QStringLiteral("1");
    f.window->project().shields[0].loads[0].cells[Load::InstalledPower] = QStringLiteral("70");
    f.window->action(QStringLiteral("actionRecomputeLines"))->trigger();
    QCOMPARE(f.lines().at(1).cell(CableLine::LoadCurrent), QStringLiteral("132,58"));
    QCOMPARE(loadCell(1).data(Qt::BackgroundRole).value<QColor>(), QColor(0xc6, 0x28, 0x28));
    QCOMPARE(loadCell(1).data(Qt::ToolTipRole).toString(),
             QStringLiteral("Ток нагрузки по сети 132,58 А больше длительно допустимого тока ")
                 + f.lines().at(1).cell(CableLine::PermissibleCurrent) + QStringLiteral(" А."));
    QVERIFY(f.network().model()->indexOfLine(1).siblingAtColumn(NetworkModel::LoadCurrent).data(Qt::BackgroundRole).isValid());
    QVERIFY(!loadCell(0).data(Qt::BackgroundRole).isValid());
    QVERIFY(!f.window->lineModel()->index(1, 0).data(Qt::BackgroundRole).isValid());
    f.window->project().shields[0].loads[0].cells[Load::InstalledPower] = QStringLiteral("30");
    f.window->action(QStringLiteral("actionRecomputeLines"))->trigger();
    QCOMPARE(f.lines().at(1).cell(CableLine::LoadCurrent), QStringLiteral("56,82"));
    QVERIFY(!loadCell(1).data(Qt::BackgroundRole).isValid());
}

QTEST_MAIN(TstNetworkWindow)
#include "tst_networkwindow.moc"
