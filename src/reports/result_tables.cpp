#include "result_tables.h"

#include <vector>

namespace hasorin {
namespace {

using engine::CalcResults;
using engine::PileTable;

struct PileColumn {
  TableColumn column;
  const PileTable CalcResults::*table;
};

// Every pile of the table was computed by this run.
bool Complete(const CalcResults& r, const PileTable& t) { return t.computed == r.PileCount; }

void AddPileTable(TableOutput& out, const CalcResults& r, const char* sheet, const char* key,
                  const std::vector<PileColumn>& columns) {
  for (const PileColumn& c : columns)
    if (!Complete(r, r.*c.table)) return;
  std::vector<TableColumn> headings{{"No", "0", 5}};
  for (const PileColumn& c : columns) headings.push_back(c.column);
  TableSheet& t = out.Add(sheet, key, headings);
  for (int i = 1; i <= r.PileCount; ++i) {
    t.Number(i);
    for (const PileColumn& c : columns) t.Number((r.*c.table)[i]);
    t.EndRow();
  }
}

// The stress viewer's grid: the ratio of a compressed pile, in red over 1;
// for a pile in tension -σc+σbc instead, in red over σba.
void AddStressTable(TableOutput& out, const CalcResults& r, int grade, double alpha) {
  if (!Complete(r, r.CheckRatio[grade]) || !Complete(r, r.SigmaB)) return;
  static const char* const kSheets[2] = {"杭体応力度(SKK400)", "杭体応力度(SKK490)"};
  static const char* const kKeys[2] = {"stress-skk400", "stress-skk490"};
  static const double kBending[2] = {140, 185};
  const double sba = alpha * kBending[grade];
  TableSheet& t = out.Add(kSheets[grade], kKeys[grade],
                          {{"No", "0", 5},
                           {"σc(N/mm2)", kStressFormat, 11},
                           {"σbc(N/mm2)", kStressFormat, 11},
                           {"σca(N/mm2)", kStressFormat, 11},
                           {"κ", kRatioFormat, 10},
                           {"-σc+σbc(N/mm2)", kStressFormat, 15}});
  for (int i = 1; i <= r.PileCount; ++i) {
    const double sc = r.SigmaC[i], sb = r.SigmaB[i], ratio = r.CheckRatio[grade][i];
    t.Number(i);
    t.Number(sc);
    t.Number(sb);
    t.Number(r.SigmaCaAllow[grade][i]);
    if (sc >= 0) {
      t.Number(ratio, ratio > 1);
      t.Blank();
    } else {
      t.Blank();
      t.Number(sb - sc, sb - sc > sba);
    }
    t.EndRow();
  }
}

}  // namespace

void AddResultTables(TableOutput& out, const CalcResults& r, double alpha) {
  AddPileTable(out, r, "杭のバネ定数", "springs",
               {{{"β(1/m)", "0.00000", 9}, &CalcResults::PileBeta},
                {{"Ｋt(kN･m/rad)", "0.00", 14}, &CalcResults::PileKt},
                {{"Ｋv(kN/m)", "0.00", 14}, &CalcResults::PileKv},
                {{"Ｋ1(kN/m)", "0.00", 14}, &CalcResults::PileK1},
                {{"Ｋ2(kN/rad)", "0.00", 14}, &CalcResults::PileK2},
                {{"Ｋ3(kN･m/m)", "0.00", 14}, &CalcResults::PileK3},
                {{"Ｋ4(kN･m/rad)", "0.00", 14}, &CalcResults::PileK4},
                {{"Ｋ1z(kN/m)", "0.00", 14}, &CalcResults::PileK1z},
                {{"Ｋ2z(kN/rad)", "0.00", 14}, &CalcResults::PileK2z},
                {{"Ｋ3z(kN･m/m)", "0.00", 14}, &CalcResults::PileK3z},
                {{"Ｋ4z(kN･m/rad)", "0.00", 14}, &CalcResults::PileK4z}});
  if (!r.solved) return;
  const char* const kFooting[6] = {"δx(m)", "δy(m)", "δz(m)", "θx(rad)", "θy(rad)", "θz(rad)"};
  std::vector<TableColumn> footing;
  for (const char* h : kFooting) footing.push_back({h, "0.00000000", 13});
  TableSheet& f = out.Add("基礎の変位", "footing", footing);
  for (double v : r.Footing) f.Number(v);
  f.EndRow();
  AddPileTable(out, r, "杭頭作用力", "forces",
               {{{"Ｐx(kN)", kForceFormat, 10}, &CalcResults::Px},
                {{"Ｐy(kN)", kForceFormat, 10}, &CalcResults::Py},
                {{"Ｐz(kN)", kForceFormat, 10}, &CalcResults::Pz},
                {{"Ｍx(kN･m)", kForceFormat, 10}, &CalcResults::Mx},
                {{"Ｍy(kN･m)", kForceFormat, 10}, &CalcResults::My},
                {{"Ｍz(kN･m)", kForceFormat, 10}, &CalcResults::Mz}});
  for (int g = engine::kSKK400; g <= engine::kSKK490; ++g) AddStressTable(out, r, g, alpha);
}

bool WriteResultsWorkbook(const std::string& path, const CalcResults& r, double alpha,
                          std::string* error) {
  auto out = OpenWorkbook(path);
  AddResultTables(*out, r, alpha);
  return out->Close(error);
}

}  // namespace hasorin
