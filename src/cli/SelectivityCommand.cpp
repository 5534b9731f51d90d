// selectivity: every pair of devices in series, as the selectivity window lists them.
#include "cli/CliCommands.h"
#include "cli/CliProject.h"
#include "calc/selectivity/Selectivity.h"

int cliSelectivity(CliContext &ctx)
{
    if (ctx.args.positional.size() != 1)
        return ctx.usage(QStringLiteral("selectivity ПРОЕКТ.kbp"));
    Project project;
    if (!cliOpenProject(ctx, ctx.args.positional.first(), project))
        return 1;
    const Selectivity::Result result = Selectivity::of(project, ctx.app);
    for (const QString &problem : result.problems)
        ctx.err << problem << '\n';
    const int places = ctx.app.calc.places();
    for (const Selectivity::Pair &pair : result.pairs)
        ctx.out << Selectivity::commandLineFields(project, pair, places).join(QLatin1Char('\t')) << '\n';
    return 0;
}
