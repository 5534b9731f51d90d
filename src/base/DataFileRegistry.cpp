#include "base/DataFileRegistry.h"

#include "base/ListInput.h"
#include "base/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace DataFiles {

bool isUserFile(int index)
{
    return index == MarksAl || index == MarksCu || index == Settings;
}

QString registryPath(const QString &appDir)
{
    return joinEntry(appDir, QStringLiteral("\\files.fls"));
}

QString joinEntry(const QString &appDir, const QString &entry)
{
    QString e = entry;
    e.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString dir = appDir;
    while (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    if (!e.startsWith(QLatin1Char('/')))
        e.prepend(QLatin1Char('/'));
    return dir + e;
}

QStringList parseRegistry(const QString &text)
{
    QStringList entries;
    ListInput in(text);
    while (auto field = in.next()) {
        entries << *field;
        if (entries.size() >= SlotCount)
            break;
    }
    return entries;
}

namespace {

QStringList readRegistry(const QString &appDir)
{
    QString text;
    if (!TextFile::read(registryPath(appDir), &text))
        return {};
    return parseRegistry(text);
}

} // namespace

QString dataFileName(const QString &appDir, int index)
{
    if (index < 0 || index >= SlotCount)
        return QString();
    return readRegistry(appDir).value(index);
}

QString entryPath(const QString &appDir, const QString &entry)
{
    if (entry.trimmed().isEmpty())
        return QString();
    return joinEntry(appDir, entry);
}

QString dataFilePath(const QString &appDir, int index)
{
    return entryPath(appDir, dataFileName(appDir, index));
}

QString shownPath(const QString &appDir, const QString &entry)
{
    return QDir::toNativeSeparators(joinEntry(appDir, entry));
}

std::optional<QString> readDataFile(const QString &appDir, int index, const QString &fallbackEntry, QString *shownPath)
{
    const QString path = entryPath(appDir, dataFileName(appDir, index));
    if (shownPath)
        *shownPath = QDir::toNativeSeparators(path.isEmpty() ? joinEntry(appDir, fallbackEntry) : path);
    QString text;
    if (path.isEmpty() || !QFileInfo(path).isFile() || !TextFile::read(path, &text))
        return std::nullopt;
    return text;
}

QString fileProblemMessage(bool missing, const QString &what, const QString &shownPath, const QString &detail)
{
    if (missing)
        return missingFileMessage(shownPath);
    return what + QLatin1Char(' ') + shownPath + QStringLiteral(" поврежден (") + detail + QStringLiteral(").");
}

QString conflictDetail(const std::pair<int, int> &records, const QString &what)
{
    return QStringLiteral("записи ") + QString::number(records.first) + QStringLiteral(" и ")
           + QString::number(records.second) + QStringLiteral(": ") + what + QStringLiteral(" с разными значениями");
}

QString missingFileMessage(const QString &shown)
{
    return QStringLiteral("Файл ") + shown + QStringLiteral(" не найден!");
}

CheckResult checkDataFiles(const QString &appDir, const EntryLocator &locate)
{
    CheckResult r;
    if (!QFileInfo::exists(registryPath(appDir))) {
        r.registryMissing = true;
        r.missingFiles << shownPath(appDir, QStringLiteral("\\files.fls"));
        return r;
    }
    auto pathOf = [&](int index, const QString &entry) {
        return locate ? locate(index, entry) : joinEntry(appDir, entry);
    };
    const QStringList entries = readRegistry(appDir);
    for (int i = 0; i <= IlluminanceNorms; ++i) {
        const QString entry = i < entries.size() ? entries.at(i) : QString();
        const QString path = entry.trimmed().isEmpty() ? joinEntry(appDir, entry) : pathOf(i, entry);
        const QFileInfo fi(path);
        if (entry.trimmed().isEmpty() || !fi.exists() || !fi.isFile())
            r.missingFiles << QDir::toNativeSeparators(path);
    }
    const QString settingsEntry = entries.size() > Settings ? entries.at(Settings) : QString();
    if (!settingsEntry.trimmed().isEmpty()) {
        const QString settings = pathOf(Settings, settingsEntry);
        // A start that ends for want of data files leaves nothing behind.
        // No path: there is no user's folder for it, and nothing is made.
        if (r.missingFiles.isEmpty() && !settings.isEmpty() && !QFileInfo::exists(settings)) {
            QDir().mkpath(QFileInfo(settings).absolutePath());
            QFile f(settings);
            if (f.open(QIODevice::WriteOnly))
                r.settingsCreated = true;
        }
    } else {
        r.missingFiles << shownPath(appDir, settingsEntry);
    }
    return r;
}

} // namespace DataFiles
