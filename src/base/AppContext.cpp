#include "base/AppContext.h"

#include "base/DataFileRegistry.h"
#include "base/IniStore.h"
#include "base/InputCheck.h"
#include "base/NumberText.h"

#include <QDir>

int CalcValues::places() const
{
    return NumberText::places(decimalPlaces);
}

CalcValues CalcValues::load(const IniDocument &settings)
{
    CalcValues v;
    auto read = [&](const char *key, double &target) {
        const QString text = settings.value(QStringLiteral("Calculation"), QLatin1String(key));
        // The rule of the options dialog's fields, so that no value the
        // dialog refuses (a negative conductivity) comes in through the file.
        if (InputCheck::classify(text) == InputCheck::Numeric::Ok)
            target = NumberText::toDouble(text);
    };
    read("gAl", v.aluminiumConductivity);
    read("gCu", v.copperConductivity);
    read("dUmax", v.maxVoltageDrop);
    read("Tolerance", v.decimalPlaces);
    return v;
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

AppContext::AppContext(const QString &appDir) : m_appDir(appDir), m_settings([this] { return settingsPath(); }) {}

QString AppContext::settingsPath() const
{
    return DataFiles::dataFilePath(m_appDir, DataFiles::Settings);
}

QString AppContext::dataFile(int index) const
{
    return DataFiles::dataFilePath(m_appDir, index);
}
