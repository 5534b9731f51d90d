// The cable line calculation, the core notation parsers and the network summary.
#include "base/AppContext.h"
#include "calc/lines/LineCalc.h"
#include "calc/lines/NetworkSummary.h"

#include <QtTest>

using namespace LineCalc;

namespace {

CableLine row(const QString &name, const QString &dU, const QString &ikab, const QString &idop, bool checked = true)
{
    CableLine l;
    l.name = name;
    l.cells[CableLine::VoltageDrop] = dU;
    l.cells[CableLine::LoadCurrent] = ikab;
    l.cells[CableLine::PermissibleCurrent] = idop;
    l.checked = checked;
    return l;
}

} // namespace

class TstLineCalc : public QObject
{
    Q_OBJECT
private slots:
    void resistanceAndDrop();
    void computeLine_data();
    void computeLine();
    void zeroSectionHasNoResistance();
    void coreNotation();
    void coreCount();
    void neutralAndPhaseSections_data();
    void neutralAndPhaseSections();
    void loadCurrent_data();
    void loadCurrent();
    void summaryEmpty();
    void summaryWarnings();
    void summaryLimitExactlyReached();
    void summaryUncheckRemoves();
    void summaryTextThatIsNoNumber();
};

void TstLineCalc::resistanceAndDrop()
{
    CalcValues calc;
    const auto r = lineResistance(100, copper(), 2.5, calc);
    QVERIFY(r);
    QVERIFY(qAbs(*r - 711.997152) < 1e-5);
    QVERIFY(qAbs(voltageDrop(r, 10, NetworkType::SinglePhase) - 6.4727) < 1e-3);
    // Three-phase by hand: sqrt(3) * 712 * 10 / 380 / 10 = 3,2453 %.
    QVERIFY(qAbs(voltageDrop(r, 10, NetworkType::ThreePhase) - 3.2453) < 1e-3);
    // The conductivity is read at each call.
    calc.copperConductivity = 50;
    QCOMPARE(*lineResistance(100, copper(), 2.5, calc), 800.0);
    QVERIFY(!lineResistance(100, QStringLiteral("Сталь"), 2.5, calc));
}

void TstLineCalc::computeLine_data()
{
    QTest::addColumn<QString>("material");
    QTest::addColumn<bool>("single");
    QTest::addColumn<int>("cores");
    QTest::addColumn<double>("section");
    QTest::addColumn<double>("length");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("neutral");
    QTest::addColumn<int>("tol");
    QTest::addColumn<QStringList>("cells");
    QTest::newRow("copper single-phase")
        << "Медь" << true << 3 << 2.5 << 100.0 << "10" << "0" << 2
        << QStringList{"ВВГ", "3x2,5", "Медь", "100", "712", "10", "25", "6,47", "220"};
    QTest::newRow("copper three-phase")
        << "Медь" << false << 4 << 2.5 << 100.0 << "10" << "0" << 2
        << QStringList{"ВВГ", "4x2,5", "Медь", "100", "712", "10", "25", "3,25", "380"};
    QTest::newRow("aluminium three-phase")
        << "Алюминий" << false << 4 << 16.0 << 50.0 << "25" << "0" << 2
        << QStringList{"ВВГ", "4x16", "Алюминий", "50", "84,37", "25", "25", "0,96", "380"};
    QTest::newRow("neutral core")
        << "Алюминий" << false << 4 << 25.0 << 50.0 << "ЩО1 - 25,5А" << "16" << 2
        << QStringList{"ВВГ", "4x25 + 1x16", "Алюминий", "50", "54", "25,5", "25", "0,63", "380"};
    QTest::newRow("no decimals")
        << "Медь" << true << 3 << 4.0 << 100.0 << "10" << "0" << 0
        << QStringList{"ВВГ", "3x4", "Медь", "100", "445", "10", "25", "4", "220"};
}

void TstLineCalc::computeLine()
{
    QFETCH(QString, material);
    QFETCH(bool, single);
    QFETCH(int, cores);
    QFETCH(double, section);
    QFETCH(double, length);
    QFETCH(QString, current);
    QFETCH(QString, neutral);
    QFETCH(int, tol);
    QFETCH(QStringList, cells);
    CalcValues calc;
    calc.decimalPlaces = tol;
    LineInput in;
    in.name = QStringLiteral("Линия №1");
    in.mark = QStringLiteral("ВВГ");
    in.material = material;
    in.net = single ? NetworkType::SinglePhase : NetworkType::ThreePhase;
    in.coreCount = cores;
    in.section = section;
    in.length = length;
    in.loadCurrentText = current;
    in.neutralText = neutral;
    in.permissibleCurrent = 25;
    const CableLine line = LineCalc::computeLine(in, calc);
    QCOMPARE(line.name, QStringLiteral("Линия №1"));
    QCOMPARE(line.cells, cells);
    QVERIFY(!line.checked);
}

void TstLineCalc::zeroSectionHasNoResistance()
{
    CalcValues calc;
    QVERIFY(!lineResistance(100, copper(), 0, calc));
    QCOMPARE(voltageDrop(std::nullopt, 10, NetworkType::SinglePhase), 0.0);
}

void TstLineCalc::coreNotation()
{
    QCOMPARE(formatCoreNotation(4, 25, QStringLiteral("16")), QStringLiteral("4x25 + 1x16"));
    QCOMPARE(formatCoreNotation(4, 25, QStringLiteral("0")), QStringLiteral("4x25"));
    QCOMPARE(formatCoreNotation(2, 2.5, QStringLiteral("0")), QStringLiteral("2x2,5"));
    // The neutral text is written as the list holds it.
    QCOMPARE(formatCoreNotation(3, 50, QStringLiteral("2,5")), QStringLiteral("3x50 + 1x2,5"));
}

void TstLineCalc::coreCount()
{
    QCOMPARE(coreCountOf(NetworkType::SinglePhase, QStringLiteral("открыто")), 3);
    QCOMPARE(coreCountOf(NetworkType::SinglePhase, QStringLiteral("два одножильных")), 2);
    QCOMPARE(coreCountOf(NetworkType::SinglePhase, QStringLiteral("четыре одножильных")), 4);
    QCOMPARE(coreCountOf(NetworkType::SinglePhase, QStringLiteral("один трехжильный")), 3);
    QCOMPARE(coreCountOf(NetworkType::ThreePhase, QStringLiteral("одножильный")), 1);
    QCOMPARE(coreCountOf(NetworkType::ThreePhase, QStringLiteral("четырехжильный")), 4);
    QCOMPARE(coreCountOf(NetworkType::ThreePhase, QStringLiteral("открыто")), 0);
    QCOMPARE(coreCountOf(NetworkType::SinglePhase, QString()), 0);
}

void TstLineCalc::neutralAndPhaseSections_data()
{
    QTest::addColumn<QString>("notation");
    QTest::addColumn<float>("neutral");
    QTest::addColumn<QString>("phase");
    QTest::newRow("with neutral") << "3x50 + 1x25" << 25.0f << "50";
    QTest::newRow("four-core") << "4x16" << 0.0f << "16";
    QTest::newRow("decimal") << "3x2,5" << 0.0f << "2,5";
    QTest::newRow("decimal neutral") << "4x4 + 1x2,5" << 2.5f << "4";
    QTest::newRow("no x") << "25" << 0.0f << "";
    QTest::newRow("x last") << "3x" << 0.0f << "";
    QTest::newRow("plus last") << "3x50+" << 0.0f << "50+";
    QTest::newRow("empty") << "" << 0.0f << "";
    QTest::newRow("head without x") << "50 + 1x25" << 25.0f << "";
}

void TstLineCalc::neutralAndPhaseSections()
{
    QFETCH(QString, notation);
    QFETCH(float, neutral);
    QFETCH(QString, phase);
    QCOMPARE(neutralSection(notation), neutral);
    QCOMPARE(phaseSectionText(notation), phase);
}

void TstLineCalc::loadCurrent_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("current");
    QTest::newRow("shield choice") << "ЩО1 - 25,5А" << 25.5;
    QTest::newRow("shield 2") << "Щит 2 - 40А" << 40.0;
    QTest::newRow("dash in name") << "Насос-1 - 12А" << 12.0;
    QTest::newRow("plain") << "16" << 16.0;
    QTest::newRow("decimal") << "12,5" << 12.5;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("negative") << "-5" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("letter only") << "А" << 0.0;
    QTest::newRow("dash at end") << "x -" << 0.0;
}

void TstLineCalc::loadCurrent()
{
    QFETCH(QString, text);
    QFETCH(double, current);
    QCOMPARE(parseLoadCurrent(text), current);
}

void TstLineCalc::summaryEmpty()
{
    const SummaryText s = summarizeNetwork({row(QStringLiteral("Л1"), QStringLiteral("3"), QStringLiteral("10"),
                                              QStringLiteral("5"), false)},
                                         7.5);
    QCOMPARE(s.panel1, QStringLiteral("Суммарное падение напряжения: 0%"));
    QCOMPARE(s.panel2, QString());
}

void TstLineCalc::summaryWarnings()
{
    const QVector<CableLine> lines{row(QStringLiteral("Линия №1"), QStringLiteral("1,5"), QStringLiteral("30"), QStringLiteral("25")),
                                   row(QStringLiteral("Линия №2"), QStringLiteral("6,2"), QStringLiteral("10"), QStringLiteral("19")),
                                   row(QStringLiteral("Линия №3"), QStringLiteral("9"), QStringLiteral("25,5"), QStringLiteral("25"), false)};
    const SummaryText s = summarizeNetwork(lines, 7.5);
    QCOMPARE(s.panel1, QStringLiteral("Суммарное падение напряжения: 7,7%"));
    QCOMPARE(s.panel2, QStringLiteral(" Внимание: Ток нагрузки больше длительно допустимого тока на линии(ях): ''Линия №1'' "
                                      "Внимание: Cуммарные потери напряжения превышают 7,5%!"));
    // The word begins with a Latin C.
    QVERIFY(s.panel2.contains(QStringLiteral("Cуммарные")) && s.panel2.contains(QLatin1Char('C')));

    const SummaryText only = summarizeNetwork({row(QStringLiteral("Л"), QStringLiteral("0,1"), QStringLiteral("25,5"), QStringLiteral("25")),
                                             row(QStringLiteral("М"), QStringLiteral("0,2"), QStringLiteral("25"), QStringLiteral("25"))},
                                            7.5);
    QCOMPARE(only.panel1, QStringLiteral("Суммарное падение напряжения: 0,3%"));
    QCOMPARE(only.panel2, QStringLiteral(" Внимание: Ток нагрузки больше длительно допустимого тока на линии(ях): ''Л'' "));
}

void TstLineCalc::summaryLimitExactlyReached()
{
    const SummaryText s = summarizeNetwork({row(QStringLiteral("Л"), QStringLiteral("7,5"), QStringLiteral("1"), QStringLiteral("2"))}, 7.5);
    QCOMPARE(s.panel1, QStringLiteral("Суммарное падение напряжения: 7,5%"));
    QCOMPARE(s.panel2, QString());
    // 0,1 + 0,2 is 0.30000000000000004 in binary; what is shown, and checked, is 0,3.
    const SummaryText sum = summarizeNetwork({row(QStringLiteral("А"), QStringLiteral("0,1"), QStringLiteral("1"), QStringLiteral("2")),
                                              row(QStringLiteral("Б"), QStringLiteral("0,2"), QStringLiteral("1"), QStringLiteral("2"))},
                                             0.3);
    QCOMPARE(sum.panel1, QStringLiteral("Суммарное падение напряжения: 0,3%"));
    QCOMPARE(sum.panel2, QString());
    // Many lines add up to their decimal sum, not to binary noise.
    const QVector<CableLine> many(10000, row(QStringLiteral("Л"), QStringLiteral("0,17"), QStringLiteral("1"), QStringLiteral("2")));
    QCOMPARE(summarizeNetwork(many, 7.5).panel1, QStringLiteral("Суммарное падение напряжения: 1700%"));
    // Drops too large to add up are no total of 0 beside the limit warning.
    const CableLine huge = row(QStringLiteral("Л"), QStringLiteral("1E+308"), QStringLiteral("1"), QStringLiteral("2"));
    const SummaryText beyond = summarizeNetwork({huge, huge}, 7.5);
    QCOMPARE(beyond.panel1, QStringLiteral("Суммарное падение напряжения: ∞%"));
    QVERIFY(beyond.panel2.contains(QStringLiteral("превышают")));
}

void TstLineCalc::summaryUncheckRemoves()
{
    QVector<CableLine> lines{row(QStringLiteral("А"), QStringLiteral("5"), QStringLiteral("30"), QStringLiteral("25")),
                             row(QStringLiteral("Б"), QStringLiteral("5"), QStringLiteral("1"), QStringLiteral("25"))};
    QVERIFY(summarizeNetwork(lines, 7.5).panel2.contains(QStringLiteral("''А''")));
    lines[0].checked = false;
    const SummaryText s = summarizeNetwork(lines, 7.5);
    QCOMPARE(s.panel1, QStringLiteral("Суммарное падение напряжения: 5%"));
    QCOMPARE(s.panel2, QString());
}

void TstLineCalc::summaryTextThatIsNoNumber()
{
    // A row edited outside the dialog counts as 0 and does not stop the summary.
    const SummaryText s = summarizeNetwork({row(QStringLiteral("Л"), QStringLiteral("много"), QStringLiteral("x"), QStringLiteral("y")),
                                          row(QStringLiteral("М"), QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("2"))},
                                         7.5);
    QCOMPARE(s.panel1, QStringLiteral("Суммарное падение напряжения: 2%"));
    QCOMPARE(s.panel2, QString());
}

QTEST_GUILESS_MAIN(TstLineCalc)
#include "tst_linecalc.moc"
