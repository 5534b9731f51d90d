// kabinor-cli summary on project files, and the project file read back into lines.
#include "TestSupport.h"
#include "base/ProjectFile.h"
#include "base/TextFile.h"

#include <QtTest>

namespace {

QString lineSection(int i, const QString &name, bool checked, const QString &dU, const QString &ikab, const QString &idop)
{
    return QStringLiteral("[Line%1]\r\nLineName=%2\r\nChecked=%3\r\nSubItem1=ВВГ\r\nSubItem2=3x2,5\r\nSubItem3=Медь\r\n"
                          "SubItem4=100\r\nSubItem5=712\r\nSubItem6=%4\r\nSubItem7=%5\r\nSubItem8=%6\r\nSubItem9=380\r\n")
        .arg(i)
        .arg(name, checked ? QStringLiteral("True") : QStringLiteral("False"), ikab, idop, dU);
}

const QString kShields = QStringLiteral("[Shields]\r\nTab1=ЩО1\r\nTabsCount=1\r\nSubItemsCount=0\r\n[Loads1]\r\nLoadCount=0\r\n");

} // namespace

class TstCliSummary : public QObject
{
    Q_OBJECT
private slots:
    void summaryPanels();
    void summaryOptionsOverride();
    void summaryMissingFile();
    void usageErrors();
    void tenThousandLines();
};

void TstCliSummary::summaryPanels()
{
    TestAppDir app;
    const QString text = QStringLiteral("[TP]\r\nSTP=400\r\n[Lines]\r\nSubItemCount=9\r\nLineCount=3\r\n")
                         + lineSection(1, QStringLiteral("Линия №1"), true, QStringLiteral("1,5"), QStringLiteral("30"), QStringLiteral("25"))
                         + lineSection(2, QStringLiteral("Линия №2"), true, QStringLiteral("6,2"), QStringLiteral("10"), QStringLiteral("19"))
                         + lineSection(3, QStringLiteral("Линия №3"), false, QStringLiteral("9"), QStringLiteral("50"), QStringLiteral("19"))
                         + kShields;
    app.writeFile(QStringLiteral("p.kbp"), cp1251(text));
    QString out, err;
    QCOMPARE(runCli({QStringLiteral("summary"), app.file(QStringLiteral("p.kbp")), QStringLiteral("--app-dir"), app.path()}, &out, &err), 0);
    QCOMPARE(out, QStringLiteral("Суммарное падение напряжения: 7,7%\n"
                                 " Внимание: Ток нагрузки больше длительно допустимого тока на линии(ях): ''Линия №1'' "
                                 "Внимание: Cуммарные потери напряжения превышают 7,5%!\n"));
    QCOMPARE(err, QString());
}

void TstCliSummary::summaryOptionsOverride()
{
    TestAppDir app;
    const QString text = QStringLiteral("[TP]\r\nSTP=0\r\n[Lines]\r\nSubItemCount=9\r\nLineCount=1\r\n")
                         + lineSection(1, QStringLiteral("Л"), true, QStringLiteral("8"), QStringLiteral("1"), QStringLiteral("2")) + kShields;
    app.writeFile(QStringLiteral("p.kbp"), cp1251(text));
    // The limit comes from the settings file, and --dumax overrides it for one run.
    app.writeFile(QStringLiteral("kabinor.ini"), cp1251(QStringLiteral("[Calculation]\r\ndUmax=10\r\n")));
    QString out;
    QCOMPARE(runCli({QStringLiteral("summary"), app.file(QStringLiteral("p.kbp")), QStringLiteral("--app-dir"), app.path()}, &out), 0);
    QCOMPARE(out, QStringLiteral("Суммарное падение напряжения: 8%\n\n"));
    // A file without its transformer and shield sections is read as far as it goes, with a warning.
    app.writeFile(QStringLiteral("bare.kbp"), cp1251(QStringLiteral("[Lines]\r\nSubItemCount=9\r\nLineCount=1\r\n")
                                                     + lineSection(1, QStringLiteral("Л"), true, QStringLiteral("8"),
                                                                   QStringLiteral("1"), QStringLiteral("2"))));
    QString err;
    QCOMPARE(runCli({QStringLiteral("summary"), app.file(QStringLiteral("bare.kbp")), QStringLiteral("--app-dir"), app.path()}, &out, &err), 3);
    QCOMPARE(out, QStringLiteral("Суммарное падение напряжения: 8%\n\n"));
    QVERIFY(err.contains(QStringLiteral("поврежден")));
    QCOMPARE(runCli({QStringLiteral("summary"), app.file(QStringLiteral("p.kbp")), QStringLiteral("--app-dir"), app.path(),
                     QStringLiteral("--dumax"), QStringLiteral("7,5")},
                    &out),
             0);
    QCOMPARE(out, QStringLiteral("Суммарное падение напряжения: 8%\nВнимание: Cуммарные потери напряжения превышают 7,5%!\n"));
}

void TstCliSummary::summaryMissingFile()
{
    TestAppDir app;
    QString out, err;
    const QString path = app.file(QStringLiteral("нет.kbp"));
    QCOMPARE(runCli({QStringLiteral("summary"), path, QStringLiteral("--app-dir"), app.path()}, &out, &err), 1);
    QCOMPARE(err, QStringLiteral("Файл '") + path + QStringLiteral("' не найден!\n"));
    QCOMPARE(out, QString());
    // A folder is said to be one.
    QCOMPARE(runCli({QStringLiteral("summary"), app.path(), QStringLiteral("--app-dir"), app.path()}, &out, &err), 1);
    QCOMPARE(err, QStringLiteral("'") + app.path() + QStringLiteral("' - это папка, а не файл проекта!\n"));
}

void TstCliSummary::usageErrors()
{
    TestAppDir app;
    QString err;
    QCOMPARE(runCli({QStringLiteral("summary"), QStringLiteral("--app-dir"), app.path()}, nullptr, &err), 2);
    QVERIFY(err.startsWith(QStringLiteral("Использование: kabinor-cli summary")));
    QCOMPARE(runCli({QStringLiteral("no-such-command")}, nullptr, &err), 2);
    QCOMPARE(runCli({QStringLiteral("summary"), QStringLiteral("x.kbp"), QStringLiteral("--bogus"), QStringLiteral("1")}, nullptr, &err), 2);
    // Of several unknown options the first given is named.
    QStringList unknown{QStringLiteral("summary"), QStringLiteral("x.kbp")};
    for (const char *name : {"zulu", "alpha", "kilo", "bravo", "yankee", "charlie", "x-ray", "delta", "whiskey", "echo",
                             "victor", "foxtrot", "uniform", "golf", "tango", "hotel"})
        unknown << QStringLiteral("--") + QLatin1String(name) << QStringLiteral("1");
    QCOMPARE(runCli(unknown, nullptr, &err), 2);
    QVERIFY2(err.endsWith(QStringLiteral("неизвестный параметр --zulu\n")), qPrintable(err));
    QString out;
    QCOMPARE(runCli({QStringLiteral("--help")}, &out), 0);
    // Russian, as the rest of the program; the command names and options as they are.
    QVERIFY(out.contains(QStringLiteral("Использование: kabinor-cli КОМАНДА [ПАРАМЕТРЫ]")));
    QVERIFY(out.contains(QStringLiteral("summary ПРОЕКТ.kbp")));
    QVERIFY(out.contains(QStringLiteral("  --tolerance N     количество знаков после запятой в результатах")));
}

void TstCliSummary::tenThousandLines()
{
    // A large project is read in one pass; every line and its check mark arrive.
    Project p;
    for (int i = 0; i < 10000; ++i) {
        CableLine l;
        l.name = QStringLiteral("Линия №%1").arg(i + 1);
        l.cells = QStringList{QStringLiteral("АВВГ"), QStringLiteral("4x16"), QStringLiteral("Алюминий"), QStringLiteral("50"),
                              QStringLiteral("84,37"), QStringLiteral("25"), QStringLiteral("60"), QStringLiteral("0,001"),
                              QStringLiteral("380")};
        l.checked = i % 2 == 0;
        l.place.id = i + 1;
        p.lines << l;
    }
    TestAppDir app;
    const QString path = app.file(QStringLiteral("big.kbp"));
    QVERIFY(ProjectFile::write(path, p));
    Project back;
    QVERIFY(ProjectFile::read(path, back).opened);
    QCOMPARE(back.lines, p.lines);
    QString out;
    QCOMPARE(runCli({QStringLiteral("summary"), path, QStringLiteral("--app-dir"), app.path()}, &out), 0);
    QCOMPARE(out, QStringLiteral("Суммарное падение напряжения: 5%\n\n"));
}

QTEST_GUILESS_MAIN(TstCliSummary)
#include "tst_clisummary.moc"
