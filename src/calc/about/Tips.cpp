#include "calc/about/Tips.h"

#include "base/TextFile.h"

#include <QFileInfo>

namespace Tips {

QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n) {
        qsizetype end = start;
        while (end < n && text.at(end) != QLatin1Char('\r') && text.at(end) != QLatin1Char('\n'))
            ++end;
        lines << text.mid(start, end - start);
        if (end < n && text.at(end) == QLatin1Char('\r') && end + 1 < n && text.at(end + 1) == QLatin1Char('\n'))
            ++end;
        start = end + 1;
    }
    return lines;
}

std::optional<QStringList> load(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return std::nullopt;
    QString text;
    if (!TextFile::read(path, &text))
        return std::nullopt;
    return splitLines(text);
}

int chooseIndex(int count, double uniform)
{
    if (count <= 0)
        return 0;
    const int index = int(uniform * count) + 1;
    return qBound(1, index, count);
}

QString missingFileText()
{
    return QStringLiteral("...файл ") + FileName + QStringLiteral(" не найден!");
}

} // namespace Tips
