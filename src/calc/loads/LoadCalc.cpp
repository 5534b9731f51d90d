#include "calc/loads/LoadCalc.h"

#include "base/InputCheck.h"
#include "base/ListInput.h"
#include "base/NumberText.h"
#include "base/Prompter.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace LoadCalc {

QStringList columnHeaders()
{
    return {QStringLiteral("Нагрузка"),        QStringLiteral("Мощн. установки"), QStringLiteral("Коэф. мощности"),
            QStringLiteral("Коэф. спроса"),    QStringLiteral("Мощн. расчетная"), QStringLiteral("Полная мощность"),
            QStringLiteral("Ток"),             QStringLiteral("Фаза"),            QStringLiteral("Число фаз"),
            QStringLiteral("КПД")};
}

namespace {

QString effectiveKpd(const LoadInput &in)
{
    return in.threePhase ? in.kpd : QStringLiteral("1");
}

void refuse(Prompter &prompter, const QString &message)
{
    prompter.message(message, InputCheck::title(), Prompter::Icon::Exclamation, Prompter::Buttons::Ok);
}

// The shared numeric check; remembers whether the field was empty.
bool numeric(const QString &text, Prompter &prompter, bool *emptyField)
{
    InputCheck::Numeric result;
    const bool ok = InputCheck::report(text, prompter, &result);
    if (emptyField)
        *emptyField = result == InputCheck::Numeric::Empty;
    return ok;
}

// Only values above 1 are refused; the text has already passed the numeric check.
bool aboveOne(const QString &text)
{
    return NumberText::toDouble(text) > 1;
}

} // namespace

Field checkLoadInput(const LoadInput &in, Prompter &prompter, bool *emptyField)
{
    if (emptyField)
        *emptyField = false;
    if (in.name.isEmpty()) {
        refuse(prompter, QStringLiteral("Укажите наименование нагрузки!"));
        if (emptyField)
            *emptyField = true;
        return Field::Name;
    }
    if (!numeric(in.power, prompter, emptyField))
        return Field::Power;
    if (!numeric(in.cosf, prompter, emptyField))
        return Field::Cosf;
    if (aboveOne(in.cosf)) {
        refuse(prompter, QStringLiteral("Значение коэффициента мощности должно быть меньше единицы!"));
        return Field::Cosf;
    }
    if (!numeric(in.ks, prompter, emptyField))
        return Field::Ks;
    if (aboveOne(in.ks)) {
        refuse(prompter, QStringLiteral("Значение коэффициента спроса должно быть меньше единицы!"));
        return Field::Ks;
    }
    const QString kpd = effectiveKpd(in);
    if (!numeric(kpd, prompter, emptyField))
        return Field::Kpd;
    if (aboveOne(kpd)) {
        refuse(prompter, QStringLiteral("Значение коэффициента полезного действия должно быть меньше единицы!"));
        return Field::Kpd;
    }
    return Field::None;
}

Load computeLoad(const LoadInput &in, int places)
{
    Load load;
    load.name = in.name;
    QStringList &c = load.cells; // cell k is list column k + 1
    c[Load::InstalledPower] = in.power;
    c[Load::PowerFactor] = in.cosf;
    c[Load::DemandFactor] = in.ks;
    c[Load::Phases] = in.threePhase ? QStringLiteral("3") : QStringLiteral("1");
    c[Load::Efficiency] = effectiveKpd(in);
    // Each value from the inputs, rounded only as it is written.
    const LoadValues v = loadValues(in.power, in.cosf, in.ks, in.threePhase ? 3 : 1, c[Load::Efficiency])
                             .value_or(LoadValues{});
    c[Load::DesignPower] = NumberText::formatRounded(v.design, places);
    c[Load::ApparentPower] = NumberText::formatRounded(v.apparent, places);
    c[Load::Current] = NumberText::formatRounded(v.current, places);
    c[Load::Phase] = in.threePhase ? QStringLiteral("ABC") : in.phase;
    return load;
}

std::optional<LoadValues> loadValues(const QString &power, const QString &cosf, const QString &ks, double phases,
                                     const QString &kpd)
{
    const auto pu = NumberText::parse(power);
    const auto cos = NumberText::parse(cosf);
    const auto kc = NumberText::parse(ks);
    const auto eta = NumberText::parse(kpd);
    if (!pu || !kc || !cos || !(*cos > 0) || !eta || !(*eta > 0) || !(phases > 0))
        return std::nullopt;
    LoadValues v;
    v.design = *pu * *kc;
    v.apparent = v.design / *cos;
    v.current = v.apparent / phases / *eta / PhaseVoltage;
    return v;
}

std::optional<LoadValues> loadValues(const Load &load)
{
    const auto phases = NumberText::parse(load.cell(Load::Phases));
    if (!phases)
        return std::nullopt;
    return loadValues(load.cell(Load::InstalledPower), load.cell(Load::PowerFactor), load.cell(Load::DemandFactor),
                      std::nearbyint(*phases), load.cell(Load::Efficiency));
}

std::optional<double> ratedCurrent(const Load &load)
{
    const auto phases = NumberText::parse(load.cell(Load::Phases));
    if (!phases)
        return std::nullopt;
    const auto full = loadValues(load.cell(Load::InstalledPower), load.cell(Load::PowerFactor), QStringLiteral("1"),
                                 std::nearbyint(*phases), load.cell(Load::Efficiency));
    if (!full)
        return std::nullopt;
    return full->current;
}

std::optional<Load> recomputeLoad(const Load &load, int places)
{
    LoadInput in;
    in.name = load.name;
    in.power = load.cell(Load::InstalledPower);
    in.cosf = load.cell(Load::PowerFactor);
    in.ks = load.cell(Load::DemandFactor);
    const QString phases = load.cell(Load::Phases).trimmed();
    in.threePhase = phases == QLatin1String("3");
    in.phase = load.cell(Load::Phase);
    in.kpd = load.cell(Load::Efficiency);
    const PhaseMark mark = phaseMark(in.phase);
    const bool phaseSound = in.threePhase ? mark == PhaseMark::ABC
                                          : phases == QLatin1String("1") && mark != PhaseMark::None
                                                && mark != PhaseMark::ABC;
    // The dialog's checks, without a word: a row that would not pass keeps its texts.
    class Silent : public Prompter
    {
    public:
        Answer message(const QString &, const QString &, Icon, Buttons) override { return Answer::Ok; }
        QString input(const QString &, const QString &, const QString &) override { return QString(); }
        QString openFile(const QString &, const QString &, const QString &) override { return QString(); }
        QString saveFile(const QString &, const QString &, const QString &, const QString &, QString *) override
        {
            return QString();
        }
    } silent;
    if (!phaseSound || checkLoadInput(in, silent) != Field::None)
        return std::nullopt;
    return computeLoad(in, places);
}

QString totalText(double value, int places)
{
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("∞") : QStringLiteral("-∞");
    if (std::isnan(value))
        return QStringLiteral("-");
    return NumberText::formatRounded(value, places);
}

QVector<NamedCoefficient> readCoefficientList(const QString &path)
{
    QVector<NamedCoefficient> out;
    auto input = ListInput::fromFile(path);
    if (!input)
        return out;
    while (const auto name = input->next()) {
        NamedCoefficient record;
        record.name = *name;
        // The files write values with the decimal comma inside quotes ("0,75").
        if (const auto value = input->next())
            record.value = NumberText::parse(*value);
        out.append(record);
    }
    return out;
}

std::optional<NamedCoefficient> findCoefficient(const QVector<NamedCoefficient> &list, const QString &name)
{
    for (const NamedCoefficient &record : list)
        if (record.name == name)
            return record;
    return std::nullopt;
}

PhaseMark phaseMark(const QString &phaseText)
{
    if (phaseText == QLatin1String("A"))
        return PhaseMark::A;
    if (phaseText == QLatin1String("B"))
        return PhaseMark::B;
    if (phaseText == QLatin1String("C"))
        return PhaseMark::C;
    if (phaseText == QLatin1String("ABC"))
        return PhaseMark::ABC;
    return PhaseMark::None;
}

bool ShieldTotals::operator==(const ShieldTotals &o) const
{
    for (int k = 0; k < 3; ++k)
        if (phasePower[k] != o.phasePower[k] || phaseCurrent[k] != o.phaseCurrent[k])
            return false;
    return installedPower == o.installedPower && designPower == o.designPower && apparentPower == o.apparentPower
           && current == o.current && powerFactor == o.powerFactor && neutralCurrent == o.neutralCurrent
           && imbalance == o.imbalance;
}

double neutralCurrent(double a, double b, double c)
{
    const double largest = std::max({std::fabs(a), std::fabs(b), std::fabs(c)});
    if (!(largest > 0))
        return 0;
    if (std::isinf(largest))
        return largest;
    a /= largest;
    b /= largest;
    c /= largest;
    // The same sum written as half the squared differences: never below zero
    // through rounding, and exactly zero for equal currents.
    return largest * std::sqrt(((a - b) * (a - b) + (b - c) * (b - c) + (c - a) * (c - a)) / 2);
}

double phaseImbalance(double a, double b, double c)
{
    // The ratio does not depend on the scale: scaled, the sum cannot overflow.
    const double largest = std::max({std::fabs(a), std::fabs(b), std::fabs(c)});
    if (!(largest > 0) || std::isinf(largest))
        return largest > 0 ? std::numeric_limits<double>::quiet_NaN() : 0;
    a /= largest;
    b /= largest;
    c /= largest;
    const double mean = (a + b + c) / 3;
    if (!(mean > 0))
        return 0;
    return (std::max({a, b, c}) - mean) / mean * 100;
}

bool isImbalanced(const ShieldTotals &totals)
{
    return NumberText::toDouble(totals.imbalance) > ImbalanceLimit;
}

namespace {

std::optional<double> cellValue(const Load &load, int cell)
{
    return NumberText::parse(load.cell(cell));
}

void add(double &sum, std::optional<double> value)
{
    if (value)
        sum += *value;
}

} // namespace

ShieldTotals recalcShieldTotals(const QVector<Load> &loads, int places)
{
    double installed = 0;
    double design = 0;
    double apparent = 0;
    double phasePower[3] = {0, 0, 0};
    double phaseCurrent[3] = {0, 0, 0};
    for (const Load &load : loads) {
        add(installed, cellValue(load, Load::InstalledPower));
        // A row whose inputs give nothing counts with what its cells show.
        const auto exact = loadValues(load);
        const auto p = exact ? std::optional<double>(exact->design) : cellValue(load, Load::DesignPower);
        const auto s = exact ? std::optional<double>(exact->apparent) : cellValue(load, Load::ApparentPower);
        const auto i = exact ? std::optional<double>(exact->current) : cellValue(load, Load::Current);
        add(design, p);
        add(apparent, s);
        switch (phaseMark(load.cell(Load::Phase))) {
        case PhaseMark::A:
        case PhaseMark::B:
        case PhaseMark::C: {
            const int k = int(phaseMark(load.cell(Load::Phase))) - int(PhaseMark::A);
            add(phasePower[k], s);
            add(phaseCurrent[k], i);
            break;
        }
        case PhaseMark::ABC:
            // A third of the apparent power and the full per-phase current on each phase.
            for (int k = 0; k < 3; ++k) {
                add(phasePower[k], s ? std::optional<double>(*s / 3) : std::nullopt);
                add(phaseCurrent[k], i);
            }
            break;
        case PhaseMark::None:
            break;
        }
    }
    ShieldTotals t;
    // The installed powers are inputs: their sum is shown as it is.
    t.installedPower = std::isfinite(installed) ? NumberText::format(installed) : totalText(installed, places);
    t.designPower = totalText(design, places);
    t.apparentPower = totalText(apparent, places);
    const double factor = design / apparent;
    t.powerFactor = design * apparent > 0 ? totalText(std::isfinite(factor) ? factor : qQNaN(), 2) : QStringLiteral("0");
    for (int k = 0; k < 3; ++k) {
        t.phasePower[k] = totalText(phasePower[k], places + 1);
        t.phaseCurrent[k] = totalText(phaseCurrent[k], places);
    }
    const double a = phaseCurrent[0];
    const double b = phaseCurrent[1];
    const double c = phaseCurrent[2];
    // The shield's current is that of its most loaded phase.
    t.current = totalText(std::max({a, b, c}), places);
    t.neutralCurrent = totalText(neutralCurrent(a, b, c), places);
    t.imbalance = totalText(phaseImbalance(a, b, c), places);
    return t;
}

} // namespace LoadCalc
