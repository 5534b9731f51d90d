#include "calc/calculator/Evaluator.h"
#include "cli/CliCommands.h"

int cliEval(CliContext &ctx)
{
    if (ctx.args.positional.size() != 1)
        return ctx.usage(QStringLiteral("eval [--] ВЫРАЖЕНИЕ"));
    // The message goes to standard error through the prompter, the marker to standard output.
    const QString result = evaluateExpression(ctx.args.positional.first(), ctx.prompter);
    ctx.out << result << '\n';
    return result == Evaluator::errorMarker() ? 1 : 0;
}
