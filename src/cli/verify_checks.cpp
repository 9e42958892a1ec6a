// The verification suite. Every figure is a deviation made dimensionless the
// way its check says; a check that cannot run reports an infinite figure.
#include "verify_checks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <random>

#include "analysis.h"
#include "beam_reference.h"
#include "engine.h"

namespace hasorin::cli {
namespace {

using engine::CalcResults;
constexpr double kFailed = std::numeric_limits<double>::infinity();

struct Pile {
  double D = 0.6, dt = 1, A = 150, I = 100000, Zs = 3333;
  double h = 0, L = 20, X = 0, Y = 0, Z = 0, phi = 0, psi = 0;
};

struct Case {
  double Ep = 200000, kh = 30000;
  int head = 0, tip = 1;
  double alpha = 1;
  std::array<double, 6> loads{};
  std::vector<Pile> piles;
};

Project MakeProject(const Case& c) {
  Project p;
  p.Conditions(1) = ProjectValue::Text("verify");
  p.Conditions(2) = ProjectValue::Real(c.Ep);
  p.Conditions(3) = ProjectValue::Real(c.kh);
  p.Conditions(4) = ProjectValue::Integer(std::int16_t(c.head));
  p.Conditions(5) = ProjectValue::Integer(std::int16_t(c.tip));
  p.Conditions(6) = ProjectValue::Integer(0);
  p.Conditions(7) = ProjectValue::Real(c.alpha);
  for (int k = 0; k < 6; ++k) p.Loads(k + 1) = ProjectValue::Real(c.loads[size_t(k)]);
  p.ConditionsEntered = p.LoadsEntered = true;
  p.PileCount = int(c.piles.size());
  for (size_t i = 0; i < c.piles.size(); ++i) {
    const Pile& q = c.piles[i];
    const double v[14] = {q.D, 12, q.dt, q.A, q.I, q.Zs, q.h, q.L, q.X, q.Y, q.Z, q.phi, q.psi, 0};
    for (int col = 0; col < 14; ++col) p.Piles(col + 1, int(i) + 1) = ProjectValue::Real(v[col]);
  }
  return p;
}

struct Run {
  Project project;
  std::unique_ptr<CalcResults> r = std::make_unique<CalcResults>();
  int code = 0;
  explicit Run(const Case& c) : project(MakeProject(c)) { code = engine::CalcPileGroup(project, *r); }
  bool solved() const { return code == 0 && r->solved; }
};

// A regular raked group: `n` piles on a jittered grid, each with its own
// section, lengths and angles, under loads of every kind.
Case RandomGroup(std::mt19937& rng, int n, int head, int tip) {
  auto u = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  Case c;
  c.head = head;
  c.tip = tip;
  c.loads = {u(-500, 500), u(2000, 9000), u(-500, 500), u(-800, 800), u(-300, 300), u(-800, 800)};
  const int side = int(std::ceil(std::sqrt(double(n))));
  for (int i = 0; i < n; ++i) {
    Pile p;
    p.D = u(0.5, 1.2);
    p.A = u(150, 600);
    p.I = u(1e5, 1.2e6);
    p.Zs = u(3000, 18000);
    p.h = i % 3 == 0 ? 0 : u(0.2, 2);
    p.L = p.h + (i % 2 ? u(4, 8) : u(10, 30));
    p.X = (i % side - (side - 1) / 2.0) * 2.5 + u(-0.3, 0.3);
    p.Z = (i / side - (side - 1) / 2.0) * 2.5 + u(-0.3, 0.3);
    p.Y = u(-0.2, 0.2);
    p.phi = u(0, 15);
    p.psi = u(-180, 180);
    c.piles.push_back(p);
  }
  return c;
}

// The groups the physical checks run on: every head and tip condition.
std::vector<Case> Groups() {
  std::mt19937 rng(20240517);
  std::vector<Case> groups;
  for (int k = 0; k < 24; ++k) groups.push_back(RandomGroup(rng, 4 + k % 9 * 3, k % 2, 1 + k % 3));
  return groups;
}

double Relative(double a, double b, double scale) { return std::fabs(a - b) / scale; }

// Member axes of pile p, rows x, y, z.
std::array<std::array<double, 3>, 3> Axes(const Pile& p) {
  const double f = p.phi * engine::kPi / 180, s = p.psi * engine::kPi / 180;
  const double sf = std::sin(f), cf = std::cos(f), ss = std::sin(s), cs = std::cos(s);
  return {{{cf * cs, -sf, cf * ss}, {sf * cs, cf, sf * ss}, {-ss, 0, cs}}};
}

// The loads at the origin against the pile-head forces carried back to it.
CheckResult Equilibrium(const std::vector<Case>& groups) {
  CheckResult c{"釣り合い：杭頭作用力の合力と外力（斜杭群24組）", 0, 1e-9};
  for (const Case& g : groups) {
    Run run(g);
    if (!run.solved()) return {c.name, kFailed, c.tolerance};
    const CalcResults& r = *run.r;
    std::array<double, 6> sum{}, scale{};
    for (size_t i = 0; i < g.piles.size(); ++i) {
      const int n = int(i) + 1;
      const Pile& p = g.piles[i];
      const auto ax = Axes(p);
      const double P[3] = {r.Px[n], r.Py[n], r.Pz[n]}, M[3] = {r.Mx[n], r.My[n], r.Mz[n]};
      double F[3] = {0, 0, 0}, Mg[3] = {0, 0, 0};
      for (int a = 0; a < 3; ++a)
        for (int k = 0; k < 3; ++k) {
          F[k] += ax[size_t(a)][size_t(k)] * P[a];
          Mg[k] += ax[size_t(a)][size_t(k)] * M[a];
        }
      const double rxF[3] = {p.Y * F[2] - p.Z * F[1], p.Z * F[0] - p.X * F[2], p.X * F[1] - p.Y * F[0]};
      for (size_t k = 0; k < 3; ++k) {
        sum[k] += F[k];
        sum[k + 3] += rxF[k] + Mg[k];
        scale[k] += std::fabs(F[k]);
        scale[k + 3] += std::fabs(rxF[k]) + std::fabs(Mg[k]);
      }
    }
    for (size_t k = 0; k < 6; ++k)
      c.figure = std::max(c.figure, Relative(sum[k], g.loads[k], std::max(scale[k], 1.0)));
  }
  return c;
}

// The flexibility as the engine's own solve gives it, column by column
// under unit loads.
bool EngineFlexibility(Case g, engine::Matrix6& f) {
  for (size_t j = 0; j < 6; ++j) {
    g.loads = {};
    g.loads[j] = 1;
    Run run(g);
    if (!run.solved()) return false;
    for (size_t i = 0; i < 6; ++i) f[i][j] = run.r->Footing[i];
  }
  return true;
}

// Symmetry of the solve (reciprocity) and positive definiteness of K;
// F_engine K = I.
std::array<CheckResult, 2> CapChecks(const std::vector<Case>& groups) {
  CheckResult sym{"剛性マトリクス：相反性（解の対称性）と正定値性", 0, 1e-9};
  CheckResult inv{"柔性マトリクス：F・K = I（エンジンの解とKの積）", 0, 1e-9};
  for (const Case& g : groups) {
    engine::Matrix6 f;
    Run run(g);
    if (!run.solved() || !EngineFlexibility(g, f)) {
      sym.figure = inv.figure = kFailed;
      break;
    }
    // Without the run's own matrix the stage sums the piles itself: F·K = I
    // then also shows that sum to be the matrix the solve was given.
    run.r->assembled = false;
    const engine::CapMatrices cap = engine::CapMatricesOf(run.project, *run.r);
    if (!cap.assembled || !cap.solved || !std::isfinite(cap.condition))
      sym.figure = kFailed;  // not positive definite
    for (size_t i = 0; i < 6; ++i)
      for (size_t j = 0; j < 6; ++j) {
        const double scale = std::sqrt(std::fabs(f[i][i] * f[j][j]));
        sym.figure = std::max(sym.figure, Relative(f[i][j], f[j][i], scale));
        double fk = 0, size = 0;
        for (size_t k = 0; k < 6; ++k) {
          fk += f[i][k] * cap.stiffness[k][j];
          size += std::fabs(f[i][k] * cap.stiffness[k][j]);
        }
        inv.figure = std::max(inv.figure, Relative(fk, i == j ? 1.0 : 0.0, std::max(size, 1.0)));
      }
  }
  return {sym, inv};
}

// Every pile's profile starts with its member forces.
CheckResult ProfileHeads(const std::vector<Case>& groups) {
  CheckResult c{"断面力分布：杭頭の値と杭頭作用力", 0, 1e-9};
  for (const Case& g : groups) {
    Run run(g);
    if (!run.solved()) return {c.name, kFailed, c.tolerance};
    const CalcResults& r = *run.r;
    for (int i = 1; i <= r.PileCount; ++i) {
      const engine::PileProfile p = engine::ProfileOf(run.project, r, i, 2);
      if (p.points.empty()) return {c.name, kFailed, c.tolerance};
      const engine::ProfilePoint& top = p.points.front();
      const double scale = std::max({std::fabs(r.Px[i]), std::fabs(r.Pz[i]), std::fabs(r.Mx[i]),
                                     std::fabs(r.Mz[i]), 1e-6});
      for (auto [a, b] : {std::pair{top.Px, r.Px[i]}, {top.Pz, r.Pz[i]}, {top.Mx, r.Mx[i]}, {top.Mz, r.Mz[i]}})
        c.figure = std::max(c.figure, Relative(a, b, scale));
    }
  }
  return c;
}

// The lateral springs of one pile against the finite-element reference.
CheckResult SpringsAgainstReference(const char* name, int head, int tip, bool semiInfinite) {
  CheckResult c{name, 0, 1e-6};
  for (double h : {0.0, 1.5}) {
    Case g;
    g.head = head;
    g.tip = tip;
    Pile p;
    p.h = h;
    p.L = h + (semiInfinite ? 20 : 5);
    g.piles = {p};
    Run run(g);  // a single pile need not solve: its springs are what is checked
    const CalcResults& r = *run.r;
    if (run.code != 0 || r.PileK4z.computed != 1) return {name, kFailed, c.tolerance};
    const double EI = g.Ep * 1000 * p.I / 1e8, beta = r.PileBeta[1];
    ReferencePile ref;
    ref.EI = EI;
    ref.k = g.kh * (p.D - 2 * p.dt / 1000);
    ref.h = h;
    // The semi-infinite model is the limit of a long pile: 12 pi / beta
    // leaves e^-37 of the head's deflection at its free tip.
    ref.l = semiInfinite ? 12 * std::numbers::pi / beta : p.L - h;
    ref.tip = semiInfinite ? 2 : tip;
    ref.hingedHead = head != 0;
    ref.maxElement = 0.01 / beta;
    const HeadStiffness k = ReferenceHeadStiffness(ref);
    if (!k.ok) return {name, kFailed, c.tolerance};
    c.figure = std::max(c.figure, Relative(r.PileK1[1], k.k11, k.k11));
    if (head == 0) {
      c.figure = std::max(c.figure, Relative(r.PileK2[1], k.k12, k.k12));
      c.figure = std::max(c.figure, Relative(r.PileK3[1], k.k12, k.k12));
      c.figure = std::max(c.figure, Relative(r.PileK4[1], k.k22, k.k22));
    }
  }
  return c;
}

// A worked value given to `decimals` places: the figure is the deviation in
// units of half the last place, so rounding to the given digits passes at 1.
struct Worked {
  double actual, expected;
  int decimals;
};
CheckResult WorkedValues(const char* name, const std::vector<Worked>& values) {
  CheckResult c{name, 0, 1 + 1e-9};
  for (const Worked& w : values)
    c.figure = std::max(c.figure, std::fabs(w.actual - w.expected) / (0.5 * std::pow(10.0, -w.decimals)));
  return c;
}

Case WorkedPiles(double L, int head, int tip, bool inclined) {
  Case g;
  g.head = head;
  g.tip = tip;
  g.loads = {100, 1000, 0, 0, 0, 0};
  const double at[4][3] = {{1.5, 0, 0}, {0, 1.5, 90}, {-1.5, 0, 180}, {0, -1.5, 270}};
  for (int i = 0; i < 4; ++i) {
    Pile p;
    p.L = L;
    if (inclined) {
      p.X = at[i][0], p.Z = at[i][1], p.phi = 10, p.psi = at[i][2];
    } else {
      p.X = i < 2 ? 1.5 : -1.5, p.Z = i % 2 ? -1.5 : 1.5;
    }
    g.piles.push_back(p);
  }
  return g;
}

std::vector<CheckResult> WorkedChecks() {
  std::vector<CheckResult> out;
  struct SpringCase {
    double L;
    int head, tip;
    double K1, K2, K4;
  };
  const SpringCase springs[] = {{20, 0, 1, 46360, 59900, 154790}, {20, 1, 1, 23180, 0, 0},
                                {5, 0, 1, 43740, 56662, 155430},  {5, 0, 2, 42795, 58696, 151054},
                                {5, 0, 0, 50858, 69755, 179515},  {5, 1, 2, 19987, 0, 0}};
  std::vector<Worked> values;
  for (const SpringCase& s : springs) {
    Run run(WorkedPiles(s.L, s.head, s.tip, false));
    const CalcResults& r = *run.r;
    if (run.code != 0) return {{"計算例：杭のバネ定数", kFailed, 1}};
    values.push_back({r.PileBeta[1], 0.38698, 5});
    values.push_back({r.PileKt[1], 59535, 0});
    if (s.L == 20) values.push_back({r.PileKv[1], 187234, 0});
    values.push_back({r.PileK1[1], s.K1, 0});
    values.push_back({r.PileK2[1], s.K2, 0});
    values.push_back({r.PileK4[1], s.K4, 0});
  }
  out.push_back(WorkedValues("計算例：杭のバネ定数（半無限長・有限長，頭部・先端条件）", values));

  Run inclined(WorkedPiles(20, 0, 1, true));
  const char* const groupName = "計算例：斜杭4本の基礎の変位と杭頭作用力";
  if (!inclined.solved()) {
    out.push_back({groupName, kFailed, 1});
    return out;
  }
  const CalcResults& r = *inclined.r;
  values = {{r.Footing[0] * 1e6, 567.978, 3}, {r.Footing[1] * 1e5, 136.622, 3}, {r.Footing[5] * 1e5, 6.20108, 5}};
  const double forces[4][6] = {{10.470, 287.535, 0, 0, 0, -8.728},
                               {-10.998, 251.917, -22.673, -24.569, 0.641, 14.211},
                               {-32.466, 216.299, 0, 0, 0, 37.150},
                               {-10.998, 251.917, 22.673, 24.569, -0.641, 14.211}};
  for (int i = 1; i <= 4; ++i) {
    const double got[6] = {r.Px[i], r.Py[i], r.Pz[i], r.Mx[i], r.My[i], r.Mz[i]};
    for (int k = 0; k < 6; ++k) values.push_back({got[k], forces[i - 1][k], 3});
  }
  out.push_back(WorkedValues(groupName, values));

  // Allowable axial stresses at the limits of the slenderness ranges: h/r
  // set through h with r = sqrt(I/A) = 1 m.
  values.clear();
  const struct {
    double s, skk400, skk490;
    int decimals;
  } limits[] = {{0, 140, 185, 2},  {16, 140, 185, 2},     {18, 140, 182.6, 2},
                {79, 89.98, 106.75, 2}, {92, 79.13, 89.13, 2}};
  const char* const allowName = "計算例：許容軸方向圧縮応力度（細長比の区分の境界）";
  for (const auto& l : limits) {
    Case g = WorkedPiles(20, 0, 1, false);
    for (Pile& p : g.piles) {
      p.A = 1e4, p.I = 1e8;  // 1 m2, 1 m4
      p.h = l.s, p.L = l.s + 20;
    }
    Run run(g);
    if (!run.solved()) {
      out.push_back({allowName, kFailed, 1});
      return out;
    }
    values.push_back({run.r->SigmaCaAllow[engine::kSKK400][1], l.skk400, l.decimals});
    values.push_back({run.r->SigmaCaAllow[engine::kSKK490][1], l.skk490, l.decimals});
  }
  out.push_back(WorkedValues(allowName, values));
  return out;
}

// Hetenyi's closed forms for the largest moment below ground of a
// semi-infinite pile without a free length under a head force H.
CheckResult Hetenyi() {
  CheckResult c{"地中部最大曲げモーメント：Hetenyiの解（ヒンジ・剛結）", 0, 1e-6};
  constexpr double pi = std::numbers::pi;
  const struct {
    bool hinged;
    double depth, moment;
  } cases[] = {{true, pi / 4, std::exp(-pi / 4) * std::sin(pi / 4)}, {false, pi / 2, 0.5 * std::exp(-pi / 2)}};
  for (const auto& k : cases) {
    engine::PileBeam b;
    b.EI = 2e5, b.beta = 0.38698, b.l = 40, b.hingedHead = k.hinged;
    const engine::PlaneSolution pile(b, 0.01, 0.0), none(b, 0.0, 0.0);
    const engine::MomentPeak peak = engine::GroundMomentOf(pile, none);
    if (!peak.found) return {c.name, kFailed, c.tolerance};
    const double H = pile.At(0).V;
    c.figure = std::max({c.figure, std::fabs(peak.depth * b.beta - k.depth),
                         std::fabs(peak.M * b.beta / H - k.moment)});
  }
  return c;
}

// A finite pile ends as its tip condition says.
CheckResult TipConditions() {
  CheckResult c{"断面力分布：有限長杭の先端条件（ヒンジ・自由・固定）", 0, 1e-9};
  for (int tip : {1, 2, 3})
    for (bool hinged : {false, true}) {
      engine::PileBeam b;
      b.EI = 2e5, b.beta = 0.38698, b.h = 1.0, b.l = 5, b.semiInfinite = false;
      b.hingedHead = hinged, b.tip = tip;
      const engine::PlaneSolution s(b, 0.004, -0.001);
      const engine::BeamState end = s.At(b.h + b.l);
      const double w = 0.004, M = b.EI * b.beta * b.beta * w;
      const double values[2] = {tip == 2 ? end.M / M : end.w / w,
                                tip == 2 ? end.V / (M * b.beta) : tip == 1 ? end.M / M : end.slope / (w * b.beta)};
      for (double v : values) c.figure = std::max(c.figure, std::fabs(v));
    }
  return c;
}

}  // namespace

std::vector<CheckResult> RunVerification() {
  std::vector<CheckResult> out;
  const std::vector<Case> groups = Groups();
  out.push_back(Equilibrium(groups));
  for (const CheckResult& c : CapChecks(groups)) out.push_back(c);
  out.push_back(ProfileHeads(groups));
  out.push_back(SpringsAgainstReference("ばね定数と有限要素解：剛結，半無限長", 0, 1, true));
  out.push_back(SpringsAgainstReference("ばね定数と有限要素解：ヒンジ，半無限長", 1, 1, true));
  const char* const tipNames[3] = {"ヒンジ", "自由", "固定"};
  for (int head : {0, 1})
    for (int tip : {1, 2, 3}) {
      const std::string name = std::string("ばね定数と有限要素解：") + (head ? "ヒンジ" : "剛結") +
                               "，有限長，先端" + tipNames[tip - 1];
      out.push_back(SpringsAgainstReference(name.c_str(), head, tip, false));
    }
  out.push_back(TipConditions());
  out.push_back(Hetenyi());
  for (const CheckResult& c : WorkedChecks()) out.push_back(c);
  return out;
}

}  // namespace hasorin::cli
