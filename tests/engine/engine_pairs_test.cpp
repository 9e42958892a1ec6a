// Piles are computed two at a time where they differ and one at a time where
// they repeat, from cells the file reader gives as integers or reals: a
// pile's springs and allowable stresses are those it gets alone, bit for bit.
#include "analysis.h"
#include "engine_fixture.h"

namespace hasorin::engine::testing {
namespace {

// Piles of both models (semi-infinite and finite), free lengths of 0 and
// more, slenderness in all three ranges, neighbours that repeat and differ.
std::vector<PileRow> MixedPiles() {
  std::vector<PileRow> piles;
  const double lengths[] = {20, 5, 3, 20, 8, 8, 30, 4, 12};
  const double free[] = {0, 0, 1.5, 12, 0, 0, 2.5, 30, 0.5};
  for (int k = 0; k < 9; ++k) {
    PileRow r;
    r.D = 0.6 + 0.1 * k;
    r.A = 150 + 20 * k;
    r.I = 100000 + 25000 * k;
    r.h = free[k];
    r.L = free[k] + lengths[k];
    r.X = k - 4.0;
    r.Zp = k % 3;
    r.phi = k % 2 ? 10 : 0;
    r.psi = 40.0 * k;
    r.Kv = 1e5 + k;
    piles.push_back(r);
  }
  piles[5] = piles[4];  // a repeat inside the run
  // Slenderness exactly 18 and 92 (radius 0.125 m), side by side as piles 9, 10.
  for (double h : {11.5, 2.25}) {
    PileRow r;
    r.A = 16, r.I = 2500, r.h = h, r.L = h + 20, r.X = h, r.Kv = 1e5;
    piles.insert(piles.begin() + 8, r);
  }
  return piles;
}

// Whole numbers as the file reader holds them: integers.
Project AsRead(Project p) {
  for (int i = 1; i <= p.PileCount; ++i)
    for (int c = 1; c <= kPileColumns; ++c) {
      const double x = p.Piles(c, i).real();
      if (x == std::trunc(x) && std::fabs(x) <= 32767) p.Piles(c, i) = ProjectValue::Integer(std::int16_t(x));
    }
  return p;
}

TEST(EnginePairs, EachPileAsItIsAlone) {
  for (int head : {0, 1})
    for (int tip : {0, 1, 2})
      for (int kvChoice : {0, 1}) {
        Conds c;
        c.head = head, c.tip = tip, c.kvChoice = kvChoice;
        c.loads[1] = 1000;
        const auto piles = MixedPiles();
        auto group = NewResults(), alone = NewResults();
        ASSERT_EQ(CalcPileGroup(AsRead(MakeProject(c, piles)), *group), 0);
        ASSERT_EQ(group->Slenderness[9], 18.0);
        ASSERT_EQ(group->Slenderness[10], 92.0);
        for (int i = 1; i <= int(piles.size()); ++i) {
          // The pile alone, after four equal piles that make the group solve:
          // as the last pile it is computed by itself.
          auto reference = FourVerticalPiles();
          for (PileRow& r : reference) r.Kv = 1e5;
          reference.push_back(piles[size_t(i) - 1]);
          ASSERT_EQ(CalcPileGroup(MakeProject(c, reference), *alone), 0);
          ASSERT_TRUE(alone->solved) << head << tip << kvChoice << " pile " << i;
          auto expectSame = [&](const char* name, const PileTable& g, const PileTable& a) {
            EXPECT_TRUE(Same(g[i], a[5])) << name << " pile " << i << " head " << head << " tip " << tip
                                          << " kv " << kvChoice << ": " << g[i] << " " << a[5];
          };
          for (const NamedTable& t : kPileTables)
            if (std::string_view(t.name).starts_with("Pile") || t.name == std::string_view("Slenderness"))
              expectSame(t.name, group.get()->*t.table, alone.get()->*t.table);
          for (int g = kSKK400; g <= kSKK490; ++g)
            expectSame("SigmaCaAllow", group->SigmaCaAllow[g], alone->SigmaCaAllow[g]);
        }
      }
}

TEST(EnginePairs, AFailingPileStopsTheRunAfterThePilesBeforeIt) {
  Conds c;
  c.tip = 1;
  c.kvChoice = 1;
  for (int failing : {4, 5}) {  // the second of a pair, the first of the next
    auto piles = MixedPiles();
    piles[size_t(failing) - 1].L = piles[size_t(failing) - 1].h;  // lambda = 0, hinged tip
    auto r = NewResults();
    EXPECT_EQ(CalcPileGroup(AsRead(MakeProject(c, piles)), *r), calcerr::kDivisionByZero);
    EXPECT_EQ(r->PileK1.computed, failing - 1);
    EXPECT_EQ(r->PileKv.computed, int(piles.size()));

    // Without a free length and with L = 0 the computed Kv divides by l = 0
    // first (A Ep would overflow in the step after).
    Conds computed = c;
    computed.kvChoice = 0;
    auto zero = MixedPiles();
    zero[size_t(failing) - 1].h = zero[size_t(failing) - 1].L = 0;
    zero[size_t(failing) - 1].A = 1e308;
    EXPECT_EQ(CalcPileGroup(AsRead(MakeProject(computed, zero)), *r), calcerr::kDivisionByZero);
    EXPECT_EQ(r->PileKt.computed, failing);
    EXPECT_EQ(r->PileKv.computed, failing - 1);

    Project text = AsRead(MakeProject(c, piles));
    text.Piles(14, failing) = ProjectValue::Text("1");
    EXPECT_EQ(CalcPileGroup(text, *r), calcerr::kTypeMismatch);
    EXPECT_EQ(r->PileBeta.computed, 0);
  }
}

// The group stiffness takes inclined and vertical piles in pairs of a kind
// and each distinct angle's sine and cosine once: on a full table of more
// distinct angles than it keeps at once, some repeated and some vertical
// piles between them, it agrees with an independent pile-by-pile sum.
TEST(EnginePairs, GroupStiffnessOfAFullTableAgreesWithAPileByPileSum) {
  std::mt19937 rng(11);
  std::vector<PileRow> piles = RandomGroup(rng, kMaxPiles);
  for (size_t i = 0; i < piles.size(); ++i) {
    if (i % 5 == 3) piles[i].phi = piles[i].psi = 0;      // vertical
    if (i % 7 == 2) piles[i].psi = piles[i - 1].psi;      // a plan angle again
    if (i % 11 == 4) piles[i].phi = 10, piles[i].psi = 0; // raked in x only
  }
  Conds c;
  c.loads[1] = 1e5;
  const Project project = MakeProject(c, piles);
  auto r = NewResults();
  ASSERT_EQ(CalcPileGroup(project, *r), 0);
  ASSERT_TRUE(r->assembled);
  const auto run = r->Stiffness;
  r->assembled = false;  // the cap matrices then sum the piles themselves
  const CapMatrices independent = CapMatricesOf(project, *r);
  ASSERT_TRUE(independent.assembled);
  for (size_t a = 0; a < 6; ++a)
    for (size_t b = 0; b < 6; ++b) {
      const double scale = std::sqrt(run[a][a] * run[b][b]);
      EXPECT_NEAR(run[a][b], independent.stiffness[a][b], 1e-12 * scale) << a << ", " << b;
      EXPECT_EQ(run[a][b], run[b][a]);
    }
}

}  // namespace
}  // namespace hasorin::engine::testing
