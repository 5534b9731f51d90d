#include "base/DataFileRegistry.h"
#include "cli/CliCommands.h"
#include "calc/lighting/LightingCalc.h"

using namespace Lighting;

// The lighting window opened on the stored inputs, changed by the options,
// then "&Расчет".
int cliLight(CliContext &ctx)
{
    const QString usageLine = QStringLiteral(
        "light [--length L] [--width W] [--h1 H1] [--h2 H2] [--kz KZ] [--en E] [--lamp-type K] "
        "[--lamp-power P] [--lamps N]");
    if (!ctx.args.positional.isEmpty())
        return ctx.usage(usageLine);
    const QString &appDir = ctx.app.appDir();

    const auto lampTypes = readRecords(DataFiles::dataFilePath(appDir, DataFiles::LampTypes));
    if (!lampTypes)
        return ctx.refuse(unreadableFileText(appDir, DataFiles::LampTypes));
    const auto norms = readRecords(DataFiles::dataFilePath(appDir, DataFiles::IlluminanceNorms));
    if (!norms)
        return ctx.refuse(unreadableFileText(appDir, DataFiles::IlluminanceNorms));

    // Unset options take what the window would show at opening.
    const Settings stored = Settings::load(ctx.app.settings().read());
    Texts texts;
    texts.length = ctx.args.value(QStringLiteral("length"), stored.length);
    texts.width = ctx.args.value(QStringLiteral("width"), stored.width);
    texts.h1 = ctx.args.value(QStringLiteral("h1"), stored.h1);
    texts.h2 = ctx.args.value(QStringLiteral("h2"), stored.h2);
    texts.kz = ctx.args.value(QStringLiteral("kz"), stored.kz);
    texts.lampPower = ctx.args.value(QStringLiteral("lamp-power"), stored.lampPower);
    if (ctx.args.has(QStringLiteral("en"))) {
        texts.en = ctx.args.value(QStringLiteral("en"));
    } else {
        // The stored norm fills the field; "Другое" leaves it empty.
        const int normIndex = storedListIndex(stored.enListIdx, int(norms->size()) + 1);
        if (normIndex > 0)
            texts.en = QString::number(normIlluminance(*norms, norms->at(normIndex - 1).name).value_or(0));
    }

    int lampIndex = storedListIndex(stored.ltListIdx, int(lampTypes->size()));
    if (ctx.args.has(QStringLiteral("lamp-type"))) {
        bool ok = false;
        lampIndex = ctx.args.value(QStringLiteral("lamp-type")).toInt(&ok);
        if (!ok || lampIndex < 0 || lampIndex >= lampTypes->size()) {
            ctx.err << cliUsageLine(usageLine) << "\n--lamp-type: номер от 0 до "
                    << lampTypes->size() - 1 << Qt::endl;
            return 2;
        }
    }
    const int efficacy = lampIndex >= 0 ? lampEfficacy(*lampTypes, lampTypes->at(lampIndex).name) : 0;

    int lamps = storedLampCount(stored.lampCount);
    if (ctx.args.has(QStringLiteral("lamps"))) {
        bool ok = false;
        lamps = ctx.args.value(QStringLiteral("lamps")).toInt(&ok);
        if (!ok || lamps < MinLamps || lamps > MaxLamps) {
            ctx.err << cliUsageLine(usageLine) << "\n--lamps: целое число от " << MinLamps << " до " << MaxLamps
                    << Qt::endl;
            return 2;
        }
    }

    if (const auto failure = checkTexts(texts))
        return ctx.refuse(failure->text);
    const auto table = readUtilisationTable(DataFiles::dataFilePath(appDir, DataFiles::Utilisation));
    if (!table)
        return ctx.refuse(unreadableFileText(appDir, DataFiles::Utilisation));
    const Inputs inputs = inputsFromTexts(texts, efficacy, lamps);
    const Result result = calculate(inputs, *table);
    if (!result.ok)
        return ctx.refuse(result.message);

    ctx.out << countText(result.count) << '\n';
    const Plan plan = makePlan(inputs.length, inputs.width, result.count);
    if (plan.drawable)
        ctx.out << plan.grid.columns << 'x' << plan.grid.rows << '\n';
    else
        ctx.out << tooManyText() << '\n';
    return 0;
}
