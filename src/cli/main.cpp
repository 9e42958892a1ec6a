// hasorin-cli: the project checks, the calculation and the reports without windows.
#include <QCoreApplication>
#include <cstdio>

#include "cli_texts.h"
#include "commands.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);  // program folder, codecs
  CLI::App cli{"Hasorin：3次元杭基礎の照査（ｺﾏﾝﾄﾞﾗｲﾝ版）", "hasorin-cli"};
  hasorin::cli::UseJapaneseTexts(cli);
  cli.set_version_flag("--version", std::string("hasorin-cli ") + HASORIN_VERSION,
                       "ﾊﾞｰｼﾞｮﾝを表示して終了します");
  cli.require_subcommand(1);
  int exitCode = hasorin::cli::kExitOk;
  hasorin::cli::AddCheckCommand(cli, exitCode);
  hasorin::cli::AddCalcCommand(cli, exitCode);
  hasorin::cli::AddPrintCommand(cli, exitCode);
  hasorin::cli::AddCasesCommand(cli, exitCode);
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
