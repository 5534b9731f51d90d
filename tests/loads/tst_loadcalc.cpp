// The load computation, the checks of the load dialog, the coefficient lists
// and the phase-load aggregation, without a screen.
#include "TestSupport.h"
#include "base/DataFileRegistry.h"
#include "base/ProjectFile.h"
#include "base/Prompter.h"
#include "calc/loads/LoadCalc.h"

#include <QtTest>

using namespace LoadCalc;

namespace {

Load row(const QString &pu, const QString &pr, const QString &s, const QString &i, const QString &phase)
{
    Load l;
    l.name = QStringLiteral("Нагрузка");
    l.cells = QStringList{pu, QStringLiteral("0,8"), QStringLiteral("1"), pr, s, i, phase,
                          phase == QLatin1String("ABC") ? QStringLiteral("3") : QStringLiteral("1"),
                          QStringLiteral("1")};
    return l;
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
    void phaseRoundingAtEveryStep();
    void badCellsSkipOnlyTheirStep();
    void neutralAndImbalance_data();
    void neutralAndImbalance();
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
    // Pр rounds 2,5 to the even 2, and S is computed from that text: 2 / 0,5 = 4, not 5.
    QTest::newRow("half to even feeds S") << "2,5" << "1" << "0,5" << false << "A" << "1" << 0
                                          << QStringList{"2", "4", "18", "A", "1", "1"};
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

    QTest::newRow("one load on B") << QVector<Load>{row("10", "7", "8,75", "39,77", "B")}
                                   << QStringList{"10", "7", "8,75", "39,77", "0,8"}
                                   << QStringList{"0", "0", "8,75", "39,77", "0", "0"};
    QTest::newRow("one three-phase load") << QVector<Load>{row("10", "7", "8,75", "14,73", "ABC")}
                                          << QStringList{"10", "7", "8,75", "39,77", "0,8"}
                                          << QStringList{"2,917", "14,73", "2,917", "14,73", "2,917", "14,73"};
    QTest::newRow("three phases") << QVector<Load>{row("1", "1", "1", "4,55", "A"), row("2", "2", "2", "9,09", "B"),
                                                   row("3", "3", "3", "13,64", "C"), row("1", "1", "1", "4,55", "A")}
                                  << QStringList{"7", "7", "7", "31,82", "1"}
                                  << QStringList{"2", "9,1", "2", "9,09", "3", "13,64"};
    // Other phase texts count in the totals only.
    QTest::newRow("unknown phases") << QVector<Load>{row("1", "1", "2", "9,09", "b"), row("1", "1", "2", "9,09", ""),
                                                     row("1", "1", "2", "9,09", "А")} // Cyrillic letter
                                    << QStringList{"3", "3", "6", "27,27", "0,5"}
                                    << QStringList(6, QStringLiteral("0"));
    // The power sums are not rounded.
    QTest::newRow("unrounded sums") << QVector<Load>{row("0,1", "0,1234", "0,3333", "1", "A"),
                                                     row("0,2", "0,0001", "0,0001", "1", "A")}
                                    << QStringList{"0,3", "0,1235", "0,3334", "1,52", "0,37"}
                                    << QStringList{"0,333", "2", "0", "0", "0", "0"};
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

void tst_LoadCalc::phaseRoundingAtEveryStep()
{
    const Load one = row("1", "1", "1", "1,52", "ABC");
    // 1/3 rounds to 0,333; then round(1/3 + 0,333, 3) = 0,666, not the 0,667 of the exact sum.
    QCOMPARE(recalcShieldTotals({one}, 2).phasePower[1], QStringLiteral("0,333"));
    const ShieldTotals two = recalcShieldTotals({one, one}, 2);
    QCOMPARE(phases(two), QStringList({"0,666", "3,04", "0,666", "3,04", "0,666", "3,04"}));
    QCOMPARE(two.current, QStringLiteral("9,09"));

    // decimalPlaces = 0: phase powers to one place, currents to whole amperes, ties to even.
    const ShieldTotals t0 = recalcShieldTotals({row("1", "1", "0,25", "2,5", "A"), row("1", "1", "1", "1", "A")}, 0);
    QCOMPARE(t0.phasePower[0], QStringLiteral("1,2")); // 0,2 (0,25 to even) + 1
    QCOMPARE(t0.phaseCurrent[0], QStringLiteral("3")); // 2 (2,5 to even) + 1
    QCOMPARE(t0.powerFactor, QStringLiteral("1,6")); // always two places: 2 / 1,25
}

void tst_LoadCalc::badCellsSkipOnlyTheirStep()
{
    Load damaged = row("x", "7", "8,75", "y", "B");
    const ShieldTotals t = recalcShieldTotals({damaged, row("1", "1", "1", "1", "B")}, 2);
    QCOMPARE(t.installedPower, QStringLiteral("1"));
    QCOMPARE(t.designPower, QStringLiteral("8"));
    QCOMPARE(t.apparentPower, QStringLiteral("9,75"));
    QCOMPARE(t.phasePower[1], QStringLiteral("9,75"));
    QCOMPARE(t.phaseCurrent[1], QStringLiteral("1"));

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
    QTest::newRow("one phase") << QVector<Load>{row("1", "1", "1", "10", "A")} << "10" << "200" << true;
    // A three-phase load sits on all three phases alike.
    QTest::newRow("balanced") << QVector<Load>{row("10", "7", "8,75", "14,73", "ABC")} << "0" << "0" << false;
    // √(100 + 64 + 36 − 80 − 48 − 60) = √12 = 3,46; (10 − 8) / 8 = 25 %.
    QTest::newRow("10 8 6") << QVector<Load>{row("1", "1", "1", "10", "A"), row("1", "1", "1", "8", "B"),
                                             row("1", "1", "1", "6", "C")}
                            << "3,46" << "25" << true;
    // √(400 + 324 + 289 − 360 − 306 − 340) = √7 = 2,65; (20 − 18,333) / 18,333 = 9,09 %.
    QTest::newRow("20 18 17") << QVector<Load>{row("1", "1", "1", "20", "A"), row("1", "1", "1", "18", "B"),
                                               row("1", "1", "1", "17", "C")}
                              << "2,65" << "9,09" << false;
    // √6,75 = 2,6; exactly 15 % is not above the limit.
    QTest::newRow("at the limit") << QVector<Load>{row("1", "1", "1", "11,5", "A"), row("1", "1", "1", "10", "B"),
                                                   row("1", "1", "1", "8,5", "C")}
                                  << "2,6" << "15" << false;
    // The phase currents as shown: A = 12,14 + 4,55 = 16,69, B = C = 4,55; the
    // neutral carries the difference, 12,14; (16,69 − 8,5967) / 8,5967 = 94,15 %.
    QTest::newRow("mixed") << QVector<Load>{row("1", "1", "1", "12,14", "A"), row("1", "1", "1", "4,55", "ABC")}
                           << "12,14" << "94,15" << true;
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

void tst_LoadCalc::cliLoad()
{
    TestAppDir app;
    QString out, err;
    QCOMPARE(runCli({"load", "--app-dir", app.path(), "--name", "Насос", "--power", "10", "--ks", "0,7", "--cosf",
                     "0,8", "--phase", "B"},
                    &out, &err),
             0);
    QCOMPARE(out, QStringLiteral("Насос\t10\t0,8\t0,7\t7\t8,75\t39,77\tB\t1\t1\n"));

    // The numbers given with a point come back with the decimal comma.
    QCOMPARE(runCli({"load", "--app-dir", app.path(), "--name", "Насос", "--power", "10.5", "--ks", "0.7", "--cosf",
                     "0.8", "--phases", "3", "--kpd", "0.9"},
                    &out, &err),
             0);
    // 10,5 × 0,7 = 7,35 kW; 7,35 / 0,8 = 9,1875 → 9,19 kVA; 9,19 / 3 / 0,9 / 0,22 = 15,47 A.
    QCOMPARE(out, QStringLiteral("Насос\t10,5\t0,8\t0,7\t7,35\t9,19\t15,47\tABC\t3\t0,9\n"));

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
    project.shields = {Shield{QStringLiteral("ЩО1"), {row("10", "7", "8,75", "39,77", "B")}},
                       Shield{QStringLiteral("ЩС"), {row("10", "7", "8,75", "14,73", "ABC")}}};
    const QString path = app.file(QStringLiteral("shields.kbp"));
    QVERIFY(ProjectFile::write(path, project));

    QString out, err;
    QCOMPARE(runCli({"shield", path, "--app-dir", app.path(), "--index", "2"}, &out, &err), 0);
    const QStringList lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 13);
    QCOMPARE(lines.at(0), QStringLiteral("Мощность установленная\t10"));
    QCOMPARE(lines.at(3), QStringLiteral("Ток\t39,77"));
    QCOMPARE(lines.at(4), QStringLiteral("Коэффициент мощности\t0,8"));
    QCOMPARE(lines.at(5), QStringLiteral("Фаза \u0410 кВА\t2,917"));
    QCOMPARE(lines.at(10), QStringLiteral("Фаза C \u0410\t14,73"));
    QCOMPARE(lines.at(11), QStringLiteral("Ток нулевого проводника\t0"));
    QCOMPARE(lines.at(12), QStringLiteral("Неравномерность, %\t0"));

    // All on phase B: the neutral carries the phase current; 200 % above the mean.
    QCOMPARE(runCli({"shield", path, "--app-dir", app.path()}, &out, &err), 0);
    QVERIFY(out.contains(QStringLiteral("Фаза B кВА\t8,75\n")));
    QVERIFY(out.endsWith(QStringLiteral("Ток нулевого проводника\t39,77\nНеравномерность, %\t200\n")));

    QCOMPARE(runCli({"shield", path, "--app-dir", app.path(), "--index", "3"}, &out, &err), 2);
    QCOMPARE(runCli({"shield", app.file(QStringLiteral("none.kbp")), "--app-dir", app.path()}, &out, &err), 1);
}

QTEST_GUILESS_MAIN(tst_LoadCalc)
#include "tst_loadcalc.moc"
