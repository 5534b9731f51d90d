#pragma once

#include "cli/CliCommon.h"

// The commands, one function each; cliCommands() lists them.
int cliSummary(CliContext &ctx);
int cliLine(CliContext &ctx);
int cliSections(CliContext &ctx);
int cliPropose(CliContext &ctx);
int cliCurrents(CliContext &ctx);
int cliEval(CliContext &ctx);
int cliLoad(CliContext &ctx);
int cliShield(CliContext &ctx);
int cliTp(CliContext &ctx);
int cliKz(CliContext &ctx);
int cliFaults(CliContext &ctx);
int cliProtect(CliContext &ctx);
int cliNetwork(CliContext &ctx);
int cliSelectivity(CliContext &ctx);
int cliDiagram(CliContext &ctx);
int cliLight(CliContext &ctx);
int cliLightRoom(CliContext &ctx);
int cliLighting(CliContext &ctx);
int cliReportKl(CliContext &ctx);
int cliReportKz(CliContext &ctx);
int cliReportLoads(CliContext &ctx);
int cliReportLighting(CliContext &ctx);
int cliReportFaults(CliContext &ctx);
int cliReportProtect(CliContext &ctx);
int cliReportJournal(CliContext &ctx);
int cliReportNetwork(CliContext &ctx);
