// hasorin-cli cases FILE.zrn CASES.csv: the project's calculation for every
// load case of a table, the governing pile values of each case and the
// envelope over the cases, as text, JSON, CSV files or a workbook.
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "case_table.h"
#include "cases.h"
#include "cli_common.h"
#include "commands.h"
#include "numfmt.h"
#include "result_tables.h"
#include "table_output.h"
#include "text_table.h"

namespace hasorin::cli {
namespace {

using engine::CalcResults;
using engine::Extreme;
using engine::Governing;

struct CasesOptions {
  std::string project, table;
  bool json = false, all = false;
  std::string csv, xlsx;
};

// What a case left for the summary tables.
struct Outcome {
  int code = 0;
  bool solved = false;
  std::array<double, 6> footing{};
  std::optional<Governing> governing;  // when the case completed
};

// The governing values in table order, with their headings and formats.
struct GoverningColumn {
  const char* heading;
  const char* json;
  const char* format;
  const Extreme& (*get)(const Governing&);
};
const GoverningColumn kGoverning[] = {
    {"Ｐy最大(kN)", "PyMax", kForceFormat, [](const Governing& g) -> const Extreme& { return g.pyMax; }},
    {"Ｐy最小(kN)", "PyMin", kForceFormat, [](const Governing& g) -> const Extreme& { return g.pyMin; }},
    {"Ｐx(kN)", "Px", kForceFormat, [](const Governing& g) -> const Extreme& { return g.px; }},
    {"Ｐz(kN)", "Pz", kForceFormat, [](const Governing& g) -> const Extreme& { return g.pz; }},
    {"Ｍ(kN･m)", "M", kForceFormat, [](const Governing& g) -> const Extreme& { return g.moment; }},
    {"κ(SKK400)", "CheckRatioSKK400", kRatioFormat, [](const Governing& g) -> const Extreme& { return g.ratio[0]; }},
    {"κ(SKK490)", "CheckRatioSKK490", kRatioFormat, [](const Governing& g) -> const Extreme& { return g.ratio[1]; }},
};
bool IsRatio(const GoverningColumn& c) { return c.format == kRatioFormat; }

const char* const kLoadHeadings[6] = {"Xo(kN)", "Yo(kN)", "Zo(kN)", "Mxo(kN･m)", "Myo(kN･m)", "Mzo(kN･m)"};
const char* const kFootingHeadings[6] = {"δx(m)", "δy(m)", "δz(m)", "θx(rad)", "θy(rad)", "θz(rad)"};
constexpr const char* kDisp = "0.00000000";

std::string StateText(const Outcome& o) {
  if (o.code != 0) return "ｴﾗｰｺｰﾄﾞ " + std::to_string(o.code);
  return o.solved ? "正常" : "解けません";
}

// The governing values of a case, or of a pile over the cases, as table
// cells: value and where ("at": the pile or the case number).
std::vector<TableColumn> GoverningColumns(const char* at) {
  std::vector<TableColumn> columns;
  for (const GoverningColumn& c : kGoverning) {
    columns.push_back({c.heading, c.format, 11});
    columns.push_back({at, "0", 6});
  }
  return columns;
}

void GoverningCells(TableSheet& t, const Governing& g) {
  for (const GoverningColumn& c : kGoverning) {
    const Extreme& e = c.get(g);
    if (e.at == 0) {
      t.Blank();
      t.Blank();
      continue;
    }
    t.Number(e.value, IsRatio(c) && e.value > 1);
    t.Number(e.at);
  }
}

std::vector<std::string> GoverningTexts(const Governing& g) {
  std::vector<std::string> cells;
  for (const GoverningColumn& c : kGoverning) {
    const Extreme& e = c.get(g);
    const bool ratio = IsRatio(c);
    cells.push_back(e.at ? FormatNumber(e.value, ratio ? "0.000" : "0.00") : "……");
    cells.push_back(e.at ? std::to_string(e.at) : "");
  }
  return cells;
}

// The spreadsheet tables, written as the cases run.
class CaseSheets {
 public:
  CaseSheets(TableOutput& out, bool all) : out_(out), all_(all) {
    std::vector<TableColumn> columns{{"No", "0", 5}, {"ケース名", "@", 16}, {"α", "0.00", 6}, {"結果", "@", 12}};
    for (const char* h : kLoadHeadings) columns.push_back({h, kForceFormat, 11});
    for (const char* h : kFootingHeadings) columns.push_back({h, kDisp, 13});
    for (const TableColumn& c : GoverningColumns("杭")) columns.push_back(c);
    cases_ = &out.Add("ケース", "cases", columns);
    std::vector<TableColumn> envelope{{"杭No", "0", 5}};
    for (const TableColumn& c : GoverningColumns("ケース")) envelope.push_back(c);
    envelope_ = &out.Add("包絡", "envelope", envelope);
  }

  void AddCase(int no, const LoadCase& c, double alpha, const Outcome& o, const CalcResults& r) {
    TableSheet& t = *cases_;
    t.Number(no);
    t.Text(c.name);
    t.Number(c.alpha.value_or(alpha));
    t.Text(StateText(o));
    for (double v : c.loads) t.Number(v);
    for (double v : o.footing) o.solved ? t.Number(v) : t.Blank();
    if (o.governing) GoverningCells(t, *o.governing);
    t.EndRow();
    if (all_) AddPiles(no, c, r);
  }

  void AddEnvelope(const engine::Envelope& e) {
    for (int i = 1; i <= e.PileCount(); ++i) {
      envelope_->Number(i);
      GoverningCells(*envelope_, e.Pile(i));
      envelope_->EndRow();
    }
  }

 private:
  // The pile table of one case: what its run computed.
  void AddPiles(int no, const LoadCase& c, const CalcResults& r) {
    using T = engine::PileTable CalcResults::*;
    static const std::pair<TableColumn, T> kColumns[] = {
        {{"Ｐx(kN)", kForceFormat, 10}, &CalcResults::Px},   {{"Ｐy(kN)", kForceFormat, 10}, &CalcResults::Py},
        {{"Ｐz(kN)", kForceFormat, 10}, &CalcResults::Pz},   {{"Ｍx(kN･m)", kForceFormat, 10}, &CalcResults::Mx},
        {{"Ｍy(kN･m)", kForceFormat, 10}, &CalcResults::My}, {{"Ｍz(kN･m)", kForceFormat, 10}, &CalcResults::Mz},
        {{"Ｍe(kN･m)", kForceFormat, 10}, &CalcResults::Me}, {{"σc(N/mm2)", kStressFormat, 11}, &CalcResults::SigmaC},
        {{"σbc(N/mm2)", kStressFormat, 11}, &CalcResults::SigmaB}};
    std::vector<TableColumn> columns{{"No", "0", 5}};
    for (const auto& [column, table] : kColumns) columns.push_back(column);
    for (const char* grade : {"SKK400", "SKK490"}) {
      columns.push_back({std::string("σca(") + grade + ")", kStressFormat, 13});
      columns.push_back({std::string("κ(") + grade + ")", kRatioFormat, 11});
    }
    TableSheet& t = out_.Add(std::to_string(no) + " " + c.name, "case" + std::to_string(no), columns);
    auto cell = [&t](const engine::PileTable& table, int i, bool alert = false) {
      table.Computed(i) ? t.Number(table[i], alert) : t.Blank();
    };
    for (int i = 1; i <= r.PileCount; ++i) {
      t.Number(i);
      for (const auto& [column, table] : kColumns) cell(r.*table, i);
      for (int g = engine::kSKK400; g <= engine::kSKK490; ++g) {
        cell(r.SigmaCaAllow[g], i);
        const double ratio = r.CheckRatio[g][i];
        cell(r.CheckRatio[g], i, r.SigmaC[i] >= 0 && ratio > 1);
      }
      t.EndRow();
    }
    t.Finish();
  }

  TableOutput& out_;
  bool all_;
  TableSheet* cases_;
  TableSheet* envelope_;
};

using Json = nlohmann::ordered_json;

Json ExtremeJson(const Extreme& e, const char* at) {
  if (e.at == 0) return nullptr;
  return Json{{"value", e.value}, {at, e.at}};
}

Json GoverningJson(const Governing& g, const char* at, Json j = Json::object()) {
  for (const GoverningColumn& c : kGoverning) j[c.json] = ExtremeJson(c.get(g), at);
  return j;
}

Json PilesJson(const CalcResults& r) {
  Json piles = Json::array();
  auto value = [](const engine::PileTable& t, int i) { return t.Computed(i) ? Json(t[i]) : Json(nullptr); };
  for (int i = 1; i <= r.PileCount; ++i) {
    Json pile = Json::object();
    for (const engine::NamedTable& t : engine::kPileTables) {
      const std::string name = t.name;
      if (name.starts_with("Pile")) continue;  // the springs are the same in every case
      pile[name] = value(r.*t.table, i);
    }
    pile["SigmaCaAllow"] = {value(r.SigmaCaAllow[0], i), value(r.SigmaCaAllow[1], i)};
    pile["CheckRatio"] = {value(r.CheckRatio[0], i), value(r.CheckRatio[1], i)};
    piles.push_back(std::move(pile));
  }
  return piles;
}

void PrintText(const Project& project, const CasesOptions& options, const std::vector<LoadCase>& cases,
               const std::vector<Outcome>& outcomes, const std::optional<engine::Envelope>& envelope) {
  std::printf("ﾌｧｲﾙ：%s\n", project.CurrentFilePath.c_str());
  std::printf("ケース表：%s\n", options.table.c_str());
  std::printf("ケース数：%zu\n", cases.size());

  std::vector<std::string> headings{"No", "ケース名", "結果"};
  for (const char* h : kFootingHeadings) headings.push_back(h);
  TextTable footing(headings);
  headings = {"No", "ケース名"};
  for (const GoverningColumn& c : kGoverning) {
    headings.push_back(c.heading);
    headings.push_back("杭");
  }
  TextTable governing(headings);
  for (size_t k = 0; k < cases.size(); ++k) {
    const Outcome& o = outcomes[k];
    std::vector<std::string> row{std::to_string(k + 1), cases[k].name, StateText(o)};
    if (o.solved)
      for (double v : o.footing) row.push_back(FormatNumber(v, kDisp));
    footing.AddRow(std::move(row));
    if (!o.governing) continue;
    std::vector<std::string> cells{std::to_string(k + 1), cases[k].name};
    for (std::string& cell : GoverningTexts(*o.governing)) cells.push_back(std::move(cell));
    governing.AddRow(std::move(cells));
  }
  std::printf("\n基礎の変位（ケース別）\n");
  footing.Print();
  std::printf("\n杭頭作用力と照査の最大値（ケース別）\n");
  governing.Print();

  if (!envelope) return;
  headings = {"杭No"};
  for (const GoverningColumn& c : kGoverning) {
    headings.push_back(c.heading);
    headings.push_back("ケース");
  }
  TextTable table(headings);
  for (int i = 1; i <= envelope->PileCount(); ++i) {
    std::vector<std::string> cells{std::to_string(i)};
    for (std::string& cell : GoverningTexts(envelope->Pile(i))) cells.push_back(std::move(cell));
    table.AddRow(std::move(cells));
  }
  std::printf("\n包絡（杭別の最大値と，それを与えるケース）\n");
  table.Print();
}

int RunCases(const CasesOptions& options) {
  UseUtf8Console();
  Project project;
  if (!OpenProject(options.project, project)) return kExitOpenFailed;
  const CaseTable table = ReadCaseTable(options.table);
  if (table.failure) {
    PrintMessage(stderr, {"ケース表", *table.failure});
    return kExitOpenFailed;
  }
  for (const CaseTableError& e : table.errors) PrintMessage(stderr, {"ケース表", e.message});

  std::vector<std::unique_ptr<TableOutput>> outputs;
  if (!options.xlsx.empty()) outputs.push_back(OpenWorkbook(options.xlsx));
  if (!options.csv.empty()) outputs.push_back(OpenCsvFiles(options.csv));
  std::vector<CaseSheets> sheets;
  for (auto& out : outputs) sheets.emplace_back(*out, options.all);

  const double alpha = project.Conditions(7).number();
  engine::LoadCaseRunner runner(project);
  std::optional<engine::Envelope> envelope;
  std::vector<Outcome> outcomes;
  Json jsonCases = Json::array();
  bool failed = !table.errors.empty(), unsolved = false, exceeded = false;
  for (size_t k = 0; k < table.cases.size(); ++k) {
    const LoadCase& c = table.cases[k];
    const int no = int(k) + 1;
    const CalcResults& r = runner.Run(c);
    Outcome o{r.code, r.solved, r.Footing, std::nullopt};
    if (engine::CaseCompleted(r)) {
      o.governing = engine::GoverningPiles(r);
      if (!envelope) envelope.emplace(r.PileCount);
      envelope->Add(no, r);
      for (const Extreme& e : o.governing->ratio) exceeded |= e.at != 0 && e.value > 1;
    } else if (r.code != 0) {
      failed = true;
      PrintMessage(stderr, {"ケース " + std::to_string(no) + "（" + c.name + "）", engine::CalcErrorText(r.code)});
    } else {
      unsolved = true;
      PrintMessage(stderr, {"ケース " + std::to_string(no) + "（" + c.name + "）", engine::SolveFailedText()});
    }
    for (CaseSheets& s : sheets) s.AddCase(no, c, alpha, o, r);
    if (options.json) {
      Json j{{"no", no}, {"name", c.name}, {"line", c.line}, {"loads", c.loads},
             {"alpha", c.alpha ? Json(*c.alpha) : Json(nullptr)}, {"code", o.code}, {"solved", o.solved}};
      j["footing"] = o.solved ? Json(o.footing) : Json(nullptr);
      j["governing"] = o.governing ? GoverningJson(*o.governing, "pile") : Json(nullptr);
      if (options.all) j["piles"] = PilesJson(r);
      jsonCases.push_back(std::move(j));
    }
    outcomes.push_back(o);
  }

  if (options.json) {
    Json j{{"cases", std::move(jsonCases)}};
    Json env = Json::array();
    for (int i = 1; envelope && i <= envelope->PileCount(); ++i) {
      env.push_back(GoverningJson(envelope->Pile(i), "case", Json{{"pile", i}}));
    }
    j["envelope"] = std::move(env);
    Json errors = Json::array();
    for (const CaseTableError& e : table.errors)
      errors.push_back({{"line", e.line}, {"column", e.column}, {"message", e.message}});
    j["errors"] = std::move(errors);
    const std::string text = j.dump() + "\n";
    std::fwrite(text.data(), 1, text.size(), stdout);
  } else {
    PrintText(project, options, table.cases, outcomes, envelope);
  }
  std::fflush(stdout);

  bool written = true;
  for (size_t k = 0; k < outputs.size(); ++k) {
    if (envelope) sheets[k].AddEnvelope(*envelope);
    std::string error;
    if (!outputs[k]->Close(&error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      written = false;
    }
  }
  if (!written) return kExitReportFailed;
  if (failed) return kExitCalcError;
  if (unsolved) return kExitSolveFailed;
  return exceeded ? kExitNotAdequate : kExitOk;
}

}  // namespace

void AddCasesCommand(CLI::App& app, int& exitCode) {
  auto* command = app.add_subcommand(
      "cases", "入力ﾃﾞｰﾀﾌｧｲﾙ(*.zrn)を荷重ケース表(CSV)の各ケースで計算し，ケース別の最大値と包絡を表示します");
  auto options = std::make_shared<CasesOptions>();
  command->add_option("FILE", options->project, "入力ﾃﾞｰﾀﾌｧｲﾙ")->required();
  command->add_option("CASES", options->table, "荷重ケース表（CSVかタブ区切り，UTF-8かShift_JIS）")->required();
  command->add_flag("--json", options->json, "結果を1個のJSONオブジェクトで出力します");
  command->add_option("--csv", options->csv, "表をCSVﾌｧｲﾙ（OUT-cases.csv など）に保存します");
  command->add_option("--xlsx", options->xlsx, "表をExcelﾌｧｲﾙに保存します");
  command->add_flag("--all", options->all, "ケースごとの杭の表も出力します");
  command->callback([&exitCode, options] { exitCode = RunCases(*options); });
}

}  // namespace hasorin::cli
