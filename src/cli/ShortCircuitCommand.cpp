// tp and kz: the transformer dialog's lookup and the short-circuit window's
// calculation, on the same code as the windows.
#include "base/InputCheck.h"
#include "base/NumberText.h"
#include "cli/CliCommands.h"
#include "cli/CliProject.h"
#include "calc/lines/LineCalc.h"
#include "calc/network/CheckedPath.h"
#include "calc/network/NetworkCalc.h"
#include "calc/protection/Protection.h"
#include "docs/schedules/ProtectionReport.h"
#include "calc/shortcircuit/FaultCurrents.h"
#include "calc/shortcircuit/ShortCircuit.h"
#include "calc/shortcircuit/Transformer.h"

#include <cmath>

int cliTp(CliContext &ctx)
{
    const QString usageLine = QStringLiteral("tp [--power P] [--hs-length L --hs-material M --hs-section S]");
    if (!ctx.args.positional.isEmpty())
        return ctx.usage(usageLine);

    // A project without a transformer is offered 400 kVA.
    double power = 400;
    if (ctx.args.has(QStringLiteral("power"))) {
        const auto p = NumberText::parse(ctx.args.value(QStringLiteral("power")));
        if (!p)
            return ctx.usage(usageLine);
        power = *p;
    }

    const bool supplyLine = ctx.args.has(QStringLiteral("hs-length")) || ctx.args.has(QStringLiteral("hs-material"))
                            || ctx.args.has(QStringLiteral("hs-section"));
    const QString material = ctx.args.value(QStringLiteral("hs-material"), LineCalc::aluminium());
    const QString length = ctx.args.value(QStringLiteral("hs-length"));
    const QString section = ctx.args.value(QStringLiteral("hs-section"));
    if (supplyLine) {
        if (material != LineCalc::aluminium() && material != LineCalc::copper())
            return ctx.usage(usageLine + QStringLiteral("\n--hs-material is Алюминий or Медь"));
        // The checks of the dialog's OK, section first.
        if (!InputCheck::report(section, ctx.prompter) || !InputCheck::report(length, ctx.prompter))
            return 1;
    }

    const TransformerTable table = Transformer::readTransformerTable(ctx.app.appDir());
    if (table.status != TransformerTable::Status::Ok)
        return ctx.refuse(table.problem());
    Project project;
    if (Transformer::selectTransformer(table, float(power), project) < 0)
        return ctx.refuse(unknownTransformerMessage(power, table));
    project.Rnet = supplyLine ? Transformer::supplyLineResistance(length, material, section, ctx.app.calc) : 0.0;

    ctx.out << table.powerTexts().join(QLatin1Char('\t')) << '\n'
            << NumberText::format(project.Rt) << '\t' << NumberText::format(project.Xt) << '\t'
            << NumberText::format(project.Zt) << '\n'
            << NumberText::format(project.Rnet) << '\n';
    return 0;
}

int cliKz(CliContext &ctx)
{
    const QString usageLine = QStringLiteral("kz PROJECT.kbp [--stages N]");
    if (ctx.args.positional.size() != 1)
        return ctx.usage(usageLine);
    Project opened;
    if (!cliOpenProjectWithTransformer(ctx, ctx.args.positional.first(), opened))
        return 1;
    // The checked lines are chained only when they are one path of the network.
    QString broken;
    const auto chained = Network::checkedPathProject(opened, &broken);
    if (!chained)
        return ctx.refuse(broken);
    const Project &project = *chained;

    int stages = ShortCircuit::initialStageCount(project.lines);
    if (ctx.args.has(QStringLiteral("stages"))) {
        const auto n = NumberText::parse(ctx.args.value(QStringLiteral("stages")));
        const int max = ShortCircuit::maxStageCount(project.lines);
        if (!n || *n != std::floor(*n) || *n < 0 || *n > max)
            return ctx.usage(usageLine + QStringLiteral("\n--stages is a whole number from 0 to ") + QString::number(max));
        stages = int(*n);
    }

    const ShortCircuit::ShownCurrents shown = ShortCircuit::shownCurrents(project, stages, ctx.app.calc);
    for (const ShortCircuit::ShownCurrent &c : shown)
        ctx.out << c.text << '\t' << (c.unit.isEmpty() ? ShortCircuit::initialUnitLabel() : c.unit) << '\n';
    return 0;
}

int cliFaults(CliContext &ctx)
{
    const QString usageLine = QStringLiteral("faults PROJECT.kbp [--sk MVA] [--group Y|D] [--hv 6|10]");
    if (ctx.args.positional.size() != 1)
        return ctx.usage(usageLine);
    Project project;
    if (!cliOpenProject(ctx, ctx.args.positional.first(), project))
        return 1;
    // The options stand for the project's values in this run only.
    if (ctx.args.has(QStringLiteral("sk")))
        project.systemPower = ctx.args.value(QStringLiteral("sk"));
    if (ctx.args.has(QStringLiteral("group"))) {
        const QString group = ctx.args.value(QStringLiteral("group"));
        if (group != QLatin1String("Y") && group != QLatin1String("D"))
            return ctx.usage(usageLine);
        project.transformerGroup = group;
    }
    if (ctx.args.has(QStringLiteral("hv")))
        project.supplyVoltage = ctx.args.value(QStringLiteral("hv"));

    QString message;
    const auto result = Network::faultCurrentsOf(project, ctx.app, &message);
    if (!result)
        return ctx.refuse(message);
    // A point that cannot be computed makes the whole schedule unsound.
    if (!result->problems.isEmpty())
        return ctx.refuse(result->problems.join(QLatin1Char('\n')));
    for (const FaultCurrents::Point &point : result->points)
        ctx.out << FaultCurrents::pointTexts(point, ctx.app.calc.places()).join(QLatin1Char('\t')) << '\n';
    return 0;
}

int cliProtect(CliContext &ctx)
{
    const QString usageLine = QStringLiteral("protect PROJECT.kbp [--choose]");
    if (ctx.args.positional.size() != 1)
        return ctx.usage(usageLine);
    Project project;
    if (!cliOpenProject(ctx, ctx.args.positional.first(), project))
        return 1;
    // "Подобрать" for every line without a device, in this run only.
    QString message;
    const auto result = ProtectionReport::checkProject(project, ctx.app, &message, ctx.args.has(QStringLiteral("choose")));
    if (!result)
        return ctx.refuse(message);
    if (!result->problems.isEmpty())
        return ctx.refuse(result->problems.join(QLatin1Char('\n')));
    for (const QString &note : result->notes)
        ctx.err << note << '\n';
    for (const QString &damage : result->damage)
        ctx.err << damage << '\n';
    if (!result->damage.isEmpty())
        ctx.projectDamaged = true;
    for (const Protection::LineCheck &line : result->lines)
        ctx.out << Protection::lineTexts(line, ctx.app.calc.places()).join(QLatin1Char('\t')) << '\n';
    return 0;
}
