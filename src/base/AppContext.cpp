#include "base/AppContext.h"

#include "base/DataFileRegistry.h"
#include "base/IniStore.h"
#include "base/NumberText.h"

#include <QDir>

int CalcValues::places() const
{
    return NumberText::places(decimalPlaces);
}

CalcValues CalcValues::load(const QString &settingsPath)
{
    CalcValues v;
    IniDocument ini;
    ini.load(settingsPath);
    auto read = [&](const char *key, double &target, const char *def) {
        const auto parsed = NumberText::parse(ini.value(QStringLiteral("Calculation"), QLatin1String(key),
                                                        QString::fromUtf8(def)));
        if (parsed)
            target = *parsed;
    };
    read("gAl", v.aluminiumConductivity, "37,04");
    read("gCu", v.copperConductivity, "56,18");
    read("dUmax", v.maxVoltageDrop, "7,5");
    read("Tolerance", v.decimalPlaces, "2");
    return v;
}

bool CalcValues::save(const QString &settingsPath) const
{
    IniDocument ini;
    ini.load(settingsPath);
    store(ini);
    return ini.save(settingsPath);
}

void CalcValues::store(IniDocument &ini) const
{
    ini.setValue(QStringLiteral("Calculation"), QStringLiteral("gAl"), NumberText::format(aluminiumConductivity));
    ini.setValue(QStringLiteral("Calculation"), QStringLiteral("gCu"), NumberText::format(copperConductivity));
    ini.setValue(QStringLiteral("Calculation"), QStringLiteral("dUmax"), NumberText::format(maxVoltageDrop));
    ini.setValue(QStringLiteral("Calculation"), QStringLiteral("Tolerance"), NumberText::format(decimalPlaces));
}

QString AppContext::resolveAppDir(const QString &fromCommandLine, const QString &executableDir)
{
    if (!fromCommandLine.isEmpty())
        return QDir(fromCommandLine).absolutePath();
    const QString env = qEnvironmentVariable("KABINOR_APP_DIR");
    if (!env.isEmpty())
        return QDir(env).absolutePath();
    return QDir(executableDir).absolutePath();
}

AppContext::AppContext(const QString &appDir) : m_appDir(appDir) {}

QString AppContext::settingsPath() const
{
    return DataFiles::dataFilePath(m_appDir, DataFiles::Settings);
}

QString AppContext::dataFile(int index) const
{
    return DataFiles::dataFilePath(m_appDir, index);
}
