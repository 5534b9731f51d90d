#include "base/AppContext.h"
#include "base/DataFileRegistry.h"
#include "base/InputCheck.h"
#include "base/NumberText.h"
#include "base/Version.h"
#include "cli/CliCommands.h"
#include "docs/writers/ReportPages.h"

#include <clocale>

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>
#include <memory>

const QVector<CliCommand> &cliCommands()
{
    static const QVector<CliCommand> commands = {
        {"summary", "summary ПРОЕКТ.kbp", "суммарное падение напряжения отмеченных линий и предупреждения", {}, {},
         cliSummary, true},
        {"line",
         "line [--net 220|380] [--type N] [--laying air|ground] [--material Медь|Алюминий] --section S --length L "
         "--current ТОК [--cos-phi C] [--ambient T] [--cables N] [--spacing 100|200|300] [--neutral S0] [--name ИМЯ] "
         "[--mark МАРКА]",
         "десять ячеек одной кабельной линии, как их вычисляет окно линии (--type 4: пятижильный; --cables и "
         "--spacing учитываются в земле; ТОК — число, выражение или вариант из списка: «ЩО1 - 25,5А»)",
         {QStringLiteral("net"), QStringLiteral("type"), QStringLiteral("laying"), QStringLiteral("material"),
          QStringLiteral("section"), QStringLiteral("length"), QStringLiteral("current"), QStringLiteral("neutral"),
          QStringLiteral("name"), QStringLiteral("mark"), QStringLiteral("cos-phi"), QStringLiteral("ambient"),
          QStringLiteral("cables"), QStringLiteral("spacing")},
         {}, cliLine},
        {"sections",
         "sections [--net 220|380] [--type N] [--laying air|ground] [--material Медь|Алюминий] [--ambient T] "
         "[--cables N] [--spacing 100|200|300]",
         "сечения, которые окно линии предлагает для конструкции",
         {QStringLiteral("net"), QStringLiteral("type"), QStringLiteral("laying"), QStringLiteral("material"),
          QStringLiteral("cos-phi"), QStringLiteral("ambient"), QStringLiteral("cables"), QStringLiteral("spacing")},
         {}, cliSections},
        {"propose",
         "propose [--net 220|380] [--type N] [--laying air|ground] [--material Медь|Алюминий] [--ambient T] "
         "[--cables N] [--spacing 100|200|300] --current ТОК",
         "сечение, которое «Предложение» выбирает для тока нагрузки, с учетом поправок к допустимому току",
         {QStringLiteral("net"), QStringLiteral("type"), QStringLiteral("laying"), QStringLiteral("material"),
          QStringLiteral("current"), QStringLiteral("cos-phi"), QStringLiteral("ambient"), QStringLiteral("cables"),
          QStringLiteral("spacing")},
         {}, cliPropose},
        {"currents", "currents ПРОЕКТ.kbp [--net 220|380]",
         "токи нагрузки, которые окно линии предлагает из щитов проекта",
         {QStringLiteral("net")}, {}, cliCurrents, true},
        {"eval", "eval [--] ВЫРАЖЕНИЕ", "значение арифметического выражения, как его дает строковый калькулятор", {}, {},
         cliEval},
        {"load", "load --name ИМЯ --power P --cosf X --ks X [--phases 1|3] [--phase A|B|C] [--kpd X]",
         "десять значений одной нагрузки, как их вычисляет окно нагрузки",
         {"name", "power", "cosf", "ks", "phases", "phase", "kpd"}, {}, cliLoad},
        {"shield", "shield ПРОЕКТ.kbp [--index K]",
         "одиннадцать итогов щита проекта, ток нулевого проводника и неравномерность нагрузки фаз",
         {"index"}, {}, cliShield, true},
        {"tp", "tp [--power P] [--hs-length L --hs-material M --hs-section S]",
         "мощности из файла трансформаторов, Rт Xт Zт выбранной мощности и Rсети питающей линии",
         {QStringLiteral("power"), QStringLiteral("hs-length"), QStringLiteral("hs-material"), QStringLiteral("hs-section")},
         {}, cliTp},
        {"kz", "kz ПРОЕКТ.kbp [--stages N]",
         "токи КЗ в конце цепочки отмеченных линий (отказ, если они не образуют один путь сети)",
         {QStringLiteral("stages")}, {}, cliKz, true},
        {"faults", "faults ПРОЕКТ.kbp [--sk МВА] [--group Y|D] [--hv 6|10]",
         "токи КЗ по ГОСТ 28249-93 на шинах ТП и в конце каждой линии сети в порядке дерева: Iк(3) max, "
         "Iк(2), Iк(1) max, Iк(1) min, Kуд, iуд (кА)",
         {QStringLiteral("sk"), QStringLiteral("group"), QStringLiteral("hv")}, {}, cliFaults, true},
        {"protect", "protect ПРОЕКТ.kbp [--choose]",
         "проверки защитного аппарата каждой линии сети в порядке дерева: перегрузка, отключение, отключающая "
         "способность, термическая стойкость (--choose: линиям без аппарата — наименьший автомат с Iр ≤ Iн ≤ Iz, "
         "выдерживающий проверки: сначала C, затем B, D, затем промышленные)",
         {}, {QStringLiteral("choose")}, cliProtect, true},
        {"network", "network ПРОЕКТ.kbp",
         "сеть в порядке дерева: шины («ТП», уровень 0), затем каждая линия под линией, от которой она начинается, "
         "по строке, поля через табуляцию: уровень, обозначение, начало («ТП» — шины, «?» — не задано), щит, ток "
         "нагрузки (А), допустимый ток (А), потеря напряжения линии и от шин ТП (%), Iк(3) max и Iк(1) min в конце "
         "(кА), аппарат, проверки («да» или первая невыполненная), Pу (кВт), Pр (кВт), cos φ, откуда ток («сеть» "
         "или «задан»); «-», где величина неприменима или не может быть получена (причина — в потоке ошибок)",
         {}, {}, cliNetwork, true},
        {"selectivity", "selectivity ПРОЕКТ.kbp",
         "селективность последовательных аппаратов по время-токовым характеристикам стандартов, по паре на линию в "
         "порядке дерева, поля через табуляцию: линия выше по цепи, линия, аппарат выше по цепи, аппарат, Iк(3) max "
         "в узле (кА), Is (кА, «-» при полной селективности), вердикт («полная», «частичная», «нет»; «-» без "
         "характеристик)",
         {}, {}, cliSelectivity, true},
        {"diagram", "diagram ПРОЕКТ.kbp ФАЙЛ.pdf|ФАЙЛ.svg|ФАЙЛ.dxf [--sheet A3|A4] [--force]",
         "однолинейная схема сети с таблицей расчетных данных на листах A3 (по умолчанию) или A4, в PDF, SVG или DXF "
         "(R12, Windows-1251) по расширению ФАЙЛА; линии без начала не показываются, их число — в потоке ошибок",
         {QStringLiteral("sheet")}, {QStringLiteral("force")}, cliDiagram, true},
        {"light",
         "light [--length L] [--width W] [--h1 H1] [--h2 H2] [--kz KZ] [--en E] [--lamp-type K] [--lamp-power P] "
         "[--lamps N]",
         "количество светильников помещения и их размещение, как их вычисляет окно расчета освещенности",
         {QStringLiteral("length"), QStringLiteral("width"), QStringLiteral("h1"), QStringLiteral("h2"),
          QStringLiteral("kz"), QStringLiteral("en"), QStringLiteral("lamp-type"), QStringLiteral("lamp-power"),
          QStringLiteral("lamps")},
         {}, cliLight},
        {"light-room",
         "light-room --length A --width B --height H --plane HP [--hang HC] --reflect 70/50/30 --curve ТИП --norm E "
         "--kz KZ --z Z --flux F --power P [--lamps N --efficiency ПРОЦЕНТЫ]",
         "одно помещение методом коэффициента использования: i, η, N, сетка, средняя освещенность (лк), установленная "
         "мощность (Вт), Вт/м²; светодиодный светильник, если --lamps и --efficiency не делают его светильником с "
         "лампами (поток и мощность одной лампы)",
         {QStringLiteral("length"), QStringLiteral("width"), QStringLiteral("height"), QStringLiteral("plane"),
          QStringLiteral("hang"), QStringLiteral("reflect"), QStringLiteral("curve"), QStringLiteral("norm"),
          QStringLiteral("kz"), QStringLiteral("z"), QStringLiteral("flux"), QStringLiteral("power"),
          QStringLiteral("lamps"), QStringLiteral("efficiency")},
         {}, cliLightRoom},
        {"lighting", "lighting ПРОЕКТ.kbp",
         "помещения проекта, по строке на помещение: имя, i, η, N, сетка, средняя освещенность (лк), установленная "
         "мощность (Вт), Вт/м²",
         {}, {}, cliLighting, true},
        {"report-kl", "report-kl ПРОЕКТ.kbp ФАЙЛ.doc|ФАЙЛ.pdf|ФАЙЛ.xlsx [--title ЗАГОЛОВОК] [--columns 1,2,...] [--force]",
         "ведомость кабельных линий из отмеченных линий (Word, PDF или книга Excel по расширению ФАЙЛА)",
         {QStringLiteral("title"), QStringLiteral("columns")}, {QStringLiteral("force")}, cliReportKl, true},
        {"report-kz", "report-kz ПРОЕКТ.kbp ФАЙЛ.doc|ФАЙЛ.pdf|ФАЙЛ.xlsx [--force]",
         "ведомость токов КЗ отмеченных линий (Word, PDF или книга Excel по расширению ФАЙЛА; отказ, если они не "
         "образуют один путь сети)", {},
         {QStringLiteral("force")}, cliReportKz, true},
        {"report-faults", "report-faults ПРОЕКТ.kbp ФАЙЛ.doc|ФАЙЛ.pdf|ФАЙЛ.xlsx [--force]",
         "ведомость токов КЗ по ГОСТ 28249-93 с исходными данными и суммами сопротивлений каждой точки сети "
         "в порядке дерева (Word, PDF или книга Excel по расширению ФАЙЛА)",
         {}, {QStringLiteral("force")}, cliReportFaults, true},
        {"report-protect", "report-protect ПРОЕКТ.kbp ФАЙЛ.doc|ФАЙЛ.pdf|ФАЙЛ.xlsx [--force]",
         "ведомость защитных аппаратов каждой линии сети с величинами каждой проверки и причиной каждой "
         "невыполненной (Word, PDF или книга Excel по расширению ФАЙЛА)",
         {}, {QStringLiteral("force")}, cliReportProtect, true},
        {"report-loads", "report-loads ПРОЕКТ.kbp ФАЙЛ.doc|ФАЙЛ.pdf|ФАЙЛ.xlsx [--force]",
         "расчетная нагрузка щитов, по таблице на щит (Word, PDF или книга Excel по расширению ФАЙЛА)",
         {}, {QStringLiteral("force")}, cliReportLoads, true},
        {"report-lighting", "report-lighting ПРОЕКТ.kbp ФАЙЛ.doc|ФАЙЛ.pdf|ФАЙЛ.xlsx [--force]",
         "ведомость освещения помещений (Word, PDF или книга Excel по расширению ФАЙЛА)", {},
         {QStringLiteral("force")}, cliReportLighting, true},
        {"report-network", "report-network ПРОЕКТ.kbp ФАЙЛ.doc|ФАЙЛ.pdf|ФАЙЛ.xlsx [--force]",
         "расчетная схема сети: по строке на линию в порядке дерева с нагрузками, аппаратом, кабелем, потерями "
         "напряжения и токами КЗ в конце линии (Word, PDF или книга Excel по расширению ФАЙЛА)",
         {}, {QStringLiteral("force")}, cliReportNetwork, true},
        {"report-journal", "report-journal ПРОЕКТ.kbp ФАЙЛ.doc|ФАЙЛ.pdf|ФАЙЛ.xlsx [--force]",
         "кабельный журнал: каждая линия сети в порядке дерева с трассой, кабелем по проекту и пустыми графами "
         "для проложенного кабеля (Word, PDF или книга Excel по расширению ФАЙЛА)",
         {}, {QStringLiteral("force")}, cliReportJournal, true},
    };
    return commands;
}

namespace {

const QStringList kCommonOptions = {QStringLiteral("app-dir"), QStringLiteral("gcu"), QStringLiteral("gal"),
                                    QStringLiteral("dumax"), QStringLiteral("tolerance")};

void printHelp(QTextStream &out)
{
    out << "kabinor-cli " << Version::fullText() << ": расчеты Кабинора без окон\n\n"
        << cliUsageLine(QStringLiteral("КОМАНДА [ПАРАМЕТРЫ]")) << "\n\nкоманды:\n";
    for (const CliCommand &c : cliCommands())
        out << "  " << QString::fromUtf8(c.usage) << "\n      " << QString::fromUtf8(c.summary) << '\n';
    out << "\nобщие параметры:\n"
        << "  --app-dir ПАПКА   папка программы (файлы данных и настройки)\n"
        << "  --gcu X --gal X   удельная проводимость меди и алюминия\n"
        << "  --dumax X         допустимые суммарные потери напряжения, %\n"
        << "  --tolerance N     количество знаков после запятой в результатах\n"
        << "  --                конец параметров (eval -- -2+3)\n"
        << "\nкоды выхода: 0 выполнено, 1 ввод отклонен, 2 неверный вызов, 3 выполнено по поврежденному проекту\n"
        << "kabinor-cli КОМАНДА --help показывает параметры команды.\n";
}

} // namespace

namespace {

// The reports and the diagram are drawn with fonts, which needs the GUI side of Qt (never a
// screen); every other command runs on the core alone.
std::unique_ptr<QCoreApplication> makeApplication(int &argc, char *argv[])
{
    if (argc > 1 && (QByteArray(argv[1]).startsWith("report-") || QByteArray(argv[1]) == "diagram")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // What the platform says while it starts (a missing desktop session,
        // say) is no concern of a command that never shows a window.
        const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        auto app = std::make_unique<QGuiApplication>(argc, argv);
        qInstallMessageHandler(previous);
        ReportPages::install();
        return app;
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

int main(int argc, char *argv[])
{
    const std::unique_ptr<QCoreApplication> application = makeApplication(argc, argv);
    QCoreApplication &app = *application;
    // Number texts are ours (decimal comma); C functions must not follow the system locale.
    std::setlocale(LC_NUMERIC, "C");
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);

    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        printHelp(err);
        return 2;
    }
    if (args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        printHelp(out);
        return 0;
    }
    const QString name = args.takeFirst();
    const CliCommand *command = nullptr;
    for (const CliCommand &c : cliCommands())
        if (name == QLatin1String(c.name))
            command = &c;
    if (!command) {
        err << "kabinor-cli: неизвестная команда '" << name << "'" << Qt::endl;
        printHelp(err);
        return 2;
    }
    const QString usageLine = QString::fromUtf8(command->usage);
    const qsizetype optionsEnd = args.indexOf(QStringLiteral("--"));
    if (args.mid(0, optionsEnd < 0 ? args.size() : optionsEnd).contains(QStringLiteral("--help"))) {
        out << cliUsageLine(usageLine) << '\n' << QString::fromUtf8(command->summary) << '\n';
        if (!command->options.isEmpty())
            out << "параметры: --" << command->options.join(QStringLiteral(", --")) << '\n';
        if (command->opensProject)
            out << "код выхода 3: проект поврежден; команда выполнена по тому, что удалось прочитать, "
                   "о повреждении сказано в стандартном потоке ошибок\n";
        return 0;
    }

    QString error;
    auto parsed = CliArgs::parse(args, command->flags, &error);
    if (!parsed) {
        err << cliUsageLine(usageLine) << "\n" << error << Qt::endl;
        return 2;
    }
    // The first unknown option in the order given is named.
    for (const QString &key : parsed->keys()) {
        if (!kCommonOptions.contains(key) && !command->options.contains(key) && !command->flags.contains(key)) {
            err << cliUsageLine(usageLine) << "\nнеизвестный параметр --" << key << Qt::endl;
            return 2;
        }
    }

    AppContext context = AppContext::forExecutable(parsed->value(QStringLiteral("app-dir")),
                                                   QCoreApplication::applicationDirPath());
    if (!QFileInfo::exists(DataFiles::registryPath(context.appDir()))) {
        err << DataFiles::missingFileMessage(DataFiles::shownPath(context.appDir(), QStringLiteral("\\files.fls")))
            << Qt::endl;
        return 1;
    }
    context.prepareUserFiles();
    context.calc = CalcValues::load(context.settings().read());
    // The project is not what is damaged: the command goes on with the defaults.
    if (const QString problem = context.settings().startupProblem(); !problem.isEmpty())
        err << problem << Qt::endl;
    struct Override {
        const char *key;
        double *target;
    };
    const Override overrides[] = {{"gcu", &context.calc.copperConductivity}, {"gal", &context.calc.aluminiumConductivity},
                                  {"dumax", &context.calc.maxVoltageDrop}, {"tolerance", &context.calc.decimalPlaces}};
    CliPrompter prompter(err);
    for (const Override &o : overrides) {
        const QString key = QString::fromLatin1(o.key);
        if (!parsed->has(key))
            continue;
        // The options dialog's rule and messages.
        const QString text = parsed->value(key);
        switch (InputCheck::classify(text)) {
        case InputCheck::Numeric::Ok:
            *o.target = NumberText::toDouble(text);
            break;
        case InputCheck::Numeric::Empty:
        case InputCheck::Numeric::NotNumber:
            err << cliUsageLine(usageLine) << "\n--" << key << ": нужно число" << Qt::endl;
            return 2;
        case InputCheck::Numeric::NotPositive:
        case InputCheck::Numeric::TooLarge:
            InputCheck::report(text, prompter);
            return 1;
        }
    }

    CliContext ctx{context, *parsed, out, err, prompter};
    int rc = command->run(ctx);
    if (rc == 0 && ctx.projectDamaged)
        rc = DamagedProjectExitCode;
    out.flush();
    err.flush();
    return rc;
}
