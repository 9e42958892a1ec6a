// hasorin-cli check FILE.zrn: opens a project as the desktop does and shows
// what it holds, so that a file can be checked without the windows.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli_common.h"
#include "commands.h"

namespace hasorin::cli {
namespace {

const char* EnteredText(bool entered) { return entered ? "入力済み" : "未入力"; }

void PrintLine(const std::string& label, const std::string& value) {
  std::printf("%s：%s\n", label.c_str(), value.c_str());
}

void PrintPileTable(const Project& project) {
  static const char* const kHeadings[kPileColumns] = {
      "杭径Ｄ(m)", "板厚ｔ(mm)", "⊿ｔ(mm)", "Ａ(cm2)", "Ｉ(cm4)", "Ｚ(cm3)", "ｈ(m)",
      "Ｌ(m)",     "Ｘ(m)",      "Ｙ(m)",   "Ｚ(m)",   "φ(°)",  "ψ(°)",   "Ｋv(kN/m)"};
  std::printf("\n杭体および杭配置\nNo");
  for (const char* heading : kHeadings) std::printf("\t%s", heading);
  std::printf("\n");
  for (int pile = 1; pile <= project.PileCount; ++pile) {
    std::printf("%d", pile);
    for (int column = 1; column <= kPileColumns; ++column)
      std::printf("\t%s", ValueText(project.Piles(column, pile)).c_str());
    std::printf("\n");
  }
}

void PrintProject(const Project& project, bool piles) {
  PrintLine("ﾌｧｲﾙ", project.CurrentFilePath);
  PrintLine("検討ｹｰｽ名称", ValueText(project.Conditions(1)));
  PrintLine("計算条件", EnteredText(project.ConditionsEntered));
  PrintLine("外力", EnteredText(project.LoadsEntered));
  PrintLine("杭本数", std::to_string(project.PileCount));

  std::printf("\n計算条件\n");
  PrintLine("杭体のヤング係数 Ｅ(N/mm2)", ValueText(project.Conditions(2)));
  PrintLine("横方向地盤反力係数 Ｋh(kN/m3)", ValueText(project.Conditions(3)));
  PrintLine("杭頭条件", OptionText(project.Conditions(4), {"剛結", "ヒンジ"}));
  PrintLine("杭先端条件", OptionText(project.Conditions(5), {"固定", "ヒンジ", "自由"}));
  PrintLine("Ｋｖ値", OptionText(project.Conditions(6), {"打ち込み鋼管杭として算定する(H8.道示)",
                                                         "直接入力した値を採用する"}));
  PrintLine("許容応力度の割増係数", ValueText(project.Conditions(7)));

  std::printf("\n座標原点に作用する外力\n");
  static const char* const kLoadLabels[6] = {"Ｘo(kN)",     "Ｙo(kN)",     "Ｚo(kN)",
                                             "Ｍｘ(kN・m)", "Ｍｙ(kN・m)", "Ｍｚ(kN・m)"};
  for (int i = 1; i <= 6; ++i) PrintLine(kLoadLabels[i - 1], ValueText(project.Loads(i)));

  if (piles) PrintPileTable(project);
}

}  // namespace

void AddCheckCommand(CLI::App& app, int& exitCode) {
  auto* command = app.add_subcommand("check", "入力ﾃﾞｰﾀﾌｧｲﾙ(*.zrn)を開き，内容を表示します");
  auto path = std::make_shared<std::string>();
  auto piles = std::make_shared<bool>(false);
  command->add_option("FILE", *path, "入力ﾃﾞｰﾀﾌｧｲﾙ")->required();
  command->add_flag("--piles", *piles, "杭体および杭配置の表も表示します");
  command->callback([&exitCode, path, piles] {
    UseUtf8Console();
    Project project;
    if (!OpenProject(*path, project)) {
      exitCode = kExitOpenFailed;
      return;
    }
    PrintProject(project, *piles);
    exitCode = kExitOk;
  });
}

}  // namespace hasorin::cli
