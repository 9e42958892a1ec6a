// Reading the project into working form: conditions, loads, pile table.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "stages.h"

namespace hasorin::engine::detail {
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

  // Rows are contiguous in the project; read a row through one pointer when
  // the layout says so, slot by slot otherwise.
  const bool rowsContiguous =
      n >= 1 && &project.Piles(kPileColumns, 1) == &project.Piles(1, 1) + (kPileColumns - 1);
  Converter toM2{1e4}, toM4{1e8}, toM3{1e6};
  for (int i = 1; i <= n; ++i) {
    if (i > kMaxPiles) return calcerr::kSubscript;
    // Column by column, converting as each is read.
    WorkPile& p = w.pile[size_t(i)];
    auto readRow = [&](auto cell) {
      p.D = ReadNumber(cell(1), g);
      p.t = ReadNumber(cell(2), g);
      p.dt = ReadNumber(cell(3), g);
      p.A = toM2(ReadNumber(cell(4), g));
      p.I = toM4(ReadNumber(cell(5), g));
      p.Zs = toM3(ReadNumber(cell(6), g));
      p.h = ReadNumber(cell(7), g);
      p.L = ReadNumber(cell(8), g);
      p.X = ReadNumber(cell(9), g);
      p.Y = ReadNumber(cell(10), g);
      p.Z = ReadNumber(cell(11), g);
      p.phi = Radians(ReadNumber(cell(12), g), g);
      p.psi = Radians(ReadNumber(cell(13), g), g);
      p.Kv = ReadNumber(cell(14), g);
    };
    if (rowsContiguous) {
      const ProjectValue* row = &project.Piles(1, i);
      readRow([row](int col) -> const ProjectValue& { return row[col - 1]; });
    } else {
      readRow([&](int col) -> const ProjectValue& { return project.Piles(col, i); });
    }
    if (!g.ok()) return g.code();
  }
  return calcerr::kOk;
}

}  // namespace hasorin::engine::detail
