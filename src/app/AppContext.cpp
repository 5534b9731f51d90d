#include "app/AppContext.h"

#include "app/DataFileRegistry.h"
#include "app/IniStore.h"
#include "app/NumberText.h"

#include <QDir>

int CalcValues::tol() const
{
    return NumberText::places(dTol);
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
    read("gAl", v.gAl, "37,04");
    read("gCu", v.gCu, "56,18");
    read("dUmax", v.dUmax, "7,5");
    read("Tolerance", v.dTol, "2");
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
    ini.setValue(QStringLiteral("Calculation"), QStringLiteral("gAl"), NumberText::format(gAl));
    ini.setValue(QStringLiteral("Calculation"), QStringLiteral("gCu"), NumberText::format(gCu));
    ini.setValue(QStringLiteral("Calculation"), QStringLiteral("dUmax"), NumberText::format(dUmax));
    ini.setValue(QStringLiteral("Calculation"), QStringLiteral("Tolerance"), NumberText::format(dTol));
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
