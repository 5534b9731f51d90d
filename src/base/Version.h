#pragma once

#include <QString>

namespace Version {

constexpr int Major = KABINOR_VERSION_MAJOR;
constexpr int Minor = KABINOR_VERSION_MINOR;
constexpr int Patch = KABINOR_VERSION_PATCH;

inline QString productName() { return QStringLiteral("Кабинор"); }
// "3.2.17"
inline QString fullText() { return QStringLiteral("%1.%2.%3").arg(Major).arg(Minor).arg(Patch); }
// "[Проект 1] - Кабинор 3.2"
inline QString caption(const QString &projectName)
{
    return QStringLiteral("[") + projectName + QStringLiteral("] - ") + productName()
           + QStringLiteral(" %1.%2").arg(Major).arg(Minor);
}

} // namespace Version
