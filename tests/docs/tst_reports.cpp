// The report documents read back: page, heading, tables, the two schedules,
// and the writer's sequence of file choice, progress, save and messages.
#include "ReportTestData.h"
#include "RtfReader.h"
#include "TestSupport.h"
#include "base/AppContext.h"
#include "base/NumberText.h"
#include "docs/schedules/CableLineReport.h"
#include "docs/schedules/LoadReport.h"
#include "docs/writers/ReportWriter.h"
#include "docs/writers/RtfDocument.h"
#include "docs/writers/XlsxWorkbook.h"
#include "docs/schedules/ShortCircuitReport.h"
#include "calc/loads/LoadCalc.h"
#include "calc/shortcircuit/ShortCircuit.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kProject = QStringLiteral("Проект 1");

// Records what the writer shows while it works.
class RecordingProgress : public ReportProgress
{
public:
    void begin(const QString &s, int value) override
    {
        status = s;
        values << value;
        ++begins;
    }
    void step(int value) override { values << value; }
    void end() override { ++ends; }

    QString status;
    QVector<int> values;
    int begins = 0;
    int ends = 0;
};

QVector<CableLine> fiveLines()
{
    return {reportLine(QStringLiteral("Линия №1"), true, QStringLiteral("4x16"), QStringLiteral("56,7")),
            reportLine(QStringLiteral("Линия №2"), false),
            reportLine(QStringLiteral("Линия №3"), true, QStringLiteral("3x50 + 1x25"), QStringLiteral("12,3")),
            reportLine(QStringLiteral("Линия №4"), false),
            reportLine(QStringLiteral("Линия №5"), true, QStringLiteral("2x4"), QStringLiteral("890"), QStringLiteral("220"))};
}

QVector<bool> allColumns()
{
    return QVector<bool>(10, true);
}

Project shortCircuitProject()
{
    Project p;
    p.transformerPower = QStringLiteral("400");
    p.Rt = 15;
    p.Xt = 40;
    p.Zt = 300;
    p.Rnet = 0;
    return p;
}

} // namespace

class TstReports : public QObject
{
    Q_OBJECT
private slots:
    void escapeRoundTrip_data();
    void escapeRoundTrip();
    void documentLayout_data();
    void documentLayout();
    void columnWidthsFillThePage();
    void titleBlockAndFailingCells();
    void sheetNames_data();
    void sheetNames();
    void dateTimeLine();

    void cableLineTable();
    void cableLineFirstColumnDeselected();
    void cableLineNoColumnStillSaved();

    void chooseFileDialogAndExtension();
    void chooseFileCancelAndDecline();
    void writeShowsProgressAndConfirms();
    void writeReplacesAcceptedFile();
    void failedWriteTellsTheUser();

    void shortCircuitExamples();
    void shortCircuitNoCheckedLine();
    void shortCircuitRunningSumsMatchRescan();
    void shortCircuitRunWritesDocument();

    void loadScheduleOfSeveralShields();
};

void TstReports::escapeRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("fragment");
    QTest::newRow("ascii") << QStringLiteral("Ik(3), kA 3x50 + 1x25") << QByteArray("Ik(3), kA 3x50 + 1x25");
    QTest::newRow("rtf specials") << QStringLiteral("a{b}c\\d") << QByteArray("a\\{b\\}c\\\\d");
    QTest::newRow("cyrillic as cp1251") << QStringLiteral("Ток") << QByteArray("\\'d2\\'ee\\'ea");
    QTest::newRow("yo and numero") << QStringLiteral("отчёт №1") << QByteArray("\\'b8\\'f2 \\'b91");
    QTest::newRow("outside cp1251") << QStringLiteral("R, Ω") << QByteArray("\\u937?");
    QTest::newRow("surrogate pair") << QStringLiteral("x😀y") << QByteArray("x\\u-10179?\\u-8704?y");
    QTest::newRow("tab") << QStringLiteral("a\tb") << QByteArray("a\\tab b");
}

// What goes in comes back out of a word processor's reading, character for character.
void TstReports::escapeRoundTrip()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, fragment);
    QVERIFY2(RtfDocument::escape(text).contains(fragment), RtfDocument::escape(text).constData());
    RtfDocument doc;
    doc.addParagraph(text, 12);
    const RtfDocumentView v = readRtf(doc.toRtf());
    QVERIFY2(v.wellFormed, qPrintable(v.problem));
    QCOMPARE(v.paragraphs.size(), 1);
    QCOMPARE(v.paragraphs.at(0).text, text);
    // Nothing but 7-bit text in the file: the escapes carry everything else.
    for (const char c : doc.toRtf())
        QVERIFY(uchar(c) < 0x80);
}

void TstReports::documentLayout_data()
{
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("title");
    QTest::newRow("usual") << kProject << CableLineReport::defaultTitle();
    QTest::newRow("long names") << QString(300, QChar(u'Ж')) << QStringLiteral("очень длинный заголовок {с фигурными} ").repeated(8);
    QTest::newRow("empty names") << QString() << QString();
}

void TstReports::documentLayout()
{
    QFETCH(QString, project);
    QFETCH(QString, title);
    ReportTable table;
    table.heading = {ReportCell{QStringLiteral("Кабельная линия"), true, false},
                     ReportCell{QStringLiteral("Ik(3), кА"), true, true}};
    table.rows = {{QStringLiteral("Линия №1"), QStringLiteral("3,43")}, {QStringLiteral("Линия №2"), QStringLiteral("-")}};
    const QString dateLine = QStringLiteral("05.03.2024   09:07");
    const RtfDocumentView v = readRtf(ReportWriter::document(project, title, dateLine, table));
    QVERIFY2(v.wellFormed, qPrintable(v.problem));

    QCOMPARE(v.codePage, 1251);
    QVERIFY(v.landscape);
    QVERIFY(v.sectionLandscape);
    QCOMPARE(v.paperWidth, 16838);
    QCOMPARE(v.paperHeight, 11906);

    // Name 16 pt; TITLE 14 pt bold; date line and an empty paragraph at 14 pt.
    QVERIFY(v.paragraphs.size() >= 4);
    QCOMPARE(v.paragraphs.at(0).text, project);
    QCOMPARE(v.paragraphs.at(0).pointSize, 16);
    QVERIFY(!v.paragraphs.at(0).bold);
    QCOMPARE(v.paragraphs.at(1).text, title.toUpper());
    QCOMPARE(v.paragraphs.at(1).pointSize, 14);
    QVERIFY(v.paragraphs.at(1).bold);
    QCOMPARE(v.paragraphs.at(2).text, dateLine);
    QCOMPARE(v.paragraphs.at(2).pointSize, 14);
    QVERIFY(!v.paragraphs.at(2).bold);
    QCOMPARE(v.paragraphs.at(3).text, QString());

    // The table comes after the heading lines whatever their length.
    QCOMPARE(v.tables.size(), 1);
    const RtfTable &t = v.tables.first();
    QCOMPARE(t.paragraphsBefore, 4);
    QCOMPARE(t.rows.size(), 3);
    QCOMPARE(rowTexts(t, 0), QStringList({QStringLiteral("Кабельная линия"), QStringLiteral("Ik(3), кА")}));
    QCOMPARE(rowTexts(t, 2), QStringList({QStringLiteral("Линия №2"), QStringLiteral("-")}));
    QVERIFY(t.rows[0][0].bold && !t.rows[0][0].italic);
    QVERIFY(t.rows[0][1].bold && t.rows[0][1].italic);
    QVERIFY(!t.rows[1][0].bold && !t.rows[1][1].italic);
    QCOMPARE(t.rows[1][0].pointSize, 14);
    // A grid: every cell has four ruled sides; the heading repeats on each page;
    // the columns span the text width between the margins.
    for (int r = 0; r < t.rows.size(); ++r) {
        QCOMPARE(t.bordersPerRow.at(r), 4 * 2);
        QCOMPARE(t.cellEdges.at(r).size(), 2);
        QCOMPARE(t.cellEdges.at(r).last(), v.paperWidth - v.marginLeft - v.marginRight);
        QCOMPARE(t.headerRows.at(r), r == 0);
    }
}

void TstReports::columnWidthsFillThePage()
{
    ReportTable table;
    for (const QString &h : LineCalc::columnHeaders())
        table.heading << ReportCell{h, true, false};
    table.rows << QStringList{QStringLiteral("Линия освещения коридора второго этажа корпуса Б"), QStringLiteral("ВВГ"),
                              QStringLiteral("3x50 + 1x25"), QStringLiteral("Алюминий"), QStringLiteral("100"),
                              QStringLiteral("56,7"), QStringLiteral("10"), QStringLiteral("25"), QStringLiteral("0,5"),
                              QStringLiteral("380")};
    const int available = RtfDocument(true).textWidth();
    for (const int size : {10, 14, 28}) {
        const QVector<int> w = RtfDocument::columnWidths(table, available, size);
        QCOMPARE(w.size(), 10);
        int sum = 0;
        for (const int x : w) {
            QVERIFY(x > 0);
            sum += x;
        }
        QCOMPARE(sum, available);
    }
    // With room to spare no word is broken: the widest word decides the least
    // width, and the long name takes more room than the three-digit voltage.
    const QVector<int> w = RtfDocument::columnWidths(table, available, 10);
    QVERIFY(w.at(0) > w.at(9));
    QVERIFY(w.at(5) >= int(QStringLiteral("Сопротивление,").size() * 10 * 20 * 0.6));
}

// Every page carries the title block in its footer (the first page's form
// with the signatures, the short form after it), "Лист N из M" with the page
// numbers as fields in its header, and a frame; failing cells are bold red.
void TstReports::titleBlockAndFailingCells()
{
    ReportTable table;
    table.heading = {ReportCell{QStringLiteral("Линия"), true, false}, ReportCell{QStringLiteral("Icu, кА"), true, false},
                     ReportCell{QStringLiteral("Iк(3)≤Icu"), true, false}};
    table.rows = {{QStringLiteral("Л1"), QStringLiteral("6"), QStringLiteral("нет")},
                  {QStringLiteral("Л2"), QStringLiteral("10"), QStringLiteral("да")}};
    table.markNumberColumn(1);
    table.markFailing(0, 1);
    table.markFailing(0, 2);
    ProjectProperties properties{QStringLiteral("ООО «Сеть»"), QStringLiteral("Школа"), QStringLiteral("15-ЭМ"),
                                 QStringLiteral("П"), QStringLiteral("Иванов"), QString(), QStringLiteral("Сидорова"),
                                 QStringLiteral("Кузнецов"), QStringLiteral("05.2024")};
    const QByteArray rtf = ReportWriter::document(ReportDocument{kProject, QStringLiteral("Ведомость"), QStringLiteral("дата"),
                                                                 {ReportSection{QString(), table}}, properties});
    const RtfDocumentView v = readRtf(rtf);
    QVERIFY2(v.wellFormed, qPrintable(v.problem));
    QCOMPARE(v.tables.size(), 1); // the blocks are no tables of the text

    // The failing cells: bold, colour 1 of the table (198, 40, 40); the others plain.
    const RtfTable &t = v.tables.first();
    QVERIFY(t.rows[1][1].bold && t.rows[1][1].colour == 1 && t.rows[1][1].rightAligned);
    QVERIFY(t.rows[1][2].bold && t.rows[1][2].colour == 1);
    QVERIFY(!t.rows[1][0].bold && t.rows[1][0].colour == 0);
    QVERIFY(!t.rows[2][2].bold && t.rows[2][2].colour == 0);
    QVERIFY(rtf.contains("{\\colortbl;\\red198\\green40\\blue40;}"));

    // The first page's block: 8 rows of 5 mm; the names with the date beside
    // them, an empty name without it; the stage, the sheet numbers as fields.
    QCOMPARE(v.firstFooterRows, 8);
    const QStringList first = v.firstFooterTexts;
    for (const QString &text : {QStringLiteral("Изм."), QStringLiteral("Кол.уч."), QStringLiteral("№ док."),
                                QStringLiteral("Разраб."), QStringLiteral("Пров."), QStringLiteral("Н. контр."),
                                QStringLiteral("Утв."), QStringLiteral("Стадия"), QStringLiteral("Листов"),
                                QStringLiteral("15-ЭМ"), QStringLiteral("П"), QStringLiteral("ООО «Сеть»"),
                                QStringLiteral("Школа\nВедомость")})
        QVERIFY2(first.contains(text), qPrintable(text));
    const qsizetype developer = first.indexOf(QStringLiteral("Иванов"));
    QVERIFY(developer > 0);
    QCOMPARE(first.at(developer - 1), QStringLiteral("Разраб."));
    QCOMPARE(first.at(developer + 2), QStringLiteral("05.2024")); // after the signature's cell
    const qsizetype checker = first.indexOf(QStringLiteral("Пров."));
    QCOMPARE(first.mid(checker + 1, 3), QStringList(3, QString())); // no checker: no name, no date
    QCOMPARE(first.count(QStringLiteral("05.2024")), 3);
    // The following pages' block: 4 rows, the code and the sheet number.
    QCOMPARE(v.footerRows, 4);
    QVERIFY(v.footerTexts.contains(QStringLiteral("15-ЭМ")));
    QVERIFY(!v.footerTexts.contains(QStringLiteral("Иванов")));
    QVERIFY(rtf.contains("{\\footerf ") && rtf.contains("{\\footer ") && rtf.contains("\\titlepg"));
    QCOMPARE(rtf.count("{\\field{\\*\\fldinst PAGE }{\\fldrslt 1}}"), 4); // two headers, two blocks
    QCOMPARE(rtf.count("{\\field{\\*\\fldinst NUMPAGES }{\\fldrslt 1}}"), 3);
    QCOMPARE(v.headerTexts.first(), QStringLiteral("Лист 1 из 1"));
    // The frame: page borders around header and footer; the text 25 mm from
    // the left edge and 10 mm from the right, where the table ends.
    QVERIFY(rtf.contains("\\pgbrdrhead\\pgbrdrfoot"));
    QCOMPARE(v.marginLeft, 1417);
    QCOMPARE(v.marginRight, 567);
    QCOMPARE(t.cellEdges.first().last(), v.paperWidth - v.marginLeft - v.marginRight);

    // Without properties the block is there with its captions and empty cells.
    const RtfDocumentView bare = readRtf(ReportWriter::document(kProject, QStringLiteral("Т"), QString(), table));
    QCOMPARE(bare.firstFooterRows, 8);
    QVERIFY(bare.firstFooterTexts.contains(QStringLiteral("Разраб.")));
    QVERIFY(!bare.firstFooterTexts.contains(QStringLiteral("05.2024")));
}

void TstReports::sheetNames_data()
{
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<QStringList>("taken");
    QTest::addColumn<QString>("name");
    QTest::newRow("as it is") << "ЩС-1" << QStringList() << "ЩС-1";
    QTest::newRow("forbidden characters") << "ЩО [1]: ввод/вывод*?\\" << QStringList() << "ЩО _1__ ввод_вывод___";
    QTest::newRow("31 characters") << "Ведомость токов КЗ (ГОСТ 28249-93)" << QStringList() << "Ведомость токов КЗ (ГОСТ 28249-";
    QTest::newRow("taken, any case") << "щс" << QStringList{"ЩС"} << "щс (2)";
    QTest::newRow("taken twice, long") << QString(40, u'Ж') << QStringList{QString(31, u'Ж'), QString(27, u'Ж') + " (2)"}
                                       << QString(27, u'Ж') + " (3)";
    QTest::newRow("empty") << "  " << QStringList() << "Лист";
    QTest::newRow("apostrophes at the ends") << "'ЩР'" << QStringList() << "ЩР";
}

// A worksheet's name is at most 31 characters, without []:*?/\, unique
// without regard to case: the workbook would not open otherwise.
void TstReports::sheetNames()
{
    QFETCH(QString, wanted);
    QFETCH(QStringList, taken);
    QFETCH(QString, name);
    QCOMPARE(XlsxWorkbook::sheetName(wanted, taken), name);
}

void TstReports::dateTimeLine()
{
    const QDateTime moment(QDate(2024, 3, 5), QTime(9, 7));
    QCOMPARE(ReportWriter::dateTimeLine(moment, QLocale(QLocale::Russian, QLocale::Russia)),
             QStringLiteral("05.03.2024   09:07"));
    // Another locale changes the separator, never the order of day, month and year.
    QVERIFY(ReportWriter::dateTimeLine(moment, QLocale(QLocale::English, QLocale::UnitedStates))
                .startsWith(QStringLiteral("05/03/2024   ")));
}

void TstReports::cableLineTable()
{
    // Three of five lines checked, all ten columns.
    const QVector<CableLine> lines = fiveLines();
    const ReportTable table = CableLineReport::build(lines, allColumns(), 2);
    QCOMPARE(table.rowCount(), 5); // the heading, three lines, the total
    QCOMPARE(table.columnCount(), 10);

    QTemporaryDir dir;
    ScriptedPrompter prompter;
    ReportWriter writer(prompter, dir.path());
    const QString path = dir.filePath(QStringLiteral("kl.doc"));
    QVERIFY(writer.write(path, kProject, CableLineReport::defaultTitle(), [&] { return table; }));
    const RtfDocumentView v = readRtfFile(path);
    QVERIFY2(v.wellFormed, qPrintable(v.problem));
    QCOMPARE(v.tables.size(), 1);
    const RtfTable &t = v.tables.first();
    QCOMPARE(t.rows.size(), 5);
    QCOMPARE(rowTexts(t, 0), LineCalc::columnHeaders());
    for (const RtfRun &heading : t.rows.at(0))
        QVERIFY(heading.bold && !heading.rightAligned);
    // Computed numbers with exactly the decimal places, what the user
    // entered (length, load current, voltage) as entered; all stand right.
    QCOMPARE(rowTexts(t, 1), QStringList({QStringLiteral("Линия №1"), QStringLiteral("ВВГ"), QStringLiteral("4x16"),
                                          QStringLiteral("Медь"), QStringLiteral("0"), QStringLiteral("56,70"),
                                          QStringLiteral("10"), QStringLiteral("25,00"), QStringLiteral("0,50"),
                                          QStringLiteral("380")}));
    for (int c = 0; c < 10; ++c)
        QCOMPARE(t.rows.at(1).at(c).rightAligned, c >= 4);
    QCOMPARE(t.rows.at(2).at(0).text, QStringLiteral("Линия №3"));
    QCOMPARE(t.rows.at(3).at(0).text, QStringLiteral("Линия №5"));
    QVERIFY(!t.rows.at(3).at(0).bold);
    // The total drop of the checked lines, in bold, under their drops.
    QStringList total(10);
    total[0] = QStringLiteral("Итого");
    total[8] = QStringLiteral("1,50");
    QCOMPARE(rowTexts(t, 4), total);
    QVERIFY(t.rows.at(4).at(0).bold && t.rows.at(4).at(8).bold && t.rows.at(4).at(8).rightAligned);
    // Other places: whole numbers, ties to the even digit (56,7 -> 57, 1,5 -> 2).
    const ReportTable whole = CableLineReport::build(lines, allColumns(), 0);
    QCOMPARE(whole.rows.at(0).at(5), QStringLiteral("57"));
    QCOMPARE(whole.totals.at(0).at(8), QStringLiteral("2"));
    // Ten columns at 14 pt would break their headings inside words: the table
    // takes a smaller face, the heading lines keep theirs.
    QVERIFY(t.rows.at(0).at(0).pointSize < 14);
    QVERIFY(t.rows.at(0).at(0).pointSize >= 8);
    QCOMPARE(v.paragraphs.at(1).pointSize, 14);

    // Nothing checked: the heading row alone.
    QVector<CableLine> unchecked = lines;
    for (CableLine &l : unchecked)
        l.checked = false;
    QVERIFY(writer.write(path, kProject, CableLineReport::defaultTitle(),
                         [&] { return CableLineReport::build(unchecked, allColumns(), 2); }));
    const RtfDocumentView empty = readRtfFile(path);
    QCOMPARE(empty.tables.size(), 1);
    QCOMPARE(empty.tables.first().rows.size(), 2);
    QCOMPARE(rowTexts(empty.tables.first(), 0), LineCalc::columnHeaders());
    QCOMPARE(rowTexts(empty.tables.first(), 1).at(8), QStringLiteral("0,00"));

    // The power factor and the reactance can be picked; a line kept without
    // them leaves their cells empty.
    QVector<CableLine> kept = lines;
    LineInputs inputs;
    inputs.cosPhi = QStringLiteral("0,85");
    inputs.reactance = QStringLiteral("3,31");
    kept[0].inputs = inputs;
    QVector<bool> picked(12, false);
    picked[0] = picked[10] = picked[11] = true;
    const ReportTable extra = CableLineReport::build(kept, picked, 2);
    QCOMPARE(extra.heading.size(), 3);
    QCOMPARE(extra.heading.at(1).text, QStringLiteral("cos φ"));
    QCOMPARE(extra.rows.at(0), (QStringList{QStringLiteral("Линия №1"), QStringLiteral("0,85"), QStringLiteral("3,31")}));
    QCOMPARE(extra.rows.at(1), (QStringList{QStringLiteral("Линия №3"), QString(), QString()}));
}

void TstReports::cableLineFirstColumnDeselected()
{
    QVector<bool> picked = allColumns();
    picked[0] = false;
    picked[3] = false; // "Материал"
    const ReportTable table = CableLineReport::build(fiveLines(), picked, 2);
    QCOMPARE(table.columnCount(), 8);
    QCOMPARE(table.heading.first().text, QStringLiteral("Марка"));
    QCOMPARE(table.rows.size(), 3);
    QCOMPARE(table.rows.at(1), QStringList({QStringLiteral("ВВГ"), QStringLiteral("3x50 + 1x25"), QStringLiteral("0"),
                                             QStringLiteral("12,30"), QStringLiteral("10"), QStringLiteral("25,00"),
                                             QStringLiteral("0,50"), QStringLiteral("380")}));
    QCOMPARE(table.totals.at(0).first(), QStringLiteral("Итого"));
}

void TstReports::cableLineNoColumnStillSaved()
{
    const ReportTable table = CableLineReport::build(fiveLines(), QVector<bool>(10, false), 2);
    QCOMPARE(table.columnCount(), 0);
    QCOMPARE(table.rowCount(), 0);

    QTemporaryDir dir;
    ScriptedPrompter prompter;
    ReportWriter writer(prompter, dir.path());
    const QString path = dir.filePath(QStringLiteral("kl.doc"));
    QVERIFY(writer.write(path, kProject, QStringLiteral("Ведомость"), [&] { return table; }));
    const RtfDocumentView v = readRtfFile(path);
    QVERIFY2(v.wellFormed, qPrintable(v.problem));
    QVERIFY(v.tables.isEmpty());
    QCOMPARE(v.paragraphs.at(0).text, kProject);
    QCOMPARE(v.paragraphs.at(1).text, QStringLiteral("ВЕДОМОСТЬ"));
    QCOMPARE(prompter.lastText(), QStringLiteral("Файл '") + QDir::toNativeSeparators(path)
                                      + QStringLiteral("' успешно сохранен."));
}

void TstReports::chooseFileDialogAndExtension()
{
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    ReportWriter writer(prompter, dir.path());
    const QString title = QStringLiteral("ведомость");
    const QString defaultName = CableLineReport::defaultFileName(kProject, title);
    QCOMPARE(defaultName, QStringLiteral("Проект 1 - ведомость"));

    // The name as typed gets the extension of the format chosen in the
    // dialog; a given one stays, and decides the format.
    prompter.files = {dir.filePath(defaultName), dir.filePath(QStringLiteral("v1.2 отчёт.doc")),
                      dir.filePath(QStringLiteral("a.rtf")), dir.filePath(QStringLiteral("вариант 2.1")),
                      dir.filePath(QStringLiteral("вариант 2.1")), dir.filePath(QStringLiteral("b.PDF"))};
    prompter.files << dir.filePath(QStringLiteral("таблица"));
    prompter.chosenFilters = {QString(), QString(), QString(), QString(), QStringLiteral("PDF (*.pdf)"), QString(),
                              QStringLiteral("Книга Excel (*.xlsx)")};
    QCOMPARE(writer.chooseFile(defaultName), dir.filePath(QStringLiteral("Проект 1 - ведомость.doc")));
    QCOMPARE(prompter.lastFileArgs,
             QStringList({dir.path(), defaultName,
                          QStringLiteral("Документ Word (*.doc);;PDF (*.pdf);;Книга Excel (*.xlsx)")}));
    QCOMPARE(writer.chooseFile(defaultName), dir.filePath(QStringLiteral("v1.2 отчёт.doc")));
    QCOMPARE(writer.chooseFile(defaultName), dir.filePath(QStringLiteral("a.rtf")));
    QCOMPARE(writer.chooseFile(defaultName), dir.filePath(QStringLiteral("вариант 2.1.doc")));
    QCOMPARE(writer.chooseFile(defaultName), dir.filePath(QStringLiteral("вариант 2.1.pdf")));
    const QString typedPdf = writer.chooseFile(defaultName);
    QCOMPARE(typedPdf, dir.filePath(QStringLiteral("b.PDF")));
    QCOMPARE(ReportWriter::formatOf(typedPdf), ReportFormat::Pdf);
    QCOMPARE(writer.chooseFile(defaultName), dir.filePath(QStringLiteral("таблица.xlsx")));
    QCOMPARE(ReportWriter::formatOf(QStringLiteral("a.XLSX")), ReportFormat::Spreadsheet);
    QCOMPARE(ReportWriter::formatOf(dir.filePath(QStringLiteral("a.rtf"))), ReportFormat::Word);
    QVERIFY(prompter.messages.isEmpty());

    QCOMPARE(ShortCircuitReport::defaultFileName(kProject), QStringLiteral("Проект 1 - Ведомость токов КЗ"));
}

void TstReports::chooseFileCancelAndDecline()
{
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    RecordingProgress progress;
    ReportWriter writer(prompter, dir.path());
    writer.setProgress(&progress);
    bool built = false;
    auto build = [&] {
        built = true;
        return ReportTable();
    };

    // Cancelled dialog: nothing happens at all.
    QVERIFY(!writer.run(kProject, QStringLiteral("T"), QStringLiteral("x"), build));
    QVERIFY(prompter.messages.isEmpty());

    // Declined replacement: the question, then nothing; the old file stays.
    const QString path = dir.filePath(QStringLiteral("old.doc"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    prompter.files = {path};
    prompter.answers = {Prompter::Answer::No};
    QVERIFY(!writer.run(kProject, QStringLiteral("T"), QStringLiteral("x"), build));
    QCOMPARE(prompter.messages.size(), 1);
    QCOMPARE(prompter.messages.at(0).text, QStringLiteral("Файл ") + QDir::toNativeSeparators(path)
                                                + QStringLiteral(" уже существует!\r\nЗаменить?"));
    QCOMPARE(prompter.messages.at(0).title, QStringLiteral("Сохранить как"));
    QVERIFY(!built);
    QCOMPARE(progress.begins, 0);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old"));
}

void TstReports::writeShowsProgressAndConfirms()
{
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    RecordingProgress progress;
    ReportWriter writer(prompter, dir.path());
    writer.setProgress(&progress);
    writer.setClock(QDateTime(QDate(2023, 12, 31), QTime(23, 59)));
    writer.setLocale(QLocale(QLocale::Russian, QLocale::Russia));
    prompter.files = {dir.filePath(QStringLiteral("Проект 1 - Ведомость"))};
    QVERIFY(writer.run(kProject, QStringLiteral("Ведомость"), QStringLiteral("Проект 1 - Ведомость"),
                       [] { return CableLineReport::build(fiveLines(), allColumns(), 2); }));
    const QString path = dir.filePath(QStringLiteral("Проект 1 - Ведомость.doc"));

    QCOMPARE(progress.begins, 1);
    QCOMPARE(progress.ends, 1);
    QCOMPARE(progress.status, QStringLiteral("Идет сохранение отчёта Проект 1 - Ведомость.doc... Пожалуйста, ждите..."));
    QCOMPARE(progress.values.first(), 0);
    QCOMPARE(progress.values.last(), 90);
    QVERIFY(std::is_sorted(progress.values.begin(), progress.values.end()));

    QCOMPARE(prompter.messages.size(), 1);
    QCOMPARE(prompter.messages.at(0).text,
             QStringLiteral("Файл '") + QDir::toNativeSeparators(path) + QStringLiteral("' успешно сохранен."));
    QCOMPARE(prompter.messages.at(0).icon, Prompter::Icon::Information);
    QCOMPARE(prompter.messages.at(0).title, QStringLiteral("Кабинор"));

    const RtfDocumentView v = readRtfFile(path);
    QCOMPARE(v.paragraphs.at(2).text, QStringLiteral("31.12.2023   23:59"));
    QCOMPARE(v.tables.first().rows.size(), 5);
}

void TstReports::writeReplacesAcceptedFile()
{
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    ReportWriter writer(prompter, dir.path());
    const QString path = dir.filePath(QStringLiteral("r.doc"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    prompter.files = {path};
    prompter.answers = {Prompter::Answer::Yes};
    QVERIFY(writer.run(kProject, QStringLiteral("T"), QStringLiteral("r"),
                       [] { return CableLineReport::build(fiveLines(), allColumns(), 2); }));
    QCOMPARE(prompter.messages.size(), 2);
    QVERIFY(readRtfFile(path).wellFormed);
    // No temporary file is left beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({QStringLiteral("r.doc")}));
}

void TstReports::failedWriteTellsTheUser()
{
    QTemporaryDir dir;
    // A folder that cannot be written into: one that does not exist, and one
    // whose name is taken by a file (both fail for any user, root included).
    QFile blocker(dir.filePath(QStringLiteral("file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    for (const QString &path : {dir.filePath(QStringLiteral("missing/r.doc")), dir.filePath(QStringLiteral("file/r.doc")),
                                dir.filePath(QStringLiteral("missing/r.xlsx")), dir.filePath(QStringLiteral("file/r.xlsx"))}) {
        ScriptedPrompter prompter;
        RecordingProgress progress;
        ReportWriter writer(prompter, dir.path());
        writer.setProgress(&progress);
        prompter.files = {path};
        QVERIFY(!writer.run(kProject, QStringLiteral("T"), QStringLiteral("r"),
                            [] { return CableLineReport::build(fiveLines(), allColumns(), 2); }));
        QCOMPARE(prompter.messages.size(), 1);
        QCOMPARE(prompter.messages.at(0).text, ReportWriter::failureMessage(path));
        QCOMPARE(prompter.messages.at(0).icon, Prompter::Icon::Critical);
        QVERIFY(!prompter.messages.at(0).text.contains(QStringLiteral("успешно")));
        QCOMPARE(progress.ends, 1); // the status bar is given back all the same
        QVERIFY(!QFile::exists(path));
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({QStringLiteral("file")}));
}

void TstReports::shortCircuitExamples()
{
    Project p = shortCircuitProject();
    p.lines = {
        // First checked point, three-phase, 0 mOhm: Rk of two stages, 35 mOhm.
        reportLine(QStringLiteral("ТП - ЩР1"), true, QStringLiteral("4x16"), QStringLiteral("0")),
        // Unchecked lines add nothing and do not count as a stage.
        reportLine(QStringLiteral("резерв"), false, QStringLiteral("4x2,5"), QStringLiteral("5000"), QStringLiteral("380"),
                   QStringLiteral("1000")),
        // Second point, single-phase: Rk = contactResistance(2) = 35 as well.
        reportLine(QStringLiteral("ЩР1 - ЩО1"), true, QStringLiteral("3x2,5"), QStringLiteral("712"), QStringLiteral("220"),
                   QStringLiteral("100")),
        // Third point, three-phase: four stages (90 mOhm), a small current still in kA.
        reportLine(QStringLiteral("ЩО1 - двигатель"), true, QStringLiteral("4x1,5"), QStringLiteral("1500"),
                   QStringLiteral("380"), QStringLiteral("0")),
    };
    CalcValues calc;
    calc.decimalPlaces = 2;
    const ReportTable t = ShortCircuitReport::build(p, calc);
    QCOMPARE(t.columnCount(), 5);
    QCOMPARE(t.rowCount(), 4);

    // 219,39 / sqrt(50² + 40²) = 3,43; iy = √2·Ik(3); Ik(2) = √3/2·Ik(3); Ik(1) = 220 / (100 + 35).
    QCOMPARE(t.rows.at(0), QStringList({QStringLiteral("ТП - ЩР1"), QStringLiteral("4,85"), QStringLiteral("3,43"),
                                         QStringLiteral("2,97"), QStringLiteral("1,63")}));
    // Ik(1) = 220 / (100 + RN 711,997 + RL 712 + 35) = 0,141.
    QCOMPARE(t.rows.at(1), QStringList({QStringLiteral("ЩР1 - ЩО1"), QStringLiteral("-"), QStringLiteral("-"),
                                         QStringLiteral("-"), QStringLiteral("0,14")}));
    // Ik(3) = 219,39 / sqrt((15 + 90 + 2212)² + 40²) = 0,0946: written 0,09 kA, not in amperes.
    QCOMPARE(t.rows.at(2).at(2), QStringLiteral("0,09"));
    QCOMPARE(t.rows.at(2).at(3), QStringLiteral("0,08"));

    // Decimals follow decimalPlaces.
    calc.decimalPlaces = 3;
    QCOMPARE(ShortCircuitReport::build(p, calc).rows.at(0).at(2), QStringLiteral("3,426"));
}

void TstReports::shortCircuitNoCheckedLine()
{
    Project p = shortCircuitProject();
    p.lines = {reportLine(QStringLiteral("Л1"), false), reportLine(QStringLiteral("Л2"), false)};
    const ReportTable t = ShortCircuitReport::build(p, CalcValues());
    QCOMPARE(t.rowCount(), 1);
    QCOMPARE(t.heading.size(), 5);
    const QStringList headings = {QStringLiteral("Точка КЗ"), QStringLiteral("iy, кА"), QStringLiteral("Ik(3), кА"),
                                  QStringLiteral("Ik(2), кА"), QStringLiteral("Ik(1), кА")};
    for (int c = 0; c < 5; ++c) {
        QCOMPARE(t.heading.at(c).text, headings.at(c));
        QVERIFY(t.heading.at(c).bold);
        QCOMPARE(t.heading.at(c).italic, c > 0);
    }
}

// The one-pass sums give exactly what summing lines 1..i afresh for every
// point gives, on a long mixed list.
void TstReports::shortCircuitRunningSumsMatchRescan()
{
    Project p = shortCircuitProject();
    p.Rnet = 0.617;
    const QStringList cores = {QStringLiteral("4x16"), QStringLiteral("3x50 + 1x25"), QStringLiteral("2x2,5"),
                               QStringLiteral("3x4")};
    for (int i = 0; i < 300; ++i) {
        const bool single = i % 5 == 2;
        p.lines << reportLine(QStringLiteral("Л%1").arg(i + 1), i % 3 != 1, cores.at(i % cores.size()),
                              QString::number(0.37 * (i % 11)).replace(QLatin1Char('.'), QLatin1Char(',')),
                              single ? QStringLiteral("220") : QStringLiteral("380"), QString::number(i % 7 * 3),
                              i % 2 ? QStringLiteral("Медь") : QStringLiteral("Алюминий"));
    }
    CalcValues calc;
    calc.decimalPlaces = 4;
    const ReportTable t = ShortCircuitReport::build(p, calc);

    int r = 0;
    for (int i = 0; i < p.lines.size(); ++i) {
        const CableLine &line = p.lines.at(i);
        if (!line.checked)
            continue;
        ++r;
        const double RL = ShortCircuit::sumLineResistance(p.lines, i + 1);
        const double RN = ShortCircuit::sumNeutralResistance(p.lines, i + 1, calc);
        const QStringList &row = t.rows.at(r - 1);
        QCOMPARE(row.at(0), line.name);
        if (line.cell(CableLine::Voltage) == QLatin1String("220")) {
            const double ik1 = ShortCircuit::singlePhaseCurrent(RN, RL, p.Zt, double(ShortCircuit::contactResistance(r)));
            QCOMPARE(row.mid(1), QStringList({QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-"),
                                              NumberText::formatFixed(ik1, 4)}));
        } else {
            const double Rk = double(ShortCircuit::contactResistance(r + 1));
            const double ik3 = ShortCircuit::threePhaseCurrent(p.Rnet, RL, p.Rt, p.Xt, Rk);
            QCOMPARE(row.at(2), NumberText::formatFixed(ik3, 4));
            QCOMPARE(row.at(4), NumberText::formatFixed(ShortCircuit::singlePhaseCurrent(RN, RL, p.Zt, Rk), 4));
        }
    }
    QCOMPARE(r, t.rows.size());
}

void TstReports::shortCircuitRunWritesDocument()
{
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    RecordingProgress progress;
    ReportWriter writer(prompter, dir.path());
    writer.setProgress(&progress);
    Project p = shortCircuitProject();
    p.projectName = kProject;
    p.lines = {reportLine(QStringLiteral("Л1"), true)};
    prompter.files = {dir.filePath(ShortCircuitReport::defaultFileName(kProject))};
    QVERIFY(ShortCircuitReport::run(writer, p, CalcValues()));
    QCOMPARE(prompter.lastFileArgs.at(1), QStringLiteral("Проект 1 - Ведомость токов КЗ"));
    QCOMPARE(progress.values.first(), 1);

    const RtfDocumentView v = readRtfFile(dir.filePath(QStringLiteral("Проект 1 - Ведомость токов КЗ.doc")));
    QVERIFY2(v.wellFormed, qPrintable(v.problem));
    QCOMPARE(v.paragraphs.at(1).text, QStringLiteral("СВОДНАЯ ВЕДОМОСТЬ ТОКОВ КЗ (УПРОЩЕННЫЙ МЕТОД)"));
    QCOMPARE(v.tables.size(), 1);
    const RtfTable &t = v.tables.first();
    QCOMPARE(t.rows.size(), 2);
    QCOMPARE(t.rows.at(0).size(), 5);
    QVERIFY(t.rows[0][0].bold && !t.rows[0][0].italic);
    QVERIFY(t.rows[0][4].bold && t.rows[0][4].italic);
    QCOMPARE(rowTexts(t, 1), QStringList({QStringLiteral("Л1"), QStringLiteral("4,85"), QStringLiteral("3,43"),
                                          QStringLiteral("2,97"), QStringLiteral("1,63")}));
    // Five columns fit at the heading's size.
    QCOMPARE(t.rows.at(1).at(0).pointSize, 14);
}

// One table per shield under its name: the loads as the list shows them,
// then the totals of the shields window and the balance of the phases.
void TstReports::loadScheduleOfSeveralShields()
{
    const auto load = [](const QString &name, const QString &power, const QString &cosf, const QString &ks,
                         bool threePhase, const QString &phase, const QString &kpd) {
        LoadCalc::LoadInput in{name, power, cosf, ks, threePhase, phase, kpd};
        return LoadCalc::computeLoad(in, 2);
    };
    Project p;
    p.projectName = kProject;
    p.shields = {Shield{QStringLiteral("ЩО1"),
                        {load(QStringLiteral("Освещение"), QStringLiteral("3"), QStringLiteral("0,9"),
                              QStringLiteral("0,8"), false, QStringLiteral("A"), QStringLiteral("1")),
                         load(QStringLiteral("Розетки"), QStringLiteral("2"), QStringLiteral("0,8"),
                              QStringLiteral("0,7"), false, QStringLiteral("B"), QStringLiteral("1"))}},
                 Shield{QStringLiteral("ЩР-2"),
                        {load(QStringLiteral("Насос"), QStringLiteral("7,5"), QStringLiteral("0,85"),
                              QStringLiteral("0,7"), true, QString(), QStringLiteral("0,9"))}},
                 Shield{QStringLiteral("ЩС"), {}}};

    QTemporaryDir dir;
    ScriptedPrompter prompter;
    ReportWriter writer(prompter, dir.path());
    prompter.files = {dir.filePath(LoadReport::defaultFileName(kProject))};
    QVERIFY(LoadReport::run(writer, p, CalcValues()));
    const RtfDocumentView v = readRtfFile(dir.filePath(QStringLiteral("Проект 1 - Расчетная нагрузка щитов.doc")));
    QVERIFY2(v.wellFormed, qPrintable(v.problem));
    QCOMPARE(v.paragraphs.at(1).text, QStringLiteral("РАСЧЕТНАЯ НАГРУЗКА ЩИТОВ"));
    QCOMPARE(v.tables.size(), 3);
    for (int k = 0; k < 3; ++k) {
        const RtfTable &t = v.tables.at(k);
        // Each table under its caption, the shield's name in bold, which
        // repeats with the heading row on every page the table goes on to.
        QCOMPARE(t.caption.text, p.shields.at(k).name);
        QVERIFY(t.caption.bold && t.captionRepeats);
        QCOMPARE(rowTexts(t, 0), LoadReport::headings());
        QCOMPARE(t.rows.size(), 1 + p.shields.at(k).loads.size() + 6);
        QCOMPARE(t.headerRows.first(), true);
    }
    // What the user entered as entered, computed numbers with two places,
    // all numbers standing right; every heading of a figure with its unit.
    const RtfTable &first = v.tables.at(0);
    QCOMPARE(rowTexts(first, 1), QStringList({"Освещение", "3", "0,9", "0,8", "2,40", "2,67", "12,12", "A", "1", "1"}));
    for (const int c : {1, 4})
        QVERIFY(rowTexts(first, 0).at(c).endsWith(QStringLiteral(", кВт")));
    QVERIFY(rowTexts(first, 0).at(5).endsWith(QStringLiteral(", кВА")));
    QVERIFY(rowTexts(first, 0).at(6).endsWith(QStringLiteral(", А")));
    QVERIFY(first.rows.at(1).at(1).rightAligned && !first.rows.at(1).at(7).rightAligned);
    // By hand, from the loads' inputs: ΣPу 5, ΣPр 3,8, ΣS = 2,6667 + 1,75 = 4,42;
    // IA = 2,6667 / 0,22 = 12,12, IB = 1,75 / 0,22 = 7,95; the shield draws
    // its largest phase current, 12,12 A; cos φ = 3,8 / 4,4167 = 0,86;
    // IN = √(12,12² + 7,95² − 12,12·7,95) = 10,67; (12,12 − 6,69) / 6,69 = 81,13 %.
    const auto totals = [](const QString &caption, std::initializer_list<std::pair<int, QString>> cells) {
        QStringList row(10);
        row[0] = caption;
        for (const auto &[column, text] : cells)
            row[column] = text;
        return row;
    };
    QCOMPARE(rowTexts(first, 3), totals("Итого", {{1, "5,00"}, {2, "0,86"}, {4, "3,80"}, {5, "4,42"}, {6, "12,12"}}));
    QCOMPARE(rowTexts(first, 4), totals("Фаза A", {{5, "2,67"}, {6, "12,12"}}));
    QCOMPARE(rowTexts(first, 5), totals("Фаза B", {{5, "1,75"}, {6, "7,95"}}));
    QCOMPARE(rowTexts(first, 6), totals("Фаза C", {{5, "0,00"}, {6, "0,00"}}));
    QCOMPARE(rowTexts(first, 7), totals("Ток нулевого проводника", {{6, "10,67"}}));
    QCOMPARE(rowTexts(first, 8), totals("Неравномерность, %", {{6, "81,13"}}));
    for (const RtfRun &cell : first.rows.at(8))
        QVERIFY(cell.bold);
    // A three-phase load loads the phases evenly: nothing in the neutral.
    const RtfTable &second = v.tables.at(1);
    QCOMPARE(rowTexts(second, 1), QStringList({"Насос", "7,5", "0,85", "0,7", "5,25", "6,18", "10,40", "ABC", "3", "0,9"}));
    QCOMPARE(rowTexts(second, 3), totals("Фаза A", {{5, "2,06"}, {6, "10,40"}}));
    QCOMPARE(rowTexts(second, 6), totals("Ток нулевого проводника", {{6, "0,00"}}));
    QCOMPARE(rowTexts(second, 7), totals("Неравномерность, %", {{6, "0,00"}}));
    // A shield without loads still shows its table with its zero totals.
    QCOMPARE(rowTexts(v.tables.at(2), 1), totals("Итого", {{1, "0,00"}, {2, "0,00"}, {4, "0,00"}, {5, "0,00"}, {6, "0,00"}}));

    // Totals past the range of numbers are no 0: two loads of 1E+308 kW.
    const Load huge = load(QStringLiteral("Печь"), QStringLiteral("1E+308"), QStringLiteral("1"), QStringLiteral("1"),
                           false, QStringLiteral("A"), QStringLiteral("1"));
    const QVector<ReportSection> overflow = LoadReport::build({Shield{QStringLiteral("ЩП"), {huge, huge}}}, 2);
    QCOMPARE(overflow.first().table.totals.first(),
             totals("Итого", {{1, "∞"}, {2, "-"}, {4, "∞"}, {5, "∞"}, {6, "∞"}}));
}

QTEST_GUILESS_MAIN(TstReports)
#include "tst_reports.moc"
