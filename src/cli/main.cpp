// hasorin-cli: the project checks, the calculation and the reports without windows.
#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <memory>

#include "commands.h"
#include "pdf_output.h"

namespace {

// Writing a PDF needs fonts, hence a GUI application, but never a screen.
bool WantsPdf(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--pdf") == 0 || std::strncmp(argv[i], "--pdf=", 6) == 0) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  std::unique_ptr<QCoreApplication> app;  // program folder, codecs
  if (WantsPdf(argc, argv)) {
    hasorin::preview::PrepareHeadlessGui();
    app = std::make_unique<QGuiApplication>(argc, argv);
  } else {
    app = std::make_unique<QCoreApplication>(argc, argv);
  }
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
