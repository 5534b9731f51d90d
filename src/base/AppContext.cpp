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
    UserFolders user;
    user.settings = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)).filePath(kUserFolderName);
    user.data = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).filePath(kUserFolderName);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    user.documents = QFileInfo(documents).isDir() ? documents : QDir::homePath();
    return user;
}

AppContext::AppContext(const QString &appDir) : m_appDir(appDir), m_settings([this] { return settingsPath(); }) {}

AppContext::AppContext(const QString &dataDir, const UserFolders &user)
    : m_layout(Layout::Installed), m_appDir(dataDir), m_user(user), m_settings([this] { return settingsPath(); })
{
}

QString AppContext::userFolderOf(int index) const
{
    if (m_layout == Layout::Portable || !DataFiles::isUserFile(index))
        return m_appDir;
    return index == DataFiles::Settings ? m_user.settings : m_user.data;
}

QString AppContext::entryPath(int index, const QString &entry) const
{
    return DataFiles::entryPath(userFolderOf(index), entry);
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
        if (!DataFiles::isUserFile(index))
            continue;
        const QString entry = DataFiles::dataFileName(m_appDir, index);
        const QString userCopy = entryPath(index, entry);
        const QString delivered = DataFiles::entryPath(m_appDir, entry);
        if (userCopy.isEmpty() || QFileInfo::exists(userCopy) || !QFileInfo(delivered).isFile())
            continue;
        QDir().mkpath(QFileInfo(userCopy).absolutePath());
        // The delivered file may be read-only; the user's copy is the user's to change.
        if (QFile::copy(delivered, userCopy))
            QFile::setPermissions(userCopy, QFile::permissions(userCopy) | QFile::ReadOwner | QFile::WriteOwner);
    }
}

DataFiles::CheckResult AppContext::checkDataFiles() const
{
    prepareUserFiles();
    return DataFiles::checkDataFiles(m_appDir, [this](int index, const QString &entry) { return entryPath(index, entry); });
}
