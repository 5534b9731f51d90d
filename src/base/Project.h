#pragma once

#include "base/CableLine.h"
#include "base/LightingRoom.h"
#include "base/Load.h"

#include <QString>
#include <QVector>

// The substation's data as typed: what the substation dialog and the
// short-circuit windows edit.
struct SubstationData {
    // Transformer power (kVA) and supply line.
    QString transformerPower = QStringLiteral("0");
    int supplyLineUsed = 0; // "take the high-voltage side into account"
    QString supplyLineMaterial;
    QString supplyLineLength;
    QString supplyLineSection;
    // For the method of ГОСТ 28249-93: the transformer's vector group ("Y"
    // for Y/Yн-0, "D" for Д/Yн-11), the system's short-circuit power (MVA,
    // "0" for an infinite system), the supply line's voltage (kV), the
    // busbars and devices of the substation (mOhm), the contacts of each line
    // (mOhm), the arc (mOhm) and the cables' temperature at the end of a
    // fault (°C), the last three for the minimum currents.
    QString transformerGroup = QStringLiteral("Y");
    QString systemPower = QStringLiteral("0");
    QString supplyVoltage = QStringLiteral("10");
    QString busResistance = QStringLiteral("0");
    QString busReactance = QStringLiteral("0");
    QString contactResistance = QStringLiteral("0,1");
    QString arcResistance = QStringLiteral("10");
    QString conductorTemperature = QStringLiteral("65");
    // The supply line is overhead ("воздушная"), else a cable ("кабельная"):
    // its reactance per km in the method of ГОСТ 28249-93.
    int supplyLineOverhead = 0;
    bool operator==(const SubstationData &) const = default;
};

// What the title block of every schedule says about the project, as typed in
// "Свойства проекта"; an empty field leaves its cell empty.
struct ProjectProperties {
    QString organization;
    QString object; // the building or facility the network serves
    QString documentCode; // the designation of the documents
    QString stage; // "П", "Р", ...
    QString developer;
    QString checker;
    QString normController;
    QString approver;
    QString date;
    bool isEmpty() const { return *this == ProjectProperties(); }
    bool operator==(const ProjectProperties &) const = default;
};

// The open document: lines, the substation's data, shields, rooms.
struct Project : SubstationData {
    QString projectName;
    QString projectFolder; // folder of the project file with its trailing separator; empty before the first save
    int projectNumber = 1;

    QVector<CableLine> lines;
    // The id the next new line gets: ids are never given twice, not even
    // those of deleted lines.
    int nextLineId = 1;

    // Derived: transformer impedances and supply-line resistance, mOhm.
    double Rt = 0;
    double Xt = 0;
    double Zt = 0;
    double Rnet = 0;

    QVector<Shield> shields;
    int currentShield = 0;

    // The rooms whose lighting the project computes.
    QVector<LightingRoom> rooms;
    ProjectProperties properties;

    Project();
    // Projects are compared by what they hold, never as a whole.
    bool operator==(const Project &) const = delete;

    // The substation's data in one piece (the derived impedances aside).
    const SubstationData &substation() const { return *this; }
    void setSubstation(const SubstationData &data) { static_cast<SubstationData &>(*this) = data; }

    // The shields as a never-opened shields window holds them: one empty "ЩО1".
    static QVector<Shield> initialShields();
    void resetShields();

    // A fresh line id, never given before in this project.
    int takeLineId();

    // projectFolder + projectName + ".kbp"
    QString filePath() const;
    static QString defaultShieldName(int number);
};
