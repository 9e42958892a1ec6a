// The text that `hasorin-cli calc` adds after the run's tables: the cap
// matrices, the conditioning, the ground moments and, on request, the
// profiles along every pile.
#include "calc_analysis.h"

#include <cmath>
#include <cstdio>

#include "numfmt.h"
#include "text_table.h"

namespace hasorin::cli {
namespace {

using engine::Matrix6;

std::string Scientific(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6E", v);
  return text;
}

void PrintMatrix(const char* title, const Matrix6& m) {
  static const char* const kRows[6] = {"Ｘ",  "Ｙ",  "Ｚ",  "Ｍx", "Ｍy", "Ｍz"};
  TextTable table({"", "δx", "δy", "δz", "θx", "θy", "θz"}, {0});
  for (size_t i = 0; i < 6; ++i) {
    std::vector<std::string> row{kRows[i]};
    for (double v : m[i]) row.push_back(Scientific(v));
    table.AddRow(std::move(row));
  }
  std::printf("\n%s\n", title);
  table.Print();
}

std::string Fixed(double v, const char* pattern) { return FormatNumber(v, pattern); }

}  // namespace

std::string ConditionText(const engine::CapMatrices& cap) {
  if (!std::isfinite(cap.condition)) return "∞（特異）";
  char text[32];
  std::snprintf(text, sizeof text, "%.3E", cap.condition);
  return text;
}

void PrintAnalysisText(const engine::GroupAnalysis& a) {
  const engine::CapMatrices& cap = a.cap;
  if (!cap.assembled) return;
  PrintMatrix("杭群の剛性マトリクス（座標原点，kN・m・rad）", cap.stiffness);
  if (cap.solved) PrintMatrix("杭群の柔性マトリクス（剛性マトリクスの逆行列）", cap.flexibility);
  std::printf("\n剛性マトリクスの条件数（対角スケーリング，1ノルム）：%s\n", ConditionText(cap).c_str());
  if (cap.Warning()) std::printf("%s\n", engine::ConditionWarningText(cap).c_str());
  if (a.piles == 0) return;

  TextTable table({"No", "Ｍmax(kN･m)", "深さ(m)", "σc+σb(N/mm2)", "κ(SKK400)", "κ(SKK490)"});
  for (int i = 1; i <= a.piles; ++i) {
    const engine::GroundMoment& g = a.ground[size_t(i)];
    if (!g.found) {
      table.AddRow({std::to_string(i), "－", "－", "－", "－", "－"});
      continue;
    }
    table.AddRow({std::to_string(i), Fixed(g.M, "0.000"), Fixed(g.depth, "0.000"), Fixed(g.sigma, "0.0"),
                  Fixed(g.ratio[0], "0.000"), Fixed(g.ratio[1], "0.000")});
  }
  std::printf("\n地中部の最大曲げモーメント（深さは地表面から杭軸に沿って）\n");
  table.Print();
}

void PrintProfilesText(const Project& project, const engine::CalcResults& r, int points) {
  for (int i = 1; i <= r.PileCount; ++i) {
    const engine::PileProfile p = engine::ProfileOf(project, r, i, points);
    if (p.points.empty()) return;
    TextTable table({"s(m)", "ux(m)", "θz(rad)", "Ｍz(kN･m)", "Ｐx(kN)", "uz(m)", "θx(rad)", "Ｍx(kN･m)",
                     "Ｐz(kN)", "Ｍ(kN･m)", ""});
    for (const engine::ProfilePoint& q : p.points)
      table.AddRow({Fixed(q.s, "0.000"), Fixed(q.ux, "0.00000000"), Fixed(q.thetaZ, "0.00000000"),
                    Fixed(q.Mz, "0.000"), Fixed(q.Px, "0.000"), Fixed(q.uz, "0.00000000"),
                    Fixed(q.thetaX, "0.00000000"), Fixed(q.Mx, "0.000"), Fixed(q.Pz, "0.000"),
                    Fixed(q.M, "0.000"), q.peak ? "*" : ""});
    std::printf("\n杭体断面力分布（杭No.%d，s は杭頭から杭軸に沿って，地表面 s = %s m，* 地中部最大）\n", i,
                Fixed(p.h, "0.000").c_str());
    table.Print();
  }
}

namespace {

void WriteMatrix(JsonWriter& json, const Matrix6& m) {
  json.BeginArray();
  for (const auto& row : m) {
    json.BeginArray();
    for (double v : row) json.Number(v);
    json.EndArray();
  }
  json.EndArray();
}

}  // namespace

void WriteCapJson(JsonWriter& json, const engine::CapMatrices& cap) {
  if (!cap.assembled) {
    json.Null();
    return;
  }
  json.BeginObject();
  WriteMatrix(json.Key("stiffness"), cap.stiffness);
  if (cap.solved)
    WriteMatrix(json.Key("flexibility"), cap.flexibility);
  else
    json.Key("flexibility").Null();
  json.Key("condition").Number(cap.condition);  // null when singular
  if (cap.Warning())
    json.Key("warning").String(engine::ConditionWarningText(cap));
  else
    json.Key("warning").Null();
  json.EndObject();
}

void WritePileAnalysisJson(JsonWriter& json, const Project& project, const engine::CalcResults& r,
                           const engine::GroupAnalysis& a, int pile, int points) {
  json.Key("groundMoment");
  const engine::GroundMoment& g = a.ground[size_t(pile)];
  if (pile > a.piles || !g.found) {
    json.Null();
  } else {
    json.BeginObject();
    json.Key("M").Number(g.M);
    json.Key("depth").Number(g.depth);
    json.Key("sigma").Number(g.sigma);
    json.Key("ratio").BeginArray().Number(g.ratio[0]).Number(g.ratio[1]).EndArray();
    json.EndObject();
  }
  if (points <= 0) return;
  json.Key("profiles");
  const engine::PileProfile p = engine::ProfileOf(project, r, pile, points);
  if (p.points.empty()) {
    json.Null();
    return;
  }
  json.BeginArray();
  for (const engine::ProfilePoint& q : p.points) {
    json.BeginObject();
    json.Key("s").Number(q.s);
    json.Key("ux").Number(q.ux);
    json.Key("thetaZ").Number(q.thetaZ);
    json.Key("Mz").Number(q.Mz);
    json.Key("Px").Number(q.Px);
    json.Key("uz").Number(q.uz);
    json.Key("thetaX").Number(q.thetaX);
    json.Key("Mx").Number(q.Mx);
    json.Key("Pz").Number(q.Pz);
    json.Key("M").Number(q.M);
    json.Key("peak").Bool(q.peak);
    json.EndObject();
  }
  json.EndArray();
}

}  // namespace hasorin::cli
