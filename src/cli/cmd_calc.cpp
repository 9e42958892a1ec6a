// hasorin-cli calc FILE.zrn [--json]: opens a project as the desktop does,
// runs the calculation and prints the footing displacement, the springs, the
// pile-head results and the stress check of every pile.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "calc_workbook.h"
#include "calc_analysis.h"
#include "cli_common.h"
#include "cli_texts.h"
#include "commands.h"
#include "cp932.h"
#include "analysis.h"
#include "engine.h"
#include "json_writer.h"
#include "numfmt.h"
#include "text_table.h"

namespace hasorin::cli {
namespace {

using engine::CalcResults;
using engine::PileTable;

struct Column {
  const char* heading;
  const PileTable CalcResults::*table;
  const char* pattern;
};

// Prints one table of per-pile values, piles 1..N.
void PrintPileTable(const char* title, const CalcResults& r, const std::vector<Column>& columns) {
  std::vector<std::string> headings{"No"};
  for (const Column& c : columns) headings.push_back(c.heading);
  TextTable table(std::move(headings));
  for (int i = 1; i <= r.PileCount; ++i) {
    std::vector<std::string> row{std::to_string(i)};
    for (const Column& c : columns) row.push_back(FormatNumber((r.*c.table)[i], c.pattern));
    table.AddRow(std::move(row));
  }
  std::printf("\n%s\n", title);
  table.Print();
}

// Every pile of the table was computed by this run.
bool Complete(const CalcResults& r, const PileTable& t) { return t.computed == r.PileCount; }

constexpr const char* kDisp = "0.00000000";
constexpr const char* kForce = "0.000";

void PrintText(const Project& project, const CalcResults& r) {
  std::printf("ﾌｧｲﾙ：%s\n", project.CurrentFilePath.c_str());
  std::printf("検討ｹｰｽ名称：%s\n", ValueText(project.Conditions(1)).c_str());
  std::printf("杭本数：%d\n", r.PileCount);

  if (Complete(r, r.PileK4z)) {
    PrintPileTable("杭のバネ定数", r,
                   {{"β(1/m)", &CalcResults::PileBeta, "0.00000"},
                    {"Ｋt(kN･m/rad)", &CalcResults::PileKt, "0.00"},
                    {"Ｋv(kN/m)", &CalcResults::PileKv, "0.00"},
                    {"Ｋ1(kN/m)", &CalcResults::PileK1, "0.00"},
                    {"Ｋ2(kN/rad)", &CalcResults::PileK2, "0.00"},
                    {"Ｋ3(kN･m/m)", &CalcResults::PileK3, "0.00"},
                    {"Ｋ4(kN･m/rad)", &CalcResults::PileK4, "0.00"},
                    {"Ｋ1z(kN/m)", &CalcResults::PileK1z, "0.00"},
                    {"Ｋ2z(kN/rad)", &CalcResults::PileK2z, "0.00"},
                    {"Ｋ3z(kN･m/m)", &CalcResults::PileK3z, "0.00"},
                    {"Ｋ4z(kN･m/rad)", &CalcResults::PileK4z, "0.00"}});
  }
  if (!r.solved) return;

  std::printf("\n基礎の変位（座標原点）\n");
  TextTable footing({"δx(m)", "δy(m)", "δz(m)", "θx(rad)", "θy(rad)", "θz(rad)"});
  std::vector<std::string> values;
  for (double v : r.Footing) values.push_back(FormatNumber(v, kDisp));
  footing.AddRow(std::move(values));
  footing.Print();

  if (Complete(r, r.MemberRotZ)) {
    PrintPileTable("杭頭変位", r,
                   {{"δx(m)", &CalcResults::HeadDispX, kDisp},
                    {"δy(m)", &CalcResults::HeadDispY, kDisp},
                    {"δz(m)", &CalcResults::HeadDispZ, kDisp},
                    {"部材δx(m)", &CalcResults::MemberDispX, kDisp},
                    {"部材δy(m)", &CalcResults::MemberDispY, kDisp},
                    {"部材δz(m)", &CalcResults::MemberDispZ, kDisp},
                    {"部材θx(rad)", &CalcResults::MemberRotX, kDisp},
                    {"部材θy(rad)", &CalcResults::MemberRotY, kDisp},
                    {"部材θz(rad)", &CalcResults::MemberRotZ, kDisp}});
  }
  if (Complete(r, r.Me)) {
    PrintPileTable("杭頭作用力", r,
                   {{"Ｐx(kN)", &CalcResults::Px, kForce},
                    {"Ｐy(kN)", &CalcResults::Py, kForce},
                    {"Ｐz(kN)", &CalcResults::Pz, kForce},
                    {"Ｍx(kN･m)", &CalcResults::Mx, kForce},
                    {"Ｍy(kN･m)", &CalcResults::My, kForce},
                    {"Ｍz(kN･m)", &CalcResults::Mz, kForce},
                    {"Ｍe(kN･m)", &CalcResults::Me, kForce}});
  }
  if (Complete(r, r.SigmaB)) {
    PrintPileTable("杭体応力度", r,
                   {{"σx(N/mm2)", &CalcResults::SigmaX, "0.0"},
                    {"σz(N/mm2)", &CalcResults::SigmaZ, "0.0"},
                    {"σc(N/mm2)", &CalcResults::SigmaC, "0.0"},
                    {"σbc(N/mm2)", &CalcResults::SigmaB, "0.0"}});
  }
  static const char* const kGradeNames[2] = {"SKK400", "SKK490"};
  for (int g = engine::kSKK400; g <= engine::kSKK490; ++g) {
    if (!Complete(r, r.CheckRatio[g])) continue;
    std::vector<std::string> headings{"No", "細長比", "σc(N/mm2)", "σbc(N/mm2)", "σca(N/mm2)", "κ"};
    TextTable table(std::move(headings));
    for (int i = 1; i <= r.PileCount; ++i)
      table.AddRow({std::to_string(i), FormatNumber(r.Slenderness[i], "0.0"),
                    FormatNumber(r.SigmaC[i], "0.0"), FormatNumber(r.SigmaB[i], "0.0"),
                    FormatNumber(r.SigmaCaAllow[g][i], "0.0"),
                    FormatNumber(r.CheckRatio[g][i], "0.000")});
    std::printf("\n杭体応力度の照査（%s）\n", kGradeNames[g]);
    table.Print();
  }
}

// A value of this run, or null.
void Value(JsonWriter& json, const PileTable& t, int pile) {
  if (t.Computed(pile))
    json.Number(t[pile]);
  else
    json.Null();
}

// The JSON layout's version: 1 is the layout below (additions keep it).
constexpr int kJsonFormat = 1;

void PrintJson(const Project& project, const CalcResults& r, const engine::GroupAnalysis& analysis,
               int profiles) {
  using engine::kPileTables;
  std::string out;
  out.reserve(4096 + size_t(r.PileCount) * 1536);  // about 1.1 KB a pile
  JsonWriter json(out);
  json.BeginObject();
  json.Key("format").Int(kJsonFormat);
  json.Key("code").Int(r.code);
  json.Key("solved").Bool(r.solved);
  json.Key("footing").BeginArray();
  for (double v : r.Footing) r.solved ? json.Number(v) : json.Null();
  json.EndArray();
  json.Key("piles").BeginArray();
  for (int i = 1; i <= r.PileCount; ++i) {
    json.BeginObject();
    json.Key("No").Int(i);
    for (const engine::NamedTable& t : kPileTables) Value(json.Key(t.name), r.*t.table, i);
    for (const auto& [name, table] :
         {std::pair{"SigmaCaAllow", &r.SigmaCaAllow}, std::pair{"CheckRatio", &r.CheckRatio}}) {
      json.Key(name).BeginArray();
      for (int g = engine::kSKK400; g <= engine::kSKK490; ++g) Value(json, (*table)[g], i);
      json.EndArray();
    }
    WritePileAnalysisJson(json, project, r, analysis, i, profiles);
    json.EndObject();
  }
  json.EndArray();
  WriteCapJson(json.Key("cap"), analysis.cap);
  json.EndObject();
  out += '\n';
  std::fwrite(out.data(), 1, out.size(), stdout);
}

int RunCalc(const std::string& path, bool json, int profiles, const std::string& xlsx) {
  UseUtf8Console();
  Project project;
  if (!OpenProject(path, project)) return kExitOpenFailed;
  auto results = std::make_unique<CalcResults>();
  const int code = engine::CalcPileGroup(project, *results);
  auto analysis = std::make_unique<engine::GroupAnalysis>();
  engine::AnalyseGroup(project, *results, *analysis);
  if (json) {
    PrintJson(project, *results, *analysis, profiles);
  } else {
    PrintText(project, *results);
    PrintAnalysisText(*analysis);
    if (profiles > 0) PrintProfilesText(project, *results, profiles);
  }
  std::fflush(stdout);
  if (!xlsx.empty() && !WriteCalcWorkbook(xlsx, project, *results)) return kExitReportFailed;
  if (code != 0) {
    PrintMessage(stderr, {"計算", engine::CalcErrorText(code)});
    return kExitCalcError;
  }
  if (!results->solved) {
    PrintMessage(stderr, {"計算", engine::SolveFailedText()});
    return kExitSolveFailed;
  }
  return kExitOk;
}

}  // namespace

void AddCalcCommand(CLI::App& app, int& exitCode) {
  auto* command = app.add_subcommand("calc", "入力ﾃﾞｰﾀﾌｧｲﾙ(*.zrn)を開き，計算結果を表示します");
  auto path = std::make_shared<std::string>();
  auto json = std::make_shared<bool>(false);
  auto profiles = std::make_shared<int>(0);
  command->add_option("FILE", *path, "入力ﾃﾞｰﾀﾌｧｲﾙ")->required();
  auto xlsx = std::make_shared<std::string>();
  command->add_flag("--json", *json, "結果を1個のJSONオブジェクトで出力します");
  command->add_option("--xlsx", *xlsx, "結果の表をExcelﾌｧｲﾙに保存します");
  command->add_option("--profiles", *profiles, "各杭の断面力分布をN点（等間隔）と地中部最大の位置で出力します")
      ->check(CLI::Range(2, 10000));
  command->callback([&exitCode, path, json, profiles, xlsx] {
    exitCode = RunCalc(*path, *json, *profiles, *xlsx);
  });
}

}  // namespace hasorin::cli
