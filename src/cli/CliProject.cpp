#include "cli/CliProject.h"

#include "base/NumberText.h"
#include "base/ProjectFile.h"
#include "calc/lines/ProjectCheck.h"
#include "calc/network/NetworkTree.h"
#include "calc/shortcircuit/Transformer.h"

#include <QFileInfo>

bool cliOpenProject(CliContext &ctx, const QString &path, Project &project)
{
    const QFileInfo fi(path);
    if (const QString missing = ProjectFile::missingMessage(path); !missing.isEmpty()) {
        ctx.prompter.message(missing, QStringLiteral("Ошибка"), Prompter::Icon::Critical, Prompter::Buttons::Ok);
        return false;
    }
    ProjectFile::ReadResult r = ProjectCheck::read(path, project);
    if (r.opened)
        Network::addPlaceProblems(project.lines, r);
    if (!r.opened) {
        ctx.prompter.message(ProjectFile::unreadableMessage(path, r), QStringLiteral("Ошибка"), Prompter::Icon::Critical,
                             Prompter::Buttons::Ok);
        return false;
    }
    // What could be read is used, as the application does; the damage is told
    // on standard error and in the exit code.
    if (r.damaged) {
        ctx.prompter.message(ProjectFile::damagedMessage(path, r), QString(), Prompter::Icon::Exclamation,
                             Prompter::Buttons::Ok);
        ctx.projectDamaged = true;
    }
    project.projectFolder = fi.absolutePath() + QLatin1Char('/');
    project.projectName = fi.fileName().chopped(qMin<qsizetype>(4, fi.fileName().size()));
    return true;
}

QString unknownTransformerMessage(double power, const TransformerTable &table)
{
    return QStringLiteral("Трансформатора мощностью ") + NumberText::format(power) + QStringLiteral(" кВА нет в файле ")
           + table.shownPath + QStringLiteral("!");
}

bool cliOpenProjectWithTransformer(CliContext &ctx, const QString &path, Project &project)
{
    if (!cliOpenProject(ctx, path, project))
        return false;
    if (Transformer::powerValue(project.transformerPower) == 0) {
        ctx.refuse(Transformer::noPowerMessage());
        return false;
    }
    const TransformerTable table = Transformer::updateProjectValues(project, ctx.app.appDir(), ctx.app.calc);
    if (table.status != TransformerTable::Status::Ok) {
        ctx.refuse(table.problem());
        return false;
    }
    // A fresh run has no earlier impedances to fall back on.
    if (Transformer::selectTransformer(table, Transformer::powerValue(project.transformerPower), project) < 0) {
        ctx.refuse(unknownTransformerMessage(NumberText::toDouble(project.transformerPower), table));
        return false;
    }
    return true;
}
