#include "base/Prompter.h"

#include "base/Version.h"

QString Prompter::applicationTitle()
{
    return Version::productName();
}

Prompter::Answer ScriptedPrompter::message(const QString &text, const QString &title, Icon icon,
                                           Buttons buttons)
{
    messages.append(Message{text, title.isEmpty() ? applicationTitle() : title, icon, buttons});
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    if (!answers.isEmpty())
        return answers.takeFirst();
    return buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
}

QString ScriptedPrompter::input(const QString &prompt, const QString &title, const QString &proposal)
{
    prompts << prompt + QLatin1Char('|') + title + QLatin1Char('|') + proposal;
    if (inputs.isEmpty())
        return QString();
    return inputs.takeFirst();
}

QString ScriptedPrompter::openFile(const QString &title, const QString &folder, const QString &filter)
{
    prompts << title;
    lastFileArgs = {folder, QString(), filter};
    return files.isEmpty() ? QString() : files.takeFirst();
}

QString ScriptedPrompter::saveFile(const QString &title, const QString &folder, const QString &fileName,
                                   const QString &filter, QString *chosenFilter)
{
    prompts << title;
    lastFileArgs = {folder, fileName, filter};
    const QString chosen = chosenFilters.isEmpty() ? filter.section(QStringLiteral(";;"), 0, 0) : chosenFilters.takeFirst();
    if (chosenFilter)
        *chosenFilter = chosen;
    return files.isEmpty() ? QString() : files.takeFirst();
}

void ScriptedPrompter::clear()
{
    messages.clear();
    answers.clear();
    inputs.clear();
    files.clear();
    chosenFilters.clear();
    prompts.clear();
}
