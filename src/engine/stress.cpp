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

double AllowableAxial(const Grade& gr, double s, Guard& g) {
  if (s <= gr.sLow) return gr.caLow;
  if (s < gr.sHigh) return gr.caLow - gr.slope * (s - gr.sLow);
  return g.Div(1200000, gr.euler + s * s);
}

}  // namespace

int CalcStressCheck(const Workspace& w, CalcResults& r) {
  Guard g;
  const double alpha = w.c.alpha;
  // Slenderness and allowable axial stresses of the previous pile.
  double s = 0;
  std::array<double, 2> ca{};
  for (int i = 1; i <= w.n; ++i) {
    const WorkPile& p = w.pile[size_t(i)];
    const WorkPile& q = w.pile[size_t(i) - 1];
    const bool same = i > 1 && SameBits(p.I, q.I) && SameBits(p.A, q.A) && SameBits(p.h, q.h);
    if (!same) {
      // Buckling length: the free length h.
      const double radius = g.Sqrt(g.Div(p.I, p.A));
      s = g.Div(p.h, radius);
    }
    if (!g.Put(r.Slenderness, i, s)) return g.code();

    const double sc = r.SigmaC[i], sb = r.SigmaB[i];
    for (int grade = kSKK400; grade <= kSKK490; ++grade) {
      const Grade& gr = kGrades[grade];
      if (!same) ca[size_t(grade)] = g.Finite(alpha * AllowableAxial(gr, s, g));
      if (!g.Put(r.SigmaCaAllow[grade], i, ca[size_t(grade)])) return g.code();
      const double ratio = g.Div(sc, ca[size_t(grade)]);
      if (!g.Put(r.CheckRatio[grade], i, ratio + g.Div(sb, alpha * gr.ba))) return g.code();
    }
  }
  return calcerr::kOk;
}

}  // namespace hasorin::engine::detail
