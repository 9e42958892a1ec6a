// Stress check of every pile as a steel pipe under axial compression and
// bending, for SKK400 and SKK490 at once.
#include <type_traits>

#include "stages.h"

namespace hasorin::engine::detail {
namespace {

// Allowable stresses of one steel grade (N/mm2): axial compression by the
// slenderness s of the free length, and bending.
struct Grade {
  double sLow, caLow, slope;  // s <= sLow: caLow; then caLow - slope (s - sLow)
  double sHigh, euler;        // s >= sHigh: 1,200,000 / (euler + s^2)
  double ba;
};
constexpr Grade kGrades[2] = {
    {18, 140, 0.82, 92, 6700, 140},  // SKK400
    {16, 185, 1.2, 79, 5000, 185},   // SKK490
};

template <class Check>
double AllowableAxial(const Grade& gr, double s, Check& g) {
  if (s <= gr.sLow) return gr.caLow;
  if (s < gr.sHigh) return gr.caLow - gr.slope * (s - gr.sLow);
  return g.Div(1200000, gr.euler + s * s);
}

// The check of pile p (T = double), or of two piles side by side (T = Lanes)
// that have the section of the pile before them. s and ca hold the
// slenderness and allowable axial stresses of that section; a pile of
// another section (`same` false, one pile only) computes them anew.
template <class T, class Check>
void CheckPiles(const WorkPile& p, T sc, T sb, bool same, double alpha, double& s,
                std::array<double, 2>& ca, Check& g, std::array<T, 5>& out) {
  if constexpr (std::is_same_v<T, double>) {
    if (!same) {
      // Buckling length: the free length h.
      const double radius = g.Sqrt(g.Div(p.I, p.A));
      s = g.Div(p.h, radius);
    }
  }
  g.Put(out[0], T(s));
  for (int grade = kSKK400; grade <= kSKK490; ++grade) {
    const Grade& gr = kGrades[grade];
    if constexpr (std::is_same_v<T, double>) {
      if (!same) ca[size_t(grade)] = g.Finite(alpha * AllowableAxial(gr, s, g));
    }
    g.Put(out[size_t(1 + 2 * grade)], T(ca[size_t(grade)]));
    const T ratio = g.Div(sc, T(ca[size_t(grade)]));
    g.Put(out[size_t(2 + 2 * grade)], ratio + g.Div(sb, T(alpha * gr.ba)));
  }
}

}  // namespace

int CalcStressCheck(const Workspace& w, CalcResults& r) {
  const double alpha = w.c.alpha;
  PileSteps steps(r, [](CalcResults& t) {
    return std::array{&t.Slenderness, &t.SigmaCaAllow[kSKK400], &t.CheckRatio[kSKK400],
                      &t.SigmaCaAllow[kSKK490], &t.CheckRatio[kSKK490]};
  });
  auto same = [&w](int i) {
    const WorkPile &p = w.pile[size_t(i)], &q = w.pile[size_t(i) - 1];
    return i > 1 && SameBits(p.I, q.I) && SameBits(p.A, q.A) && SameBits(p.h, q.h);
  };
  // Slenderness and allowable axial stresses of the previous pile.
  double s = 0;
  std::array<double, 2> ca{};
  for (int i = 1; i <= w.n; ++i) {
    const WorkPile& p = w.pile[size_t(i)];
    const bool sameSection = same(i);
    // Two piles of the section before them at once, when no step fails.
    if (sameSection && i < w.n && same(i + 1) &&
        steps.RunPair(i, [&](auto& g, auto& out) {
          const Lanes sc(r.SigmaC[i], r.SigmaC[i + 1]), sb(r.SigmaB[i], r.SigmaB[i + 1]);
          CheckPiles(p, sc, sb, true, alpha, s, ca, g, out);
        })) {
      ++i;
      continue;
    }
    const int code = steps.Run(i, [&](auto& g, auto& out) {
      CheckPiles(p, r.SigmaC[i], r.SigmaB[i], sameSection, alpha, s, ca, g, out);
    });
    if (code) return code;
  }
  steps.Done(w.n);
  return calcerr::kOk;
}

}  // namespace hasorin::engine::detail
