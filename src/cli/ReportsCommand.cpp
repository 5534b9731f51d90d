// report-kl, report-kz, report-faults, report-protect, report-loads,
// report-lighting, report-network and report-journal: the schedules written as the application writes them, as a
// Word document, PDF or a workbook after OUT's extension.
#include "base/InputCheck.h"
#include "base/NumberText.h"
#include "cli/CliCommands.h"
#include "cli/CliProject.h"
#include "calc/network/CheckedPath.h"
#include "calc/network/NetworkCalc.h"
#include "calc/network/NetworkLoadUpdate.h"
#include "docs/schedules/CableJournalReport.h"
#include "docs/schedules/CableLineReport.h"
#include "docs/schedules/LightingReport.h"
#include "docs/schedules/FaultCurrentsReport.h"
#include "docs/schedules/LoadReport.h"
#include "docs/schedules/NetworkSchemeReport.h"
#include "docs/schedules/ProtectionReport.h"
#include "docs/writers/ReportWriter.h"
#include "docs/schedules/ShortCircuitReport.h"
#include "calc/shortcircuit/ShortCircuit.h"
#include "calc/shortcircuit/Transformer.h"

#include <QFileInfo>

#include <optional>

namespace {

// An existing file is replaced only on request; otherwise the overwrite
// question is the refusal (the command-line prompter answers it No).
bool mayWrite(CliContext &ctx, const QString &path)
{
    if (ctx.args.has(QStringLiteral("force")))
        return true;
    return !confirmOverwrite(path, ctx.prompter);
}

// The project of a report command and leave to write its output file (the
// two arguments); false when the command stops here.
bool openForReport(CliContext &ctx, Project &project, bool needsTransformer)
{
    const QString &projectPath = ctx.args.positional.at(0);
    // Never over the project itself, never in a format that is not one of ours.
    if (const QString problem = ReportWriter::outputProblem(ctx.args.positional.at(1), projectPath); !problem.isEmpty()) {
        ctx.refuse(problem);
        return false;
    }
    if (!(needsTransformer ? cliOpenProjectWithTransformer(ctx, projectPath, project)
                           : cliOpenProject(ctx, projectPath, project)))
        return false;
    return mayWrite(ctx, ctx.args.positional.at(1));
}

template<typename Builder>
int writeReport(CliContext &ctx, const QString &path, const Project &project, const QString &title,
                const ReportProgressPlan &plan, const Builder &build)
{
    ReportWriter writer(ctx.prompter, ctx.app.documentsFolder());
    writer.setProgressPlan(plan);
    writer.setProjectProperties(project.properties);
    QString cause;
    if (!writer.save(path, project.projectName, title, build, &cause))
        return ctx.refuse(ReportWriter::failureMessage(path, cause));
    ctx.out << ReportWriter::successMessage(path) << '\n';
    return 0;
}

// "1,3,5": 1-based column numbers of the schedule; an empty text picks none.
std::optional<QVector<bool>> parseColumns(const QString &text)
{
    const int count = int(CableLineReport::columnHeaders().size());
    QVector<bool> selected(count, false);
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int column = part.trimmed().toInt(&ok);
        if (!ok || column < 1 || column > count)
            return std::nullopt;
        selected[column - 1] = true;
    }
    return selected;
}

} // namespace

int cliReportKl(CliContext &ctx)
{
    const QString usageLine =
        QStringLiteral("report-kl ПРОЕКТ.kbp ФАЙЛ.doc|ФАЙЛ.pdf|ФАЙЛ.xlsx [--title ЗАГОЛОВОК] [--columns 1,2,...] [--force]");
    if (ctx.args.positional.size() != 2)
        return ctx.usage(usageLine);
    // The list's own columns unless others are picked.
    QVector<bool> selected(int(CableLineReport::columnHeaders().size()), false);
    for (int c = 0; c < CableLineReport::ListColumnCount; ++c)
        selected[c] = true;
    if (ctx.args.has(QStringLiteral("columns"))) {
        const auto picked = parseColumns(ctx.args.value(QStringLiteral("columns")));
        if (!picked)
            return ctx.usage(usageLine + QStringLiteral("\n--columns: номера столбцов от 1 до ")
                             + QString::number(CableLineReport::columnHeaders().size())
                             + QStringLiteral(" через запятую (11: cos φ, 12: индуктивное сопротивление, 13: защитный аппарат)"));
        selected = *picked;
    }
    const QString title = ctx.args.value(QStringLiteral("title"), CableLineReport::defaultTitle());

    Project project;
    if (!openForReport(ctx, project, false))
        return 1;
    const int places = ctx.app.calc.places();
    return writeReport(ctx, ctx.args.positional.at(1), project, title, ReportWriter::kDefaultPlan,
                       ReportWriter::TableBuilder([&] { return CableLineReport::build(project.lines, selected, places); }));
}

int cliReportKz(CliContext &ctx)
{
    const QString usageLine = QStringLiteral("report-kz ПРОЕКТ.kbp ФАЙЛ.doc|ФАЙЛ.pdf|ФАЙЛ.xlsx [--force]");
    if (ctx.args.positional.size() != 2)
        return ctx.usage(usageLine);
    Project opened;
    if (!openForReport(ctx, opened, true))
        return 1;
    if (const QString problem = ShortCircuit::inputProblem(opened); !problem.isEmpty())
        return ctx.refuse(problem);
    QString broken;
    const auto chained = Network::checkedPathProject(opened, &broken);
    if (!chained)
        return ctx.refuse(broken);
    const Project &project = *chained;
    const CalcValues &calc = ctx.app.calc;
    return writeReport(ctx, ctx.args.positional.at(1), project, ShortCircuitReport::title(), ShortCircuitReport::progressPlan(),
                       ReportWriter::TableBuilder([&] { return ShortCircuitReport::build(project, calc); }));
}

int cliReportLoads(CliContext &ctx)
{
    const QString usageLine = QStringLiteral("report-loads ПРОЕКТ.kbp ФАЙЛ.doc|ФАЙЛ.pdf|ФАЙЛ.xlsx [--force]");
    if (ctx.args.positional.size() != 2)
        return ctx.usage(usageLine);
    Project project;
    if (!openForReport(ctx, project, false))
        return 1;
    const int places = ctx.app.calc.places();
    return writeReport(ctx, ctx.args.positional.at(1), project, LoadReport::title(), ReportWriter::kDefaultPlan,
                       ReportWriter::SectionsBuilder([&] { return LoadReport::build(project.shields, places); }));
}

int cliReportLighting(CliContext &ctx)
{
    const QString usageLine = QStringLiteral("report-lighting ПРОЕКТ.kbp ФАЙЛ.doc|ФАЙЛ.pdf|ФАЙЛ.xlsx [--force]");
    if (ctx.args.positional.size() != 2)
        return ctx.usage(usageLine);
    Project project;
    if (!openForReport(ctx, project, false))
        return 1;
    const int places = ctx.app.calc.places();
    const Lighting::UtilisationTables tables = Lighting::UtilisationTables::load(ctx.app.appDir());
    return writeReport(ctx, ctx.args.positional.at(1), project, LightingReport::title(), ReportWriter::kDefaultPlan,
                       ReportWriter::SectionsBuilder([&] { return LightingReport::build(project.rooms, tables, places); }));
}

// The two schedules of the substation's currents refuse what their windows
// refuse: no transformer, inputs out of range, points or lines that could
// not be computed (the window's message, exit 1), before any file is touched.
// `compute` gives the result (nothing, with the message, when it cannot be
// had); `build` the schedule's sections from it.
template<typename Compute, typename Build>
int writeCurrentsReport(CliContext &ctx, const QString &usageLine, const QString &title, Compute compute, Build build)
{
    if (ctx.args.positional.size() != 2)
        return ctx.usage(usageLine);
    Project project;
    if (!cliOpenProject(ctx, ctx.args.positional.at(0), project))
        return 1;
    if (Transformer::powerValue(project.transformerPower) == 0)
        return ctx.refuse(Transformer::noPowerMessage());
    QString message;
    const auto result = compute(project, &message);
    if (!result)
        return ctx.refuse(message);
    if (!result->problems.isEmpty())
        return ctx.refuse(result->problems.join(QLatin1Char('\n')));
    if (!mayWrite(ctx, ctx.args.positional.at(1)))
        return 1;
    const int places = ctx.app.calc.places();
    return writeReport(ctx, ctx.args.positional.at(1), project, title, ReportWriter::kDefaultPlan,
                       ReportWriter::SectionsBuilder([&] { return build(project, *result, places); }));
}

int cliReportFaults(CliContext &ctx)
{
    return writeCurrentsReport(
        ctx, QStringLiteral("report-faults ПРОЕКТ.kbp ФАЙЛ.doc|ФАЙЛ.pdf|ФАЙЛ.xlsx [--force]"), FaultCurrentsReport::title(),
        [&ctx](const Project &project, QString *message) { return Network::faultCurrentsOf(project, ctx.app, message); },
        [](const Project &project, const FaultCurrents::Result &result, int places) {
            return FaultCurrentsReport::build(project, result, places);
        });
}

int cliReportProtect(CliContext &ctx)
{
    return writeCurrentsReport(
        ctx, QStringLiteral("report-protect ПРОЕКТ.kbp ФАЙЛ.doc|ФАЙЛ.pdf|ФАЙЛ.xlsx [--force]"), ProtectionReport::title(),
        [&ctx](const Project &project, QString *message) {
            return ProtectionReport::checkProject(project, ctx.app, message);
        },
        [](const Project &, const Protection::Result &result, int places) {
            return ProtectionReport::build(result, places);
        });
}

int cliReportJournal(CliContext &ctx)
{
    const QString usageLine = QStringLiteral("report-journal ПРОЕКТ.kbp ФАЙЛ.doc|ФАЙЛ.pdf|ФАЙЛ.xlsx [--force]");
    if (ctx.args.positional.size() != 2)
        return ctx.usage(usageLine);
    Project project;
    if (!openForReport(ctx, project, false))
        return 1;
    return writeReport(ctx, ctx.args.positional.at(1), project, CableJournalReport::title(), ReportWriter::kDefaultPlan,
                       ReportWriter::TableBuilder([&] { return CableJournalReport::build(project.lines); }));
}

// The network's schedule is written as the network window shows it: the
// drops are there even where the currents cannot be had (their cells "-",
// the reason on standard error).
int cliReportNetwork(CliContext &ctx)
{
    const QString usageLine = QStringLiteral("report-network ПРОЕКТ.kbp ФАЙЛ.doc|ФАЙЛ.pdf|ФАЙЛ.xlsx [--force]");
    if (ctx.args.positional.size() != 2)
        return ctx.usage(usageLine);
    Project project;
    if (!openForReport(ctx, project, false))
        return 1;
    // Lines fed by the network carry its current, as the application takes
    // it on opening, so that their drops are the network's too.
    Network::takeNetworkLoads(project, project.lines, ctx.app.appDir(), ctx.app.calc);
    const Network::Tree tree = Network::Tree::build(project.lines);
    const Network::Result result =
        Network::compute(project, tree, ctx.app.calc, Network::Sources::load(project, ctx.app));
    for (const QString &problem : result.problems)
        ctx.err << problem << '\n';
    const int places = ctx.app.calc.places();
    const double limit = ctx.app.calc.maxVoltageDrop;
    return writeReport(ctx, ctx.args.positional.at(1), project, NetworkSchemeReport::title(), ReportWriter::kDefaultPlan,
                       ReportWriter::SectionsBuilder(
                           [&] { return NetworkSchemeReport::build(project, tree, result, places, limit); }));
}
