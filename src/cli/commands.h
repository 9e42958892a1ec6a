#pragma once
// Subcommands of hasorin-cli. Each adds itself to the application and sets
// `exitCode` when it runs.
#include <CLI/CLI.hpp>

namespace hasorin::cli {

// Exit codes shared by the subcommands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitOpenFailed = 2;
inline constexpr int kExitCalcError = 3;
inline constexpr int kExitSolveFailed = 4;
inline constexpr int kExitReportFailed = 5;
// cases: every case ran, and some check ratio exceeds 1.
inline constexpr int kExitNotAdequate = 6;
// verify: some check failed (each command gives its own meaning to 6).
inline constexpr int kExitVerifyFailed = 6;

void AddCheckCommand(CLI::App& app, int& exitCode);
void AddCalcCommand(CLI::App& app, int& exitCode);
void AddPrintCommand(CLI::App& app, int& exitCode);
void AddCasesCommand(CLI::App& app, int& exitCode);
void AddVerifyCommand(CLI::App& app, int& exitCode);

}  // namespace hasorin::cli
