#include "cli/CliCommon.h"

#include "base/NumberText.h"

Prompter::Answer CliPrompter::message(const QString &text, const QString &, Icon, Buttons buttons)
{
    m_err << text << Qt::endl;
    ++count;
    last = text;
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::OkCancel:
    case Buttons::YesNoCancel:
        return Answer::Cancel;
    case Buttons::YesNo:
        return Answer::No;
    }
    return Answer::No;
}

void CliArgs::set(const QString &key, const QString &value)
{
    if (!m_options.contains(key))
        m_keys << key;
    m_options.insert(key, value);
}

std::optional<CliArgs> CliArgs::parse(const QStringList &args, const QStringList &flags, QString *error)
{
    CliArgs out;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--")) {
            out.positional += args.mid(i + 1);
            break;
        }
        if (a.startsWith(QLatin1String("--"))) {
            QString key = a.mid(2);
            const qsizetype eq = key.indexOf(QLatin1Char('='));
            if (eq >= 0) {
                out.set(key.left(eq), key.mid(eq + 1));
                continue;
            }
            if (flags.contains(key)) {
                out.set(key, QStringLiteral("1"));
                continue;
            }
            if (i + 1 >= args.size()) {
                if (error)
                    *error = QStringLiteral("параметру --%1 нужно значение").arg(key);
                return std::nullopt;
            }
            out.set(key, args.at(++i));
        } else {
            out.positional << a;
        }
    }
    return out;
}

int CliContext::refuse(const QString &message)
{
    if (!message.isEmpty())
        err << message << Qt::endl;
    return 1;
}

QString cliUsageLine(const QString &usage)
{
    return QStringLiteral("Использование: kabinor-cli ") + usage;
}

QString cliNumberText(const QString &text)
{
    if (!NumberText::parse(text))
        return text;
    QString comma = text.trimmed();
    comma.replace(QLatin1Char('.'), QLatin1Char(','));
    return comma;
}

int CliContext::usage(const QString &line)
{
    err << cliUsageLine(line) << Qt::endl;
    return 2;
}
