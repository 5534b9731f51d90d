#include "docs/schedules/FaultCurrentsReport.h"

#include "calc/network/NetworkTexts.h"
#include "base/NumberText.h"

namespace FaultCurrentsReport {

QString title()
{
    return QStringLiteral("Ведомость токов КЗ (ГОСТ 28249-93)");
}

QString defaultFileName(const QString &projectName)
{
    return projectName + QStringLiteral(" - ") + title();
}

ReportTable inputsTable(const Project &p)
{
    ReportTable table;
    table.heading = {ReportCell{QStringLiteral("Исходная величина"), true, false},
                     ReportCell{QStringLiteral("Значение"), true, false},
                     ReportCell{QStringLiteral("Единица"), true, false}};
    const auto add = [&table](const QString &what, const QString &value, const QString &unit) {
        table.rows << QStringList{what, value, unit};
    };
    const QString group = p.transformerGroup.trimmed().toUpper();
    add(QStringLiteral("Мощность трансформатора"), p.transformerPower, QStringLiteral("кВА"));
    add(QStringLiteral("Схема соединения обмоток трансформатора"),
        group == QLatin1String("D") ? QStringLiteral("Д/Yн-11") : QStringLiteral("Y/Yн-0"), QString());
    add(QStringLiteral("Мощность КЗ системы Sк (0 — система бесконечной мощности)"), p.systemPower, QStringLiteral("МВА"));
    if (p.supplyLineUsed != 0) {
        add(QStringLiteral("Питающая линия: напряжение"), p.supplyVoltage, QStringLiteral("кВ"));
        add(QStringLiteral("Питающая линия: материал"), p.supplyLineMaterial, QString());
        add(QStringLiteral("Питающая линия: длина"), p.supplyLineLength, QStringLiteral("км"));
        add(QStringLiteral("Питающая линия: сечение"), p.supplyLineSection, QStringLiteral("мм²"));
    } else {
        add(QStringLiteral("Питающая линия"), QStringLiteral("не учитывается"), QString());
    }
    add(QStringLiteral("Активное сопротивление шин и аппаратов ТП"), p.busResistance, QStringLiteral("мОм"));
    add(QStringLiteral("Индуктивное сопротивление шин и аппаратов ТП"), p.busReactance, QStringLiteral("мОм"));
    add(QStringLiteral("Переходное сопротивление контактов каждой линии"), p.contactResistance, QStringLiteral("мОм"));
    add(QStringLiteral("Сопротивление дуги (для Iк(1) min)"), p.arcResistance, QStringLiteral("мОм"));
    add(QStringLiteral("Температура жил кабелей к концу КЗ (для Iк(1) min)"), p.conductorTemperature,
        QStringLiteral("°C"));
    add(QStringLiteral("Среднее номинальное напряжение сети"), NumberText::format(FaultCurrents::AverageVoltage),
        QStringLiteral("В"));
    // The values as entered: numbers keep their texts and stand right.
    table.markNumberColumn(1);
    return table;
}

ReportTable pointsTable(const FaultCurrents::Result &result, int places)
{
    ReportTable table;
    const QStringList headings = FaultCurrents::headings();
    table.heading << ReportCell{headings.at(0), true, false};
    for (const char *sum : {"R1Σ, мОм", "X1Σ, мОм", "R0Σ, мОм", "X0Σ, мОм"})
        table.heading << ReportCell{QString::fromUtf8(sum), true, true};
    for (int c = 1; c < headings.size(); ++c)
        table.heading << ReportCell{headings.at(c), true, true};
    const QString dash = QStringLiteral("-");
    for (const FaultCurrents::Point &point : result.points) {
        const QStringList currents = FaultCurrents::pointTexts(point, places);
        QStringList row{Network::indentedName(point.name, point.level)};
        // A point that could not be computed has no sums either.
        const bool known = point.singlePhaseMax.has_value();
        for (const double z : {point.maximum.r1, point.maximum.x1, point.maximum.r0, point.maximum.x0})
            row << (known ? NumberText::formatFixed(z, places) : dash);
        row << currents.mid(1);
        table.rows << row;
    }
    for (int c = 1; c < table.columnCount(); ++c)
        table.setNumberColumn(c, places);
    return table;
}

QVector<ReportSection> build(const Project &project, const FaultCurrents::Result &result, int places)
{
    return {ReportSection{QStringLiteral("Исходные данные"), inputsTable(project)},
            ReportSection{QStringLiteral("Токи КЗ в точках сети"), pointsTable(result, places)}};
}

bool run(ReportWriter &writer, const Project &project, const FaultCurrents::Result &result, int places)
{
    return writer.run(project.projectName, title(), defaultFileName(project.projectName),
                      [&] { return build(project, result, places); });
}

bool print(ReportWriter &writer, const Project &project, const FaultCurrents::Result &result, int places)
{
    return writer.print(project.projectName, title(), [&] { return build(project, result, places); });
}

} // namespace FaultCurrentsReport
