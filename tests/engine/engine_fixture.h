#pragma once
// Project records for the engine tests, built in code.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "engine.h"

namespace hasorin::engine::testing {

// One pile row as the pile editor stores it (entered units).
struct PileRow {
  double D = 0.6, t = 12, dt = 1, A = 150, I = 100000, Z = 3333;
  double h = 0, L = 20, X = 0, Y = 0, Zp = 0, phi = 0, psi = 0, Kv = 0;
};

struct Conds {
  double Ep = 200000, kh = 30000;
  int head = 0, tip = 1, kvChoice = 0;
  double alpha = 1.0;
  double loads[6] = {0, 0, 0, 0, 0, 0};
};

inline void SetConditions(Project& p, const Conds& s) {
  p.Conditions(1) = ProjectValue::Text("test");
  p.Conditions(2) = ProjectValue::Real(s.Ep);
  p.Conditions(3) = ProjectValue::Real(s.kh);
  p.Conditions(4) = ProjectValue::Integer(std::int16_t(s.head));
  p.Conditions(5) = ProjectValue::Integer(std::int16_t(s.tip));
  p.Conditions(6) = ProjectValue::Integer(std::int16_t(s.kvChoice));
  p.Conditions(7) = ProjectValue::Real(s.alpha);
  for (int k = 0; k < 6; ++k) p.Loads(k + 1) = ProjectValue::Real(s.loads[k]);
  p.ConditionsEntered = p.LoadsEntered = true;
}

inline void SetPile(Project& p, int i, const PileRow& r) {
  const double v[14] = {r.D, r.t, r.dt, r.A, r.I, r.Z, r.h, r.L, r.X, r.Y, r.Zp, r.phi, r.psi, r.Kv};
  for (int c = 0; c < 14; ++c) p.Piles(c + 1, i) = ProjectValue::Real(v[c]);
}

inline Project MakeProject(const Conds& s, const std::vector<PileRow>& piles) {
  Project p;
  SetConditions(p, s);
  for (size_t i = 0; i < piles.size(); ++i) SetPile(p, int(i) + 1, piles[i]);
  p.PileCount = int(piles.size());
  return p;
}

// The four vertical piles at (+-1.5, 0, +-1.5) of the worked examples.
inline std::vector<PileRow> FourVerticalPiles() {
  std::vector<PileRow> piles;
  for (double x : {1.5, -1.5})
    for (double z : {1.5, -1.5}) {
      PileRow r;
      r.X = x;
      r.Zp = z;
      piles.push_back(r);
    }
  return piles;
}

// A group of piles with random positions, inclinations, lengths and sections.
inline std::vector<PileRow> RandomGroup(std::mt19937& rng, int n) {
  auto u = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  std::vector<PileRow> piles;
  for (int i = 0; i < n; ++i) {
    PileRow p;
    p.D = u(0.4, 1.5);
    p.dt = u(0, 2);
    p.A = u(100, 600);
    p.I = u(5e4, 2e6);
    p.Z = u(2e3, 4e4);
    p.h = u(0, 4);
    p.L = p.h + u(2, 30);  // finite and semi-infinite piles
    p.X = u(-8, 8);
    p.Y = u(-0.5, 0.5);
    p.Zp = u(-8, 8);
    p.phi = u(0, 25);
    p.psi = u(-359.9, 359.9);
    piles.push_back(p);
  }
  return piles;
}

// The same double, bit for bit.
inline bool Same(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

// Result records are large: keep them off the stack.
inline std::unique_ptr<CalcResults> NewResults() { return std::make_unique<CalcResults>(); }

// The value rounds to `expected` at the given number of decimals.
#define EXPECT_DIGITS(actual, expected, decimals) \
  EXPECT_NEAR((actual), (expected), 0.5 * std::pow(10.0, -(decimals)) * (1 + 1e-9))

}  // namespace hasorin::engine::testing
