#include "cli/CliCommands.h"
#include "cli/CliProject.h"
#include "calc/loads/LoadCalc.h"

int cliLoad(CliContext &ctx)
{
    if (!ctx.args.positional.isEmpty())
        return ctx.usage(QStringLiteral("load --name ИМЯ --power P --cosf X --ks X [--phases 1|3] [--phase A|B|C] [--kpd X]"));
    const QString phases = ctx.args.value(QStringLiteral("phases"), QStringLiteral("1"));
    const QString phase = ctx.args.value(QStringLiteral("phase"), QStringLiteral("A"));
    if ((phases != QLatin1String("1") && phases != QLatin1String("3"))
        || (phase != QLatin1String("A") && phase != QLatin1String("B") && phase != QLatin1String("C")))
        return ctx.usage(QStringLiteral("load ... --phases 1|3 --phase A|B|C"));

    LoadCalc::LoadInput in;
    in.name = ctx.args.value(QStringLiteral("name"));
    // The texts become cells of the load: numbers with the decimal comma.
    in.power = cliNumberText(ctx.args.value(QStringLiteral("power")));
    in.cosf = cliNumberText(ctx.args.value(QStringLiteral("cosf")));
    in.ks = cliNumberText(ctx.args.value(QStringLiteral("ks")));
    in.threePhase = phases == QLatin1String("3");
    in.phase = phase;
    in.kpd = cliNumberText(ctx.args.value(QStringLiteral("kpd"), QStringLiteral("1")));
    // The dialog's checks, with its messages on standard error.
    if (LoadCalc::checkLoadInput(in, ctx.prompter) != LoadCalc::Field::None)
        return 1;
    const Load load = LoadCalc::computeLoad(in, ctx.app.calc.places());
    QStringList texts{load.name};
    texts += load.cells;
    ctx.out << texts.join(QLatin1Char('\t')) << '\n';
    return 0;
}

int cliShield(CliContext &ctx)
{
    const QString usage = QStringLiteral("shield ПРОЕКТ.kbp [--index K]");
    if (ctx.args.positional.size() != 1)
        return ctx.usage(usage);
    bool ok = false;
    const int index = ctx.args.value(QStringLiteral("index"), QStringLiteral("1")).toInt(&ok);
    if (!ok || index < 1)
        return ctx.usage(usage);
    Project project;
    if (!cliOpenProject(ctx, ctx.args.positional.first(), project))
        return 1;
    if (index > project.shields.size()) {
        ctx.err << "kabinor-cli: щитов в проекте: " << project.shields.size() << Qt::endl;
        return ctx.usage(usage);
    }
    const LoadCalc::ShieldTotals t =
        LoadCalc::recalcShieldTotals(project.shields.at(index - 1).loads, ctx.app.calc.places());
    const std::pair<QString, QString> rows[] = {
        {QStringLiteral("Мощность установленная"), t.installedPower},
        {QStringLiteral("Мощность расчетная"), t.designPower},
        {QStringLiteral("Полная мощность"), t.apparentPower},
        {QStringLiteral("Ток"), t.current},
        {QStringLiteral("Коэффициент мощности"), t.powerFactor},
        {QStringLiteral("Фаза \u0410 кВА"), t.phasePower[0]},
        {QStringLiteral("Фаза \u0410 \u0410"), t.phaseCurrent[0]},
        {QStringLiteral("Фаза B кВА"), t.phasePower[1]},
        {QStringLiteral("Фаза B \u0410"), t.phaseCurrent[1]},
        {QStringLiteral("Фаза C кВА"), t.phasePower[2]},
        {QStringLiteral("Фаза C \u0410"), t.phaseCurrent[2]},
        {QStringLiteral("Ток нулевого проводника"), t.neutralCurrent},
        {QStringLiteral("Неравномерность, %"), t.imbalance},
    };
    for (const auto &[caption, value] : rows)
        ctx.out << caption << '\t' << value << '\n';
    return 0;
}
