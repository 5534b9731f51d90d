#pragma once

#include "app/Project.h"
#include "cli/CliCommon.h"

// Opens a project file as the application does; prints the application's
// message and returns false when the file is missing or unreadable.
bool cliOpenProject(CliContext &ctx, const QString &path, Project &project);
