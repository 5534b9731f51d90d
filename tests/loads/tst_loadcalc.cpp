// The load computation, the checks of the load dialog, the coefficient lists
// and the phase-load aggregation, without a screen.
#include "TestSupport.h"
#include "base/DataFileRegistry.h"
#include "base/ProjectFile.h"
#include "base/Prompter.h"
#include "base/NumberText.h"
#include "calc/loads/LoadCalc.h"
#include "calc/lines/PermissibleTables.h"

#include <QtTest>

using namespace LoadCalc;

namespace {

// A row as the load dialog writes it, from its inputs.
Load load(const QString &pu, const QString &cosf, const QString &ks, const QString &phase,
          const QString &kpd = QStringLiteral("1"))
{
    LoadInput in;
    in.name = QStringLiteral("Нагрузка");
    in.power = pu;
    in.cosf = cosf;
    in.ks = ks;
    in.threePhase = phase == QLatin1String("ABC");
    in.phase = phase;
    in.kpd = kpd;
    return computeLoad(in, 2);
}

// A single-phase load of cos φ 1 and Кс 1 drawing `current` amperes: Pу = 0,22·I.
Load drawing(double current, const QString &phase)
{
    const double phases = phase == QLatin1String("ABC") ? 3 : 1;
    return load(NumberText::format(current * phases * PhaseVoltage), QStringLiteral("1"), QStringLiteral("1"), phase);
}

QStringList phases(const ShieldTotals &t)
{
    return {t.phasePower[0], t.phaseCurrent[0], t.phasePower[1], t.phaseCurrent[1], t.phasePower[2],
            t.phaseCurrent[2]};
}

} // namespace

class tst_LoadCalc : public QObject
{
    Q_OBJECT
private slots:
    void computeLoad_data();
    void computeLoad();
    void checks_data();
    void checks();
    void coefficientLists();
    void totalsEmpty();
    void totals_data();
    void totals();
    void totalsFromUnroundedValues();
    void badCellsSkipOnlyTheirStep();
    void neutralAndImbalance_data();
    void neutralAndImbalance();
    void overflowingTotalsShownAsSuch();
    void singleLoadOfferedAtItsRatedCurrent();
    void recomputedRowFromItsInputs();
    void cliLoad();
    void cliShield();
};

void tst_LoadCalc::computeLoad_data()
{
    QTest::addColumn<QString>("power");
    QTest::addColumn<QString>("ks");
    QTest::addColumn<QString>("cosf");
    QTest::addColumn<bool>("three");
    QTest::addColumn<QString>("phase");
    QTest::addColumn<QString>("kpd");
    QTest::addColumn<int>("places");
    QTest::addColumn<QStringList>("computed"); // columns 4 to 9

    QTest::newRow("single phase B") << "10" << "0,7" << "0,8" << false << "B" << "1" << 2
                                    << QStringList{"7", "8,75", "39,77", "B", "1", "1"};
    QTest::newRow("three phase") << "10" << "0,7" << "0,8" << true << "B" << "0,9" << 2
                                 << QStringList{"7", "8,75", "14,73", "ABC", "3", "0,9"};
    // Pр shows 2,5 rounded to the even 2, but S comes from the inputs: 2,5 / 0,5 = 5, I = 22,7.
    QTest::newRow("S from the unrounded Pр") << "2,5" << "1" << "0,5" << false << "A" << "1" << 0
                                             << QStringList{"2", "5", "23", "A", "1", "1"};
    // 1,3 × 0,95 = 1,235 shows as 1,23, yet S = 1,3 and I = 1,3 / 0,22 = 5,91 (not 1,29 and 5,86).
    QTest::newRow("1,3 kW, Кс 0,95, cos φ 0,95") << "1,3" << "0,95" << "0,95" << false << "A" << "1" << 2
                                                 << QStringList{"1,23", "1,3", "5,91", "A", "1", "1"};
    QTest::newRow("single phase ignores efficiency") << "10" << "0,7" << "0,8" << false << "C" << "0,5" << 2
                                                     << QStringList{"7", "8,75", "39,77", "C", "1", "1"};
    QTest::newRow("point and blanks as typed") << " 4.4 " << "0.5" << "1" << false << "A" << "1" << 3
                                               << QStringList{"2,2", "2,2", "10", "A", "1", "1"};
}

void tst_LoadCalc::computeLoad()
{
    QFETCH(QString, power);
    QFETCH(QString, ks);
    QFETCH(QString, cosf);
    QFETCH(bool, three);
    QFETCH(QString, phase);
    QFETCH(QString, kpd);
    QFETCH(int, places);
    QFETCH(QStringList, computed);

    LoadInput in;
    in.name = QStringLiteral("Насос");
    in.power = power;
    in.ks = ks;
    in.cosf = cosf;
    in.threePhase = three;
    in.phase = phase;
    in.kpd = kpd;
    const Load load = LoadCalc::computeLoad(in, places);
    QCOMPARE(load.name, QStringLiteral("Насос"));
    QCOMPARE(load.cells.mid(0, 3), QStringList({power, cosf, ks})); // the typed texts, unchanged
    QCOMPARE(load.cells.mid(3), computed);
}

void tst_LoadCalc::checks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("power");
    QTest::addColumn<QString>("cosf");
    QTest::addColumn<QString>("ks");
    QTest::addColumn<bool>("three");
    QTest::addColumn<QString>("kpd");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("message");

    const QString cosMsg = QStringLiteral("Значение коэффициента мощности должно быть меньше единицы!");
    const QString ksMsg = QStringLiteral("Значение коэффициента спроса должно быть меньше единицы!");
    const QString kpdMsg = QStringLiteral("Значение коэффициента полезного действия должно быть меньше единицы!");
    const QString positive = QStringLiteral("Вводимое значение должно быть положительным и неравным нулю!");

    QTest::newRow("all at the limit") << "Н" << "10" << "1" << "1" << true << "1" << int(Field::None) << "";
    QTest::newRow("name before numbers") << "" << "" << "5" << "5" << true << "5" << int(Field::Name)
                                         << "Укажите наименование нагрузки!";
    QTest::newRow("power empty") << "Н" << "" << "1" << "1" << false << "1" << int(Field::Power)
                                 << "Укажите численное значение!";
    QTest::newRow("power expression") << "Н" << "2*5" << "1" << "1" << false << "1" << int(Field::Power)
                                      << "Вводимое значение должно быть числовым!";
    QTest::newRow("power too large") << "Н" << "1000001" << "1" << "1" << false << "1" << int(Field::Power)
                                     << "Вводимое значение слишком велико!";
    QTest::newRow("cos above one") << "Н" << "10" << "1,01" << "5" << false << "1" << int(Field::Cosf) << cosMsg;
    QTest::newRow("cos zero") << "Н" << "10" << "0" << "1" << false << "1" << int(Field::Cosf) << positive;
    QTest::newRow("ks above one") << "Н" << "10" << "1" << "1,01" << false << "1" << int(Field::Ks) << ksMsg;
    QTest::newRow("ks negative") << "Н" << "10" << "1" << "-0,5" << false << "1" << int(Field::Ks) << positive;
    QTest::newRow("kpd above one") << "Н" << "10" << "1" << "1" << true << "1,01" << int(Field::Kpd) << kpdMsg;
    QTest::newRow("kpd empty") << "Н" << "10" << "1" << "1" << true << "" << int(Field::Kpd)
                               << "Укажите численное значение!";
    QTest::newRow("single phase kpd not read") << "Н" << "10" << "1" << "1" << false << "1,01" << int(Field::None)
                                               << "";
}

void tst_LoadCalc::checks()
{
    QFETCH(QString, name);
    QFETCH(QString, power);
    QFETCH(QString, cosf);
    QFETCH(QString, ks);
    QFETCH(bool, three);
    QFETCH(QString, kpd);
    QFETCH(int, field);
    QFETCH(QString, message);

    LoadInput in{name, power, cosf, ks, three, QStringLiteral("A"), kpd};
    ScriptedPrompter prompter;
    QCOMPARE(int(checkLoadInput(in, prompter)), field);
    if (message.isEmpty()) {
        QVERIFY(prompter.messages.isEmpty());
        return;
    }
    QCOMPARE(prompter.messages.size(), 1);
    QCOMPARE(prompter.messages.first().text, message);
    QCOMPARE(prompter.messages.first().title, QStringLiteral("Ошибка ввода"));
    QCOMPARE(prompter.messages.first().icon, Prompter::Icon::Exclamation);
}

void tst_LoadCalc::coefficientLists()
{
    TestAppDir app;
    const auto demand = readCoefficientList(DataFiles::dataFilePath(app.path(), DataFiles::DemandFactors));
    QVERIFY(demand.size() >= 10);
    QCOMPARE(demand.first().name, QStringLiteral("Металлорежущие станки мелкосерийного производства"));
    QCOMPARE(demand.first().value, std::optional<double>(0.16));
    // A quoted name keeps its comma.
    QVERIFY(findCoefficient(demand, QStringLiteral("Вентиляторы, эксгаустеры")).has_value());

    app.writeFile(QStringLiteral("list.dat"),
                  cp1251(QStringLiteral("\"Печь\",\"0,80\"\r\n  Станок , 0.5\r\n\"Печь\",\"0,9\"\r\n"
                                        "\"Кран\",\"много\"\r\n\"Хвост\"")));
    const auto list = readCoefficientList(app.file(QStringLiteral("list.dat")));
    QCOMPARE(list.size(), 5);
    QCOMPARE(list.at(1).name, QStringLiteral("Станок"));
    QCOMPARE(list.at(1).value, std::optional<double>(0.5));
    QCOMPARE(findCoefficient(list, QStringLiteral("Печь"))->value, std::optional<double>(0.8)); // the first counts
    QVERIFY(!findCoefficient(list, QStringLiteral("Кран"))->value); // a value that is no number
    QVERIFY(!findCoefficient(list, QStringLiteral("Хвост"))->value); // a name without its value
    QVERIFY(!findCoefficient(list, QStringLiteral("Другое")));

    QVERIFY(readCoefficientList(app.file(QStringLiteral("missing.dat"))).isEmpty());
}

void tst_LoadCalc::totalsEmpty()
{
    const ShieldTotals t = recalcShieldTotals({}, 2);
    QCOMPARE(t, ShieldTotals());
    QCOMPARE(t.current, QStringLiteral("0"));
    QCOMPARE(phases(t), QStringList(6, QStringLiteral("0")));
}

void tst_LoadCalc::totals_data()
{
    QTest::addColumn<QVector<Load>>("loads");
    QTest::addColumn<QStringList>("general"); // ΣPу, ΣPр, ΣS, I, cos φ
    QTest::addColumn<QStringList>("phase"); // SA, IA, SB, IB, SC, IC

    // 10 kW, Кс 0,7, cos φ 0,8: Pр 7, S 8,75, I = 8,75 / 0,22 = 39,77.
    QTest::newRow("one load on B") << QVector<Load>{load("10", "0,8", "0,7", "B")}
                                   << QStringList{"10", "7", "8,75", "39,77", "0,8"}
                                   << QStringList{"0", "0", "8,75", "39,77", "0", "0"};
    // The same with η 0,9 on three phases: 8,75 / 3 / 0,9 / 0,22 = 14,73 A in
    // each; the shield draws 14,73 A, not ΣS / 0,22 = 39,77 A.
    QTest::newRow("one three-phase load") << QVector<Load>{load("10", "0,8", "0,7", "ABC", "0,9")}
                                          << QStringList{"10", "7", "8,75", "14,73", "0,8"}
                                          << QStringList{"2,917", "14,73", "2,917", "14,73", "2,917", "14,73"};
    // 1, 2, 3 and 1 kW at cos φ 1: phase A carries 2 / 0,22 = 9,09 A (not 4,55 + 4,55 = 9,1);
    // the shield draws its most loaded phase, C: 3 / 0,22 = 13,64 A.
    QTest::newRow("three phases") << QVector<Load>{load("1", "1", "1", "A"), load("2", "1", "1", "B"),
                                                   load("3", "1", "1", "C"), load("1", "1", "1", "A")}
                                  << QStringList{"7", "7", "7", "13,64", "1"}
                                  << QStringList{"2", "9,09", "2", "9,09", "3", "13,64"};
    // Other phase texts count in the power totals only.
    QVector<Load> unknown{load("1", "0,5", "1", "A"), load("1", "0,5", "1", "A"), load("1", "0,5", "1", "A")};
    unknown[0].cells[Load::Phase] = QStringLiteral("b");
    unknown[1].cells[Load::Phase] = QString();
    unknown[2].cells[Load::Phase] = QStringLiteral("А"); // Cyrillic letter
    QTest::newRow("unknown phases") << unknown << QStringList{"3", "3", "6", "0", "0,5"} << QStringList(6, QStringLiteral("0"));
    // Two rows of 1,3 kW, Кс 0,95, cos φ 0,95: ΣPр = 2 × 1,235 = 2,47 (the rows show 1,23).
    QTest::newRow("sums of unrounded rows") << QVector<Load>{load("1,3", "0,95", "0,95", "A"), load("1,3", "0,95", "0,95", "A")}
                                            << QStringList{"2,6", "2,47", "2,6", "11,82", "0,95"}
                                            << QStringList{"2,6", "11,82", "0", "0", "0", "0"};
}

void tst_LoadCalc::totals()
{
    QFETCH(QVector<Load>, loads);
    QFETCH(QStringList, general);
    QFETCH(QStringList, phase);
    const ShieldTotals t = recalcShieldTotals(loads, 2);
    QCOMPARE(QStringList({t.installedPower, t.designPower, t.apparentPower, t.current, t.powerFactor}), general);
    QCOMPARE(phases(t), phase);
}

void tst_LoadCalc::totalsFromUnroundedValues()
{
    // 1 kW on three phases: 1/3 kVA and 1/3/0,22 = 1,5152 A a phase, shown 0,333 and 1,52.
    const Load one = load("1", "1", "1", "ABC");
    QCOMPARE(one.cell(Load::Current), QStringLiteral("1,52"));
    QCOMPARE(recalcShieldTotals({one}, 2).phasePower[1], QStringLiteral("0,333"));
    // Two of them: 0,667 kVA and 3,03 A, not the 0,666 and 3,04 of the rounded rows.
    const ShieldTotals two = recalcShieldTotals({one, one}, 2);
    QCOMPARE(phases(two), QStringList({"0,667", "3,03", "0,667", "3,03", "0,667", "3,03"}));
    QCOMPARE(two.current, QStringLiteral("3,03"));

    // decimalPlaces = 0: 0,55 kW shows 2,5 A rounded to the even 2; two of them draw 5 A, not 4.
    LoadInput in;
    in.name = QStringLiteral("Н");
    in.power = QStringLiteral("0,55");
    in.cosf = in.ks = QStringLiteral("1");
    const Load small = LoadCalc::computeLoad(in, 0);
    QCOMPARE(small.cell(Load::Current), QStringLiteral("2"));
    const ShieldTotals t0 = recalcShieldTotals({small, small}, 0);
    QCOMPARE(t0.phaseCurrent[0], QStringLiteral("5"));
    QCOMPARE(t0.phasePower[0], QStringLiteral("1,1")); // one place more than the currents
    QCOMPARE(t0.powerFactor, QStringLiteral("1")); // always two places
}

void tst_LoadCalc::badCellsSkipOnlyTheirStep()
{
    // Inputs that give nothing: the row counts with its texts, a bad one left out.
    Load damaged = load("10", "0,8", "0,7", "B");
    damaged.cells[Load::InstalledPower] = QStringLiteral("x");
    damaged.cells[Load::Current] = QStringLiteral("y");
    const ShieldTotals t = recalcShieldTotals({damaged, load("1", "1", "1", "B")}, 2);
    QCOMPARE(t.installedPower, QStringLiteral("1"));
    QCOMPARE(t.designPower, QStringLiteral("8"));
    QCOMPARE(t.apparentPower, QStringLiteral("9,75"));
    QCOMPARE(t.phasePower[1], QStringLiteral("9,75"));
    QCOMPARE(t.phaseCurrent[1], QStringLiteral("4,55"));

    Load shortRow; // a row with fewer cells than columns
    shortRow.cells = QStringList{QStringLiteral("5")};
    QCOMPARE(recalcShieldTotals({shortRow}, 2).installedPower, QStringLiteral("5"));
}

void tst_LoadCalc::neutralAndImbalance_data()
{
    QTest::addColumn<QVector<Load>>("loads");
    QTest::addColumn<QString>("neutral");
    QTest::addColumn<QString>("imbalance");
    QTest::addColumn<bool>("uneven");
    // By hand: IN = √(Ia² + Ib² + Ic² − Ia·Ib − Ib·Ic − Ic·Ia), (Imax − Iср) / Iср.
    QTest::newRow("no load") << QVector<Load>{} << "0" << "0" << false;
    // √(100) = 10; (10 − 3,333) / 3,333 = 200 %.
    QTest::newRow("one phase") << QVector<Load>{drawing(10, "A")} << "10" << "200" << true;
    // A three-phase load sits on all three phases alike.
    QTest::newRow("balanced") << QVector<Load>{load("10", "0,8", "0,7", "ABC", "0,9")} << "0" << "0" << false;
    // √(100 + 64 + 36 − 80 − 48 − 60) = √12 = 3,46; (10 − 8) / 8 = 25 %.
    QTest::newRow("10 8 6") << QVector<Load>{drawing(10, "A"), drawing(8, "B"), drawing(6, "C")} << "3,46" << "25"
                            << true;
    // √(400 + 324 + 289 − 360 − 306 − 340) = √7 = 2,65; (20 − 18,333) / 18,333 = 9,09 %.
    QTest::newRow("20 18 17") << QVector<Load>{drawing(20, "A"), drawing(18, "B"), drawing(17, "C")} << "2,65"
                              << "9,09" << false;
    // √6,75 = 2,6; exactly 15 % is not above the limit.
    QTest::newRow("at the limit") << QVector<Load>{drawing(11.5, "A"), drawing(10, "B"), drawing(8.5, "C")} << "2,6"
                                  << "15" << false;
    // A = 12,14 + 4,55 = 16,69, B = C = 4,55: the neutral carries the
    // difference, 12,14; (16,69 − 8,5967) / 8,5967 = 94,15 %.
    QTest::newRow("mixed") << QVector<Load>{drawing(12.14, "A"), drawing(4.55, "ABC")} << "12,14" << "94,15" << true;
    // 1E+200 A on one phase: its square overflows, the scaled sum does not.
    QTest::newRow("1E+200 A on one phase") << QVector<Load>{drawing(1e200, "A")} << "1E+200" << "200" << true;
}

void tst_LoadCalc::neutralAndImbalance()
{
    QFETCH(QVector<Load>, loads);
    QFETCH(QString, neutral);
    QFETCH(QString, imbalance);
    QFETCH(bool, uneven);
    const ShieldTotals t = recalcShieldTotals(loads, 2);
    QCOMPARE(t.neutralCurrent, neutral);
    QCOMPARE(t.imbalance, imbalance);
    QCOMPARE(isImbalanced(t), uneven);
}

void tst_LoadCalc::overflowingTotalsShownAsSuch()
{
    // Two loads of 1E+308 kW add up past the range of numbers: "∞", never 0.
    const Load huge = load("1E+308", "1", "1", "A");
    const ShieldTotals t = recalcShieldTotals({huge, huge}, 2);
    QCOMPARE((QStringList{t.installedPower, t.designPower, t.apparentPower, t.current, t.phasePower[0],
                          t.phaseCurrent[0], t.neutralCurrent}),
             QStringList(7, QStringLiteral("∞")));
    // Ratios of such totals have no value.
    QCOMPARE(t.powerFactor, QStringLiteral("-"));
    QCOMPARE(t.imbalance, QStringLiteral("-"));
    QCOMPARE(recalcShieldTotals({huge}, 2).designPower, QStringLiteral("1E+308"));
}

void tst_LoadCalc::singleLoadOfferedAtItsRatedCurrent()
{
    // An 11 kW lathe at Кс 0,16, cos φ 0,8, η 0,88: its design current is
    // 11 × 0,16 / 0,8 / 3 / 0,88 / 0,22 = 3,79 A, yet its own cable carries
    // 11 / 0,8 / 3 / 0,88 / 0,22 = 23,67 A.
    Load lathe = load("11", "0,8", "0,16", "ABC", "0,88");
    lathe.name = QStringLiteral("Токарный");
    QCOMPARE(lathe.cell(Load::Current), QStringLiteral("3,79"));
    QCOMPARE(NumberText::formatRounded(*ratedCurrent(lathe), 2), QStringLiteral("23,67"));
    const QVector<Permissible::CurrentChoice> offered =
        Permissible::loadCurrentChoices({Shield{QStringLiteral("ЩО1"), {lathe}}}, NetworkType::ThreePhase, 2);
    QCOMPARE(offered.size(), 2);
    // The shield keeps its design current.
    QCOMPARE(offered.at(0).text, QStringLiteral("ЩО1 - 3,79А"));
    QCOMPARE(offered.at(1).text, QStringLiteral("Токарный - 23,67А"));
}

void tst_LoadCalc::recomputedRowFromItsInputs()
{
    // A row of an earlier version keeps its texts until it is recomputed.
    Load old = load("1,3", "0,95", "0,95", "A");
    old.cells[Load::ApparentPower] = QStringLiteral("1,29");
    old.cells[Load::Current] = QStringLiteral("5,86");
    QCOMPARE(recomputeLoad(old, 2)->cells, load("1,3", "0,95", "0,95", "A").cells);
    // Inputs the load dialog would refuse leave the row as it is.
    old.cells[Load::PowerFactor] = QStringLiteral("1,5");
    QVERIFY(!recomputeLoad(old, 2));
    old.cells[Load::PowerFactor] = QStringLiteral("0,95");
    old.cells[Load::Phase] = QStringLiteral("ABC"); // one phase marked as three
    QVERIFY(!recomputeLoad(old, 2));
}

void tst_LoadCalc::cliLoad()
{
    TestAppDir app;
    QString out, err;
    QCOMPARE(runCli({"load", "--app-dir", app.path(), "--name", "Насос", "--power", "10", "--ks", "0,7", "--cosf",
                     "0,8", "--phase", "B"},
                    &out, &err),
             0);
    QCOMPARE(out, QStringLiteral("Насос\t10\t0,8\t0,7\t7\t8,75\t39,77\tB\t1\t1\n"));

    QCOMPARE(runCli({"load", "--app-dir", app.path(), "--name", "Насос", "--power", "10", "--ks", "0,7", "--cosf",
                     "0,8", "--phases", "3", "--kpd", "0,9"},
                    &out, &err),
             0);
    QCOMPARE(out.split(QLatin1Char('\t')).at(6), QStringLiteral("14,73"));

    QCOMPARE(runCli({"load", "--app-dir", app.path(), "--name", "Н", "--power", "10", "--ks", "0,7", "--cosf", "1,01"},
                    &out, &err),
             1);
    QCOMPARE(err.trimmed(), QStringLiteral("Значение коэффициента мощности должно быть меньше единицы!"));
    QVERIFY(out.isEmpty());

    QCOMPARE(runCli({"load", "--app-dir", app.path(), "--phases", "2"}, &out, &err), 2);
}

void tst_LoadCalc::cliShield()
{
    TestAppDir app;
    Project project;
    project.transformerPower = QStringLiteral("400");
    project.shields = {Shield{QStringLiteral("ЩО1"), {load("10", "0,8", "0,7", "B")}},
                       Shield{QStringLiteral("ЩС"), {load("10", "0,8", "0,7", "ABC", "0,9")}},
                       Shield{QStringLiteral("ЩП"), {load("1E+308", "1", "1", "A"), load("1E+308", "1", "1", "A")}}};
    const QString path = app.file(QStringLiteral("shields.kbp"));
    QVERIFY(ProjectFile::write(path, project));

    QString out, err;
    QCOMPARE(runCli({"shield", path, "--app-dir", app.path(), "--index", "2"}, &out, &err), 0);
    const QStringList lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 13);
    QCOMPARE(lines.at(0), QStringLiteral("Мощность установленная\t10"));
    // The shield draws its most loaded phase, 14,73 A, not ΣS / 0,22.
    QCOMPARE(lines.at(3), QStringLiteral("Ток\t14,73"));
    QCOMPARE(lines.at(4), QStringLiteral("Коэффициент мощности\t0,8"));
    QCOMPARE(lines.at(5), QStringLiteral("Фаза \u0410 кВА\t2,917"));
    QCOMPARE(lines.at(10), QStringLiteral("Фаза C \u0410\t14,73"));
    QCOMPARE(lines.at(11), QStringLiteral("Ток нулевого проводника\t0"));
    QCOMPARE(lines.at(12), QStringLiteral("Неравномерность, %\t0"));

    // All on phase B: the neutral carries the phase current; 200 % above the mean.
    QCOMPARE(runCli({"shield", path, "--app-dir", app.path()}, &out, &err), 0);
    QVERIFY(out.contains(QStringLiteral("Фаза B кВА\t8,75\n")));
    QVERIFY(out.endsWith(QStringLiteral("Ток нулевого проводника\t39,77\nНеравномерность, %\t200\n")));

    // Totals past the range of numbers are told as such.
    QCOMPARE(runCli({"shield", path, "--app-dir", app.path(), "--index", "3"}, &out, &err), 0);
    QVERIFY2(out.startsWith(QStringLiteral("Мощность установленная\t∞\nМощность расчетная\t∞\nПолная мощность\t∞\n"
                                           "Ток\t∞\n")),
             qPrintable(out));
    QCOMPARE(runCli({"shield", path, "--app-dir", app.path(), "--index", "4"}, &out, &err), 2);
    QCOMPARE(runCli({"shield", app.file(QStringLiteral("none.kbp")), "--app-dir", app.path()}, &out, &err), 1);
}

QTEST_GUILESS_MAIN(tst_LoadCalc)
#include "tst_loadcalc.moc"
