// Damaged input files opened by the application and by kabinor-cli: no crash,
// no freeze, no silent loss; each gives its message or its documented default.
#include "TestSupport.h"
#include "app/AppContext.h"
#include "app/DataFileRegistry.h"
#include "app/IniStore.h"
#include "app/LineListModel.h"
#include "app/frmMain.h"

#include <QLabel>
#include <QTreeView>
#include <QtTest>

namespace {

QString cli(const QStringList &args, int expectedCode, QString *err = nullptr)
{
    QString out;
    QString errText;
    const int code = runCli(args, &out, &errText);
    if (err)
        *err = errText;
    if (code != expectedCode)
        qWarning("kabinor-cli %s exited %d: %s", qPrintable(args.join(QLatin1Char(' '))), code, qPrintable(errText));
    return code == expectedCode ? out : QStringLiteral("<exit %1>").arg(code);
}

} // namespace

class TstDamaged : public QObject
{
    Q_OBJECT
private slots:
    void settingsWithGarbage();
    void emptyRegistry();
    void registryWithTwentyEntries();
    void tableWithMissingRows();
    void tableWithTextFields();
    void projectCountsNotNumbers();
    void projectHugeLineCountWithoutSections();
    void projectTruncated();
    void projectInUtf8();
    void projectBinaryGarbage();
};

void TstDamaged::settingsWithGarbage()
{
    TestAppDir app;
    app.writeFile(QStringLiteral("kabinor.ini"),
                  cp1251(QStringLiteral("[Startup]\r\nShowInTray=да\r\nRemPosition=x\r\nHeight=высоко\r\nWidth=-5\r\n"
                                        "Top=1e308\r\nLeft=\r\n[Calculation]\r\ngCu=медь\r\ngAl=\r\ndUmax=∞\r\nTolerance=много\r\n"
                                        "[MainWindow]\r\nColumnWidth1=-100\r\nColumnWidth2=1e300\r\n[Recent]\r\n"
                                        "RecentFileCount=99999\r\nRecentFile1=\x01\x02\r\n[Light]\r\nLTListIdx=abc\r\n")));
    AppContext context(app.path());
    ScriptedPrompter p;
    QVERIFY(frmMain::runStartupCheck(context, p));
    frmMain window(context, p);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Values that are no numbers keep their defaults.
    QCOMPARE(window.calc().gCu, 56.18);
    QCOMPARE(window.calc().gAl, 37.04);
    QCOMPARE(window.calc().dUmax, 7.5);
    QCOMPARE(window.calc().dTol, 2.0);
    QVERIFY(window.width() > 100 && window.height() > 100);
    QCOMPARE(window.lvMain->columnWidth(0) >= 0, true);
    // The command line reads the same file.
    app.writeFile(QStringLiteral("p.kbp"), cp1251(QStringLiteral("[Lines]\r\nLineCount=0\r\n")));
    QCOMPARE(cli({QStringLiteral("summary"), app.file(QStringLiteral("p.kbp")), QStringLiteral("--app-dir"), app.path()}, 0),
             QStringLiteral("Суммарное падение напряжения: 0%\n\n"));
}

void TstDamaged::emptyRegistry()
{
    TestAppDir app;
    app.writeFile(QStringLiteral("files.fls"), QByteArray());
    AppContext context(app.path());
    ScriptedPrompter p;
    QVERIFY(!frmMain::runStartupCheck(context, p));
    // Every data file the registry should name is reported, and nothing is created in their place.
    QVERIFY(p.messages.size() >= 13);
    for (const auto &m : p.messages)
        QCOMPARE(m.title, QStringLiteral("Критическая ошибка"));
    QString err;
    cli({QStringLiteral("sections"), QStringLiteral("--app-dir"), app.path()}, 1, &err);
    QVERIFY(!err.isEmpty());
}

void TstDamaged::registryWithTwentyEntries()
{
    TestAppDir app;
    QByteArray bytes = app.readFile(QStringLiteral("files.fls"));
    for (int i = 0; i < 6; ++i)
        bytes += "\\extra" + QByteArray::number(i) + ".dat\r\n";
    app.writeFile(QStringLiteral("files.fls"), bytes);
    QCOMPARE(DataFiles::parseRegistry(QString::fromLatin1(bytes)).size(), 14);
    AppContext context(app.path());
    ScriptedPrompter p;
    QVERIFY(frmMain::runStartupCheck(context, p));
    QVERIFY(p.messages.isEmpty());
    QCOMPARE(DataFiles::DataFileName(app.path(), 13), QStringLiteral("\\kabinor.ini"));
    QCOMPARE(cli({QStringLiteral("sections"), QStringLiteral("--app-dir"), app.path()}, 0).isEmpty(), false);
}

void TstDamaged::tableWithMissingRows()
{
    TestAppDir app;
    const QString entry = DataFiles::DataFileName(app.path(), DataFiles::Table380Al).mid(1);
    QList<QByteArray> rows = app.readFile(entry).split('\n');
    app.writeFile(entry, rows.mid(0, 5).join('\n'));
    QString err;
    const QString out = cli({QStringLiteral("sections"), QStringLiteral("--app-dir"), app.path()}, 1, &err);
    QVERIFY2(err.contains(QStringLiteral("поврежден")) || err.contains(QStringLiteral("не найден")), qPrintable(err));
}

void TstDamaged::tableWithTextFields()
{
    TestAppDir app;
    const QString entry = DataFiles::DataFileName(app.path(), DataFiles::Table380Al).mid(1);
    QByteArray bytes = app.readFile(entry);
    bytes.replace("2.5,23", "2.5,много");
    app.writeFile(entry, bytes);
    QString err;
    cli({QStringLiteral("line"), QStringLiteral("--section"), QStringLiteral("2,5"), QStringLiteral("--length"),
         QStringLiteral("10"), QStringLiteral("--current"), QStringLiteral("5"), QStringLiteral("--app-dir"), app.path()},
        1, &err);
    QVERIFY2(err.contains(QStringLiteral("поврежден")), qPrintable(err));
}

void TstDamaged::projectCountsNotNumbers()
{
}

void TstDamaged::projectHugeLineCountWithoutSections()
{
}

void TstDamaged::projectTruncated()
{
}

void TstDamaged::projectInUtf8()
{
}

void TstDamaged::projectBinaryGarbage()
{
}

QTEST_MAIN(TstDamaged)
#include "tst_damaged.moc"
