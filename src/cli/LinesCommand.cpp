// line, sections, propose: the cable line dialog's calculations.
#include "base/InputCheck.h"
#include "base/NumberText.h"
#include "cli/CliCommands.h"
#include "cli/CliProject.h"
#include "calc/lines/LineEntry.h"
#include "calc/lines/PermissibleTables.h"

#include <optional>

namespace {

const char *const kChoiceUsage =
    "[--net 220|380] [--type N] [--laying air|ground] [--material Медь|Алюминий] [--ambient T] [--cables N] "
    "[--spacing 100|200|300]";

QString usageOf(const char *command, const char *extra = "")
{
    QString line = QString::fromUtf8(command) + QLatin1Char(' ') + QString::fromUtf8(kChoiceUsage);
    if (*extra)
        line += QLatin1Char(' ') + QString::fromUtf8(extra);
    return line;
}

// The construction options as the dialog's lists would hold them; nothing on wrong usage.
std::optional<Permissible::Choice> parseChoice(const CliArgs &args)
{
    Permissible::Choice c;
    const QString net = args.value(QStringLiteral("net"), QStringLiteral("380"));
    if (net == QLatin1String("220"))
        c.net = NetworkType::SinglePhase;
    else if (net == QLatin1String("380"))
        c.net = NetworkType::ThreePhase;
    else
        return std::nullopt;

    bool ok = false;
    const int type = args.value(QStringLiteral("type"), QStringLiteral("2")).toInt(&ok);
    const int types = int(LineCalc::constructionChoices(c.net).size());
    if (!ok || type < 0 || type >= types)
        return std::nullopt;
    // The dialog selects "три одножильных" and "трехжильный" when it opens.
    c.type1 = c.net == NetworkType::SinglePhase ? type : 2;
    c.type2 = c.net == NetworkType::ThreePhase ? type : 2;

    const QString laying = args.value(QStringLiteral("laying"), QStringLiteral("air"));
    if (laying == QLatin1String("air"))
        c.type3 = Permissible::InAir;
    else if (laying == QLatin1String("ground"))
        c.type3 = Permissible::InGround;
    else
        return std::nullopt;

    const int material = int(Permissible::materialNames().indexOf(
        args.value(QStringLiteral("material"), LineCalc::aluminium())));
    if (material < 0)
        return std::nullopt;
    c.material = material;

    if (Permissible::mustLayInAir(c))
        c.type3 = Permissible::InAir;
    return c;
}

// The power factor and the laying conditions, checked as the dialog checks
// them; an exit code when they are refused.
std::optional<int> readConditions(CliContext &ctx, LineEntry::Request &request)
{
    request.cosPhiText = ctx.args.value(QStringLiteral("cos-phi"), QStringLiteral("1"));
    request.ambientText = ctx.args.value(QStringLiteral("ambient"));
    bool ok = false;
    request.cables = ctx.args.value(QStringLiteral("cables"), QStringLiteral("1")).toInt(&ok);
    if (!ok)
        return ctx.refuse(Permissible::cablesMessage());
    request.spacing = ctx.args.value(QStringLiteral("spacing"), QStringLiteral("100")).toInt(&ok);
    if (!ok)
        return ctx.refuse(Permissible::spacingMessage());
    QString message;
    if (LineEntry::checkConditions(request, &message) != LineEntry::Field::None)
        return ctx.refuse(message);
    return std::nullopt;
}

} // namespace

int cliSections(CliContext &ctx)
{
    const auto choice = parseChoice(ctx.args);
    if (!choice || !ctx.args.positional.isEmpty())
        return ctx.usage(usageOf("sections"));
    const auto table = Permissible::PermissibleTable::load(ctx.app.appDir(), choice->net, choice->material);
    if (!table.isUsable())
        return ctx.refuse(table.errorMessage());
    LineEntry::Request request;
    request.choice = *choice;
    if (const auto refused = readConditions(ctx, request))
        return *refused;
    for (const QString &section : Permissible::listedSections(table, *choice))
        ctx.out << section << '\n';
    return 0;
}

int cliPropose(CliContext &ctx)
{
    const auto choice = parseChoice(ctx.args);
    if (!choice || !ctx.args.positional.isEmpty())
        return ctx.usage(usageOf("propose", "--current ТОК"));
    const auto table = Permissible::PermissibleTable::load(ctx.app.appDir(), choice->net, choice->material);
    if (!table.isUsable())
        return ctx.refuse(table.errorMessage());
    LineEntry::Request request;
    request.choice = *choice;
    if (const auto refused = readConditions(ctx, request))
        return *refused;
    // As "Предложение": a text that is no current counts as 0.
    const double current = LineEntry::loadCurrentOf(ctx.args.value(QStringLiteral("current"))).value_or(0);
    const auto row = Permissible::proposeSection(table, *choice, current, LineEntry::correctionOf(request));
    if (!row)
        return ctx.refuse(Permissible::tooLargeCurrentMessage());
    ctx.out << NumberText::format(table.rows().at(*row).section) << '\n';
    return 0;
}

int cliLine(CliContext &ctx)
{
    const auto choice = parseChoice(ctx.args);
    if (!choice || !ctx.args.positional.isEmpty())
        return ctx.usage(usageOf("line", "--section S --length L --current ТОК [--cos-phi C] [--neutral S0] "
                                         "[--name ИМЯ] [--mark МАРКА]"));
    const auto table = Permissible::PermissibleTable::load(ctx.app.appDir(), choice->net, choice->material);
    if (!table.isUsable())
        return ctx.refuse(table.errorMessage());

    // The checks of the dialog's confirmation, in its order.
    const QString sectionText = cliNumberText(ctx.args.value(QStringLiteral("section")));
    if (!InputCheck::report(sectionText, ctx.prompter))
        return 1;
    // The dialog's section field always ends up holding a listed section.
    QString listedSection;
    const double section = NumberText::toDouble(sectionText);
    for (const QString &s : Permissible::listedSections(table, *choice))
        if (NumberText::toDouble(s) == section)
            listedSection = s;
    if (listedSection.isEmpty())
        return ctx.refuse(QStringLiteral("Сечение ") + sectionText
                          + QStringLiteral(" отсутствует в списке сечений для выбранного типа линии!"));
    const QString lengthText = cliNumberText(ctx.args.value(QStringLiteral("length")));
    if (!InputCheck::report(lengthText, ctx.prompter))
        return 1;
    // As the dialog's field: an expression is replaced by its value.
    QString currentText = cliNumberText(ctx.args.value(QStringLiteral("current")));
    bool expression = false;
    const auto current = LineEntry::loadCurrentOf(currentText, &expression);
    if (!current)
        return ctx.refuse(LineEntry::currentMessage().replace(QLatin1String("\r\n"), QLatin1String("\n")));
    if (expression)
        currentText = NumberText::format(*current);

    LineEntry::Request request;
    request.choice = *choice;
    if (const auto refused = readConditions(ctx, request))
        return *refused;
    request.sectionText = listedSection;
    request.lengthText = lengthText;
    request.currentText = currentText;
    request.name = ctx.args.value(QStringLiteral("name"), LineEntry::autoName(1));
    request.mark = ctx.args.value(QStringLiteral("mark"));
    if (ctx.args.has(QStringLiteral("neutral"))) {
        const QString wanted = cliNumberText(ctx.args.value(QStringLiteral("neutral")));
        const Permissible::NeutralList neutral = Permissible::readNeutralSections(ctx.app.appDir());
        const auto value = NumberText::parse(wanted);
        QString entry;
        for (const QString &s : neutral.sections)
            if (value && float(NumberText::toDouble(s)) == float(*value))
                entry = s;
        if (entry.isEmpty())
            return ctx.refuse(neutral.sections.isEmpty() && !neutral.error.isEmpty()
                                  ? neutral.error
                                  : QStringLiteral("Сечение нулевой жилы ") + wanted
                                        + QStringLiteral(" отсутствует в списке сечений нулевых жил!"));
        request.neutralText = entry;
    }

    double idop = 0;
    const CableReactance reactance = CableReactance::load(ctx.app.appDir());
    bool reactanceKnown = true;
    const CableLine line = LineEntry::buildLine(request, {table, reactance}, ctx.app.calc, idop, &reactanceKnown);
    // The line is computed all the same, as the dialog does; the user is told
    // why its reactance counts as nothing.
    if (!reactance.isUsable())
        ctx.err << reactance.problem() << '\n';
    else if (!reactanceKnown)
        ctx.err << CableReactance::missingSectionMessage(NumberText::toDouble(listedSection)) << '\n';
    QStringList cells{line.name};
    cells << line.cells;
    ctx.out << cells.join(QLatin1Char('\t')) << '\n';
    return 0;
}

int cliCurrents(CliContext &ctx)
{
    const QString usageLine = QStringLiteral("currents ПРОЕКТ.kbp [--net 220|380]");
    if (ctx.args.positional.size() != 1)
        return ctx.usage(usageLine);
    const QString net = ctx.args.value(QStringLiteral("net"), QStringLiteral("380"));
    if (net != QLatin1String("220") && net != QLatin1String("380"))
        return ctx.usage(usageLine);
    Project project;
    if (!cliOpenProject(ctx, ctx.args.positional.first(), project))
        return 1;
    const NetworkType type = net == QLatin1String("220") ? NetworkType::SinglePhase : NetworkType::ThreePhase;
    for (const Permissible::CurrentChoice &c : Permissible::loadCurrentChoices(project.shields, type, ctx.app.calc.places()))
        ctx.out << c.text << '\n';
    return 0;
}
