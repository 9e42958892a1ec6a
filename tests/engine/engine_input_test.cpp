// Bad input: the run stops at the first failing step with its code, never
// crashes, never leaves a non-finite number in a table, and keeps what the
// earlier stages wrote.
#include <cfenv>

#include "engine_fixture.h"

namespace hasorin::engine::testing {
namespace {

// Every slot this run wrote is a finite number.
void ExpectComputedSlotsFinite(const CalcResults& r) {
  std::vector<const PileTable*> tables;
  for (const NamedTable& t : kPileTables) tables.push_back(&(r.*t.table));
  for (int g = kSKK400; g <= kSKK490; ++g) {
    tables.push_back(&r.SigmaCaAllow[g]);
    tables.push_back(&r.CheckRatio[g]);
  }
  for (const PileTable* t : tables)
    for (int i = 1; i <= t->computed; ++i) ASSERT_TRUE(std::isfinite((*t)[i])) << i;
  for (double v : r.Footing) ASSERT_TRUE(std::isfinite(v));
}

struct Outcome {
  int code;
  std::unique_ptr<CalcResults> r;
};

Outcome Calc(const Project& p) {
  auto r = NewResults();
  int code = CalcPileGroup(p, *r);
  ExpectComputedSlotsFinite(*r);
  return {code, std::move(r)};
}

Conds Loaded() {
  Conds s;
  s.loads[0] = 100;
  s.loads[1] = 1000;
  return s;
}

TEST(EngineInput, TextOrBooleanInANumericSlotStopsBeforeAnySpring) {
  auto r = NewResults();
  Project good = MakeProject(Loaded(), FourVerticalPiles());
  ASSERT_EQ(CalcPileGroup(good, *r), 0);
  const double beta1 = r->PileBeta[1];

  Project p = good;
  p.Piles(9, 4) = ProjectValue::Text("1.5");  // even a text that reads as a number
  p.PileCount = 4;
  EXPECT_EQ(CalcPileGroup(p, *r), calcerr::kTypeMismatch);
  EXPECT_EQ(r->code, calcerr::kTypeMismatch);
  EXPECT_FALSE(r->PileBeta.Computed(1));  // all inputs are read first
  EXPECT_EQ(r->PileBeta[1], beta1);
  EXPECT_FALSE(r->solved);

  p = good;
  p.Conditions(7) = ProjectValue::Boolean(true);
  EXPECT_EQ(CalcPileGroup(p, *r), calcerr::kTypeMismatch);
  p = good;
  p.Loads(6) = ProjectValue::Text("x");
  EXPECT_EQ(CalcPileGroup(p, *r), calcerr::kTypeMismatch);
  p = good;
  p.Piles(2, 1) = ProjectValue::Text("");  // plate thickness: read although not used
  EXPECT_EQ(CalcPileGroup(p, *r), calcerr::kTypeMismatch);
  p = good;
  p.Piles(1, 2) = ProjectValue::Real(std::nan(""));
  EXPECT_EQ(CalcPileGroup(p, *r), calcerr::kTypeMismatch);
  p = good;
  p.Piles(1, 2) = ProjectValue::Real(HUGE_VAL);
  EXPECT_EQ(CalcPileGroup(p, *r), calcerr::kOverflow);

  // Slots the engine does not read may hold anything.
  p = good;
  p.Conditions(1) = ProjectValue::Text("title");
  p.Conditions(9) = ProjectValue::Text("x");
  p.Loads(8) = ProjectValue::Boolean(false);
  p.Piles(3, 5) = ProjectValue::Text("stale row above the count");
  EXPECT_EQ(CalcPileGroup(p, *r), 0);
  // Integers are numbers too.
  p.Conditions(2) = ProjectValue::Integer(20000);
  EXPECT_EQ(CalcPileGroup(p, *r), 0);
}

TEST(EngineInput, PileCountOutsideTheTable) {
  Project p = MakeProject(Loaded(), FourVerticalPiles());
  for (int i = 5; i <= kMaxPiles; ++i) SetPile(p, i, FourVerticalPiles()[size_t(i % 4)]);
  p.PileCount = kMaxPiles + 1;
  Outcome run = Calc(p);
  EXPECT_EQ(run.code, calcerr::kSubscript);
  EXPECT_EQ(run.r->PileCount, kMaxPiles);
  // A value that is not a number in the table is met first.
  p.Piles(5, 7) = ProjectValue::Text("x");
  EXPECT_EQ(Calc(p).code, calcerr::kTypeMismatch);

  p.PileCount = -3;  // nothing to read: an empty group, which cannot be solved
  run = Calc(p);
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.r->PileCount, 0);
  EXPECT_FALSE(run.r->solved);
}

TEST(EngineInput, OptionSlotsAreSixteenBitIntegers) {
  Conds s = Loaded();
  Project p = MakeProject(s, FourVerticalPiles());
  p.Conditions(4) = ProjectValue::Real(0.4);  // rounds to 0: rigid head
  Outcome run = Calc(p);
  ASSERT_EQ(run.code, 0);
  EXPECT_GT(run.r->PileK4[1], 0);
  p.Conditions(4) = ProjectValue::Real(40000);
  EXPECT_EQ(Calc(p).code, calcerr::kOverflow);
}

struct CodeCase {
  const char* name;
  void (*edit)(Conds&, std::vector<PileRow>&);
  int code;
};

void PrintTo(const CodeCase& c, std::ostream* os) { *os << c.name; }

// The entered axial spring instead of the computed one.
void DirectKv(Conds& s, std::vector<PileRow>& piles) {
  s.kvChoice = 1;
  for (auto& p : piles) p.Kv = 1e5;
}

// Pile 1 all free length: L = h.
void NoEmbedment(std::vector<PileRow>& piles) { piles[0].h = piles[0].L = 5; }

class ErrorCodes : public ::testing::TestWithParam<CodeCase> {};

TEST_P(ErrorCodes, StopWithTheDocumentedCode) {
  Conds s = Loaded();
  auto piles = FourVerticalPiles();
  GetParam().edit(s, piles);
  Outcome run = Calc(MakeProject(s, piles));
  EXPECT_EQ(run.code, GetParam().code);
  EXPECT_EQ(run.r->code, GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Engine, ErrorCodes,
    ::testing::Values(
        CodeCase{"NoSubgradeReaction", [](Conds& s, auto&) { s.kh = 0; }, 11},
        CodeCase{"NoYoungsModulus", [](Conds& s, auto&) { s.Ep = 0; }, 11},
        CodeCase{"NoIncreaseFactor", [](Conds& s, auto&) { s.alpha = 0; }, 11},
        CodeCase{"NegativeSubgradeReaction", [](Conds& s, auto&) { s.kh = -1; }, 5},
        CodeCase{"ZeroSecondMoment", [](Conds&, auto& p) { p[2].I = 0; }, 11},
        CodeCase{"NegativeSecondMoment", [](Conds&, auto& p) { p[2].I = -100000; }, 5},
        CodeCase{"ZeroSectionModulus", [](Conds&, auto& p) { p[3].Z = 0; }, 11},
        CodeCase{"CorrodedAway", [](Conds&, auto& p) { p[0].D = 0.002; }, 11},
        CodeCase{"CorrosionBeyondDiameter", [](Conds&, auto& p) { p[0].dt = 400; }, 5},
        CodeCase{"ZeroAreaDirectKv", [](Conds& s, auto& p) { DirectKv(s, p); p[1].A = 0; }, 11},
        CodeCase{"NegativeAreaDirectKv", [](Conds& s, auto& p) { DirectKv(s, p); p[1].A = -150; },
                 5},
        CodeCase{"EmbeddedLengthZeroComputedKv", [](Conds&, auto& p) { NoEmbedment(p); }, 11},
        CodeCase{"EmbeddedLengthZeroHingedTip",
                 [](Conds& s, auto& p) { DirectKv(s, p); NoEmbedment(p); }, 11},
        CodeCase{"EmbeddedLengthZeroFreeTip",
                 [](Conds& s, auto& p) { DirectKv(s, p); NoEmbedment(p); s.tip = 2; }, 11},
        CodeCase{"EmbeddedLengthZeroFixedTipSolves",
                 [](Conds& s, auto& p) { DirectKv(s, p); NoEmbedment(p); s.tip = 0; }, 0},
        CodeCase{"HugeCoordinates", [](Conds&, auto& p) { p[0].X = 1e200; }, 6},
        CodeCase{"HugeLoad", [](Conds& s, auto&) { s.loads[2] = 1e308; }, 6},  // Mx^2
        CodeCase{"HugeModulus", [](Conds& s, auto&) { s.Ep = 1e306; }, 6}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EngineInput, StopKeepsWhatWasWrittenBeforeIt) {
  auto r = NewResults();
  Project good = MakeProject(Loaded(), FourVerticalPiles());
  ASSERT_EQ(CalcPileGroup(good, *r), 0);
  const CalcResults before = *r;

  // kh = 0: beta of pile 1 is written, its torsional spring divides by zero.
  Conds s = Loaded();
  s.kh = 0;
  ASSERT_EQ(CalcPileGroup(MakeProject(s, FourVerticalPiles()), *r), calcerr::kDivisionByZero);
  EXPECT_EQ(r->PileBeta.computed, 1);
  EXPECT_EQ(r->PileBeta[1], 0.0);
  EXPECT_EQ(r->PileBeta[2], before.PileBeta[2]);
  EXPECT_EQ(r->PileKt.computed, 0);
  EXPECT_EQ(r->PileKt[1], before.PileKt[1]);
  EXPECT_FALSE(r->solved);
  EXPECT_EQ(r->Footing, before.Footing);

  // Z = 0 on pile 3: piles 1 and 2 get all their forces and stresses, pile 3
  // its forces and Me but no stress; the stress check does not run.
  auto piles = FourVerticalPiles();
  piles[2].Z = 0;
  ASSERT_EQ(CalcPileGroup(MakeProject(Loaded(), piles), *r), calcerr::kDivisionByZero);
  EXPECT_TRUE(r->solved);
  EXPECT_EQ(r->PileK4z.computed, 4);
  EXPECT_EQ(r->Mz.computed, 3);
  EXPECT_EQ(r->Me.computed, 3);
  EXPECT_EQ(r->SigmaX.computed, 2);
  EXPECT_EQ(r->SigmaB.computed, 2);
  EXPECT_EQ(r->Slenderness.computed, 0);

  // alpha = 0: slenderness and the first allowable stress of pile 1 only.
  s = Loaded();
  s.alpha = 0;
  ASSERT_EQ(CalcPileGroup(MakeProject(s, FourVerticalPiles()), *r), calcerr::kDivisionByZero);
  EXPECT_EQ(r->SigmaB.computed, 4);
  EXPECT_EQ(r->Slenderness.computed, 1);
  EXPECT_EQ(r->SigmaCaAllow[kSKK400].computed, 1);
  EXPECT_EQ(r->SigmaCaAllow[kSKK400][1], 0.0);
  EXPECT_EQ(r->CheckRatio[kSKK400].computed, 0);
  EXPECT_EQ(r->SigmaCaAllow[kSKK490].computed, 0);
}

TEST(EngineInput, RunsWithFloatingPointTrapsEnabledByTheCaller) {
  // Overflow, division by zero and invalid operations are caught by the
  // checks even when the host has unmasked the traps.
#if defined(__GLIBC__)
  const int traps = FE_DIVBYZERO | FE_OVERFLOW | FE_INVALID;
  feenableexcept(traps);
  Conds s = Loaded();
  s.kh = 0;
  const int kh0 = Calc(MakeProject(s, FourVerticalPiles())).code;
  s = Loaded();
  s.Ep = 1e306;
  const int hugeEp = Calc(MakeProject(s, FourVerticalPiles())).code;
  const int stillEnabled = fegetexcept();
  fedisableexcept(traps);
  EXPECT_EQ(kh0, calcerr::kDivisionByZero);
  EXPECT_EQ(hugeEp, calcerr::kOverflow);
  EXPECT_EQ(stillEnabled, traps);
#else
  GTEST_SKIP() << "trap control is glibc only";
#endif
}

TEST(EngineInput, OddGroupsRunToTheEnd) {
  // A nearly horizontal pile.
  auto piles = FourVerticalPiles();
  for (auto& p : piles) p.phi = 89.9;
  Outcome run = Calc(MakeProject(Loaded(), piles));
  EXPECT_EQ(run.code, 0);

  // 999 piles at the origin: rigid heads solve and share the load equally.
  std::vector<PileRow> crowd(kMaxPiles);
  run = Calc(MakeProject(Loaded(), crowd));
  ASSERT_EQ(run.code, 0);
  ASSERT_TRUE(run.r->solved);
  EXPECT_NEAR(run.r->Py[kMaxPiles], 1000.0 / kMaxPiles, 1e-9);
  EXPECT_NEAR(run.r->Px[1], 100.0 / kMaxPiles, 1e-9);
  // Hinged heads leave them free to rotate about x and z.
  Conds hinged = Loaded();
  hinged.head = 1;
  run = Calc(MakeProject(hinged, crowd));
  EXPECT_EQ(run.code, 0);
  EXPECT_FALSE(run.r->solved);
}

TEST(EngineInput, ValuesAtTheEditorLimits) {
  // Lower and upper limits of every pile column and condition, in turn.
  const PileRow lo{0.1, 0, 0, 0.01, 1, 1, 0, 0.01, -999.999, -999.999, -999.999, 0, -359.9, 0};
  const PileRow hi{3.0, 999.9, 99.9, 99999.99, 99999999, 99999999, 99.99, 99.99,
                   999.999, 999.999, 999.999, 89.9, 359.9, 99999999};
  for (int variant = 0; variant < 16; ++variant) {
    SCOPED_TRACE(variant);
    Conds s;
    s.Ep = variant & 1 ? 99999999 : 100000;
    s.kh = variant & 2 ? 99999999 : 1;
    s.head = variant & 4 ? 1 : 0;
    s.kvChoice = variant & 8 ? 1 : 0;
    s.alpha = variant & 1 ? 2.0 : 0.01;
    for (double& f : s.loads) f = variant & 2 ? 99999999.99 : -99999999.99;
    std::vector<PileRow> piles{lo, hi, lo, hi};
    piles[2].X = piles[2].Zp = 500;  // off the line of the others
    piles[3].h = 10;                 // L = h would stop the run
    Outcome run = Calc(MakeProject(s, piles));
    EXPECT_TRUE(run.code == 0 || run.code == 5 || run.code == 6 || run.code == 11) << run.code;
  }
}

}  // namespace
}  // namespace hasorin::engine::testing
