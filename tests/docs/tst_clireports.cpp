// kabinor-cli report-kl, report-kz, report-loads, report-lighting, report-journal and the others on project files, and the
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
#include "docs/schedules/CableLineReport.h"
#include "docs/writers/ReportPages.h"
#include "docs/writers/ReportWriter.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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

const ProjectProperties kProperties{QStringLiteral("ООО «Сеть»"),     QStringLiteral("Жилой дом № 5"),
                                   QStringLiteral("2024-15-ЭМ"),      QStringLiteral("Р"),
                                   QStringLiteral("Иванов"),          QStringLiteral("Петров"),
                                   QStringLiteral("Сидорова"),        QStringLiteral("Кузнецов"),
                                   QStringLiteral("03.24")};

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
            p.lines.last().inputs = storedInputs({{"CosPhi", QStringLiteral("0,9")},
                                                  {"Reactance", NumberText::format(0.08 * (10 + i))},
                                                  {"Device", QStringLiteral("C")},
                                                  {"DeviceRating", QStringLiteral("25")}});
        }
    }
    const auto load = [](const QString &name, const QString &power, bool three, const QString &phase) {
        return LoadCalc::computeLoad(LoadCalc::LoadInput{name, power, QStringLiteral("0,85"), QStringLiteral("0,7"), three,
                                                         phase, three ? QStringLiteral("0,9") : QStringLiteral("1")},
                                     2);
    };
    p.shields = {Shield{QStringLiteral("ЩО1"), {load(QStringLiteral("Освещение лестниц"), QStringLiteral("2,4"), false, QStringLiteral("A")),
                                                load(QStringLiteral("Розетки"), QStringLiteral("3"), false, QStringLiteral("C"))}},
                 Shield{QStringLiteral("ЩС-1"), {}},
                 Shield{QStringLiteral("ЩР-2"), {load(QStringLiteral("Насос"), QStringLiteral("7,5"), true, QString())}},
                 Shield{QStringLiteral("ЩС"), {}}};
    // Rooms with incandescent lamps in luminaires У-15, one of them refused.
    for (int i = 1; i <= 12; ++i) {
        LightingRoom room;
        room.id = i;
        room.name = i == 1 ? QStringLiteral("Зал") : QStringLiteral("Помещение %1").arg(i);
        room.length = i == 1 ? QStringLiteral("24") : NumberText::format(4 + i);
        room.width = i == 1 ? QStringLiteral("12") : QStringLiteral("6");
        room.height = i == 1 ? QStringLiteral("6") : QStringLiteral("3");
        room.ceiling = i == 7 ? QStringLiteral("95") : QStringLiteral("70");
        room.illuminance = QStringLiteral("300");
        room.maintenance = QStringLiteral("1,4");
        room.uniformity = QStringLiteral("1");
        room.curve = QStringLiteral("У-15");
        room.led = false;
        room.flux = QStringLiteral("2920");
        room.power = QStringLiteral("200");
        p.rooms << room;
    }
    // A shield longer than a page.
    for (int k = 1; k <= 40; ++k)
        p.shields[1].loads << load(QStringLiteral("Розетки %1").arg(k), NumberText::format(0.5 * k), false,
                                   QString(QChar(u"ABC"[k % 3])));
    p.properties = kProperties;
    return p;
}

void writeLongProject(const TestAppDir &app)
{
    QVERIFY(ProjectFile::write(app.file(QStringLiteral("Длинный.kbp")), longProject()));
}

// Blanks of any kind (a wrapped cell breaks its text over lines) as one space.
QString simplified(const QString &text)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return QString(text).replace(blanks, QStringLiteral(" ")).trimmed();
}

// The texts of a PDF file in the order they are drawn, one entry per page.
// A workbook read back by openpyxl: per worksheet its name, page set-up,
// frozen cell, printed title rows, and every cell's value, type, number
// format, weight, colour and wrapping.
const char *const kReadWorkbook = R"(
import json, sys, openpyxl
book = openpyxl.load_workbook(sys.argv[1])
sheets = []
for ws in book.worksheets:
    rows = []
    for row in ws.iter_rows():
        cells = []
        for c in row:
            colour = c.font.color.rgb if c.font.color is not None and isinstance(c.font.color.rgb, str) else ''
            cells.append({'value': c.value, 'type': type(c.value).__name__, 'format': c.number_format,
                          'bold': bool(c.font.b), 'colour': colour, 'wrap': bool(c.alignment.wrap_text)})
        rows.append(cells)
    setup = ws.page_setup
    sheets.append({'name': ws.title, 'freeze': ws.freeze_panes or '', 'titles': ws.print_title_rows or '',
                   'orientation': setup.orientation or '', 'paper': int(setup.paperSize or 0),
                   'fitToPage': bool(ws.sheet_properties.pageSetUpPr.fitToPage),
                   'fitToWidth': int(setup.fitToWidth if setup.fitToWidth is not None else 1),
                   'fitToHeight': int(setup.fitToHeight if setup.fitToHeight is not None else 1),
                   'footer': (ws.oddFooter.left.text or '') + '|' + (ws.oddFooter.right.text or ''),
                   'widths': [ws.column_dimensions[openpyxl.utils.get_column_letter(k + 1)].width
                              for k in range(ws.max_column)],
                   'rows': rows})
print(json.dumps(sheets))
)";

// The system's interpreter, which the Debian package python3-openpyxl
// serves, before any other on the path.
QString python()
{
    const QString system = QStandardPaths::findExecutable(QStringLiteral("python3"), {QStringLiteral("/usr/bin")});
    return system.isEmpty() ? QStringLiteral("python3") : system;
}

QJsonArray readWorkbook(const QString &path)
{
    QProcess tool;
    tool.start(python(), {QStringLiteral("-c"), QString::fromUtf8(kReadWorkbook), path});
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0) {
        qWarning("%s", tool.readAllStandardError().constData());
        return {};
    }
    return QJsonDocument::fromJson(tool.readAllStandardOutput()).array();
}

bool haveOpenpyxl()
{
    QProcess tool;
    tool.start(python(), {QStringLiteral("-c"), QStringLiteral("import openpyxl")});
    return tool.waitForFinished(60000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

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
    void outputNeverTheProjectNorAnotherFormat_data();
    void outputNeverTheProjectNorAnotherFormat();
    void storedNumbersThatAreNoValues();
    void longCellCarriedOverPages();
    void longNameKeepsNumberColumnsWhole();
    void everyScheduleInEveryFormat_data();
    void everyScheduleInEveryFormat();
    void newCommandsRefuseAsTheirWindows();
    void failingCellsStandOut();
    void cableJournalFollowsTheNetwork();
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
                                          QStringLiteral("Медь"), QStringLiteral("30"), QStringLiteral("133,49"),
                                          QStringLiteral("10"), QStringLiteral("25,00"), QStringLiteral("0,50"),
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
    QCOMPARE(v.paragraphs.at(1).text, QStringLiteral("СВОДНАЯ ВЕДОМОСТЬ ТОКОВ КЗ (УПРОЩЕННЫЙ МЕТОД)"));
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

void TstCliReports::outputNeverTheProjectNorAnotherFormat_data()
{
    QTest::addColumn<QString>("output"); // relative to the application folder
    QTest::addColumn<QString>("said");
    QTest::newRow("the project itself") << "Дом.kbp" << "в файл проекта";
    QTest::newRow("the project by another path") << "./Дом.kbp" << "в файл проекта";
    QTest::newRow("text file") << "Дом.txt" << ".doc (документ Word), .pdf или .xlsx";
    QTest::newRow("no extension") << "Дом" << ".doc (документ Word), .pdf или .xlsx";
}

void TstCliReports::outputNeverTheProjectNorAnotherFormat()
{
    QFETCH(QString, output);
    QFETCH(QString, said);
    TestAppDir app;
    writeProject(app);
    const QByteArray project = app.readFile(QStringLiteral("Дом.kbp"));
    for (const char *command : {"report-kl", "report-kz", "report-loads"}) {
        QString out, err;
        QCOMPARE(runCli(args(app, {QString::fromLatin1(command), app.file(QStringLiteral("Дом.kbp")),
                                   app.path() + QLatin1Char('/') + output, QStringLiteral("--force")}),
                        &out, &err),
                 1);
        QVERIFY2(err.contains(said), qPrintable(err));
    }
    QCOMPARE(app.readFile(QStringLiteral("Дом.kbp")), project);
    QVERIFY(!QFile::exists(app.file(QStringLiteral("Дом.txt"))) && !QFile::exists(app.file(QStringLiteral("Дом"))));
}

// Numbers kept with a line that are no sound values are told (exit 3) and
// shown as "-"; a total past the range of numbers is shown as such.
void TstCliReports::storedNumbersThatAreNoValues()
{
    TestAppDir app;
    Project p;
    p.transformerPower = QStringLiteral("400");
    p.lines << reportLine(QStringLiteral("Л1"), true, QStringLiteral("4x16"), QStringLiteral("55,62"), QStringLiteral("380"),
                          QStringLiteral("50"))
            << reportLine(QStringLiteral("Л2"), true, QStringLiteral("4x16"), QStringLiteral("55,62"), QStringLiteral("380"),
                          QStringLiteral("50"));
    p.lines[0].inputs = storedInputs({{"CosPhi", QStringLiteral("nan")}, {"Reactance", QStringLiteral("1e309")},
                                      {"Device", QStringLiteral("C")}, {"DeviceRating", QStringLiteral("0")}});
    p.lines[1].inputs = storedInputs({{"CosPhi", QStringLiteral("0,9")}, {"Reactance", QStringLiteral("inf")}});
    p.lines[0].cells[CableLine::VoltageDrop] = p.lines[1].cells[CableLine::VoltageDrop] = QStringLiteral("1E+308");
    p.lines[1].cells[CableLine::Length] = QStringLiteral("-50");
    QVERIFY(ProjectFile::write(app.file(QStringLiteral("p.kbp")), p));
    const QString doc = app.file(QStringLiteral("p.doc"));
    QString err;
    QCOMPARE(runCli(args(app, {QStringLiteral("report-kl"), app.file(QStringLiteral("p.kbp")), doc, QStringLiteral("--columns"),
                               QStringLiteral("1,5,9,11,12,13")}),
                    nullptr, &err),
             3);
    for (const char *told : {"CosPhi в линии «Л1»", "Reactance в линии «Л1»", "DeviceRating в линии «Л1»",
                             "Reactance в линии «Л2»", "«Длина, м» в линии «Л2»"})
        QVERIFY2(err.contains(QString::fromUtf8(told)), told);
    const RtfTable t = readRtfFile(doc).tables.value(0);
    QCOMPARE(rowTexts(t, 1), (QStringList{"Л1", "50", "1E+308", "-", "-", "-"}));
    QCOMPARE(rowTexts(t, 2), (QStringList{"Л2", "-", "1E+308", "0,9", "-", QString()}));
    // 1E+308 twice: past the range, "∞" as the status bar says, never 0,00.
    QCOMPARE(rowTexts(t, 3), (QStringList{"Итого", QString(), "∞", QString(), QString(), QString()}));
}

// A cell of 20 000 characters without a blank is laid out whole and carried
// over the pages that follow: every character is in the PDF.
void TstCliReports::longCellCarriedOverPages()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed; ./test installs it");
    TestAppDir app;
    Project p;
    p.projectName = QStringLiteral("Длинное имя");
    p.lines << reportLine(QString(20000, QChar(0x0429)), true, QStringLiteral("4x16"), QStringLiteral("55,62"),
                          QStringLiteral("380"), QStringLiteral("50"))
            << reportLine(QStringLiteral("Последняя"), true, QStringLiteral("4x16"), QStringLiteral("55,62"),
                          QStringLiteral("380"), QStringLiteral("50"));
    QVERIFY(ProjectFile::write(app.file(QStringLiteral("p.kbp")), p));
    const QString pdf = app.file(QStringLiteral("p.pdf"));
    QCOMPARE(runCli(args(app, {QStringLiteral("report-kl"), app.file(QStringLiteral("p.kbp")), pdf})), 0);
    const QStringList pages = pdfPages(pdf);
    QVERIFY(pages.size() > 2);
    QCOMPARE(pages.join(QString()).count(QChar(0x0429)), 20000);
    // Every page goes on under the table's heading; the next line and the total follow.
    for (const QString &page : pages.mid(1))
        QVERIFY(simplified(page).contains(QStringLiteral("Кабельная линия")));
    QVERIFY(pages.last().contains(QStringLiteral("Последняя")));
    QVERIFY(pages.last().contains(QStringLiteral("Итого")));
}

// At 200 characters in a name, every number stays on one line: the number
// columns keep their width, the name wraps in what is left.
void TstCliReports::longNameKeepsNumberColumnsWhole()
{
    TestAppDir app;
    Project p;
    p.lines << reportLine(QString(200, QLatin1Char('N')), true, QStringLiteral("4x35"), QStringLiteral("1055,62"),
                          QStringLiteral("380"), QStringLiteral("1250"));
    QVERIFY(ProjectFile::write(app.file(QStringLiteral("p.kbp")), p));
    const ReportTable table = CableLineReport::build(p.lines, QVector<bool>(10, true), 2);
    for (const int c : {2, 4, 5, 6, 7, 8, 9})
        QVERIFY(table.isWhole(c));
    // In the PDF no number is broken over two lines.
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed; ./test installs it");
    const QString pdf = app.file(QStringLiteral("p.pdf"));
    QCOMPARE(runCli(args(app, {QStringLiteral("report-kl"), app.file(QStringLiteral("p.kbp")), pdf})), 0);
    const QString text = pdfPages(pdf).join(QString());
    for (const char *number : {"1250", "1055,62", "4x35", "25,00", "0,50"})
        QVERIFY2(text.contains(QString::fromLatin1(number)), number);
}

void TstCliReports::everyScheduleInEveryFormat_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("captions"); // of the tables; empty: the worksheet is named after the title
    QTest::newRow("cable lines") << "report-kl" << QStringList() << "ВЕДОМОСТЬ КАБЕЛЬНЫХ ЛИНИЙ" << QStringList{""};
    QTest::newRow("cable lines, kept inputs and devices")
        << "report-kl" << QStringList{"--columns", "1,9,11,12,13"} << "ВЕДОМОСТЬ КАБЕЛЬНЫХ ЛИНИЙ" << QStringList{""};
    QTest::newRow("short circuit") << "report-kz" << QStringList() << "СВОДНАЯ ВЕДОМОСТЬ ТОКОВ КЗ (УПРОЩЕННЫЙ МЕТОД)"
                                   << QStringList{""};
    QTest::newRow("loads") << "report-loads" << QStringList() << "РАСЧЕТНАЯ НАГРУЗКА ЩИТОВ"
                           << QStringList{"ЩО1", "ЩС-1", "ЩР-2", "ЩС"};
    QTest::newRow("ГОСТ 28249-93 currents") << "report-faults" << QStringList() << "ВЕДОМОСТЬ ТОКОВ КЗ (ГОСТ 28249-93)"
                                            << QStringList{"Исходные данные", "Токи КЗ в точках сети"};
    QTest::newRow("protective devices") << "report-protect" << QStringList() << "ВЕДОМОСТЬ ЗАЩИТНЫХ АППАРАТОВ"
                                        << QStringList{"", "Причины невыполнения проверок"};
    QTest::newRow("lighting") << "report-lighting" << QStringList() << "СВЕТОТЕХНИЧЕСКИЙ РАСЧЕТ"
                              << QStringList{"", "Замечания"};
    QTest::newRow("network scheme") << "report-network" << QStringList() << "РАСЧЕТНАЯ СХЕМА СЕТИ"
                                    << QStringList{""};
    QTest::newRow("cable journal") << "report-journal" << QStringList() << "КАБЕЛЬНЫЙ ЖУРНАЛ" << QStringList{""};
}

// The same schedule written as .doc, .pdf and .xlsx. Every cell of the Word
// document is in the PDF, in the same order, and in the workbook, numbers
// as numbers with the format of their decimal places. The PDF is landscape
// A4 and every sheet carries "Лист N из M" and the title block filled from
// the project's properties (the first sheet's form with the names, the short
// form after it); a page that goes on with a table repeats its heading row,
// under "ЩС-1 (продолжение)" for a table with a caption. The Word document
// has the same blocks in its footers and the page numbers as fields.
void TstCliReports::everyScheduleInEveryFormat()
{
    QFETCH(QString, command);
    QFETCH(QStringList, options);
    QFETCH(QString, title);
    QFETCH(QStringList, captions);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed; ./test installs it");
    if (!haveOpenpyxl())
        QSKIP("python3-openpyxl is not installed; ./test installs it");
    TestAppDir app;
    writeLongProject(app);
    const QString project = app.file(QStringLiteral("Длинный.kbp"));
    const QString doc = app.file(QStringLiteral("отчет.doc"));
    const QString pdf = app.file(QStringLiteral("отчет.pdf"));
    const QString xlsx = app.file(QStringLiteral("отчет.xlsx"));
    for (const QString &out : {doc, pdf, xlsx}) {
        QString stdOut, stdErr;
        QCOMPARE(runCli(args(app, QStringList{command, project, out} + options), &stdOut, &stdErr), 0);
        QCOMPARE(stdOut, QStringLiteral("Файл '") + QDir::toNativeSeparators(out) + QStringLiteral("' успешно сохранен.\n"));
        QCOMPARE(stdErr, QString());
    }
    QVERIFY(app.readFile(QStringLiteral("отчет.pdf")).startsWith("%PDF-"));

    const RtfDocumentView word = readRtfFile(doc);
    QVERIFY2(word.wellFormed, qPrintable(word.problem));
    QCOMPARE(word.tables.size(), captions.size());
    // What the lines keep beyond the list: cos φ as entered, the reactance
    // (0,08 · 15 mOhm) and the breaker.
    if (!options.isEmpty())
        QCOMPARE(rowTexts(word.tables.first(), 4), QStringList({"Линия 5", "0,50", "0,9", "1,20", "C25"}));
    // The title blocks: the first page's with every property, the others'
    // with the document's code; the page numbers are fields.
    for (const QString &text : {kProperties.organization, kProperties.developer, kProperties.checker,
                                kProperties.normController, kProperties.approver, kProperties.documentCode,
                                kProperties.stage, QStringLiteral("Разраб."), QStringLiteral("Листов")})
        QVERIFY2(word.firstFooterTexts.contains(text), qPrintable(text));
    QVERIFY(word.firstFooterTexts.contains(kProperties.object + QLatin1Char('\n') + title.left(1) + title.mid(1).toLower())
            || word.firstFooterTexts.join(QLatin1Char(' ')).contains(kProperties.object));
    QCOMPARE(word.firstFooterRows, 8);
    QCOMPARE(word.footerRows, 4);
    QVERIFY(word.footerTexts.contains(kProperties.documentCode));
    QVERIFY(!word.footerTexts.contains(kProperties.developer));
    const QByteArray rtf = app.readFile(QStringLiteral("отчет.doc"));
    QVERIFY(rtf.contains("{\\field{\\*\\fldinst PAGE }"));
    QVERIFY(rtf.contains("{\\field{\\*\\fldinst NUMPAGES }"));
    QCOMPARE(word.headerTexts.first(), QStringLiteral("Лист 1 из 1")); // the fields' placeholders
    // The hall by hand: i = 1,538, η = 48,31 % of У-15 at 70/50/30, N =
    // 300 · 288 · 1,4 / (2920 · 0,4831) = 85,75 → 86, Eср = 300,87 lx; the
    // refused room in the notes below.
    if (command == QLatin1String("report-lighting")) {
        QCOMPARE(rowTexts(word.tables.first(), 1),
                 QStringList({"Зал", "24 × 12 × 6", "5,20", "70/50/30", "300", "1,4", "1", "У-15", "2920", "200", "1,54",
                              "0,48", "86", "43x2", "300,87", "17,20", "59,72", "1,15"}));
        QCOMPARE(rowTexts(word.tables.at(1), 1),
                 QStringList({"Помещение 7", "Коэффициент отражения потолка должен быть от 0 до 90 %!"}));
    }

    // The long project's lines have no places: the checked ones continue
    // one another from the bus in list order, the 20 unchecked ones follow
    // without a start; the installer's columns are empty.
    if (command == QLatin1String("report-journal")) {
        const RtfTable &t = word.tables.first();
        QCOMPARE(t.rows.size(), 61);
        QCOMPARE(rowTexts(t, 1), QStringList({"Линия 1", "ТП", "", "ВВГ", "4x16", "11", "", "", ""}));
        QCOMPARE(rowTexts(t, 3), QStringList({"Линия 4", "конец линии «Линия 2»", "", "ВВГ", "2x4", "14", "", "", ""}));
        QCOMPARE(rowTexts(t, 40), QStringList({"Линия 59", "конец линии «Линия 58»", "", "ВВГ", "4x16", "69", "", "", ""}));
        QCOMPARE(rowTexts(t, 41), QStringList({"Линия 3", "", "", "ВВГ", "4x16", "13", "", "", ""}));
        QCOMPARE(rowTexts(t, 60), QStringList({"Линия 60", "", "", "ВВГ", "2x4", "70", "", "", ""}));
    }

    const QStringList pages = pdfPages(pdf);
    // The rooms of the long project fit one sheet; every other schedule goes on.
    QVERIFY(pages.size() >= (command == QLatin1String("report-lighting") ? 1 : 2));
    const QString all = simplified(pages.join(QLatin1Char(' ')));

    // The heading lines, then every cell, found one after the other.
    QStringList expected{QStringLiteral("Длинный"), title};
    for (int k = 0; k < word.tables.size(); ++k) {
        if (!captions.at(k).isEmpty()) {
            QCOMPARE(word.tables.at(k).caption.text, captions.at(k));
            QVERIFY(word.tables.at(k).captionRepeats);
            expected << captions.at(k);
        }
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

    // Sheets: the number, the block of its form, the heading row again on
    // every page a table goes on to.
    const QStringList heading = rowTexts(word.tables.last(), 0);
    for (int p = 0; p < pages.size(); ++p) {
        const QString page = simplified(pages.at(p));
        QVERIFY2(page.contains(QStringLiteral("Лист %1 из %2").arg(p + 1).arg(pages.size())), qPrintable(page.left(80)));
        QVERIFY(page.contains(kProperties.documentCode));
        QCOMPARE(page.contains(kProperties.organization), p == 0);
        QCOMPARE(page.contains(QStringLiteral("Разраб. Иванов")), p == 0);
        if (p > 0 && captions.size() == 1)
            QVERIFY2(page.contains(simplified(heading.join(QLatin1Char(' ')))), qPrintable(page.left(200)));
    }
    if (command == QLatin1String("report-loads")) {
        // The long shield goes on under its name and heading row.
        const QString continued = QStringLiteral("ЩС-1 (продолжение) ") + simplified(heading.join(QLatin1Char(' ')));
        QVERIFY2(all.contains(continued), qPrintable(all.left(300)));
    }

    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY(info.waitForFinished(60000));
    QVERIFY(QString::fromUtf8(info.readAllStandardOutput()).contains(QStringLiteral("842 x 595 pts (A4)")));

    // The workbook: one worksheet per table, the title above it; the cells
    // of the document, numbers as numbers.
    const QJsonArray sheets = readWorkbook(xlsx);
    QCOMPARE(sheets.size(), captions.size());
    for (int k = 0; k < sheets.size(); ++k) {
        const QJsonObject sheet = sheets.at(k).toObject();
        const QJsonArray rows = sheet.value(QStringLiteral("rows")).toArray();
        const auto cell = [&rows](int r, int c) { return rows.at(r).toArray().at(c).toObject(); };
        const QString name = sheet.value(QStringLiteral("name")).toString();
        if (captions.at(k).isEmpty())
            QCOMPARE(name.toUpper(), title.left(31));
        else
            QCOMPARE(name, captions.at(k));
        QCOMPARE(cell(0, 0).value(QStringLiteral("value")).toString(), title);
        QVERIFY(cell(0, 0).value(QStringLiteral("bold")).toBool());
        QCOMPARE(cell(1, 0).value(QStringLiteral("value")).toString(), QStringLiteral("Длинный"));
        // The heading row: frozen below it, repeated on every printed page.
        const int headingRow = captions.at(k).isEmpty() ? 4 : 5;
        QCOMPARE(sheet.value(QStringLiteral("freeze")).toString(), QStringLiteral("A%1").arg(headingRow + 2));
        QCOMPARE(sheet.value(QStringLiteral("titles")).toString(), QStringLiteral("$%1:$%1").arg(headingRow + 1));
        QCOMPARE(sheet.value(QStringLiteral("orientation")).toString(), QStringLiteral("landscape"));
        QCOMPARE(sheet.value(QStringLiteral("paper")).toInt(), 9);
        QVERIFY(sheet.value(QStringLiteral("fitToPage")).toBool());
        QCOMPARE(sheet.value(QStringLiteral("fitToWidth")).toInt(), 1);
        QCOMPARE(sheet.value(QStringLiteral("fitToHeight")).toInt(), 0);
        QCOMPARE(sheet.value(QStringLiteral("footer")).toString(), kProperties.documentCode + QStringLiteral("|Лист &P из &N"));
        const RtfTable &table = word.tables.at(k);
        QCOMPARE(rows.size(), headingRow + table.rows.size());
        for (int r = 0; r < table.rows.size(); ++r) {
            for (int c = 0; c < table.rows.at(r).size(); ++c) {
                const QString text = table.rows.at(r).at(c).text;
                const QJsonObject x = cell(headingRow + r, c);
                const QString where = QStringLiteral("row %1 column %2 '%3'").arg(r).arg(c).arg(text);
                if (r == 0) {
                    QVERIFY2(x.value(QStringLiteral("bold")).toBool() && x.value(QStringLiteral("wrap")).toBool(),
                             qPrintable(where));
                }
                const auto number = table.rows.at(r).at(c).rightAligned ? NumberText::parse(text) : std::nullopt;
                if (r > 0 && number) {
                    // A number with the format of the places it shows.
                    QVERIFY2(x.value(QStringLiteral("type")).toString() != QLatin1String("str"), qPrintable(where));
                    QCOMPARE(x.value(QStringLiteral("value")).toDouble(), *number);
                    const qsizetype comma = text.indexOf(QLatin1Char(','));
                    QCOMPARE(x.value(QStringLiteral("format")).toString(),
                             comma < 0 ? QStringLiteral("0") : QStringLiteral("0.") + QString(text.size() - comma - 1, u'0'));
                } else if (text.isEmpty()) {
                    QVERIFY2(x.value(QStringLiteral("value")).isNull(), qPrintable(where));
                } else {
                    QCOMPARE(x.value(QStringLiteral("value")).toString(), text);
                }
            }
        }
        // Columns as wide as their texts want, within reason.
        for (const QJsonValue &w : sheet.value(QStringLiteral("widths")).toArray())
            QVERIFY(w.toDouble() >= 6 && w.toDouble() <= 61);
    }
}

// report-faults and report-protect refuse what their windows refuse, with
// the windows' messages and before any file is touched; they overwrite only
// with --force, and a damaged project still gives its schedule, exit 3.
void TstCliReports::newCommandsRefuseAsTheirWindows()
{
    TestAppDir app;
    writeProject(app);
    const QString project = app.file(QStringLiteral("Дом.kbp"));
    const QString out = app.file(QStringLiteral("s.xlsx"));
    const QByteArray sound = app.readFile(QStringLiteral("Дом.kbp"));
    for (const QString command : {QStringLiteral("report-faults"), QStringLiteral("report-protect")}) {
        QString stdOut, stdErr;
        // No transformer; then an input out of its range.
        QByteArray bytes = sound;
        app.writeFile(QStringLiteral("Дом.kbp"), bytes.replace("STP=400", "STP=0"));
        QCOMPARE(runCli(args(app, {command, project, out}), &stdOut, &stdErr), 1);
        QCOMPARE(stdErr, QStringLiteral("Укажите мощность трансформатора и данные питающей линии!\n"));
        bytes = sound;
        app.writeFile(QStringLiteral("Дом.kbp"), bytes.replace("HS=0", "HS=0\r\nCableTemp=300"));
        QCOMPARE(runCli(args(app, {command, project, out}), &stdOut, &stdErr), 1);
        QCOMPARE(stdErr, QStringLiteral("Температура жил кабелей к концу КЗ должна быть от 20 до 250 °C!\n"));
        QVERIFY(!QFile::exists(out));
        QCOMPARE(runCli(args(app, {command, project})), 2);

        // Written; then kept unless --force.
        app.writeFile(QStringLiteral("Дом.kbp"), sound);
        QCOMPARE(runCli(args(app, {command, project, out}), &stdOut, &stdErr), 0);
        QCOMPARE(stdErr, QString());
        QVERIFY(app.readFile(QStringLiteral("s.xlsx")).startsWith("PK"));
        QCOMPARE(runCli(args(app, {command, project, out}), &stdOut, &stdErr), 1);
        QCOMPARE(stdErr, QStringLiteral("Файл ") + QDir::toNativeSeparators(out) + QStringLiteral(" уже существует!\r\nЗаменить?\n"));

        // A damaged project: the schedule of what could be read, exit 3.
        app.writeFile(QStringLiteral("Дом.kbp"), QByteArray(sound).replace("LineCount=5", "LineCount=6"));
        QCOMPARE(runCli(args(app, {command, project, out, QStringLiteral("--force")}), &stdOut, &stdErr), 3);
        QVERIFY(stdErr.contains(QStringLiteral("поврежден")));
        QVERIFY(stdOut.contains(QStringLiteral("успешно сохранен")));
        QFile::remove(out);
        app.writeFile(QStringLiteral("Дом.kbp"), sound);
    }
}

// Failing cells in bold red in the workbook and on the PDF page; numbers in
// exponent form keep the general format, texts of number columns stay texts,
// long texts wrap in rows as tall as they take.
void TstCliReports::failingCellsStandOut()
{
    if (!haveOpenpyxl() || QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        QSKIP("python3-openpyxl and poppler-utils are installed by ./test");
    ReportTable table;
    table.heading = {ReportCell{QStringLiteral("Линия"), true, false}, ReportCell{QStringLiteral("Icu, кА"), true, false},
                     ReportCell{QStringLiteral("Iк(3)≤Icu"), true, false}, ReportCell{QStringLiteral("Причина"), true, false}};
    table.rows = {{QStringLiteral("Л1"), QStringLiteral("6"), QStringLiteral("нет"),
                   QStringLiteral("Iк(3) max = 12,86 кА в начале линии больше отключающей способности Icu = 6 кА, ")
                       .repeated(3)},
                  {QStringLiteral("Л2"), QStringLiteral("1E+20"), QStringLiteral("да"), QString()},
                  {QStringLiteral("Л3"), QStringLiteral("-"), QStringLiteral("-"), QString()}};
    table.markNumberColumn(1);
    TestAppDir app;
    ScriptedPrompter prompter;
    ReportWriter writer(prompter, app.path());
    const auto write = [&](const QString &name, const ReportTable &t) {
        return writer.save(app.file(name), QStringLiteral("Проект"), QStringLiteral("Ведомость"), [&t] { return t; });
    };
    QVERIFY(write(QStringLiteral("plain.pdf"), table));
    table.markFailing(0, 1);
    table.markFailing(0, 2);
    QVERIFY(write(QStringLiteral("failing.xlsx"), table));
    QVERIFY(write(QStringLiteral("failing.pdf"), table));

    const QJsonArray rows = readWorkbook(app.file(QStringLiteral("failing.xlsx"))).at(0).toObject().value("rows").toArray();
    const auto cell = [&rows](int r, int c) { return rows.at(r).toArray().at(c).toObject(); };
    const int body = 5; // under the title, the project, the date, an empty row and the headings
    for (const int c : {1, 2}) {
        QVERIFY(cell(body, c).value("bold").toBool());
        QCOMPARE(cell(body, c).value("colour").toString(), QStringLiteral("FFC62828"));
    }
    QVERIFY(!cell(body, 0).value("bold").toBool());
    QVERIFY(!cell(body + 1, 2).value("bold").toBool());
    QCOMPARE(cell(body, 1).value("format").toString(), QStringLiteral("0"));
    QCOMPARE(cell(body + 1, 1).value("value").toDouble(), 1e20);
    QCOMPARE(cell(body + 1, 1).value("format").toString(), QStringLiteral("General"));
    QCOMPARE(cell(body + 2, 1).value("value").toString(), QStringLiteral("-"));
    QVERIFY(cell(body, 3).value("wrap").toBool());

    // Red on the page where a cell fails, none where none does.
    const auto redPixels = [&app](const QString &pdf) {
        QProcess tool;
        tool.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-png"),
                                                QStringLiteral("-singlefile"), app.file(pdf), app.file(QStringLiteral("page"))});
        if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
            return -1;
        const QImage image(app.file(QStringLiteral("page.png")));
        int red = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                red += c.red() > 150 && c.green() < 110 && c.blue() < 110;
            }
        return red;
    };
    QCOMPARE(redPixels(QStringLiteral("plain.pdf")), 0);
    QVERIFY(redPixels(QStringLiteral("failing.pdf")) > 10);
}

// The journal in the network's tree order, not the list's: a line under the
// line it starts at, its route from the board at that line's end (or that
// line when its board has no name), to its own board; the lines without a
// start, unset or naming no line, after the tree with the route start empty.
// A start naming no line damages the project: the journal is written, exit 3.
void TstCliReports::cableJournalFollowsTheNetwork()
{
    if (!haveOpenpyxl())
        QSKIP("python3-openpyxl is installed by ./test");
    const auto line = [](int i, const QString &name, const QString &cores, const QString &length, const QString &place) {
        return lineSection(i, name, i == 2, cores, length, QStringLiteral("1"), QStringLiteral("380")) + place;
    };
    const QString text =
        QStringLiteral("[TP]\r\nSTP=400\r\nHS=0\r\n[Lines]\r\nSubItemCount=9\r\nLineCount=6\r\n")
        + line(1, QStringLiteral("ЩР1 - ЩО1"), QStringLiteral("3x4"), QStringLiteral("30"),
               QStringLiteral("Id=2\r\nFrom=1\r\nBoard=ЩО1\r\n"))
        + line(2, QStringLiteral("ТП - ЩР1"), QStringLiteral("4x95"), QStringLiteral("40"),
               QStringLiteral("Id=1\r\nFrom=0\r\nBoard=ЩР1\r\n"))
        + line(3, QStringLiteral("резерв"), QStringLiteral("4x10"), QStringLiteral("80"), QStringLiteral("Id=3\r\n"))
        + line(4, QStringLiteral("ЩО1 - освещение"), QStringLiteral("3x2,5"), QStringLiteral("15,5"),
               QStringLiteral("Id=4\r\nFrom=2\r\n"))
        + line(5, QStringLiteral("освещение - бра"), QStringLiteral("3x1,5"), QStringLiteral("7"),
               QStringLiteral("Id=5\r\nFrom=4\r\nBoard=Бра\r\n"))
        + line(6, QStringLiteral("ЩР1 - ЩК"), QStringLiteral("3x1,5"), QStringLiteral("12"),
               QStringLiteral("Id=6\r\nFrom=99\r\nBoard=ЩК\r\n"))
        + QStringLiteral("[Shields]\r\nTabsCount=0\r\nSubItemsCount=0\r\n");
    TestAppDir app;
    app.writeFile(QStringLiteral("Сеть.kbp"), cp1251(text));
    const QString project = app.file(QStringLiteral("Сеть.kbp"));
    const QString out = app.file(QStringLiteral("журнал.xlsx"));
    QString stdOut, stdErr;
    QCOMPARE(runCli(args(app, {QStringLiteral("report-journal"), project, out}), &stdOut, &stdErr), 3);
    QVERIFY(stdErr.contains(QStringLiteral("линия «ЩР1 - ЩК» начинается в конце линии, которой нет")));
    QVERIFY(stdOut.contains(QStringLiteral("успешно сохранен")));

    const QJsonArray rows = readWorkbook(out).at(0).toObject().value(QStringLiteral("rows")).toArray();
    const QList<QVariantList> expected{
        {"ТП - ЩР1", "ТП", "ЩР1", "ВВГ", "4x95", 40, {}, {}, {}},
        {"ЩР1 - ЩО1", "ЩР1", "ЩО1", "ВВГ", "3x4", 30, {}, {}, {}},
        {"ЩО1 - освещение", "ЩО1", {}, "ВВГ", "3x2,5", 15.5, {}, {}, {}},
        {"освещение - бра", "конец линии «ЩО1 - освещение»", "Бра", "ВВГ", "3x1,5", 7, {}, {}, {}},
        {"резерв", {}, {}, "ВВГ", "4x10", 80, {}, {}, {}},
        {"ЩР1 - ЩК", {}, "ЩК", "ВВГ", "3x1,5", 12, {}, {}, {}},
    };
    const int body = 5; // under the title, the project, the date, an empty row and the headings
    QCOMPARE(rows.size(), body + expected.size());
    for (int r = 0; r < expected.size(); ++r) {
        QCOMPARE(rows.at(body + r).toArray().size(), expected.at(r).size());
        for (int c = 0; c < expected.at(r).size(); ++c) {
            const QJsonObject cell = rows.at(body + r).toArray().at(c).toObject();
            const QVariant &want = expected.at(r).at(c);
            const QString where = QStringLiteral("row %1 column %2").arg(r).arg(c);
            if (!want.isValid())
                QVERIFY2(cell.value(QStringLiteral("value")).isNull(), qPrintable(where));
            else if (want.typeId() == QMetaType::QString)
                QCOMPARE(cell.value(QStringLiteral("value")).toString(), want.toString());
            else
                QVERIFY2(cell.value(QStringLiteral("type")).toString() != QLatin1String("str")
                             && cell.value(QStringLiteral("value")).toDouble() == want.toDouble(),
                         qPrintable(where));
        }
    }
}

QTEST_MAIN(TstCliReports)
#include "tst_clireports.moc"
