#include "FuzzSupport.h"
#include "base/ProjectFile.h"
#include "calc/network/CheckedPath.h"
#include "calc/network/NetworkCalc.h"
#include "docs/schedules/SingleLineDiagram.h"
#include "docs/writers/DxfWriter.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Project project;
    ProjectFile::readText(fuzzText(data, size), project);
    // Whatever was read must survive a save and an open unchanged; what is
    // kept as it was read (a number beyond the range, a damaged input of a
    // line) may be told again.
    Project again;
    const ProjectFile::ReadResult r = ProjectFile::readText(ProjectFile::toText(project), again);
    for (const QString &problem : r.problems)
        if (!problem.startsWith(QStringLiteral("неверное число")) && !problem.startsWith(QStringLiteral("неверное значение")))
            std::abort();
    for (int i = 0; i < project.lines.size() && i < again.lines.size(); ++i)
        if (project.lines.at(i).inputs != again.lines.at(i).inputs)
            std::abort();
    if (again.lines.size() != project.lines.size() || again.shields.size() != project.shields.size())
        std::abort();
    // The places too, and the next id; the network of whatever was read is
    // built and computed (drops only: no data files here).
    if (again.nextLineId != project.nextLineId)
        std::abort();
    for (int i = 0; i < project.lines.size(); ++i)
        if (again.lines.at(i).place != project.lines.at(i).place)
            std::abort();
    const Network::Tree tree = Network::Tree::build(project.lines);
    if (tree.order().size() != project.lines.size())
        std::abort();
    const Network::Result result = Network::compute(project, tree, CalcValues{}, Network::Sources{});
    Network::checkedPath(project.lines, tree);
    // Its diagram: every line drawn or counted as left out, and written as DXF.
    const SingleLineDiagram::Diagram diagram = SingleLineDiagram::build(project, tree, result, 2);
    if (diagram.drawnLines + diagram.leftOut != project.lines.size() || Dxf::write(diagram.document).isEmpty())
        std::abort();
    return 0;
}
