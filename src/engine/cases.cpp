// Load cases on one project: the stages before the solve once, the stiffness
// eliminated once, then per case its loads through the same elimination and
// the pile-head and stress stages.
#include "cases.h"

#include <cfenv>
#include <cmath>

#include "stages.h"

namespace hasorin::engine {

struct LoadCaseRunner::Prepared {
  detail::Workspace w;
  CalcResults r;
  int code = 0;  // of the stages before the solve
  bool solvable = false;
  double alpha = 0;  // the project's factor in working form
  // The Gauss-Jordan elimination of the stiffness as it runs on the load
  // column: at step i divide by pivot[i], then subtract factor[k][i] times
  // entry i from every other entry k.
  std::array<double, 6> pivot{};
  std::array<std::array<double, 6>, 6> factor{};
  // How far every table was written by the stages before the solve.
  std::vector<int> computed;
};

namespace {

// Every table's progress counter, in one fixed order.
template <class F>
void EachCounter(CalcResults& r, F f) {
  for (const NamedTable& t : kPileTables) f((r.*t.table).computed);
  for (int g = kSKK400; g <= kSKK490; ++g) {
    f(r.SigmaCaAllow[g].computed);
    f(r.CheckRatio[g].computed);
  }
}

// Runs `f` with floating-point traps masked and rounding to nearest, as
// CalcPileGroup does, and gives the caller back its own state.
template <class F>
void InCalcEnvironment(F f) {
  std::fenv_t callerEnv;
  std::feholdexcept(&callerEnv);
  std::fesetround(FE_TONEAREST);
  f();
  std::fesetenv(&callerEnv);
}

}  // namespace

LoadCaseRunner::LoadCaseRunner(const Project& project) : project_(project) {}
LoadCaseRunner::~LoadCaseRunner() = default;

LoadCaseRunner::Prepared& LoadCaseRunner::For(const LoadCase& loadCase) {
  std::unique_ptr<Prepared>& slot = loadCase.alpha ? given_ : own_;
  if (slot) return *slot;
  slot = std::make_unique<Prepared>();
  Prepared& p = *slot;
  // The project as a case leaves it: loads that are numbers, and when the
  // case brings its own factor, a factor that is one.
  Project copy = project_;
  for (int k = 1; k <= 6; ++k) copy.Loads(k) = ProjectValue::Real(0.0);
  if (loadCase.alpha) copy.Conditions(7) = ProjectValue::Real(0.0);
  InCalcEnvironment([&] {
    CalcResults& r = p.r;
    EachCounter(r, [](int& n) { n = 0; });
    p.code = detail::ReadInputs(copy, p.w, r);
    if (p.code == 0) p.code = detail::Stages().springs(p.w, r);
    detail::Matrix67 m;
    r.assembled = false;
    if (p.code == 0) p.code = detail::Stages().assemble(p.w, r, m);
    if (p.code == 0) detail::KeepStiffness(m, r);
    EachCounter(r, [&p](int& n) { p.computed.push_back(n); });
    if (p.code != 0) return;
    p.alpha = p.w.c.alpha;
    // With no loads the solution is zero, so the solver fails exactly when
    // the stiffness itself cannot be eliminated.
    std::array<double, 6> zero;
    p.solvable = detail::SolveGroupStiffness(m, zero);
    if (!p.solvable) return;
    for (size_t i = 0; i < 6; ++i) {
      const double pivot = m[i][i];
      p.pivot[i] = pivot;
      for (size_t j = i; j < 6; ++j) m[i][j] /= pivot;
      for (size_t k = 0; k < 6; ++k) {
        if (k == i) continue;
        const double f = m[k][i];
        p.factor[k][i] = f;
        for (size_t j = i; j < 6; ++j) m[k][j] -= f * m[i][j];
      }
    }
  });
  return p;
}

const CalcResults& LoadCaseRunner::Run(const LoadCase& loadCase) {
  Prepared& p = For(loadCase);
  CalcResults& r = p.r;
  size_t next = 0;
  EachCounter(r, [&](int& n) { n = p.computed[next++]; });
  r.solved = false;
  r.code = p.code;
  if (p.code != 0 || !p.solvable) return r;
  InCalcEnvironment([&] {
    std::array<double, 6> x = loadCase.loads;
    for (size_t i = 0; i < 6; ++i) {
      x[i] /= p.pivot[i];
      for (size_t k = 0; k < 6; ++k)
        if (k != i) x[k] -= p.factor[k][i] * x[i];
    }
    for (double v : x)
      if (!std::isfinite(v)) return;  // an overflow: the solve fails
    r.Footing = x;
    r.solved = true;
    p.w.c.loads = loadCase.loads;
    p.w.c.alpha = loadCase.alpha.value_or(p.alpha);
    r.code = detail::Stages().forces(p.w, r);
    if (r.code == 0) r.code = detail::Stages().stress(p.w, r);
  });
  return r;
}

bool CaseCompleted(const CalcResults& r) { return r.code == 0 && r.solved; }

namespace {

// Keeps `value` found at `at` when it beats the one held (the first wins a tie).
template <class Better>
void Keep(Extreme& e, double value, int at, Better better) {
  if (e.at == 0 || better(value, e.value)) e = {value, at};
}
constexpr auto kLarger = [](double a, double b) { return a > b; };
constexpr auto kSmaller = [](double a, double b) { return a < b; };
constexpr auto kLargerMagnitude = [](double a, double b) { return std::fabs(a) > std::fabs(b); };

// The values of one pile of a completed run that governing looks at.
struct PileValues {
  double py, px, pz, moment, sigmaC;
  std::array<double, 2> ratio;
};

PileValues ValuesOf(const CalcResults& r, int pile) {
  return {r.Py[pile], r.Px[pile], r.Pz[pile],
          std::sqrt(r.Mz[pile] * r.Mz[pile] + r.Mx[pile] * r.Mx[pile]), r.SigmaC[pile],
          {r.CheckRatio[kSKK400][pile], r.CheckRatio[kSKK490][pile]}};
}

void AddPile(Governing& g, const PileValues& v, int at) {
  Keep(g.pyMax, v.py, at, kLarger);
  Keep(g.pyMin, v.py, at, kSmaller);
  Keep(g.px, v.px, at, kLargerMagnitude);
  Keep(g.pz, v.pz, at, kLargerMagnitude);
  Keep(g.moment, v.moment, at, kLarger);
  if (v.sigmaC >= 0)
    for (size_t grade = 0; grade < 2; ++grade) Keep(g.ratio[grade], v.ratio[grade], at, kLarger);
}

}  // namespace

Governing GoverningPiles(const CalcResults& r) {
  Governing g;
  for (int i = 1; i <= r.PileCount; ++i) AddPile(g, ValuesOf(r, i), i);
  return g;
}

Governing Envelope::Add(int caseNo, const CalcResults& r) {
  Governing g;
  for (int i = 1; i <= r.PileCount; ++i) {
    const PileValues v = ValuesOf(r, i);
    AddPile(g, v, i);
    if (i <= PileCount()) AddPile(piles_[size_t(i) - 1], v, caseNo);
  }
  return g;
}

}  // namespace hasorin::engine
