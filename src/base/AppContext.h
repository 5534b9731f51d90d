#pragma once

#include "base/SettingsStore.h"

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

    // Reads "Calculation" from the settings; a value that the options dialog
    // would refuse (not a number, not above 0, above 1 000 000) keeps its default.
    static CalcValues load(const IniDocument &settings);
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
    // The settings store asks this context for the path.
    AppContext(const AppContext &) = delete;
    AppContext &operator=(const AppContext &) = delete;

    const QString &appDir() const { return m_appDir; }
    // application folder + registry entry 13: the one place that says where
    // the settings file is.
    QString settingsPath() const;
    QString dataFile(int index) const;

    // Every read and write of the settings file goes through here.
    SettingsStore &settings() { return m_settings; }
    const SettingsStore &settings() const { return m_settings; }

    CalcValues calc;

private:
    QString m_appDir;
    SettingsStore m_settings;
};
