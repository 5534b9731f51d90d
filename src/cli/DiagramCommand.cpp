// diagram: the single-line diagram of the network as PDF, SVG or DXF after
// OUT's extension.
#include "base/InputCheck.h"
#include "base/TextFile.h"
#include "cli/CliCommands.h"
#include "cli/CliProject.h"
#include "docs/schedules/SingleLineDiagram.h"

int cliDiagram(CliContext &ctx)
{
    const QString usageLine = QStringLiteral("diagram ПРОЕКТ.kbp ФАЙЛ.pdf|ФАЙЛ.svg|ФАЙЛ.dxf [--sheet A3|A4] [--force]");
    if (ctx.args.positional.size() != 2)
        return ctx.usage(usageLine);
    const QString out = ctx.args.positional.at(1);
    if (!SingleLineDiagram::knownExtension(out))
        return ctx.usage(usageLine);
    const QString sheet = ctx.args.value(QStringLiteral("sheet"), QStringLiteral("A3")).toUpper();
    if (sheet != QLatin1String("A3") && sheet != QLatin1String("A4"))
        return ctx.usage(usageLine);
    Project project;
    if (!cliOpenProject(ctx, ctx.args.positional.at(0), project))
        return 1;
    // An existing file is replaced only on request; otherwise the overwrite
    // question is the refusal (the command-line prompter answers it No).
    if (!ctx.args.has(QStringLiteral("force")) && confirmOverwrite(out, ctx.prompter))
        return 1;
    const SingleLineDiagram::Diagram diagram = SingleLineDiagram::buildFor(
        project, ctx.app, sheet == QLatin1String("A4") ? SingleLineDiagram::SheetFormat::A4 : SingleLineDiagram::SheetFormat::A3);
    if (diagram.leftOut > 0)
        ctx.err << SingleLineDiagram::leftOutText(diagram.leftOut) << '\n';
    const QByteArray bytes = SingleLineDiagram::fileBytes(diagram, out);
    if (bytes.isEmpty() || !TextFile::writeBytes(out, bytes))
        return ctx.refuse(SingleLineDiagram::failureMessage(out));
    ctx.out << SingleLineDiagram::successMessage(out) << '\n';
    return 0;
}
