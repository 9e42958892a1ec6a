// Load cases: every case of the runner equals the whole calculation run on
// the project with that case's loads and factor; the envelope names the case
// that governs.
#include <string>

#include "cases.h"
#include "engine_fixture.h"

namespace hasorin::engine::testing {
namespace {

LoadCase Case(std::array<double, 6> loads, std::optional<double> alpha = std::nullopt) {
  LoadCase c;
  c.loads = loads;
  c.alpha = alpha;
  return c;
}

// The project as a separate run of the case sees it.
Project WithCase(Project p, const LoadCase& c) {
  for (int k = 0; k < 6; ++k) p.Loads(k + 1) = ProjectValue::Real(c.loads[size_t(k)]);
  if (c.alpha) p.Conditions(7) = ProjectValue::Real(*c.alpha);
  return p;
}

void ExpectTable(const PileTable& got, const PileTable& want, const std::string& what) {
  ASSERT_EQ(got.computed, want.computed) << what;
  for (int i = 1; i <= want.computed; ++i)
    ASSERT_NEAR(got[i], want[i], 1e-12 * std::fabs(want[i])) << what << " pile " << i;
}

void ExpectSameRun(const CalcResults& got, const CalcResults& want, const std::string& what) {
  ASSERT_EQ(got.code, want.code) << what;
  ASSERT_EQ(got.solved, want.solved) << what;
  ASSERT_EQ(got.PileCount, want.PileCount) << what;
  if (want.solved) {
    for (size_t k = 0; k < 6; ++k)
      ASSERT_NEAR(got.Footing[k], want.Footing[k], 1e-12 * std::fabs(want.Footing[k])) << what;
  }
  for (const NamedTable& t : kPileTables) ExpectTable(got.*t.table, want.*t.table, what + " " + t.name);
  for (int g = kSKK400; g <= kSKK490; ++g) {
    ExpectTable(got.SigmaCaAllow[g], want.SigmaCaAllow[g], what + " SigmaCaAllow");
    ExpectTable(got.CheckRatio[g], want.CheckRatio[g], what + " CheckRatio");
  }
}

TEST(LoadCases, EveryCaseEqualsASeparateRunOfIt) {
  std::mt19937 rng(1818);
  auto u = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  struct Scenario {
    const char* name;
    Project project;
    int expectCode;  // of the case without a factor of its own
  };
  Conds hinged;
  hinged.head = 1;
  Conds noSubgrade;
  noSubgrade.kh = 0;
  std::vector<PileRow> zeroArea = RandomGroup(rng, 9);
  zeroArea[6].A = 0;  // stops the pile-head stage at pile 7
  Project textAlpha = MakeProject(Conds{}, RandomGroup(rng, 7));
  textAlpha.Conditions(7) = ProjectValue::Text("1.5");
  Project single = MakeProject(hinged, {PileRow{}});  // cannot be solved
  std::vector<Scenario> scenarios{
      {"rigid heads", MakeProject(Conds{}, RandomGroup(rng, 40)), 0},
      {"hinged heads", MakeProject(hinged, RandomGroup(rng, 25)), 0},
      {"no subgrade reaction", MakeProject(noSubgrade, RandomGroup(rng, 5)), calcerr::kDivisionByZero},
      {"a pile without area", MakeProject(Conds{}, zeroArea), calcerr::kDivisionByZero},
      {"a factor that is text", textAlpha, calcerr::kTypeMismatch},
      {"one hinged pile", single, 0},
  };
  std::vector<LoadCase> cases;
  for (int k = 0; k < 5; ++k) {
    std::array<double, 6> loads;
    for (double& f : loads) f = u(-3000, 3000);
    cases.push_back(Case(loads, k % 2 ? std::optional<double>(u(1, 1.7)) : std::nullopt));
  }
  cases.push_back(Case({100, 2000, 0, 0, 0, 0}, 0.0));      // the stress check divides by zero
  cases.push_back(Case({0, 0, 0, 0, 0, 0}));                // nothing moves
  cases.push_back(Case({1e308, 1e308, 0, 0, 0, 0}, 1.0));   // the solve overflows
  cases.push_back(cases[1]);                                // again, after other cases

  auto separate = NewResults();
  for (const Scenario& s : scenarios) {
    LoadCaseRunner runner(s.project);
    for (size_t k = 0; k < cases.size(); ++k) {
      const CalcResults& got = runner.Run(cases[k]);
      CalcPileGroup(WithCase(s.project, cases[k]), *separate);
      ExpectSameRun(got, *separate, std::string(s.name) + " case " + std::to_string(k + 1));
    }
    EXPECT_EQ(runner.Run(cases[0]).code, s.expectCode) << s.name;
  }
  // The cases that fail and those that run side by side.
  LoadCaseRunner runner(scenarios[0].project);
  EXPECT_EQ(runner.Run(cases[5]).code, calcerr::kDivisionByZero);
  EXPECT_TRUE(CaseCompleted(runner.Run(cases[6])));
  EXPECT_FALSE(runner.Run(cases[7]).solved);
  EXPECT_TRUE(CaseCompleted(runner.Run(cases[0])));
}

TEST(LoadCases, ACaseThatIsTheSumOfTwoGivesTheSumOfTheirResults) {
  std::mt19937 rng(77);
  const Project p = MakeProject(Conds{}, RandomGroup(rng, 30));
  const LoadCase a = Case({1200, 8000, -300, 150, -40, 900});
  const LoadCase b = Case({-500, 2500, 700, -80, 60, -300});
  const LoadCase sum = Case({700, 10500, 400, 70, 20, 600});
  LoadCaseRunner runner(p);
  auto ra = std::make_unique<CalcResults>(runner.Run(a));
  auto rb = std::make_unique<CalcResults>(runner.Run(b));
  const CalcResults& rs = runner.Run(sum);
  ASSERT_TRUE(CaseCompleted(*ra) && CaseCompleted(*rb) && CaseCompleted(rs));
  for (size_t k = 0; k < 6; ++k)
    EXPECT_NEAR(rs.Footing[k], ra->Footing[k] + rb->Footing[k], 1e-9 * std::fabs(rs.Footing[k]) + 1e-15);
  for (auto table : {&CalcResults::Px, &CalcResults::Py, &CalcResults::Pz, &CalcResults::Mx,
                     &CalcResults::My, &CalcResults::Mz, &CalcResults::SigmaC}) {
    for (int i = 1; i <= rs.PileCount; ++i)
      EXPECT_NEAR((rs.*table)[i], (ra.get()->*table)[i] + (rb.get()->*table)[i], 1e-6) << i;
  }
}

TEST(LoadCases, EnvelopeNamesTheGoverningCaseOfEveryValue) {
  // Four vertical piles at (+-1.5, 0, +-1.5): pile 1 at (1.5, 1.5), pile 3 at (-1.5, 1.5).
  const Project p = MakeProject(Conds{}, FourVerticalPiles());
  const std::vector<LoadCase> cases{
      Case({0, 1000, 0, 0, 0, 0}),       // 1
      Case({0, 3000, 0, 0, 0, 0}),       // 2: the largest compression
      Case({0, -500, 0, 0, 0, 0}),       // 3: every pile in tension
      Case({200, 1000, 0, 0, 0, 0}),     // 4: the largest Px
      Case({0, 1000, -300, 0, 0, 0}),    // 5: the largest Pz and bending
      Case({0, 9000, 0, 0, 0, 0}, 0.0),  // 6: stops with code 11, so it never governs
      Case({0, 3000, 0, 0, 0, 0}),       // 7: ties with case 2, which stays
  };
  LoadCaseRunner runner(p);
  Envelope envelope(p.PileCount);
  for (size_t k = 0; k < cases.size(); ++k) {
    const CalcResults& r = runner.Run(cases[k]);
    if (!CaseCompleted(r)) continue;
    // The case's own governing piles come out of the same pass.
    const Governing fromEnvelope = envelope.Add(int(k) + 1, r), alone = GoverningPiles(r);
    for (auto e : {&Governing::pyMax, &Governing::pyMin, &Governing::px, &Governing::pz, &Governing::moment}) {
      EXPECT_EQ((fromEnvelope.*e).at, (alone.*e).at);
      EXPECT_EQ((fromEnvelope.*e).value, (alone.*e).value);
    }
    EXPECT_EQ(fromEnvelope.ratio[1].at, alone.ratio[1].at);
  }
  struct Expect {
    const char* what;
    Extreme Governing::*value;
    int caseNo;
  };
  for (const Expect& e : {Expect{"pyMax", &Governing::pyMax, 2}, Expect{"pyMin", &Governing::pyMin, 3},
                          Expect{"px", &Governing::px, 4}, Expect{"pz", &Governing::pz, 5},
                          Expect{"moment", &Governing::moment, 5}}) {
    for (int pile = 1; pile <= 4; ++pile)
      EXPECT_EQ((envelope.Pile(pile).*e.value).at, e.caseNo) << e.what << " pile " << pile;
  }
  const Governing& first = envelope.Pile(1);
  EXPECT_NEAR(first.pyMax.value, 750, 1e-9);
  EXPECT_NEAR(first.pyMin.value, -125, 1e-9);
  EXPECT_NEAR(first.px.value, 50, 1e-9);
  EXPECT_NEAR(first.pz.value, -75, 1e-9);  // signed: the force of largest magnitude
  // The largest ratio of a compressed pile; case 3 (tension) is left out.
  for (int g = kSKK400; g <= kSKK490; ++g) EXPECT_EQ(first.ratio[size_t(g)].at, 2);

  // Within one case: the first of equal piles governs.
  const Governing piles = GoverningPiles(runner.Run(cases[3]));
  EXPECT_EQ(piles.pyMax.at, 1);  // X = +1.5, first of piles 1 and 2
  EXPECT_EQ(piles.pyMin.at, 3);
  EXPECT_EQ(piles.ratio[0].at, 1);
}

TEST(LoadCases, TensionEverywhereLeavesNoGoverningRatio) {
  const Project p = MakeProject(Conds{}, FourVerticalPiles());
  LoadCaseRunner runner(p);
  const Governing g = GoverningPiles(runner.Run(Case({0, -800, 0, 0, 0, 0})));
  EXPECT_EQ(g.ratio[0].at, 0);
  EXPECT_EQ(g.ratio[1].at, 0);
  EXPECT_EQ(g.pyMax.at, 1);
}

}  // namespace
}  // namespace hasorin::engine::testing
