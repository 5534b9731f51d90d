// Measures what grows with the size of a project, each operation next to the
// floor for that work (plain I/O, a single pass, the same calculation without
// a window) and, where there is one, the aim it must stay within. The projects
// are made as the program writes them: every line entered through the line
// dialog's steps, with all its inputs and a protective device, all checked;
// shields of 50 loads.
//
// Run by hand: build/bin/kabinor_bench [RUNS] [LINES...] [--no-files] [--no-windows]
// (RUNS 7, LINES 5000 10000 unless given; --no-files skips the crafted files,
// --no-windows the ГОСТ 28249, protection, shields and rooms windows).
// build/bin/kabinor_bench --write FILE LINES writes the project of LINES
// lines and stops, for a profiler's run of kabinor-cli on it.
#include "base/AppContext.h"
#include "base/DataFileRegistry.h"
#include "base/ProjectFile.h"
#include "base/TextFile.h"
#include "calc/calculator/Evaluator.h"
#include "calc/lighting/RoomLighting.h"
#include "calc/lines/LineEntry.h"
#include "calc/lines/NetworkSummary.h"
#include "calc/lines/ProjectCheck.h"
#include "calc/network/CheckedPath.h"
#include "calc/network/NetworkCalc.h"
#include "calc/network/NetworkLoads.h"
#include "calc/network/NetworkTree.h"
#include "calc/selectivity/Selectivity.h"
#include "docs/schedules/SingleLineDiagram.h"
#include "calc/loads/LoadCalc.h"
#include "calc/protection/Protection.h"
#include "calc/shortcircuit/FaultCurrents.h"
#include "docs/schedules/CableLineReport.h"
#include "docs/schedules/ProtectionReport.h"
#include "docs/schedules/ShortCircuitReport.h"
#include "docs/writers/ReportPages.h"
#include "docs/writers/ReportWriter.h"
#include "shell/MainWindow.h"
#include "ui/lighting/RoomsWindow.h"
#include "ui/lines/CableLineDialog.h"
#include "ui/lines/LineListModel.h"
#include "ui/network/DiagramWindow.h"
#include "ui/network/NetworkWindow.h"
#include "ui/loads/ShieldsWindow.h"
#include "ui/protection/ProtectionWindow.h"
#include "ui/shortcircuit/FaultCurrentsWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeView>
#include <QUndoStack>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

int g_runs = 7;
// An operation that takes longer than this once is not repeated: the
// quadratic ones of older builds would take hours.
constexpr double kLongRunMs = 20000;
volatile double g_sink = 0; // keeps the baselines from being optimised away

void settle()
{
    QCoreApplication::processEvents();
}

// The processor time of the program, in ms: on a machine shared with other
// work the time on the clock says more about the others than about us.
double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The median of the runs; the events the work leaves behind (repaints,
// deferred layouts) are part of it, as the user waits for them too.
double medianMs(const std::function<void()> &work, const std::function<void()> &prepare = {})
{
    std::vector<double> times;
    for (int i = 0; i < g_runs; ++i) {
        if (prepare)
            prepare();
        settle();
        const double t0 = cpuMs();
        work();
        settle();
        times.push_back(cpuMs() - t0);
        if (times.back() > kLongRunMs)
            break;
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

// A table of rows: what, the time, the floor, and the aim where there is one.
void header()
{
    std::printf("  %-44s %10s %10s %7s %9s\n", "operation", "CPU ms", "floor ms", "x floor", "aim ms");
}

void row(const char *what, double ms, double floorMs, double aimMs = 0)
{
    std::printf("  %-44s %10.2f %10.3f %7.1f", what, ms, floorMs, floorMs > 0 ? ms / floorMs : 0.0);
    if (aimMs > 0)
        std::printf(" %9.0f%s", aimMs, ms > aimMs ? "  OVER" : "");
    std::printf("\n");
    std::fflush(stdout);
}

// Lines entered as the line dialog enters them: a construction, a listed
// section, a length, a load current, cos φ, the laying conditions and the
// protective device that "Подобрать" would choose.
QVector<CableLine> makeLines(int count, const QString &appDir, const CalcValues &calc)
{
    struct Kind {
        NetworkType net;
        int material;
        int construction;
        int laying;
        QStringList sections;
    };
    QVector<Kind> kinds = {
        {NetworkType::ThreePhase, Permissible::Aluminium, Permissible::FourCore, Permissible::InAir, {}},
        {NetworkType::ThreePhase, Permissible::Copper, Permissible::FiveCore, Permissible::InGround, {}},
        {NetworkType::SinglePhase, Permissible::Copper, 5, Permissible::InAir, {}},
        {NetworkType::ThreePhase, Permissible::Aluminium, Permissible::FourCore, Permissible::InGround, {}},
    };
    const CableReactance reactance = CableReactance::load(appDir);
    const Protection::BreakerTable breakers = Protection::BreakerTable::load(appDir);
    const Permissible::NeutralList neutral = Permissible::readNeutralSections(appDir);
    QVector<Permissible::PermissibleTable> tables;
    for (Kind &k : kinds) {
        tables << Permissible::PermissibleTable::load(appDir, k.net, k.material);
        Permissible::Choice c;
        c.net = k.net;
        c.material = k.material;
        (k.net == NetworkType::ThreePhase ? c.type2 : c.type1) = k.construction;
        c.type3 = k.laying;
        k.sections = Permissible::listedSections(tables.last(), c);
    }
    QVector<CableLine> lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int which = i % int(kinds.size());
        const Kind &k = kinds.at(which);
        LineEntry::Request r;
        r.name = LineEntry::autoName(i + 1);
        r.mark = k.material == Permissible::Copper ? QStringLiteral("ВВГ") : QStringLiteral("АВВГ");
        r.choice.net = k.net;
        r.choice.material = k.material;
        (k.net == NetworkType::ThreePhase ? r.choice.type2 : r.choice.type1) = k.construction;
        r.choice.type3 = k.laying;
        r.sectionText = k.sections.value(2 + i % 6, k.sections.value(0));
        r.lengthText = QString::number(20 + i % 80);
        r.currentText = QString::number(10 + i % 30) + QStringLiteral(",5");
        r.cosPhiText = QStringLiteral("0,9");
        r.ambientText = i % 2 ? QStringLiteral("30") : QString();
        r.cables = k.laying == Permissible::InGround ? 1 + i % 3 : 1;
        r.spacing = 100;
        if (k.construction == Permissible::FiveCore && !neutral.sections.isEmpty())
            r.neutralText = neutral.sections.value(2, neutral.sections.first());
        double idop = 0;
        CableLine line = LineEntry::buildLine(r, {tables.at(which), reactance}, calc, idop);
        const double ib = LineCalc::parseLoadCurrent(r.currentText);
        if (const auto device = Protection::choose(breakers, QStringLiteral("C"), ib, idop)) {
            line.inputs->device.text = device->characteristic;
            line.inputs->deviceRating.text = QString::number(device->rated);
            line.inputs->tripTime.text = i % 5 == 0 ? QStringLiteral("0,4") : QString();
            line.inputs->readValues();
        }
        line.checked = true;
        lines << line;
    }
    return lines;
}

Project makeProject(int lines, int shields, int loadsPerShield, const QString &appDir)
{
    Project p;
    p.transformerPower = QStringLiteral("1000");
    p.supplyLineUsed = 1;
    p.supplyLineMaterial = QStringLiteral("Алюминий");
    p.supplyLineLength = QStringLiteral("2");
    p.supplyLineSection = QStringLiteral("70");
    p.systemPower = QStringLiteral("200");
    p.busResistance = QStringLiteral("1,5");
    p.busReactance = QStringLiteral("2");
    p.lines = makeLines(lines, appDir, CalcValues());
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

// One room for every ten lines, each with its η, grid and rounder number.
QVector<LightingRoom> makeRooms(int lines)
{
    QVector<LightingRoom> rooms;
    for (int i = 0; i < lines / 10; ++i) {
        LightingRoom room;
        room.id = i + 1;
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
    return rooms;
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

// The preview's first sight of a document: every page drawn into the
// preview, as the print preview does before it shows (the system's print
// dialog, which waits for the user, is left out).
class PreviewPages : public ReportPrinter
{
public:
    bool print(const ReportDocument &document) override
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                          QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter));
        QPrintPreviewWidget preview(&printer);
        QObject::connect(&preview, &QPrintPreviewWidget::paintRequested,
                         [&document](QPrinter *target) { ReportPages::draw(document, *target); });
        preview.updatePreview();
        pages = preview.pageCount();
        return false;
    }
    int pages = 0;
};

struct Floors {
    double sum = 0; // one pass over as many numbers as there are lines
};

void benchFiles(const Project &project, const QString &path, const QString &appDir, QTemporaryDir &tmp, int lines,
                Floors &floors)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    const QByteArray bytes = f.readAll();
    f.close();
    const QString rawPath = tmp.filePath(QStringLiteral("raw-%1.txt").arg(lines));
    std::printf("  (project file %.1f MB)\n", double(bytes.size()) / 1048576);

    const double open = medianMs([&] {
        Project p;
        ProjectCheck::read(path, p);
        g_sink = g_sink + p.lines.size();
    });
    const double openBase = medianMs([&] {
        QFile in(path);
        in.open(QIODevice::ReadOnly);
        const QByteArray b = in.readAll();
        g_sink = g_sink + b.split('\n').size();
    });
    row("open project (file -> project)", open, openBase, lines == 10000 ? 100 : 0);

    const double save = medianMs([&] { ProjectFile::write(path, project); });
    const double saveBase = medianMs([&] {
        QFile out(rawPath);
        out.open(QIODevice::WriteOnly | QIODevice::Truncate);
        out.write(bytes);
    });
    row("save project", save, saveBase);

    std::vector<double> numbers(size_t(lines), 0.0005);
    floors.sum = medianMs([&] {
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
    row("network summary", summary, floors.sum);

    std::vector<double> loadNumbers(size_t(project.shields.size()) * 50, 8.75);
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

    const QVector<LightingRoom> rooms = makeRooms(lines);
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

}

// The main window with the project opened, shown, as the user has it.
void benchMainWindow(const QString &path, const QString &appDir, int lines, const Floors &floors)
{
    const double aimStep = lines == 10000 ? 200 : 0;
    const double aimWindow = lines == 10000 ? 300 : 0;
    AppContext context(appDir);
    ScriptedPrompter prompter;
    MainWindow window(context, prompter);
    window.show();
    settle();
    const double readFloor = medianMs([&] {
        Project p;
        ProjectFile::read(path, p);
        g_sink = g_sink + p.lines.size();
    });
    const double open = medianMs([&] { window.openProject(path); });
    row("open project (main window)", open, readFloor);

    const auto uncheckAll = [&] {
        window.openProject(path);
        for (CableLine &l : window.project().lines)
            l.checked = false;
        window.lineModel()->reload();
        window.history()->clear();
    };
    const double checkAll = medianMs([&] { window.checkAllLines(); }, uncheckAll);
    row("check all", checkAll, floors.sum);
    const double undoCheck = medianMs([&] { window.history()->undo(); },
                                      [&] {
                                          uncheckAll();
                                          window.checkAllLines();
                                      });
    row("undo of check all", undoCheck, floors.sum, aimStep);
    const double redoCheck = medianMs([&] { window.history()->redo(); },
                                      [&] {
                                          uncheckAll();
                                          window.checkAllLines();
                                          window.history()->undo();
                                      });
    row("redo of check all", redoCheck, floors.sum, aimStep);

    // The line dialog as "Изменить" opens it: the currents of every load
    // offered; the floor is making that list.
    const double choicesFloor = medianMs([&] {
        g_sink = g_sink
                 + Permissible::loadCurrentChoices(window.project().shields, NetworkType::ThreePhase, 2).size();
    });
    const double dialog = medianMs([&] {
        CableLineDialog d(*window.lineModel(), window.project(), context, prompter, true);
        d.fillFromRow(0);
        d.show();
        settle();
    });
    row("line dialog, open for a change", dialog, choicesFloor, aimWindow);

    // A recompute after a change of the conductivities changes every row.
    window.openProject(path);
    int flips = 0;
    const auto flip = [&] {
        context.calc.aluminiumConductivity = ++flips % 2 ? 36.5 : 37.04;
        context.calc.copperConductivity = flips % 2 ? 55.5 : 56.18;
    };
    CalcValues changed = context.calc;
    changed.aluminiumConductivity = 36.5;
    changed.copperConductivity = 55.5;
    const double recomputeFloor = medianMs([&] {
        QVector<CableLine> copy = window.project().lines;
        LineEntry::recomputeLines(copy, appDir, changed);
        g_sink = g_sink + copy.size();
    });
    const double recompute = medianMs([&] { window.recomputeLines(); }, flip);
    row("recompute all lines", recompute, recomputeFloor, aimWindow);
    const double undoRecompute = medianMs([&] { window.history()->undo(); },
                                          [&] {
                                              flip();
                                              window.recomputeLines();
                                          });
    row("undo of recompute all lines", undoRecompute, floors.sum, aimStep);
    const double redoRecompute = medianMs([&] { window.history()->redo(); }, [&] { window.history()->undo(); });
    row("redo of recompute all lines", redoRecompute, floors.sum, aimStep);

    // The history of many recomputes: what it keeps in memory.
    window.openProject(path);
    const long before = residentKb();
    for (int i = 0; i < 31; ++i) {
        flip();
        window.recomputeLines();
    }
    const long after = residentKb();
    std::printf("  31 recomputes: resident %ld -> %ld MB, %d steps kept\n", before / 1024, after / 1024,
                window.history()->count());
    window.openProject(path);
}

// The windows with a list computed from the project.
void benchWindows(const Project &project, const QString &appDir, int lines)
{
    const double aim = lines == 10000 ? 300 : 0;
    const double aimPrint = lines == 10000 ? 2000 : 0;
    AppContext context(appDir);
    ScriptedPrompter prompter;
    PreviewPages previewPages;
    ReportWriter writer(prompter, appDir);
    writer.setPrinter(&previewPages);
    Project p = project;

    // ГОСТ 28249: the calculation alone, then the window's first and second "Рассчитать".
    const Network::Sources sources = Network::Sources::load(p, context);
    const double faultFloor = medianMs([&] {
        const Network::Tree tree = Network::Tree::build(p.lines);
        const FaultCurrents::Result r =
            Network::faultPoints(p, tree, Network::compute(p, tree, context.calc, sources));
        for (const FaultCurrents::Point &point : r.points)
            g_sink = g_sink + FaultCurrents::pointTexts(point, 2).size();
    });
    {
        std::unique_ptr<FaultCurrentsWindow> fresh;
        const double first = medianMs([&] { fresh->calculate(); },
                                      [&] {
                                          fresh.reset();
                                          fresh = std::make_unique<FaultCurrentsWindow>(p, context, prompter, writer);
                                          fresh->show();
                                      });
        fresh.reset();
        row("ГОСТ 28249 window, first calculation", first, faultFloor, aim);
        FaultCurrentsWindow window(p, context, prompter, writer);
        window.show();
        window.calculate();
        settle();
        const double second = medianMs([&] { window.calculate(); });
        row("ГОСТ 28249 window, calculation again", second, faultFloor, aim);
        const double print = medianMs([&] { window.printReport(); });
        row("ГОСТ 28249 window, \"Печать...\" to preview", print, faultFloor, aimPrint);
    }

    // Protection: the checks alone, then the window as it opens and as its
    // schedule buttons recalculate.
    const double protectionFloor = medianMs([&] {
        const auto r = ProtectionReport::checkProject(p, context, nullptr);
        for (const Protection::LineCheck &line : r->lines)
            g_sink = g_sink + Protection::lineTexts(line, 2).size();
    });
    {
        const double open = medianMs([&] {
            ProtectionWindow window(p, context, prompter, writer);
            window.show();
            settle();
        });
        row("protection window, open", open, protectionFloor, aim);
        ProtectionWindow window(p, context, prompter, writer);
        window.show();
        settle();
        const double again = medianMs([&] { window.calculate(); });
        row("protection window, calculation again", again, protectionFloor, aim);
        const double print = medianMs([&] { window.printReport(); });
        row("protection window, \"Печать...\" to preview", print, protectionFloor, aimPrint);
    }

    // The shields window: opened, a load removed and the removal undone. The
    // floors: the totals of every shield, and putting a shield back.
    {
        QUndoStack history;
        Project shields = project;
        const double totalsFloor = medianMs([&] {
            for (const Shield &s : shields.shields)
                g_sink = g_sink + LoadCalc::recalcShieldTotals(s.loads, 2).current.size();
        });
        const double open = medianMs([&] {
            ShieldsWindow window(context, prompter, shields);
            window.show();
            settle();
        });
        row("shields window, open", open, totalsFloor, aim);
        const Shield first = shields.shields.first();
        const double restoreFloor = medianMs([&] {
            Shield copy = first;
            copy.loads.detach();
            g_sink = g_sink + copy.loads.size();
        });
        ShieldsWindow window(context, prompter, shields);
        window.setHistory(&history);
        window.show();
        settle();
        const double undo = medianMs([&] { history.undo(); },
                                     [&] {
                                         window.selectLoad(0);
                                         window.removeLoad();
                                     });
        row("shields window, undo of a removed load", undo, restoreFloor, lines == 10000 ? 200 : 0);
    }

    // The rooms window: opened, and a room's change undone, each of which
    // shows every room computed afresh. The floor: computing every room.
    {
        QUndoStack history;
        Project lit = project;
        lit.rooms = makeRooms(lines);
        const Lighting::UtilisationTables tables = Lighting::UtilisationTables::load(appDir);
        const double roomsFloor = medianMs([&] {
            for (const LightingRoom &room : lit.rooms)
                g_sink = g_sink + RoomLighting::compute(room, tables).computed;
        });
        const double open = medianMs([&] {
            RoomsWindow window(lit, context, prompter, writer);
            window.show();
            settle();
        });
        row("rooms window, open", open, roomsFloor, aim);
        RoomsWindow window(lit, context, prompter, writer);
        window.setHistory(&history);
        window.show();
        settle();
        const double undo = medianMs([&] { history.undo(); },
                                     [&] {
                                         window.selectRoom(0);
                                         prompter.answers = {Prompter::Answer::Yes};
                                         window.removeRoom();
                                     });
        row("rooms window, undo of a removed room", undo, roomsFloor, lines == 10000 ? 200 : 0);
    }
}

// The schedules of the lines: the Word document, PDF and the preview's pages.
void benchSchedules(const Project &project, const QString &appDir, int lines)
{
    const double aimPrint = lines == 10000 ? 2000 : 0;
    AppContext context(appDir);
    ScriptedPrompter prompter;
    PreviewPages previewPages;
    ReportWriter writer(prompter, appDir);
    writer.setPrinter(&previewPages);
    const Project &p = project;

    const QVector<bool> all(10, true);
    const auto buildLines = [&] { return CableLineReport::build(p.lines, all, context.calc.places()); };
    const double tableFloor = medianMs([&] { g_sink = g_sink + buildLines().rows.size(); });
    const QString doc = QDir::temp().filePath(QStringLiteral("kabinor-bench-%1.doc").arg(lines));
    const double word = medianMs([&] { writer.save(doc, p.projectName, CableLineReport::defaultTitle(), buildLines); });
    row("cable line schedule, Word document", word, tableFloor, aimPrint);
    const QString pdf = QDir::temp().filePath(QStringLiteral("kabinor-bench-%1.pdf").arg(lines));
    const double pdfMs = medianMs([&] { writer.save(pdf, p.projectName, CableLineReport::defaultTitle(), buildLines); });
    row("cable line schedule, PDF", pdfMs, tableFloor, aimPrint);
    const double preview = medianMs([&] { writer.print(p.projectName, CableLineReport::defaultTitle(), buildLines); });
    std::printf("  (%d pages)\n", previewPages.pages);
    row("cable line schedule, preview pages", preview, tableFloor, aimPrint);
    // And as a workbook: its floor is writing its bytes too.
    const QString xlsx = QDir::temp().filePath(QStringLiteral("kabinor-bench-%1.xlsx").arg(lines));
    const double workbook = medianMs([&] { writer.save(xlsx, p.projectName, CableLineReport::defaultTitle(), buildLines); });
    QFile xlsxFile(xlsx);
    xlsxFile.open(QIODevice::ReadOnly);
    const QByteArray xlsxBytes = xlsxFile.readAll();
    xlsxFile.close();
    const QString raw = QDir::temp().filePath(QStringLiteral("kabinor-bench-%1.raw").arg(lines));
    const double xlsxFloor = medianMs([&] {
        QFile out(raw);
        out.open(QIODevice::WriteOnly | QIODevice::Truncate);
        out.write(xlsxBytes);
    });
    row("cable line schedule, workbook", workbook, xlsxFloor);
    QFile::remove(doc);
    QFile::remove(pdf);
    QFile::remove(xlsx);
    QFile::remove(raw);

    Project kz = project;
    kz.Rt = 15;
    kz.Xt = 40;
    kz.Zt = 300;
    const double kzRows = medianMs([&] { g_sink = g_sink + ShortCircuitReport::build(kz, context.calc).rows.size(); });
    row("short-circuit report rows", kzRows, tableFloor);
}

void benchSize(int lines, QTemporaryDir &tmp, const QString &appDir, bool windows)
{
    const int shields = std::max(1, lines / 100);
    std::printf("\n%d lines, %d shields of 50 loads\n", lines, shields);
    const Project project = makeProject(lines, shields, 50, appDir);
    const QString path = tmp.filePath(QStringLiteral("bench-%1.kbp").arg(lines));
    ProjectFile::write(path, project);
    header();
    Floors floors;
    benchFiles(project, path, appDir, tmp, lines, floors);
    benchMainWindow(path, appDir, lines, floors);
    if (windows)
        benchWindows(project, appDir, lines);
    benchSchedules(project, appDir, lines);
    const QString expr = longExpression(lines);
    const double eval = medianMs([&] { g_sink = g_sink + evaluateExpression(expr).size(); });
    row("expression, one term a line", eval, floors.sum);
}

// A schedule whose one line has a name of n characters without a blank:
// the PDF lays it out a window at a time and carries it over as many pages
// as it takes; its floor is the Word document of the same schedule.
void benchLongCell(QTemporaryDir &tmp, const QString &appDir)
{
    std::printf("\nOne line named by a word of N characters, cable line report\n");
    ScriptedPrompter prompter;
    ReportWriter writer(prompter, appDir);
    const QVector<bool> all(10, true);
    const int runs = g_runs;
    g_runs = std::min(g_runs, 3);
    for (const int n : {100000, 1000000}) {
        QVector<CableLine> lines = makeProject(1, 0, 0, appDir).lines;
        lines[0].name = QString(n, QChar(0x0429));
        const QString pdf = tmp.filePath(QStringLiteral("long-%1.pdf").arg(n));
        const QString doc = tmp.filePath(QStringLiteral("long-%1.doc").arg(n));
        const auto build = [&] { return CableLineReport::build(lines, all, 2); };
        const double pdfMs = medianMs([&] { writer.save(pdf, QStringLiteral("Проект"), CableLineReport::defaultTitle(), build); });
        const double docMs = medianMs([&] { writer.save(doc, QStringLiteral("Проект"), CableLineReport::defaultTitle(), build); });
        QFile f(pdf);
        f.open(QIODevice::ReadOnly);
        // "/Type /Page" once for every page, and once more in "/Type /Pages".
        const qsizetype pages = f.readAll().count("/Type /Page") - 1;
        char what[64];
        std::snprintf(what, sizeof what, "PDF, %d characters (%lld pages)", n, (long long)pages);
        row(what, pdfMs, docMs);
    }
    g_runs = runs;
}

// A network of `lines` lines: each starts at the end of the line before it
// (a chain), all at the bus (a star), or three at the end of each line (a
// balanced tree), with devices on every other line.
Project makeNetwork(int lines, const char *shape, const QString &appDir)
{
    Project p = makeProject(lines, 1, 1, appDir);
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
            l.inputs->device.text = QStringLiteral("C");
            l.inputs->deviceRating.text = QStringLiteral("25");
            l.inputs->readValues();
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
        const Project p = makeNetwork(Lines, shape, appDir);
        const Network::Sources sources = Network::Sources::load(p, context);
        const double ms = medianMs([&] {
            const Network::Tree tree = Network::Tree::build(p.lines);
            g_sink = g_sink + Network::compute(p, tree, context.calc, sources).lines.size();
        });
        const QByteArray what = QByteArray("network computed, ") + shape;
        row(what.constData(), ms, sumBase);
    }
    {
        // The loads carried up a balanced tree: 1 000 shields of 50 loads
        // each at the ends of as many lines.
        Project p = makeNetwork(Lines, "balanced", appDir);
        for (int s = 0; s < 1000; ++s) {
            Shield shield{QStringLiteral("Щ") + QString::number(s + 1), {}, s + 1};
            for (int k = 0; k < 50; ++k) {
                Load load;
                load.cells[Load::InstalledPower] = QString::number(1 + k % 7);
                load.cells[Load::PowerFactor] = QStringLiteral("0,85");
                load.cells[Load::DemandFactor] = QStringLiteral("0,7");
                load.cells[Load::Phase] = k % 4 == 0 ? QStringLiteral("ABC") : QString(QChar(u'A' + k % 3));
                load.cells[Load::Phases] = k % 4 == 0 ? QStringLiteral("3") : QStringLiteral("1");
                load.cells[Load::Efficiency] = QStringLiteral("1");
                shield.loads << load;
            }
            p.shields << shield;
            p.lines[Lines - 1 - s].place.shield = s + 1;
        }
        const Network::Tree tree = Network::Tree::build(p.lines);
        const double ms = medianMs([&] { g_sink = g_sink + Network::computeLoads(p, tree).transformerLoad; });
        row("network loads, 1000 shields of 50", ms, sumBase);
    }
    // Every pair of devices in series, with a device on every line: alike
    // devices, so that no pair is selective in full and each one looks for
    // the device that would help.
    const Protection::BreakerTable breakers = Protection::BreakerTable::load(appDir);
    const TripCurves::CurveTable curves = TripCurves::CurveTable::load(appDir);
    for (const char *shape : {"chain", "balanced"}) {
        Project p = makeNetwork(Lines, shape, appDir);
        for (CableLine &l : p.lines) {
            l.inputs = LineInputs{};
            l.inputs->device.text = QStringLiteral("C");
            l.inputs->deviceRating.text = QStringLiteral("25");
            l.inputs->readValues();
        }
        p.transformerPower = QStringLiteral("400");
        const Network::Sources sources = Network::Sources::load(p, context);
        const Network::Tree tree = Network::Tree::build(p.lines);
        const Network::Result network = Network::compute(p, tree, context.calc, sources);
        const double pairs = medianMs([&] {
            g_sink = g_sink + Selectivity::compute(tree, network, breakers, curves, 2).pairs.size();
        });
        QByteArray what = QByteArray("selectivity, all pairs, ") + shape;
        row(what.constData(), pairs, sumBase);
        const double whole = medianMs([&] {
            const Network::Tree t = Network::Tree::build(p.lines);
            const Network::Result n = Network::compute(p, t, context.calc, sources);
            g_sink = g_sink + Selectivity::compute(t, n, breakers, curves, 2).pairs.size();
        });
        what = QByteArray("selectivity with the network, ") + shape;
        row(what.constData(), whole, sumBase);
    }
    for (const char *shape : {"chain", "balanced"}) {
        ScriptedPrompter prompter;
        MainWindow window(context, prompter);
        window.project().lines = makeNetwork(Lines, shape, appDir).lines;
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
        const Project p = makeNetwork(Lines, shape, appDir);
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
    window.project().lines = makeNetwork(Lines, "balanced", appDir).lines;
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
        {"one section of keys", writePathological(tmp, "keys.kbp", sound + "[Line1]\r\n", "Key=1\r\n", kSize)},
    };
    std::printf("\nFiles opened as projects (kabinor-cli summary of a sound small project: peak %ld KB)\n", basePeak);
    std::printf("  %-22s %9s %10s %9s %10s %10s %8s\n", "file", "size KB", "open ms", "ms/MB", "x normal", "peak KB",
                "x size");
    double normalPerByte = 0;
    for (const Case &c : cases) {
        const double bytes = double(QFileInfo(c.path).size());
        const double ms = medianMs([&] {
            Project p;
            ProjectCheck::read(c.path, p);
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
    QVector<int> sizes;
    bool files = true;
    bool windows = true;
    if (argc == 4 && QByteArray(argv[1]) == "--write") {
        const int lines = std::max(1, std::atoi(argv[3]));
        const Project project = makeProject(lines, std::max(1, lines / 100), 50, QCoreApplication::applicationDirPath());
        return ProjectFile::write(QString::fromLocal8Bit(argv[2]), project) ? 0 : 1;
    }
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--no-files")
            files = false;
        else if (arg == "--no-windows")
            windows = false;
        else if (i == 1)
            g_runs = std::max(1, arg.toInt());
        else if (arg.toInt() > 0)
            sizes << arg.toInt();
    }
    if (sizes.isEmpty())
        sizes = {5000, 10000};
    QTemporaryDir tmp;
    // A private copy of the data folder next to the program.
    const QString appDir = tmp.filePath(QStringLiteral("app"));
    QDir().mkpath(appDir);
    const QDir data(QCoreApplication::applicationDirPath());
    for (const QString &name : data.entryList(QDir::Files))
        if (name.endsWith(QLatin1String(".dat")) || name.endsWith(QLatin1String(".fls")))
            QFile::copy(data.filePath(name), appDir + QLatin1Char('/') + name);
    DataFiles::checkDataFiles(appDir);

    std::printf("Processor time, median of %d runs each; floor = the same work without the window or the "
                "format (plain I/O, one pass, the calculation alone); aim = what it must stay within.\n",
                g_runs);
    for (const int lines : sizes)
        benchSize(lines, tmp, appDir, windows);
    if (files && sizes.contains(10000)) {
        const QString normal = tmp.filePath(QStringLiteral("bench-10000.kbp"));
        std::printf("\nkabinor-cli summary on the 10 000-line project: peak %ld KB\n", cliPeakKb(normal, appDir));
        benchPathological(tmp, appDir, normal);
    }
    benchNetwork(appDir);
    benchDiagram(appDir);
    benchLongCell(tmp, appDir);
    return 0;
}
