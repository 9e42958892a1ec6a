// Reading the project into working form: conditions, loads, pile table.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "stages.h"

namespace hasorin::engine::detail {
HASORIN_LANES_BEGIN
namespace {

// A numeric slot: empty reads as 0; text and booleans are not numbers.
double ReadNumber(const ProjectValue& value, Guard& g) {
  if (value.isReal()) [[likely]] {
    const double x = value.real();
    if (std::fabs(x) <= std::numeric_limits<double>::max()) [[likely]]
      return x;
    return g.Fail(std::isnan(x) ? calcerr::kTypeMismatch : calcerr::kOverflow);
  }
  if (value.isInteger()) return value.integer();
  if (value.isEmpty()) return 0.0;
  return g.Fail(calcerr::kTypeMismatch);
}

// An option slot held as a 16-bit integer: rounded half to even, as the
// integer kind of the project would hold it; beyond its range is an overflow.
int ReadOption(const ProjectValue& value, Guard& g) {
  double x = ReadNumber(value, g);
  double rounded = std::nearbyint(x);
  if (rounded < INT16_MIN || rounded > INT16_MAX) {
    g.Fail(calcerr::kOverflow);
    return 0;
  }
  return int(rounded);
}

// A row of finite numbers, as the editors leave every row and the file reader
// gives it back (whole numbers as integers, the rest as reals), is read
// without a check per slot; an empty slot reads as 0 either way. False sends
// the row the slot-by-slot way, which finds the failing slot and its code.
bool ReadNumberRow(const ProjectValue* row, std::array<double, kPileColumns>& x) {
  double sum = 0.0;  // non-finite when any value is
  for (size_t k = 0; k < x.size(); ++k) {
    const ProjectValue& v = row[k];
    double value;
    if (v.isReal()) [[likely]]
      value = v.real();
    else if (v.isInteger())
      value = v.integer();
    else if (v.isEmpty())
      value = 0.0;
    else
      return false;
    x[k] = value;
    sum += value;
  }
  return std::fabs(sum) <= std::numeric_limits<double>::max();
}

double Radians(double degrees, Guard& g) {
  if (degrees == 0.0) return degrees;  // the usual vertical, unturned pile
  return g.Finite(degrees * kPi / 180.0);
}

// Converts a section value to metre units, reusing the previous row's result
// for the same entered value.
struct Converter {
  double divisor;
  double entered = 0.0, converted = 0.0;
  double operator()(double x) {
    if (!SameBits(x, entered)) {
      entered = x;
      converted = x / divisor;
    }
    return converted;
  }
};

}  // namespace

int ReadInputs(const Project& project, Workspace& w, CalcResults& r) {
  Guard g;
  WorkConditions& c = w.c;
  c.Ep = g.Finite(ReadNumber(project.Conditions(2), g) * 1000.0);
  c.kh = ReadNumber(project.Conditions(3), g);
  c.head = ReadOption(project.Conditions(4), g);
  c.tip = ReadOption(project.Conditions(5), g);
  c.kvChoice = ReadOption(project.Conditions(6), g);
  c.alpha = ReadNumber(project.Conditions(7), g);
  for (int k = 0; k < 6; ++k) c.loads[size_t(k)] = ReadNumber(project.Loads(k + 1), g);

  // The tables hold 999 piles; a negative count reads none.
  const int n = project.PileCount;
  r.PileCount = std::clamp(n, 0, kMaxPiles);
  w.n = r.PileCount;
  if (!g.ok()) return g.code();

  // The project holds the table row by row in one array; read the rows
  // through one pointer when the layout says so, slot by slot otherwise.
  const int rows = std::min(n, kMaxPiles);
  const ProjectValue* table = rows >= 1 ? &project.Piles(1, 1) : nullptr;
  const bool contiguous =
      rows >= 1 && &project.Piles(kPileColumns, rows) == table + (rows * kPileColumns - 1);
  Converter toM2{1e4}, toM4{1e8}, toM3{1e6};
  for (int i = 1; i <= n; ++i) {
    if (i > kMaxPiles) return calcerr::kSubscript;
    // Column by column, converting as each is read.
    WorkPiles& p = w.pile;
    const size_t at = size_t(i);
    auto readRow = [&](auto cell) {
      p.D[at] = cell(1);
      p.t[at] = cell(2);
      p.dt[at] = cell(3);
      p.A[at] = toM2(cell(4));
      p.I[at] = toM4(cell(5));
      p.Zs[at] = toM3(cell(6));
      p.h[at] = cell(7);
      p.L[at] = cell(8);
      p.X[at] = cell(9);
      p.Y[at] = cell(10);
      p.Z[at] = cell(11);
      p.phi[at] = Radians(cell(12), g);
      p.psi[at] = Radians(cell(13), g);
      p.Kv[at] = cell(14);
    };
    std::array<double, kPileColumns> x;
    if (contiguous && ReadNumberRow(table + size_t(i - 1) * kPileColumns, x)) [[likely]] {
      readRow([&x](int col) { return x[size_t(col) - 1]; });
    } else {
      readRow([&](int col) { return ReadNumber(project.Piles(col, i), g); });
    }
    if (!g.ok()) return g.code();
  }
  return calcerr::kOk;
}

}  // namespace HASORIN_LANES_NS
}  // namespace hasorin::engine::detail
