// kabinor-cli report-kl and report-kz on project files, the documents read back.
#include "ReportTestData.h"
#include "RtfReader.h"
#include "TestSupport.h"

#include <QDir>
#include <QtTest>

namespace {

QString lineSection(int i, const QString &name, bool checked, const QString &cores, const QString &length,
                    const QString &resistance, const QString &voltage)
{
    return QStringLiteral("[Line%1]\r\nLineName=%2\r\nChecked=%3\r\nSubItem1=ВВГ\r\nSubItem2=%4\r\nSubItem3=Медь\r\n"
                          "SubItem4=%5\r\nSubItem5=%6\r\nSubItem6=10\r\nSubItem7=25\r\nSubItem8=0,5\r\nSubItem9=%7\r\n")
        .arg(i)
        .arg(name, checked ? QStringLiteral("True") : QStringLiteral("False"), cores, length, resistance, voltage);
}

// Three three-phase points and a single-phase one, one line unchecked.
void writeProject(const TestAppDir &app, const QString &stp = QStringLiteral("400"))
{
    const QString text = QStringLiteral("[TP]\r\nSTP=%1\r\nHS=0\r\n[Lines]\r\nSubItemCount=9\r\nLineCount=5\r\n").arg(stp)
                         + lineSection(1, QStringLiteral("ТП - ЩР1"), true, QStringLiteral("3x95 + 1x50"), QStringLiteral("40"),
                                       QStringLiteral("7,49"), QStringLiteral("380"))
                         + lineSection(2, QStringLiteral("ЩР1 - ЩО1"), true, QStringLiteral("3x4"), QStringLiteral("30"),
                                       QStringLiteral("133,49"), QStringLiteral("220"))
                         + lineSection(3, QStringLiteral("резерв"), false, QStringLiteral("4x10"), QStringLiteral("80"),
                                       QStringLiteral("142,4"), QStringLiteral("380"))
                         + lineSection(4, QStringLiteral("ЩР1 - ЩР2"), true, QStringLiteral("4x25"), QStringLiteral("60"),
                                       QStringLiteral("42,72"), QStringLiteral("380"))
                         + lineSection(5, QStringLiteral("ЩР2 - двигатель"), true, QStringLiteral("4x6"), QStringLiteral("25"),
                                       QStringLiteral("74,17"), QStringLiteral("380"))
                         + QStringLiteral("[Shields]\r\nTab1=ЩО1\r\nTabsCount=1\r\nSubItemsCount=0\r\n[Loads1]\r\nLoadCount=0\r\n");
    app.writeFile(QStringLiteral("Дом.kbp"), cp1251(text));
}

QStringList args(const TestAppDir &app, const QStringList &rest)
{
    return rest + QStringList{QStringLiteral("--app-dir"), app.path()};
}

} // namespace

class TstCliReports : public QObject
{
    Q_OBJECT
private slots:
    void cableLineReport();
    void cableLineColumnsAndTitle();
    void overwriteOnlyWithForce();
    void shortCircuitReportMatchesWindow();
    void shortCircuitWithoutTransformer();
    void unwritableFolderAndUsage();
};

void TstCliReports::cableLineReport()
{
    TestAppDir app;
    writeProject(app);
    const QString out = app.file(QStringLiteral("kl.doc"));
    QString stdOut, stdErr;
    QCOMPARE(runCli(args(app, {QStringLiteral("report-kl"), app.file(QStringLiteral("Дом.kbp")), out}), &stdOut, &stdErr), 0);
    QCOMPARE(stdOut, QStringLiteral("Файл '") + QDir::toNativeSeparators(out) + QStringLiteral("' успешно сохранен.\n"));
    QCOMPARE(stdErr, QString());

    const RtfDocumentView v = readRtfFile(out);
    QVERIFY2(v.wellFormed, qPrintable(v.problem));
    QVERIFY(v.landscape);
    QCOMPARE(v.paragraphs.at(0).text, QStringLiteral("Дом"));
    QCOMPARE(v.paragraphs.at(1).text, QStringLiteral("ВЕДОМОСТЬ КАБЕЛЬНЫХ ЛИНИЙ"));
    const RtfTable &t = v.tables.first();
    QCOMPARE(t.rows.size(), 5);
    QCOMPARE(t.rows.first().size(), 10);
    QCOMPARE(rowTexts(t, 2), QStringList({QStringLiteral("ЩР1 - ЩО1"), QStringLiteral("ВВГ"), QStringLiteral("3x4"),
                                          QStringLiteral("Медь"), QStringLiteral("30"), QStringLiteral("133,49"),
                                          QStringLiteral("10"), QStringLiteral("25"), QStringLiteral("0,5"), QStringLiteral("220")}));
}

void TstCliReports::cableLineColumnsAndTitle()
{
    TestAppDir app;
    writeProject(app);
    const QString out = app.file(QStringLiteral("kl.doc"));
    QCOMPARE(runCli(args(app, {QStringLiteral("report-kl"), app.file(QStringLiteral("Дом.kbp")), out, QStringLiteral("--title"),
                               QStringLiteral("кабели"), QStringLiteral("--columns"), QStringLiteral("6,1")})),
             0);
    RtfDocumentView v = readRtfFile(out);
    QCOMPARE(v.paragraphs.at(1).text, QStringLiteral("КАБЕЛИ"));
    QCOMPARE(rowTexts(v.tables.first(), 0), QStringList({QStringLiteral("Кабельная линия"), QStringLiteral("Сопротивление, мОм")}));
    QCOMPARE(rowTexts(v.tables.first(), 4), QStringList({QStringLiteral("ЩР2 - двигатель"), QStringLiteral("74,17")}));

    // No column at all: the heading alone, still written.
    QCOMPARE(runCli(args(app, {QStringLiteral("report-kl"), app.file(QStringLiteral("Дом.kbp")), out, QStringLiteral("--force"),
                               QStringLiteral("--columns"), QString()})),
             0);
    v = readRtfFile(out);
    QVERIFY(v.wellFormed);
    QVERIFY(v.tables.isEmpty());
    QCOMPARE(v.paragraphs.at(1).text, QStringLiteral("ВЕДОМОСТЬ КАБЕЛЬНЫХ ЛИНИЙ"));
}

void TstCliReports::overwriteOnlyWithForce()
{
    TestAppDir app;
    writeProject(app);
    const QString out = app.file(QStringLiteral("kl.doc"));
    app.writeFile(QStringLiteral("kl.doc"), "old");
    QString stdOut, stdErr;
    QCOMPARE(runCli(args(app, {QStringLiteral("report-kl"), app.file(QStringLiteral("Дом.kbp")), out}), &stdOut, &stdErr), 1);
    QCOMPARE(stdErr, QStringLiteral("Файл ") + QDir::toNativeSeparators(out) + QStringLiteral(" уже существует!\r\nЗаменить?\n"));
    QCOMPARE(stdOut, QString());
    QCOMPARE(app.readFile(QStringLiteral("kl.doc")), QByteArray("old"));

    QCOMPARE(runCli(args(app, {QStringLiteral("report-kz"), app.file(QStringLiteral("Дом.kbp")), out})), 1);
    QCOMPARE(app.readFile(QStringLiteral("kl.doc")), QByteArray("old"));

    QCOMPARE(runCli(args(app, {QStringLiteral("report-kl"), app.file(QStringLiteral("Дом.kbp")), out, QStringLiteral("--force")})), 0);
    QVERIFY(readRtfFile(out).wellFormed);
}

// The last point of a three-phase path is what the short-circuit window
// computes for that path with its initial stage count.
void TstCliReports::shortCircuitReportMatchesWindow()
{
    TestAppDir app;
    writeProject(app);
    const QString out = app.file(QStringLiteral("kz.doc"));
    QString stdOut;
    QCOMPARE(runCli(args(app, {QStringLiteral("report-kz"), app.file(QStringLiteral("Дом.kbp")), out}), &stdOut), 0);
    QVERIFY(stdOut.contains(QStringLiteral("успешно сохранен.")));
    const RtfDocumentView v = readRtfFile(out);
    QVERIFY2(v.wellFormed, qPrintable(v.problem));
    QCOMPARE(v.paragraphs.at(0).text, QStringLiteral("Дом"));
    QCOMPARE(v.paragraphs.at(1).text, QStringLiteral("СВОДНАЯ ВЕДОМОСТЬ ТОКОВ КЗ"));
    const RtfTable &t = v.tables.first();
    QCOMPARE(t.rows.size(), 5);
    QCOMPARE(rowTexts(t, 2).mid(0, 4), QStringList({QStringLiteral("ЩР1 - ЩО1"), QStringLiteral("-"), QStringLiteral("-"),
                                                    QStringLiteral("-")}));

    // With the single-phase branch unchecked, every checked line is a stage of
    // the window's count as well.
    QByteArray bytes = app.readFile(QStringLiteral("Дом.kbp"));
    const QByteArray branch = cp1251(QStringLiteral("LineName=ЩР1 - ЩО1\r\nChecked=True"));
    QVERIFY(bytes.contains(branch));
    bytes.replace(branch, cp1251(QStringLiteral("LineName=ЩР1 - ЩО1\r\nChecked=False")));
    app.writeFile(QStringLiteral("Дом.kbp"), bytes);
    QString kzOut;
    QCOMPARE(runCli(args(app, {QStringLiteral("kz"), app.file(QStringLiteral("Дом.kbp"))}), &kzOut), 0);
    const QStringList kz = kzOut.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(kz.size(), 4);
    QCOMPARE(runCli(args(app, {QStringLiteral("report-kz"), app.file(QStringLiteral("Дом.kbp")), out, QStringLiteral("--force")})), 0);
    const RtfTable path = readRtfFile(out).tables.first();
    QCOMPARE(path.rows.size(), 4);
    const QStringList row = rowTexts(path, 3);
    QCOMPARE(row.at(0), QStringLiteral("ЩР2 - двигатель"));
    // Window order: Ik(3), Ik(2), Ik(1), iy, each "value<TAB>unit" in kA here.
    QCOMPARE(kz.at(0).section(QLatin1Char('\t'), 0, 0), row.at(2));
    QCOMPARE(kz.at(1).section(QLatin1Char('\t'), 0, 0), row.at(3));
    QCOMPARE(kz.at(2).section(QLatin1Char('\t'), 0, 0), row.at(4));
    QCOMPARE(kz.at(3).section(QLatin1Char('\t'), 0, 0), row.at(1));
}

void TstCliReports::shortCircuitWithoutTransformer()
{
    TestAppDir app;
    writeProject(app, QStringLiteral("0"));
    QString stdOut, stdErr;
    QCOMPARE(runCli(args(app, {QStringLiteral("report-kz"), app.file(QStringLiteral("Дом.kbp")), app.file(QStringLiteral("kz.doc"))}),
                    &stdOut, &stdErr),
             1);
    QCOMPARE(stdErr, QStringLiteral("Укажите мощность трансформатора и данные питающей линии!\n"));
    QVERIFY(!QFile::exists(app.file(QStringLiteral("kz.doc"))));
}

void TstCliReports::unwritableFolderAndUsage()
{
    TestAppDir app;
    writeProject(app);
    const QString out = app.file(QStringLiteral("no such folder/kl.doc"));
    QString stdOut, stdErr;
    QCOMPARE(runCli(args(app, {QStringLiteral("report-kl"), app.file(QStringLiteral("Дом.kbp")), out}), &stdOut, &stdErr), 1);
    QVERIFY(stdErr.startsWith(QStringLiteral("Не удалось сохранить отчет в файл '") + QDir::toNativeSeparators(out)));
    QCOMPARE(stdOut, QString());
    QVERIFY(!QFile::exists(out));

    for (const QStringList &bad : {QStringList{QStringLiteral("report-kl"), app.file(QStringLiteral("Дом.kbp"))},
                                   QStringList{QStringLiteral("report-kl"), app.file(QStringLiteral("Дом.kbp")),
                                               app.file(QStringLiteral("a.doc")), QStringLiteral("--columns"),
                                               QStringLiteral("1,14")},
                                   QStringList{QStringLiteral("report-kz"), app.file(QStringLiteral("Дом.kbp")),
                                               app.file(QStringLiteral("a.doc")), QStringLiteral("--title"), QStringLiteral("x")}})
        QCOMPARE(runCli(args(app, bad)), 2);
    QVERIFY(!QFile::exists(app.file(QStringLiteral("a.doc"))));
}

QTEST_GUILESS_MAIN(TstCliReports)
#include "tst_clireports.moc"
