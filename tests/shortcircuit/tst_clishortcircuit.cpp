// kabinor-cli tp and kz.
#include "TestSupport.h"
#include "base/ProjectFile.h"

#include <QtTest>

namespace {

CableLine line(const QString &voltage, bool checked, const QString &resistance)
{
    CableLine l;
    l.name = QStringLiteral("Линия");
    l.cells[CableLine::Cores] = QStringLiteral("4x16");
    l.cells[CableLine::Material] = QStringLiteral("Медь");
    l.cells[CableLine::Length] = QStringLiteral("10");
    l.cells[CableLine::Resistance] = resistance;
    l.cells[CableLine::Voltage] = voltage;
    l.checked = checked;
    return l;
}

QString writeProject(const TestAppDir &app, const QString &power, const QVector<CableLine> &lines = {})
{
    Project p;
    p.transformerPower = power;
    p.lines = lines;
    const QString path = app.file(QStringLiteral("p.kbp"));
    ProjectFile::write(path, p);
    return path;
}

const QString kDelivered = QStringLiteral("25\t40\t63\t100\t160\t250\t400\t630\t1000\t1600\n");

} // namespace

class TstCliShortCircuit : public QObject
{
    Q_OBJECT
private slots:
    void tpDefaultsTo400();
    void tpWithSupplyLine();
    void tpRefusals();
    void kzWorkedExample();
    void kzStagesAndSinglePhaseEnd();
    void kzRefusals();
};

void TstCliShortCircuit::tpDefaultsTo400()
{
    TestAppDir app;
    QString out, err;
    QCOMPARE(runCli({"tp", "--app-dir", app.path()}, &out, &err), 0);
    QCOMPARE(out, kDelivered + QStringLiteral("5,4\t17,2\t195\n0\n"));
    QCOMPARE(err, QString());
}

void TstCliShortCircuit::tpWithSupplyLine()
{
    TestAppDir app;
    QString out;
    QCOMPARE(runCli({"tp", "--app-dir", app.path(), "--power", "630", "--hs-length", "0,5", "--hs-material", "Алюминий",
                     "--hs-section", "35"},
                    &out),
             0);
    const QStringList rows = out.split(QLatin1Char('\n'));
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows[1], QStringLiteral("3\t12,3\t129"));
    QVERIFY2(rows[2].startsWith(QStringLiteral("0,617")), qPrintable(rows[2]));
}

void TstCliShortCircuit::tpRefusals()
{
    TestAppDir app;
    QString out, err;
    // The dialog's OK checks the section before the length.
    QCOMPARE(runCli({"tp", "--app-dir", app.path(), "--hs-length", "x"}, &out, &err), 1);
    QCOMPARE(err, QStringLiteral("Укажите численное значение!\n"));
    QCOMPARE(out, QString());
    QCOMPARE(runCli({"tp", "--app-dir", app.path(), "--power", "500"}, &out, &err), 1);
    QVERIFY(err.startsWith(QStringLiteral("Трансформатора мощностью 500 кВА нет в файле ")));
    QCOMPARE(runCli({"tp", "--app-dir", app.path(), "--hs-material", "Сталь", "--hs-length", "1", "--hs-section", "1"},
                    &out, &err),
             2);
    app.writeFile(QStringLiteral("Transformers.dat"), "400,5.4,17.2,195\n630,x,1,1\n");
    QCOMPARE(runCli({"tp", "--app-dir", app.path()}, &out, &err), 1);
    QVERIFY2(err.contains(QStringLiteral("Transformers.dat поврежден: запись 2 ")), qPrintable(err));
}

void TstCliShortCircuit::kzWorkedExample()
{
    TestAppDir app;
    app.writeFile(QStringLiteral("Transformers.dat"), "400,15,40,300\n");
    QString out, err;
    QCOMPARE(runCli({"kz", writeProject(app, "400"), "--app-dir", app.path()}, &out, &err), 0);
    const QString kA = QStringLiteral("к") + QLatin1Char('A');
    QCOMPARE(out, QStringLiteral("4,39\t%1\n3,8\t%1\n1,91\t%1\n6,21\t%1\n").arg(kA));
    QCOMPARE(err, QString());
}

void TstCliShortCircuit::kzStagesAndSinglePhaseEnd()
{
    TestAppDir app;
    app.writeFile(QStringLiteral("Transformers.dat"), "400,15,40,300\n");
    const QString path = writeProject(app, "400", {line("380", true, "0"), line("220", true, "0")});
    QString out;
    // Two stages by default (one three-phase line): Rk 35, and two neutrals of
    // 10 m x 16 mm2 copper, 11,125 mOhm each: 220 / (100 + 22,25 + 35).
    QCOMPARE(runCli({"kz", path, "--app-dir", app.path()}, &out), 0);
    QStringList rows = out.split(QLatin1Char('\n'));
    QCOMPARE(rows[0], QStringLiteral("-\tкА"));
    QCOMPARE(rows[1], QStringLiteral("-\tкА"));
    QCOMPARE(rows[3], QStringLiteral("-\tкА"));
    QCOMPARE(rows[2], QStringLiteral("1,4\tк") + QLatin1Char('A'));
    // Without contact resistance: 220 / (100 + 22,25)
    QCOMPARE(runCli({"kz", path, "--app-dir", app.path(), "--stages", "0"}, &out), 0);
    QCOMPARE(out.split(QLatin1Char('\n'))[2], QStringLiteral("1,8\tк") + QLatin1Char('A'));
}

void TstCliShortCircuit::kzRefusals()
{
    TestAppDir app;
    QString out, err;
    QCOMPARE(runCli({"kz", writeProject(app, "0"), "--app-dir", app.path()}, &out, &err), 1);
    QCOMPARE(err, QStringLiteral("Укажите мощность трансформатора и данные питающей линии!\n"));
    QCOMPARE(out, QString());
    QCOMPARE(runCli({"kz", writeProject(app, "400"), "--app-dir", app.path(), "--stages", "2"}, &out, &err), 2);
    QCOMPARE(runCli({"kz", writeProject(app, "400"), "--app-dir", app.path(), "--stages", "-1"}, &out, &err), 2);
    QCOMPARE(runCli({"kz", app.file("missing.kbp"), "--app-dir", app.path()}, &out, &err), 1);
}

QTEST_GUILESS_MAIN(TstCliShortCircuit)
#include "tst_clishortcircuit.moc"
