#pragma once

#include <QString>

class IniDocument;

// The "Startup" section of the settings file: the tray, tip and geometry flags
// and the main window's size and position, kept in twips.
namespace Startup {

inline const QString Section = QStringLiteral("Startup");
inline const QString ShowInTray = QStringLiteral("ShowInTray");
inline const QString ShowTips = QStringLiteral("ShowTips");
inline const QString RemPosition = QStringLiteral("RemPosition");

// The size of a window on a screen not known, in twips.
constexpr double DefaultWidth = 13665;
constexpr double DefaultHeight = 7200;
// Without stored geometry the main window takes this share of the screen
// each way, centred: room for the list's columns on any screen.
constexpr double DefaultScreenShare = 0.75;
// The smallest inner size of the main window in the normal state, in twips.
constexpr double MinimumInnerWidth = 5000;
constexpr double MinimumInnerHeight = 2400;

// A flag "reads 1" when its value is the number 1; a missing key reads "1".
bool flagValue(const QString &text);
bool readFlag(const IniDocument &ini, const QString &key);
QString flagText(bool on);

// A window's place in twips, as the settings keep it.
struct Geometry {
    double left = 0;
    double top = 0;
    double width = DefaultWidth;
    double height = DefaultHeight;
    bool operator==(const Geometry &) const = default;
};

// Three quarters of the screen each way, centred on it.
Geometry defaultGeometry(const Geometry &screen);

// The size and position to start with on a screen (its place in twips).
// With "RemPosition" 1 the stored "Height", "Width", "Top" and "Left", the
// size defaulting to defaultGeometry()'s and the position to the centre for
// the size just read; with 0 defaultGeometry(). A stored value that is no
// number takes its default.
Geometry restoredGeometry(const IniDocument &ini, const Geometry &screen);

// Writes "Height", "Width", "Top" and "Left" as whole twips.
void storeGeometry(IniDocument &ini, const Geometry &geometry);

} // namespace Startup
