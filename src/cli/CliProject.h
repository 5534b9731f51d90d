#pragma once

#include "base/Project.h"
#include "cli/CliCommon.h"

// Opens a project file as the application does; prints the application's
// message and returns false when the file is missing or unreadable.
bool cliOpenProject(CliContext &ctx, const QString &path, Project &project);

struct TransformerTable;

// The message for a power that the transformer data file does not list.
QString unknownTransformerMessage(double power, const TransformerTable &table);

// Opens a project for a short-circuit calculation: the transformer power must
// be set and listed, and the impedances and the supply line are taken from
// the data file. Prints the refusal and returns false otherwise.
bool cliOpenProjectWithTransformer(CliContext &ctx, const QString &path, Project &project);
