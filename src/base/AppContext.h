#pragma once

#include <QString>

class IniDocument;

// The calculation values held for the whole run: conductivities, the limit of
// the total voltage drop and the number of decimal places of results.
struct CalcValues {
    double copperConductivity = 56.18;
    double aluminiumConductivity = 37.04;
    double maxVoltageDrop = 7.5;
    double decimalPlaces = 2;

    int places() const; // decimalPlaces as the nearest integer

    // Reads "Calculation" from the settings file; a value that is not a number
    // keeps its default.
    static CalcValues load(const QString &settingsPath);
    bool save(const QString &settingsPath) const;
    // Puts the values into a settings document being written.
    void store(IniDocument &ini) const;
};

// Where the program finds its data and settings.
class AppContext
{
public:
    // --app-dir wins, then KABINOR_APP_DIR, then the executable's folder.
    static QString resolveAppDir(const QString &fromCommandLine, const QString &executableDir);

    explicit AppContext(const QString &appDir);

    const QString &appDir() const { return m_appDir; }
    // application folder + registry entry 13
    QString settingsPath() const;
    QString dataFile(int index) const;

    CalcValues calc;

private:
    QString m_appDir;
};
