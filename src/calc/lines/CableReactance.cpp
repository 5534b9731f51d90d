#include "calc/lines/CableReactance.h"

#include "base/DataFileRegistry.h"
#include "base/ListInput.h"
#include "base/NumberText.h"

CableReactance CableReactance::load(const QString &appDir)
{
    QString shown;
    const auto text = DataFiles::readDataFile(appDir, DataFiles::CableReactance, QStringLiteral("\\CableReactance.dat"),
                                              &shown);
    CableReactance table = text ? fromText(*text) : CableReactance();
    table.m_shownPath = shown;
    return table;
}

CableReactance CableReactance::fromText(const QString &text)
{
    CableReactance table;
    table.m_status = Status::Ok;
    ListInput in(text);
    while (!in.atEnd()) {
        const auto section = in.next();
        if (!section)
            break;
        const auto x1 = in.next();
        const auto sectionValue = ListInput::toNumber(*section);
        const auto x1Value = x1 ? ListInput::toNumber(*x1) : std::nullopt;
        if (!sectionValue || !x1Value || !(*sectionValue > 0) || !(*x1Value >= 0) || *x1Value > 10) {
            table.m_status = Status::Damaged;
            table.m_detail = QStringLiteral("строка ") + QString::number(table.m_rows.size() + 1);
            table.m_rows.clear();
            return table;
        }
        table.m_rows.append({*sectionValue, *x1Value});
    }
    if (table.m_rows.isEmpty()) {
        table.m_status = Status::Damaged;
        table.m_detail = QStringLiteral("нет строк");
    }
    const QVector<Row> &rows = table.m_rows;
    if (const auto pair = DataFiles::conflictingRecords(
            int(rows.size()), [&](int a, int b) { return rows[a].section < rows[b].section; },
            [&](int a, int b) { return rows[a].section == rows[b].section; },
            [&](int a, int b) { return rows[a].x1 == rows[b].x1; })) {
        table.m_status = Status::Damaged;
        table.m_detail = DataFiles::conflictDetail(*pair, QStringLiteral("сечение ")
                                                              + NumberText::format(rows[pair->first - 1].section)
                                                              + QStringLiteral(" мм²"));
        table.m_rows.clear();
    }
    return table;
}

std::optional<double> CableReactance::perMetre(double section) const
{
    if (!isUsable())
        return std::nullopt;
    for (const Row &row : m_rows)
        if (row.section == section)
            return row.x1;
    return std::nullopt;
}

QString CableReactance::problem() const
{
    if (m_status == Status::Ok)
        return QString();
    return DataFiles::fileProblemMessage(m_status == Status::Missing, QStringLiteral("Файл индуктивных сопротивлений"),
                                         m_shownPath, m_detail)
           + QStringLiteral(" Индуктивное сопротивление кабелей принято равным нулю.");
}

QString CableReactance::missingSectionMessage(double section)
{
    return QStringLiteral("Для сечения ") + NumberText::format(section)
           + QStringLiteral(" мм² нет индуктивного сопротивления в справочном файле: оно принято равным нулю.");
}
