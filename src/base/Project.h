#pragma once

#include "base/CableLine.h"
#include "base/Load.h"

#include <QString>
#include <QVector>

// The open document: lines, transformer and supply-line data, shields.
struct Project {
    QString projectName;
    QString projectFolder; // folder of the project file with its trailing separator; empty before the first save
    int projectNumber = 1;

    QVector<CableLine> lines;

    // Transformer power (kVA) and supply line, as typed.
    QString transformerPower = QStringLiteral("0");
    int supplyLineUsed = 0; // "take the high-voltage side into account"
    QString supplyLineMaterial;
    QString supplyLineLength;
    QString supplyLineSection;
    // Derived: transformer impedances and supply-line resistance, mOhm.
    double Rt = 0;
    double Xt = 0;
    double Zt = 0;
    double Rnet = 0;

    QVector<Shield> shields;
    int currentShield = 0;

    Project();

    // The shields as a never-opened shields window holds them: one empty "ЩО1".
    static QVector<Shield> initialShields();
    void resetShields();

    // projectFolder + projectName + ".kbp"
    QString filePath() const;
    static QString defaultShieldName(int number);
};
