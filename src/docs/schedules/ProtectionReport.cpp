#include "docs/schedules/ProtectionReport.h"

#include "calc/network/NetworkCalc.h"
#include "calc/network/NetworkTexts.h"
#include "base/NumberText.h"

namespace ProtectionReport {

QString title()
{
    return QStringLiteral("Ведомость защитных аппаратов");
}

QString defaultFileName(const QString &projectName)
{
    return projectName + QStringLiteral(" - ") + title();
}

std::optional<Protection::Result> checkProject(const Project &project, const AppContext &context, QString *message,
                                               bool chooseMissing)
{
    return Network::protectionOf(project, context, message, chooseMissing);
}

QStringList headings()
{
    return {QStringLiteral("Линия"),
            QStringLiteral("Iр, А"),
            QStringLiteral("Аппарат"),
            QStringLiteral("Iz, А"),
            QStringLiteral("Iр≤Iн≤Iz"),
            QStringLiteral("Icu, кА"),
            QStringLiteral("Iк(3) max в начале, кА"),
            QStringLiteral("Iк(3)≤Icu"),
            QStringLiteral("Iк(1) min в конце, кА"),
            QStringLiteral("Iа, А"),
            QStringLiteral("t, с"),
            QStringLiteral("Iк(1)≥Iа"),
            QStringLiteral("Критерий"),
            QStringLiteral("S, мм²"),
            QStringLiteral("S min, мм²"),
            QStringLiteral("S≥S min")};
}

namespace {

// The names of the checks in the table of reasons.
QString checkName(Column verdict)
{
    switch (verdict) {
    case Overload:
        return QStringLiteral("Защита от перегрузки");
    case Breaking:
        return QStringLiteral("Отключающая способность");
    case Disconnection:
        return QStringLiteral("Автоматическое отключение питания");
    default:
        break;
    }
    return QStringLiteral("Термическая стойкость кабеля");
}

} // namespace

QVector<ReportSection> build(const Protection::Result &result, int places)
{
    using Protection::Verdict;
    ReportTable table;
    for (const QString &heading : headings())
        table.heading << ReportCell{heading, true, false};
    ReportTable reasons;
    for (const char *heading : {"Линия", "Проверка", "Причина"})
        reasons.heading << ReportCell{QString::fromUtf8(heading), true, false};
    const QString dash = QStringLiteral("-");
    const auto computed = [&](const std::optional<double> &value) {
        return value ? NumberText::formatFixed(*value, places) : dash;
    };
    for (const Protection::LineCheck &c : result.lines) {
        const auto &device = c.input.device;
        const bool thermal = c.thermal != Verdict::NotApplicable;
        QStringList row(ColumnCount);
        row[Line] = Network::indentedName(c.name, c.level);
        row[LoadCurrent] = NumberText::format(c.input.loadCurrent);
        row[Device] = device ? device->designation() : dash;
        row[PermissibleCurrent] = NumberText::formatFixed(c.input.permissibleCurrent, places);
        row[BreakingCapacity] = device ? NumberText::format(device->breakingCapacity) : dash;
        row[MaximumCurrent] = computed(c.input.maximumAtDevice);
        row[MinimumCurrent] = computed(c.input.minimumSinglePhase);
        row[TripCurrent] = device ? NumberText::formatFixed(c.tripCurrent, places) : dash;
        row[TripTime] = thermal ? NumberText::format(c.tripTime) : dash;
        row[ThermalCriterion] = thermal ? Protection::thermalCriterionText(c.thermalCriterion) : dash;
        row[Section] = NumberText::format(c.input.section);
        row[MinimumSection] = thermal ? NumberText::formatFixed(c.minimumSection, places) : dash;
        const int r = int(table.rows.size());
        // Each verdict, and for a "нет" the figure that decided it and the reason.
        const bool loadAboveRating = device && c.input.loadCurrent > device->rated;
        const struct {
            Column column;
            Verdict verdict;
            Column figure;
            const QString &reason;
        } checks[] = {{Overload, c.overload, loadAboveRating ? LoadCurrent : PermissibleCurrent, c.overloadReason},
                      {Breaking, c.breaking, BreakingCapacity, c.breakingReason},
                      {Disconnection, c.disconnection, MinimumCurrent, c.disconnectionReason},
                      {Thermal, c.thermal, Section, c.thermalReason}};
        for (const auto &check : checks) {
            row[check.column] = Protection::verdictText(check.verdict);
            if (check.verdict != Verdict::No)
                continue;
            table.markFailing(r, check.column);
            table.markFailing(r, check.figure);
            reasons.rows << QStringList{c.name, checkName(check.column), check.reason};
        }
        table.rows << row;
    }
    // Figures as entered or as the device table gives them keep their
    // texts; computed ones show the decimal places.
    for (const Column c : {LoadCurrent, PermissibleCurrent, BreakingCapacity, MaximumCurrent, MinimumCurrent,
                           TripCurrent, TripTime, Section, MinimumSection})
        table.markNumberColumn(c);
    QVector<ReportSection> sections{ReportSection{QString(), table}};
    if (!reasons.rows.isEmpty())
        sections << ReportSection{QStringLiteral("Причины невыполнения проверок"), reasons};
    return sections;
}

bool run(ReportWriter &writer, const QString &projectName, const Protection::Result &result, int places)
{
    return writer.run(projectName, title(), defaultFileName(projectName),
                      [&result, places] { return build(result, places); });
}

bool print(ReportWriter &writer, const QString &projectName, const Protection::Result &result, int places)
{
    return writer.print(projectName, title(), [&result, places] { return build(result, places); });
}

} // namespace ProtectionReport
