#include "base/Project.h"

Project::Project() : shields(initialShields()) {}

QVector<Shield> Project::initialShields()
{
    return {Shield{defaultShieldName(1), {}}};
}

void Project::resetShields()
{
    shields = initialShields();
    currentShield = 0;
}

int Project::takeLineId()
{
    // Past any id a line holds, whoever gave it.
    for (const CableLine &line : std::as_const(lines))
        nextLineId = qMax(nextLineId, line.place.id + 1);
    return nextLineId++;
}

QString Project::filePath() const
{
    return projectFolder + projectName + QStringLiteral(".kbp");
}

QString Project::defaultShieldName(int number)
{
    return QStringLiteral("ЩО") + QString::number(number);
}

