#include "calc/protection/Protection.h"

#include "base/DataFileRegistry.h"
#include "base/ListInput.h"
#include "base/NumberText.h"
#include "calc/lines/LineCalc.h"

#include <algorithm>
#include <cmath>

namespace Protection {

namespace {

QString amperes(double value, int places)
{
    return NumberText::formatRounded(value, places) + QStringLiteral(" А");
}

QString kiloamperes(double value, int places)
{
    return NumberText::formatRounded(value, places) + QStringLiteral(" кА");
}

} // namespace

QString Breaker::designation() const
{
    const QString in = NumberText::format(rated);
    if (characteristic.size() == 1)
        return characteristic + in;
    return in + QStringLiteral("А ") + characteristic;
}

BreakerTable BreakerTable::fromText(const QString &text)
{
    BreakerTable t;
    t.m_status = Status::Ok;
    ListInput in(text);
    while (!in.atEnd()) {
        const auto type = in.next();
        if (!type)
            break;
        const auto characteristic = in.next();
        Breaker b;
        bool sound = characteristic && !characteristic->trimmed().isEmpty();
        double *numbers[] = {&b.rated, &b.instantaneous, &b.breakingCapacity};
        for (double *target : numbers) {
            const auto field = sound ? in.next() : std::nullopt;
            const auto value = field ? ListInput::toNumber(*field) : std::nullopt;
            sound = sound && value && *value > 0 && std::isfinite(*value);
            if (sound)
                *target = *value;
        }
        if (!sound) {
            t.m_status = Status::Damaged;
            t.m_detail = QStringLiteral("запись ") + QString::number(t.m_rows.size() + 1);
            t.m_rows.clear();
            return t;
        }
        b.type = type->trimmed();
        b.characteristic = characteristic->trimmed();
        t.m_rows.append(b);
    }
    if (t.m_rows.isEmpty()) {
        t.m_status = Status::Damaged;
        t.m_detail = QStringLiteral("нет записей");
    }
    return t;
}

BreakerTable BreakerTable::load(const QString &appDir)
{
    QString shown;
    const auto text = DataFiles::readDataFile(appDir, DataFiles::Breakers, QStringLiteral("\\Breakers.dat"), &shown);
    BreakerTable t = text ? fromText(*text) : BreakerTable();
    t.m_shownPath = shown;
    return t;
}

QString BreakerTable::problem() const
{
    if (m_status == Status::Ok)
        return QString();
    return DataFiles::fileProblemMessage(m_status == Status::Missing, QStringLiteral("Файл защитных аппаратов"),
                                         m_shownPath, m_detail);
}

QStringList BreakerTable::characteristics() const
{
    QStringList out;
    for (const Breaker &b : m_rows)
        if (!out.contains(b.characteristic))
            out << b.characteristic;
    return out;
}

QVector<Breaker> BreakerTable::ofCharacteristic(const QString &characteristic) const
{
    QVector<Breaker> out;
    for (const Breaker &b : m_rows)
        if (b.characteristic == characteristic)
            out << b;
    std::stable_sort(out.begin(), out.end(), [](const Breaker &a, const Breaker &b) { return a.rated < b.rated; });
    return out;
}

std::optional<Breaker> BreakerTable::find(const QString &characteristic, double rated) const
{
    for (const Breaker &b : m_rows)
        if (b.rated == rated && b.characteristic == characteristic)
            return b;
    return std::nullopt;
}

std::optional<Breaker> choose(const BreakerTable &table, const QString &characteristic, double loadCurrent,
                              double permissibleCurrent)
{
    for (const Breaker &b : table.ofCharacteristic(characteristic))
        if (loadCurrent <= b.rated && b.rated <= permissibleCurrent)
            return b;
    return std::nullopt;
}

std::optional<Breaker> chooseAny(const BreakerTable &table, double loadCurrent, double permissibleCurrent)
{
    if (const auto device = choose(table, defaultCharacteristic(), loadCurrent, permissibleCurrent))
        return device;
    for (const QString &characteristic : table.characteristics())
        if (const auto device = choose(table, characteristic, loadCurrent, permissibleCurrent))
            return device;
    return std::nullopt;
}

QString defaultCharacteristic()
{
    return QStringLiteral("C");
}

QString noDeviceMessage(const QString &lineName, const QString &characteristic, double loadCurrent,
                        double permissibleCurrent)
{
    return QStringLiteral("Для линии «") + lineName + QStringLiteral("» нет аппарата")
           + (characteristic.isEmpty() ? QString() : QStringLiteral(" характеристики ") + characteristic)
           + QStringLiteral(" с Iр ≤ Iн ≤ Iz (Iр = ") + NumberText::format(loadCurrent) + QStringLiteral(" А, Iz = ")
           + NumberText::format(permissibleCurrent) + QStringLiteral(" А).");
}

double thermalFactor(const QString &material, double section)
{
    const bool aluminium = material == LineCalc::aluminium();
    if (section > 300)
        return aluminium ? 68 : 103;
    return aluminium ? 76 : 115;
}

double defaultTripTime(bool instantaneous)
{
    return instantaneous ? 0.1 : 5;
}

LineCheck evaluate(const QString &name, const CheckInput &input, int places, bool withReasons)
{
    LineCheck c;
    c.name = name;
    c.input = input;
    if (!input.device)
        return c;
    const Breaker &d = *input.device;

    // Ib <= In <= Iz; I2 = 1,45 In <= 1,45 Iz follows for these devices.
    if (input.loadCurrent > d.rated) {
        c.overload = Verdict::No;
        if (withReasons)
            c.overloadReason = QStringLiteral("Ток нагрузки Iр = ") + amperes(input.loadCurrent, places)
                           + QStringLiteral(" больше Iн = ") + amperes(d.rated, places) + QStringLiteral(".");
    } else if (d.rated > input.permissibleCurrent) {
        c.overload = Verdict::No;
        if (withReasons)
            c.overloadReason = QStringLiteral("Iн = ") + amperes(d.rated, places) + QStringLiteral(" больше Iz = ")
                           + amperes(input.permissibleCurrent, places) + QStringLiteral(": ток срабатывания 1,45·Iн = ")
                           + amperes(1.45 * d.rated, places) + QStringLiteral(" больше 1,45·Iz = ")
                           + amperes(1.45 * input.permissibleCurrent, places) + QStringLiteral(".");
    } else {
        c.overload = Verdict::Yes;
    }

    // ПУЭ 1.7.79: the fault at the line's end trips the device at once.
    bool instantaneous = false;
    if (input.minimumSinglePhase) {
        const double ik = *input.minimumSinglePhase * 1000;
        instantaneous = ik >= d.tripCurrent();
        c.disconnection = instantaneous ? Verdict::Yes : Verdict::No;
        if (!instantaneous && withReasons)
            c.disconnectionReason = QStringLiteral("Iк(1) min = ") + kiloamperes(*input.minimumSinglePhase, places)
                                    + QStringLiteral(" меньше тока мгновенного срабатывания ")
                                    + NumberText::format(d.instantaneous) + QStringLiteral("·Iн = ")
                                    + amperes(d.tripCurrent(), places)
                                    + QStringLiteral(": отключение за 0,4 с (ПУЭ, табл. 1.7.1) не обеспечено.");
    }

    if (input.maximumAtDevice) {
        c.breaking = *input.maximumAtDevice <= d.breakingCapacity ? Verdict::Yes : Verdict::No;
        if (c.breaking == Verdict::No && withReasons)
            c.breakingReason = QStringLiteral("Iк(3) max = ") + kiloamperes(*input.maximumAtDevice, places)
                               + QStringLiteral(" в начале линии больше отключающей способности Icu = ")
                               + kiloamperes(d.breakingCapacity, places) + QStringLiteral(".");

        // S >= I √t / k, I in A.
        c.tripTime = input.tripTime.value_or(defaultTripTime(instantaneous));
        const double k = thermalFactor(input.material, input.section);
        const double needed = *input.maximumAtDevice * 1000 * std::sqrt(c.tripTime) / k;
        c.thermal = input.section >= needed ? Verdict::Yes : Verdict::No;
        if (c.thermal == Verdict::No && withReasons)
            c.thermalReason = QStringLiteral("Сечение ") + NumberText::format(input.section)
                              + QStringLiteral(" мм² меньше Iк·√t/k = ") + NumberText::formatRounded(needed, places)
                              + QStringLiteral(" мм² (t = ") + NumberText::format(c.tripTime) + QStringLiteral(" с, k = ")
                              + NumberText::format(k) + QStringLiteral(").");
    }
    return c;
}

std::optional<Breaker> deviceOf(const CableLine &line, const BreakerTable &table, QString *problem)
{
    if (!line.inputs || line.inputs->device.isEmpty())
        return std::nullopt;
    const auto rated = NumberText::parse(line.inputs->deviceRating);
    const auto device = rated ? table.find(line.inputs->device, *rated) : std::nullopt;
    if (!device && problem && table.status() == BreakerTable::Status::Ok)
        *problem = QStringLiteral("Аппарата ") + line.inputs->device + line.inputs->deviceRating
                   + QStringLiteral(" линии «") + line.name + QStringLiteral("» нет в файле защитных аппаратов.");
    return device;
}

CheckInput lineInput(const CableLine &line, const BreakerTable &table, QString *problem)
{
    CheckInput in;
    in.device = deviceOf(line, table, problem);
    in.loadCurrent = LineCalc::parseLoadCurrent(line.cell(CableLine::LoadCurrent));
    in.permissibleCurrent = NumberText::toDouble(line.cell(CableLine::PermissibleCurrent));
    in.material = line.cell(CableLine::Material);
    in.section = NumberText::toDouble(LineCalc::phaseSectionText(line.cell(CableLine::Cores)));
    if (line.inputs && !line.inputs->tripTime.isEmpty() && !line.inputs->tripTime.trimmed().isEmpty())
        in.tripTime = NumberText::parse(line.inputs->tripTime);
    return in;
}

QStringList headings()
{
    return {QStringLiteral("Линия"), QStringLiteral("Аппарат"), QStringLiteral("Iн, А"), QStringLiteral("Iz, А"),
            QStringLiteral("Iк(1) min, кА"), QStringLiteral("Iк(3) max, кА"), QStringLiteral("Перегрузка"),
            QStringLiteral("Отключение"), QStringLiteral("Отключающая способность"),
            QStringLiteral("Термическая стойкость")};
}

QString verdictText(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Yes:
        return QStringLiteral("да");
    case Verdict::No:
        return QStringLiteral("нет");
    case Verdict::NotApplicable:
        break;
    }
    return QStringLiteral("-");
}

QStringList lineTexts(const LineCheck &c, int places)
{
    const QString dash = QStringLiteral("-");
    auto value = [&](const std::optional<double> &v) { return v ? NumberText::formatRounded(*v, places) : dash; };
    const auto &d = c.input.device;
    return {c.name,
            d ? d->designation() : dash,
            d ? NumberText::format(d->rated) : dash,
            NumberText::formatRounded(c.input.permissibleCurrent, places),
            value(c.input.minimumSinglePhase),
            value(c.input.maximumAtDevice),
            verdictText(c.overload),
            verdictText(c.disconnection),
            verdictText(c.breaking),
            verdictText(c.thermal)};
}

} // namespace Protection
