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

QString Project::filePath() const
{
    return projectFolder + projectName + QStringLiteral(".kbp");
}

QString Project::defaultShieldName(int number)
{
    return QStringLiteral("ЩО") + QString::number(number);
}

