// Reading the project into working form: conditions, loads, pile table.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "stages.h"

namespace hasorin::engine::detail {
namespace {

// A numeric slot: empty reads as 0; text and booleans are not numbers.
double ReadNumber(const ProjectValue& value, Guard& g) {
  switch (value.kind()) {
    case ProjectValue::Kind::Empty:
      return 0.0;
    case ProjectValue::Kind::Integer:
      return value.integer();
    case ProjectValue::Kind::Real: {
      double x = value.real();
      if (std::isnan(x)) return g.Fail(calcerr::kTypeMismatch);
      return g.Finite(x);
    }
    case ProjectValue::Kind::Text:
    case ProjectValue::Kind::Boolean:
      break;
  }
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

double Radians(double degrees, Guard& g) { return g.Finite(degrees * kPi / 180.0); }

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
  for (int i = 1; i <= n; ++i) {
    if (i > kMaxPiles) return calcerr::kSubscript;
    const ProjectValue* row = rowsContiguous ? &project.Piles(1, i) : nullptr;
    auto get = [&](int col) {
      return ReadNumber(row ? row[col - 1] : project.Piles(col, i), g);
    };
    // Column by column, converting as each is read.
    WorkPile& p = w.pile[size_t(i)];
    p.D = get(1);
    p.t = get(2);
    p.dt = get(3);
    p.A = get(4) / 1e4;
    p.I = get(5) / 1e8;
    p.Zs = get(6) / 1e6;
    p.h = get(7);
    p.L = get(8);
    p.X = get(9);
    p.Y = get(10);
    p.Z = get(11);
    p.phi = Radians(get(12), g);
    p.psi = Radians(get(13), g);
    p.Kv = get(14);
    if (!g.ok()) return g.code();
  }
  return calcerr::kOk;
}

}  // namespace hasorin::engine::detail
