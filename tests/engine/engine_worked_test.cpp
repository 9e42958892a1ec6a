// The worked values of the design method, to the digits they are given with.
#include "engine_fixture.h"

namespace hasorin::engine::testing {
namespace {

// Ep 200,000 N/mm2, kh 30,000 kN/m3, D 0.6 m, dt 1 mm, A 150 cm2, I 100,000 cm4, h 0.
struct SpringCase {
  const char* name;
  double L;
  int head, tip;
  double K1, K2, K4;  // K2 and K4 are 0 for a hinged head
};

void PrintTo(const SpringCase& c, std::ostream* os) { *os << c.name; }

class Springs : public ::testing::TestWithParam<SpringCase> {};

TEST_P(Springs, MatchWorkedValues) {
  const SpringCase& c = GetParam();
  Conds s;
  s.head = c.head;
  s.tip = c.tip;
  s.loads[1] = 1000;
  std::vector<PileRow> piles = FourVerticalPiles();
  for (auto& p : piles) p.L = c.L;
  Project p = MakeProject(s, piles);
  auto r = NewResults();
  ASSERT_EQ(CalcPileGroup(p, *r), 0);
  for (int i = 1; i <= 4; ++i) {
    EXPECT_DIGITS(r->PileBeta[i], 0.38698, 5);
    EXPECT_DIGITS(r->PileKt[i], 59535, 0);
    if (c.L == 20) {
      EXPECT_DIGITS(r->PileKv[i], 187234, 0);
    } else {
      EXPECT_DIGITS(r->PileBeta[i] * c.L, 1.93488, 5);  // lambda
    }
    EXPECT_DIGITS(r->PileK1[i], c.K1, 0);
    EXPECT_DIGITS(r->PileK2[i], c.K2, 0);
    EXPECT_EQ(r->PileK3[i], r->PileK2[i]);
    EXPECT_DIGITS(r->PileK4[i], c.K4, 0);
    EXPECT_EQ(r->PileK1z[i], r->PileK1[i]);
    EXPECT_EQ(r->PileK2z[i], r->PileK2[i]);
    EXPECT_EQ(r->PileK3z[i], r->PileK3[i]);
    EXPECT_EQ(r->PileK4z[i], r->PileK4[i]);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Engine, Springs,
    ::testing::Values(SpringCase{"SemiInfiniteRigid", 20, 0, 1, 46360, 59900, 154790},
                      SpringCase{"SemiInfiniteHinged", 20, 1, 1, 23180, 0, 0},
                      SpringCase{"FiniteRigidHingedTip", 5, 0, 1, 43740, 56662, 155430},
                      SpringCase{"FiniteRigidFreeTip", 5, 0, 2, 42795, 58696, 151054},
                      SpringCase{"FiniteRigidFixedTip", 5, 0, 0, 50858, 69755, 179515},
                      SpringCase{"FiniteHingedFreeTip", 5, 1, 2, 19987, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EngineSprings, AxialSpringRuleAndDirectValue) {
  // l/D' below 10 is raised to 10: a = 0.92 for l/D' = 5 and 10 alike.
  Conds s;
  s.loads[1] = 1000;
  auto piles = FourVerticalPiles();
  for (auto& p : piles) {
    p.dt = 0;
    p.h = 2;
  }
  piles[0].L = 2 + 3.0;  // l/D' = 5
  piles[1].L = 2 + 6.0;  // l/D' = 10
  Project p = MakeProject(s, piles);
  auto r = NewResults();
  ASSERT_EQ(CalcPileGroup(p, *r), 0);
  const double AEp = 0.015 * 200000 * 1000;
  EXPECT_NEAR(r->PileKv[1], 0.92 * AEp / (3 + 0.92 * 2), 1e-6);
  EXPECT_NEAR(r->PileKv[2], 0.92 * AEp / (6 + 0.92 * 2), 1e-6);

  // The entered value is taken as it stands, 0 included.
  s.kvChoice = 1;
  piles = FourVerticalPiles();
  piles[0].Kv = 0;
  for (size_t i = 1; i < 4; ++i) piles[i].Kv = 123456;
  p = MakeProject(s, piles);
  ASSERT_EQ(CalcPileGroup(p, *r), 0);
  EXPECT_EQ(r->PileKv[1], 0.0);
  EXPECT_EQ(r->PileKv[2], 123456.0);
}

TEST(EngineSprings, EmbeddedLengthOfExactlyPiOverBetaIsFinite) {
  Conds s;
  s.loads[1] = 1000;
  auto piles = FourVerticalPiles();
  Project p = MakeProject(s, piles);
  auto r = NewResults();
  ASSERT_EQ(CalcPileGroup(p, *r), 0);
  const double limit = kPi / r->PileBeta[1];
  const double semiInfiniteK1 = r->PileK1[1];
  for (auto& pile : piles) pile.L = limit;
  p = MakeProject(s, piles);
  ASSERT_EQ(CalcPileGroup(p, *r), 0);
  // The finite model at beta*l = pi differs from the semi-infinite one.
  EXPECT_GT(std::fabs(r->PileK1[1] - semiInfiniteK1), 1.0);
  for (auto& pile : piles) pile.L = std::nextafter(limit, 1e9);
  p = MakeProject(s, piles);
  ASSERT_EQ(CalcPileGroup(p, *r), 0);
  EXPECT_EQ(r->PileK1[1], semiInfiniteK1);
}

TEST(EngineGroup, FourVerticalPilesUnderVerticalLoad) {
  Conds s;
  s.loads[1] = 1000;
  Project p = MakeProject(s, FourVerticalPiles());
  auto r = NewResults();
  ASSERT_EQ(CalcPileGroup(p, *r), 0);
  ASSERT_TRUE(r->solved);
  EXPECT_DIGITS(r->Footing[1], 0.00133523, 8);
  for (int k : {0, 2, 3, 4, 5}) EXPECT_NEAR(r->Footing[size_t(k)], 0, 1e-15);
  for (int i = 1; i <= 4; ++i) {
    EXPECT_DIGITS(r->Py[i], 250.000, 3);
    for (const PileTable* t : {&r->Px, &r->Pz, &r->Mx, &r->My, &r->Mz})
      EXPECT_NEAR((*t)[i], 0, 1e-9);
  }
}

TEST(EngineGroup, FourVerticalPilesUnderHorizontalLoad) {
  Conds s;
  s.loads[0] = 100;
  Project p = MakeProject(s, FourVerticalPiles());
  auto r = NewResults();
  ASSERT_EQ(CalcPileGroup(p, *r), 0);
  EXPECT_DIGITS(r->Footing[0], 0.000622958, 9);
  EXPECT_DIGITS(r->Footing[5], 6.47757e-5, 10);
  for (int k : {1, 2, 3, 4}) EXPECT_NEAR(r->Footing[size_t(k)], 0, 1e-15);
  for (int i = 1; i <= 4; ++i) {
    const double x = i <= 2 ? 1.5 : -1.5;
    EXPECT_DIGITS(r->Px[i], 25.000, 3);
    EXPECT_DIGITS(r->Py[i], x > 0 ? 18.192 : -18.192, 3);
    EXPECT_DIGITS(r->Mz[i], -27.288, 3);
    EXPECT_NEAR(r->Pz[i], 0, 1e-9);
    EXPECT_NEAR(r->Mx[i], 0, 1e-9);
    EXPECT_NEAR(r->My[i], 0, 1e-9);
  }
}

TEST(EngineGroup, FourInclinedPiles) {
  Conds s;
  s.loads[0] = 100;
  s.loads[1] = 1000;
  struct Head {
    double x, z, psi;
    double f[6];  // Px, Py, Pz, Mx, My, Mz
  };
  const Head heads[4] = {
      {1.5, 0, 0, {10.470, 287.535, 0, 0, 0, -8.728}},
      {0, 1.5, 90, {-10.998, 251.917, -22.673, -24.569, 0.641, 14.211}},
      {-1.5, 0, 180, {-32.466, 216.299, 0, 0, 0, 37.150}},
      {0, -1.5, 270, {-10.998, 251.917, 22.673, 24.569, -0.641, 14.211}},
  };
  std::vector<PileRow> piles;
  for (const Head& h : heads) {
    PileRow row;
    row.X = h.x;
    row.Zp = h.z;
    row.phi = 10;
    row.psi = h.psi;
    piles.push_back(row);
  }
  Project p = MakeProject(s, piles);
  auto r = NewResults();
  ASSERT_EQ(CalcPileGroup(p, *r), 0);
  EXPECT_DIGITS(r->Footing[0], 0.000567978, 9);
  EXPECT_DIGITS(r->Footing[1], 0.00136622, 8);
  EXPECT_DIGITS(r->Footing[5], 6.20108e-5, 10);
  for (int k : {2, 3, 4}) EXPECT_NEAR(r->Footing[size_t(k)], 0, 1e-12);
  for (int i = 1; i <= 4; ++i) {
    SCOPED_TRACE(i);
    const double* f = heads[i - 1].f;
    EXPECT_DIGITS(r->Px[i], f[0], 3);
    EXPECT_DIGITS(r->Py[i], f[1], 3);
    EXPECT_DIGITS(r->Pz[i], f[2], 3);
    EXPECT_DIGITS(r->Mx[i], f[3], 3);
    EXPECT_DIGITS(r->My[i], f[4], 3);
    EXPECT_DIGITS(r->Mz[i], f[5], 3);
  }
}

TEST(EngineGroup, StressesOfOnePile) {
  Conds s;
  s.loads[0] = 100;
  s.loads[1] = 1000;
  Project p = MakeProject(s, FourVerticalPiles());
  auto r = NewResults();
  ASSERT_EQ(CalcPileGroup(p, *r), 0);
  // Pile 1: Py 268.192 kN, Mz -27.288 kN.m, no torsion; A 0.015 m2, Z 0.003333 m3.
  const double Py = r->Py[1], Mz = r->Mz[1];
  EXPECT_DOUBLE_EQ(r->Me[1], std::fabs(Mz));
  EXPECT_DOUBLE_EQ(r->SigmaC[1], Py / 0.015 / 1000);
  EXPECT_DOUBLE_EQ(r->SigmaB[1], std::fabs(Mz) / 0.003333 / 1000);
  EXPECT_DOUBLE_EQ(r->SigmaZ[1], r->SigmaC[1] + r->SigmaB[1]);
  EXPECT_DOUBLE_EQ(r->SigmaX[1], r->SigmaC[1]);
  EXPECT_DIGITS(r->SigmaC[1], 17.9, 1);
  EXPECT_DIGITS(r->SigmaB[1], 8.2, 1);
}

// Slenderness h / sqrt(I/A) with I/A = 1 m2, so that s equals h.
struct StressCase {
  double h;
  double ca400, ca490;
  int decimals;
};

void PrintTo(const StressCase& c, std::ostream* os) { *os << "h = " << c.h; }

class StressCheck : public ::testing::TestWithParam<StressCase> {};

TEST_P(StressCheck, AllowableAxialStressAtTheBranchLimits) {
  const StressCase& c = GetParam();
  Conds s;
  s.loads[1] = 1000;
  s.alpha = 1.5;
  auto piles = FourVerticalPiles();
  for (auto& pile : piles) {
    pile.I = 1.5e6;
    pile.h = c.h;
    pile.L = c.h + 20;
  }
  Project p = MakeProject(s, piles);
  auto r = NewResults();
  ASSERT_EQ(CalcPileGroup(p, *r), 0);
  EXPECT_EQ(r->Slenderness[1], c.h);
  EXPECT_DIGITS(r->SigmaCaAllow[kSKK400][1] / 1.5, c.ca400, c.decimals);
  EXPECT_DIGITS(r->SigmaCaAllow[kSKK490][1] / 1.5, c.ca490, c.decimals);
  const double sc = r->SigmaC[1], sb = r->SigmaB[1];
  EXPECT_DOUBLE_EQ(r->CheckRatio[kSKK400][1],
                   sc / r->SigmaCaAllow[kSKK400][1] + sb / (1.5 * 140));
  EXPECT_DOUBLE_EQ(r->CheckRatio[kSKK490][1],
                   sc / r->SigmaCaAllow[kSKK490][1] + sb / (1.5 * 185));
}

INSTANTIATE_TEST_SUITE_P(
    Engine, StressCheck,
    ::testing::Values(StressCase{0, 140, 185, 9},                      // h = 0
                      StressCase{16, 140, 185, 9},                     // SKK490 lower limit
                      StressCase{18, 140, 182.6, 9},                   // SKK400 lower limit
                      StressCase{50, 140 - 0.82 * 32, 185 - 1.2 * 34, 9},
                      StressCase{79, 140 - 0.82 * 61, 106.75, 2},      // SKK490 upper limit
                      StressCase{92, 79.13, 1200000.0 / (5000 + 92 * 92), 2}));  // SKK400

}  // namespace
}  // namespace hasorin::engine::testing
