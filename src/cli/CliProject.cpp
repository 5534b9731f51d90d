#include "cli/CliProject.h"

#include "app/ProjectFile.h"

#include <QDir>
#include <QFileInfo>

bool cliOpenProject(CliContext &ctx, const QString &path, Project &project)
{
    const QFileInfo fi(path);
    if (!fi.exists() || !fi.isFile()) {
        ctx.prompter.message(QStringLiteral("Файл '") + QDir::toNativeSeparators(path) + QStringLiteral("' не найден!"),
                             QStringLiteral("Ошибка"), Prompter::Icon::Critical, Prompter::Buttons::Ok);
        return false;
    }
    const ProjectFile::ReadResult r = ProjectFile::read(path, project);
    if (!r.opened) {
        ctx.prompter.message(ProjectFile::unreadableMessage(path), QStringLiteral("Ошибка"), Prompter::Icon::Critical,
                             Prompter::Buttons::Ok);
        return false;
    }
    // What could be read is used, as the application does; the damage is told on standard error.
    if (r.damaged)
        ctx.prompter.message(ProjectFile::damagedMessage(path, r), QString(), Prompter::Icon::Exclamation,
                             Prompter::Buttons::Ok);
    project.sPath = fi.absolutePath() + QLatin1Char('/');
    project.sPrjName = fi.fileName().chopped(qMin<qsizetype>(4, fi.fileName().size()));
    return true;
}
