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
    void industrialReleaseHasItsTolerance();
    void letThroughOfModularBreaker_data();
    void letThroughOfModularBreaker();
    void choicePassesItsOwnChecks();
    void storedTripTimeOutOfRangeIsDamage();
    void letThroughFileMissingOrDamaged();
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
    QCOMPARE(choiceOrder(table), (QStringList{"C", "B", "D", "10In"}));
    QCOMPARE(BreakerTable::fromText(QStringLiteral("\"Автомат\",\"C\",63,0,6\n")).status(), BreakerTable::Status::Damaged);
}

void TstProtection::industrialReleaseHasItsTolerance()
{
    // A 10In setting of 160 A may need 1,2 × 1600 = 1920 A; 1,7 kA is not enough.
    const Breaker industrial = breaker(QStringLiteral("10In"), 160, 10, 25);
    LineCheck c = evaluate(QStringLiteral("Л"), input(industrial, 150, 200, 1.7, 5, QStringLiteral("Медь"), 95), 2);
    QCOMPARE(c.tripCurrent, 1920.0);
    QCOMPARE(c.disconnection, Verdict::No);
    QVERIFY2(c.disconnectionReason.contains(QStringLiteral("1,2·10·Iн = 1920 А")), qPrintable(c.disconnectionReason));
    QCOMPARE(evaluate(QStringLiteral("Л"), input(industrial, 150, 200, 1.92, 5, QStringLiteral("Медь"), 95), 2).disconnection,
             Verdict::Yes);
    // A modular breaker's multiple is already the limit of its range.
    c = evaluate(QStringLiteral("Л"), input(breaker(QStringLiteral("C"), 63, 10), 50, 100, 0.63, 3), 2);
    QCOMPARE(c.tripCurrent, 630.0);
    QCOMPARE(c.disconnection, Verdict::Yes);
    QCOMPARE(disconnectionNote(c, 2), QStringLiteral("Iк(1) min = 0,63 кА не меньше тока мгновенного срабатывания "
                                                     "10·Iн = 630 А."));
}

void TstProtection::letThroughOfModularBreaker_data()
{
    QTest::addColumn<QString>("characteristic");
    QTest::addColumn<double>("rated");
    QTest::addColumn<double>("icu");
    QTest::addColumn<double>("ik"); // kA at the device
    QTest::addColumn<double>("letThrough"); // A²s; 0: none, S >= I·√t/k
    QTest::addColumn<bool>("withstands");
    // 3×2,5 copper: k²S² = 115² × 2,5² = 82 656,25 A²s; I·√0,1/k at 4,93 kA needs 13,56 mm².
    QTest::newRow("B16: 70 000 <= 82 656") << "B" << 16.0 << 6.0 << 4.93 << 70000.0 << true;
    QTest::newRow("C16: 84 000 > 82 656") << "C" << 16.0 << 6.0 << 4.93 << 84000.0 << false;
    QTest::newRow("C10 at 10 kA, rated 10 kA") << "C" << 10.0 << 10.0 << 10.0 << 84000.0 << false;
    QTest::newRow("C20: no value, I·√t/k") << "C" << 20.0 << 6.0 << 4.93 << 0.0 << false;
    QTest::newRow("D16: no value") << "D" << 16.0 << 6.0 << 4.93 << 0.0 << false;
    QTest::newRow("B16 beyond its Icu") << "B" << 16.0 << 6.0 << 6.5 << 0.0 << false;
    QTest::newRow("industrial keeps I·√t/k") << "10In" << 16.0 << 25.0 << 4.93 << 0.0 << false;
}

void TstProtection::letThroughOfModularBreaker()
{
    QFETCH(QString, characteristic);
    QFETCH(double, rated);
    QFETCH(double, icu);
    QFETCH(double, ik);
    QFETCH(double, letThrough);
    QFETCH(bool, withstands);
    TestAppDir app;
    const LetThroughTable table = LetThroughTable::load(app.path());
    QCOMPARE(table.status(), LetThroughTable::Status::Ok);
    const Breaker device = breaker(characteristic, rated, characteristic == QLatin1String("10In") ? 10 : 10, icu);
    const auto found = letThroughOf(device, ik, table);
    QCOMPARE(found.value_or(0), letThrough);
    CheckInput in = input(device, 10, 27, 1, ik, QStringLiteral("Медь"), 2.5);
    in.letThrough = found;
    const LineCheck c = evaluate(QStringLiteral("Л"), in, 2);
    QCOMPARE(c.thermal, withstands ? Verdict::Yes : Verdict::No);
    if (letThrough == 84000)
        QCOMPARE(c.thermalReason, QStringLiteral("Пропускаемая аппаратом энергия I²t = 84000 А²с больше k²S² = "
                                                 "82656,25 А²с (сечение 2,5 мм², k = 115)."));
    if (letThrough == 0 && ik == 4.93)
        QVERIFY2(c.thermalReason.contains(QStringLiteral("13,56 мм²")), qPrintable(c.thermalReason));
}

void TstProtection::choicePassesItsOwnChecks()
{
    TestAppDir app;
    const BreakerTable table = BreakerTable::load(app.path());
    const LetThroughTable letThrough = LetThroughTable::load(app.path());
    // Ib 90 A on copper 50 mm² (Iz 120 A), 15,69 kA at the line's start: C100
    // breaks 10 kA only; 100 A 10In (25 kA, 1200 A at once, 50 ≥ 15690·√0,1/115 = 43,1 mm²) passes.
    CheckInput in = input(breaker(QStringLiteral("C"), 6, 10), 90, 120, 1.5, 15.69, QStringLiteral("Медь"), 50);
    DeviceChoice choice = chooseDevice(table, letThrough, QString(), QStringLiteral("Л"), in, 2);
    QCOMPARE(choice.device->designation(), QStringLiteral("100А 10In"));
    QVERIFY(failedChecks(choice.check).isEmpty());
    QVERIFY(compromiseMessage(choice).isEmpty());
    // Without the currents the smallest fitting C stands, as before.
    CheckInput unknown = in;
    unknown.minimumSinglePhase.reset();
    unknown.maximumAtDevice.reset();
    QCOMPARE(chooseDevice(table, letThrough, QString(), QStringLiteral("Л"), unknown, 2).device->designation(),
             QStringLiteral("C100"));

    // None passes everything (0,5 kA trips nothing at once, so 5 s need
    // 15690·√5/115 = 305 mm²): the one that breaks the current and fails least, said.
    in.minimumSinglePhase = 0.5;
    choice = chooseDevice(table, letThrough, QString(), QStringLiteral("Л"), in, 2);
    QCOMPARE(choice.device->designation(), QStringLiteral("100А 10In"));
    QCOMPARE(failedChecks(choice.check), (QStringList{"отключение", "термическая стойкость"}));
    QVERIFY2(compromiseMessage(choice).startsWith(QStringLiteral("Для линии «Л» нет аппарата, проходящего все проверки. "
                                                                 "Выбран 100А 10In, не выполнено: отключение, термическая "
                                                                 "стойкость.\r\nIк(1) min = 0,5 кА")),
             qPrintable(compromiseMessage(choice)));
    // A characteristic chosen is kept, with what it fails.
    choice = chooseDevice(table, letThrough, QStringLiteral("C"), QStringLiteral("Л"), in, 2);
    QCOMPARE(choice.device->designation(), QStringLiteral("C100"));
    QCOMPARE(failedChecks(choice.check), (QStringList{"отключение", "отключающая способность", "термическая стойкость"}));

    // No device at all fits Ib <= In <= Iz: the overload is "нет", with why.
    choice = chooseDevice(table, letThrough, QString(), QStringLiteral("Л"),
                          input(breaker(QStringLiteral("C"), 6, 10), 70, 69, 1, 3), 2);
    QVERIFY(!choice.device);
    QCOMPARE(choice.check.overload, Verdict::No);
    QCOMPARE(choice.check.overloadReason, QStringLiteral("нет аппарата: Ib 70 А > Iz 69 А"));
    QCOMPARE(lineTexts(choice.check, 2).mid(6), (QStringList{"нет", "-", "-", "-"}));
}

void TstProtection::storedTripTimeOutOfRangeIsDamage()
{
    TestAppDir app;
    AppContext context(app.path());
    // 4 mm² of copper behind C25 where 12,33 kA flow: TripTime=0 passed any cable.
    Project p;
    p.transformerPower = QStringLiteral("400");
    p.transformerGroup = QStringLiteral("D");
    p.systemPower = QStringLiteral("200");
    p.lines = {line(QStringLiteral("Розетки"), QStringLiteral("4x4"), QStringLiteral("Медь"), QStringLiteral("10"),
                    QStringLiteral("20"), QStringLiteral("35"), QStringLiteral("C"), QStringLiteral("25"))};
    p.lines[0].inputs->tripTime = QStringLiteral("0");
    auto result = ProtectionReport::checkProject(p, context, nullptr);
    QVERIFY(result);
    // The line's default time stands in: 0,1 s needs 12330·√0,1/115 = 33,9 mm².
    QCOMPARE(result->lines.at(0).tripTime, 0.1);
    QCOMPARE(result->lines.at(0).thermal, Verdict::No);
    const QString told = QStringLiteral("Время отключения линии «Розетки» «0» вне диапазона 0,01…5 с (ПУЭ, табл. 1.7.1, "
                                        "п. 1.7.79): принято время по умолчанию.");
    QCOMPARE(result->damage, QStringList{told});
    // A time in range is no damage.
    p.lines[0].inputs->tripTime = QStringLiteral("0,01");
    QVERIFY(ProtectionReport::checkProject(p, context, nullptr)->damage.isEmpty());

    // The command line tells it and ends with the code of a damaged project.
    p.lines[0].inputs->tripTime = QStringLiteral("7");
    const QString path = app.file(QStringLiteral("Время.kbp"));
    QVERIFY(ProjectFile::write(path, p));
    QString out, err;
    QCOMPARE(runCli({QStringLiteral("protect"), path, QStringLiteral("--app-dir"), app.path()}, &out, &err), 3);
    QVERIFY2(err.contains(QStringLiteral("«Розетки» «7» вне диапазона 0,01…5 с")), qPrintable(err));
    QCOMPARE(out, QStringLiteral("Розетки\tC25\t25\t35\t") + out.section(QLatin1Char('\t'), 4, 5)
                      + QStringLiteral("\tда\tда\tнет\tнет\n"));
}

void TstProtection::letThroughFileMissingOrDamaged()
{
    QCOMPARE(LetThroughTable::fromText(QStringLiteral("\"B\",16,10000\n")).status(), LetThroughTable::Status::Damaged);
    QCOMPARE(LetThroughTable::fromText(QStringLiteral("\"B\",16,10000,-1\n")).status(), LetThroughTable::Status::Damaged);
    TestAppDir app;
    QVERIFY(QFile::remove(app.file(QStringLiteral("LetThrough.dat"))));
    AppContext context(app.path());
    // Said, and the checks run on S >= I·√t/k: the cautious side.
    const auto result = ProtectionReport::checkProject(network(), context, nullptr);
    QVERIFY(result && result->problems.isEmpty());
    QCOMPARE(result->notes.size(), 1);
    QVERIFY2(result->notes.first().contains(QStringLiteral("LetThrough.dat")), qPrintable(result->notes.first()));
    QCOMPARE(result->lines.size(), 2);
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
    // The schedule: the figures behind every verdict, by hand. Ввод: Iа =
    // 1,2 · 10 · 160 = 1920 A (the tolerance of the industrial release) ≤
    // 2,08 kA at its end, so 0,1 s; 12,33 kA at its
    // start asks for 12332,6 · √0,1 / 76 = 51,31 mm² of aluminium. Щит:
    // Iа = 10 · 40 = 400 A; 4557,9 · √0,1 / 115 = 12,53 mm² of copper.
    // Computed figures show the places, entered ones (Iр, S) and the table's
    // (Icu) their own texts. "Щит" stands under "Ввод", where it starts.
    const QVector<ReportSection> schedule = ProtectionReport::build(*result, 2);
    QCOMPARE(schedule.size(), 1); // nothing failed: no table of reasons
    const ReportTable &checks = schedule.first().table;
    QCOMPARE(checks.heading.size(), int(ProtectionReport::ColumnCount));
    QCOMPARE(checks.rows.at(0), (QStringList{"Ввод", "150", "160А 10In", "200,00", "да", "25", "12,33", "да", "2,08",
                                             "1920,00", "0,1", "да", "S min", "95", "51,31", "да"}));
    QCOMPARE(checks.rows.at(1), (QStringList{"\u00A0\u00A0Щит", "40", "C40", "87,40", "да", "6", "4,56", "да", "1,18", "400,00",
                                             "0,1", "да", "S min", "25", "12,53", "да"}));
    QVERIFY(checks.failingCells.isEmpty());
    for (int c = 0; c < checks.columnCount(); ++c)
        QCOMPARE(checks.isNumberColumn(c), ProtectionReport::headings().at(c).contains(QLatin1Char(',')));

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
    // A passed disconnection names the trip current it rests on too.
    QCOMPARE(w.lineTable->item(0, 7)->toolTip(), QStringLiteral("Iк(1) min = 2,08 кА не меньше тока мгновенного "
                                                                 "срабатывания 1,2·10·Iн = 1920 А."));
    // In the schedule: D80's Iа = 20 · 80 = 1600 A above 1,18 kA, so no
    // instantaneous trip and 5 s, which ask for 4557,9 · √5 / 115 = 88,62 mm².
    // Each "нет" and the figure that fails it stand out; the reasons follow.
    const auto weakResult = ProtectionReport::checkProject(weak, context, nullptr);
    QVERIFY(weakResult);
    const QVector<ReportSection> weakSchedule = ProtectionReport::build(*weakResult, 2);
    const ReportTable &weakChecks = weakSchedule.first().table;
    QCOMPARE(weakChecks.rows.at(1).mid(8, 8),
             (QStringList{"1,18", "1600,00", "5", "нет", "S min", "25", "88,62", "нет"}));
    using Col = ProtectionReport::Column;
    for (const int c : {Col::MinimumCurrent, Col::Disconnection, Col::Section, Col::Thermal})
        QVERIFY(weakChecks.isFailing(1, c));
    QCOMPARE(weakChecks.failingCells.size(), 4);
    QCOMPARE(weakSchedule.size(), 2);
    QCOMPARE(weakSchedule.at(1).caption, QStringLiteral("Причины невыполнения проверок"));
    const ReportTable &reasons = weakSchedule.at(1).table;
    QCOMPARE(reasons.rows.size(), 2);
    QCOMPARE(reasons.rows.at(0).mid(0, 2), (QStringList{"Щит", "Автоматическое отключение питания"}));
    QVERIFY(reasons.rows.at(0).at(2).contains(QStringLiteral("20·Iн = 1600 А")));
    QCOMPARE(reasons.rows.at(1).mid(0, 2), (QStringList{"Щит", "Термическая стойкость кабеля"}));
    QVERIFY2(reasons.rows.at(1).at(2).contains(QStringLiteral("88,62 мм²")), qPrintable(reasons.rows.at(1).at(2)));

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
    // A load above Iz leaves no device to choose: the overload is "нет", never "-".
    bare.lines[1].cells[CableLine::LoadCurrent] = QStringLiteral("90");
    QVERIFY(ProjectFile::write(path, bare));
    QString err;
    QCOMPARE(runCli({QStringLiteral("protect"), path, QStringLiteral("--app-dir"), app.path(), QStringLiteral("--choose")},
                    &out, &err),
             0);
    QVERIFY(out.endsWith(QStringLiteral("Щит\t-\t-\t87,4\t1,18\t4,56\tнет\t-\t-\t-\n")));
    QVERIFY2(err.contains(QStringLiteral("Для линии «Щит» нет аппарата")), qPrintable(err));
}

QTEST_MAIN(TstProtection)
#include "tst_protection.moc"
