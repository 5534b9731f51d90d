#include "base/FileFolders.h"

#include "base/IniStore.h"
#include "base/Project.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kSection = QStringLiteral("Recent");
const QString kOpenFolder = QStringLiteral("OpenFolder");
const QString kLastFolder = QStringLiteral("LastFolder");

// A remembered folder counts while it is still there.
QString existingOr(const QString &folder, const QString &fallback)
{
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : fallback;
}

QString folderOf(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absolutePath());
}

} // namespace

FileFolders FileFolders::load(const IniDocument &settings)
{
    FileFolders f;
    f.opened = settings.value(kSection, kOpenFolder, QString(), true);
    f.used = settings.value(kSection, kLastFolder, QString(), true);
    return f;
}

void FileFolders::store(IniDocument &ini) const
{
    if (!opened.isEmpty())
        ini.setValue(kSection, kOpenFolder, opened);
    if (!used.isEmpty())
        ini.setValue(kSection, kLastFolder, used);
}

void FileFolders::fileUsed(const QString &path)
{
    if (!path.isEmpty())
        used = folderOf(path);
}

void FileFolders::projectOpened(const QString &path)
{
    if (path.isEmpty())
        return;
    opened = folderOf(path);
    used = opened;
}

QString FileFolders::startFolder(const Project &project, const QString &fallback) const
{
    if (!project.projectFolder.isEmpty() && QFileInfo(project.filePath()).isFile())
        return QDir::toNativeSeparators(QFileInfo(project.filePath()).absolutePath());
    return existingOr(used, fallback);
}

QString FileFolders::openFolder(const QString &fallback) const
{
    return existingOr(opened, fallback);
}
