#include "base/InputCheck.h"

#include "base/NumberText.h"

#include <QDir>
#include <QFileInfo>

namespace InputCheck {

Numeric classify(const QString &text)
{
    if (text.isEmpty())
        return Numeric::Empty;
    const auto value = NumberText::parse(text);
    if (!value)
        return Numeric::NotNumber;
    if (*value <= 0)
        return Numeric::NotPositive;
    if (*value > 1000000)
        return Numeric::TooLarge;
    return Numeric::Ok;
}

QString message(Numeric result)
{
    switch (result) {
    case Numeric::Ok:
        return QString();
    case Numeric::Empty:
        return QStringLiteral("Укажите численное значение!");
    case Numeric::NotNumber:
        return QStringLiteral("Вводимое значение должно быть числовым!");
    case Numeric::NotPositive:
        return QStringLiteral("Вводимое значение должно быть положительным и неравным нулю!");
    case Numeric::TooLarge:
        return QStringLiteral("Вводимое значение слишком велико!");
    }
    return QString();
}

QString title()
{
    return QStringLiteral("Ошибка ввода");
}

bool report(const QString &text, Prompter &prompter, Numeric *result)
{
    const Numeric r = classify(text);
    if (result)
        *result = r;
    if (r == Numeric::Ok)
        return true;
    prompter.message(message(r), title(), Prompter::Icon::Exclamation, Prompter::Buttons::Ok);
    return false;
}

} // namespace InputCheck

bool confirmOverwrite(const QString &path, Prompter &prompter)
{
    if (!QFileInfo::exists(path))
        return false;
    const auto answer = prompter.message(QStringLiteral("Файл ") + QDir::toNativeSeparators(path)
                                             + QStringLiteral(" уже существует!\r\nЗаменить?"),
                                         QStringLiteral("Сохранить как"), Prompter::Icon::Exclamation,
                                         Prompter::Buttons::YesNo);
    return answer != Prompter::Answer::Yes;
}
