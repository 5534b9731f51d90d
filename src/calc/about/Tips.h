#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The tips of the day: "tipofday.dat" in the application folder, one tip per
// line, an empty line being an (empty) tip too.
namespace Tips {

inline const QString FileName = QStringLiteral("tipofday.dat");

// The lines of a text; a line break at the very end starts no further line.
QStringList splitLines(const QString &text);

// The tips of a file; nothing when the name is empty or the file cannot be read.
std::optional<QStringList> load(const QString &path);

// The tip number 1..count for a uniform random number in [0, 1); 0 without tips.
int chooseIndex(int count, double uniform);

// The text shown in place of a tip when the file is missing.
QString missingFileText();

} // namespace Tips
