// Stress check of every pile as a steel pipe under axial compression and
// bending, for SKK400 and SKK490 at once.
#include <type_traits>

#include "stages.h"

namespace hasorin::engine::detail {
HASORIN_LANES_BEGIN
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
// On lanes: each lane takes its range. The quotient of the upper range is
// taken only when a lane is in it (it never fails for a finite s).
Lanes AllowableAxial(const Grade& gr, Lanes s, Unchecked<Lanes>& g) {
  const Lanes upper = CountLess(s, gr.sHigh) == kLanes ? Lanes(0.0) : g.Div(1200000, gr.euler + s * s);
  return IfLessEqual(s, gr.sLow, gr.caLow,
                     IfLess(s, gr.sHigh, gr.caLow - gr.slope * (s - gr.sLow), upper));
}

// The check of pile(s) `at`. With `same` the piles have the section of the
// pile before them, whose slenderness and allowable axial stresses are in s
// and ca; otherwise they are computed, and a single pile keeps them there.
template <class T, class Check>
void CheckPiles(const Workspace& w, const CalcResults& r, Piles<T> at, bool same, double& s,
                std::array<double, 2>& ca, Check& g, std::array<T, 5>& out) {
  const double alpha = w.c.alpha;
  auto pile = [&](Column WorkPiles::*v) { return at.Of(w.pile.*v); };
  const T sc = at.In(r.SigmaC), sb = at.In(r.SigmaB);
  T slender = s;
  if (!same) {
    // Buckling length: the free length h.
    const T radius = g.Sqrt(g.Div(pile(&WorkPiles::I), pile(&WorkPiles::A)));
    slender = g.Div(pile(&WorkPiles::h), radius);
  }
  g.Put(out[0], slender);
  for (int grade = kSKK400; grade <= kSKK490; ++grade) {
    const Grade& gr = kGrades[grade];
    const T allow = same ? T(ca[size_t(grade)]) : g.Finite(alpha * AllowableAxial(gr, slender, g));
    g.Put(out[size_t(1 + 2 * grade)], allow);
    const T ratio = g.Div(sc, allow);
    g.Put(out[size_t(2 + 2 * grade)], ratio + g.Div(sb, T(alpha * gr.ba)));
    if constexpr (std::is_same_v<T, double>) ca[size_t(grade)] = allow;
  }
  if constexpr (std::is_same_v<T, double>) s = slender;
}

}  // namespace

int CalcStressCheck(const Workspace& w, CalcResults& r) {
  PileSteps steps(r, [](CalcResults& t) {
    return std::array{&t.Slenderness, &t.SigmaCaAllow[kSKK400], &t.CheckRatio[kSKK400],
                      &t.SigmaCaAllow[kSKK490], &t.CheckRatio[kSKK490]};
  });
  auto same = [&w](int i) {
    const WorkPiles& p = w.pile;
    return i > 1 && SameAsBefore(p.I, i) && SameAsBefore(p.A, i) && SameAsBefore(p.h, i);
  };
  // Slenderness and allowable axial stresses of the previous pile.
  double s = 0;
  std::array<double, 2> ca{};
  for (int i = 1; i <= w.n; ++i) {
    const bool sameSection = same(i);
    // kLanes piles at once, when no step fails: all of the section before
    // them, or all computed.
    if (i + kLanes - 1 <= w.n && AllAlike(i + 1, i + kLanes - 1, sameSection, same) &&
        steps.RunLanes(i, [&](auto& g, auto& out) {
          CheckPiles(w, r, Piles<Lanes>{i}, sameSection, s, ca, g, out);
        })) {
      i += kLanes - 1;
      if (!sameSection) {  // the last pile's section is the one before the next
        s = r.Slenderness[i];
        ca = {r.SigmaCaAllow[kSKK400][i], r.SigmaCaAllow[kSKK490][i]};
      }
      continue;
    }
    const int code = steps.Run(i, [&](auto& g, auto& out) {
      CheckPiles(w, r, Piles<double>{i}, sameSection, s, ca, g, out);
    });
    if (code) return code;
  }
  steps.Done(w.n);
  return calcerr::kOk;
}

}  // namespace HASORIN_LANES_NS
}  // namespace hasorin::engine::detail
