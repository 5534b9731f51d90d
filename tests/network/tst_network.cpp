// The network as a tree: where each line starts and the tree order, places
// that cannot be used, the checked path, marking a path and deleting a line,
// and the workshop of the user guide computed by hand in every place.
#include "TestSupport.h"
#include "Workshop.h"
#include "base/AppContext.h"
#include "base/NumberText.h"
#include "base/ProjectFile.h"
#include "calc/lines/LineEntry.h"
#include "calc/network/CheckedPath.h"
#include "calc/network/NetworkCalc.h"
#include "calc/network/NetworkLoads.h"
#include "calc/network/NetworkTexts.h"
#include "calc/network/NetworkTree.h"
#include "calc/network/NetworkLoadUpdate.h"
#include "docs/schedules/NetworkSchemeReport.h"

#include <QtTest>

using namespace Network;

namespace {

// Lines written as "id[/from][*]": "3/1*" is line L3, starting at the end of
// the line with id 1, checked; "2" has no From; "/-1" is a From that was no number.
QVector<CableLine> linesOf(const QString &layout)
{
    QVector<CableLine> lines;
    for (QString token : layout.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        CableLine l;
        l.checked = token.endsWith(QLatin1Char('*'));
        if (l.checked)
            token.chop(1);
        const QStringList parts = token.split(QLatin1Char('/'));
        l.place.id = parts.at(0).toInt();
        if (parts.size() > 1)
            l.place.from = parts.at(1).toInt();
        l.name = QStringLiteral("L") + parts.at(0);
        l.cells[CableLine::VoltageDrop] = QStringLiteral("1");
        lines << l;
    }
    return lines;
}

// The tree order as "depth:id", "?" after a line whose start is not set, "!"
// after one whose start names no line or closes a circle.
QString rendered(const Tree &tree, const QVector<CableLine> &lines)
{
    QStringList out;
    for (const int i : tree.order()) {
        QString s = QString::number(tree.depth(i)) + QLatin1Char(':') + QString::number(lines.at(i).place.id);
        if (tree.start(i) == Start::NotSet)
            s += QLatin1Char('?');
        else if (tree.start(i) == Start::Broken)
            s += QLatin1Char('!');
        out << s;
    }
    return out.join(QLatin1Char(' '));
}

QStringList names(const QVector<int> &indices, const QVector<CableLine> &lines)
{
    QStringList out;
    for (const int i : indices)
        out << lines.at(i).name;
    return out;
}

} // namespace

class TstNetwork : public QObject
{
    Q_OBJECT
private slots:
    void places_data();
    void places();
    void checkedPath_data();
    void checkedPath();
    void markingAndDeletingKeepPlaces();
    void workshopByHand();
    void readingPlaces_data();
    void readingPlaces();
    void longChainAndCircle();
    void longestFileChainThroughCommandLine();
    void loadsByHand();
    void schemeScheduleByHand();
    void readingLoadLinks_data();
    void readingLoadLinks();
};

void TstNetwork::places_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("order");
    QTest::addColumn<QStringList>("problems");
    // A project of an older version: its checked lines one chain in list
    // order, the unchecked one without a start, at the bus.
    QTest::newRow("older project") << "1* 2 3* 4*" << "1:1 2:3 3:4 1:2?" << QStringList();
    QTest::newRow("listed out of tree order") << "4/2 2/1 1/0 3/1" << "1:1 2:2 3:4 2:3" << QStringList();
    QTest::newRow("set and not set") << "1* 2/1 3* 4/3" << "1:1 2:2 2:3 3:4" << QStringList();
    QTest::newRow("names no line") << "1/0 2/9 3/2" << "1:1 1:2! 2:3"
                                   << QStringList{"линия «L2» начинается в конце линии, которой нет"};
    QTest::newRow("no number") << "1/-1 2/1" << "1:1! 2:2"
                               << QStringList{"линия «L1» начинается в конце линии, которой нет"};
    QTest::newRow("circle") << "1/0 2/3 3/4 4/2 5/3" << "1:1 1:2! 1:3! 2:5 1:4!"
                            << QStringList{"линии «L2», «L3», «L4» образуют круг"};
    QTest::newRow("itself") << "1/1 2/1" << "1:1! 2:2" << QStringList{"линия «L1» начинается в своем же конце"};
    QTest::newRow("two circles and a stray start")
        << "1/2 2/1 3/4 4/3 5/8" << "1:1! 1:2! 1:3! 1:4! 1:5!"
        << QStringList{"линия «L5» начинается в конце линии, которой нет", "линии «L1», «L2» образуют круг",
                       "линии «L3», «L4» образуют круг"};
    // Which of two lines of one id a start means cannot be told.
    QTest::newRow("one id twice") << "5/0 5/0 2/5" << "1:5 1:5 1:2!"
                                  << QStringList{"линия «L2» начинается в конце линии, которой нет"};
}

void TstNetwork::places()
{
    QFETCH(QString, layout);
    QFETCH(QString, order);
    QFETCH(QStringList, problems);
    const QVector<CableLine> lines = linesOf(layout);
    const Tree tree = Tree::build(lines);
    QCOMPARE(rendered(tree, lines), order);
    QCOMPARE(problemTexts(tree, lines), problems);
    // What the dialog and the window rely on, for every pair of lines: a
    // line is below another exactly when that one is on its path, and the
    // lines at a node are reached by their rows.
    for (int a = 0; a < lines.size(); ++a) {
        const QVector<int> path = tree.pathTo(a);
        QCOMPARE(path.size(), tree.depth(a));
        QCOMPARE(path.last(), a);
        for (int b = 0; b < lines.size(); ++b)
            QCOMPARE(tree.isDownstream(a, b), path.contains(b));
        const int up = tree.parent(a);
        QCOMPARE(tree.child(up, tree.rowAtParent(a)), a);
        if (up != Bus)
            QVERIFY(tree.positionInOrder(up) < tree.positionInOrder(a));
    }
}

void TstNetwork::checkedPath_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<QString>("message");
    QTest::newRow("older project") << "1* 2 3* 4*" << QStringList{"L1", "L3", "L4"} << QString();
    QTest::newRow("listed out of path order") << "3/2* 9 1/0* 2/1*" << QStringList{"L1", "L2", "L3"} << QString();
    QTest::newRow("nothing checked") << "1/0 2/1" << QStringList() << QString();
    QTest::newRow("two at one line's end")
        << "1/0* 2/1* 3/1*" << QStringList{"L1"}
        << "Отмеченные линии не образуют один путь сети: линии «L2» и «L3» обе начинаются в конце линии «L1».";
    QTest::newRow("two at the bus") << "1/0* 2/0*" << QStringList()
                                    << "Отмеченные линии не образуют один путь сети: линии «L1» и «L2» обе "
                                       "начинаются на шинах ТП.";
    QTest::newRow("a gap") << "1/0* 2/1 3/2*" << QStringList{"L1"}
                           << "Отмеченные линии не образуют один путь сети: линия «L3» начинается в конце линии "
                              "«L2», а эта линия не отмечена.";
    QTest::newRow("no start") << "1/0* 2/7*" << QStringList{"L1"}
                              << "Отмеченные линии не образуют один путь сети: у линии «L2» не задано начало.";
}

void TstNetwork::checkedPath()
{
    QFETCH(QString, layout);
    QFETCH(QStringList, path);
    QFETCH(QString, message);
    const QVector<CableLine> lines = linesOf(layout);
    const Tree tree = Tree::build(lines);
    const CheckedPath checked = Network::checkedPath(lines, tree);
    QCOMPARE(names(checked.lines, lines), path);
    QCOMPARE(pathBreakMessage(checked, lines, tree), message);

    // The status bar: the sum stays; a path has the limit warning (the drops
    // are 1 % each, the limit 1,5 %), the lines that are none say so instead.
    const SummaryText summary = summarize(lines, tree, 1.5);
    const int count = int(std::count_if(lines.begin(), lines.end(), [](const CableLine &l) { return l.checked; }));
    QCOMPARE(summary.panel1, QStringLiteral("Суммарное падение напряжения: %1%").arg(count));
    if (!message.isEmpty())
        QCOMPARE(summary.panel2, notOnePathText());
    else if (count > 1)
        QVERIFY(summary.panel2.startsWith(QStringLiteral("Внимание: Cуммарные потери")));

    // The simplified method chains them in the path's order, in the places
    // the checked lines hold in the list; it refuses what is no path.
    Project project;
    project.lines = lines;
    QString refusal;
    const auto chained = checkedPathProject(project, &refusal);
    QCOMPARE(refusal, message);
    QCOMPARE(chained.has_value(), message.isEmpty());
    if (chained) {
        QStringList checkedInList;
        for (int i = 0; i < lines.size(); ++i) {
            QCOMPARE(chained->lines.at(i).checked, lines.at(i).checked);
            if (lines.at(i).checked)
                checkedInList << chained->lines.at(i).name;
        }
        QCOMPARE(checkedInList, path);
    }
}

void TstNetwork::markingAndDeletingKeepPlaces()
{
    // L1, L3 chained by their check marks, L2 without a start, L5 set at L3's end.
    const QVector<CableLine> lines = linesOf("1* 2 3* 5/3");
    const Tree tree = Tree::build(lines);
    const QVector<CableLine> marked = markedPath(lines, tree, 3);
    QCOMPARE(names(Network::checkedPath(marked, Tree::build(marked)).lines, marked), (QStringList{"L1", "L3", "L5"}));
    // The starts the marks gave are set as they stood: nothing moved.
    QCOMPARE(marked.at(0).place.from, std::optional<int>(0));
    QCOMPARE(marked.at(2).place.from, std::optional<int>(1));
    QCOMPARE(marked.at(1).place.from, std::nullopt);
    QCOMPARE(rendered(Tree::build(marked), marked), rendered(tree, lines));

    // The path to a line without a start is that line, from the bus.
    const QVector<CableLine> alone = markedPath(marked, Tree::build(marked), 1);
    const Tree aloneTree = Tree::build(alone);
    QCOMPARE(names(Network::checkedPath(alone, aloneTree).lines, alone), QStringList{"L2"});
    QCOMPARE(rendered(aloneTree, alone), "1:1 2:3 3:5 1:2");

    // Deleting L3: L5 starts where L3 started; deleting a line without a
    // start leaves those at its end without one.
    const auto moved = reattachedOnDelete(marked, Tree::build(marked), 2);
    QCOMPARE(moved.size(), 1);
    QCOMPARE(moved.first().first, 3);
    QCOMPARE(moved.first().second.place.from, std::optional<int>(1));
    const QVector<CableLine> loose = linesOf("1/0 2 3/2 4/3");
    const auto freed = reattachedOnDelete(loose, Tree::build(loose), 1);
    QCOMPARE(freed.size(), 1);
    QCOMPARE(freed.first().second.place.from, std::nullopt);
}

void TstNetwork::workshopByHand()
{
    // By hand, mΩ, U = 400 V (ГОСТ 28249-93). Transformer 630 kVA Y/Yн-0:
    // R1 3,06, X1 13,6, R0 30,3, X0 95,8; an infinite system. Per metre
    // (r1, x1, r0, x0): Al 150 — 0,206, 0,0596, 0,824, 0,2384; Cu 35 — 0,524,
    // 0,0637, 2,096, 0,2548; Cu 16 — 1,15, 0,0675, 4,6, 0,27; Cu 25 — 0,727,
    // 0,0662, 2,908, 0,2648; 0,1 mΩ of contacts a line. At the ВРУ: R1 =
    // 3,06 + 30,9 + 0,1 = 34,06, X1 = 13,6 + 8,94 = 22,54, Iк(3) = 400 /
    // (√3 · 40,843) = 5,6544 kA; for Iк(1) min the cables at 65 °C ((228 + 65)
    // / 248 for Al, (234,5 + 65) / 254,5 for Cu) and 3 × 10 mΩ of arc. Each
    // board adds its own cable to the ВРУ's sums.
    TestAppDir app;
    const AppContext context(app.path());
    const Project p = Workshop::project();
    const Tree tree = Tree::build(p.lines);
    const Result r = compute(p, tree, context.calc, Sources::load(p, context));
    QVERIFY2(r.problems.isEmpty(), qPrintable(r.problems.join(QLatin1Char('\n'))));
    struct Expected {
        const char *drop;
        QStringList currents; // Iк(3) max, Iк(2), Iк(1) max, Iк(1) min, Kуд, iуд
    };
    const Expected expected[] = {
        {"2,52", {"5,6544", "4,8968", "2,4413", "2,0623", "1,0212", "8,1664"}},
        {"4,06", {"2,8531", "2,4708", "1,3394", "1,1214", "1,0017", "4,0419"}},
        {"4,36", {"1,1038", "0,9559", "0,5414", "0,455", "1", "1,561"}},
        {"4,56", {"1,2613", "1,0924", "0,6162", "0,518", "1", "1,7839"}},
    };
    QCOMPARE(pointTexts(r.bus, 4).mid(1), (QStringList{"16,5667", "14,3472", "5,4009", "4,9562", "1,5057", "35,2775"}));
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(NumberText::format(r.lines.at(i).dropFromBus), QString::fromUtf8(expected[i].drop));
        QVERIFY(!r.lines.at(i).dropAboveLimit);
        QCOMPARE(FaultCurrents::pointTexts(r.lines.at(i).end, 4).mid(1), expected[i].currents);
        // Ib <= In <= Iz; Iк(3) max where the line starts within Icu (16,57
        // <= 25 kA at the bus, 5,65 <= 10 and 6 kA at the ВРУ). Iк(1) min at
        // the end trips the boards' breakers at once (C100: 1 kA, C25: 250 A,
        // C40: 400 A; S >= Iк·√0,1 / 115 = 15,5 mm²), but not the feeder's
        // industrial one: 1,2 · 10 · 200 = 2400 A > 2062 A.
        QCOMPARE(checksText(r.lines.at(i).check), i == 0 ? QStringLiteral("нет: отключение") : QStringLiteral("да"));
    }
    QCOMPARE(*r.lines.at(3).check.input.maximumAtDevice, *r.lines.at(0).end.threePhase);

    // Each board's currents are those of a project holding only its path as
    // checked lines, as older versions computed it: to the last bit.
    for (int branch = 1; branch < 4; ++branch) {
        Project path = Workshop::project(false);
        for (int i = 1; i < 4; ++i)
            path.lines[i].checked = i == branch;
        const Tree pathTree = Tree::build(path.lines);
        const Result alone = compute(path, pathTree, context.calc, Sources::load(path, context));
        const FaultCurrents::Point &a = alone.lines.at(branch).end;
        const FaultCurrents::Point &b = r.lines.at(branch).end;
        QCOMPARE(pathTree.parent(branch), 0);
        for (const auto member : {&FaultCurrents::Point::threePhase, &FaultCurrents::Point::twoPhase,
                                  &FaultCurrents::Point::singlePhaseMax, &FaultCurrents::Point::singlePhaseMin,
                                  &FaultCurrents::Point::peakFactor, &FaultCurrents::Point::peakCurrent})
            QCOMPARE(*(a.*member), *(b.*member));
        QCOMPARE(alone.lines.at(branch).dropFromBus, r.lines.at(branch).dropFromBus);
    }

    // The same four lines all checked, as a project of an older version:
    // one chain, whose sum passes the limit and whose ventilation board
    // gets Iк(1) min 0,2432 kA (|2Z1 + Z0| = 2848,9 mΩ hot), below C40's 400 A.
    const Project old = Workshop::project(false);
    const Tree oldTree = Tree::build(old.lines);
    const Result chained = compute(old, oldTree, context.calc, Sources::load(old, context));
    QCOMPARE(FaultCurrents::pointTexts(chained.lines.at(3).end, 4).at(4), QStringLiteral("0,2432"));
    QCOMPARE(checksText(chained.lines.at(3).check), QStringLiteral("нет: отключение"));
    QCOMPARE(summarize(old.lines, 7.5).panel2, QStringLiteral("Внимание: Cуммарные потери напряжения превышают 7,5%!"));
    // Placed, the four are no path: said instead of the limit.
    Project all = p;
    for (CableLine &l : all.lines)
        l.checked = true;
    QCOMPARE(summarize(all.lines, 7.5).panel2, notOnePathText());
}

void TstNetwork::readingPlaces_data()
{
    QTest::addColumn<QString>("keys"); // per line, "|" between lines
    QTest::addColumn<QString>("nextId");
    QTest::addColumn<QString>("places"); // id/from per line ("-" absent)
    QTest::addColumn<int>("next");
    QTest::addColumn<QStringList>("problems");
    QTest::newRow("older file") << "|Board=ЩС|" << "" << "1/- 2/- 3/-" << 4 << QStringList();
    QTest::newRow("ids and starts") << "Id=4\nFrom=0|Id=9\nFrom=4" << "NextId=12" << "4/0 9/4" << 12 << QStringList();
    QTest::newRow("a line without an id") << "Id=4|" << "" << "4/- 5/-" << 6 << QStringList();
    QTest::newRow("an id below the next") << "Id=30" << "NextId=7" << "30/-" << 31 << QStringList();
    QTest::newRow("id no number") << "Id=x|Id=2\nFrom=0" << "" << "3/- 2/0" << 4
                                  << QStringList{"неверный номер (Id) линии «L1»"};
    QTest::newRow("id 0") << "Id=0\nFrom=0" << "" << "1/0" << 2 << QStringList{"неверный номер (Id) линии «L1»"};
    QTest::newRow("one id twice") << "Id=5\nFrom=0|Id=5\nFrom=0|Id=6\nFrom=5" << "" << "5/0 7/0 6/-1" << 8
                                  << QStringList{"один номер (Id) 5 у линий «L1», «L2»",
                                                 "линия «L3» начинается в конце линии, которой нет"};
    QTest::newRow("from no number") << "Id=1\nFrom=первая|Id=2\nFrom=-3" << "" << "1/-1 2/-1" << 3
                                    << QStringList{"линии «L1», «L2» начинаются в конце линии, которой нет"};
    QTest::newRow("circle") << "Id=1\nFrom=2|Id=2\nFrom=1|Id=3\nFrom=2" << "" << "1/2 2/1 3/2" << 4
                            << QStringList{"линии «L1», «L2» образуют круг"};
}

void TstNetwork::readingPlaces()
{
    QFETCH(QString, keys);
    QFETCH(QString, nextId);
    QFETCH(QString, places);
    QFETCH(int, next);
    QFETCH(QStringList, problems);
    const QStringList perLine = keys.split(QLatin1Char('|'));
    QString text = QStringLiteral("[TP]\r\nSTP=630\r\n[Lines]\r\nSubItemCount=9\r\nLineCount=%1\r\n%2\r\n")
                       .arg(perLine.size())
                       .arg(nextId);
    for (int i = 0; i < perLine.size(); ++i)
        text += QStringLiteral("[Line%1]\r\nLineName=L%1\r\nChecked=False\r\n%2\r\n").arg(i + 1).arg(perLine.at(i));
    text += QStringLiteral("[Shields]\r\nTab1=ЩО1\r\nTabsCount=1\r\n[Loads1]\r\nLoadCount=0\r\n");

    Project project;
    ProjectFile::ReadResult r = ProjectFile::readText(text, project);
    Network::addPlaceProblems(project.lines, r);
    QCOMPARE(r.problems, problems);
    QCOMPARE(r.damaged, !problems.isEmpty());
    QStringList read;
    for (const CableLine &l : project.lines)
        read << QString::number(l.place.id) + QLatin1Char('/')
                    + (l.place.from ? QString::number(*l.place.from) : QStringLiteral("-"));
    QCOMPARE(read.join(QLatin1Char(' ')), places);
    QCOMPARE(project.nextLineId, next);

    // Saved and read again: the same places, an absent start still absent,
    // and never an id given twice.
    const QString saved = ProjectFile::toText(project);
    QCOMPARE(saved.contains(QStringLiteral("From=")), places.contains(QStringLiteral("/0")) || places.contains(QStringLiteral("/-1"))
                                                          || places.contains(QRegularExpression(QStringLiteral("/[1-9]"))));
    Project back;
    ProjectFile::readText(saved, back);
    for (int i = 0; i < project.lines.size(); ++i)
        QCOMPARE(back.lines.at(i).place, project.lines.at(i).place);
    QCOMPARE(back.nextLineId, project.nextLineId);
    QCOMPARE(back.takeLineId(), next);
}

void TstNetwork::longChainAndCircle()
{
    // 100 000 lines, each at the end of the one before: built and computed
    // without recursion; then the same lines closed into one circle.
    constexpr int Count = 100000;
    QVector<CableLine> chain(Count);
    for (int i = 0; i < Count; ++i) {
        CableLine &l = chain[i];
        l.name = QStringLiteral("L%1").arg(i + 1);
        l.cells = QStringList{"АВВГ", "4x16", "Алюминий", "1", "1,91", "10", "60", "0,001", "380"};
        l.place.id = i + 1;
        l.place.from = i;
        l.checked = true;
    }
    Project p;
    p.transformerPower = QStringLiteral("400");
    p.lines = chain;
    TestAppDir app;
    const AppContext context(app.path());
    const Tree tree = Tree::build(p.lines);
    QCOMPARE(tree.depth(Count - 1), Count);
    QVERIFY(tree.isDownstream(Count - 1, 0));
    const Result r = compute(p, tree, context.calc, Sources::load(p, context));
    QCOMPARE(NumberText::formatRounded(r.lines.last().dropFromBus, 6), QStringLiteral("100"));
    QVERIFY(r.lines.last().endKnown);
    QVERIFY(*r.lines.last().end.singlePhaseMin < *r.lines.first().end.singlePhaseMin);
    const CheckedPath path = Network::checkedPath(p.lines, tree);
    QVERIFY(path.isPath);
    QCOMPARE(path.lines.size(), Count);

    p.lines.first().place.from = Count;
    const Tree circle = Tree::build(p.lines);
    QCOMPARE(circle.problems().size(), 1);
    QCOMPARE(problemTexts(circle, p.lines),
             QStringList{"линии «L1», «L2», «L3», «L4», «L5», «L6» и еще 99994 образуют круг"});
    QCOMPARE(circle.depth(Count - 1), 1);
    const Result none = compute(p, circle, context.calc, Sources::load(p, context));
    QCOMPARE(none.lines.size(), Count);
    QVERIFY(!Network::checkedPath(p.lines, circle).isPath);
}

void TstNetwork::longestFileChainThroughCommandLine()
{
    // A file holds at most 32 767 lines (its counts are 16-bit): a chain of
    // 30 000 is read, computed and printed; closed into a circle, it is told.
    constexpr int Count = 30000;
    Project p = Workshop::project();
    CableLine pattern = p.lines.at(1);
    pattern.inputs.reset();
    p.lines.clear();
    for (int i = 0; i < Count; ++i) {
        CableLine l = pattern;
        l.name = QStringLiteral("L%1").arg(i + 1);
        l.place = LinePlace{i + 1, i, QString()};
        p.lines << l;
    }
    // Recomputing every line keeps the places.
    TestAppDir app;
    QVector<CableLine> recomputed = p.lines.mid(0, 3);
    LineEntry::recomputeLines(recomputed, app.path(), CalcValues{});
    QCOMPARE(recomputed.at(2).place, p.lines.at(2).place);

    const QString path = app.file(QStringLiteral("Цепь.kbp"));
    QVERIFY(ProjectFile::write(path, p));
    QString out, err;
    QCOMPARE(runCli({QStringLiteral("network"), path, QStringLiteral("--app-dir"), app.path()}, &out, &err), 0);
    const QStringList rows = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(rows.size(), Count + 1);
    QVERIFY(rows.last().startsWith(QStringLiteral("30000\tL30000\tL29999\t")));
    p.lines.first().place.from = Count;
    QVERIFY(ProjectFile::write(path, p));
    QCOMPARE(runCli({QStringLiteral("network"), path, QStringLiteral("--app-dir"), app.path()}, &out, &err), 3);
    QVERIFY(err.contains(QStringLiteral("линии «L1», «L2», «L3», «L4», «L5», «L6» и еще 29994 образуют круг")));
    QCOMPARE(out.count(QStringLiteral("\n1\t")), Count);
}

namespace {

Load consumer(const char *pu, const char *cosPhi, const char *kc, const char *phase, const char *eta)
{
    Load l;
    l.name = QStringLiteral("Нагрузка");
    l.cells[Load::InstalledPower] = QString::fromUtf8(pu);
    l.cells[Load::PowerFactor] = QString::fromUtf8(cosPhi);
    l.cells[Load::DemandFactor] = QString::fromUtf8(kc);
    l.cells[Load::Phase] = QString::fromUtf8(phase);
    l.cells[Load::Phases] = QString::fromUtf8(phase).size() == 3 ? QStringLiteral("3") : QStringLiteral("1");
    l.cells[Load::Efficiency] = QString::fromUtf8(eta);
    return l;
}

QString rounded(double value)
{
    return NumberText::formatRounded(value, 3);
}

// A ВРУ (Ко 0,9) feeding two three-phase power boards and a single-phase
// lighting board on phase B, 400 kVA.
Project loadedBoards()
{
    Project p = Workshop::project();
    p.transformerPower = QStringLiteral("400");
    p.shields = {Shield{QStringLiteral("ЩС-1"), {consumer("30", "0,8", "0,7", "ABC", "1")}, 1},
                 Shield{QStringLiteral("ЩС-2"), {consumer("20", "0,9", "1", "ABC", "0,9")}, 2},
                 Shield{QStringLiteral("ЩО-1"), {consumer("3", "0,95", "1", "A", "1"), consumer("2", "1", "1", "C", "1")}, 3}};
    p.lines[0].place.coincidence = 0.9;
    for (int i = 1; i < 4; ++i)
        p.lines[i].place.shield = i;
    p.lines[3].cells[CableLine::Voltage] = QStringLiteral("220");
    p.lines[3].place.phase = QStringLiteral("B");
    return p;
}

} // namespace

void TstNetwork::loadsByHand()
{
    Project p = loadedBoards();
    const Loads loads = computeLoads(p, Tree::build(p.lines));
    // ЩС-1: Pр = 30·0,7 = 21 kW, S = 26,25 kVA, per phase 8,75 kVA: 39,773 A.
    // ЩС-2: Pр / η = 22,222 kW, S = 20 / 0,9 / 0,9 = 24,691 kVA, Q = S·0,4359 =
    // 10,763 kvar; per phase 7,407 + j3,588: 8,230 kVA, 37,411 A.
    // ЩО-1 on phase B: 3 + 2 kW, Q = 3·tg(arccos 0,95) = 0,986 kvar, S =
    // 5,096 kVA: 23,165 A, cos φ 0,981.
    QCOMPARE(rounded(loads.lines.at(1).current), QStringLiteral("39,773"));
    QCOMPARE(rounded(loads.lines.at(2).current), QStringLiteral("37,411"));
    QCOMPARE(rounded(loads.lines.at(3).current), QStringLiteral("23,165"));
    QCOMPARE(rounded(loads.lines.at(3).powerFactor), QStringLiteral("0,981"));
    QCOMPARE(loads.lines.at(3).powers.p[1], 5.0);
    // The ВРУ: per phase A and C 14,407 + j8,838, B 19,407 + j9,824, times
    // 0,9: 69,144, 88,986 and 69,144 A; the feeder carries phase B. P =
    // 43,4 kW, Q = 24,749 kvar, S = 49,961 kVA, cos φ 0,869: 12,49 % of 400 kVA.
    const LineLoad &feeder = loads.lines.at(0);
    QCOMPARE(rounded(feeder.phaseCurrent[0]), QStringLiteral("69,144"));
    QCOMPARE(rounded(feeder.phaseCurrent[1]), QStringLiteral("88,986"));
    QCOMPARE(rounded(feeder.phaseCurrent[2]), QStringLiteral("69,144"));
    QCOMPARE(rounded(feeder.current), QStringLiteral("88,986"));
    QCOMPARE(rounded(feeder.designPower), QStringLiteral("43,4"));
    QCOMPARE(rounded(feeder.powerFactor), QStringLiteral("0,869"));
    QCOMPARE(rounded(feeder.powers.installed), QStringLiteral("55"));
    QVERIFY(feeder.fromNetwork);
    QCOMPARE(rounded(loads.transformerLoad), QStringLiteral("49,961"));
    QCOMPARE(rounded(*loads.loading), QStringLiteral("12,49"));
    QVERIFY(!loads.overloaded());

    // ЩС-2 unlinked: its line's typed 25 A at cos φ 1 on each phase, 5,5 kW.
    // The ВРУ: P = 0,9·(21 + 16,5 + 5) = 38,25 kW, S = 41,109 kVA, phase B
    // 76,0 A; the devices are checked against the network's current.
    p.lines[2].place.shield = 0;
    TestAppDir app;
    AppContext context(app.path());
    const Tree tree = Tree::build(p.lines);
    const Result r = compute(p, tree, context.calc, Sources::load(p, context));
    QVERIFY(!r.loads.lines.at(2).fed);
    QCOMPARE(r.lines.at(2).loadCurrent, 25.0);
    QCOMPARE(rounded(r.lines.at(0).loadCurrent), QStringLiteral("76"));
    QCOMPARE(r.lines.at(0).check.input.loadCurrent, r.lines.at(0).loadCurrent);
    QCOMPARE(commandLineFields(lineRow(p, tree, r, 0, 2, 7.5)).mid(4, 1) + commandLineFields(lineRow(p, tree, r, 0, 2, 7.5)).mid(12),
             (QStringList{"76", "35", "38,25", "0,93", "сеть"}));
    QCOMPARE(commandLineFields(lineRow(p, tree, r, 2, 2, 7.5)).last(), QStringLiteral("задан"));
    QCOMPARE(busRow(r, 1).board, QStringLiteral("S = 41,1 кВА (10,3 %)"));

    // Saved and read again: the links, Ко, the phase and the shields' ids kept.
    p.lines[1].place.networkLoad = false;
    Project back;
    QVERIFY(!ProjectFile::readText(ProjectFile::toText(p), back).damaged);
    for (int i = 0; i < p.lines.size(); ++i)
        QCOMPARE(back.lines.at(i).place, p.lines.at(i).place);
    for (int s = 0; s < p.shields.size(); ++s)
        QCOMPARE(back.shields.at(s).id, p.shields.at(s).id);
    QCOMPARE(back.takeShieldId(), 4);
    // A shield deleted since: its lines are saved without the link, the file sound.
    p.shields.removeLast();
    const QString saved = ProjectFile::toText(p);
    QVERIFY(saved.contains(QStringLiteral("Shield=1")) && !saved.contains(QStringLiteral("Shield=3")));
    QVERIFY(!ProjectFile::readText(saved, back).damaged);
}

void TstNetwork::readingLoadLinks_data()
{
    QTest::addColumn<QString>("lineKeys");
    QTest::addColumn<QString>("shieldIds"); // the Id keys of [Loads1] and [Loads2], "-" absent
    QTest::addColumn<QString>("read"); // shield/Ко/phase of the line, then the shields' ids
    QTest::addColumn<QStringList>("problems");
    QTest::newRow("older file") << "" << "- -" << "0/1/A 1 2" << QStringList();
    QTest::newRow("linked") << "Shield=7\r\nCoincidence=0,85\r\nPhase=C" << "7 3" << "7/0,85/C 7 3" << QStringList();
    QTest::newRow("names no shield") << "Shield=5" << "- -" << "0/1/A 1 2"
                                     << QStringList{"линия «L1» питает щит, которого нет"};
    QTest::newRow("Ко out of range") << "Coincidence=1,5" << "- -" << "0/1/A 1 2"
                                     << QStringList{"коэффициент совмещения максимумов (Ко) линии «L1» вне диапазона "
                                                    "(0; 1]: «1,5», принят 1"};
    QTest::newRow("Ко zero") << "Coincidence=0" << "- -" << "0/1/A 1 2"
                             << QStringList{"коэффициент совмещения максимумов (Ко) линии «L1» вне диапазона "
                                            "(0; 1]: «0», принят 1"};
    QTest::newRow("one shield id twice") << "Shield=4" << "4 4" << "4/1/A 4 5"
                                         << QStringList{"один номер (Id) 4 у щитов «ЩО1», «ЩО2»"};
}

void TstNetwork::readingLoadLinks()
{
    QFETCH(QString, lineKeys);
    QFETCH(QString, shieldIds);
    QFETCH(QString, read);
    QFETCH(QStringList, problems);
    const QStringList ids = shieldIds.split(QLatin1Char(' '));
    QString text = QStringLiteral("[Lines]\r\nSubItemCount=9\r\nLineCount=1\r\n"
                                  "[Line1]\r\nLineName=L1\r\nChecked=False\r\nId=1\r\nFrom=0\r\n%1\r\n"
                                  "[Shields]\r\nTab1=ЩО1\r\nTab2=ЩО2\r\nTabsCount=2\r\n")
                       .arg(lineKeys);
    for (int s = 0; s < 2; ++s)
        text += QStringLiteral("[Loads%1]\r\nLoadCount=0\r\n").arg(s + 1)
                + (ids.at(s) == QLatin1String("-") ? QString() : QStringLiteral("Id=") + ids.at(s) + QStringLiteral("\r\n"));
    Project project;
    const ProjectFile::ReadResult r = ProjectFile::readText(text, project);
    // What the file lacks beyond the links (the substation) is not this test's.
    QStringList told;
    for (const QString &problem : r.problems)
        if (problem.contains(QStringLiteral("щит")) || problem.contains(QStringLiteral("Ко")))
            told << problem;
    QCOMPARE(told, problems);
    const LinePlace &place = project.lines.first().place;
    QCOMPARE(QStringList({QString::number(place.shield) + QLatin1Char('/') + NumberText::format(place.coincidence)
                              + QLatin1Char('/') + place.phase,
                          QString::number(project.shields.at(0).id), QString::number(project.shields.at(1).id)})
                 .join(QLatin1Char(' ')),
             read);
}

QTEST_GUILESS_MAIN(TstNetwork)
#include "tst_network.moc"

// The schedule of the network: the boards above on the workshop's 630 kVA
// transformer, ЩС-2 unlinked. Per line the board, Pу, Ко, Pр, cos φ, Iр
// (the network's, see loadsByHand), device, cable, length, Iдоп, the drops
// and the currents at its end (see workshopByHand); a line with nothing at its
// end has no Ко.
void TstNetwork::schemeScheduleByHand()
{
    Project p = loadedBoards();
    p.transformerPower = QStringLiteral("630");
    p.lines[2].place.shield = 0;
    TestAppDir app;
    AppContext context(app.path());
    const Tree tree = Tree::build(p.lines);
    const Result r = compute(p, tree, context.calc, Sources::load(p, context));
    const QVector<ReportSection> sections = NetworkSchemeReport::build(p, tree, r, 2, 7.5);
    QCOMPARE(sections.size(), 1);
    const ReportTable &t = sections.at(0).table;
    QCOMPARE(t.columnCount(), int(NetworkSchemeReport::ColumnCount));
    // Pу: 30 + 5 kW of the linked boards; Pр = 0,9·(21 + 16,5 + 5); ЩО-1's
    // typed 25 A at cos φ 1 is 3 · 0,22 · 25 = 16,5 kW; the single-phase
    // ventilation line (the lighting board on phase B) has no Iк(3).
    // The bus: S = 41,109 kVA of 630 kVA, 6,525 %; P = 38,25 kW, cos φ =
    // 38,25 / 41,109; the transformer's terminals 16,57 and 4,96 kA.
    const QList<QStringList> expected = {
        {"ТП", "S = 41,11 кВА (6,53 %)", "35,00", "-", "38,25", "0,93", "-", "-", "-", "-", "-", "-", "-", "16,57",
         "4,96"},
        {"Ввод ВРУ", "ВРУ", "35,00", "0,9", "38,25", "0,93", "76,00", "200 А, 10·Iн", "АВВГ 4x150", "150", "216,20",
         "2,52", "2,52", "5,65", "2,06"},
        {"\u00a0\u00a0ЩС-1", "ЩС-1", "30,00", "1", "21,00", "0,80", "39,77", "C100", "ВВГ 4x35", "80", "110,40", "1,54", "4,06",
         "2,85", "1,12"},
        {"\u00a0\u00a0ЩО-1", "ЩО-1", "0,00", "-", "16,50", "1,00", "25,00", "C25", "ВВГ 4x16", "150", "69,00", "1,84", "4,36",
         "1,10", "0,45"},
        {"\u00a0\u00a0ЩВ-1", "ЩО-1", "5,00", "1", "5,00", "0,98", "23,17", "C40", "ВВГ 4x25", "200", "87,40", "2,04", "4,56", "-",
         "0,52"}};
    QCOMPARE(t.rows.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(t.rows.at(i), expected.at(i));
}
