#include "base/StartupSettings.h"

#include "base/IniStore.h"
#include "base/NumberText.h"

#include <cmath>

namespace Startup {

bool flagValue(const QString &text)
{
    const auto v = NumberText::parse(text);
    return v && *v == 1;
}

bool readFlag(const IniDocument &ini, const QString &key)
{
    return flagValue(ini.value(Section, key, QStringLiteral("1")));
}

QString flagText(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

namespace {

double readNumber(const IniDocument &ini, const QString &key, double def)
{
    const QString text = ini.value(Section, key);
    if (text.isEmpty())
        return def;
    const auto v = NumberText::parse(text);
    return v ? *v : def;
}

} // namespace

Geometry defaultGeometry(const Geometry &screen)
{
    Geometry g;
    g.width = screen.width * DefaultScreenShare;
    g.height = screen.height * DefaultScreenShare;
    g.left = screen.left + (screen.width - g.width) / 2;
    g.top = screen.top + (screen.height - g.height) / 2;
    return g;
}

Geometry restoredGeometry(const IniDocument &ini, const Geometry &screen)
{
    const Geometry byDefault = defaultGeometry(screen);
    if (!readFlag(ini, RemPosition))
        return byDefault;
    Geometry g;
    g.height = readNumber(ini, QStringLiteral("Height"), byDefault.height);
    g.width = readNumber(ini, QStringLiteral("Width"), byDefault.width);
    // The centre is taken for the size just read.
    g.top = readNumber(ini, QStringLiteral("Top"), screen.top + (screen.height - g.height) / 2);
    g.left = readNumber(ini, QStringLiteral("Left"), screen.left + (screen.width - g.width) / 2);
    return g;
}

void storeGeometry(IniDocument &ini, const Geometry &geometry)
{
    auto whole = [](double twips) { return QString::number(std::llround(twips)); };
    ini.setValue(Section, QStringLiteral("Height"), whole(geometry.height));
    ini.setValue(Section, QStringLiteral("Width"), whole(geometry.width));
    ini.setValue(Section, QStringLiteral("Top"), whole(geometry.top));
    ini.setValue(Section, QStringLiteral("Left"), whole(geometry.left));
}

} // namespace Startup
