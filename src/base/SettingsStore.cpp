#include "base/SettingsStore.h"

#include "base/Prompter.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString withReason(const QString &text, const QString &reason)
{
    return reason.isEmpty() ? text : text + QStringLiteral("\r\n(") + reason + QLatin1Char(')');
}

} // namespace

SettingsStore::SettingsStore(std::function<QString()> path) : m_path(std::move(path)) {}

IniDocument SettingsStore::read() const
{
    IniDocument ini;
    if (const QString file = path(); !file.isEmpty())
        ini.load(file);
    return ini;
}

QString SettingsStore::startupProblem() const
{
    const QString file = path();
    IniDocument ini;
    QString error;
    if (file.isEmpty() || !QFileInfo::exists(file) || ini.load(file, &error))
        return QString();
    return withReason(QStringLiteral("Не удалось прочитать файл настроек '") + QDir::toNativeSeparators(file) + QStringLiteral("'."),
                      error)
           + QStringLiteral("\r\nРасчетные значения и другие настройки взяты по умолчанию; файл настроек не будет "
                            "перезаписан.");
}

bool SettingsStore::update(Prompter &prompter, const std::function<void(IniDocument &)> &change)
{
    const QString file = path();
    // No settings file at all (no user's folder): said once at start.
    if (file.isEmpty())
        return false;
    IniDocument ini;
    QString error;
    if (!ini.load(file, &error) && QFileInfo::exists(file)) {
        tell(prompter, unreadableMessage(file, error));
        return false;
    }
    change(ini);
    if (!ini.save(file, &error)) {
        tell(prompter, writeFailedMessage(file, error));
        return false;
    }
    m_failureTold = false;
    return true;
}

void SettingsStore::tell(Prompter &prompter, const QString &text)
{
    if (m_failureTold)
        return;
    m_failureTold = true;
    prompter.message(text, QStringLiteral("Ошибка"), Prompter::Icon::Exclamation);
}


QString SettingsStore::unreadableMessage(const QString &path, const QString &reason)
{
    return withReason(QStringLiteral("Не удалось прочитать файл настроек '") + QDir::toNativeSeparators(path)
                          + QStringLiteral("'.\r\nНастройки не сохранены, чтобы не потерять записанное в нем."),
                      reason);
}

QString SettingsStore::writeFailedMessage(const QString &path, const QString &reason)
{
    return withReason(QStringLiteral("Не удалось сохранить настройки в файл '") + QDir::toNativeSeparators(path)
                          + QStringLiteral("'."),
                      reason);
}
