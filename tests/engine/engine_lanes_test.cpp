// The stages run on two lanes or, where the processor has AVX2, on four: both
// give every table, code and progress mark alike, bit for bit, for groups of
// every size and for a pile that fails at every place in its lanes.
#include <algorithm>
#include <string>

#include "engine_fixture.h"
#include "work.h"

namespace hasorin::engine::testing {
namespace {

void ExpectTableAlike(const PileTable& a, const PileTable& b, const std::string& what) {
  ASSERT_EQ(a.computed, b.computed) << what;
  for (int i = 1; i <= a.computed; ++i) ASSERT_TRUE(Same(a[i], b[i])) << what << " pile " << i;
}

void ExpectAlike(const CalcResults& a, const CalcResults& b, const std::string& what) {
  ASSERT_EQ(a.code, b.code) << what;
  ASSERT_EQ(a.solved, b.solved) << what;
  ASSERT_EQ(a.assembled, b.assembled) << what;
  for (size_t k = 0; k < 6; ++k) {
    ASSERT_TRUE(!a.solved || Same(a.Footing[k], b.Footing[k])) << what;
    for (size_t j = 0; j < 6; ++j) ASSERT_TRUE(!a.assembled || Same(a.Stiffness[k][j], b.Stiffness[k][j])) << what;
  }
  for (const NamedTable& t : kPileTables) ExpectTableAlike(a.*t.table, b.*t.table, what + " " + t.name);
  for (int g = kSKK400; g <= kSKK490; ++g) {
    ExpectTableAlike(a.SigmaCaAllow[g], b.SigmaCaAllow[g], what + " SigmaCaAllow");
    ExpectTableAlike(a.CheckRatio[g], b.CheckRatio[g], what + " CheckRatio");
  }
}

// The project run on two lanes and on four.
void ExpectLanesAlike(const Project& p, const std::string& what) {
  auto two = NewResults(), four = NewResults();
  ASSERT_TRUE(detail::UseLanes(2));
  CalcPileGroup(p, *two);
  ASSERT_TRUE(detail::UseLanes(4));
  CalcPileGroup(p, *four);
  detail::UseLanes(0);
  ExpectAlike(*two, *four, what);
}

std::vector<Conds> EveryCondition() {
  std::vector<Conds> all;
  for (int head : {0, 1})
    for (int tip : {0, 1, 2})
      for (int kvChoice : {0, 1}) {
        Conds c;
        c.head = head, c.tip = tip, c.kvChoice = kvChoice;
        const double loads[6] = {300, 5000, -200, 100, 50, -800};
        std::copy(loads, loads + 6, c.loads);
        all.push_back(c);
      }
  return all;
}

class EngineLanes : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!detail::UseLanes(4)) GTEST_SKIP() << "this processor or build has no four-lane stages";
    detail::UseLanes(0);
  }
};

// Random groups of 1 to 13 piles and a full table, with runs of repeated
// piles, vertical piles and both lateral models mixed.
TEST_F(EngineLanes, GroupsOfEverySizeAgree) {
  std::mt19937 rng(5);
  for (const Conds& c : EveryCondition())
    for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, kMaxPiles}) {
      std::vector<PileRow> piles = RandomGroup(rng, n);
      for (size_t i = 1; i < piles.size(); ++i) {
        if (i % 3 == 1) piles[i] = piles[i - 1], piles[i].X += 1;  // the same section elsewhere
        if (i % 5 == 2) piles[i].phi = piles[i].psi = 0;
        if (i % 7 == 3) piles[i].L = piles[i].h + 1.5;  // finite
      }
      ExpectLanesAlike(MakeProject(c, piles), "n " + std::to_string(n) + " tip " + std::to_string(c.tip));
    }
}

// A pile whose steps fail, at each place of the first lanes: each stage stops
// there, with the same code and the piles before it kept.
TEST_F(EngineLanes, AFailingPileAgreesAtEveryPlace) {
  struct Fault {
    const char* name;
    void (*apply)(PileRow&);
  };
  const Fault faults[] = {
      {"no embedded length", [](PileRow& r) { r.L = r.h; }},
      {"no length at all", [](PileRow& r) { r.h = r.L = 0, r.A = 1e308; }},
      {"no second moment", [](PileRow& r) { r.I = 0; }},
      {"no section modulus", [](PileRow& r) { r.Z = 0; }},
      {"no area", [](PileRow& r) { r.A = 0; }},
      {"huge free length", [](PileRow& r) { r.h = 1e300, r.L = 2e300; }},
  };
  std::mt19937 rng(9);
  const std::vector<PileRow> group = RandomGroup(rng, 11);
  for (const Conds& c : EveryCondition())
    for (const Fault& f : faults)
      for (int failing = 1; failing <= 9; ++failing) {
        std::vector<PileRow> piles = group;
        f.apply(piles[size_t(failing) - 1]);
        ExpectLanesAlike(MakeProject(c, piles), std::string(f.name) + " at pile " + std::to_string(failing) +
                                                     " tip " + std::to_string(c.tip));
      }
}

}  // namespace
}  // namespace hasorin::engine::testing
