#pragma once

#include "cli/CliCommon.h"

// The commands, one function each; cliCommands() lists them.
int cliSummary(CliContext &ctx);
