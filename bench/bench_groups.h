#pragma once
// The 999-pile groups the benchmarks run: a typical foundation, one whose
// piles all differ, and one as a user's file holds it (read back through the
// file reader, so whole numbers are integer cells).
#include <QString>
#include <array>
#include <cmath>
#include <random>

#include "inputfile.h"
#include "project.h"

namespace hasorin::bench {

inline void SetConditions(Project& p) {
  p.Conditions(1) = ProjectValue::Text("999 piles");
  const double conditions[7] = {0, 200000, 30000, 0, 1, 0, 1};
  for (int i = 2; i <= 7; ++i) p.Conditions(i) = ProjectValue::Real(conditions[i - 1]);
  const double loads[6] = {5000, 300000, -2000, 1000, 500, -8000};
  for (int i = 1; i <= 6; ++i) p.Loads(i) = ProjectValue::Real(loads[i - 1]);
  p.ConditionsEntered = p.LoadsEntered = true;
  p.PileCount = kMaxPiles;
}

inline void SetRow(Project& p, int i, const std::array<double, kPileColumns>& row) {
  for (int c = 1; c <= kPileColumns; ++c) p.Piles(c, i) = ProjectValue::Real(row[size_t(c) - 1]);
}

// Grid position of pile i, 2.5 m apart.
inline double GridX(int i) { return ((i - 1) % 37 - 18) * 2.5; }
inline double GridZ(int i) { return ((i - 1) / 37 - 13) * 2.5; }

// A foundation as the pile editor leaves it, sorted by diameter: three kinds
// of pile in blocks, the middle one inclined 10 degrees in every direction,
// the last one short enough to be a finite pile.
inline Project TypicalGroup() {
  Project p;
  SetConditions(p);
  for (int i = 1; i <= kMaxPiles; ++i) {
    const double x = GridX(i), z = GridZ(i);
    if (i <= 333)
      SetRow(p, i, {0.8, 12, 1, 298.1, 233200, 5830, 0, 25, x, 0, z, 0, 0, 0});
    else if (i <= 666)
      SetRow(p, i, {1.0, 14, 1, 433.6, 527500, 10550, 1.5, 25, x, 0, z, 10,
                    std::atan2(z, x) * 180 / 3.141592654, 0});
    else
      SetRow(p, i, {1.2, 16, 1, 595.8, 1043000, 17380, 0, 6, x, 0, z, 0, 0, 0});
  }
  return p;
}

// The worst case: every pile differs in section, lengths and angles.
inline Project DistinctGroup() {
  Project p;
  SetConditions(p);
  std::mt19937 rng(42);
  auto u = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  for (int i = 1; i <= kMaxPiles; ++i) {
    const double h = u(0, 2);
    SetRow(p, i, {u(0.6, 1.2), 12, 1, u(200, 600), u(2e5, 1.2e6), u(5000, 18000), h,
                  h + u(5, 30), GridX(i), 0, GridZ(i), u(0, 15), u(-180, 180), 0});
  }
  return p;
}

// Rounds to `decimals` places, as an engineer types a value.
inline double Typed(double x, int decimals) {
  const double scale = std::pow(10.0, decimals);
  return std::round(x * scale) / scale;
}

// A foundation as a user's file holds it: every pile differs in section,
// lengths and angles; values are typed to a few decimals, so whole numbers
// (t, dt, Y, Kv, h = 0, many positions and angles) come back from the reader
// as integers and the rest as reals.
inline Project DistinctFileGroup(const QString& file) {
  Project p;
  SetConditions(p);
  std::mt19937 rng(7);
  auto u = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  for (int i = 1; i <= kMaxPiles; ++i) {
    const double D = Typed(u(0.6, 1.2), 3), t = std::round(u(9, 22));
    const double h = i % 3 == 0 ? 0 : Typed(u(0, 2), 1);
    const double I = std::round(u(1.5e4, 1.2e6));  // below 32768 an integer
    SetRow(p, i, {D, t, 1, Typed(u(150, 600), 2), I, Typed(u(2000, 18000), 1), h,
                  Typed(h + u(5, 30), 2), GridX(i), 0, GridZ(i), i % 4 == 0 ? 0 : Typed(u(0, 15), 1),
                  i % 4 == 0 ? 0 : std::round(u(-180, 180)), 0});
  }
  Project read;
  if (!WriteInputFile(p, file.toStdString()).ok || !ReadInputFile(read, file.toStdString()).ok)
    return {};
  return read;
}

}  // namespace hasorin::bench
