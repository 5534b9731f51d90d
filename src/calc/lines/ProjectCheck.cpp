#include "calc/lines/ProjectCheck.h"

#include "base/NumberText.h"
#include "calc/lines/LineCalc.h"
#include "calc/lines/LineEntry.h"

namespace ProjectCheck {

void checkLines(Project &project, ProjectFile::ReadResult &result)
{
    const QStringList headers = LineCalc::columnHeaders();
    for (CableLine &line : project.lines) {
        if (line.inputs) {
            const QStringList before = line.inputs->damagedKeys();
            for (const QString &key : LineEntry::checkInputs(*line.inputs)) {
                if (before.contains(key))
                    continue;
                for (const LineInputs::Key &k : LineInputs::keys())
                    if (k.name == key)
                        result.add(ProjectFile::damagedInputText(key, line.name, k.textOf(*line.inputs)));
            }
        }
        for (const int cell : LineCalc::unsoundCells(line)) {
            // A number beyond the range was told by the reader; an empty cell
            // (a row shorter than the list) holds nothing to be wrong.
            if (NumberText::outOfRange(line.cell(cell)) || line.cell(cell).isEmpty())
                continue;
            result.add(ProjectFile::damagedInputText(QStringLiteral("«") + headers.at(cell + 1) + QStringLiteral("»"),
                                                     line.name, line.cell(cell)));
        }
    }
}

ProjectFile::ReadResult read(const QString &path, Project &project, const ProjectFile::Progress &progress)
{
    ProjectFile::ReadResult result = ProjectFile::read(path, project, progress);
    if (result.opened)
        checkLines(project, result);
    return result;
}

ProjectFile::ReadResult readText(const QString &text, Project &project)
{
    ProjectFile::ReadResult result = ProjectFile::readText(text, project);
    checkLines(project, result);
    return result;
}

} // namespace ProjectCheck
