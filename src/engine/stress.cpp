// Stress check of every pile as a steel pipe under axial compression and
// bending, for SKK400 and SKK490 at once.
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

}  // namespace

int CalcStressCheck(const Workspace& w, CalcResults& r) {
  const double alpha = w.c.alpha;
  PileSteps steps(r, [](CalcResults& t) {
    return std::array{&t.Slenderness, &t.SigmaCaAllow[kSKK400], &t.CheckRatio[kSKK400],
                      &t.SigmaCaAllow[kSKK490], &t.CheckRatio[kSKK490]};
  });
  // Slenderness and allowable axial stresses of the previous pile.
  double s = 0;
  std::array<double, 2> ca{};
  for (int i = 1; i <= w.n; ++i) {
    const WorkPile& p = w.pile[size_t(i)];
    const WorkPile& q = w.pile[size_t(i) - 1];
    const bool same = i > 1 && SameBits(p.I, q.I) && SameBits(p.A, q.A) && SameBits(p.h, q.h);
    const double sc = r.SigmaC[i], sb = r.SigmaB[i];
    const int code = steps.Run(i, [&](auto& g, auto& out) {
      if (!same) {
        // Buckling length: the free length h.
        const double radius = g.Sqrt(g.Div(p.I, p.A));
        s = g.Div(p.h, radius);
      }
      g.Put(out[0], s);
      for (int grade = kSKK400; grade <= kSKK490; ++grade) {
        const Grade& gr = kGrades[grade];
        if (!same) ca[size_t(grade)] = g.Finite(alpha * AllowableAxial(gr, s, g));
        g.Put(out[size_t(1 + 2 * grade)], ca[size_t(grade)]);
        const double ratio = g.Div(sc, ca[size_t(grade)]);
        g.Put(out[size_t(2 + 2 * grade)], ratio + g.Div(sb, alpha * gr.ba));
      }
    });
    if (code) return code;
  }
  steps.Done(w.n);
  return calcerr::kOk;
}

}  // namespace hasorin::engine::detail
