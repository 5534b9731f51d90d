#include "lines/CableReactance.h"

#include "base/DataFileRegistry.h"
#include "base/ListInput.h"
#include "base/NumberText.h"
#include "base/TextFile.h"

#include <QDir>
#include <QFileInfo>

CableReactance CableReactance::load(const QString &appDir)
{
    const QString entry = DataFiles::dataFileName(appDir, DataFiles::CableReactance);
    const QString path = DataFiles::entryPath(appDir, entry);
    QString text;
    CableReactance table;
    if (!path.isEmpty() && QFileInfo(path).isFile() && TextFile::read(path, &text))
        table = fromText(text);
    table.m_shownPath = QDir::toNativeSeparators(
        path.isEmpty() ? DataFiles::joinEntry(appDir, QStringLiteral("\\CableReactance.dat")) : path);
    if (path.isEmpty() || text.isNull())
        table.m_status = Status::Missing;
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
    switch (m_status) {
    case Status::Ok:
        return QString();
    case Status::Missing:
        return QStringLiteral("Файл ") + m_shownPath
               + QStringLiteral(" не найден! Индуктивное сопротивление кабелей принято равным нулю.");
    case Status::Damaged:
        break;
    }
    return QStringLiteral("Файл индуктивных сопротивлений ") + m_shownPath + QStringLiteral(" поврежден (") + m_detail
           + QStringLiteral("). Индуктивное сопротивление кабелей принято равным нулю.");
}

QString CableReactance::missingSectionMessage(double section)
{
    return QStringLiteral("Для сечения ") + NumberText::format(section)
           + QStringLiteral(" мм² нет индуктивного сопротивления в справочном файле: оно принято равным нулю.");
}
