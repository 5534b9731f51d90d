#pragma once

#include "RtfReader.h"
#include "base/Project.h"

#include <QFile>

// Lines and projects shared by the report tests.
inline CableLine reportLine(const QString &name, bool checked, const QString &cores = QStringLiteral("4x16"),
                            const QString &resistance = QStringLiteral("0"), const QString &voltage = QStringLiteral("380"),
                            const QString &length = QStringLiteral("0"), const QString &material = QStringLiteral("Медь"))
{
    CableLine l;
    l.name = name;
    l.cells = QStringList{QStringLiteral("ВВГ"), cores, material, length, resistance, QStringLiteral("10"),
                          QStringLiteral("25"), QStringLiteral("0,5"), voltage};
    l.checked = checked;
    return l;
}

inline RtfDocumentView readRtfFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return RtfDocumentView{};
    return readRtf(f.readAll());
}

// The texts of a table row.
inline QStringList rowTexts(const RtfTable &table, int row)
{
    QStringList out;
    for (const RtfRun &cell : table.rows.at(row))
        out << cell.text;
    return out;
}
