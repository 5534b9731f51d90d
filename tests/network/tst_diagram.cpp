// The single-line diagram: the DXF read back by an independent reader
// (ezdxf), the same texts in the PDF and the SVG, the workshop placed as
// worked out by hand, sheets that go on where they say, and the command.
#include "TestSupport.h"
#include "Workshop.h"
#include "base/AppContext.h"
#include "base/ProjectFile.h"
#include "docs/schedules/SingleLineDiagram.h"
#include "docs/writers/Drawing.h"
#include "docs/writers/DxfWriter.h"

#include <QXmlStreamReader>
#include <QtTest>

#include <algorithm>

using SingleLineDiagram::SheetFormat;

namespace {

// A network of 60 lines: four at the bus, every further line at the end of
// an earlier one (three to a board), five levels deep; every seventh line
// has no device.
Project tree(int count)
{
    Project p = Workshop::project();
    p.lines.clear();
    for (int i = 1; i <= count; ++i) {
        const QString length = QString::number(10 + 7 * i);
        CableLine l = Workshop::line(i, QStringLiteral("Л") + QString::number(i),
                                     {i % 2 ? "ВВГ" : "АВВГнг", "4x16", "Медь", length, "1,15", "25", "75", "0,5", "380"},
                                     QStringLiteral("ЩР-") + QString::number(i), i % 7 ? QStringLiteral("C") : QString(),
                                     QStringLiteral("25"));
        l.place.from = i <= 4 ? 0 : (i - 5) / 3 + 1;
        p.lines << l;
    }
    p.nextLineId = count + 1;
    return p;
}

// A chain: every line at the end of the one before.
Project chain(int count)
{
    Project p = tree(count);
    for (int i = 0; i < count; ++i)
        p.lines[i].place.from = i;
    return p;
}

struct DxfText {
    QString layer, text;
    QRectF box; // a generous box: 0,8 of the height a letter, descenders included
};

struct DxfContent {
    QString version, codepage;
    QVector<DxfText> texts;
    int breakers = 0;
    QStringList layers;
};

// The reader's view of a DXF file, through the system's Python and ezdxf.
DxfContent readDxf(const QString &path)
{
    static const char *script = R"(
import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
out = sys.stdout
out.write('V\t%s\t%s\n' % (doc.dxfversion, doc.header.get('$DWGCODEPAGE', '')))
for layer in doc.layers: out.write('L\t%s\n' % layer.dxf.name)
for e in doc.modelspace():
    if e.dxftype() == 'TEXT':
        out.write('T\t%s\t%d\t%.3f\t%.3f\t%.3f\t%s\n' % (e.dxf.layer, e.dxf.halign, e.dxf.insert.x, e.dxf.insert.y, e.dxf.height, e.dxf.text))
    elif e.dxftype() == 'INSERT' and e.dxf.name == 'QF':
        out.write('Q\n')
)";
    QProcess p;
    const QString python = QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                                             : QStringLiteral("python3");
    p.start(python, {QStringLiteral("-c"), QString::fromUtf8(script), path});
    DxfContent c;
    if (!p.waitForFinished(120000) || p.exitCode() != 0) {
        qWarning() << p.readAllStandardError();
        return c;
    }
    const QStringList rows = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &row : rows) {
        const QStringList f = row.split(QLatin1Char('\t'));
        if (f.at(0) == QLatin1String("V")) {
            c.version = f.at(1);
            c.codepage = f.at(2);
        } else if (f.at(0) == QLatin1String("L")) {
            c.layers << f.at(1);
        } else if (f.at(0) == QLatin1String("Q")) {
            ++c.breakers;
        } else if (f.at(0) == QLatin1String("T")) {
            const double h = f.at(5).toDouble();
            const QString text = f.mid(6).join(QLatin1Char('\t'));
            const double w = 0.8 * h * text.size();
            double x = f.at(3).toDouble();
            x -= f.at(2) == QLatin1String("1") ? w / 2 : f.at(2) == QLatin1String("2") ? w : 0;
            c.texts.append({f.at(1), text, QRectF(x, f.at(4).toDouble() - h / 3, w, h * 4 / 3)});
        }
    }
    return c;
}

int count(const QVector<DxfText> &texts, const QString &layer, const QString &text)
{
    return int(std::count_if(texts.begin(), texts.end(),
                             [&](const DxfText &t) { return t.layer == layer && t.text == text; }));
}

SingleLineDiagram::Diagram diagramOf(const Project &project, SheetFormat format)
{
    TestAppDir app;
    const AppContext context(app.path());
    return SingleLineDiagram::buildFor(project, context, format);
}

QStringList textsOf(const Drawing::Document &document)
{
    QStringList texts;
    for (const Drawing::Sheet &sheet : document.sheets)
        for (const Drawing::Piece &p : sheet.pieces)
            if (p.kind == Drawing::Kind::Text)
                texts << p.text;
    return texts;
}

} // namespace

class DiagramTest : public QObject
{
    Q_OBJECT
private slots:
    void dxfReadBack_data();
    void dxfReadBack();
    void pdfAndSvgCarryTheTexts();
    void workshopByHand();
    void sheetsGoOnWhereTheySay_data();
    void sheetsGoOnWhereTheySay();
    void command();
};

void DiagramTest::dxfReadBack_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("a4");
    QTest::newRow("workshop") << 0 << false;
    QTest::newRow("60 lines, A3") << 60 << false;
    QTest::newRow("60 lines, A4") << 60 << true;
}

// Every line's designation, cable and length on the texts layer, once, in
// Cyrillic; a breaker symbol per line with a device; no two texts overlap.
void DiagramTest::dxfReadBack()
{
    QFETCH(int, lines);
    QFETCH(bool, a4);
    const Project project = lines ? tree(lines) : Workshop::project();
    const auto diagram = diagramOf(project, a4 ? SheetFormat::A4 : SheetFormat::A3);
    QCOMPARE(diagram.drawnLines, project.lines.size());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("схема.dxf"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(SingleLineDiagram::fileBytes(diagram, path));
    file.close();

    const DxfContent dxf = readDxf(path);
    QCOMPARE(dxf.version, QStringLiteral("AC1009"));
    QCOMPARE(dxf.codepage, QStringLiteral("ANSI_1251"));
    for (const char *layer : {"FRAME", "BUS", "CABLES", "SYMBOLS", "TEXTS", "TABLE"})
        QVERIFY(dxf.layers.contains(QLatin1String(layer)));
    int devices = 0;
    const QString texts = QStringLiteral("TEXTS");
    for (const CableLine &l : project.lines) {
        devices += !l.inputs->device.text.isEmpty();
        // A board named as its line shows the name twice.
        QCOMPARE(count(dxf.texts, texts, l.name),
                 1 + int(std::count_if(project.lines.begin(), project.lines.end(),
                                       [&](const CableLine &o) { return o.place.board == l.name; })));
        QCOMPARE(count(dxf.texts, texts, l.cells.at(0) + QLatin1Char(' ') + l.cells.at(1)), 
                 int(std::count_if(project.lines.begin(), project.lines.end(), [&](const CableLine &o) {
                     return o.cells.at(0) == l.cells.at(0) && o.cells.at(1) == l.cells.at(1);
                 })));
        QVERIFY(count(dxf.texts, texts, l.cells.at(CableLine::Length) + QStringLiteral(" м")) >= 1);
        QCOMPARE(count(dxf.texts, QStringLiteral("TABLE"), l.cells.at(CableLine::Length)) >= 1, true);
    }
    QCOMPARE(dxf.breakers, devices);
    for (const DxfText &t : dxf.texts)
        QVERIFY2(t.box.height() >= 2.5 * 4 / 3 - 1e-9, qPrintable(t.text));
    // Sorted by their left edges, each box is checked against those that start before it ends.
    QVector<DxfText> sorted = dxf.texts;
    std::sort(sorted.begin(), sorted.end(), [](const DxfText &a, const DxfText &b) { return a.box.left() < b.box.left(); });
    for (int i = 0; i < sorted.size(); ++i)
        for (int j = i + 1; j < sorted.size() && sorted.at(j).box.left() < sorted.at(i).box.right(); ++j)
            QVERIFY2(!sorted.at(i).box.intersects(sorted.at(j).box),
                     qPrintable(sorted.at(i).text + QStringLiteral(" / ") + sorted.at(j).text));
}

// The PDF (vector, one page a sheet) and the SVG carry the texts of the drawing.
void DiagramTest::pdfAndSvgCarryTheTexts()
{
    const auto diagram = diagramOf(tree(60), SheetFormat::A3);
    const QStringList expected = textsOf(diagram.document);
    QTemporaryDir dir;
    const QString svgPath = dir.filePath(QStringLiteral("d.svg"));
    const QString pdfPath = dir.filePath(QStringLiteral("d.pdf"));
    for (const QString &path : {svgPath, pdfPath}) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(SingleLineDiagram::fileBytes(diagram, path));
    }
    QFile svgFile(svgPath);
    QVERIFY(svgFile.open(QIODevice::ReadOnly));
    QStringList svgTexts;
    QXmlStreamReader svg(&svgFile);
    while (!svg.atEnd()) {
        svg.readNext();
        if (svg.isStartElement() && svg.name() == QLatin1String("text"))
            svgTexts << svg.readElementText(QXmlStreamReader::IncludeChildElements);
    }
    QVERIFY2(!svg.hasError(), qPrintable(svg.errorString()));
    // A text mixing scripts comes as several runs, in the order drawn.
    QCOMPARE(svgTexts.join(QString()), expected.join(QString()));

    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdfPath});
    QVERIFY(info.waitForFinished(60000));
    QVERIFY(QString::fromUtf8(info.readAllStandardOutput())
                .contains(QRegularExpression(QStringLiteral("Pages:\\s+") + QString::number(diagram.document.sheets.size()) + QStringLiteral("\\b"))));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdfPath, QStringLiteral("-")});
    QVERIFY(text.waitForFinished(60000));
    const QString pdfText = QString::fromUtf8(text.readAllStandardOutput());
    QStringList words = pdfText.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    for (const QString &t : expected)
        for (const QString &word : t.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            QVERIFY2(words.contains(word), qPrintable(word));
}

// The workshop as laid out by hand: the ВРУ feeder between its first branch
// and the other two, each column's table under its cable, breakers numbered
// in the network's order, and a line without a start left out and counted.
void DiagramTest::workshopByHand()
{
    Project project = Workshop::project();
    CableLine loose = project.lines.at(3);
    loose.name = QStringLiteral("Без начала");
    loose.place.id = 5;
    loose.place.from.reset();
    loose.checked = false;
    project.lines << loose;
    const auto diagram = diagramOf(project, SheetFormat::A3);
    QCOMPARE(diagram.drawnLines, 4);
    QCOMPARE(diagram.leftOut, 1);
    QCOMPARE(diagram.document.sheets.size(), 1);
    const Drawing::Sheet &sheet = diagram.document.sheets.first();
    QCOMPARE(sheet.size, QSizeF(420, 297));
    // The x of each line's cable, and of its texts in the table.
    QMap<int, double> cableX;
    QMap<int, QStringList> labels, cells;
    QMap<int, QVector<double>> cellX;
    QStringList free;
    for (const Drawing::Piece &p : sheet.pieces) {
        if (p.kind == Drawing::Kind::Line && p.layer == Drawing::Layer::Cables && p.owner >= 0 && p.a.x() == p.b.x())
            cableX[p.owner] = p.a.x();
        if (p.kind == Drawing::Kind::Text && p.owner >= 0)
            (p.layer == Drawing::Layer::Table ? cells : labels)[p.owner] << p.text;
        if (p.kind == Drawing::Kind::Text && p.layer == Drawing::Layer::Table && p.owner >= 0)
            cellX[p.owner] << p.a.x();
        if (p.kind == Drawing::Kind::Text && p.owner < 0)
            free << p.text;
    }
    QCOMPARE(cableX.keys(), QList<int>({0, 1, 2, 3}));
    // ЩС-1, the feeder, ЩО-1, ЩВ-1 from left to right, a column apart.
    QVERIFY(cableX[1] < cableX[0] && cableX[0] < cableX[2] && cableX[2] < cableX[3]);
    QCOMPARE(cableX[0] - cableX[1], cableX[2] - cableX[0]);
    QCOMPARE(cableX[3] - cableX[2], cableX[2] - cableX[0]);
    for (int line = 0; line < 4; ++line)
        for (const double x : cellX[line])
            QCOMPARE(x, cableX[line]);
    QCOMPARE(labels[0], QStringList({"QF1", "200 А, 10·Iн", "Ввод ВРУ", "200 А", "150 м", "АВВГ 4x150", "ВРУ"}));
    QCOMPARE(labels[3], QStringList({"QF4", "C40", "ЩВ-1", "35 А", "200 м", "ВВГ 4x25", "ЩВ-1"}));
    // Board, Pу/Pр, device, Pр, cos φ, Iр, length, ΔU, cable, Iк, ΔU from the bus.
    // Without shields the line carries its typed 35 A at cos φ 1: Pр = 3 · 0,22 · 35 = 23,1 kW.
    QCOMPARE(cells[3], QStringList({"ЩВ-1", "0 / 23,1", "C40", "23,1", "1", "35", "200", "2,04", "ВВГ", "4x25", "1,26", "0,52", "4,56"}));
    for (const char *t : {"Т1 630 кВА", "Y/Yн-0", "Не показаны линии без начала: 1", "Цех", "Однолинейная схема",
                          "Лист 1 из 1"})
        QVERIFY2(free.contains(QString::fromUtf8(t)), t);
}

void DiagramTest::sheetsGoOnWhereTheySay_data()
{
    QTest::addColumn<bool>("isChain");
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("a4");
    QTest::newRow("200 lines, A3") << false << 200 << false;
    QTest::newRow("200 lines, A4") << false << 200 << true;
    QTest::newRow("chain of 3000") << true << 3000 << false;
}

// A network larger than a sheet: each line drawn once; each further sheet
// is announced by one "см. лист N" on an earlier sheet and starts "с листа M"
// with the sheet that announced it.
void DiagramTest::sheetsGoOnWhereTheySay()
{
    QFETCH(bool, isChain);
    QFETCH(int, lines);
    QFETCH(bool, a4);
    const auto diagram = diagramOf(isChain ? chain(lines) : tree(lines), a4 ? SheetFormat::A4 : SheetFormat::A3);
    const auto &sheets = diagram.document.sheets;
    QVERIFY(sheets.size() > 1);
    QVector<int> drawn(lines, 0);
    QVector<int> announcedBy(sheets.size() + 1, 0);
    const QRegularExpression goesOn(QStringLiteral("^см\\. лист (\\d+)$"));
    const QRegularExpression comesFrom(QStringLiteral(", с листа (\\d+)$"));
    for (int s = 0; s < sheets.size(); ++s) {
        QSet<int> owners;
        int from = 0;
        for (const Drawing::Piece &p : sheets.at(s).pieces) {
            if (p.owner >= 0)
                owners.insert(p.owner);
            if (p.kind != Drawing::Kind::Text)
                continue;
            QVERIFY(p.size >= 2.5);
            QVERIFY(Drawing::box(p).right() <= sheets.at(s).size.width() - 5);
            if (const auto m = goesOn.match(p.text); m.hasMatch()) {
                const int to = m.captured(1).toInt();
                QVERIFY(to > s + 1 && to <= sheets.size());
                QCOMPARE(announcedBy[to], 0);
                announcedBy[to] = s + 1;
            }
            if (const auto m = comesFrom.match(p.text); m.hasMatch())
                from = m.captured(1).toInt();
        }
        for (const int o : owners)
            ++drawn[o];
        if (s > 0)
            QCOMPARE(from, announcedBy[s + 1]);
    }
    QVERIFY(std::all_of(drawn.begin(), drawn.end(), [](int n) { return n == 1; }));
}

void DiagramTest::command()
{
    TestAppDir app;
    QTemporaryDir dir;
    const QString projectPath = dir.filePath(QStringLiteral("цех.kbp"));
    QVERIFY(ProjectFile::write(projectPath, Workshop::project()));
    const QString out = dir.filePath(QStringLiteral("схема.dxf"));
    const QString appDir = QStringLiteral("--app-dir=") + app.path();
    QString stdOut, stdErr;
    QCOMPARE(runCli({QStringLiteral("diagram"), appDir, projectPath, dir.filePath(QStringLiteral("a.png"))}), 2);
    QCOMPARE(runCli({QStringLiteral("diagram"), appDir, projectPath, out, QStringLiteral("--sheet"), QStringLiteral("A5")}), 2);
    QCOMPARE(runCli({QStringLiteral("diagram"), appDir, projectPath, out, QStringLiteral("--sheet"), QStringLiteral("a4")},
                    &stdOut, &stdErr), 0);
    QVERIFY(QFile::exists(out));
    const DxfContent dxf = readDxf(out);
    QCOMPARE(dxf.breakers, 4);
    // An existing file is kept unless --force says otherwise.
    QFile::resize(out, 3);
    QCOMPARE(runCli({QStringLiteral("diagram"), appDir, projectPath, out}), 1);
    QCOMPARE(QFileInfo(out).size(), 3);
    QCOMPARE(runCli({QStringLiteral("diagram"), appDir, projectPath, out, QStringLiteral("--force")}), 0);
    QVERIFY(QFileInfo(out).size() > 1000);
}

QTEST_MAIN(DiagramTest)
#include "tst_diagram.moc"
