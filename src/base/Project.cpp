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

SubstationData Project::substation() const
{
    return {transformerPower, supplyLineUsed, supplyLineMaterial, supplyLineLength, supplyLineSection,
            transformerGroup, systemPower, supplyVoltage, busResistance, busReactance, contactResistance,
            arcResistance, conductorTemperature};
}

void Project::setSubstation(const SubstationData &d)
{
    transformerPower = d.transformerPower;
    supplyLineUsed = d.supplyLineUsed;
    supplyLineMaterial = d.supplyLineMaterial;
    supplyLineLength = d.supplyLineLength;
    supplyLineSection = d.supplyLineSection;
    transformerGroup = d.transformerGroup;
    systemPower = d.systemPower;
    supplyVoltage = d.supplyVoltage;
    busResistance = d.busResistance;
    busReactance = d.busReactance;
    contactResistance = d.contactResistance;
    arcResistance = d.arcResistance;
    conductorTemperature = d.conductorTemperature;
}
