// light-room and lighting: rooms by the utilisation-factor method, one from
// options, or every room of a project.
#include "base/NumberText.h"
#include "cli/CliCommands.h"
#include "cli/CliProject.h"
#include "calc/lighting/RoomLighting.h"

namespace {

// i, η, N, grid, Eср, P and W/m² of the room's chosen layout.
QStringList resultTexts(const RoomLighting::Result &r, int places)
{
    auto rounded = [places](double value) { return NumberText::formatRounded(value, places); };
    return {rounded(r.roomIndex),
            rounded(r.utilisation.eta),
            QString::number(r.chosen.count),
            RoomLighting::gridText(r.chosen.grid),
            rounded(r.chosen.illuminance),
            rounded(r.chosen.installedPower),
            rounded(r.chosen.powerDensity)};
}

} // namespace

int cliLightRoom(CliContext &ctx)
{
    const QString usageLine = QStringLiteral(
        "light-room --length A --width B --height H --plane HP [--hang HC] --reflect 70/50/30 --curve TYPE --norm E "
        "--kz KZ --z Z --flux F --power P [--lamps N --efficiency PERCENT]");
    if (!ctx.args.positional.isEmpty())
        return ctx.usage(usageLine);
    const QStringList reflect = ctx.args.value(QStringLiteral("reflect")).split(QLatin1Char('/'));
    if (reflect.size() != 3)
        return ctx.usage(usageLine + QStringLiteral("\n--reflect takes the reflectances of ceiling, walls and working "
                                                    "plane in per cent: 70/50/30"));
    LightingRoom room;
    room.id = 1;
    room.name = QStringLiteral("Помещение");
    room.length = ctx.args.value(QStringLiteral("length"));
    room.width = ctx.args.value(QStringLiteral("width"));
    room.height = ctx.args.value(QStringLiteral("height"));
    room.plane = ctx.args.value(QStringLiteral("plane"));
    room.hang = ctx.args.value(QStringLiteral("hang"), QStringLiteral("0"));
    room.ceiling = reflect.at(0);
    room.walls = reflect.at(1);
    room.floor = reflect.at(2);
    room.curve = ctx.args.value(QStringLiteral("curve"));
    room.illuminance = ctx.args.value(QStringLiteral("norm"));
    room.maintenance = ctx.args.value(QStringLiteral("kz"));
    room.uniformity = ctx.args.value(QStringLiteral("z"));
    room.flux = ctx.args.value(QStringLiteral("flux"));
    room.power = ctx.args.value(QStringLiteral("power"));
    // With lamps the flux and power are of one lamp.
    room.led = !ctx.args.has(QStringLiteral("lamps")) && !ctx.args.has(QStringLiteral("efficiency"));
    room.lamps = ctx.args.value(QStringLiteral("lamps"), QStringLiteral("1"));
    room.efficiency = ctx.args.value(QStringLiteral("efficiency"), QStringLiteral("100"));

    const RoomLighting::Result r = RoomLighting::compute(room, Lighting::UtilisationTables::load(ctx.app.appDir()));
    if (!r.ok())
        return ctx.refuse(r.refusal->text);
    ctx.out << resultTexts(r, ctx.app.calc.places()).join(QLatin1Char('\t')) << '\n';
    for (const QString &note : RoomLighting::notes(r))
        ctx.err << note << Qt::endl;
    return 0;
}

int cliLighting(CliContext &ctx)
{
    if (ctx.args.positional.size() != 1)
        return ctx.usage(QStringLiteral("lighting PROJECT.kbp"));
    Project project;
    if (!cliOpenProject(ctx, ctx.args.positional.first(), project))
        return 1;
    const Lighting::UtilisationTables tables = Lighting::UtilisationTables::load(ctx.app.appDir());
    const int places = ctx.app.calc.places();
    bool refused = false;
    for (const LightingRoom &room : std::as_const(project.rooms)) {
        const RoomLighting::Result r = RoomLighting::compute(room, tables);
        QStringList texts{room.name};
        if (r.ok()) {
            texts += resultTexts(r, places);
        } else {
            for (int k = 0; k < 7; ++k)
                texts << QStringLiteral("-");
            ctx.err << room.name << ": " << r.refusal->text << Qt::endl;
            refused = true;
        }
        ctx.out << texts.join(QLatin1Char('\t')) << '\n';
    }
    return refused ? 1 : 0;
}
