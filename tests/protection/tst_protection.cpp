// Protective devices: the four checks by hand, the choice of a device, and
// the same verdicts through the window, the schedule and the command line.
#include "TestSupport.h"
#include "base/AppContext.h"
#include "base/ProjectFile.h"
#include "calc/protection/Protection.h"
#include "ui/protection/ProtectionWindow.h"
#include "docs/schedules/ProtectionReport.h"

#include <QTableWidget>
#include <QtTest>

using namespace Protection;

namespace {

Breaker breaker(const QString &characteristic, double rated, double multiple, double icu = 6)
{
    return Breaker{QStringLiteral("Автомат"), characteristic, rated, multiple, icu};
}

CheckInput input(const Breaker &device, double ib, double iz, double ik1min, double ik3max,
                 const QString &material = QStringLiteral("Медь"), double section = 16)
{
    CheckInput in;
    in.device = device;
    in.loadCurrent = ib;
    in.permissibleCurrent = iz;
    in.minimumSinglePhase = ik1min;
    in.maximumAtDevice = ik3max;
    in.material = material;
    in.section = section;
    return in;
}

CableLine line(const QString &name, const QString &cores, const QString &material, const QString &length,
               const QString &current, const QString &permissible, const QString &device = QString(),
               const QString &rating = QString())
{
    CableLine l;
    l.name = name;
    l.cells[CableLine::Cores] = cores;
    l.cells[CableLine::Material] = material;
    l.cells[CableLine::Length] = length;
    l.cells[CableLine::LoadCurrent] = current;
    l.cells[CableLine::PermissibleCurrent] = permissible;
    l.cells[CableLine::Voltage] = QStringLiteral("380");
    l.checked = true;
    if (!device.isEmpty()) {
        l.inputs = LineInputs{};
        l.inputs->device = device;
        l.inputs->deviceRating = rating;
    }
    return l;
}

// 400 kVA Д/Yн-11, Sк 200 MVA: 120 m of aluminium 4×95 with a 160 A industrial
// breaker, then 50 m of copper 4×25 with C40 (Iк(1) min at its end 1,18 kA).
Project network()
{
    Project p;
    p.transformerPower = QStringLiteral("400");
    p.transformerGroup = QStringLiteral("D");
    p.systemPower = QStringLiteral("200");
    p.lines = {line(QStringLiteral("Ввод"), QStringLiteral("4x95"), QStringLiteral("Алюминий"), QStringLiteral("120"),
                    QStringLiteral("150"), QStringLiteral("200"), QStringLiteral("10In"), QStringLiteral("160")),
               line(QStringLiteral("Щит"), QStringLiteral("4x25"), QStringLiteral("Медь"), QStringLiteral("50"),
                    QStringLiteral("40"), QStringLiteral("87,4"), QStringLiteral("C"), QStringLiteral("40"))};
    return p;
}

} // namespace

class TstProtection : public QObject
{
    Q_OBJECT
private slots:
    void disconnectionAtTheReleaseLimit_data();
    void disconnectionAtTheReleaseLimit();
    void eachOtherCheckFails();
    void choiceAtTheBoundary();
    void projectThroughWindowScheduleAndCommandLine();
};

void TstProtection::disconnectionAtTheReleaseLimit_data()
{
    QTest::addColumn<QString>("characteristic");
    QTest::addColumn<double>("rated");
    QTest::addColumn<double>("multiple");
    QTest::addColumn<bool>("instantaneous");
    // Iк(1) min = 0,75 kA at the line's end.
    QTest::newRow("C63: 10 × 63 = 630 A") << "C" << 63.0 << 10.0 << true;
    QTest::newRow("D63: 20 × 63 = 1260 A") << "D" << 63.0 << 20.0 << false;
    QTest::newRow("C80: 10 × 80 = 800 A") << "C" << 80.0 << 10.0 << false;
    QTest::newRow("B125: 5 × 125 = 625 A") << "B" << 125.0 << 5.0 << true;
}

void TstProtection::disconnectionAtTheReleaseLimit()
{
    QFETCH(QString, characteristic);
    QFETCH(double, rated);
    QFETCH(double, multiple);
    QFETCH(bool, instantaneous);
    const LineCheck c = evaluate(QStringLiteral("Л"), input(breaker(characteristic, rated, multiple), 50, 100, 0.75, 3), 2);
    QCOMPARE(c.disconnection, instantaneous ? Verdict::Yes : Verdict::No);
    // Without an instantaneous trip the thermal check takes 5 s.
    QCOMPARE(c.tripTime, instantaneous ? 0.1 : 5.0);
    if (!instantaneous)
        QVERIFY2(c.disconnectionReason.contains(QStringLiteral("Iк(1) min = 0,75 кА")), qPrintable(c.disconnectionReason));
}

void TstProtection::eachOtherCheckFails()
{
    const Breaker c40 = breaker(QStringLiteral("C"), 40, 10);
    // All four pass: Ib 32 <= 40 <= Iz 50; 1 kA >= 400 A; 5 kA <= 6 kA;
    // 16 mm² >= 5000 × √0,1 / 115 = 13,7 mm².
    LineCheck c = evaluate(QStringLiteral("Л"), input(c40, 32, 50, 1, 5), 2);
    QCOMPARE((QList<Verdict>{c.overload, c.disconnection, c.breaking, c.thermal}),
             (QList<Verdict>{Verdict::Yes, Verdict::Yes, Verdict::Yes, Verdict::Yes}));
    // Overload: the load above In, then In above Iz (1,45 In above 1,45 Iz).
    QCOMPARE(evaluate(QStringLiteral("Л"), input(c40, 41, 50, 1, 5), 2).overload, Verdict::No);
    c = evaluate(QStringLiteral("Л"), input(c40, 32, 38, 1, 5), 2);
    QCOMPARE(c.overload, Verdict::No);
    QVERIFY2(c.overloadReason.contains(QStringLiteral("1,45·Iн = 58 А больше 1,45·Iz = 55,1 А")), qPrintable(c.overloadReason));
    // Breaking capacity: 6,5 kA at the line's start on a 6 kA device.
    QCOMPARE(evaluate(QStringLiteral("Л"), input(c40, 32, 50, 1, 6.5), 2).breaking, Verdict::No);
    // Thermal: 6 kA for 0,1 s needs 6000 × √0,1 / 115 = 16,5 mm² of copper, 25 mm² of aluminium (k 76).
    c = evaluate(QStringLiteral("Л"), input(breaker(QStringLiteral("C"), 40, 10, 10), 32, 50, 1, 6), 2);
    QCOMPARE(c.thermal, Verdict::No);
    QVERIFY2(c.thermalReason.contains(QStringLiteral("16,5 мм²")), qPrintable(c.thermalReason));
    QCOMPARE(evaluate(QStringLiteral("Л"), input(breaker(QStringLiteral("C"), 40, 10, 10), 32, 50, 1, 6,
                                                 QStringLiteral("Алюминий"), 25),
                      2).thermal,
             Verdict::Yes);
    QCOMPARE(thermalFactor(QStringLiteral("Алюминий"), 25), 76.0);
    QCOMPARE(thermalFactor(QStringLiteral("Медь"), 400), 103.0);
    // A typed disconnection time counts: 0,04 s lets 16 mm² carry 6 kA (needs 10,4 mm²).
    CheckInput typed = input(breaker(QStringLiteral("C"), 40, 10, 10), 32, 50, 1, 6);
    typed.tripTime = 0.04;
    QCOMPARE(evaluate(QStringLiteral("Л"), typed, 2).thermal, Verdict::Yes);
    // No device: nothing to check.
    typed.device.reset();
    QCOMPARE(lineTexts(evaluate(QStringLiteral("Л"), typed, 2), 2).mid(6), QStringList(4, QStringLiteral("-")));
}

void TstProtection::choiceAtTheBoundary()
{
    TestAppDir app;
    const BreakerTable table = BreakerTable::load(app.path());
    QCOMPARE(table.status(), BreakerTable::Status::Ok);
    QCOMPARE(table.characteristics(), (QStringList{"B", "C", "D", "10In"}));
    // A load equal to a rated current takes that device.
    QCOMPARE(choose(table, QStringLiteral("C"), 25, 32)->designation(), QStringLiteral("C25"));
    QCOMPARE(choose(table, QStringLiteral("C"), 25.01, 32)->designation(), QStringLiteral("C32"));
    // Iz below every fitting rating: none.
    QVERIFY(!choose(table, QStringLiteral("C"), 25.01, 31.9));
    QCOMPARE(choose(table, QStringLiteral("C"), 25, 25)->designation(), QStringLiteral("C25"));
    // Beyond the modular series the industrial breakers serve.
    QVERIFY(!choose(table, QStringLiteral("C"), 150, 200));
    QCOMPARE(chooseAny(table, 150, 200)->designation(), QStringLiteral("160А 10In"));
    QCOMPARE(BreakerTable::fromText(QStringLiteral("\"Автомат\",\"C\",63,0,6\n")).status(), BreakerTable::Status::Damaged);
}

void TstProtection::projectThroughWindowScheduleAndCommandLine()
{
    TestAppDir app;
    AppContext context(app.path());
    ScriptedPrompter prompter;
    ReportWriter writer(prompter, app.path());
    const Project project = network();

    // The device of "Щит" stands where "Ввод" ends: 4,56 kA by ГОСТ 28249-93.
    const auto result = ProtectionReport::checkProject(project, context, nullptr);
    QVERIFY(result && result->problems.isEmpty());
    const QStringList expected[] = {{"Ввод", "160А 10In", "160", "200", "2,08", "12,33", "да", "да", "да", "да"},
                                    {"Щит", "C40", "40", "87,4", "1,18", "4,56", "да", "да", "да", "да"}};
    QCOMPARE(lineTexts(result->lines.at(0), 2), expected[0]);
    QCOMPARE(lineTexts(result->lines.at(1), 2), expected[1]);
    // The schedule shows every decimal place of the currents, the rating as
    // the table has it, and "Щит" under "Ввод", where it starts.
    QStringList scheduled = expected[1];
    scheduled[0] = QStringLiteral("\u00A0\u00A0Щит");
    scheduled[3] = QStringLiteral("87,40");
    const ReportTable schedule = ProtectionReport::build(*result, 2);
    QCOMPARE(schedule.rows.at(1), scheduled);
    for (int c = 0; c < schedule.columnCount(); ++c)
        QCOMPARE(schedule.isNumberColumn(c), c >= 2 && c <= 5);

    // A failing check is red in the window, its reason in the tool tip.
    Project weak = project;
    weak.lines[1].inputs->device = QStringLiteral("D");
    weak.lines[1].inputs->deviceRating = QStringLiteral("80");
    ProtectionWindow w(weak, context, prompter, writer);
    QCOMPARE(w.lineTable->rowCount(), 2);
    QTableWidgetItem *overload = w.lineTable->item(1, 6);
    QCOMPARE(overload->text(), QStringLiteral("да"));
    QTableWidgetItem *disconnection = w.lineTable->item(1, 7);
    QCOMPARE(disconnection->text(), QStringLiteral("нет"));
    QVERIFY(disconnection->toolTip().contains(QStringLiteral("20·Iн = 1600 А")));
    QCOMPARE(disconnection->background().color(), QColor(0xc6, 0x28, 0x28));

    // The command line agrees; --choose fills the lines without a device.
    const QString path = app.file(QStringLiteral("Сеть.kbp"));
    QVERIFY(ProjectFile::write(path, project));
    QString out;
    QCOMPARE(runCli({QStringLiteral("protect"), path, QStringLiteral("--app-dir"), app.path()}, &out), 0);
    QCOMPARE(out, expected[0].join(QLatin1Char('\t')) + QLatin1Char('\n') + expected[1].join(QLatin1Char('\t'))
                      + QLatin1Char('\n'));
    Project bare = project;
    bare.lines[1].inputs.reset();
    QVERIFY(ProjectFile::write(path, bare));
    QCOMPARE(runCli({QStringLiteral("protect"), path, QStringLiteral("--app-dir"), app.path()}, &out), 0);
    QVERIFY(out.endsWith(QStringLiteral("Щит\t-\t-\t87,4\t1,18\t4,56\t-\t-\t-\t-\n")));
    QCOMPARE(runCli({QStringLiteral("protect"), path, QStringLiteral("--app-dir"), app.path(), QStringLiteral("--choose")},
                    &out),
             0);
    QVERIFY(out.endsWith(expected[1].join(QLatin1Char('\t')) + QLatin1Char('\n')));
}

QTEST_MAIN(TstProtection)
#include "tst_protection.moc"
