// Checks of the mechanics that do not restate the formulas: equilibrium of
// the cap, mirror symmetry, superposition, and groups that cannot be solved.
#include "engine_fixture.h"

namespace hasorin::engine::testing {
namespace {

Conds RandomConditions(std::mt19937& rng) {
  auto u = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  Conds s;
  s.kh = u(5000, 80000);
  s.head = int(rng() % 2);
  s.tip = int(rng() % 3);
  for (double& f : s.loads) f = u(-2000, 2000);
  return s;
}

using Vec = std::array<double, 3>;

Vec Cross(const Vec& a, const Vec& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// Member axes from the entered angles, with the program's value of pi.
struct Frame {
  Vec xm, ym, zm;
};
Frame MemberAxes(double phiDeg, double psiDeg) {
  const double f = phiDeg * kPi / 180, s = psiDeg * kPi / 180;
  return {{std::cos(f) * std::cos(s), -std::sin(f), std::cos(f) * std::sin(s)},
          {std::sin(f) * std::cos(s), std::cos(f), std::sin(f) * std::sin(s)},
          {-std::sin(s), 0, std::cos(s)}};
}

TEST(EnginePhysics, PileForcesBalanceTheLoads) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    const Conds s = RandomConditions(rng);
    auto piles = RandomGroup(rng, 3 + int(rng() % 30));
    if (seed % 2 == 0)  // some vertical, unturned piles among them
      for (size_t i = 0; i < piles.size(); i += 3) piles[i].phi = piles[i].psi = 0;
    Project p = MakeProject(s, piles);
    auto r = NewResults();
    ASSERT_EQ(CalcPileGroup(p, *r), 0);
    ASSERT_TRUE(r->solved);

    // Forces of the piles on the cap, back in global axes, moments about the origin.
    std::array<double, 6> sum{};
    double scale = 0;
    for (int i = 1; i <= int(piles.size()); ++i) {
      const PileRow& pile = piles[size_t(i) - 1];
      const Frame a = MemberAxes(pile.phi, pile.psi);
      Vec F{}, M{};
      for (size_t k = 0; k < 3; ++k) {
        F[k] = r->Px[i] * a.xm[k] + r->Py[i] * a.ym[k] + r->Pz[i] * a.zm[k];
        M[k] = r->Mx[i] * a.xm[k] + r->My[i] * a.ym[k] + r->Mz[i] * a.zm[k];
      }
      const Vec rxF = Cross({pile.X, pile.Y, pile.Zp}, F);
      for (size_t k = 0; k < 3; ++k) {
        sum[k] += F[k];
        sum[k + 3] += rxF[k] + M[k];
      }
    }
    for (double f : s.loads) scale = std::max(scale, std::fabs(f));
    for (size_t k = 0; k < 6; ++k) EXPECT_NEAR(sum[k], s.loads[k], 1e-9 * scale) << "load " << k;
  }
}

// Piles are worked two at a time and runs of equal sections share their
// springs; numbering the same piles backwards changes every pairing and run,
// so any value taken from a neighbour shows up here.
TEST(EnginePhysics, ResultsDoNotDependOnTheNumberingOfThePiles) {
  for (unsigned seed = 200; seed < 210; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    const Conds s = RandomConditions(rng);
    auto piles = RandomGroup(rng, 5 + int(rng() % 14));
    // A run of equal sections at different places and angles.
    for (size_t i = 2; i < 5; ++i) {
      const PileRow at = piles[i];
      piles[i] = piles[1];
      piles[i].X = at.X, piles[i].Zp = at.Zp, piles[i].psi = at.psi;
    }
    std::vector<PileRow> backwards(piles.rbegin(), piles.rend());
    auto a = NewResults(), b = NewResults();
    ASSERT_EQ(CalcPileGroup(MakeProject(s, piles), *a), 0);
    ASSERT_EQ(CalcPileGroup(MakeProject(s, backwards), *b), 0);
    ASSERT_TRUE(a->solved && b->solved);
    const int n = int(piles.size());
    auto same = [&](const char* name, const PileTable& x, const PileTable& y) {
      for (int i = 1; i <= n; ++i)
        EXPECT_NEAR(x[i], y[n + 1 - i], 1e-9 * (1 + std::fabs(x[i]))) << name << " pile " << i;
    };
    for (const NamedTable& t : kPileTables) same(t.name, (*a).*t.table, (*b).*t.table);
    for (int g : {kSKK400, kSKK490}) {
      same("SigmaCaAllow", a->SigmaCaAllow[g], b->SigmaCaAllow[g]);
      same("CheckRatio", a->CheckRatio[g], b->CheckRatio[g]);
    }
  }
}

TEST(EnginePhysics, MirroredGroupGivesMirroredForces) {
  for (unsigned seed = 100; seed < 110; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    const Conds s = RandomConditions(rng);
    const auto piles = RandomGroup(rng, 4 + int(rng() % 12));
    // Mirror in the plane x = 0: positions and the plan angle reflect, the
    // force Xo changes sign, and so do the moments about y and z.
    Conds ms = s;
    ms.loads[0] = -s.loads[0];
    ms.loads[4] = -s.loads[4];
    ms.loads[5] = -s.loads[5];
    auto mirrored = piles;
    for (auto& m : mirrored) {
      m.X = -m.X;
      m.psi = 180 - m.psi;
    }
    auto r = NewResults(), mr = NewResults();
    Project p = MakeProject(s, piles), mp = MakeProject(ms, mirrored);
    ASSERT_EQ(CalcPileGroup(p, *r), 0);
    ASSERT_EQ(CalcPileGroup(mp, *mr), 0);
    ASSERT_TRUE(r->solved && mr->solved);
    EXPECT_NEAR(mr->Footing[0], -r->Footing[0], 1e-9);
    EXPECT_NEAR(mr->Footing[1], r->Footing[1], 1e-9);
    EXPECT_NEAR(mr->Footing[2], r->Footing[2], 1e-9);
    EXPECT_NEAR(mr->Footing[3], r->Footing[3], 1e-9);
    EXPECT_NEAR(mr->Footing[4], -r->Footing[4], 1e-9);
    EXPECT_NEAR(mr->Footing[5], -r->Footing[5], 1e-9);
    // Member z turns round under the reflection; member x and y keep their sense.
    for (int i = 1; i <= int(piles.size()); ++i) {
      const double tol = 1e-5 * (1 + std::fabs(r->Py[i]));
      EXPECT_NEAR(mr->Px[i], r->Px[i], tol);
      EXPECT_NEAR(mr->Py[i], r->Py[i], tol);
      EXPECT_NEAR(mr->Pz[i], -r->Pz[i], tol);
      EXPECT_NEAR(mr->Mx[i], -r->Mx[i], tol);
      EXPECT_NEAR(mr->My[i], -r->My[i], tol);
      EXPECT_NEAR(mr->Mz[i], r->Mz[i], tol);
    }
  }
}

TEST(EnginePhysics, LoadsSuperpose) {
  std::mt19937 rng(7);
  const Conds a = RandomConditions(rng);
  Conds b = a, ab = a;
  for (size_t k = 0; k < 6; ++k) {
    b.loads[k] = std::uniform_real_distribution<double>(-500, 500)(rng);
    ab.loads[k] = a.loads[k] + b.loads[k];
  }
  const auto piles = RandomGroup(rng, 12);
  auto ra = NewResults(), rb = NewResults(), rab = NewResults();
  Project pa = MakeProject(a, piles), pb = MakeProject(b, piles), pab = MakeProject(ab, piles);
  ASSERT_EQ(CalcPileGroup(pa, *ra), 0);
  ASSERT_EQ(CalcPileGroup(pb, *rb), 0);
  ASSERT_EQ(CalcPileGroup(pab, *rab), 0);
  for (size_t k = 0; k < 6; ++k)
    EXPECT_NEAR(rab->Footing[k], ra->Footing[k] + rb->Footing[k], 1e-9 * std::fabs(rab->Footing[k]) + 1e-15);
  for (int i = 1; i <= 12; ++i)
    for (auto t : {&CalcResults::Px, &CalcResults::Py, &CalcResults::Pz, &CalcResults::Mx,
                   &CalcResults::My, &CalcResults::Mz}) {
      const double sum = ((*ra).*t)[i] + ((*rb).*t)[i];
      EXPECT_NEAR(((*rab).*t)[i], sum, 1e-9 * (1 + std::fabs(sum)));
    }
}

TEST(EnginePhysics, VerticalPilesMatchNearlyVerticalOnes) {
  // Vertical, unturned piles take a shorter way through the assembly; a
  // vanishing inclination must give the same answer through the general one.
  std::mt19937 rng(11);
  Conds s = RandomConditions(rng);
  auto piles = RandomGroup(rng, 9);
  for (size_t i = 0; i < piles.size(); i += 2) piles[i].phi = piles[i].psi = 0;
  auto nearly = piles;
  for (size_t i = 0; i < piles.size(); i += 2) nearly[i].phi = 1e-200;
  for (int head = 0; head <= 1; ++head) {
    s.head = head;
    auto r = NewResults(), rn = NewResults();
    ASSERT_EQ(CalcPileGroup(MakeProject(s, piles), *r), 0);
    ASSERT_EQ(CalcPileGroup(MakeProject(s, nearly), *rn), 0);
    ASSERT_TRUE(r->solved && rn->solved);
    for (size_t k = 0; k < 6; ++k)
      EXPECT_NEAR(r->Footing[k], rn->Footing[k], 1e-12 * std::fabs(rn->Footing[k]) + 1e-18);
    for (int i = 1; i <= 9; ++i) {
      EXPECT_NEAR(r->Py[i], rn->Py[i], 1e-9 * (1 + std::fabs(rn->Py[i])));
      EXPECT_NEAR(r->Mz[i], rn->Mz[i], 1e-9 * (1 + std::fabs(rn->Mz[i])));
      EXPECT_NEAR(r->Mx[i], rn->Mx[i], 1e-9 * (1 + std::fabs(rn->Mx[i])));
    }
  }
}

// A hinged pile gives no rotational stiffness about its member x and z axes.
TEST(EngineSolve, SingleHingedPileAtTheOriginLeavesTheResults) {
  Conds s;
  s.loads[1] = 1000;
  Project good = MakeProject(s, FourVerticalPiles());
  auto r = NewResults();
  ASSERT_EQ(CalcPileGroup(good, *r), 0);
  const CalcResults before = *r;

  s.head = 1;
  Project single = MakeProject(s, {PileRow{}});
  EXPECT_EQ(CalcPileGroup(single, *r), 0);
  EXPECT_FALSE(r->solved);
  EXPECT_EQ(r->PileCount, 1);
  EXPECT_EQ(r->Footing, before.Footing);
  EXPECT_EQ(r->Py.v, before.Py.v);
  EXPECT_EQ(r->CheckRatio[kSKK490].v, before.CheckRatio[kSKK490].v);
  EXPECT_FALSE(r->Py.Computed(1));
  EXPECT_FALSE(r->CheckRatio[kSKK400].Computed(1));
  // The springs were computed by this run.
  EXPECT_TRUE(r->PileK4.Computed(1));
  EXPECT_EQ(r->PileK4[1], 0.0);
}

TEST(EngineSolve, CollinearHingedPilesAreNotSolved) {
  // Singular: no stiffness against rotation about the line of the heads,
  // although rounding leaves a tiny non-zero pivot.
  Conds s;
  s.head = 1;
  s.loads[1] = 1000;
  std::vector<PileRow> piles(3);
  const double xz[3][2] = {{-1.7, -1.3}, {0.4, 0.2}, {2.5, 1.7}};
  for (size_t i = 0; i < 3; ++i) {
    piles[i].X = xz[i][0];
    piles[i].Zp = xz[i][1];
  }
  Project p = MakeProject(s, piles);
  auto r = NewResults();
  EXPECT_EQ(CalcPileGroup(p, *r), 0);
  EXPECT_FALSE(r->solved);
  EXPECT_FALSE(r->Py.Computed(1));

  // A fourth pile off the line makes the group regular.
  piles.push_back(piles[0]);
  piles.back().Zp = 3;
  p = MakeProject(s, piles);
  EXPECT_EQ(CalcPileGroup(p, *r), 0);
  EXPECT_TRUE(r->solved);
  EXPECT_LT(std::fabs(r->Footing[1]), 0.01);
}

TEST(EngineSolve, NoPilesAndZeroLoads) {
  Conds s;
  s.loads[1] = 1000;
  auto r = NewResults();
  Project none = MakeProject(s, {});
  EXPECT_EQ(CalcPileGroup(none, *r), 0);
  EXPECT_FALSE(r->solved);
  EXPECT_EQ(r->PileCount, 0);

  Conds zero;
  Project p = MakeProject(zero, FourVerticalPiles());
  ASSERT_EQ(CalcPileGroup(p, *r), 0);
  ASSERT_TRUE(r->solved);
  for (double v : r->Footing) EXPECT_EQ(v, 0.0);
  EXPECT_EQ(r->Py[3], 0.0);
}

}  // namespace
}  // namespace hasorin::engine::testing
