#include "FuzzSupport.h"
#include "base/ProjectFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Project project;
    ProjectFile::readText(fuzzText(data, size), project);
    // Whatever was read must survive a save and an open unchanged; what is
    // kept as it was read (a number beyond the range) may be told again.
    Project again;
    const ProjectFile::ReadResult r = ProjectFile::readText(ProjectFile::toText(project), again);
    for (const QString &problem : r.problems)
        if (!problem.startsWith(QStringLiteral("неверное число")))
            std::abort();
    if (again.lines.size() != project.lines.size() || again.shields.size() != project.shields.size())
        std::abort();
    return 0;
}
