#include "calc/lines/LineEntry.h"

#include "base/AppContext.h"
#include "base/InputCheck.h"
#include "base/NumberText.h"
#include "calc/calculator/Evaluator.h"

#include <optional>

namespace LineEntry {

QString currentMessage()
{
    return QStringLiteral("Значение тока должно быть числовым!\r\n"
                          "Введите значение тока нагрузки или выберите один из вариантов!");
}

QString currentTitle()
{
    return InputCheck::title();
}

std::optional<double> loadCurrentOf(const QString &text, bool *isExpression)
{
    if (isExpression)
        *isExpression = false;
    if (const auto number = NumberText::parse(text))
        return *number != 0 ? number : std::nullopt;
    // An expression before an offered current: "100-25,5" is arithmetic, not "- 25,5А".
    if (const auto value = Evaluator::evaluate(text); value && *value > 0) {
        if (isExpression)
            *isExpression = true;
        return value;
    }
    if (const double offered = LineCalc::parseLoadCurrent(text); offered != 0)
        return offered;
    return std::nullopt;
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
    const double reactance = NumberText::round(in.reactance, calc.places());
    line.inputs->reactance = {NumberText::format(reactance), reactance};
    return line;
}

LineInputs inputsOf(const Request &request)
{
    const Permissible::Choice &c = request.choice;
    const bool threePhase = c.net == NetworkType::ThreePhase;
    const bool neutral = request.neutralText != QLatin1String("0");
    LineInputs in;
    in.threePhase.text = threePhase ? QStringLiteral("380") : QStringLiteral("220");
    in.construction.text = QString::number(threePhase ? c.type2 : c.type1);
    in.laying.text = c.type3 == Permissible::InGround ? QStringLiteral("1") : QStringLiteral("0");
    in.material.text = Permissible::materialNames().value(c.material);
    in.neutral.text = neutral ? QStringLiteral("1") : QStringLiteral("0");
    in.neutralSection.text = neutral ? request.neutralText : QString();
    in.mark.text = request.mark;
    in.loadCurrent.text = request.currentText;
    in.cosPhi.text = request.cosPhiText;
    in.ambient.text = request.ambientText;
    in.cables.text = QString::number(request.cables);
    in.spacing.text = QString::number(request.spacing);
    in.device.text = request.device;
    in.deviceRating.text = request.device.isEmpty() ? QString() : request.deviceRating;
    in.tripTime.text = request.tripTime;
    checkInputs(in);
    return in;
}

Permissible::Choice choiceOf(const LineInputs &inputs)
{
    // A damaged choice is taken as the dialog's own default.
    static const int defaultConstruction = *LineInputs().construction.value;
    Permissible::Choice c;
    const bool threePhase = inputs.threePhase.value.value_or(true);
    const int construction = inputs.construction.value.value_or(defaultConstruction);
    c.net = threePhase ? NetworkType::ThreePhase : NetworkType::SinglePhase;
    c.material = inputs.material.value == LineCalc::copper() ? Permissible::Copper : Permissible::Aluminium;
    if (threePhase)
        c.type2 = construction;
    else
        c.type1 = construction;
    c.type3 = inputs.laying.value == 1 ? Permissible::InGround : Permissible::InAir;
    return c;
}

Request requestOf(const CableLine &line, const LineInputs &inputs)
{
    Request r;
    r.name = line.name;
    r.mark = inputs.mark.text;
    r.choice = choiceOf(inputs);
    r.sectionText = LineCalc::phaseSectionText(line.cell(CableLine::Cores));
    r.lengthText = line.cell(CableLine::Length);
    r.currentText = inputs.loadCurrent.text;
    r.neutralText = inputs.neutral.value == true ? inputs.neutralSection.text : QStringLiteral("0");
    r.cosPhiText = inputs.cosPhi.text;
    r.ambientText = inputs.ambient.text;
    r.cables = inputs.cables.value.value_or(1);
    r.spacing = inputs.spacing.value.value_or(100);
    r.device = inputs.device.text;
    r.deviceRating = inputs.deviceRating.text;
    r.tripTime = inputs.tripTime.text;
    return r;
}

QStringList checkInputs(LineInputs &inputs)
{
    inputs.readValues();
    const Permissible::Choice choice = choiceOf(inputs);
    // The construction lists of the dialog: a position must be one of its
    // network's list, a single-core cable lies in air, a five-core one has
    // its neutral among its cores.
    if (inputs.construction.value && inputs.threePhase.value && choice.constructionText().isEmpty())
        inputs.construction.value.reset();
    if (inputs.construction.value && inputs.threePhase.value && inputs.laying.value == 1 && Permissible::mustLayInAir(choice))
        inputs.laying.value.reset();
    const bool fiveCore = choice.net == NetworkType::ThreePhase && choice.type2 == Permissible::FiveCore;
    if (fiveCore && inputs.neutral.value == true) {
        inputs.neutral.value.reset();
        inputs.neutralSection.value.reset();
    }

    // The fields the dialog checks on confirming, through its own check: a
    // field it refuses is damaged, and the next is checked in its place.
    const bool choiceKnown = inputs.threePhase.sound() && inputs.construction.sound() && inputs.laying.sound();
    Request request;
    request.choice = choice;
    request.cosPhiText = inputs.cosPhi.sound() ? inputs.cosPhi.text : QStringLiteral("1");
    // The ambient's range depends on the laying: without a sound choice it cannot be judged.
    request.ambientText = inputs.ambient.sound() && choiceKnown ? inputs.ambient.text : QString();
    request.cables = inputs.cables.value.value_or(1);
    request.spacing = inputs.spacing.value.value_or(100);
    request.tripTime = inputs.tripTime.sound() ? inputs.tripTime.text : QString();
    for (int round = 0; round < 8; ++round) {
        QString message;
        const Field failed = checkConditions(request, &message);
        if (failed == Field::None)
            break;
        switch (failed) {
        case Field::CosPhi:
            inputs.cosPhi.value.reset();
            request.cosPhiText = QStringLiteral("1");
            continue;
        case Field::Ambient:
            inputs.ambient.value.reset();
            request.ambientText.clear();
            continue;
        case Field::Cables:
            inputs.cables.value.reset();
            request.cables = 1;
            continue;
        case Field::Spacing:
            inputs.spacing.value.reset();
            request.spacing = 100;
            continue;
        case Field::TripTime:
            inputs.tripTime.value.reset();
            request.tripTime.clear();
            continue;
        default:
            break;
        }
        break;
    }
    return inputs.damagedKeys();
}

namespace {

// A line without inputs: its resistance and drop from its own texts.
void recomputeFromTexts(CableLine &line, const CalcValues &calc)
{
    const LineCalc::RowValues row = LineCalc::rowValues(line);
    const NetworkType net = row.net.value_or(NetworkType::ThreePhase);
    const auto r = LineCalc::lineResistance(row.length.value_or(0), row.material.value_or(QString()),
                                            row.section.value_or(0), calc);
    const double current = row.loadCurrent.value_or(0);
    line.cells[CableLine::Resistance] = NumberText::formatRounded(r.value_or(0.0), calc.places());
    line.cells[CableLine::VoltageDrop] = NumberText::formatRounded(LineCalc::voltageDrop(r, current, net), calc.places());
}

} // namespace

bool recomputable(const LineInputs &inputs)
{
    return inputs.threePhase.sound() && inputs.construction.sound() && inputs.laying.sound() && inputs.material.sound()
           && inputs.neutral.sound() && inputs.neutralSection.sound() && inputs.loadCurrent.sound() && inputs.cosPhi.sound()
           && inputs.ambient.sound() && inputs.cables.sound() && inputs.spacing.sound();
}

RecomputeResult recomputeLines(QVector<CableLine> &lines, const QString &appDir, const CalcValues &calc)
{
    RecomputeResult result;
    // The four tables (network x material), each read at its first use.
    std::optional<Permissible::PermissibleTable> tables[2][2];
    std::optional<CableReactance> reactance;
    for (CableLine &line : lines) {
        const LineCalc::RowValues row = LineCalc::rowValues(line);
        const bool rowSound = row.length && row.section
                              && (line.inputs || (row.material && row.net && row.loadCurrent));
        if (!rowSound || (line.inputs && !recomputable(*line.inputs))) {
            result.skipped << line.name;
            continue;
        }
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
        double idop = row.permissibleCurrent.value_or(0);
        if (!reactance) {
            reactance = CableReactance::load(appDir);
            if (!reactance->isUsable())
                result.problems << reactance->problem();
        }
        CableLine recomputed = slot->isUsable() ? buildLine(request, {*slot, *reactance}, calc, idop) : line;
        if (!slot->isUsable()) {
            recomputeFromTexts(recomputed, calc);
            ++result.withoutTable;
        }
        recomputed.name = line.name;
        recomputed.checked = line.checked;
        recomputed.place = line.place;
        line = std::move(recomputed);
        ++result.recomputed;
    }
    return result;
}

QString recomputeMessage(const RecomputeResult &result)
{
    if (result.withoutInputs == 0 && result.skipped.isEmpty())
        return QString();
    QString text = QStringLiteral("Пересчитано линий: ") + QString::number(result.recomputed + result.withoutInputs)
                   + QLatin1Char('.');
    if (result.withoutInputs > 0)
        text += QStringLiteral("\r\nУ линий без сохраненных конструкции и прокладки (") + QString::number(result.withoutInputs)
                + QStringLiteral(") пересчитаны сопротивление и падение напряжения; допустимый ток "
                                 "оставлен прежним. Чтобы пересчитать и его, измените такую линию.");
    if (!result.skipped.isEmpty()) {
        // The first names tell which; a long list is cut short.
        constexpr int Shown = 10;
        QStringList names;
        for (const QString &name : result.skipped.mid(0, Shown))
            names << QStringLiteral("«") + name + QStringLiteral("»");
        if (result.skipped.size() > Shown)
            names << QStringLiteral("и еще ") + QString::number(result.skipped.size() - Shown);
        text += QStringLiteral("\r\nНе пересчитаны, так как их данные в проекте повреждены (")
                + QString::number(result.skipped.size()) + QStringLiteral("): ") + names.join(QStringLiteral(", "))
                + QStringLiteral(". Исправьте их в окне линии.");
    }
    return text;
}

} // namespace LineEntry
