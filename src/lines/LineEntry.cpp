#include "lines/LineEntry.h"

#include "base/AppContext.h"
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

CableLine buildLine(const Request &request, const Permissible::PermissibleTable &table, const CalcValues &calc,
                    double &idop)
{
    const double section = NumberText::toDouble(request.sectionText);
    if (const auto value = Permissible::lookupPermissibleCurrent(table, request.choice, section))
        idop = *value;

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
    CableLine line = LineCalc::computeLine(in, calc);
    line.inputs = inputsOf(request);
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
        CableLine recomputed = slot->isUsable() ? buildLine(request, *slot, calc, idop) : line;
        if (!slot->isUsable())
            recomputeFromTexts(recomputed, calc);
        recomputed.name = line.name;
        recomputed.checked = line.checked;
        line = std::move(recomputed);
        ++result.recomputed;
    }
    return result;
}

} // namespace LineEntry
