// hasorin-cli: the project checks, the calculation and the reports without windows.
#include <QCoreApplication>
#include <cstdio>

#include "commands.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);  // program folder, codecs
  CLI::App cli{"Hasorin: 3D pile-group foundation check (command line)", "hasorin-cli"};
  cli.set_version_flag("--version", std::string("hasorin-cli ") + HASORIN_VERSION);
  cli.require_subcommand(1);
  int exitCode = hasorin::cli::kExitOk;
  hasorin::cli::AddCheckCommand(cli, exitCode);
  hasorin::cli::AddCalcCommand(cli, exitCode);
  hasorin::cli::AddPrintCommand(cli, exitCode);
  hasorin::cli::AddVerifyCommand(cli, exitCode);
  try {
    cli.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int code = cli.exit(e);
    return code == 0 ? 0 : hasorin::cli::kExitUsage;
  }
  std::fflush(stdout);
  return exitCode;
}
