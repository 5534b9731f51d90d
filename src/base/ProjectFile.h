#pragma once

#include "base/Project.h"

#include <QString>
#include <QStringList>

#include <functional>

class IniDocument;

// The project file: an INI text in Windows-1251 with the sections
// [TP], [Lines], [Line1..N], [Shields], [Loads1..] and [Load11..], and
// [Rooms] with [Room1..N] when the project has rooms. A line's place in the
// network (Id, From, Board) follows its other keys; a file without them gives
// the lines the ids 1..N in list order and no start.
namespace ProjectFile {

struct ReadResult {
    bool opened = false; // the file could be read at all
    bool damaged = false; // something could not be read; what could be read is kept
    QString problem; // the first thing that was wrong
    QStringList problems; // what was wrong, for the user: the first eight and a ninth when there is more
};

// Something found wrong in a file that was read: the file is damaged.
void addProblem(ReadResult &result, const QString &what);

// Called with the percentage reached while a file is read or built.
using Progress = std::function<void(int)>;

// Fills the project's lines, transformer and supply-line values and shields
// from the file's text. The name and folder are not touched. A damaged text
// gives as much as could be read and says what was wrong; reading never does
// more work than the text has sections.
ReadResult readText(const QString &text, Project &project, const Progress &progress = {});
ReadResult read(const QString &path, Project &project, const Progress &progress = {});

// The whole file text in the write order of the format.
QString toText(const Project &project);

// Writes through a temporary file: a failed save leaves the old file intact.
bool write(const QString &path, const Project &project, QString *error = nullptr,
           const Progress &progress = {});

// What the user is told when there is no file to open at a path (nothing,
// or a folder); empty when there is a file.
QString missingMessage(const QString &path);
// What the user is told when a file could not be read at all (with the
// reason, such as a file too large to be a project), and when it was read
// only in part (with up to eight of its problems).
QString unreadableMessage(const QString &path, const ReadResult &result);
QString damagedMessage(const QString &path, const ReadResult &result);

// Section name of load j of shield i (1-based): "Load" + i + j.
QString loadSectionName(int shield, int load);
// "Load" + i + "_" + j: written instead of the plain name only for loads whose
// plain names coincide (shield 1 load 12 and shield 11 load 2 both give
// Load112), and read in preference to it.
QString separatedLoadSectionName(int shield, int load);

// A value as written into the file: texts with blanks at either end, or
// already enclosed in quotes, are enclosed in double quotes, which INI
// readers remove again, so such texts survive the trimming of values.
QString protectValue(const QString &value);
QString unprotectValue(const QString &value);

} // namespace ProjectFile
