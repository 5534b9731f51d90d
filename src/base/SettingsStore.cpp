#include "base/SettingsStore.h"

#include "base/Prompter.h"

#include <QDir>
#include <QFileInfo>

SettingsStore::SettingsStore(std::function<QString()> path) : m_path(std::move(path)) {}

IniDocument SettingsStore::read() const
{
    IniDocument ini;
    ini.load(path());
    return ini;
}

bool SettingsStore::update(Prompter &prompter, const std::function<void(IniDocument &)> &change)
{
    const QString file = path();
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

namespace {

QString withReason(const QString &text, const QString &reason)
{
    return reason.isEmpty() ? text : text + QStringLiteral("\r\n(") + reason + QLatin1Char(')');
}

} // namespace

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
