#include "base/AppContext.h"

#include "base/DataFileRegistry.h"
#include "base/IniStore.h"
#include "base/InputCheck.h"
#include "base/NumberText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

int CalcValues::places() const
{
    return NumberText::places(decimalPlaces);
}

CalcValues CalcValues::load(const IniDocument &settings)
{
    CalcValues v;
    auto read = [&](const char *key, double &target) {
        const QString text = settings.value(QStringLiteral("Calculation"), QLatin1String(key));
        // The rule of the options dialog's fields, so that no value the
        // dialog refuses (a negative conductivity) comes in through the file.
        if (InputCheck::classify(text) == InputCheck::Numeric::Ok)
            target = NumberText::toDouble(text);
    };
    read("gAl", v.aluminiumConductivity);
    read("gCu", v.copperConductivity);
    read("dUmax", v.maxVoltageDrop);
    read("Tolerance", v.decimalPlaces);
    return v;
}

void CalcValues::store(IniDocument &ini) const
{
    ini.setValue(QStringLiteral("Calculation"), QStringLiteral("gAl"), NumberText::format(aluminiumConductivity));
    ini.setValue(QStringLiteral("Calculation"), QStringLiteral("gCu"), NumberText::format(copperConductivity));
    ini.setValue(QStringLiteral("Calculation"), QStringLiteral("dUmax"), NumberText::format(maxVoltageDrop));
    ini.setValue(QStringLiteral("Calculation"), QStringLiteral("Tolerance"), NumberText::format(decimalPlaces));
}

namespace {

// The folder of the program's own files inside the system's user folders.
const QString kUserFolderName = QStringLiteral("kabinor");

// The settings file can be written when it is writable, or when it is missing
// and its folder is writable.
bool settingsWritable(const QString &appDir)
{
    const QString path = DataFiles::dataFilePath(appDir, DataFiles::Settings);
    if (path.isEmpty())
        return false;
    const QFileInfo settings(path);
    if (settings.exists())
        return settings.isFile() && settings.isWritable();
    return QFileInfo(settings.absolutePath()).isWritable();
}

} // namespace

AppContext AppContext::forExecutable(const QString &fromCommandLine, const QString &executableDir)
{
    if (!fromCommandLine.isEmpty())
        return AppContext(QDir(fromCommandLine).absolutePath());
    const QString env = qEnvironmentVariable("KABINOR_APP_DIR");
    if (!env.isEmpty())
        return AppContext(QDir(env).absolutePath());
    const QString programDir = QDir(executableDir).absolutePath();
    if (QFileInfo::exists(DataFiles::registryPath(programDir)) && settingsWritable(programDir))
        return AppContext(programDir);
    const QString dataDir = installedDataDir(programDir);
    if (QFileInfo::exists(DataFiles::registryPath(dataDir)))
        return AppContext(dataDir, standardUserFolders());
    return AppContext(programDir);
}

QString AppContext::installedDataDir(const QString &executableDir)
{
    return QDir::cleanPath(QDir(executableDir).absoluteFilePath(QStringLiteral("../share/kabinor")));
}

AppContext::UserFolders AppContext::standardUserFolders()
{
    // Without a home folder the system would name folders at the root of the
    // file system ("/.config"): only folders the environment names are taken.
    const bool home = !qEnvironmentVariableIsEmpty("HOME");
    auto folder = [&](QStandardPaths::StandardLocation location, const char *named) {
        if (!home && !QDir::isAbsolutePath(qEnvironmentVariable(named)))
            return QString();
        return QDir(QStandardPaths::writableLocation(location)).filePath(kUserFolderName);
    };
    UserFolders user;
    user.settings = folder(QStandardPaths::GenericConfigLocation, "XDG_CONFIG_HOME");
    user.data = folder(QStandardPaths::GenericDataLocation, "XDG_DATA_HOME");
    const QString documents = home ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) : QString();
    user.documents = QFileInfo(documents).isDir() ? documents : home ? QDir::homePath() : QDir::currentPath();
    return user;
}

AppContext::AppContext(const QString &appDir) : m_appDir(appDir), m_settings([this] { return settingsPath(); }) {}

AppContext::AppContext(const QString &dataDir, const UserFolders &user)
    : m_layout(Layout::Installed), m_appDir(dataDir), m_user(user), m_settings([this] { return settingsPath(); })
{
}

QString AppContext::userFolderOf(int index) const
{
    if (m_layout == Layout::Portable || !DataFiles::isUserFile(index) || m_readOnlyFiles.contains(index))
        return m_appDir;
    return index == DataFiles::Settings ? m_user.settings : m_user.data;
}

QString AppContext::entryPath(int index, const QString &entry) const
{
    const QString folder = userFolderOf(index);
    // No folder for the settings: there is no settings file, and none is made.
    if (folder.isEmpty())
        return QString();
    return DataFiles::entryPath(folder, entry);
}

bool AppContext::userFileWritable(int index) const
{
    return !m_readOnlyFiles.contains(index);
}

QString AppContext::userFilesProblem() const
{
    if (m_layout == Layout::Portable)
        return QString();
    const bool noHome = m_user.settings.isEmpty() || m_user.data.isEmpty();
    if (!noHome && m_unwritableFolders.isEmpty())
        return QString();
    const QString where = noHome ? QStringLiteral("Не задана домашняя папка пользователя (HOME)")
                                 : QStringLiteral("Папка ") + QDir::toNativeSeparators(m_unwritableFolders.join(QStringLiteral(", ")))
                                       + QStringLiteral(" недоступна для записи");
    return where + QStringLiteral(": файлы пользователя не могут быть сохранены. Списки марок читаются из установленных "
                                  "файлов в ")
           + QDir::toNativeSeparators(m_appDir)
           + QStringLiteral("; новые марки и настройки сохранены не будут.");
}

QString AppContext::dataFilePath(int index) const
{
    return entryPath(index, DataFiles::dataFileName(m_appDir, index));
}

QString AppContext::settingsPath() const
{
    return dataFilePath(DataFiles::Settings);
}

QString AppContext::documentsFolder() const
{
    return m_layout == Layout::Portable ? m_appDir : m_user.documents;
}

void AppContext::prepareUserFiles() const
{
    if (m_layout == Layout::Portable)
        return;
    for (int index = 0; index < DataFiles::SlotCount; ++index) {
        if (!DataFiles::isUserFile(index) || m_readOnlyFiles.contains(index))
            continue;
        const QString entry = DataFiles::dataFileName(m_appDir, index);
        const QString delivered = DataFiles::entryPath(m_appDir, entry);
        if (!QFileInfo(delivered).isFile())
            continue;
        const QString userCopy = entryPath(index, entry);
        // Without a user's folder the delivered file is read.
        if (userCopy.isEmpty() && !entry.trimmed().isEmpty()) {
            m_readOnlyFiles << index;
            continue;
        }
        if (userCopy.isEmpty() || QFileInfo::exists(userCopy))
            continue;
        const QString folder = QFileInfo(userCopy).absolutePath();
        QDir().mkpath(folder);
        // The delivered file may be read-only; the user's copy is the user's to change.
        if (QFile::copy(delivered, userCopy)) {
            QFile::setPermissions(userCopy, QFile::permissions(userCopy) | QFile::ReadOwner | QFile::WriteOwner);
            continue;
        }
        m_readOnlyFiles << index;
        if (!m_unwritableFolders.contains(folder))
            m_unwritableFolders << folder;
    }
}

DataFiles::CheckResult AppContext::checkDataFiles() const
{
    prepareUserFiles();
    DataFiles::CheckResult result =
        DataFiles::checkDataFiles(m_appDir, [this](int index, const QString &entry) { return entryPath(index, entry); });
    // A settings file that could not be made: its folder cannot be written.
    const QString settings = settingsPath();
    if (m_layout == Layout::Installed && result.ok() && !settings.isEmpty() && !QFileInfo::exists(settings)) {
        const QString folder = QFileInfo(settings).absolutePath();
        if (!m_unwritableFolders.contains(folder))
            m_unwritableFolders << folder;
    }
    return result;
}
