#include "calc/lines/MarkList.h"

#include "base/ListInput.h"
#include "base/TextFile.h"

#include <QFileInfo>

namespace MarkList {

QStringList parse(const QString &text)
{
    QStringList marks;
    ListInput in(text);
    while (const auto field = in.next())
        if (!field->isEmpty())
            marks << *field;
    return marks;
}

QString format(const QStringList &marks)
{
    QString text;
    for (const QString &mark : marks)
        text += ListInput::quote(mark) + QLatin1String("\r\n");
    return text;
}

std::optional<QStringList> read(const QString &path)
{
    if (!QFileInfo::exists(path))
        return QStringList();
    QString text;
    if (!TextFile::read(path, &text))
        return std::nullopt;
    return parse(text);
}

bool write(const QString &path, const QStringList &marks, QString *error)
{
    return TextFile::write(path, format(marks), error);
}

QString clean(const QString &typed)
{
    QString mark = typed;
    mark.replace(QLatin1String("\r\n"), QLatin1String(" "));
    mark.replace(QLatin1Char('\r'), QLatin1Char(' '));
    mark.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return mark;
}

} // namespace MarkList
