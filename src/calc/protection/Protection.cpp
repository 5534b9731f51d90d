#include "calc/protection/Protection.h"

#include "base/DataFileRegistry.h"
#include "base/ListInput.h"
#include "base/NumberText.h"
#include "calc/lines/LineCalc.h"
#include "calc/lines/LineEntry.h"

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

bool Breaker::isModular() const
{
    return characteristic == QLatin1String("B") || characteristic == QLatin1String("C")
           || characteristic == QLatin1String("D");
}

double Breaker::releaseTolerance() const
{
    return isModular() ? 1 : 1.2;
}

QString Breaker::tripCurrentText(int places) const
{
    const QString tolerance = isModular() ? QString() : NumberText::format(releaseTolerance()) + QStringLiteral("·");
    return tolerance + NumberText::format(instantaneous) + QStringLiteral("·Iн = ") + amperes(tripCurrent(), places);
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

LetThroughTable LetThroughTable::fromText(const QString &text)
{
    LetThroughTable t;
    t.m_status = Status::Ok;
    ListInput in(text);
    while (!in.atEnd()) {
        const auto characteristic = in.next();
        if (!characteristic)
            break;
        Row row;
        row.characteristic = characteristic->trimmed();
        bool sound = !row.characteristic.isEmpty();
        for (double *target : {&row.rated, &row.current, &row.energy}) {
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
        t.m_rows.append(row);
    }
    if (t.m_rows.isEmpty()) {
        t.m_status = Status::Damaged;
        t.m_detail = QStringLiteral("нет записей");
    }
    return t;
}

LetThroughTable LetThroughTable::load(const QString &appDir)
{
    QString shown;
    const auto text = DataFiles::readDataFile(appDir, DataFiles::LetThrough, QStringLiteral("\\LetThrough.dat"), &shown);
    LetThroughTable t = text ? fromText(*text) : LetThroughTable();
    t.m_shownPath = shown;
    return t;
}

QString LetThroughTable::problem() const
{
    if (m_status == Status::Ok)
        return QString();
    return DataFiles::fileProblemMessage(m_status == Status::Missing,
                                         QStringLiteral("Файл пропускаемой энергии автоматов (I²t)"), m_shownPath,
                                         m_detail);
}

std::optional<double> LetThroughTable::find(const QString &characteristic, double rated, double prospectiveCurrent) const
{
    // The bounds grow with In and with the current: the least covering row is the tightest.
    std::optional<double> found;
    for (const Row &row : m_rows)
        if (row.characteristic == characteristic && rated <= row.rated && prospectiveCurrent <= row.current
            && (!found || row.energy < *found))
            found = row.energy;
    return found;
}

std::optional<double> letThroughOf(const Breaker &device, std::optional<double> maximumAtDevice,
                                   const LetThroughTable &letThrough)
{
    // A current the breaker cannot break has no let-through it answers for.
    if (!device.isModular() || !maximumAtDevice || *maximumAtDevice > device.breakingCapacity)
        return std::nullopt;
    return letThrough.find(device.characteristic, device.rated, *maximumAtDevice * 1000);
}

std::optional<Breaker> choose(const BreakerTable &table, const QString &characteristic, double loadCurrent,
                              double permissibleCurrent)
{
    for (const Breaker &b : table.ofCharacteristic(characteristic))
        if (loadCurrent <= b.rated && b.rated <= permissibleCurrent)
            return b;
    return std::nullopt;
}

QStringList choiceOrder(const BreakerTable &table)
{
    const QStringList present = table.characteristics();
    QStringList order;
    for (const char *modular : {"C", "B", "D"})
        if (present.contains(QLatin1String(modular)))
            order << QString::fromLatin1(modular);
    for (const QString &c : present)
        if (!order.contains(c))
            order << c;
    return order;
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
    if (!input.device) {
        // An overloaded cable no device can protect is no "-".
        if (input.noDeviceFits) {
            c.overload = Verdict::No;
            c.overloadReason = input.loadCurrent > input.permissibleCurrent
                                   ? QStringLiteral("нет аппарата: Ib ") + amperes(input.loadCurrent, places)
                                         + QStringLiteral(" > Iz ") + amperes(input.permissibleCurrent, places)
                                   : QStringLiteral("нет аппарата с Ib ≤ Iн ≤ Iz: Ib ")
                                         + amperes(input.loadCurrent, places) + QStringLiteral(", Iz ")
                                         + amperes(input.permissibleCurrent, places);
        }
        return c;
    }
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
    c.tripCurrent = d.tripCurrent();
    if (input.minimumSinglePhase) {
        const double ik = *input.minimumSinglePhase * 1000;
        instantaneous = ik >= c.tripCurrent;
        c.disconnection = instantaneous ? Verdict::Yes : Verdict::No;
        if (!instantaneous && withReasons)
            c.disconnectionReason = QStringLiteral("Iк(1) min = ") + kiloamperes(*input.minimumSinglePhase, places)
                                    + QStringLiteral(" меньше тока мгновенного срабатывания ")
                                    + d.tripCurrentText(places)
                                    + QStringLiteral(": отключение за 0,4 с (ПУЭ, табл. 1.7.1) не обеспечено.");
    }

    if (input.maximumAtDevice) {
        c.breaking = *input.maximumAtDevice <= d.breakingCapacity ? Verdict::Yes : Verdict::No;
        if (c.breaking == Verdict::No && withReasons)
            c.breakingReason = QStringLiteral("Iк(3) max = ") + kiloamperes(*input.maximumAtDevice, places)
                               + QStringLiteral(" в начале линии больше отключающей способности Icu = ")
                               + kiloamperes(d.breakingCapacity, places) + QStringLiteral(".");

        c.tripTime = input.tripTime.value_or(defaultTripTime(instantaneous));
        const double k = thermalFactor(input.material, input.section);
        if (input.letThrough) {
            // A current-limiting breaker clears within milliseconds: what it
            // lets through, I²t, against what the cable bears, k²S².
            const double withstand = k * k * input.section * input.section;
            c.thermalCriterion = ThermalCriterion::LetThrough;
            c.minimumSection = std::sqrt(*input.letThrough) / k;
            c.thermal = *input.letThrough <= withstand ? Verdict::Yes : Verdict::No;
            if (c.thermal == Verdict::No && withReasons)
                c.thermalReason = QStringLiteral("Пропускаемая аппаратом энергия I²t = ")
                                  + NumberText::formatRounded(*input.letThrough, places)
                                  + QStringLiteral(" А²с больше k²S² = ") + NumberText::formatRounded(withstand, places)
                                  + QStringLiteral(" А²с (сечение ") + NumberText::format(input.section)
                                  + QStringLiteral(" мм², k = ") + NumberText::format(k) + QStringLiteral(").");
        } else {
            // S >= I √t / k, I in A.
            const double needed = *input.maximumAtDevice * 1000 * std::sqrt(c.tripTime) / k;
            c.thermalCriterion = ThermalCriterion::MinimumSection;
            c.minimumSection = needed;
            c.thermal = input.section >= needed ? Verdict::Yes : Verdict::No;
            if (c.thermal == Verdict::No && withReasons)
                c.thermalReason = QStringLiteral("Сечение ") + NumberText::format(input.section)
                                  + QStringLiteral(" мм² меньше Iк·√t/k = ") + NumberText::formatRounded(needed, places)
                                  + QStringLiteral(" мм² (t = ") + NumberText::format(c.tripTime)
                                  + QStringLiteral(" с, k = ") + NumberText::format(k) + QStringLiteral(").");
        }
    }
    return c;
}

QStringList failedChecks(const LineCheck &c)
{
    const std::pair<Verdict, const char *> checks[] = {{c.overload, "перегрузка"},
                                                       {c.disconnection, "отключение"},
                                                       {c.breaking, "отключающая способность"},
                                                       {c.thermal, "термическая стойкость"}};
    QStringList out;
    for (const auto &[verdict, name] : checks)
        if (verdict == Verdict::No)
            out << QString::fromUtf8(name);
    return out;
}

QString disconnectionNote(const LineCheck &c, int places)
{
    if (c.disconnection == Verdict::No)
        return c.disconnectionReason;
    if (c.disconnection == Verdict::NotApplicable || !c.input.device || !c.input.minimumSinglePhase)
        return QString();
    return QStringLiteral("Iк(1) min = ") + kiloamperes(*c.input.minimumSinglePhase, places)
           + QStringLiteral(" не меньше тока мгновенного срабатывания ") + c.input.device->tripCurrentText(places)
           + QStringLiteral(".");
}

DeviceChoice chooseDevice(const BreakerTable &table, const LetThroughTable &letThrough, const QString &characteristic,
                          const QString &lineName, CheckInput input, int places)
{
    input.noDeviceFits = false;
    const QStringList order = characteristic.isEmpty() ? choiceOrder(table) : QStringList{characteristic};
    DeviceChoice best;
    // The rank of a compromise: breaking capacity first, then how many checks fail.
    auto rank = [](const LineCheck &c) {
        return std::pair<int, int>(c.breaking == Verdict::No ? 1 : 0, int(failedChecks(c).size()));
    };
    for (const QString &ch : order) {
        for (const Breaker &b : table.ofCharacteristic(ch)) {
            if (!(input.loadCurrent <= b.rated && b.rated <= input.permissibleCurrent))
                continue;
            input.device = b;
            input.letThrough = letThroughOf(b, input.maximumAtDevice, letThrough);
            const LineCheck c = evaluate(lineName, input, places);
            if (failedChecks(c).isEmpty())
                return DeviceChoice{b, c};
            if (!best.device || rank(c) < rank(best.check))
                best = DeviceChoice{b, c};
        }
    }
    if (!best.device) {
        input.device.reset();
        input.letThrough.reset();
        input.noDeviceFits = true;
        best.check = evaluate(lineName, input, places);
    }
    return best;
}

QString compromiseMessage(const DeviceChoice &choice)
{
    const QStringList failed = failedChecks(choice.check);
    if (!choice.device || failed.isEmpty())
        return QString();
    QString text = QStringLiteral("Для линии «") + choice.check.name
                   + QStringLiteral("» нет аппарата, проходящего все проверки. Выбран ") + choice.device->designation()
                   + QStringLiteral(", не выполнено: ") + failed.join(QStringLiteral(", ")) + QStringLiteral(".");
    for (const QString &reason : {choice.check.disconnectionReason, choice.check.breakingReason, choice.check.thermalReason})
        if (!reason.isEmpty())
            text += QStringLiteral("\r\n") + reason;
    return text;
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

CheckInput lineInput(const CableLine &line, const BreakerTable &table, QString *problem, QString *damage)
{
    CheckInput in;
    in.device = deviceOf(line, table, problem);
    in.loadCurrent = LineCalc::parseLoadCurrent(line.cell(CableLine::LoadCurrent));
    in.permissibleCurrent = NumberText::toDouble(line.cell(CableLine::PermissibleCurrent));
    in.material = line.cell(CableLine::Material);
    in.section = NumberText::toDouble(LineCalc::phaseSectionText(line.cell(CableLine::Cores)));
    if (line.inputs && !line.inputs->tripTime.isEmpty() && !line.inputs->tripTime.trimmed().isEmpty()) {
        // A time the line dialog would refuse is damage of the file; the line's default stands for it.
        in.tripTime = LineEntry::tripTimeOf(line.inputs->tripTime);
        if (!in.tripTime && damage)
            *damage = QStringLiteral("Время отключения линии «") + line.name + QStringLiteral("» «")
                      + line.inputs->tripTime
                      + QStringLiteral("» вне диапазона 0,01…5 с (ПУЭ, табл. 1.7.1, п. 1.7.79): "
                                       "принято время по умолчанию.");
    }
    return in;
}

LineCheck checkLine(const CableLine &line, CheckInput in, const BreakerTable &table, const LetThroughTable &letThrough,
                    int places, bool chooseMissing, QStringList &notes, bool withReasons)
{
    const bool choosing = chooseMissing && !in.device && !(line.inputs && !line.inputs->device.isEmpty());
    if (!choosing) {
        if (in.device)
            in.letThrough = letThroughOf(*in.device, in.maximumAtDevice, letThrough);
        return evaluate(line.name, in, places, withReasons);
    }
    const DeviceChoice choice = chooseDevice(table, letThrough, QString(), line.name, in, places);
    LineCheck c = choice.check;
    c.chosen = choice.device.has_value();
    if (!choice.device)
        notes << noDeviceMessage(line.name, QString(), in.loadCurrent, in.permissibleCurrent);
    else if (const QString note = compromiseMessage(choice); !note.isEmpty())
        notes << note;
    return c;
}

QStringList headings()
{
    return {QStringLiteral("Линия"), QStringLiteral("Аппарат"), QStringLiteral("Iн, А"), QStringLiteral("Iz, А"),
            QStringLiteral("Iк(1) min, кА"), QStringLiteral("Iк(3) max, кА"), QStringLiteral("Перегрузка"),
            QStringLiteral("Отключение"), QStringLiteral("Отключающая способность"),
            QStringLiteral("Термическая стойкость")};
}

QString thermalCriterionText(ThermalCriterion criterion)
{
    switch (criterion) {
    case ThermalCriterion::MinimumSection:
        return QStringLiteral("S min");
    case ThermalCriterion::LetThrough:
        return QStringLiteral("I²t");
    case ThermalCriterion::None:
        break;
    }
    return QString();
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
