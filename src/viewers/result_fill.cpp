#include "result_fill.h"

#include <cmath>

#include "numfmt.h"

namespace hasorin {
namespace {

QString Format(double value, const char* pattern) {
  return QString::fromStdString(FormatNumber(value, pattern));
}

ResultCell Number(double value, const char* pattern) {
  ResultCell cell;
  cell.text = Format(value, pattern);
  cell.hasValue = true;
  cell.value = value;
  return cell;
}

const QString kNotApplicable = QStringLiteral("……");

}  // namespace

std::vector<ResultColumn> PileHeadColumns() {
  std::vector<ResultColumn> columns;
  for (const char* h : {"Ｐx(kN)", "Ｐy(kN)", "Ｐz(kN)", "Ｍx(kN･m)", "Ｍy(kN･m)", "Ｍz(kN･m)"})
    columns.push_back({QString::fromUtf8(h), 8.5});
  return columns;
}

std::vector<ResultColumn> StressColumns() {
  return {{QStringLiteral("σc(N/mm2)"), 11},
          {QStringLiteral("σbc(N/mm2)"), 11},
          {QStringLiteral("σca(N/mm2)"), 11},
          {QStringLiteral("κ"), 10},
          {QStringLiteral("-σc+σbc(N/mm2)"), 15}};
}

ResultTable PileHeadTable(const engine::CalcResults& r) {
  using Table = engine::PileTable engine::CalcResults::*;
  static const Table kTables[] = {&engine::CalcResults::Px, &engine::CalcResults::Py,
                                  &engine::CalcResults::Pz, &engine::CalcResults::Mx,
                                  &engine::CalcResults::My, &engine::CalcResults::Mz};
  ResultTable t;
  t.columns = PileHeadColumns();
  t.SetRows(r.PileCount);
  for (int c = 0; c < 6; ++c) {
    const engine::PileTable& table = r.*kTables[c];
    for (int i = 1; i <= t.rows; ++i) {
      if (!table.Computed(i)) continue;  // never a stale value shown as this run's
      ResultCell& cell = t.At(i - 1, c) = Number(table[i], "0.00");
      // Judged on the value as shown: -9999.994 reads -9999.99 and fits.
      cell.beyondLimit = !(std::fabs(std::round(table[i] * 100)) <= std::round(kHeadCellLimit * 100));
    }
  }
  return t;
}

double AllowableBending(double alpha, int grade) {
  return alpha * (grade == engine::kSKK400 ? 140.0 : 185.0);
}

ResultTable StressTable(const engine::CalcResults& r, int grade, double sigmaBa) {
  ResultTable t;
  t.columns = StressColumns();
  t.SetRows(r.PileCount);
  const engine::PileTable& allow = r.SigmaCaAllow[grade];
  const engine::PileTable& ratio = r.CheckRatio[grade];
  for (int i = 1; i <= t.rows; ++i) {
    if (!r.SigmaC.Computed(i) || !r.SigmaB.Computed(i)) continue;
    const double sc = r.SigmaC[i], sb = r.SigmaB[i];
    t.At(i - 1, 0) = Number(sc, "###0.0");
    t.At(i - 1, 1) = Number(sb, "###0.0");
    if (allow.Computed(i)) t.At(i - 1, 2) = Number(allow[i], "###0.0");
    if (sc >= 0) {  // compression, σc = 0 included
      if (ratio.Computed(i)) {
        ResultCell& k = t.At(i - 1, 3) = Number(ratio[i], "#0.000");
        k.red = ratio[i] > 1;
      }
      t.At(i - 1, 4).text = kNotApplicable;
    } else {
      t.At(i - 1, 3).text = kNotApplicable;
      ResultCell& d = t.At(i - 1, 4) = Number(sb - sc, "###0.0");
      d.red = sb - sc > sigmaBa;
    }
  }
  return t;
}

double IncreaseFactor(const Project& project) {
  const ProjectValue& v = project.Conditions(7);
  if (v.isReal()) return v.real();
  if (v.isInteger()) return v.integer();
  return 0;
}

QString FootingText(const engine::CalcResults& r) {
  const auto& f = r.Footing;
  auto mm = [](double m) { return Format(m * 1000, "0.000"); };
  auto rad = [](double v) { return QString::fromStdString(FormatGeneral(v, 4)); };
  return QStringLiteral("基礎の変位　δx=%1　δy=%2　δz=%3 (mm)　　θx=%4　θy=%5　θz=%6 (rad)")
      .arg(mm(f[0]), mm(f[1]), mm(f[2]), rad(f[3]), rad(f[4]), rad(f[5]));
}

}  // namespace hasorin
