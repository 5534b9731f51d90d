#include "app/ProjectFile.h"

#include "app/IniStore.h"
#include "app/NumberText.h"
#include "app/TextFile.h"

#include <cmath>

namespace ProjectFile {

namespace {

const QString kZero = QStringLiteral("0");

// Counts are 16-bit integers; a text that is not one marks the file damaged.
bool readCount(const IniDocument &ini, const QString &section, const QString &key, int *count)
{
    const auto v = NumberText::parse(ini.value(section, key, kZero));
    if (!v)
        return false;
    const double r = std::nearbyint(*v);
    if (r < -32768 || r > 32767)
        return false;
    *count = int(r);
    return true;
}

void markDamaged(ReadResult &r, const QString &problem)
{
    if (!r.damaged)
        r.problem = problem;
    r.damaged = true;
}

} // namespace

QString loadSectionName(int shield, int load)
{
    return QStringLiteral("Load") + QString::number(shield) + QString::number(load);
}

ReadResult readText(const QString &text, Project &project)
{
    ReadResult result;
    result.opened = true;
    const IniDocument ini = IniDocument::fromText(text);

    const QString tp = QStringLiteral("TP");
    project.sSTP = ini.value(tp, QStringLiteral("STP"), kZero);
    project.hs = NumberText::toDouble(ini.value(tp, QStringLiteral("HS"), kZero)) != 0 ? 1 : 0;
    project.sNMat = ini.value(tp, QStringLiteral("Material"), kZero);
    project.sNLen = ini.value(tp, QStringLiteral("Length"), kZero);
    project.sNSec = ini.value(tp, QStringLiteral("Section"), kZero);

    project.lines.clear();
    int lineCount = 0;
    int subItemCount = 0;
    const QString linesSection = QStringLiteral("Lines");
    if (!readCount(ini, linesSection, QStringLiteral("LineCount"), &lineCount)
        || !readCount(ini, linesSection, QStringLiteral("SubItemCount"), &subItemCount)) {
        markDamaged(result, QStringLiteral("число линий"));
        lineCount = 0;
    }
    subItemCount = qBound(0, subItemCount, 64);
    project.lines.reserve(qMax(0, lineCount));
    for (int i = 1; i <= lineCount; ++i) {
        const QString section = QStringLiteral("Line") + QString::number(i);
        if (!ini.hasSection(section)) {
            markDamaged(result, QStringLiteral("линия ") + QString::number(i));
            break;
        }
        CableLine line;
        line.name = ini.value(section, QStringLiteral("LineName"), kZero, true);
        line.checked = ini.value(section, QStringLiteral("Checked"), kZero) == QLatin1String("True");
        line.cells.clear();
        for (int j = 1; j <= subItemCount; ++j)
            line.cells << ini.value(section, QStringLiteral("SubItem") + QString::number(j), kZero, true);
        while (line.cells.size() < CableLine::CellCount)
            line.cells << QString();
        project.lines.append(std::move(line));
    }

    project.shields.clear();
    const QString shieldsSection = QStringLiteral("Shields");
    int tabs = 0;
    int subItemsCount = 0;
    if (!readCount(ini, shieldsSection, QStringLiteral("TabsCount"), &tabs)
        || !readCount(ini, shieldsSection, QStringLiteral("SubItemsCount"), &subItemsCount)) {
        markDamaged(result, QStringLiteral("число щитов"));
        tabs = 0;
    }
    subItemsCount = qBound(0, subItemsCount, 64);
    for (int i = 1; i <= tabs; ++i) {
        const QString key = QStringLiteral("Tab") + QString::number(i);
        if (!ini.contains(shieldsSection, key) && !ini.hasSection(QStringLiteral("Loads") + QString::number(i))) {
            markDamaged(result, QStringLiteral("щит ") + QString::number(i));
            break;
        }
        project.shields.append(Shield{ini.value(shieldsSection, key, kZero, true), {}});
    }
    for (int i = 1; i <= project.shields.size(); ++i) {
        int loadCount = 0;
        if (!readCount(ini, QStringLiteral("Loads") + QString::number(i), QStringLiteral("LoadCount"), &loadCount)) {
            markDamaged(result, QStringLiteral("число нагрузок щита ") + QString::number(i));
            continue;
        }
        Shield &shield = project.shields[i - 1];
        for (int j = 1; j <= loadCount; ++j) {
            const QString section = loadSectionName(i, j);
            if (!ini.hasSection(section)) {
                markDamaged(result, QStringLiteral("нагрузка ") + QString::number(j) + QStringLiteral(" щита ")
                                        + QString::number(i));
                break;
            }
            Load load;
            load.name = ini.value(section, QStringLiteral("LoadName"), kZero, true);
            load.cells.clear();
            for (int k = 1; k <= subItemsCount; ++k)
                load.cells << ini.value(section, QStringLiteral("SubItem") + QString::number(k), kZero, true);
            while (load.cells.size() < Load::CellCount)
                load.cells << QString();
            shield.loads.append(std::move(load));
        }
    }
    // A project always has at least one shield.
    if (project.shields.isEmpty())
        project.shields = Project::initialShields();
    project.currentShield = 0;
    return result;
}

ReadResult read(const QString &path, Project &project)
{
    QString text;
    if (!TextFile::read(path, &text)) {
        ReadResult r;
        r.opened = false;
        r.problem = path;
        return r;
    }
    return readText(text, project);
}

IniDocument toIni(const Project &project)
{
    IniDocument ini;
    ini.appendSection(QStringLiteral("TP"));
    ini.appendValue(QStringLiteral("STP"), project.sSTP);
    ini.appendValue(QStringLiteral("HS"), QString::number(project.hs));
    ini.appendValue(QStringLiteral("Material"), project.sNMat);
    ini.appendValue(QStringLiteral("Length"), project.sNLen);
    ini.appendValue(QStringLiteral("Section"), project.sNSec);

    ini.appendSection(QStringLiteral("Lines"));
    ini.appendValue(QStringLiteral("SubItemCount"), QString::number(CableLine::CellCount));
    ini.appendValue(QStringLiteral("LineCount"), QString::number(project.lines.size()));
    for (int i = 0; i < project.lines.size(); ++i) {
        const CableLine &line = project.lines.at(i);
        ini.appendSection(QStringLiteral("Line") + QString::number(i + 1));
        ini.appendValue(QStringLiteral("LineName"), line.name);
        ini.appendValue(QStringLiteral("Checked"), line.checked ? QStringLiteral("True") : QStringLiteral("False"));
        for (int j = 0; j < line.cells.size(); ++j)
            ini.appendValue(QStringLiteral("SubItem") + QString::number(j + 1), line.cells.at(j));
    }

    // The [Shields] keys come first in the file; the counts are added to that
    // section after all shields and loads, so they stand after the Tab keys.
    const QString shieldsSection = QStringLiteral("Shields");
    ini.appendSection(shieldsSection);
    int lastCells = 0;
    for (int i = 0; i < project.shields.size(); ++i) {
        const Shield &shield = project.shields.at(i);
        ini.setValue(shieldsSection, QStringLiteral("Tab") + QString::number(i + 1), shield.name);
        ini.appendSection(QStringLiteral("Loads") + QString::number(i + 1));
        ini.appendValue(QStringLiteral("LoadCount"), QString::number(shield.loads.size()));
        for (int j = 0; j < shield.loads.size(); ++j) {
            const Load &load = shield.loads.at(j);
            ini.appendSection(loadSectionName(i + 1, j + 1));
            ini.appendValue(QStringLiteral("LoadName"), load.name);
            for (int k = 0; k < load.cells.size(); ++k)
                ini.appendValue(QStringLiteral("SubItem") + QString::number(k + 1), load.cells.at(k));
            lastCells = int(load.cells.size());
        }
    }
    ini.setValue(shieldsSection, QStringLiteral("TabsCount"), QString::number(project.shields.size()));
    ini.setValue(shieldsSection, QStringLiteral("SubItemsCount"), QString::number(lastCells));
    return ini;
}

QString toText(const Project &project)
{
    return toIni(project).toText();
}

bool write(const QString &path, const Project &project, QString *error)
{
    return TextFile::write(path, toText(project), error);
}

} // namespace ProjectFile
