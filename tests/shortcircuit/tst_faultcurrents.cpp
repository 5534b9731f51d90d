// Short-circuit currents by ГОСТ 28249-93: hand calculations of a network of
// our own through the core, the command line and the window.
#include "TestSupport.h"
#include "base/AppContext.h"
#include "base/ProjectFile.h"
#include "docs/schedules/FaultCurrentsReport.h"
#include "calc/network/NetworkCalc.h"
#include "calc/shortcircuit/FaultCurrents.h"
#include "ui/shortcircuit/FaultCurrentsWindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

#include <cmath>

using namespace FaultCurrents;

namespace {

CableLine line(const QString &name, const QString &cores, const QString &material, const QString &length,
               const QString &voltage = QStringLiteral("380"))
{
    CableLine l;
    l.name = name;
    l.cells[CableLine::Cores] = cores;
    l.cells[CableLine::Material] = material;
    l.cells[CableLine::Length] = length;
    l.cells[CableLine::Voltage] = voltage;
    l.checked = true;
    return l;
}

// 400 kVA, Sк 200 MVA; 120 m of aluminium 4×95, an unchecked line, 50 m of copper 4×25.
Project network(const QString &group)
{
    Project p;
    p.transformerPower = QStringLiteral("400");
    p.transformerGroup = group;
    p.systemPower = QStringLiteral("200");
    CableLine spare = line(QStringLiteral("Резерв"), QStringLiteral("4x16"), QStringLiteral("Алюминий"), QStringLiteral("10"));
    spare.checked = false;
    p.lines = {line(QStringLiteral("Ввод"), QStringLiteral("4x95"), QStringLiteral("Алюминий"), QStringLiteral("120")), spare,
               line(QStringLiteral("Щит"), QStringLiteral("4x25"), QStringLiteral("Медь"), QStringLiteral("50"))};
    return p;
}

Result computed(const Project &p, const TestAppDir &app)
{
    QString message;
    const AppContext context(app.path());
    const auto result = Network::faultCurrentsOf(p, context, &message);
    if (!result)
        qWarning("%s", qPrintable(message));
    return result.value_or(Result{});
}

} // namespace

class TstFaultCurrents : public QObject
{
    Q_OBJECT
private slots:
    void handCalculation_data();
    void handCalculation();
    void sourceAndNeutral();
    void peakFactorLimits();
    void pointsThatCannotBeComputed();
    void commandLineAgrees();
    void windowTakesInputsAndWritesSchedule();
};

void TstFaultCurrents::handCalculation_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QList<QStringList>>("rows");
    // By hand, U = 400 V, mΩ: Xс = 400² / 200 000 = 0,8; transformer R1 5,5, X1 17,1
    // (Y/Yн-0: R0 55,6, X0 148,7; Д/Yн-11: R0 = R1, X0 = X1). Cables per metre
    // (r1, x1): Al 95 — 0,320, 0,0602; Cu 25 — 0,727, 0,0662; r0 = 4 r1, x0 = 4 x1;
    // 0,1 mΩ of contacts per line. Terminals: Z1 = |5,5 + j17,9| = 18,726,
    // Iк(3) = 400 / (√3 · 18,726) = 12,3326 kA, Kуд = 1,399. Minimum: cables
    // at 65 °C ((228 + 65) / 248 for Al, (234,5 + 65) / 254,5 for Cu), 3 × 10 mΩ of arc.
    // The unchecked "Резерв" (Al 16: r1 1,91, x1 0,0675, r0 7,64, x0 0,27 per
    // metre, 10 m) has no start: it is computed at the bus, after the path.
    // Z1 = |5,5 + 19,1 + 0,1 + j(17,9 + 0,675)| = 30,905, Iк(3) = 7,4726 kA.
    QTest::newRow("Д/Yн-11") << QStringLiteral("D")
                             << QList<QStringList>{{"ТП", "12,3326", "10,6804", "12,5027", "9,8367", "1,399", "24,3999"},
                                                   {"Ввод", "4,5579", "3,9473", "2,6117", "2,0792", "1,0128", "6,5282"},
                                                   {"Щит", "2,7065", "2,3439", "1,4438", "1,1792", "1,0015", "3,8333"},
                                                   {"Резерв", "7,4726", "6,4714", "4,8378", "3,6295", "1,0316", "10,9015"}};
    QTest::newRow("Y/Yн-0") << QStringLiteral("Y")
                            << QList<QStringList>{{"ТП", "12,3326", "10,6804", "3,532", "3,3267", "1,399", "24,3999"},
                                                  {"Ввод", "4,5579", "3,9473", "1,8497", "1,5972", "1,0128", "6,5282"},
                                                  {"Щит", "2,7065", "2,3439", "1,211", "1,029", "1,0015", "3,8333"},
                                                  {"Резерв", "7,4726", "6,4714", "2,6473", "2,3157", "1,0316", "10,9015"}};
}

void TstFaultCurrents::handCalculation()
{
    QFETCH(QString, group);
    QFETCH(QList<QStringList>, rows);
    TestAppDir app;
    const Result r = computed(network(group), app);
    QVERIFY2(r.problems.isEmpty(), qPrintable(r.problems.join(QLatin1Char('\n'))));
    QCOMPARE(r.points.size(), rows.size());
    for (int i = 0; i < rows.size(); ++i)
        QCOMPARE(pointTexts(r.points.at(i), 4), rows.at(i));
    // Every current falls along the path ТП, Ввод, Щит.
    for (int i = 1; i < 3; ++i) {
        QVERIFY(*r.points.at(i).threePhase < *r.points.at(i - 1).threePhase);
        QVERIFY(*r.points.at(i).singlePhaseMin < *r.points.at(i - 1).singlePhaseMin);
        QVERIFY(*r.points.at(i).singlePhaseMin < *r.points.at(i).singlePhaseMax);
    }
    // Д/Yн-11 closes the zero sequence with its own windings: a larger single-phase current.
    if (group == QLatin1String("D")) {
        const Result y = computed(network(QStringLiteral("Y")), app);
        for (int i = 0; i < r.points.size(); ++i)
            QVERIFY(*r.points.at(i).singlePhaseMax > *y.points.at(i).singlePhaseMax);
    }
}

void TstFaultCurrents::sourceAndNeutral()
{
    QCOMPARE(systemReactance(200), 0.8);
    QCOMPARE(systemReactance(0), 0.0); // an infinite system
    // A 2 km aluminium 70 mm² supply line: 2000 / 37,04 / 70 = 0,7714 Ω;
    // referred with the standard's average voltages, (0,4/10,5)² or
    // (0,4/6,3)²: 1,1194 or 3,1096 mΩ. Its reactance, 0,08 Ω/km of a cable:
    // 0,16 Ω, 0,2322 mΩ at 10 kV; 0,35 Ω/km overhead: 0,7 Ω, 1,0159 mΩ.
    Inputs in;
    in.supplyLine = true;
    in.supplyLength = 2;
    in.supplyMaterial = QStringLiteral("Алюминий");
    in.supplySection = 70;
    const CalcValues calc;
    QVERIFY(qAbs(supplyLineResistance(in, calc) - 1.1194) < 1e-4);
    QVERIFY(qAbs(supplyLineReactance(in) - 0.2322) < 1e-4);
    in.supplyOverhead = true;
    QVERIFY(qAbs(supplyLineReactance(in) - 1.0159) < 1e-4);
    in.supplyVoltage = 6;
    QVERIFY(qAbs(supplyLineResistance(in, calc) - 3.1096) < 1e-4);
    in.supplyLine = false;
    QCOMPARE(supplyLineReactance(in), 0.0);

    // 400 kVA Д/Yн-11 behind 5 km of overhead aluminium 35 mm² at 10 kV, an
    // infinite system: R = 3,8568 Ω × 1,4512 = 5,597 mΩ, X = 1,75 Ω × 1,4512
    // = 2,540 mΩ; Iк(3) = 400 / √3 / |11,097 + j19,640| = 10,24 kA (with
    // (0,4/10)² and no reactance it came out 11,15 kA).
    {
        TestAppDir app;
        Project p = network(QStringLiteral("D"));
        p.systemPower = QStringLiteral("0");
        p.supplyLineUsed = 1;
        p.supplyLineOverhead = 1;
        p.supplyLineMaterial = QStringLiteral("Алюминий");
        p.supplyLineLength = QStringLiteral("5");
        p.supplyLineSection = QStringLiteral("35");
        QCOMPARE(pointTexts(computed(p, app).points.first(), 2).at(1), QStringLiteral("10,24"));
    }

    // A neutral of its own section: r0 = r1 + 3 rN (Al 50: 0,641, Al 25: 1,2 mΩ/m).
    TestAppDir app;
    Project p = network(QStringLiteral("D"));
    p.systemPower = QStringLiteral("0");
    p.lines = {line(QStringLiteral("Л"), QStringLiteral("3x50 + 1x25"), QStringLiteral("Алюминий"), QStringLiteral("100"))};
    const Result r = computed(p, app);
    const Sequences z = r.points.last().maximum;
    QVERIFY(qAbs(z.r0 - (5.5 + (0.641 + 3 * 1.2) * 100 + 0.1)) < 1e-9);
    QVERIFY(qAbs(z.x1 - (17.1 + 0.0625 * 100)) < 1e-9);
}

void TstFaultCurrents::peakFactorLimits()
{
    QCOMPARE(peakFactor(0, 10), 2.0); // a purely inductive circuit
    QCOMPARE(peakFactor(10, 0), 1.0); // a purely resistive one
    QVERIFY(qAbs(peakFactor(5.5, 17.9) - 1.399) < 1e-3);
    QVERIFY(peakFactor(1, 100) > peakFactor(1, 10));
}

void TstFaultCurrents::pointsThatCannotBeComputed()
{
    TestAppDir app;
    Project p = network(QStringLiteral("D"));
    // A single-phase line has the single-phase currents only (Cu 2,5 mm²,
    // 20 m after the path above: by hand 0,51 and 0,43 kA).
    p.lines.append(line(QStringLiteral("Розетки"), QStringLiteral("3x2,5"), QStringLiteral("Медь"), QStringLiteral("20"),
                        QStringLiteral("220")));
    Result r = computed(p, app);
    QCOMPARE(r.points.at(3).name, QStringLiteral("Розетки"));
    QCOMPARE(pointTexts(r.points.at(3), 2).mid(1), (QStringList{"-", "-", "0,51", "0,43", "-", "-"}));
    // A section the cable file lacks stops this point and those below it; a
    // line elsewhere in the network keeps its currents.
    p.lines.insert(0, line(QStringLiteral("Странная"), QStringLiteral("4x17"), QStringLiteral("Медь"), QStringLiteral("5")));
    r = computed(p, app);
    QCOMPARE(r.problems.size(), 1);
    QVERIFY(r.problems.first().contains(QStringLiteral("«Странная»")));
    QCOMPARE(r.points.at(4).name, QStringLiteral("Розетки"));
    for (const int i : {1, 4})
        QCOMPARE(pointTexts(r.points.at(i), 2).mid(1), QStringList(6, QStringLiteral("-")));
    QCOMPARE(r.points.last().name, QStringLiteral("Резерв"));
    QCOMPARE(pointTexts(r.points.last(), 2).at(1), QStringLiteral("7,47"));
    // A transformer the file does not have, a damaged file.
    p.transformerPower = QStringLiteral("123");
    r = computed(p, app);
    QVERIFY(r.points.isEmpty());
    QVERIFY(r.problems.last().contains(QStringLiteral("123 кВА со схемой Д/Yн-11")));
    QCOMPARE(TransformerTable::fromText(QStringLiteral("400,D,1,2,3,4\n630,Z,1,2,3,4\n")).status(),
             TransformerTable::Status::Damaged);
    QCOMPARE(CableTable::fromText(QStringLiteral("\"Медь\",16,1,2,3,-4\n")).status(), CableTable::Status::Damaged);
    // Inputs that make no sense are named.
    QString message;
    p.supplyVoltage = QStringLiteral("35");
    QVERIFY(!inputsOf(p, &message));
    QCOMPARE(message, QStringLiteral("Напряжение питающей линии должно быть 6 или 10 кВ!"));
}

void TstFaultCurrents::commandLineAgrees()
{
    TestAppDir app;
    const QString path = app.file(QStringLiteral("Сеть.kbp"));
    QVERIFY(ProjectFile::write(path, network(QStringLiteral("Y"))));
    QString out, err;
    // The project says Y/Yн-0; --group D stands for it in this run.
    QCOMPARE(runCli({QStringLiteral("faults"), path, QStringLiteral("--app-dir"), app.path(), QStringLiteral("--group"),
                     QStringLiteral("D"), QStringLiteral("--tolerance"), QStringLiteral("4")},
                    &out, &err),
             0);
    QCOMPARE(out, QStringLiteral("ТП\t12,3326\t10,6804\t12,5027\t9,8367\t1,399\t24,3999\n"
                                 "Ввод\t4,5579\t3,9473\t2,6117\t2,0792\t1,0128\t6,5282\n"
                                 "Щит\t2,7065\t2,3439\t1,4438\t1,1792\t1,0015\t3,8333\n"
                                 "Резерв\t7,4726\t6,4714\t4,8378\t3,6295\t1,0316\t10,9015\n"));
    QCOMPARE(err, QString());
    // An infinite system (no Sк) raises the currents at the terminals:
    // 400 / (√3 · |5,5 + j17,1|) = 12,86 kA.
    QCOMPARE(runCli({QStringLiteral("faults"), path, QStringLiteral("--app-dir"), app.path(), QStringLiteral("--sk"),
                     QStringLiteral("0")},
                    &out),
             0);
    QVERIFY(out.startsWith(QStringLiteral("ТП\t12,86\t")));
    QCOMPARE(runCli({QStringLiteral("faults"), path, QStringLiteral("--app-dir"), app.path(), QStringLiteral("--hv"),
                     QStringLiteral("35")},
                    nullptr, &err),
             1);
    QCOMPARE(err, QStringLiteral("Напряжение питающей линии должно быть 6 или 10 кВ!\n"));
}

void TstFaultCurrents::windowTakesInputsAndWritesSchedule()
{
    TestAppDir app;
    AppContext context(app.path());
    context.calc.decimalPlaces = 4;
    ScriptedPrompter prompter;
    ReportWriter writer(prompter, app.path());
    Project project = network(QStringLiteral("Y"));
    FaultCurrentsWindow w(project, context, prompter, writer);
    QCOMPARE(w.groupList->currentText(), QStringLiteral("Y/Yн-0"));
    QCOMPARE(w.systemPowerEdit->text(), QStringLiteral("200"));

    // A refused input changes nothing of the project.
    w.temperatureEdit->setText(QStringLiteral("300"));
    QVERIFY(!w.calculate());
    QCOMPARE(prompter.lastText(), QStringLiteral("Температура жил кабелей к концу КЗ должна быть от 20 до 250 °C!"));
    QCOMPARE(project.conductorTemperature, QStringLiteral("65"));

    w.temperatureEdit->setText(QStringLiteral("65"));
    w.groupList->setCurrentIndex(1);
    QVERIFY(w.calculate());
    QCOMPARE(project.transformerGroup, QStringLiteral("D"));
    QCOMPARE(w.pointTable->rowCount(), 4);
    QCOMPARE(w.pointTable->item(2, 4)->text(), QStringLiteral("1,1792"));
    // Each line under the line it starts at.
    QCOMPARE(w.pointTable->item(2, 0)->text(), QStringLiteral("\u00A0\u00A0Щит"));
    QCOMPARE(w.pointTable->item(3, 0)->text(), QStringLiteral("Резерв"));

    // The schedule: the window's rows under the same headings, the sums of
    // the sequence impedances before them. By hand (Д/Yн-11, mΩ): at the
    // terminals R1 5,5, X1 17,1 + 0,8 of the system, R0 5,5, X0 17,1; 120 m of
    // Al 95 (0,320 + j0,0602 per metre, zero sequence 4 times) and 0,1 of
    // contacts add 38,5 + j7,224 and 153,7 + j28,896.
    const QVector<ReportSection> sections = FaultCurrentsReport::build(project, w.result(), 4);
    QCOMPARE(sections.size(), 2);
    const ReportTable table = sections.at(1).table;
    QCOMPARE(table.heading.size(), 11);
    QCOMPARE(table.heading.at(1).text, QStringLiteral("R1Σ, мОм"));
    QCOMPARE(table.heading.at(5).text, QStringLiteral("Iк(3) max, кА"));
    QCOMPARE(table.rows.at(0).mid(0, 5), (QStringList{"ТП", "5,5000", "17,9000", "5,5000", "17,1000"}));
    QCOMPARE(table.rows.at(1), (QStringList{"Ввод", "44,0000", "25,1240", "159,2000", "45,9960", "4,5579", "3,9473",
                                            "2,6117", "2,0792", "1,0128", "6,5282"}));
    // The inputs as entered, the group named as the window names it.
    const ReportTable inputs = sections.at(0).table;
    QCOMPARE(inputs.rows.at(0), (QStringList{"Мощность трансформатора", "400", "кВА"}));
    QCOMPARE(inputs.rows.at(1).at(1), QStringLiteral("Д/Yн-11"));
    QCOMPARE(inputs.rows.at(2).at(1), QStringLiteral("200"));
    QCOMPARE(inputs.rows.at(3), (QStringList{"Питающая линия", "не учитывается", ""}));
    const QString doc = app.file(QStringLiteral("ГОСТ.doc"));
    prompter.files = {doc};
    prompter.clear();
    prompter.files = {doc};
    w.saveReport();
    QVERIFY(QFileInfo(doc).size() > 0);
    QCOMPARE(prompter.lastText(), ReportWriter::successMessage(doc));
}

QTEST_MAIN(TstFaultCurrents)
#include "tst_faultcurrents.moc"
