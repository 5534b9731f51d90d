// kabinor-cli report-kl, report-kz and report-loads on project files, and the
// schedules of the windows written the same way; the documents read back: the
// Word documents by their cells, the PDF files as text extracted by poppler's
// pdftotext.
#include "ReportTestData.h"
#include "RtfReader.h"
#include "TestSupport.h"
#include "base/NumberText.h"
#include "base/ProjectFile.h"
#include "base/AppContext.h"
#include "calc/loads/LoadCalc.h"
#include "calc/network/NetworkCalc.h"
#include "docs/schedules/FaultCurrentsReport.h"
#include "docs/schedules/ProtectionReport.h"
#include "docs/writers/ReportPages.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
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

// A project long enough for several pages: 60 lines, two of every three
// checked, every fifth with its load's power factor, its reactance and a
// breaker, and three shields, one without loads.
Project longProject()
{
    Project p;
    p.projectName = QStringLiteral("Длинный");
    p.transformerPower = QStringLiteral("400");
    for (int i = 1; i <= 60; ++i) {
        p.lines << reportLine(QStringLiteral("Линия %1").arg(i), i % 3 != 0, i % 2 ? QStringLiteral("4x16") : QStringLiteral("2x4"),
                              NumberText::format(0.37 * i + 5), i % 2 ? QStringLiteral("380") : QStringLiteral("220"),
                              QString::number(10 + i));
        if (i % 5 == 0) {
            LineInputs in;
            in.cosPhi = QStringLiteral("0,9");
            in.reactance = NumberText::format(0.08 * (10 + i));
            in.device = QStringLiteral("C");
            in.deviceRating = QStringLiteral("25");
            p.lines.last().inputs = in;
        }
    }
    const auto load = [](const QString &name, const QString &power, bool three, const QString &phase) {
        return LoadCalc::computeLoad(LoadCalc::LoadInput{name, power, QStringLiteral("0,85"), QStringLiteral("0,7"), three,
                                                         phase, three ? QStringLiteral("0,9") : QStringLiteral("1")},
                                     2);
    };
    p.shields = {Shield{QStringLiteral("ЩО1"), {load(QStringLiteral("Освещение лестниц"), QStringLiteral("2,4"), false, QStringLiteral("A")),
                                                load(QStringLiteral("Розетки"), QStringLiteral("3"), false, QStringLiteral("C"))}},
                 Shield{QStringLiteral("ЩР-2"), {load(QStringLiteral("Насос"), QStringLiteral("7,5"), true, QString())}},
                 Shield{QStringLiteral("ЩС"), {}}};
    return p;
}

void writeLongProject(const TestAppDir &app)
{
    QVERIFY(ProjectFile::write(app.file(QStringLiteral("Длинный.kbp")), longProject()));
}

// The schedules the windows write, which have no command of their own:
// written in-process, as the windows write them.
bool writeWindowSchedule(const TestAppDir &app, const QString &which, const QString &path)
{
    const Project p = longProject();
    AppContext context(app.path());
    ScriptedPrompter prompter;
    ReportWriter writer(prompter, app.path());
    const int places = context.calc.places();
    if (which == QLatin1String("faults")) {
        const auto result = Network::faultCurrentsOf(p, context, nullptr);
        return result && result->problems.isEmpty()
               && writer.save(path, p.projectName, FaultCurrentsReport::title(),
                              [&] { return FaultCurrentsReport::build(*result, places); });
    }
    const auto result = ProtectionReport::checkProject(p, context, nullptr);
    return result && result->problems.isEmpty()
           && writer.save(path, p.projectName, ProtectionReport::title(),
                          [&] { return ProtectionReport::build(*result, places); });
}

// Blanks of any kind (a wrapped cell breaks its text over lines) as one space.
QString simplified(const QString &text)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return QString(text).replace(blanks, QStringLiteral(" ")).trimmed();
}

// The texts of a PDF file in the order they are drawn, one entry per page.
QStringList pdfPages(const QString &path)
{
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), path,
                                             QStringLiteral("-")});
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(tool.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

} // namespace

class TstCliReports : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { ReportPages::install(); }
    void cableLineReport();
    void cableLineColumnsAndTitle();
    void overwriteOnlyWithForce();
    void shortCircuitReportMatchesWindow();
    void shortCircuitWithoutTransformer();
    void unwritableFolderAndUsage();
    void everyScheduleAsWordAndPdf_data();
    void everyScheduleAsWordAndPdf();
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
    QCOMPARE(t.rows.size(), 6); // the heading, four checked lines, the total
    QCOMPARE(t.rows.first().size(), 10);
    QCOMPARE(rowTexts(t, 2), QStringList({QStringLiteral("ЩР1 - ЩО1"), QStringLiteral("ВВГ"), QStringLiteral("3x4"),
                                          QStringLiteral("Медь"), QStringLiteral("30,00"), QStringLiteral("133,49"),
                                          QStringLiteral("10,00"), QStringLiteral("25,00"), QStringLiteral("0,50"),
                                          QStringLiteral("220")}));
    QCOMPARE(rowTexts(t, 5).at(8), QStringLiteral("2,00"));
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
    // Window order: Ik(3), Ik(2), Ik(1), iy, each "value<TAB>unit" in kA here;
    // the schedule shows every decimal place.
    const auto shown = [&kz](int k) {
        return NumberText::formatFixed(NumberText::toDouble(kz.at(k).section(QLatin1Char('\t'), 0, 0)), 2);
    };
    QCOMPARE(shown(0), row.at(2));
    QCOMPARE(shown(1), row.at(3));
    QCOMPARE(shown(2), row.at(4));
    QCOMPARE(shown(3), row.at(1));
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

void TstCliReports::everyScheduleAsWordAndPdf_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("tables");
    QTest::newRow("cable lines") << "report-kl" << QStringList() << "ВЕДОМОСТЬ КАБЕЛЬНЫХ ЛИНИЙ" << 1;
    QTest::newRow("cable lines, kept inputs and devices")
        << "report-kl" << QStringList{"--columns", "1,9,11,12,13"} << "ВЕДОМОСТЬ КАБЕЛЬНЫХ ЛИНИЙ" << 1;
    QTest::newRow("short circuit") << "report-kz" << QStringList() << "СВОДНАЯ ВЕДОМОСТЬ ТОКОВ КЗ" << 1;
    QTest::newRow("loads") << "report-loads" << QStringList() << "РАСЧЕТНАЯ НАГРУЗКА ЩИТОВ" << 3;
    QTest::newRow("ГОСТ 28249-93 currents") << "faults" << QStringList() << "ВЕДОМОСТЬ ТОКОВ КЗ (ГОСТ 28249-93)" << 1;
    QTest::newRow("protective devices") << "protection" << QStringList() << "ВЕДОМОСТЬ ЗАЩИТНЫХ АППАРАТОВ" << 1;
}

// The same schedule written as .doc and as .pdf: every cell of the Word
// document is in the PDF, in the same order; the PDF is landscape A4, says
// "Лист N из M" on each page and repeats the table's heading on the pages
// a table goes on to.
void TstCliReports::everyScheduleAsWordAndPdf()
{
    QFETCH(QString, command);
    QFETCH(QStringList, options);
    QFETCH(QString, title);
    QFETCH(int, tables);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed; ./test installs it");
    TestAppDir app;
    writeLongProject(app);
    const QString project = app.file(QStringLiteral("Длинный.kbp"));
    const QString doc = app.file(QStringLiteral("отчет.doc"));
    const QString pdf = app.file(QStringLiteral("отчет.pdf"));
    for (const QString &out : {doc, pdf}) {
        if (!command.startsWith(QLatin1String("report-"))) {
            QVERIFY(writeWindowSchedule(app, command, out));
            continue;
        }
        QString stdOut, stdErr;
        QCOMPARE(runCli(args(app, QStringList{command, project, out} + options), &stdOut, &stdErr), 0);
        QCOMPARE(stdOut, QStringLiteral("Файл '") + QDir::toNativeSeparators(out) + QStringLiteral("' успешно сохранен.\n"));
        QCOMPARE(stdErr, QString());
    }
    QVERIFY(app.readFile(QStringLiteral("отчет.pdf")).startsWith("%PDF-"));

    const RtfDocumentView word = readRtfFile(doc);
    QVERIFY2(word.wellFormed, qPrintable(word.problem));
    QCOMPARE(word.tables.size(), tables);
    // What the lines keep beyond the list: cos φ, the reactance (0,08 · 15 mOhm)
    // and the breaker, numbers with their places.
    if (!options.isEmpty())
        QCOMPARE(rowTexts(word.tables.first(), 4), QStringList({"Линия 5", "0,50", "0,90", "1,20", "C25"}));
    const QStringList pages = pdfPages(pdf);
    QVERIFY(!pages.isEmpty());
    const QString all = simplified(pages.join(QLatin1Char(' ')));

    // The heading lines, then every cell, found one after the other.
    QStringList expected{QStringLiteral("Длинный"), title};
    for (int k = 0; k < word.tables.size(); ++k) {
        if (tables > 1)
            expected << word.paragraphs.at(word.tables.at(k).paragraphsBefore - 1).text; // the caption
        for (int r = 0; r < word.tables.at(k).rows.size(); ++r)
            expected << rowTexts(word.tables.at(k), r);
    }
    qsizetype at = 0;
    int cells = 0;
    for (const QString &text : std::as_const(expected)) {
        const QString wanted = simplified(text);
        if (wanted.isEmpty())
            continue;
        const qsizetype found = all.indexOf(wanted, at);
        QVERIFY2(found >= 0, qPrintable(QStringLiteral("'%1' is missing after position %2").arg(wanted).arg(at)));
        at = found + wanted.size();
        ++cells;
    }
    QVERIFY(cells > 10);

    // Page numbers, and the heading row again on every page a table goes on to.
    const QStringList heading = rowTexts(word.tables.first(), 0);
    for (int p = 0; p < pages.size(); ++p) {
        const QString page = simplified(pages.at(p));
        QVERIFY2(page.endsWith(QStringLiteral("Лист %1 из %2").arg(p + 1).arg(pages.size())), qPrintable(page.right(40)));
        if (p > 0 && tables == 1)
            QVERIFY2(page.contains(simplified(heading.join(QLatin1Char(' ')))), qPrintable(page.left(200)));
    }
    if (command == QLatin1String("report-kl"))
        QVERIFY(pages.size() >= 2);

    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY(info.waitForFinished(60000));
    QVERIFY(QString::fromUtf8(info.readAllStandardOutput()).contains(QStringLiteral("842 x 595 pts (A4)")));
}

QTEST_MAIN(TstCliReports)
#include "tst_clireports.moc"
