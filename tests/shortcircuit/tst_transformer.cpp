// The transformer data file, the lookup by power and the supply line's resistance.
#include "TestSupport.h"
#include "base/AppContext.h"
#include "base/DataFileRegistry.h"
#include "calc/shortcircuit/Transformer.h"

#include <QtTest>

class TstTransformer : public QObject
{
    Q_OBJECT
private slots:
    void deliveredFileHasEveryPower();
    void lastRecordOfAPowerWins();
    void unknownPowerKeepsImpedances();
    void recordsBeyondTenAreUsed();
    void damagedFileKeepsTheRecordsBeforeTheFault_data();
    void damagedFileKeepsTheRecordsBeforeTheFault();
    void missingFileIsReported();
    void supplyLineResistance_data();
    void supplyLineResistance();
    void projectValuesAfterOpening();
};

void TstTransformer::deliveredFileHasEveryPower()
{
    TestAppDir app;
    const TransformerTable table = Transformer::readTransformerTable(app.path());
    QCOMPARE(table.status, TransformerTable::Status::Ok);
    QCOMPARE(table.problem(), QString());
    QCOMPARE(table.powerTexts(), (QStringList{"25", "40", "63", "100", "160", "250", "400", "630", "1000", "1600"}));

    Project p;
    QCOMPARE(Transformer::selectTransformer(table, 400.0f, p), 6);
    QCOMPARE(p.Rt, 5.4);
    QCOMPARE(p.Xt, 17.2);
    QCOMPARE(p.Zt, 195.0);
}

void TstTransformer::lastRecordOfAPowerWins()
{
    const TransformerTable table = Transformer::parseTransformerTable(
        QStringLiteral("250,9.47,27.2,312\n400,5.4,17.2,195\n400,5.5,17.1,54\n630,3,12.3,129\n"));
    QCOMPARE(table.status, TransformerTable::Status::Ok);
    Project p;
    QCOMPARE(Transformer::selectTransformer(table, 400.0f, p), 2);
    QCOMPARE(p.Rt, 5.5);
    QCOMPARE(p.Xt, 17.1);
    QCOMPARE(p.Zt, 54.0);
}

void TstTransformer::unknownPowerKeepsImpedances()
{
    const TransformerTable table = Transformer::parseTransformerTable(QStringLiteral("400,5.4,17.2,195"));
    Project p;
    p.Rt = 1;
    p.Xt = 2;
    p.Zt = 3;
    QCOMPARE(Transformer::selectTransformer(table, 500.0f, p), -1);
    QCOMPARE(p.Rt, 1.0);
    QCOMPARE(p.Xt, 2.0);
    QCOMPARE(p.Zt, 3.0);
    // "0" (no transformer yet) never matches a record.
    QCOMPARE(Transformer::selectTransformer(table, Transformer::powerValue(QStringLiteral("0")), p), -1);
}

void TstTransformer::recordsBeyondTenAreUsed()
{
    QString text;
    for (int i = 1; i <= 12; ++i)
        text += QStringLiteral("%1,%2,%3,%4\n").arg(i * 100).arg(i).arg(i * 2).arg(i * 3);
    const TransformerTable table = Transformer::parseTransformerTable(text);
    QCOMPARE(table.records.size(), 12);
    Project p;
    QCOMPARE(Transformer::selectTransformer(table, 1200.0f, p), 11);
    QCOMPARE(p.Rt, 12.0);
    QCOMPARE(p.Zt, 36.0);
}

void TstTransformer::damagedFileKeepsTheRecordsBeforeTheFault_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("goodRecords");
    QTest::newRow("word in a record") << "25,153.6,243.6,3110\n40,88,abc,1949\n63,51.6,102,1237" << 1;
    QTest::newRow("incomplete last record") << "25,153.6,243.6,3110\n40,88,157" << 1;
    QTest::newRow("semicolons") << "25,153.6,243.6,3110\n40,88,157,1949\n63;51.6;102;1237" << 2;
    QTest::newRow("power of 0") << "0,1,2,3\n25,153.6,243.6,3110" << 0;
    QTest::newRow("negative impedance") << "25,153.6,-243.6,3110" << 0;
}

void TstTransformer::damagedFileKeepsTheRecordsBeforeTheFault()
{
    QFETCH(QString, text);
    QFETCH(int, goodRecords);
    TestAppDir app;
    app.writeFile(QStringLiteral("Transformers.dat"), text.toLatin1());
    const TransformerTable table = Transformer::readTransformerTable(app.path());
    QCOMPARE(table.status, TransformerTable::Status::Damaged);
    QCOMPARE(table.records.size(), goodRecords);
    QCOMPARE(table.badRecord, goodRecords + 1);
    QVERIFY(table.problem().startsWith(QStringLiteral("Файл ")));
    QVERIFY(table.problem().contains(QStringLiteral("Transformers.dat поврежден: запись %1 ").arg(goodRecords + 1)));

    ScriptedPrompter prompter;
    Transformer::reportTableProblem(table, prompter);
    QCOMPARE(prompter.messages.size(), 1);
    QCOMPARE(prompter.messages.first().title, QStringLiteral("Ошибка"));
    QCOMPARE(prompter.messages.first().icon, Prompter::Icon::Critical);
}

void TstTransformer::missingFileIsReported()
{
    TestAppDir app;
    QVERIFY(QFile::remove(app.file(QStringLiteral("Transformers.dat"))));
    const TransformerTable table = Transformer::readTransformerTable(app.path());
    QCOMPARE(table.status, TransformerTable::Status::Missing);
    QVERIFY(table.records.isEmpty());
    QCOMPARE(table.problem(), QStringLiteral("Файл ") + DataFiles::shownPath(app.path(), QStringLiteral("\\Transformers.dat"))
                                  + QStringLiteral(" не найден!"));
    Project p;
    p.Rt = 7;
    QCOMPARE(Transformer::selectTransformer(table, 400.0f, p), -1);
    QCOMPARE(p.Rt, 7.0);
}

void TstTransformer::supplyLineResistance_data()
{
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("material");
    QTest::addColumn<QString>("section");
    QTest::addColumn<double>("rnet");
    // 500 / (37,04 x 35) = 0,3857 Ohm, x 1,6 = 0,617 mOhm
    QTest::newRow("aluminium 0,5 km 35") << "0,5" << "Алюминий" << "35" << 1.6 * 500 / (37.04 * 35);
    QTest::newRow("copper 2 km 50") << "2" << "Медь" << "50" << 1.6 * 2000 / (56.18 * 50);
    QTest::newRow("point decimal") << "0.5" << "Алюминий" << "35" << 1.6 * 500 / (37.04 * 35);
    QTest::newRow("empty section") << "0,5" << "Алюминий" << "" << 0.0;
    QTest::newRow("section 0") << "0,5" << "Алюминий" << "0" << 0.0;
    QTest::newRow("empty length") << "" << "Алюминий" << "35" << 0.0;
    QTest::newRow("no material") << "0,5" << "" << "35" << 0.0;
}

void TstTransformer::supplyLineResistance()
{
    QFETCH(QString, length);
    QFETCH(QString, material);
    QFETCH(QString, section);
    QFETCH(double, rnet);
    CalcValues calc;
    const double r = Transformer::supplyLineResistance(length, material, section, calc);
    QVERIFY2(qAbs(r - rnet) < 1e-12, qPrintable(QString::number(r, 'g', 17)));
    if (QByteArray(QTest::currentDataTag()) == "aluminium 0,5 km 35")
        QCOMPARE(qRound(r * 1000), 617);
}

void TstTransformer::projectValuesAfterOpening()
{
    TestAppDir app;
    CalcValues calc;
    Project p;
    p.transformerPower = QStringLiteral("630");
    p.supplyLineMaterial = QStringLiteral("Алюминий");
    p.supplyLineLength = QStringLiteral("0,5");
    p.supplyLineSection = QStringLiteral("35");
    const TransformerTable table = Transformer::updateProjectValues(p, app.path(), calc);
    QCOMPARE(table.status, TransformerTable::Status::Ok);
    QCOMPARE(p.Rt, 3.0);
    QCOMPARE(p.Xt, 12.3);
    QCOMPARE(p.Zt, 129.0);
    QCOMPARE(qRound(p.Rnet * 1000), 617);

    // Without a supply line the texts are empty and Rnet is 0 again.
    p.supplyLineMaterial.clear();
    p.supplyLineLength.clear();
    p.supplyLineSection.clear();
    Transformer::updateProjectValues(p, app.path(), calc);
    QCOMPARE(p.Rnet, 0.0);
}

QTEST_GUILESS_MAIN(TstTransformer)
#include "tst_transformer.moc"
