#include "calc/shortcircuit/FaultCurrents.h"

#include "base/DataFileRegistry.h"
#include "base/ListInput.h"
#include "base/NumberText.h"
#include "calc/lines/LineCalc.h"
#include "calc/shortcircuit/Transformer.h"

#include <cmath>
#include <numbers>

namespace FaultCurrents {

Sequences &Sequences::operator+=(const Sequences &o)
{
    r1 += o.r1;
    x1 += o.x1;
    r0 += o.r0;
    x0 += o.x0;
    return *this;
}

namespace {

// Four impedances after the leading fields of a record; nothing when one is
// not a number or is negative.
std::optional<Sequences> readSequences(ListInput &in)
{
    double v[4];
    for (double &value : v) {
        const auto field = in.next();
        const auto number = field ? ListInput::toNumber(*field) : std::nullopt;
        if (!number || !(*number >= 0) || !std::isfinite(*number))
            return std::nullopt;
        value = *number;
    }
    return Sequences{v[0], v[1], v[2], v[3]};
}

QString recordNumber(qsizetype rows)
{
    return QStringLiteral("запись ") + QString::number(rows + 1);
}

double kA(double voltage, double impedance)
{
    return impedance > 0 ? voltage / impedance : 0;
}

} // namespace

TransformerTable TransformerTable::fromText(const QString &text)
{
    TransformerTable t;
    t.m_status = Status::Ok;
    ListInput in(text);
    while (!in.atEnd()) {
        const auto power = in.next();
        if (!power)
            break;
        const auto group = in.next();
        const auto powerValue = ListInput::toNumber(*power);
        const auto z = group ? readSequences(in) : std::nullopt;
        const QString g = group ? group->trimmed().toUpper() : QString();
        if (!powerValue || !(*powerValue > 0) || (g != QLatin1String("Y") && g != QLatin1String("D")) || !z) {
            t.m_status = Status::Damaged;
            t.m_detail = recordNumber(t.m_rows.size());
            t.m_rows.clear();
            return t;
        }
        t.m_rows.append({*powerValue, g, *z});
    }
    if (t.m_rows.isEmpty()) {
        t.m_status = Status::Damaged;
        t.m_detail = QStringLiteral("нет записей");
    }
    return t;
}

TransformerTable TransformerTable::load(const QString &appDir)
{
    QString shown;
    const auto text = DataFiles::readDataFile(appDir, DataFiles::TransformerImpedances,
                                              QStringLiteral("\\TransformerImpedances.dat"), &shown);
    TransformerTable t = text ? fromText(*text) : TransformerTable();
    t.m_shownPath = shown;
    return t;
}

std::optional<Sequences> TransformerTable::find(double power, const QString &group) const
{
    std::optional<Sequences> found;
    if (m_status == Status::Ok)
        for (const Row &row : m_rows)
            if (float(row.power) == float(power) && row.group == group)
                found = row.z;
    return found;
}

QString TransformerTable::problem() const
{
    if (m_status == Status::Ok)
        return QString();
    return DataFiles::fileProblemMessage(m_status == Status::Missing, QStringLiteral("Файл сопротивлений трансформаторов"),
                                         m_shownPath, m_detail);
}

CableTable CableTable::fromText(const QString &text)
{
    CableTable t;
    t.m_status = Status::Ok;
    ListInput in(text);
    while (!in.atEnd()) {
        const auto material = in.next();
        if (!material)
            break;
        const auto section = in.next();
        const auto sectionValue = section ? ListInput::toNumber(*section) : std::nullopt;
        const auto z = sectionValue ? readSequences(in) : std::nullopt;
        const QString m = material->trimmed();
        if ((m != LineCalc::copper() && m != LineCalc::aluminium()) || !sectionValue || !(*sectionValue > 0) || !z) {
            t.m_status = Status::Damaged;
            t.m_detail = recordNumber(t.m_rows.size());
            t.m_rows.clear();
            return t;
        }
        t.m_rows.append({m, *sectionValue, *z});
    }
    if (t.m_rows.isEmpty()) {
        t.m_status = Status::Damaged;
        t.m_detail = QStringLiteral("нет записей");
    }
    return t;
}

CableTable CableTable::load(const QString &appDir)
{
    QString shown;
    const auto text =
        DataFiles::readDataFile(appDir, DataFiles::CableImpedances, QStringLiteral("\\CableImpedances.dat"), &shown);
    CableTable t = text ? fromText(*text) : CableTable();
    t.m_shownPath = shown;
    return t;
}

std::optional<Sequences> CableTable::find(const QString &material, double section) const
{
    if (m_status == Status::Ok)
        for (const Row &row : m_rows)
            if (float(row.section) == float(section) && row.material == material)
                return row.z;
    return std::nullopt;
}

QString CableTable::problem() const
{
    if (m_status == Status::Ok)
        return QString();
    return DataFiles::fileProblemMessage(m_status == Status::Missing, QStringLiteral("Файл сопротивлений кабелей"),
                                         m_shownPath, m_detail);
}

std::optional<Inputs> inputsOf(const Project &project, QString *message)
{
    Inputs in;
    auto refuse = [message](const QString &text) {
        if (message)
            *message = text;
        return std::nullopt;
    };
    auto number = [](const QString &text, double min, double max) -> std::optional<double> {
        const auto v = NumberText::parse(text);
        if (!v || !(*v >= min) || !(*v <= max))
            return std::nullopt;
        return v;
    };
    const auto power = number(project.transformerPower, 0, 1e6);
    if (!power || *power == 0)
        return refuse(Transformer::noPowerMessage());
    in.transformerPower = *power;
    const QString group = project.transformerGroup.trimmed().toUpper();
    if (group != QLatin1String("Y") && group != QLatin1String("D"))
        return refuse(QStringLiteral("Схема соединения обмоток трансформатора должна быть Y/Yн-0 или Д/Yн-11!"));
    in.group = group;
    const auto sk = number(project.systemPower, 0, 1e6);
    if (!sk)
        return refuse(QStringLiteral("Мощность короткого замыкания системы должна быть числом от 0 до 1000000 МВА "
                                     "(0 — система бесконечной мощности)!"));
    in.systemPower = *sk;
    const auto hv = NumberText::parse(project.supplyVoltage);
    if (!hv || (*hv != 6 && *hv != 10))
        return refuse(QStringLiteral("Напряжение питающей линии должно быть 6 или 10 кВ!"));
    in.supplyVoltage = *hv;
    in.supplyLine = project.supplyLineUsed != 0;
    in.supplyOverhead = project.supplyLineOverhead != 0;
    in.supplyLength = NumberText::toDouble(project.supplyLineLength);
    in.supplyMaterial = project.supplyLineMaterial;
    in.supplySection = NumberText::toDouble(project.supplyLineSection);
    const struct {
        const QString &text;
        double *target;
        double max;
        const char *name;
    } resistances[] = {
        {project.busResistance, &in.busResistance, 1e4, "Активное сопротивление шин и аппаратов ТП"},
        {project.busReactance, &in.busReactance, 1e4, "Индуктивное сопротивление шин и аппаратов ТП"},
        {project.contactResistance, &in.contactResistance, 1e4, "Переходное сопротивление контактов линии"},
        {project.arcResistance, &in.arcResistance, 1e4, "Сопротивление дуги"},
    };
    for (const auto &r : resistances) {
        const auto v = number(r.text, 0, r.max);
        if (!v)
            return refuse(QStringLiteral("Значение «") + QString::fromUtf8(r.name)
                          + QStringLiteral("» должно быть числом от 0 до 10000 мОм!"));
        *r.target = *v;
    }
    const auto temperature = number(project.conductorTemperature, 20, 250);
    if (!temperature)
        return refuse(QStringLiteral("Температура жил кабелей к концу КЗ должна быть от 20 до 250 °C!"));
    in.conductorTemperature = *temperature;
    return in;
}

double systemReactance(double systemPowerMVA)
{
    if (!(systemPowerMVA > 0))
        return 0;
    // U in V, Sк in kVA: V² / kVA = mOhm.
    return AverageVoltage * AverageVoltage / (systemPowerMVA * 1000);
}

double averageSupplyVoltage(double supplyVoltage)
{
    return supplyVoltage == 6 ? 6.3 : 10.5;
}

namespace {

// mOhm at 0.4 kV for every Ohm of the supply line: (0.4 / Uср)² × 1000.
double referredToLowVoltage(const Inputs &inputs)
{
    const double ratio = AverageVoltage / 1000 / averageSupplyVoltage(inputs.supplyVoltage);
    return ratio * ratio * 1000;
}

} // namespace

double supplyLineResistance(const Inputs &inputs, const CalcValues &calc)
{
    if (!inputs.supplyLine || !(inputs.supplyVoltage > 0))
        return 0;
    // With the length in km, lineResistance's number is the line's ohms.
    const auto ohm = LineCalc::lineResistance(inputs.supplyLength, inputs.supplyMaterial, inputs.supplySection, calc);
    if (!ohm)
        return 0;
    return *ohm * referredToLowVoltage(inputs);
}

double supplyLineReactancePerKm(bool overhead)
{
    return overhead ? 0.35 : 0.08;
}

double supplyLineReactance(const Inputs &inputs)
{
    if (!inputs.supplyLine || !(inputs.supplyLength > 0))
        return 0;
    return supplyLineReactancePerKm(inputs.supplyOverhead) * inputs.supplyLength * referredToLowVoltage(inputs);
}

double heatingFactor(const QString &material, double temperature)
{
    if (material == LineCalc::aluminium())
        return (228 + temperature) / 248;
    return (234.5 + temperature) / 254.5;
}

double peakFactor(double r1, double x1)
{
    if (!(x1 > 0))
        return 1;
    if (!(r1 > 0))
        return 2;
    const double phi = std::atan2(x1, r1);
    return 1 + std::sin(phi) * std::exp(-(std::numbers::pi / 2 + phi) / std::tan(phi));
}

std::optional<Sums> sourceSums(const Inputs &inputs, const CalcValues &calc, const TransformerTable &transformers,
                               const CableTable &cables, QStringList *problems)
{
    QStringList found;
    if (!transformers.problem().isEmpty())
        found << transformers.problem();
    if (!cables.problem().isEmpty())
        found << cables.problem();
    const auto transformer = transformers.find(inputs.transformerPower, inputs.group);
    if (!transformer && transformers.status() == TransformerTable::Status::Ok)
        found << QStringLiteral("Трансформатора мощностью ") + NumberText::format(inputs.transformerPower)
                     + (inputs.group == QLatin1String("D") ? QStringLiteral(" кВА со схемой Д/Yн-11")
                                                           : QStringLiteral(" кВА со схемой Y/Yн-0"))
                     + QStringLiteral(" нет в файле сопротивлений трансформаторов!");
    if (problems)
        *problems << found;
    if (!transformer)
        return std::nullopt;

    // The system and the supply line in the positive sequence only (the
    // transformer's windings close the zero sequence on the 0.4 kV side),
    // then the transformer, the busbars and devices of the substation.
    Sums sums;
    sums.cold.x1 += systemReactance(inputs.systemPower);
    sums.cold.r1 += supplyLineResistance(inputs, calc);
    sums.cold.x1 += supplyLineReactance(inputs);
    sums.cold += *transformer;
    sums.cold += Sequences{inputs.busResistance, inputs.busReactance, inputs.busResistance, inputs.busReactance};
    // The cables' resistances once more, heated to the end of the fault.
    sums.heated = sums.cold;
    return sums;
}

bool isThreePhase(const CableLine &line)
{
    return line.cell(CableLine::Voltage) != QLatin1String("220");
}

std::optional<Sums> cableShare(const CableLine &line, const Inputs &inputs, const CableTable &cables)
{
    const QString notation = line.cell(CableLine::Cores);
    return cableShare(line.cell(CableLine::Material), NumberText::toDouble(LineCalc::phaseSectionText(notation)),
                      LineCalc::neutralSection(notation), NumberText::toDouble(line.cell(CableLine::Length)), inputs,
                      cables);
}

std::optional<Sums> cableShare(const QString &material, double section, double neutralSection, double length,
                               const Inputs &inputs, const CableTable &cables)
{
    const double neutral = neutralSection == 0 ? section : neutralSection;
    const auto phase = cables.find(material, section);
    const auto neutralCore = neutral == section ? phase : cables.find(material, neutral);
    if (!phase || !neutralCore)
        return std::nullopt;
    // The neutral's own section gives the zero sequence: r0 = r1 + 3 rN.
    Sequences cable{phase->r1 * length, phase->x1 * length, phase->r0 * length, phase->x0 * length};
    if (neutral != section)
        cable.r0 = (phase->r1 + 3 * neutralCore->r1) * length;
    const double hot = heatingFactor(material, inputs.conductorTemperature);
    Sums share;
    share.cold = cable;
    share.heated = Sequences{cable.r1 * hot, cable.x1, cable.r0 * hot, cable.x0};
    return share;
}

Sums lineEnd(const Sums &start, const Sums &cable, const Inputs &inputs)
{
    const Sequences contacts{inputs.contactResistance, 0, inputs.contactResistance, 0};
    Sums end = start;
    end.cold += cable.cold;
    end.cold += contacts;
    end.heated += cable.heated;
    end.heated += contacts;
    return end;
}

QString missingCableMessage(const CableLine &line)
{
    return QStringLiteral("Для линии «") + line.name + QStringLiteral("» (") + line.cell(CableLine::Material)
           + QStringLiteral(", ") + line.cell(CableLine::Cores)
           + QStringLiteral(") нет сопротивлений в файле сопротивлений кабелей: токи в конце этой линии и линий, "
                            "которые начинаются за ней, не рассчитаны.");
}

Point pointOf(const QString &name, const Sums &sums, bool threePhase, const Inputs &inputs)
{
    const Sequences &cold = sums.cold;
    const Sequences &heated = sums.heated;
    const double sqrt3 = std::sqrt(3.0);
    Point p;
    p.name = name;
    p.maximum = cold;
    const double z1 = std::hypot(cold.r1, cold.x1);
    if (threePhase && z1 > 0) {
        p.threePhase = kA(AverageVoltage / sqrt3, z1);
        p.twoPhase = sqrt3 / 2 * *p.threePhase;
        p.peakFactor = peakFactor(cold.r1, cold.x1);
        p.peakCurrent = std::sqrt(2.0) * *p.peakFactor * *p.threePhase;
    }
    const double loop = std::hypot(2 * cold.r1 + cold.r0, 2 * cold.x1 + cold.x0);
    if (loop > 0)
        p.singlePhaseMax = kA(sqrt3 * AverageVoltage, loop);
    const double hotLoop = std::hypot(2 * heated.r1 + heated.r0 + 3 * inputs.arcResistance, 2 * heated.x1 + heated.x0);
    if (hotLoop > 0)
        p.singlePhaseMin = kA(sqrt3 * AverageVoltage, hotLoop);
    return p;
}

QStringList headings()
{
    return {QStringLiteral("Точка КЗ"), QStringLiteral("Iк(3) max, кА"), QStringLiteral("Iк(2), кА"),
            QStringLiteral("Iк(1) max, кА"), QStringLiteral("Iк(1) min, кА"), QStringLiteral("Kуд"),
            QStringLiteral("iуд, кА")};
}

QStringList pointTexts(const Point &point, int places)
{
    auto text = [places](const std::optional<double> &v) {
        return v ? NumberText::formatRounded(*v, places) : QStringLiteral("-");
    };
    return {point.name,
            text(point.threePhase),
            text(point.twoPhase),
            text(point.singlePhaseMax),
            text(point.singlePhaseMin),
            text(point.peakFactor),
            text(point.peakCurrent)};
}

} // namespace FaultCurrents
