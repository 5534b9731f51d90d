// Short-circuit currents: the sums over the checked lines, the contact
// resistance, the formulas, the unit switch and what the window shows.
#include "base/AppContext.h"
#include "base/Project.h"
#include "calc/shortcircuit/ShortCircuit.h"

#include <QtTest>

#include <cmath>

namespace {

CableLine line(const QString &voltage, bool checked, const QString &resistance = QStringLiteral("0"),
               const QString &cores = QStringLiteral("4x16"), const QString &material = QStringLiteral("Медь"),
               const QString &length = QStringLiteral("100"))
{
    CableLine l;
    l.name = QStringLiteral("Линия");
    l.cells[CableLine::Cores] = cores;
    l.cells[CableLine::Material] = material;
    l.cells[CableLine::Length] = length;
    l.cells[CableLine::Resistance] = resistance;
    l.cells[CableLine::Voltage] = voltage;
    l.checked = checked;
    return l;
}

// The transformer of the worked example: Rt 15, Xt 40, Zt 300, no supply line.
Project exampleProject()
{
    Project p;
    p.transformerPower = QStringLiteral("400");
    p.Rt = 15;
    p.Xt = 40;
    p.Zt = 300;
    return p;
}

const QString kKiloAmpere = QStringLiteral("к") + QLatin1Char('A');

} // namespace

class TstShortCircuit : public QObject
{
    Q_OBJECT
private slots:
    void workedExample();
    void unitSwitch_data();
    void unitSwitch();
    void contactResistance_data();
    void contactResistance();
    void lineSumTakesCheckedLinesUpToN();
    void neutralSections_data();
    void neutralSections();
    void singlePhaseCurrentIgnoresSupplyLine();
    void initialStages();
    void zeroDenominatorShowsNoNumber();
    void deltaStarTransformerTakesItsOwnImpedance();
};

void TstShortCircuit::workedExample()
{
    // The texts shown for it are checked through the window and the CLI.
    const Project p = exampleProject();
    CalcValues calc;
    const ShortCircuit::Currents c = ShortCircuit::Calculate(p, 0, 1, calc);
    QVERIFY(qAbs(c.ik3 - 380 / std::sqrt(3.0) / 50) < 1e-12);
    QVERIFY(qAbs(c.ik1 - 220.0 / 115) < 1e-12);
}

void TstShortCircuit::unitSwitch_data()
{
    QTest::addColumn<double>("kA");
    QTest::addColumn<int>("places");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("unit");
    QTest::newRow("87,5 A") << 0.0875 << 2 << 87.5 << "A";
    QTest::newRow("exactly 0,1 kA is 100 A") << 0.1 << 2 << 100.0 << "A";
    QTest::newRow("just above 0,1 kA") << 0.1001 << 2 << 0.1 << kKiloAmpere;
    QTest::newRow("half to even in kA") << 0.125 << 2 << 0.12 << kKiloAmpere;
    QTest::newRow("no decimals") << 4.5 << 0 << 4.0 << kKiloAmpere;
}

void TstShortCircuit::unitSwitch()
{
    QFETCH(double, kA);
    QFETCH(int, places);
    QFETCH(double, value);
    QFETCH(QString, unit);
    const ShortCircuit::Dimensioned d = ShortCircuit::withUnit(kA, places);
    QCOMPARE(d.value, value);
    QCOMPARE(d.unit, unit);
    // The Latin A, also after the Cyrillic к.
    QCOMPARE(d.unit.back(), QLatin1Char('A'));
}

void TstShortCircuit::contactResistance_data()
{
    QTest::addColumn<int>("stages");
    QTest::addColumn<qint64>("mOhm");
    QTest::newRow("negative") << -3 << qint64(0);
    QTest::newRow("0") << 0 << qint64(0);
    QTest::newRow("1") << 1 << qint64(15);
    QTest::newRow("2") << 2 << qint64(35);
    QTest::newRow("3") << 3 << qint64(60);
    QTest::newRow("4") << 4 << qint64(90);
    QTest::newRow("5") << 5 << qint64(125);
    QTest::newRow("112 fits 16 bits") << 112 << qint64(32760);
    QTest::newRow("113 does not wrap") << 113 << qint64(33335);
}

void TstShortCircuit::contactResistance()
{
    QFETCH(int, stages);
    QFETCH(qint64, mOhm);
    QCOMPARE(ShortCircuit::contactResistance(stages), mOhm);
}

void TstShortCircuit::lineSumTakesCheckedLinesUpToN()
{
    const QVector<CableLine> lines{line("380", true, "10"), line("380", false, "20"), line("220", true, "30,5")};
    QCOMPARE(ShortCircuit::sumLineResistance(lines, 3), 40.5);
    QCOMPARE(ShortCircuit::sumLineResistance(lines, 2), 10.0);
    QCOMPARE(ShortCircuit::sumLineResistance(lines, 0), 0.0);
    QCOMPARE(ShortCircuit::sumLineResistance(lines, 99), 40.5);
    QCOMPARE(ShortCircuit::sumLineResistance({}, 3), 0.0);
}

void TstShortCircuit::neutralSections_data()
{
    QTest::addColumn<QString>("cores");
    QTest::addColumn<QString>("material");
    QTest::addColumn<double>("mOhm");
    QTest::newRow("4x16 copper uses 16") << "4x16" << "Медь" << 100 * 1000 / 56.18 / 16;
    QTest::newRow("5x16: the fifth core is no neutral, the phase section serves") << "5x16" << "Медь" << 100 * 1000 / 56.18 / 16;
    QTest::newRow("3x50 + 1x25 aluminium uses 25") << "3x50 + 1x25" << "Алюминий" << 100 * 1000 / 37.04 / 25;
    QTest::newRow("3x2,5 uses 2,5") << "3x2,5" << "Медь" << 100 * 1000 / 56.18 / 2.5;
    QTest::newRow("no section at all") << "25" << "Медь" << 0.0;
}

void TstShortCircuit::neutralSections()
{
    QFETCH(QString, cores);
    QFETCH(QString, material);
    QFETCH(double, mOhm);
    CalcValues calc;
    const QVector<CableLine> lines{line("380", true, "1", cores, material), line("380", false, "1", "4x1", "Медь")};
    const double r = ShortCircuit::sumNeutralResistance(lines, 2, calc);
    QVERIFY2(qAbs(r - mOhm) < 1e-9, qPrintable(QString::number(r, 'g', 17)));
}

void TstShortCircuit::singlePhaseCurrentIgnoresSupplyLine()
{
    Project p = exampleProject();
    p.Rnet = 30;
    CalcValues calc;
    const ShortCircuit::Currents c = ShortCircuit::Calculate(p, 0, 1, calc);
    QVERIFY(qAbs(c.ik3 - 380 / std::sqrt(3.0) / std::sqrt(60.0 * 60 + 40 * 40)) < 1e-12);
    QVERIFY(qAbs(c.ik1 - 220.0 / 115) < 1e-12);
    QVERIFY(qAbs(c.ik2 - c.ik3 * std::sqrt(3.0) / 2) < 1e-12);
    QVERIFY(qAbs(c.iy - c.ik3 * std::sqrt(2.0)) < 1e-12);
}

void TstShortCircuit::initialStages()
{
    QVector<CableLine> lines{line("380", true), line("220", true), line("380", true)};
    QCOMPARE(ShortCircuit::initialStageCount(lines), 3);
    lines.append(line("380", false));
    QCOMPARE(ShortCircuit::initialStageCount(lines), 3);
    QCOMPARE(ShortCircuit::maxStageCount(lines), 5);
    QCOMPARE(ShortCircuit::initialStageCount({}), 1);
}

void TstShortCircuit::zeroDenominatorShowsNoNumber()
{
    CalcValues calc;
    Project p; // no transformer impedances, no supply line, no lines
    QCOMPARE(ShortCircuit::threePhaseCurrent(0, 0, 0, 0, 0), 0.0);
    QCOMPARE(ShortCircuit::singlePhaseCurrent(0, 0, 0, 0), 0.0);
    QVERIFY(!ShortCircuit::hasValue(ShortCircuit::threePhaseCurrent(0, 0, 0, 0, 0)));
    const ShortCircuit::ShownCurrents shown = ShortCircuit::shownCurrents(p, 0, calc);
    for (const auto &s : shown) {
        QCOMPARE(s.text, QStringLiteral("-"));
        QVERIFY(s.unit.isEmpty());
    }
    // One stage is enough resistance for a value.
    QVERIFY(ShortCircuit::hasValue(ShortCircuit::Calculate(p, 0, 1, calc).ik3));
}

void TstShortCircuit::deltaStarTransformerTakesItsOwnImpedance()
{
    // 400 kVA of the data file: Rt 5,4, Xt 17,2, Zт(1) 195 mΩ for Y/Yн-0.
    Project p;
    p.transformerPower = QStringLiteral("400");
    p.Rt = 5.4;
    p.Xt = 17.2;
    p.Zt = 195;
    CalcValues calc;
    // Y/Yн-0: 220 / (195 / 3 + 15) = 2,75 kA at the terminals with one stage.
    QCOMPARE(ShortCircuit::shownCurrents(p, 1, calc)[2].text, QStringLiteral("2,75"));
    // Д/Yн-11: Zт(1)/3 = |Z1| = √(5,4² + 17,2²) = 18,03 mΩ; 220 / 33,03 = 6,66 kA.
    p.transformerGroup = QStringLiteral("D");
    QVERIFY(qAbs(ShortCircuit::transformerFaultImpedance(p) - 3 * std::hypot(5.4, 17.2)) < 1e-12);
    QCOMPARE(ShortCircuit::shownCurrents(p, 1, calc)[2].text, QStringLiteral("6,66"));
    // The three-phase current does not depend on the group: 219,39 / |20,4 + j17,2| = 8,22 kA.
    QCOMPARE(ShortCircuit::shownCurrents(p, 1, calc)[0].text, QStringLiteral("8,22"));
}

QTEST_GUILESS_MAIN(TstShortCircuit)
#include "tst_shortcircuit.moc"
