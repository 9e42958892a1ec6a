#pragma once
// Example projects for tests and benchmarks, built as the editors would store
// them: the engine's worked examples, a 24-pile cap, and large tables.
#include <cstdint>
#include <initializer_list>
#include <string>

#include "project.h"

namespace hasorin::testing {

// One pile row: D t Δt A I Z h L X Y Z φ ψ Kv.
struct PileRow {
  double values[kPileColumns];
};

inline void SetPiles(Project& p, std::initializer_list<PileRow> rows) {
  int pile = 0;
  for (const PileRow& row : rows) {
    ++pile;
    for (int c = 1; c <= kPileColumns; ++c) p.Piles(c, pile) = ProjectValue::Real(row.values[c - 1]);
  }
  p.PileCount = pile;
}

// Conditions and loads as the editors store them: reals, option indexes as
// integers, unused slots empty.
inline void SetConditions(Project& p, const std::string& title, double ep, double kh, int head,
                          int tip, int kv, double alpha) {
  p.Conditions(1) = ProjectValue::Text(title);
  p.Conditions(2) = ProjectValue::Real(ep);
  p.Conditions(3) = ProjectValue::Real(kh);
  p.Conditions(4) = ProjectValue::Integer(std::int16_t(head));
  p.Conditions(5) = ProjectValue::Integer(std::int16_t(tip));
  p.Conditions(6) = ProjectValue::Integer(std::int16_t(kv));
  p.Conditions(7) = ProjectValue::Real(alpha);
  p.ConditionsEntered = true;
}

inline void SetLoads(Project& p, double xo, double yo, double zo, double mx, double my, double mz) {
  const double loads[6] = {xo, yo, zo, mx, my, mz};
  for (int i = 1; i <= 6; ++i) p.Loads(i) = ProjectValue::Real(loads[i - 1]);
  p.LoadsEntered = true;
}

// The engine's worked examples: D 0.6 m, t 12 mm, Δt 1 mm, A 150 cm2,
// I 100,000 cm4, Z 3,333 cm3, h 0, L 20 m; Kv computed, so column 14 is 0.
inline PileRow WorkedPile(double x, double z, double phi, double psi) {
  return {{0.6, 12, 1, 150, 100000, 3333, 0, 20, x, 0, z, phi, psi, 0}};
}

inline Project Vertical4() {
  Project p;
  SetConditions(p, "鉛直杭4本の検討例", 200000, 30000, 0, 1, 0, 1);
  SetLoads(p, 100, 1000, 0, 0, 0, 0);
  SetPiles(p, {WorkedPile(1.5, 1.5, 0, 0), WorkedPile(-1.5, 1.5, 0, 0),
               WorkedPile(-1.5, -1.5, 0, 0), WorkedPile(1.5, -1.5, 0, 0)});
  return p;
}

inline Project Inclined4() {
  Project p;
  SetConditions(p, "斜杭4本（傾斜角10°）の検討例", 200000, 30000, 0, 1, 0, 1);
  SetLoads(p, 100, 1000, 0, 0, 0, 0);
  SetPiles(p, {WorkedPile(1.5, 0, 10, 0), WorkedPile(0, 1.5, 10, 90),
               WorkedPile(-1.5, 0, 10, 180), WorkedPile(0, -1.5, 10, 270)});
  return p;
}

// A larger cap: 6 x 4 piles of D 800 mm at 2 m spacing, the outer two rows
// raked 10° outwards; section values of the corroded pipe (t 12 - 1 mm).
inline Project Group24() {
  Project p;
  SetConditions(p, "24本杭基礎（斜杭混在）の検討例", 200000, 20000, 0, 1, 0, 1.5);
  SetLoads(p, 3000, 24000, 500, 0, 0, 2000);
  int pile = 0;
  for (double z : {-3.0, -1.0, 1.0, 3.0}) {
    for (double x : {-5.0, -3.0, -1.0, 1.0, 3.0, 5.0}) {
      const double phi = (x == 5.0 || x == -5.0) ? 10 : 0;
      const double psi = x == -5.0 ? 180 : 0;
      const double row[kPileColumns] = {0.8, 12, 1, 272, 210600, 5278, 0, 25, x, 0, z, phi, psi, 0};
      ++pile;
      for (int c = 1; c <= kPileColumns; ++c) p.Piles(c, pile) = ProjectValue::Real(row[c - 1]);
    }
  }
  p.PileCount = pile;
  return p;
}

// `count` piles of D 800 mm on a 1.25 m grid, every seventh raked 10°: the
// kinds of values the pile editor stores, for the largest files.
inline Project ManyPiles(int count) {
  Project p = Group24();
  for (int i = 1; i <= count; ++i) {
    const bool raked = i % 7 == 0;
    const double row[kPileColumns] = {0.8,  12, 1, 271.97, 210601.57, 5278.235, 0.5, 25.25,
                                      (i % 32) * 1.25, 0, (i / 32) * 1.25, raked ? 10.0 : 0.0,
                                      raked ? (i % 4) * 90.0 : 0.0, 187234.125};
    for (int c = 1; c <= kPileColumns; ++c) p.Piles(c, i) = ProjectValue::Real(row[c - 1]);
  }
  p.PileCount = count;
  return p;
}

// Close to a mechanism: three hinged vertical piles of the worked section 3 m
// apart on a line parallel to x, 3 m from the origin, the middle one
// `offset` m off it (0.01: condition number 1.6e6).
inline Project NearMechanism(double offset = 0.01) {
  Project p = Vertical4();
  p.Conditions(4) = ProjectValue::Integer(1);
  p.PileCount = 3;
  for (int i = 1; i <= 3; ++i) {
    p.Piles(9, i) = ProjectValue::Real((i - 2) * 3.0);
    p.Piles(11, i) = ProjectValue::Real(i == 2 ? 3.0 + offset : 3.0);
  }
  return p;
}

}  // namespace hasorin::testing
