#include "base/Project.h"

Project::Project() : shields(initialShields()) {}

QVector<Shield> Project::initialShields()
{
    return {Shield{defaultShieldName(1), {}, 1}};
}

void Project::resetShields()
{
    shields = initialShields();
    currentShield = 0;
    nextShieldId = 2;
}

int Project::takeLineId()
{
    // Past any id a line holds, whoever gave it.
    for (const CableLine &line : std::as_const(lines))
        nextLineId = qMax(nextLineId, line.place.id + 1);
    return nextLineId++;
}

int Project::takeShieldId()
{
    for (const Shield &shield : std::as_const(shields))
        nextShieldId = qMax(nextShieldId, shield.id + 1);
    return nextShieldId++;
}

int Project::shieldOfId(int id) const
{
    if (id <= 0)
        return -1;
    for (int i = 0; i < shields.size(); ++i)
        if (shields.at(i).id == id)
            return i;
    return -1;
}

QString Project::filePath() const
{
    return projectFolder + projectName + QStringLiteral(".kbp");
}

QString Project::defaultShieldName(int number)
{
    return QStringLiteral("ЩО") + QString::number(number);
}

