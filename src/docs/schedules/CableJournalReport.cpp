#include "docs/schedules/CableJournalReport.h"

#include "calc/network/NetworkTree.h"

namespace CableJournalReport {

QString title()
{
    return QStringLiteral("Кабельный журнал");
}

QString defaultFileName(const QString &projectName)
{
    return projectName + QStringLiteral(" - ") + title();
}

QStringList headings()
{
    return {QStringLiteral("Обозначение кабеля"),
            QStringLiteral("Начало трассы"),
            QStringLiteral("Конец трассы"),
            QStringLiteral("По проекту: марка"),
            QStringLiteral("По проекту: число и сечение жил, мм²"),
            QStringLiteral("По проекту: длина, м"),
            QStringLiteral("Проложен: марка"),
            QStringLiteral("Проложен: число и сечение жил, мм²"),
            QStringLiteral("Проложен: длина, м")};
}

namespace {

// Where a line's cable begins: the bus, or the board at the end of the line
// it starts at; a board not named yet is told by that line.
QString routeStart(const QVector<CableLine> &lines, const Network::Tree &tree, int line)
{
    if (!tree.hasStart(line))
        return QString();
    const int up = tree.parent(line);
    if (up == Network::Bus)
        return QStringLiteral("ТП");
    const QString &board = lines.at(up).place.board;
    return board.trimmed().isEmpty() ? QStringLiteral("конец линии «%1»").arg(lines.at(up).name) : board;
}

} // namespace

ReportTable build(const QVector<CableLine> &lines)
{
    ReportTable table;
    for (const QString &text : headings())
        table.heading << ReportCell{text, true, false};

    const Network::Tree tree = Network::Tree::build(lines);
    QVector<int> rowsInOrder;
    rowsInOrder.reserve(lines.size());
    for (const int line : tree.order())
        if (tree.hasStart(line))
            rowsInOrder << line;
    for (int line = 0; line < lines.size(); ++line)
        if (!tree.hasStart(line))
            rowsInOrder << line;

    table.rows.reserve(rowsInOrder.size());
    for (const int line : std::as_const(rowsInOrder)) {
        const CableLine &l = lines.at(line);
        QStringList row(ColumnCount);
        row[Designation] = l.name;
        row[RouteStart] = routeStart(lines, tree, line);
        row[RouteEnd] = l.place.board;
        row[DesignMark] = l.cell(CableLine::Mark);
        row[DesignCores] = l.cell(CableLine::Cores);
        row[DesignLength] = l.cell(CableLine::Length);
        table.rows << row;
    }
    // Lengths as entered; the laid length, once written in, is a number too.
    table.markNumberColumn(DesignLength);
    table.markNumberColumn(LaidLength);
    return table;
}

bool run(ReportWriter &writer, const Project &project)
{
    writer.setProgressPlan(ReportWriter::kDefaultPlan);
    return writer.run(project.projectName, title(), defaultFileName(project.projectName),
                      [&project] { return build(project.lines); });
}

bool print(ReportWriter &writer, const Project &project)
{
    return writer.print(project.projectName, title(), [&project] { return build(project.lines); });
}

} // namespace CableJournalReport
