#pragma once

#include "base/ProjectFile.h"

// Opening a project: the file read with the rules of its format, then every
// stored value of the lines checked with the rules the line dialog applies,
// so that each calculation takes only sound values.
namespace ProjectCheck {

// Checks the inputs and the row texts of every line and adds what is wrong
// to `result` (naming the line and the key or column); the file reader's own
// findings are not told twice.
void checkLines(Project &project, ProjectFile::ReadResult &result);

// ProjectFile::read (or readText) followed by checkLines: how every window
// and command opens a project.
ProjectFile::ReadResult read(const QString &path, Project &project, const ProjectFile::Progress &progress = {});
ProjectFile::ReadResult readText(const QString &text, Project &project);

} // namespace ProjectCheck
