#include "cli/CliCommands.h"
#include "cli/CliProject.h"
#include "calc/network/CheckedPath.h"

int cliSummary(CliContext &ctx)
{
    if (ctx.args.positional.size() != 1)
        return ctx.usage(QStringLiteral("summary ПРОЕКТ.kbp"));
    Project project;
    if (!cliOpenProject(ctx, ctx.args.positional.first(), project))
        return 1;
    const SummaryText s = Network::summarize(project.lines, ctx.app.calc.maxVoltageDrop);
    ctx.out << s.panel1 << '\n' << s.panel2 << '\n';
    return 0;
}
