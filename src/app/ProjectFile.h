#pragma once

#include "app/Project.h"

#include <QString>

class IniDocument;

// The project file: an INI text in Windows-1251 with the sections
// [TP], [Lines], [Line1..N], [Shields], [Loads1..] and [Load11..].
namespace ProjectFile {

struct ReadResult {
    bool opened = false; // the file could be read at all
    bool damaged = false; // something could not be read; what could be read is kept
    QString problem; // what was wrong, for the user
};

// Fills the project's lines, transformer and supply-line values and shields
// from the file's text. The name and folder are not touched.
ReadResult readText(const QString &text, Project &project);
ReadResult read(const QString &path, Project &project);

// The whole file text in the write order of the format.
IniDocument toIni(const Project &project);
QString toText(const Project &project);

// Writes through a temporary file: a failed save leaves the old file intact.
bool write(const QString &path, const Project &project, QString *error = nullptr);

// Section name of load j of shield i (1-based): "Load" + i + j.
QString loadSectionName(int shield, int load);

} // namespace ProjectFile
