// Measures the operations that grow with the size of a project, each next to
// the floor for that work (plain I/O or a single pass), for a project of
// 5 000 and of 10 000 lines. Run by hand: build/bin/kabinor_bench [runs]
// (build/bin/kabinor_bench RUNS diagram: the diagram's rows alone)
#include "base/AppContext.h"
#include "base/DataFileRegistry.h"
#include "base/ProjectFile.h"
#include "base/TextFile.h"
#include "calc/calculator/Evaluator.h"
#include "calc/lighting/RoomLighting.h"
#include "ui/lines/LineListModel.h"
#include "calc/lines/NetworkSummary.h"
#include "calc/network/CheckedPath.h"
#include "calc/network/NetworkCalc.h"
#include "calc/network/NetworkTree.h"
#include "docs/schedules/SingleLineDiagram.h"
#include "calc/loads/LoadCalc.h"
#include "docs/schedules/CableLineReport.h"
#include "docs/writers/ReportPages.h"
#include "docs/writers/ReportWriter.h"
#include "docs/schedules/ShortCircuitReport.h"
#include "shell/MainWindow.h"
#include "ui/lines/LineListModel.h"
#include "ui/network/DiagramWindow.h"
#include "ui/network/NetworkWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>


#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

int g_runs = 7;
volatile double g_sink = 0; // keeps the baselines from being optimised away

double medianMs(const std::function<void()> &work, const std::function<void()> &prepare = {})
{
    std::vector<double> times;
    for (int i = 0; i < g_runs; ++i) {
        if (prepare)
            prepare();
        const auto t0 = std::chrono::steady_clock::now();
        work();
        const auto t1 = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A project as an engineer's would be, only far larger.
Project makeProject(int lines, int shields, int loadsPerShield)
{
    Project p;
    p.transformerPower = QStringLiteral("400");
    p.lines.reserve(lines);
    for (int i = 0; i < lines; ++i) {
        CableLine l;
        const bool single = i % 3 == 0;
        const bool neutral = i % 4 == 1;
        l.name = QStringLiteral("Линия №%1").arg(i + 1);
        l.cells = QStringList{QStringLiteral("АВВГ"),
                              single ? QStringLiteral("3x4") : (neutral ? QStringLiteral("3x50 + 1x25") : QStringLiteral("4x16")),
                              QStringLiteral("Алюминий"), QStringLiteral("50"), QStringLiteral("84,37"),
                              QStringLiteral("25"), QStringLiteral("60"), QStringLiteral("0,0005"),
                              single ? QStringLiteral("220") : QStringLiteral("380")};
        l.checked = true;
        p.lines << l;
    }
    p.shields.clear();
    const char *phases[] = {"A", "B", "C", "ABC"};
    for (int s = 0; s < shields; ++s) {
        Shield shield{QStringLiteral("ЩО%1").arg(s + 1), {}};
        for (int j = 0; j < loadsPerShield; ++j) {
            Load load;
            load.name = QStringLiteral("Нагрузка %1").arg(j + 1);
            const bool three = j % 4 == 3;
            load.cells = QStringList{QStringLiteral("10"), QStringLiteral("0,8"), QStringLiteral("0,7"), QStringLiteral("7"),
                                     QStringLiteral("8,75"), three ? QStringLiteral("14,73") : QStringLiteral("39,77"),
                                     QString::fromLatin1(phases[j % 4]), three ? QStringLiteral("3") : QStringLiteral("1"),
                                     three ? QStringLiteral("0,9") : QStringLiteral("1")};
            shield.loads << load;
        }
        p.shields << shield;
    }
    return p;
}

QString longExpression(int terms)
{
    QString e;
    e.reserve(terms * 8);
    for (int i = 0; i < terms; ++i) {
        if (i)
            e += (i % 3 == 0) ? QStringLiteral("-") : QStringLiteral("+");
        e += QStringLiteral("%1,5*2").arg(i % 97);
    }
    return e;
}

void row(const char *what, double ms, double baseMs)
{
    std::printf("  %-34s %10.2f ms   baseline %8.3f ms   ratio %7.1f\n", what, ms, baseMs,
                baseMs > 0 ? ms / baseMs : 0.0);
}

void benchSize(int lines, int shields, QTemporaryDir &tmp, const QString &appDir)
{
    std::printf("\n%d lines, %d shields of 50 loads\n", lines, shields);
    const Project project = makeProject(lines, shields, 50);
    const QString path = tmp.filePath(QStringLiteral("bench-%1.kbp").arg(lines));
    ProjectFile::write(path, project);
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    const QByteArray bytes = f.readAll();
    f.close();
    const QString rawPath = tmp.filePath(QStringLiteral("raw-%1.txt").arg(lines));

    // Open: file -> model, against reading the bytes and splitting lines.
    const double open = medianMs([&] {
        Project p;
        ProjectFile::read(path, p);
        g_sink = g_sink + p.lines.size();
    });
    const double openBase = medianMs([&] {
        QFile in(path);
        in.open(QIODevice::ReadOnly);
        const QByteArray b = in.readAll();
        g_sink = g_sink + b.split('\n').size();
    });
    row("open project", open, openBase);

    // Save: model -> file, against writing the same bytes.
    const double save = medianMs([&] { ProjectFile::write(path, project); });
    const double saveBase = medianMs([&] {
        QFile out(rawPath);
        out.open(QIODevice::WriteOnly | QIODevice::Truncate);
        out.write(bytes);
    });
    row("save project", save, saveBase);

    // One pass summing as many numbers as there are lines.
    std::vector<double> numbers(size_t(lines), 0.0005);
    const double sumBase = medianMs([&] {
        double s = 0;
        for (double v : numbers)
            s += v;
        g_sink = g_sink + s;
    });

    // What the status bar runs: the tree of the lines, the checked path, the sum.
    const double summary = medianMs([&] {
        const SummaryText s = Network::summarize(project.lines, 7.5);
        g_sink = g_sink + s.panel1.size();
    });
    row("network summary", summary, sumBase);

    // "Check all" through the main window and its list model.
    {
        AppContext context(appDir);
        ScriptedPrompter prompter;
        MainWindow window(context, prompter);
        const double checkAll = medianMs([&] { window.checkAllLines(); },
                                         [&] {
                                             window.project().lines = project.lines;
                                             for (CableLine &l : window.project().lines)
                                                 l.checked = false;
                                             window.lineModel()->reload();
                                         });
        row("check all (main window)", checkAll, sumBase);
    }

    std::vector<double> loadNumbers(size_t(shields) * 50, 8.75);
    const double loadBase = medianMs([&] {
        double s = 0;
        for (double v : loadNumbers)
            s += v;
        g_sink = g_sink + s;
    });
    const double totals = medianMs([&] {
        for (const Shield &s : project.shields)
            g_sink = g_sink + LoadCalc::recalcShieldTotals(s.loads, 2).current.size();
    });
    row("shield totals, every shield", totals, loadBase);

    // One room for every ten lines, each with its η, grid and rounder number.
    QVector<LightingRoom> rooms;
    for (int i = 0; i < lines / 10; ++i) {
        LightingRoom room;
        room.name = QStringLiteral("Помещение %1").arg(i + 1);
        room.length = QString::number(6 + i % 40);
        room.width = QString::number(4 + i % 17);
        room.height = QStringLiteral("4");
        room.curve = i % 2 ? QStringLiteral("У-15") : QStringLiteral("РСП05-Г");
        room.led = false;
        room.flux = QStringLiteral("2920");
        room.power = QStringLiteral("200");
        rooms << room;
    }
    const Lighting::UtilisationTables tables = Lighting::UtilisationTables::load(appDir);
    std::vector<double> roomNumbers(size_t(rooms.size()) * 10, 1.5);
    const double roomBase = medianMs([&] {
        double s = 0;
        for (double v : roomNumbers)
            s += v;
        g_sink = g_sink + s;
    });
    const double lighting = medianMs([&] {
        for (const LightingRoom &room : rooms)
            g_sink = g_sink + RoomLighting::compute(room, tables).computed;
    });
    row("lighting, a room per ten lines", lighting, roomBase);

    CalcValues calc;
    Project kz = project;
    kz.Rt = 15;
    kz.Xt = 40;
    kz.Zt = 300;
    const double kzRows = medianMs([&] { g_sink = g_sink + ShortCircuitReport::build(kz, calc).rows.size(); });
    row("short-circuit report rows", kzRows, sumBase);

    ScriptedPrompter prompter;
    ReportWriter writer(prompter, appDir);
    const QString doc = tmp.filePath(QStringLiteral("report-%1.doc").arg(lines));
    const QVector<bool> all(10, true);
    QByteArray docBytes;
    const double kl = medianMs([&] {
        writer.save(doc, QStringLiteral("Проект"), CableLineReport::defaultTitle(),
                    [&] { return CableLineReport::build(project.lines, all, calc.places()); });
    });
    QFile d(doc);
    d.open(QIODevice::ReadOnly);
    docBytes = d.readAll();
    const double klBase = medianMs([&] {
        QFile out(rawPath);
        out.open(QIODevice::WriteOnly | QIODevice::Truncate);
        out.write(docBytes);
    });
    row("cable line report (document)", kl, klBase);

    // The same schedule drawn page by page: its floor is writing the file's bytes.
    const QString pdf = tmp.filePath(QStringLiteral("report-%1.pdf").arg(lines));
    const double klPdf = medianMs([&] {
        writer.save(pdf, QStringLiteral("Проект"), CableLineReport::defaultTitle(),
                    [&] { return CableLineReport::build(project.lines, all, calc.places()); });
    });
    QFile pdfFile(pdf);
    pdfFile.open(QIODevice::ReadOnly);
    const QByteArray pdfBytes = pdfFile.readAll();
    const double pdfBase = medianMs([&] {
        QFile out(rawPath);
        out.open(QIODevice::WriteOnly | QIODevice::Truncate);
        out.write(pdfBytes);
    });
    row("cable line report (PDF)", klPdf, pdfBase);

    // And as a workbook: its floor is writing its bytes too.
    const QString xlsx = tmp.filePath(QStringLiteral("report-%1.xlsx").arg(lines));
    const double klXlsx = medianMs([&] {
        writer.save(xlsx, QStringLiteral("Проект"), CableLineReport::defaultTitle(),
                    [&] { return CableLineReport::build(project.lines, all, calc.places()); });
    });
    QFile xlsxFile(xlsx);
    xlsxFile.open(QIODevice::ReadOnly);
    const QByteArray xlsxBytes = xlsxFile.readAll();
    const double xlsxBase = medianMs([&] {
        QFile out(rawPath);
        out.open(QIODevice::WriteOnly | QIODevice::Truncate);
        out.write(xlsxBytes);
    });
    row("cable line report (workbook)", klXlsx, xlsxBase);

    const QString expr = longExpression(lines);
    const double eval = medianMs([&] { g_sink = g_sink + evaluateExpression(expr).size(); });
    row("expression, one term a line", eval, sumBase);
}

// A network of `lines` lines: each starts at the end of the line before it
// (a chain), all at the bus (a star), or three at the end of each line (a
// balanced tree), with devices on every other line.
Project makeNetwork(int lines, const char *shape)
{
    Project p = makeProject(lines, 1, 1);
    for (int i = 0; i < lines; ++i) {
        CableLine &l = p.lines[i];
        l.checked = false;
        l.place.id = i + 1;
        if (qstrcmp(shape, "chain") == 0)
            l.place.from = i;
        else if (qstrcmp(shape, "star") == 0)
            l.place.from = 0;
        else
            l.place.from = i == 0 ? 0 : (i - 1) / 3 + 1;
        if (i % 2 == 0) {
            l.inputs = LineInputs{};
            l.inputs->device = QStringLiteral("C");
            l.inputs->deviceRating = QStringLiteral("25");
        }
    }
    p.nextLineId = lines + 1;
    return p;
}

// The whole network computed (the tree, the drops, the currents, the checks),
// and the network window: opened, and refreshed after one line's change.
void benchNetwork(const QString &appDir)
{
    constexpr int Lines = 10000;
    std::printf("\nNetwork of %d lines (data files read once; baseline: one pass summing as many numbers)\n", Lines);
    std::vector<double> numbers(size_t(Lines), 0.0005);
    const double sumBase = medianMs([&] {
        double s = 0;
        for (double v : numbers)
            s += v;
        g_sink = g_sink + s;
    });
    AppContext context(appDir);
    for (const char *shape : {"chain", "star", "balanced"}) {
        const Project p = makeNetwork(Lines, shape);
        const Network::Sources sources = Network::Sources::load(p, context);
        const double ms = medianMs([&] {
            const Network::Tree tree = Network::Tree::build(p.lines);
            g_sink = g_sink + Network::compute(p, tree, context.calc, sources).lines.size();
        });
        const QByteArray what = QByteArray("network computed, ") + shape;
        row(what.constData(), ms, sumBase);
    }
    for (const char *shape : {"chain", "balanced"}) {
        ScriptedPrompter prompter;
        MainWindow window(context, prompter);
        window.project().lines = makeNetwork(Lines, shape).lines;
        window.project().transformerPower = QStringLiteral("400");
        window.lineModel()->reload();
        const double open = medianMs(
            [&] {
                window.showNetworkWindow();
                QCoreApplication::processEvents();
            },
            [&] {
                delete window.networkWindow();
                QCoreApplication::processEvents();
            });
        QByteArray what = QByteArray("network window opened, ") + shape;
        row(what.constData(), open, sumBase);
        // One line's length changes (the tree keeps its shape), through the
        // list's model as the line dialog changes it; the window follows.
        int step = 0;
        const double change = medianMs([&] {
            CableLine l = window.project().lines.at(Lines / 2);
            l.cells[CableLine::Length] = QString::number(50 + (++step % 7));
            window.lineModel()->replaceLine(Lines / 2, l);
            QCoreApplication::processEvents();
        });
        what = QByteArray("network window, one line changed, ") + shape;
        row(what.constData(), change, sumBase);
    }
}

// The single-line diagram of 1 000 lines: laid out and drawn (the network
// computed first, as the window and the command do), written as PDF and as
// DXF, and the diagram window made again after one line's change.
void benchDiagram(const QString &appDir)
{
    constexpr int Lines = 1000;
    std::printf("\nSingle-line diagram of %d lines (baseline: one pass summing as many numbers)\n", Lines);
    std::vector<double> numbers(size_t(Lines), 0.0005);
    const double sumBase = medianMs([&] {
        double s = 0;
        for (double v : numbers)
            s += v;
        g_sink = g_sink + s;
    });
    AppContext context(appDir);
    for (const char *shape : {"chain", "star", "balanced"}) {
        const Project p = makeNetwork(Lines, shape);
        for (const char *format : {"pdf", "dxf"}) {
            const QString path = QStringLiteral("out.") + QLatin1String(format);
            const double ms = medianMs([&] {
                const auto diagram = SingleLineDiagram::buildFor(p, context);
                g_sink = g_sink + SingleLineDiagram::fileBytes(diagram, path).size();
            });
            const QByteArray what = QByteArray("diagram laid out and drawn to ") + format + ", " + shape;
            row(what.constData(), ms, sumBase);
        }
    }
    ScriptedPrompter prompter;
    MainWindow window(context, prompter);
    window.project().lines = makeNetwork(Lines, "balanced").lines;
    window.project().transformerPower = QStringLiteral("400");
    window.lineModel()->reload();
    window.showDiagramWindow();
    int step = 0;
    const double change = medianMs([&] {
        CableLine l = window.project().lines.at(Lines / 2);
        l.cells[CableLine::Length] = QString::number(50 + (++step % 7));
        window.lineModel()->replaceLine(Lines / 2, l);
        window.diagramWindow()->refreshNow();
        QCoreApplication::processEvents();
    });
    row("diagram window, one line changed, balanced", change, sumBase);
}

// Peak memory of kabinor-cli on a project. A program's peak includes that of
// the process it was started from (exec keeps the old high-water mark), so a
// helper without Qt (kabinor_peak, a megabyte or so) starts it and waits.
long cliPeakKb(const QString &project, const QString &appDir)
{
    QProcess p;
    p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/kabinor_peak"),
            {QCoreApplication::applicationDirPath() + QStringLiteral("/kabinor-cli"), project, appDir});
    p.waitForFinished(120000);
    return p.readAllStandardOutput().trimmed().toLong();
}

// A file of about `size` bytes: `head`, then `line` over and over.
QString writePathological(QTemporaryDir &tmp, const char *name, const QByteArray &head, const QByteArray &line, qsizetype size)
{
    QByteArray bytes = head;
    bytes.reserve(size + line.size());
    while (bytes.size() + line.size() <= size)
        bytes += line;
    const QString path = tmp.filePath(QString::fromLatin1(name));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

// Files made to be slow or large to read, each opened as a project: the time
// per byte against the normal project's, and the peak memory of kabinor-cli
// beyond that of a project of a few lines, against the file's size.
void benchPathological(QTemporaryDir &tmp, const QString &appDir, const QString &normal)
{
    constexpr qsizetype kSize = 4 * 1024 * 1024;
    const QByteArray sound = "[TP]\r\nSTP=400\r\n[Lines]\r\nSubItemCount=9\r\nLineCount=0\r\n[Shields]\r\nTab1=A\r\n"
                             "TabsCount=1\r\nSubItemsCount=9\r\n[Loads1]\r\nLoadCount=0\r\n";
    const QString small = writePathological(tmp, "small.kbp", sound, QByteArray(), 0);
    const long basePeak = cliPeakKb(small, appDir);
    struct Case {
        const char *what;
        QString path;
    };
    const Case cases[] = {
        {"10 000-line project", normal},
        {"blank lines", writePathological(tmp, "blank.kbp", sound + "[Lines]\r\n", "\r\n", kSize)},
        {"comment lines", writePathological(tmp, "comments.kbp", sound, "; a comment, no key and no value\r\n", kSize)},
        {"[] headers", writePathological(tmp, "headers.kbp", sound, "[]\r\n", kSize)},
        {"one long line", writePathological(tmp, "long.kbp", sound + "x", "x", kSize)},
        {"plain text", writePathological(tmp, "text.kbp", QByteArray(), "A line of plain text without an equals sign.\r\n", kSize)},
    };
    std::printf("\nFiles opened as projects (kabinor-cli summary of a sound small project: peak %ld KB)\n", basePeak);
    std::printf("  %-22s %9s %10s %9s %10s %10s %8s\n", "file", "size KB", "open ms", "ms/MB", "x normal", "peak KB",
                "x size");
    double normalPerByte = 0;
    for (const Case &c : cases) {
        const double bytes = double(QFileInfo(c.path).size());
        const double ms = medianMs([&] {
            Project p;
            ProjectFile::read(c.path, p);
            g_sink = g_sink + p.lines.size();
        });
        if (normalPerByte == 0)
            normalPerByte = ms / bytes;
        const long peak = cliPeakKb(c.path, appDir);
        std::printf("  %-22s %9.0f %10.2f %9.2f %10.2f %10ld %8.1f\n", c.what, bytes / 1024, ms, ms / (bytes / 1048576),
                    (ms / bytes) / normalPerByte, peak, double(peak - basePeak) * 1024 / bytes);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ReportPages::install();
    if (argc > 1)
        g_runs = std::max(1, std::atoi(argv[1]));
    QTemporaryDir tmp;
    // A private copy of the data folder next to the program.
    const QString appDir = tmp.filePath(QStringLiteral("app"));
    QDir().mkpath(appDir);
    const QDir data(QCoreApplication::applicationDirPath());
    for (const QString &name : data.entryList(QDir::Files))
        if (name.endsWith(QLatin1String(".dat")) || name.endsWith(QLatin1String(".fls")))
            QFile::copy(data.filePath(name), appDir + QLatin1Char('/') + name);
    DataFiles::checkDataFiles(appDir);

    std::printf("Median of %d runs each; baseline = the floor for the same amount of work.\n", g_runs);
    // "kabinor_bench RUNS diagram": the diagram's rows alone.
    if (argc > 2 && qstrcmp(argv[2], "diagram") == 0) {
        benchDiagram(appDir);
        return 0;
    }
    benchSize(5000, 50, tmp, appDir);
    benchSize(10000, 100, tmp, appDir);
    benchNetwork(appDir);
    benchDiagram(appDir);
    std::printf("\nkabinor-cli summary on the 10 000-line project: peak %ld KB\n",
                cliPeakKb(tmp.filePath(QStringLiteral("bench-10000.kbp")), appDir));
    benchPathological(tmp, appDir, tmp.filePath(QStringLiteral("bench-10000.kbp")));
    return 0;
}
