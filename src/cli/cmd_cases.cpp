// hasorin-cli cases FILE.zrn CASES.csv: the project's calculation for every
// load case of a table, the governing pile values of each case and the
// envelope over the cases, as text, JSON, CSV files or a workbook.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "case_table.h"
#include "cases.h"
#include "cli_common.h"
#include "commands.h"
#include "json_writer.h"
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
constexpr const char* kFootingFormat = "0.00000000";

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
    for (const char* h : kFootingHeadings) columns.push_back({h, kFootingFormat, 13});
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

// A value and where it was found, or null.
void ExtremeJson(JsonWriter& json, const Extreme& e, const char* at) {
  if (e.at == 0) {
    json.Null();
    return;
  }
  json.BeginObject().Key("value").Number(e.value).Key(at).Int(e.at).EndObject();
}

// The governing values as members of the open object.
void GoverningJson(JsonWriter& json, const Governing& g, const char* at) {
  for (const GoverningColumn& c : kGoverning) ExtremeJson(json.Key(c.json), c.get(g), at);
}

// What the case's run computed for every pile (the springs are those of calc --json).
void PilesJson(JsonWriter& json, const CalcResults& r) {
  auto value = [&json](const engine::PileTable& t, int i) { t.Computed(i) ? json.Number(t[i]) : json.Null(); };
  json.BeginArray();
  for (int i = 1; i <= r.PileCount; ++i) {
    json.BeginObject().Key("No").Int(i);
    for (const engine::NamedTable& t : engine::kPileTables) {
      if (std::string_view(t.name).starts_with("Pile")) continue;
      json.Key(t.name);
      value(r.*t.table, i);
    }
    for (const char* name : {"SigmaCaAllow", "CheckRatio"}) {
      const engine::GradeTable& table = name[0] == 'S' ? r.SigmaCaAllow : r.CheckRatio;
      json.Key(name).BeginArray();
      for (int g = engine::kSKK400; g <= engine::kSKK490; ++g) value(table[g], i);
      json.EndArray();
    }
    json.EndObject();
  }
  json.EndArray();
}

void CaseJson(JsonWriter& json, int no, const LoadCase& c, const Outcome& o, const CalcResults& r, bool all) {
  json.BeginObject().Key("No").Int(no).Key("name").String(c.name).Key("line").Int(c.line);
  json.Key("loads").BeginArray();
  for (double v : c.loads) json.Number(v);
  json.EndArray();
  json.Key("alpha");
  c.alpha ? json.Number(*c.alpha) : json.Null();
  json.Key("code").Int(o.code).Key("solved").Bool(o.solved).Key("footing");
  if (o.solved) {
    json.BeginArray();
    for (double v : o.footing) json.Number(v);
    json.EndArray();
  } else {
    json.Null();
  }
  json.Key("governing");
  if (o.governing) {
    json.BeginObject();
    GoverningJson(json, *o.governing, "pile");
    json.EndObject();
  } else {
    json.Null();
  }
  if (all) PilesJson(json.Key("piles"), r);
  json.EndObject();
}

void EndJson(JsonWriter& json, const std::optional<engine::Envelope>& envelope,
             const std::vector<CaseTableError>& errors) {
  json.EndArray().Key("envelope").BeginArray();
  for (int i = 1; envelope && i <= envelope->PileCount(); ++i) {
    json.BeginObject().Key("pile").Int(i);
    GoverningJson(json, envelope->Pile(i), "case");
    json.EndObject();
  }
  json.EndArray().Key("errors").BeginArray();
  for (const CaseTableError& e : errors)
    json.BeginObject().Key("line").Int(e.line).Key("column").Int(e.column).Key("message").String(e.message).EndObject();
  json.EndArray().EndObject();
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
      for (double v : o.footing) row.push_back(FormatNumber(v, kFootingFormat));
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
  // The cases go into the JSON text as they run.
  std::string jsonText;
  JsonWriter json(jsonText);
  json.BeginObject().Key("format").Int(1).Key("cases").BeginArray();
  bool failed = !table.errors.empty(), unsolved = false, exceeded = false;
  for (size_t k = 0; k < table.cases.size(); ++k) {
    const LoadCase& c = table.cases[k];
    const int no = int(k) + 1;
    const CalcResults& r = runner.Run(c);
    Outcome o{r.code, r.solved, r.Footing, std::nullopt};
    if (engine::CaseCompleted(r)) {
      if (!envelope) envelope.emplace(r.PileCount);
      o.governing = envelope->Add(no, r);
      for (const Extreme& e : o.governing->ratio) exceeded |= e.at != 0 && e.value > 1;
    } else if (r.code != 0) {
      failed = true;
      PrintMessage(stderr, {"ケース " + std::to_string(no) + "（" + c.name + "）", engine::CalcErrorText(r.code)});
    } else {
      unsolved = true;
      PrintMessage(stderr, {"ケース " + std::to_string(no) + "（" + c.name + "）", engine::SolveFailedText()});
    }
    for (CaseSheets& s : sheets) s.AddCase(no, c, alpha, o, r);
    if (options.json) CaseJson(json, no, c, o, r, options.all);
    outcomes.push_back(o);
  }

  if (options.json) {
    EndJson(json, envelope, table.errors);
    jsonText += '\n';
    std::fwrite(jsonText.data(), 1, jsonText.size(), stdout);
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
  if (exceeded)
    PrintMessage(stderr, {"照査", "κが1を超える杭があります（包絡のκ(SKK400)，κ(SKK490)をご確認ください）。"});
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
