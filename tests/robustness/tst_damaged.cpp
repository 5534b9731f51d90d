// Damaged input files opened by the application and by kabinor-cli: no crash,
// no freeze, no silent loss; each gives its message or its documented default.
#include "TestSupport.h"
#include "ui/about/TipDialog.h"
#include "base/AppContext.h"
#include "base/DataFileRegistry.h"
#include "base/IniStore.h"
#include "base/ProjectFile.h"
#include "base/TextFile.h"
#include "ui/lines/LineListModel.h"
#include "ui/lighting/LightingWindow.h"
#include "ui/loads/ShieldsWindow.h"
#include "shell/MainWindow.h"
#include "shell/OptionsDialog.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
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
    void registryWithTooManyEntries();
    void tableWithMissingRows();
    void tableWithTextFields();
    void projectCountsNotNumbers();
    void projectHugeLineCountWithoutSections();
    void projectTruncated();
    void projectInUtf8();
    void projectBinaryGarbage();
    void damagedProjectExitCode_data();
    void damagedProjectExitCode();
    void unreadableSettingsAreNeverWrittenOver();
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
    QVERIFY(MainWindow::runStartupCheck(context, p));
    MainWindow window(context, p);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Values that are no numbers keep their defaults.
    QCOMPARE(window.calc().copperConductivity, 56.18);
    QCOMPARE(window.calc().aluminiumConductivity, 37.04);
    QCOMPARE(window.calc().maxVoltageDrop, 7.5);
    QCOMPARE(window.calc().decimalPlaces, 2.0);
    QVERIFY(window.width() > 100 && window.height() > 100);
    QCOMPARE(window.lineList->columnWidth(0) >= 0, true);
    // The command line reads the same file.
    app.writeFile(QStringLiteral("p.kbp"), cp1251(QStringLiteral("[Lines]\r\nLineCount=0\r\n")));
    QCOMPARE(cli({QStringLiteral("summary"), app.file(QStringLiteral("p.kbp")), QStringLiteral("--app-dir"), app.path()}, 3),
             QStringLiteral("Суммарное падение напряжения: 0%\n\n"));
}

void TstDamaged::emptyRegistry()
{
    TestAppDir app;
    app.writeFile(QStringLiteral("files.fls"), QByteArray());
    AppContext context(app.path());
    ScriptedPrompter p;
    QVERIFY(!MainWindow::runStartupCheck(context, p));
    // Every data file the registry should name is reported, and nothing is created in their place.
    QVERIFY(p.messages.size() >= 13);
    for (const auto &m : p.messages)
        QCOMPARE(m.title, QStringLiteral("Критическая ошибка"));
    QString err;
    cli({QStringLiteral("sections"), QStringLiteral("--app-dir"), app.path()}, 1, &err);
    QVERIFY(!err.isEmpty());
}

void TstDamaged::registryWithTooManyEntries()
{
    TestAppDir app;
    QByteArray bytes = app.readFile(QStringLiteral("files.fls"));
    for (int i = 0; i < 40; ++i)
        bytes += "\\extra" + QByteArray::number(i) + ".dat\r\n";
    app.writeFile(QStringLiteral("files.fls"), bytes);
    QCOMPARE(DataFiles::parseRegistry(QString::fromLatin1(bytes)).size(), DataFiles::SlotCount);
    AppContext context(app.path());
    ScriptedPrompter p;
    QVERIFY(MainWindow::runStartupCheck(context, p));
    QVERIFY(p.messages.isEmpty());
    QCOMPARE(DataFiles::dataFileName(app.path(), 13), QStringLiteral("\\kabinor.ini"));
    QCOMPARE(cli({QStringLiteral("sections"), QStringLiteral("--app-dir"), app.path()}, 0).isEmpty(), false);
}

void TstDamaged::tableWithMissingRows()
{
    TestAppDir app;
    const QString entry = DataFiles::dataFileName(app.path(), DataFiles::Table380Al).mid(1);
    QList<QByteArray> rows = app.readFile(entry).split('\n');
    app.writeFile(entry, rows.mid(0, 5).join('\n'));
    QString err;
    const QString out = cli({QStringLiteral("sections"), QStringLiteral("--app-dir"), app.path()}, 1, &err);
    QVERIFY2(err.contains(QStringLiteral("поврежден")) || err.contains(QStringLiteral("не найден")), qPrintable(err));
}

void TstDamaged::tableWithTextFields()
{
    TestAppDir app;
    const QString entry = DataFiles::dataFileName(app.path(), DataFiles::Table380Al).mid(1);
    QByteArray bytes = app.readFile(entry);
    bytes.replace("2.5,23", "2.5,много");
    app.writeFile(entry, bytes);
    QString err;
    cli({QStringLiteral("line"), QStringLiteral("--section"), QStringLiteral("2,5"), QStringLiteral("--length"),
         QStringLiteral("10"), QStringLiteral("--current"), QStringLiteral("5"), QStringLiteral("--app-dir"), app.path()},
        1, &err);
    QVERIFY2(err.contains(QStringLiteral("поврежден")), qPrintable(err));
}

namespace {

const QString kGood = QStringLiteral(
    "[TP]\r\nSTP=400\r\nHS=0\r\nMaterial=Алюминий\r\nLength=0,5\r\nSection=35\r\n"
    "[Lines]\r\nSubItemCount=9\r\nLineCount=2\r\n"
    "[Line1]\r\nLineName=Ввод\r\nChecked=True\r\nSubItem1=АВВГ\r\nSubItem2=4x16\r\nSubItem3=Алюминий\r\n"
    "SubItem4=50\r\nSubItem5=84,37\r\nSubItem6=25\r\nSubItem7=55,2\r\nSubItem8=0,56\r\nSubItem9=380\r\n"
    "[Line2]\r\nLineName=Щит\r\nChecked=True\r\nSubItem1=АВВГ\r\nSubItem2=4x16\r\nSubItem3=Алюминий\r\n"
    "SubItem4=50\r\nSubItem5=84,37\r\nSubItem6=25\r\nSubItem7=55,2\r\nSubItem8=1,5\r\nSubItem9=380\r\n"
    "[Shields]\r\nTab1=ЩО1\r\nTabsCount=1\r\nSubItemsCount=9\r\n[Loads1]\r\nLoadCount=1\r\n"
    "[Load11]\r\nLoadName=Насос\r\nSubItem1=10\r\nSubItem2=0,8\r\nSubItem3=0,7\r\nSubItem4=7\r\n"
    "SubItem5=8,75\r\nSubItem6=39,77\r\nSubItem7=B\r\nSubItem8=1\r\nSubItem9=1\r\n");

struct Opened {
    QStringList names; // line names the application shows
    QVector<ScriptedPrompter::Message> messages;
    QString cliOut;
    QString cliErr;
    int cliCode = -1;
};

// Opens the bytes as a project in the main window and with kabinor-cli summary.
Opened openBoth(const QByteArray &bytes)
{
    TestAppDir app;
    app.writeFile(QStringLiteral("kabinor.ini"), "[Startup]\r\nShowTips=0\r\nShowInTray=0\r\n");
    const QString path = app.file(QStringLiteral("damaged.kbp"));
    app.writeFile(QStringLiteral("damaged.kbp"), bytes);
    Opened o;
    {
        AppContext context(app.path());
        ScriptedPrompter p;
        MainWindow window(context, p);
        window.openProject(path);
        for (const CableLine &l : window.project().lines)
            o.names << l.name;
        o.messages = p.messages;
        // Whatever was read still saves and reopens.
        const QString copy = app.file(QStringLiteral("copy.kbp"));
        if (!ProjectFile::write(copy, window.project()))
            o.cliErr = QStringLiteral("<save failed>");
    }
    o.cliCode = runCli({QStringLiteral("summary"), path, QStringLiteral("--app-dir"), app.path()}, &o.cliOut, &o.cliErr);
    return o;
}

} // namespace

void TstDamaged::projectCountsNotNumbers()
{
    QString text = kGood;
    text.replace(QStringLiteral("LineCount=2"), QStringLiteral("LineCount=две"));
    text.replace(QStringLiteral("LoadCount=1"), QStringLiteral("LoadCount=x"));
    const Opened o = openBoth(cp1251(text));
    // The lines that are in the file still arrive, and the user is told.
    QCOMPARE(o.names, (QStringList{"Ввод", "Щит"}));
    QCOMPARE(o.messages.size(), 1);
    QVERIFY(o.messages.first().text.contains(QStringLiteral("поврежден")));
    QCOMPARE(o.cliCode, 3);
    QVERIFY(o.cliOut.startsWith(QStringLiteral("Суммарное падение напряжения: 2,06%")));
    QVERIFY(o.cliErr.contains(QStringLiteral("поврежден")));
}

void TstDamaged::projectHugeLineCountWithoutSections()
{
    QString text = kGood;
    text.replace(QStringLiteral("LineCount=2"), QStringLiteral("LineCount=100000"));
    const Opened o = openBoth(cp1251(text));
    QCOMPARE(o.names, (QStringList{"Ввод", "Щит"}));
    QCOMPARE(o.messages.size(), 1);
    QVERIFY(o.messages.first().text.contains(QStringLiteral("поврежден")));
    QCOMPARE(o.cliCode, 3);
    QVERIFY(o.cliErr.contains(QStringLiteral("поврежден")));
}

void TstDamaged::projectTruncated()
{
    const QByteArray whole = cp1251(kGood);
    const QByteArray cut = whole.left(whole.indexOf("SubItem5=84,37", whole.indexOf("[Line2]")));
    const Opened o = openBoth(cut);
    QCOMPARE(o.names.first(), QStringLiteral("Ввод"));
    QVERIFY(!o.messages.isEmpty());
    QVERIFY(o.messages.last().text.contains(QStringLiteral("поврежден")));
    QCOMPARE(o.cliCode, 3);
}

void TstDamaged::projectInUtf8()
{
    const Opened o = openBoth(kGood.toUtf8());
    QCOMPARE(o.names, (QStringList{"Ввод", "Щит"}));
    QVERIFY(o.messages.isEmpty());
    QCOMPARE(o.cliOut, QStringLiteral("Суммарное падение напряжения: 2,06%\n\n"));
    QCOMPARE(o.cliErr, QString());
}

void TstDamaged::projectBinaryGarbage()
{
    QByteArray garbage;
    for (int i = 0; i < 20000; ++i)
        garbage += char((i * 7919 + 13) % 256);
    const Opened o = openBoth(garbage);
    QVERIFY(o.names.isEmpty());
    QCOMPARE(o.cliCode, 3);
    QCOMPARE(o.cliOut.section(QLatin1Char('\n'), 0, 0), QStringLiteral("Суммарное падение напряжения: 0%"));
}

void TstDamaged::damagedProjectExitCode_data()
{
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<bool>("writesReport");
    QTest::newRow("summary") << QStringList{QStringLiteral("summary")} << false;
    QTest::newRow("kz") << QStringList{QStringLiteral("kz")} << false;
    QTest::newRow("faults") << QStringList{QStringLiteral("faults")} << false;
    QTest::newRow("protect") << QStringList{QStringLiteral("protect")} << false;
    QTest::newRow("currents") << QStringList{QStringLiteral("currents")} << false;
    QTest::newRow("shield") << QStringList{QStringLiteral("shield")} << false;
    QTest::newRow("report-kl") << QStringList{QStringLiteral("report-kl")} << true;
    QTest::newRow("report-kz") << QStringList{QStringLiteral("report-kz")} << true;
    QTest::newRow("report-loads") << QStringList{QStringLiteral("report-loads")} << true;
}

void TstDamaged::damagedProjectExitCode()
{
    QFETCH(QStringList, command);
    QFETCH(bool, writesReport);
    // Scripts tell a result on a damaged project from a sound one by exit code 3.
    QString text = kGood;
    text.replace(QStringLiteral("LineCount=2"), QStringLiteral("LineCount=две"));
    TestAppDir app;
    const QString path = app.file(QStringLiteral("damaged.kbp"));
    app.writeFile(QStringLiteral("damaged.kbp"), cp1251(text));
    const QString report = app.file(QStringLiteral("out.doc"));
    QStringList args = command;
    args << path;
    if (writesReport)
        args << report;
    args << QStringLiteral("--app-dir") << app.path();
    QString out, err;
    QCOMPARE(runCli(args, &out, &err), 3);
    QVERIFY(err.contains(QStringLiteral("поврежден")));
    QCOMPARE(QFileInfo::exists(report), writesReport);
    QVERIFY(!out.isEmpty());
    QCOMPARE(runCli({command.first(), QStringLiteral("--help")}, &out), 0);
    QVERIFY(out.contains(QStringLiteral("код выхода 3")));
    // The sound project gives 0.
    app.writeFile(QStringLiteral("damaged.kbp"), cp1251(kGood));
    QCOMPARE(runCli(writesReport ? args + QStringList{QStringLiteral("--force")} : args, &out, &err), 0);
}

void TstDamaged::unreadableSettingsAreNeverWrittenOver()
{
    TestAppDir app;
    // A settings file that is there but cannot be read: one too large to be
    // read stands for one without read permission (the tests may run as
    // root). No window may write over it what little it keeps itself.
    QFile settings(app.settingsPath());
    QVERIFY(settings.open(QIODevice::WriteOnly) && settings.write("[Startup]\r\nShowTips=0\r\n") > 0
            && settings.resize(TextFile::MaxFileSize + 1));
    settings.close();
    const QDateTime written = QFileInfo(settings).lastModified();
    AppContext context(app.path());
    ScriptedPrompter p;
    {
        MainWindow window(context, p);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        LightingWindow light(context, p, &window);
        light.show();
        light.close();

        OptionsDialog options(context, p, &window);
        options.show();
        options.findChild<QCheckBox *>(QStringLiteral("showTipsCheck"))->click();
        options.findChild<QPushButton *>(QStringLiteral("okButton"))->click();

        ShieldsWindow shields(context, p, window.project(), &window);
        shields.show();
        shields.findChild<QPushButton *>(QStringLiteral("closeButton"))->click();

        TipDialog tip(context, p, &window);
        tip.showAtStartupCheck->click();

        p.answers = {Prompter::Answer::No}; // the project is not saved
        window.close();
    }
    QCOMPARE(QFileInfo(settings).size(), TextFile::MaxFileSize + 1);
    QCOMPARE(QFileInfo(settings).lastModified(), written);
    // Told once, not by every window.
    QStringList told;
    for (const ScriptedPrompter::Message &m : std::as_const(p.messages))
        if (m.text.contains(QStringLiteral("настроек")))
            told << m.text;
    QCOMPARE(told.size(), 1);
    QVERIFY(told.first().startsWith(QStringLiteral("Не удалось прочитать файл настроек")));
}

QTEST_MAIN(TstDamaged)
#include "tst_damaged.moc"
