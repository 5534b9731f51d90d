#include "calc/lines/MarkList.h"

#include "base/ListInput.h"
#include "base/TextFile.h"

#include <QDir>
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

std::optional<QStringList> read(const QString &path, QString *problem)
{
    if (!QFileInfo::exists(path))
        return QStringList();
    QString text;
    QString error;
    if (!TextFile::read(path, &text, &error)) {
        if (problem)
            *problem = QStringLiteral("Не удалось прочитать файл ") + QDir::toNativeSeparators(path)
                       + (error.isEmpty() ? QStringLiteral(".") : QStringLiteral(" (") + error + QStringLiteral(")."));
        return std::nullopt;
    }
    // Marks are typed text: a control character means the file is not a mark list.
    int line = 1;
    for (const QChar c : text) {
        if (c == QLatin1Char('\n'))
            ++line;
        else if (c != QLatin1Char('\r') && c != QLatin1Char('\t') && (c.unicode() < 0x20 || c.unicode() == 0x7F)) {
            if (problem)
                *problem = QStringLiteral("Файл списка марок ") + QDir::toNativeSeparators(path)
                           + QStringLiteral(" поврежден (строка ") + QString::number(line)
                           + QStringLiteral(": управляющий символ) и не прочитан. Марки из него не показаны; файл "
                                            "перезаписывается, только если изменить список.");
            return std::nullopt;
        }
    }
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
