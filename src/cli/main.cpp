#include "base/AppContext.h"
#include "base/DataFileRegistry.h"
#include "base/InputCheck.h"
#include "base/NumberText.h"
#include "base/Version.h"
#include "cli/CliCommands.h"
#include "docs/writers/ReportPages.h"

#include <clocale>

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>
#include <memory>

const QVector<CliCommand> &cliCommands()
{
    static const QVector<CliCommand> commands = {
        {"summary", "summary PROJECT.kbp", "total voltage drop and warnings of the checked lines", {}, {}, cliSummary,
         true},
        {"line",
         "line [--net 220|380] [--type N] [--laying air|ground] [--material Медь|Алюминий] --section S --length L "
         "--current TEXT [--cos-phi C] [--ambient T] [--cables N] [--spacing 100|200|300] [--neutral S0] [--name NAME] "
         "[--mark MARK]",
         "the ten cells of one cable line, as the line dialog computes it (--type 4: five-core; --cables and "
         "--spacing count in the ground)",
         {QStringLiteral("net"), QStringLiteral("type"), QStringLiteral("laying"), QStringLiteral("material"),
          QStringLiteral("section"), QStringLiteral("length"), QStringLiteral("current"), QStringLiteral("neutral"),
          QStringLiteral("name"), QStringLiteral("mark"), QStringLiteral("cos-phi"), QStringLiteral("ambient"),
          QStringLiteral("cables"), QStringLiteral("spacing")},
         {}, cliLine},
        {"sections",
         "sections [--net 220|380] [--type N] [--laying air|ground] [--material Медь|Алюминий] [--ambient T] "
         "[--cables N] [--spacing 100|200|300]",
         "the cross-sections that the line dialog offers for a construction",
         {QStringLiteral("net"), QStringLiteral("type"), QStringLiteral("laying"), QStringLiteral("material"),
          QStringLiteral("cos-phi"), QStringLiteral("ambient"), QStringLiteral("cables"), QStringLiteral("spacing")},
         {}, cliSections},
        {"propose",
         "propose [--net 220|380] [--type N] [--laying air|ground] [--material Медь|Алюминий] [--ambient T] "
         "[--cables N] [--spacing 100|200|300] --current TEXT",
         "the cross-section that \"Предложение\" chooses for a load current, with the corrected permissible currents",
         {QStringLiteral("net"), QStringLiteral("type"), QStringLiteral("laying"), QStringLiteral("material"),
          QStringLiteral("current"), QStringLiteral("cos-phi"), QStringLiteral("ambient"), QStringLiteral("cables"),
          QStringLiteral("spacing")},
         {}, cliPropose},
        {"currents", "currents PROJECT.kbp [--net 220|380]",
         "the load currents that the line dialog offers from the shields of a project",
         {QStringLiteral("net")}, {}, cliCurrents, true},
        {"eval", "eval [--] EXPRESSION", "value of an arithmetic expression, as the line calculator gives it", {}, {},
         cliEval},
        {"load", "load --name N --power P --cosf X --ks X [--phases 1|3] [--phase A|B|C] [--kpd X]",
         "the ten texts of one load, as the load dialog computes them",
         {"name", "power", "cosf", "ks", "phases", "phase", "kpd"}, {}, cliLoad},
        {"shield", "shield PROJECT.kbp [--index K]",
         "the eleven totals of a shield of a project, its neutral current and the imbalance of its phases",
         {"index"}, {}, cliShield, true},
        {"tp", "tp [--power P] [--hs-length L --hs-material M --hs-section S]",
         "powers of the transformer file, Rt Xt Zt of the chosen power and Rnet of the supply line",
         {QStringLiteral("power"), QStringLiteral("hs-length"), QStringLiteral("hs-material"), QStringLiteral("hs-section")},
         {}, cliTp},
        {"kz", "kz PROJECT.kbp [--stages N]",
         "short-circuit currents at the end of the checked lines (refused when they are not one path of the network)",
         {QStringLiteral("stages")}, {}, cliKz, true},
        {"faults", "faults PROJECT.kbp [--sk MVA] [--group Y|D] [--hv 6|10]",
         "short-circuit currents by ГОСТ 28249-93 at the substation and at the end of every line of the network, "
         "in tree order: Iк(3) max, Iк(2), Iк(1) max, Iк(1) min, Kуд, iуд (kA)",
         {QStringLiteral("sk"), QStringLiteral("group"), QStringLiteral("hv")}, {}, cliFaults, true},
        {"protect", "protect PROJECT.kbp [--choose]",
         "checks of the protective device of every line of the network, in tree order: overload, disconnection, "
         "breaking capacity, thermal withstand (--choose: for lines without a device the smallest breaker with "
         "Ib <= In <= Iz that passes the checks, C, B, D, then industrial)",
         {}, {QStringLiteral("choose")}, cliProtect, true},
        {"network", "network PROJECT.kbp",
         "the network in tree order: the bus (\"ТП\", level 0), then every line under the line it starts at, one "
         "per line, TAB-separated: level, name, the line it starts at (\"ТП\" the bus, \"?\" not set), board, "
         "load current (A), permissible current (A), drop of the line and from the bus (%), Iк(3) max and Iк(1) min "
         "at its end (kA), device, checks (\"да\" or the first failing one); \"-\" where a value does not apply or "
         "cannot be had, with the reason on standard error",
         {}, {}, cliNetwork, true},
        {"light",
         "light [--length L] [--width W] [--h1 H1] [--h2 H2] [--kz KZ] [--en E] [--lamp-type K] [--lamp-power P] "
         "[--lamps N]",
         "number of luminaires of a room and their grid, as the lighting window computes them",
         {QStringLiteral("length"), QStringLiteral("width"), QStringLiteral("h1"), QStringLiteral("h2"),
          QStringLiteral("kz"), QStringLiteral("en"), QStringLiteral("lamp-type"), QStringLiteral("lamp-power"),
          QStringLiteral("lamps")},
         {}, cliLight},
        {"light-room",
         "light-room --length A --width B --height H --plane HP [--hang HC] --reflect 70/50/30 --curve TYPE --norm E "
         "--kz KZ --z Z --flux F --power P [--lamps N --efficiency PERCENT]",
         "one room by the utilisation-factor method: i, η, N, grid, average illuminance (lx), installed power (W), "
         "W/m²; an LED luminaire unless --lamps or --efficiency make it one with lamps (flux and power of one lamp)",
         {QStringLiteral("length"), QStringLiteral("width"), QStringLiteral("height"), QStringLiteral("plane"),
          QStringLiteral("hang"), QStringLiteral("reflect"), QStringLiteral("curve"), QStringLiteral("norm"),
          QStringLiteral("kz"), QStringLiteral("z"), QStringLiteral("flux"), QStringLiteral("power"),
          QStringLiteral("lamps"), QStringLiteral("efficiency")},
         {}, cliLightRoom},
        {"lighting", "lighting PROJECT.kbp",
         "the rooms of a project, one per line: name, i, η, N, grid, average illuminance (lx), installed power (W), "
         "W/m²",
         {}, {}, cliLighting, true},
        {"report-kl", "report-kl PROJECT.kbp OUT.doc|OUT.pdf|OUT.xlsx [--title TITLE] [--columns 1,2,...] [--force]",
         "the cable line schedule of the checked lines as a document (Word, PDF or workbook after OUT's extension)",
         {QStringLiteral("title"), QStringLiteral("columns")}, {QStringLiteral("force")}, cliReportKl, true},
        {"report-kz", "report-kz PROJECT.kbp OUT.doc|OUT.pdf|OUT.xlsx [--force]",
         "the short-circuit schedule of the checked lines as a document (Word, PDF or workbook after OUT's extension; "
         "refused when they are not one path of the network)",
         {}, {QStringLiteral("force")}, cliReportKz, true},
        {"report-faults", "report-faults PROJECT.kbp OUT.doc|OUT.pdf|OUT.xlsx [--force]",
         "the schedule of the short-circuit currents by ГОСТ 28249-93 with its inputs and the impedance sums of "
         "every point of the network in tree order, as a document (Word, PDF or workbook after OUT's extension)",
         {}, {QStringLiteral("force")}, cliReportFaults, true},
        {"report-protect", "report-protect PROJECT.kbp OUT.doc|OUT.pdf|OUT.xlsx [--force]",
         "the schedule of the protective devices of every line of the network with the figures behind every check "
         "and the reason of every failed one, as a document (Word, PDF or workbook after OUT's extension)",
         {}, {QStringLiteral("force")}, cliReportProtect, true},
        {"report-loads", "report-loads PROJECT.kbp OUT.doc|OUT.pdf|OUT.xlsx [--force]",
         "the load schedule of the shields, one table per shield, as a document (Word, PDF or workbook after OUT's "
         "extension)",
         {}, {QStringLiteral("force")}, cliReportLoads, true},
        {"report-lighting", "report-lighting PROJECT.kbp OUT.doc|OUT.pdf|OUT.xlsx [--force]",
         "the lighting schedule of the rooms as a document (Word, PDF or workbook after OUT's extension)", {},
         {QStringLiteral("force")}, cliReportLighting, true},
        {"report-journal", "report-journal PROJECT.kbp OUT.doc|OUT.pdf|OUT.xlsx [--force]",
         "the cable journal: every line of the network in tree order with its route, its cable by design and empty "
         "columns for the cable laid, as a document (Word, PDF or workbook after OUT's extension)",
         {}, {QStringLiteral("force")}, cliReportJournal, true},
    };
    return commands;
}

namespace {

const QStringList kCommonOptions = {QStringLiteral("app-dir"), QStringLiteral("gcu"), QStringLiteral("gal"),
                                    QStringLiteral("dumax"), QStringLiteral("tolerance")};

void printHelp(QTextStream &out)
{
    out << "kabinor-cli " << Version::fullText() << ": the calculations of Кабинор without a screen\n\n"
        << "usage: kabinor-cli COMMAND [OPTIONS]\n\ncommands:\n";
    for (const CliCommand &c : cliCommands())
        out << "  " << QString::fromUtf8(c.usage) << "\n      " << QString::fromUtf8(c.summary) << '\n';
    out << "\ncommon options:\n"
        << "  --app-dir DIR     application folder (data files and settings)\n"
        << "  --gcu X --gal X   conductivities of copper and aluminium\n"
        << "  --dumax X         limit of the total voltage drop, %\n"
        << "  --tolerance N     decimal places of results\n"
        << "  --                ends the options (eval -- -2+3)\n"
        << "\nexit codes: 0 done, 1 input refused, 2 wrong usage, 3 done on a damaged project\n"
        << "kabinor-cli COMMAND --help shows the options of a command.\n";
}

} // namespace

namespace {

// The reports are drawn with fonts, which needs the GUI side of Qt (never a
// screen); every other command runs on the core alone.
std::unique_ptr<QCoreApplication> makeApplication(int &argc, char *argv[])
{
    if (argc > 1 && QByteArray(argv[1]).startsWith("report-")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // What the platform says while it starts (a missing desktop session,
        // say) is no concern of a command that never shows a window.
        const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        auto app = std::make_unique<QGuiApplication>(argc, argv);
        qInstallMessageHandler(previous);
        ReportPages::install();
        return app;
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

int main(int argc, char *argv[])
{
    const std::unique_ptr<QCoreApplication> application = makeApplication(argc, argv);
    QCoreApplication &app = *application;
    // Number texts are ours (decimal comma); C functions must not follow the system locale.
    std::setlocale(LC_NUMERIC, "C");
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);

    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        printHelp(err);
        return 2;
    }
    if (args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        printHelp(out);
        return 0;
    }
    const QString name = args.takeFirst();
    const CliCommand *command = nullptr;
    for (const CliCommand &c : cliCommands())
        if (name == QLatin1String(c.name))
            command = &c;
    if (!command) {
        err << "kabinor-cli: unknown command '" << name << "'" << Qt::endl;
        printHelp(err);
        return 2;
    }
    const QString usageLine = QString::fromUtf8(command->usage);
    const qsizetype optionsEnd = args.indexOf(QStringLiteral("--"));
    if (args.mid(0, optionsEnd < 0 ? args.size() : optionsEnd).contains(QStringLiteral("--help"))) {
        out << "usage: kabinor-cli " << usageLine << '\n' << QString::fromUtf8(command->summary) << '\n';
        if (!command->options.isEmpty())
            out << "options: --" << command->options.join(QStringLiteral(", --")) << '\n';
        if (command->opensProject)
            out << "exit code 3: the project is damaged; the command did its work on what could be read "
                   "and told the damage on standard error\n";
        return 0;
    }

    QString error;
    auto parsed = CliArgs::parse(args, command->flags, &error);
    if (!parsed) {
        err << "usage: kabinor-cli " << usageLine << "\n" << error << Qt::endl;
        return 2;
    }
    // The first unknown option in the order given is named.
    for (const QString &key : parsed->keys()) {
        if (!kCommonOptions.contains(key) && !command->options.contains(key) && !command->flags.contains(key)) {
            err << "usage: kabinor-cli " << usageLine << "\nunknown option --" << key << Qt::endl;
            return 2;
        }
    }

    AppContext context = AppContext::forExecutable(parsed->value(QStringLiteral("app-dir")),
                                                   QCoreApplication::applicationDirPath());
    if (!QFileInfo::exists(DataFiles::registryPath(context.appDir()))) {
        err << DataFiles::missingFileMessage(DataFiles::shownPath(context.appDir(), QStringLiteral("\\files.fls")))
            << Qt::endl;
        return 1;
    }
    context.prepareUserFiles();
    context.calc = CalcValues::load(context.settings().read());
    struct Override {
        const char *key;
        double *target;
    };
    const Override overrides[] = {{"gcu", &context.calc.copperConductivity}, {"gal", &context.calc.aluminiumConductivity},
                                  {"dumax", &context.calc.maxVoltageDrop}, {"tolerance", &context.calc.decimalPlaces}};
    CliPrompter prompter(err);
    for (const Override &o : overrides) {
        const QString key = QString::fromLatin1(o.key);
        if (!parsed->has(key))
            continue;
        // The options dialog's rule and messages.
        const QString text = parsed->value(key);
        switch (InputCheck::classify(text)) {
        case InputCheck::Numeric::Ok:
            *o.target = NumberText::toDouble(text);
            break;
        case InputCheck::Numeric::Empty:
        case InputCheck::Numeric::NotNumber:
            err << "usage: kabinor-cli " << usageLine << "\n--" << key << " needs a number" << Qt::endl;
            return 2;
        case InputCheck::Numeric::NotPositive:
        case InputCheck::Numeric::TooLarge:
            InputCheck::report(text, prompter);
            return 1;
        }
    }

    CliContext ctx{context, *parsed, out, err, prompter};
    int rc = command->run(ctx);
    if (rc == 0 && ctx.projectDamaged)
        rc = DamagedProjectExitCode;
    out.flush();
    err.flush();
    return rc;
}
