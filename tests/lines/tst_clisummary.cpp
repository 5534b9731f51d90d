// kabinor-cli summary on project files, the project file read back into
// lines, and the stored inputs of lines checked as the line dialog checks them.
#include "TestSupport.h"
#include "base/AppContext.h"
#include "base/ProjectFile.h"
#include "base/TextFile.h"
#include "calc/lines/LineEntry.h"
#include "calc/lines/ProjectCheck.h"

#include <QtTest>

namespace {

QString lineSection(int i, const QString &name, bool checked, const QString &dU, const QString &ikab, const QString &idop)
{
    return QStringLiteral("[Line%1]\r\nLineName=%2\r\nChecked=%3\r\nSubItem1=ВВГ\r\nSubItem2=3x2,5\r\nSubItem3=Медь\r\n"
                          "SubItem4=100\r\nSubItem5=712\r\nSubItem6=%4\r\nSubItem7=%5\r\nSubItem8=%6\r\nSubItem9=380\r\n")
        .arg(i)
        .arg(name, checked ? QStringLiteral("True") : QStringLiteral("False"), ikab, idop, dU);
}

// A copper four-core line of 50 m for 40 A kept with its dialog inputs
// (ВВГ 4x16, three-phase in air, C40), `key` given `text` instead.
QString storedLineProject(const QString &key = QString(), const QString &text = QString())
{
    QStringList keys = {"Network=380", "Construction=3", "Laying=0", "Material=Медь", "Neutral=0", "NeutralSection=",
                        "Mark=ВВГ", "LoadCurrent=40", "CosPhi=1", "Reactance=3,38", "Ambient=", "Cables=1",
                        "Spacing=100", "Device=C", "DeviceRating=40", "TripTime="};
    for (QString &k : keys)
        if (!key.isEmpty() && k.startsWith(key + QLatin1Char('=')))
            k = key + QLatin1Char('=') + text;
    return QStringLiteral("[TP]\r\nSTP=400\r\n[Lines]\r\nSubItemCount=9\r\nLineCount=1\r\n[Line1]\r\nLineName=Ввод\r\n"
                          "Checked=True\r\nSubItem1=ВВГ\r\nSubItem2=4x16\r\nSubItem3=Медь\r\nSubItem4=50\r\n"
                          "SubItem5=55,62\r\nSubItem6=40\r\nSubItem7=69\r\nSubItem8=1,01\r\nSubItem9=380\r\n")
           + keys.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n[Shields]\r\nTab1=ЩО1\r\nTabsCount=1\r\n");
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
    void damagedStoredInput_data();
    void damagedStoredInput();
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

void TstCliSummary::damagedStoredInput_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("recomputed"); // the recompute does without the key
    // A Latin "M": the line would be recomputed as aluminium.
    QTest::newRow("material") << "Material" << QStringLiteral("Mедь") << false;
    // The dialog's own rules: cos φ at most 1 (1,5 gave a drop of 0), the
    // ambient below 65 °C (80 °C dropped the temperature factor).
    QTest::newRow("cos phi above 1") << "CosPhi" << QStringLiteral("1,5") << false;
    QTest::newRow("ambient 80") << "Ambient" << QStringLiteral("80") << false;
    // Cables=0 used to drop every input of the line.
    QTest::newRow("no cables") << "Cables" << QStringLiteral("0") << false;
    QTest::newRow("spacing not in the list") << "Spacing" << QStringLiteral("150") << false;
    QTest::newRow("construction past the list") << "Construction" << QStringLiteral("7") << false;
    QTest::newRow("load current no number") << "LoadCurrent" << QStringLiteral("много") << false;
    // Not needed to compute the line: it is recomputed, the damage kept.
    QTest::newRow("trip time 0") << "TripTime" << QStringLiteral("0") << true;
    QTest::newRow("device rating no number") << "DeviceRating" << QStringLiteral("1e309") << true;
    QTest::newRow("reactance negative") << "Reactance" << QStringLiteral("-3") << true;
}

void TstCliSummary::damagedStoredInput()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(bool, recomputed);
    TestAppDir app;
    Project project;
    const ProjectFile::ReadResult r = ProjectCheck::readText(storedLineProject(key, text), project);
    // Told once, naming the line and the key; the line keeps every other input.
    QVERIFY(r.damaged);
    QCOMPARE(r.problems.size(), 1);
    QVERIFY2(r.problems.first().contains(key + QStringLiteral(" в линии «Ввод»")), qPrintable(r.problems.first()));
    QCOMPARE(project.lines.size(), 1);
    QVERIFY(project.lines.first().inputs);
    QCOMPARE(project.lines.first().inputs->damagedKeys(), QStringList{key});
    QCOMPARE(project.lines.first().inputs->device.value, QStringLiteral("C"));
    // A save writes the text back as it was, never another valid value.
    QVERIFY(ProjectFile::toText(project).contains(QStringLiteral("\r\n") + key + QLatin1Char('=') + text + QStringLiteral("\r\n")));

    // "Пересчитать все линии" leaves a line whose input it needs as it was, and names it.
    const CableLine before = project.lines.first();
    const LineEntry::RecomputeResult result = LineEntry::recomputeLines(project.lines, app.path(), CalcValues());
    QCOMPARE(result.skipped.isEmpty(), recomputed);
    if (!recomputed) {
        QCOMPARE(project.lines.first(), before);
        QVERIFY(LineEntry::recomputeMessage(result).contains(QStringLiteral("«Ввод»")));
    } else {
        // The reactance is computed anew; what the recompute only passes on stays as it was.
        QCOMPARE(project.lines.first().cell(CableLine::Material), QStringLiteral("Медь"));
        QCOMPARE(project.lines.first().inputs->damagedKeys(), key == QLatin1String("Reactance") ? QStringList() : QStringList{key});
    }

    // The commands tell it and exit 3.
    app.writeFile(QStringLiteral("p.kbp"), cp1251(storedLineProject(key, text)));
    QString out, err;
    QCOMPARE(runCli({QStringLiteral("summary"), app.file(QStringLiteral("p.kbp")), QStringLiteral("--app-dir"), app.path()}, &out, &err),
             3);
    QVERIFY(err.contains(r.problems.first()));

    // The same line sound: nothing told, recomputed to what it shows (the
    // reactance of 16 mm² copper from the data file: 0,0675 mΩ/m × 50 m).
    Project sound;
    QVERIFY(!ProjectCheck::readText(storedLineProject(), sound).damaged);
    const CableLine kept = sound.lines.first();
    const LineEntry::RecomputeResult again = LineEntry::recomputeLines(sound.lines, app.path(), CalcValues());
    QVERIFY(again.skipped.isEmpty());
    QCOMPARE(sound.lines.first().cells, kept.cells);
}

QTEST_GUILESS_MAIN(TstCliSummary)
#include "tst_clisummary.moc"
