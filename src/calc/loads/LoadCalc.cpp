#include "calc/loads/LoadCalc.h"

#include "base/InputCheck.h"
#include "base/ListInput.h"
#include "base/NumberText.h"
#include "base/Prompter.h"

#include <algorithm>
#include <cmath>

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
    c[Load::DesignPower] =
        NumberText::formatRounded(NumberText::toDouble(in.power) * NumberText::toDouble(in.ks), places);
    c[Load::ApparentPower] = NumberText::formatRounded(
        NumberText::toDouble(c[Load::DesignPower]) / NumberText::toDouble(in.cosf), places);
    c[Load::Phases] = in.threePhase ? QStringLiteral("3") : QStringLiteral("1");
    c[Load::Efficiency] = effectiveKpd(in);
    const double s = NumberText::toDouble(c[Load::ApparentPower]);
    const double n = c[Load::Phases].toInt();
    const double eta = NumberText::toDouble(c[Load::Efficiency]);
    c[Load::Current] = NumberText::formatRounded(((s / n) / eta) / PhaseVoltage, places);
    c[Load::Phase] = in.threePhase ? QStringLiteral("ABC") : in.phase;
    return load;
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
    // The same sum written as half the squared differences: never below zero
    // through rounding, and exactly zero for equal currents.
    return std::sqrt(((a - b) * (a - b) + (b - c) * (b - c) + (c - a) * (c - a)) / 2);
}

double phaseImbalance(double a, double b, double c)
{
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

// display := display + value, kept as a number text without rounding.
void addTo(QString &display, std::optional<double> value)
{
    if (value)
        display = NumberText::format(NumberText::toDouble(display) + *value);
}

// display := round(display + value, places).
void addRounded(QString &display, std::optional<double> value, int places)
{
    if (value)
        display = NumberText::formatRounded(NumberText::toDouble(display) + *value, places);
}

} // namespace

ShieldTotals recalcShieldTotals(const QVector<Load> &loads, int places)
{
    ShieldTotals t;
    for (const Load &load : loads) {
        addTo(t.designPower, cellValue(load, Load::DesignPower));
        addTo(t.installedPower, cellValue(load, Load::InstalledPower));
        addTo(t.apparentPower, cellValue(load, Load::ApparentPower));

        const double sumS = NumberText::toDouble(t.apparentPower);
        const double sumP = NumberText::toDouble(t.designPower);
        t.powerFactor = sumS * sumP > 0 ? NumberText::formatRounded(sumP / sumS, 2) : QStringLiteral("0");
        t.current = NumberText::formatRounded(sumS / PhaseVoltage, places);

        const auto s = cellValue(load, Load::ApparentPower);
        const auto i = cellValue(load, Load::Current);
        switch (phaseMark(load.cell(Load::Phase))) {
        case PhaseMark::A:
        case PhaseMark::B:
        case PhaseMark::C: {
            const int k = int(phaseMark(load.cell(Load::Phase))) - int(PhaseMark::A);
            addRounded(t.phasePower[k], s, places + 1);
            addRounded(t.phaseCurrent[k], i, places);
            break;
        }
        case PhaseMark::ABC:
            // A third of the apparent power and the full per-phase current on each phase.
            for (int k = 0; k < 3; ++k) {
                addRounded(t.phasePower[k], s ? std::optional<double>(*s / 3) : std::nullopt, places + 1);
                addRounded(t.phaseCurrent[k], i, places);
            }
            break;
        case PhaseMark::None:
            break;
        }
    }
    const double a = NumberText::toDouble(t.phaseCurrent[0]);
    const double b = NumberText::toDouble(t.phaseCurrent[1]);
    const double c = NumberText::toDouble(t.phaseCurrent[2]);
    t.neutralCurrent = NumberText::formatRounded(neutralCurrent(a, b, c), places);
    t.imbalance = NumberText::formatRounded(phaseImbalance(a, b, c), places);
    return t;
}

} // namespace LoadCalc
