// hasorin-cli verify: runs the verification suite on this program's engine
// and prints check, figure, tolerance and verdict; exit 0 only when all pass.
#include <cstdio>

#include "cli_common.h"
#include "commands.h"
#include "text_table.h"
#include "verify_checks.h"

namespace hasorin::cli {
namespace {

std::string Scientific(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2E", v);
  return text;
}

int RunVerify() {
  UseUtf8Console();
  TextTable table({"検査項目", "値", "許容値", "判定"}, {TextTable::kLeft});
  bool all = true;
  for (const CheckResult& c : RunVerification()) {
    all = all && c.pass();
    table.AddRow({c.name, Scientific(c.figure), Scientific(c.tolerance), c.pass() ? "合格" : "不合格"});
  }
  std::printf("計算エンジンの検証\n");
  table.Print();
  std::printf("\n%s\n", all ? "すべての検査に合格しました。" : "合格しなかった検査があります。");
  return all ? kExitOk : kExitVerifyFailed;
}

}  // namespace

void AddVerifyCommand(CLI::App& app, int& exitCode) {
  auto* command = app.add_subcommand("verify", "計算エンジンの検証を実行し，結果を表示します");
  command->callback([&exitCode] { exitCode = RunVerify(); });
}

}  // namespace hasorin::cli
