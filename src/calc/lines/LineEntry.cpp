#include "calc/lines/LineEntry.h"

#include "base/AppContext.h"
#include "base/InputCheck.h"
#include "base/NumberText.h"

#include <optional>

namespace LineEntry {

QString currentMessage()
{
    return QStringLiteral("Значение тока должно быть числовым!\r\n"
                          "Введите значение тока нагрузки или выберете один из вариантов!");
}

QString currentTitle()
{
    return QStringLiteral("Омибка ввода");
}

QString autoName(int counter)
{
    return QStringLiteral("Линия №") + QString::number(counter);
}

QString tripTimeMessage()
{
    return QStringLiteral("Время отключения должно быть числом от 0,01 до 5 с!");
}

std::optional<double> tripTimeOf(const QString &text)
{
    const auto t = NumberText::parse(text);
    if (!t || !(*t >= 0.01) || *t > 5)
        return std::nullopt;
    return t;
}

QString cosPhiMessage()
{
    return QStringLiteral("Коэффициент мощности должен быть больше 0 и не больше 1!");
}

Permissible::LayingConditions conditionsOf(const Request &request)
{
    Permissible::LayingConditions c;
    if (!request.ambientText.trimmed().isEmpty())
        c.ambient = NumberText::parse(request.ambientText).value_or(qQNaN());
    c.cables = request.cables;
    c.spacing = request.spacing;
    return c;
}

Field checkConditions(const Request &request, QString *message)
{
    const auto cosPhi = NumberText::parse(request.cosPhiText);
    if (!cosPhi || !(*cosPhi > 0) || *cosPhi > 1) {
        *message = cosPhi ? cosPhiMessage() : InputCheck::message(InputCheck::classify(request.cosPhiText));
        return Field::CosPhi;
    }
    if (!request.ambientText.trimmed().isEmpty()) {
        const auto ambient = NumberText::parse(request.ambientText);
        if (!ambient) {
            *message = InputCheck::message(InputCheck::Numeric::NotNumber);
            return Field::Ambient;
        }
        if (!Permissible::ambientInRange(request.choice, *ambient)) {
            *message = Permissible::ambientRangeMessage(request.choice);
            return Field::Ambient;
        }
    }
    if (!request.tripTime.trimmed().isEmpty() && !tripTimeOf(request.tripTime)) {
        *message = tripTimeMessage();
        return Field::TripTime;
    }
    const Permissible::LayingConditions conditions = conditionsOf(request);
    if (!Permissible::correctionFor(request.choice, conditions, message)) {
        if (*message == Permissible::ambientMessage())
            return Field::Ambient;
        return *message == Permissible::cablesMessage() ? Field::Cables : Field::Spacing;
    }
    return Field::None;
}

Permissible::Correction correctionOf(const Request &request)
{
    return Permissible::correctionFor(request.choice, conditionsOf(request)).value_or(Permissible::Correction{});
}

std::optional<double> permissibleCurrentOf(const Permissible::PermissibleTable &table, const Request &request,
                                           double section, int places)
{
    const Permissible::Correction correction = correctionOf(request);
    const auto value = Permissible::lookupPermissibleCurrent(table, request.choice, section, correction);
    if (!value || (correction.factor() == 1 && Permissible::columnFactor(request.choice) == 1))
        return value;
    return NumberText::round(*value, places);
}

CableLine buildLine(const Request &request, const Tables &tables, const CalcValues &calc, double &idop,
                    bool *reactanceKnown)
{
    const double section = NumberText::toDouble(request.sectionText);
    if (const auto value = permissibleCurrentOf(tables.permissible, request, section, calc.places()))
        idop = *value;
    const auto x1 = tables.reactance.perMetre(section);
    if (reactanceKnown)
        *reactanceKnown = x1.has_value();

    LineCalc::LineInput in;
    in.name = request.name;
    in.mark = request.mark;
    in.material = Permissible::materialNames().value(request.choice.material);
    in.net = request.choice.net;
    in.coreCount = LineCalc::coreCountOf(request.choice.net, request.choice.constructionText());
    in.section = section;
    in.length = NumberText::toDouble(request.lengthText);
    in.loadCurrentText = request.currentText;
    in.neutralText = request.neutralText;
    in.permissibleCurrent = idop;
    in.reactance = x1.value_or(0) * in.length;
    in.cosPhi = NumberText::parse(request.cosPhiText).value_or(1);
    CableLine line = LineCalc::computeLine(in, calc);
    line.inputs = inputsOf(request);
    line.inputs->reactance = NumberText::formatRounded(in.reactance, calc.places());
    return line;
}

LineInputs inputsOf(const Request &request)
{
    const Permissible::Choice &c = request.choice;
    LineInputs in;
    in.threePhase = c.net == NetworkType::ThreePhase;
    in.construction = in.threePhase ? c.type2 : c.type1;
    in.laying = c.type3 == Permissible::InGround ? 1 : 0;
    in.material = Permissible::materialNames().value(c.material);
    in.neutral = request.neutralText != QLatin1String("0");
    in.neutralSection = in.neutral ? request.neutralText : QString();
    in.mark = request.mark;
    in.loadCurrent = request.currentText;
    in.cosPhi = request.cosPhiText;
    in.ambient = request.ambientText;
    in.cables = request.cables;
    in.spacing = request.spacing;
    in.device = request.device;
    in.deviceRating = request.device.isEmpty() ? QString() : request.deviceRating;
    in.tripTime = request.tripTime;
    return in;
}

Permissible::Choice choiceOf(const LineInputs &inputs)
{
    Permissible::Choice c;
    c.net = inputs.threePhase ? NetworkType::ThreePhase : NetworkType::SinglePhase;
    c.material = inputs.material == LineCalc::copper() ? Permissible::Copper : Permissible::Aluminium;
    if (inputs.threePhase)
        c.type2 = inputs.construction;
    else
        c.type1 = inputs.construction;
    c.type3 = inputs.laying == 1 ? Permissible::InGround : Permissible::InAir;
    return c;
}

Request requestOf(const CableLine &line, const LineInputs &inputs)
{
    Request r;
    r.name = line.name;
    r.mark = inputs.mark;
    r.choice = choiceOf(inputs);
    r.sectionText = LineCalc::phaseSectionText(line.cell(CableLine::Cores));
    r.lengthText = line.cell(CableLine::Length);
    r.currentText = inputs.loadCurrent;
    r.neutralText = inputs.neutral ? inputs.neutralSection : QStringLiteral("0");
    r.cosPhiText = inputs.cosPhi;
    r.ambientText = inputs.ambient;
    r.cables = inputs.cables;
    r.spacing = inputs.spacing;
    r.device = inputs.device;
    r.deviceRating = inputs.deviceRating;
    r.tripTime = inputs.tripTime;
    return r;
}

namespace {

// A line without inputs: its resistance and drop from its own texts.
void recomputeFromTexts(CableLine &line, const CalcValues &calc)
{
    const NetworkType net = line.cell(CableLine::Voltage) == QLatin1String("220") ? NetworkType::SinglePhase
                                                                                   : NetworkType::ThreePhase;
    const double section = NumberText::toDouble(LineCalc::phaseSectionText(line.cell(CableLine::Cores)));
    const double length = NumberText::toDouble(line.cell(CableLine::Length));
    const auto r = LineCalc::lineResistance(length, line.cell(CableLine::Material), section, calc);
    const double current = LineCalc::parseLoadCurrent(line.cell(CableLine::LoadCurrent));
    line.cells[CableLine::Resistance] = NumberText::formatRounded(r.value_or(0.0), calc.places());
    line.cells[CableLine::VoltageDrop] = NumberText::formatRounded(LineCalc::voltageDrop(r, current, net), calc.places());
}

} // namespace

RecomputeResult recomputeLines(QVector<CableLine> &lines, const QString &appDir, const CalcValues &calc)
{
    RecomputeResult result;
    // The four tables (network x material), each read at its first use.
    std::optional<Permissible::PermissibleTable> tables[2][2];
    std::optional<CableReactance> reactance;
    for (CableLine &line : lines) {
        if (!line.inputs) {
            recomputeFromTexts(line, calc);
            ++result.withoutInputs;
            continue;
        }
        const Request request = requestOf(line, *line.inputs);
        auto &slot = tables[request.choice.net == NetworkType::ThreePhase][request.choice.material == Permissible::Copper];
        if (!slot) {
            slot = Permissible::PermissibleTable::load(appDir, request.choice.net, request.choice.material);
            if (!slot->isUsable())
                result.problems << slot->errorMessage();
        }
        // A section the table no longer lists keeps the line's permissible current.
        double idop = NumberText::toDouble(line.cell(CableLine::PermissibleCurrent));
        if (!reactance) {
            reactance = CableReactance::load(appDir);
            if (!reactance->isUsable())
                result.problems << reactance->problem();
        }
        CableLine recomputed = slot->isUsable() ? buildLine(request, {*slot, *reactance}, calc, idop) : line;
        if (!slot->isUsable())
            recomputeFromTexts(recomputed, calc);
        recomputed.name = line.name;
        recomputed.checked = line.checked;
        recomputed.place = line.place;
        line = std::move(recomputed);
        ++result.recomputed;
    }
    return result;
}

} // namespace LineEntry
