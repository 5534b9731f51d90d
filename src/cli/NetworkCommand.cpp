// network: the network window's rows, every line in its place.
#include "cli/CliCommands.h"
#include "cli/CliProject.h"
#include "calc/network/NetworkCalc.h"
#include "calc/network/NetworkTexts.h"

int cliNetwork(CliContext &ctx)
{
    if (ctx.args.positional.size() != 1)
        return ctx.usage(QStringLiteral("network ПРОЕКТ.kbp"));
    Project project;
    if (!cliOpenProject(ctx, ctx.args.positional.first(), project))
        return 1;
    const Network::Tree tree = Network::Tree::build(project.lines);
    const Network::Result result =
        Network::compute(project, tree, ctx.app.calc, Network::Sources::load(project, ctx.app));
    // What kept currents or checks from being had is told, as the window
    // tells it; the drops are there all the same.
    for (const QString &problem : result.problems)
        ctx.err << problem << '\n';
    const int places = ctx.app.calc.places();
    const double limit = ctx.app.calc.maxVoltageDrop;
    ctx.out << Network::commandLineFields(Network::busRow(result, places)).join(QLatin1Char('\t')) << '\n';
    for (const int line : tree.order())
        ctx.out << Network::commandLineFields(Network::lineRow(project, tree, result, line, places, limit))
                       .join(QLatin1Char('\t'))
                << '\n';
    return 0;
}
