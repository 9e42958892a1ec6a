// Pile spring constants in member axes: beta, torsion, axial spring, and the
// lateral springs of a beam on an elastic foundation. Piles are computed
// kLanes at a time (T = Lanes) where none repeats the pile before it, and one
// at a time (T = double) otherwise; the steps are the same either way.
#include <cmath>

#include "stages.h"

namespace hasorin::engine::detail {
HASORIN_LANES_BEGIN
namespace {

// Poisson's ratio of steel, in G = E / (2 (1 + nu)).
constexpr double kPoisson = 0.3;

template <class At>
auto PileValue(const Workspace& w, At at) {
  return [&w, at](Column WorkPiles::*v) { return at.Of(w.pile.*v); };
}

// Steps 1 to 4: beta, the torsional spring and the axial spring.
template <class T, class Check>
void AxialSprings(const Workspace& w, Piles<T> at, Check& g, std::array<T, 3>& out) {
  const WorkConditions& c = w.c;
  const auto pile = PileValue(w, at);
  const T I = pile(&WorkPiles::I), h = pile(&WorkPiles::h);
  const T Dc = pile(&WorkPiles::D) - 2 * pile(&WorkPiles::dt) / 1000;  // corroded diameter
  const T beta = g.Sqrt(g.Sqrt(g.Div(c.kh * Dc, 4 * c.Ep * I)));
  g.Put(out[0], beta);

  // One checked step per statement keeps the order in which steps fail.
  const T GJ = g.Finite(c.Ep * 2 * I / (2 * (1 + kPoisson)));
  const T length = g.Div(1, beta) + h;  // torsion acts over h and 1/beta
  g.Put(out[1], g.Div(GJ, length));

  T Kv = pile(&WorkPiles::Kv);
  if (c.kvChoice == 0) {
    // Driven steel pipe pile: the embedded part in series with the free
    // length h acting as a bar.
    const T l = pile(&WorkPiles::L) - h;
    const T ratio = g.Div(l, Dc);
    const T a = 0.014 * IfLess(ratio, 10, 10, ratio) + 0.78;
    const T series = g.Div(a, g.Div(a * h, l) + 1);
    Kv = series * g.Div(pile(&WorkPiles::A) * c.Ep, l);
  }
  g.Put(out[2], Kv);
}

template <class T>
struct Lateral {
  T K1 = 0, K2 = 0, K3 = 0, K4 = 0;
};

// Semi-infinite embedded length (beta * l > pi).
template <class T, class Check>
Lateral<T> SemiInfinite(T EI, T beta, T bh, bool hingedHead, Check& g) {
  Lateral<T> k;
  const T beta3 = beta * beta * beta;
  const T c = (1 + bh) * (1 + bh) * (1 + bh);
  if (hingedHead) {
    k.K1 = g.Div(3 * EI * beta3, c + 0.5);
    return k;
  }
  k.K1 = g.Div(12 * EI * beta3, c + 2);
  k.K2 = g.Div(k.K1 * (1 + bh), 2 * beta);
  k.K3 = k.K2;
  k.K4 = g.Div(g.Div(4 * EI * beta, 1 + bh) * (c + 0.5), c + 2);
  return k;
}

// Finite embedded length, lambda = beta * l, by the tip condition.
template <class T, class Check>
Lateral<T> Finite(T EI, T beta, T bh, T lambda, bool hingedHead, int tip, Check& g) {
  const auto sinh = [](double x) { return std::sinh(x); };
  const auto cosh = [](double x) { return std::cosh(x); };
  const auto sin = [](double x) { return std::sin(x); };
  const auto cos = [](double x) { return std::cos(x); };
  const T s2 = EachLane(2 * lambda, sinh), c2 = EachLane(2 * lambda, cosh);
  const T sn2 = EachLane(2 * lambda, sin), cs2 = EachLane(2 * lambda, cos);
  T f1, f23, f4;
  if (tip == 1) {  // hinged
    const T d = s2 - sn2;
    f1 = g.Div(c2 - cs2, d);
    f23 = g.Div(s2 + sn2, d);
    f4 = g.Div(c2 + cs2, d);
  } else {
    const T sh = EachLane(lambda, sinh), ch = EachLane(lambda, cosh);
    const T sn = EachLane(lambda, sin), cs = EachLane(lambda, cos);
    const T shsh = sh * sh, snsn = sn * sn;
    const T d = tip == 2 ? shsh - snsn         // free
                         : cs * cs + ch * ch;  // fixed
    f1 = g.Div(0.5 * (s2 - sn2), d);
    f23 = g.Div(snsn + shsh, d);
    f4 = g.Div(0.5 * (s2 + sn2), d);
  }
  const T f2 = f23, f3 = f23;
  const T b = bh;
  const T Pa = (2.0 / 3.0) * b * b * b + 2 * b * b * f4 + (f2 + f3) * b + f1;
  const T Pb = b * b + 2 * b * f4 + f2;
  const T delta = 2 * Pa * (f4 + b) - Pb * Pb;
  Lateral<T> k;
  const T beta2 = beta * beta, beta3 = beta2 * beta;
  if (hingedHead) {
    k.K1 = g.Div(2 * EI * beta3, Pa);
    return k;
  }
  k.K1 = g.Div(4 * EI * beta3 * (f4 + b), delta);
  k.K2 = g.Div(2 * EI * beta2 * Pb, delta);
  k.K3 = k.K2;  // the same quotient
  k.K4 = g.Div(2 * EI * beta * Pa, delta);
  return k;
}

// Steps 5 to 9: the four lateral springs, the same in both lateral planes.
template <class At, class Check, class T = typename At::Value>
void LateralSprings(const Workspace& w, const CalcResults& r, At at, Check& g, std::array<T, 8>& out) {
  const WorkConditions& c = w.c;
  const auto pile = PileValue(w, at);
  const T beta = at.In(r.PileBeta), h = pile(&WorkPiles::h);
  const T EI = g.Finite(c.Ep * pile(&WorkPiles::I));
  const T bh = g.Finite(beta * h);
  const T l = g.Finite(pile(&WorkPiles::L) - h);
  // Strictly below: l exactly pi/beta is a finite pile.
  const T piOverBeta = g.Div(kPi, beta);
  bool semiInfinite;
  if constexpr (std::is_same_v<T, double>) {
    semiInfinite = piOverBeta < l;
  } else {
    const int below = CountLess(piOverBeta, l);
    if (below != 0 && below != kLanes) {  // piles of both models
      g.Refuse();
      out.fill(0.0);
      return;
    }
    semiInfinite = below == kLanes;
  }
  const bool hingedHead = c.head != 0;
  const Lateral<T> k = semiInfinite ? SemiInfinite(EI, beta, bh, hingedHead, g)
                                    : Finite(EI, beta, bh, g.Finite(beta * l), hingedHead, c.tip, g);
  const T values[8] = {k.K1, k.K2, k.K3, k.K4, k.K1, k.K2, k.K3, k.K4};
  for (size_t t = 0; t < 8; ++t) g.Put(out[t], values[t]);
}

// Runs `steps` over piles 1..n in order: a pile that repeats the one before
// it (`same`) takes its results, kLanes that do not are computed side by
// side, and lanes with a failing step are redone one pile at a time.
template <class Steps, class Same, class Compute>
int EveryPile(int n, Steps& steps, Same same, Compute compute) {
  for (int i = 1; i <= n; ++i) {
    if (i > 1 && same(i)) {
      const int last = EndOfRun(i, n, same);
      steps.Repeat(i, last);
      i = last;
      continue;
    }
    if (i + kLanes - 1 <= n && AllAlike(i + 1, i + kLanes - 1, false, same) &&
        steps.RunLanes(i, [&](auto& g, auto& out) { compute(Piles<Lanes>{i}, g, out); })) {
      i += kLanes - 1;
      continue;
    }
    if (int code = steps.Run(i, [&](auto& g, auto& out) { compute(Piles<double>{i}, g, out); }))
      return code;
  }
  steps.Done(n);
  return calcerr::kOk;
}

// Semi-infinite and finite piles take different steps, and a table mixes
// them: the lateral springs of the piles that repeat none before them are
// computed kLanes of a model at a time. False when a step fails (some piles
// are then stored and some not).
template <class Steps, class Same, class Compute>
bool LateralByModel(const Workspace& w, const CalcResults& r, Steps& steps, Same same,
                    Compute compute) {
  std::array<std::array<int, kMaxPiles>, 2> ofModel;
  std::array<int, 2> count{0, 0};
  auto add = [&](int i, unsigned semiInfinite) {
    if (i == 1 || !same(i)) ofModel[semiInfinite][size_t(count[semiInfinite]++)] = i;
  };
  // The model test of the steps, with the same values, kLanes piles at once.
  int i = 1;
  for (; i + kLanes - 1 <= w.n; i += kLanes) {
    const Piles<Lanes> at{i};
    const unsigned semiInfinite = LessBits(Lanes(kPi) / at.In(r.PileBeta), at.Of(w.pile.L) - at.Of(w.pile.h));
    for (int k = 0; k < kLanes; ++k) add(i + k, (semiInfinite >> k) & 1);
  }
  for (; i <= w.n; ++i) add(i, kPi / r.PileBeta[i] < w.pile.L[size_t(i)] - w.pile.h[size_t(i)]);
  for (size_t model = 0; model < 2; ++model) {
    const int* piles = ofModel[model].data();
    int k = 0;
    for (; k + kLanes <= count[model]; k += kLanes)
      if (!steps.RunLanesAt(piles + k, [&](auto& g, auto& out) { compute(PilesAt{piles + k}, g, out); }))
        return false;
    for (; k < count[model]; ++k)
      if (!steps.TryRun(piles[k], [&](auto& g, auto& out) { compute(Piles<double>{piles[k]}, g, out); }))
        return false;
  }
  return true;
}

}  // namespace

int CalcSprings(const Workspace& w, CalcResults& r) {
  // First loop: beta, torsional spring, axial spring.
  PileSteps axial(r, [](CalcResults& t) { return std::array{&t.PileBeta, &t.PileKt, &t.PileKv}; });
  auto sameAxial = [&p = w.pile](int i) {
    return SameAsBefore(p.D, i) && SameAsBefore(p.dt, i) && SameAsBefore(p.I, i) && SameAsBefore(p.h, i) &&
           SameAsBefore(p.L, i) && SameAsBefore(p.A, i) && SameAsBefore(p.Kv, i);
  };
  if (int code = EveryPile(w.n, axial, sameAxial,
                           [&w](auto at, auto& g, auto& out) { AxialSprings(w, at, g, out); }))
    return code;

  // Second loop: the four lateral springs.
  PileSteps lateral(r, [](CalcResults& t) {
    return std::array{&t.PileK1,  &t.PileK2,  &t.PileK3,  &t.PileK4,
                      &t.PileK1z, &t.PileK2z, &t.PileK3z, &t.PileK4z};
  });
  auto sameLateral = [&p = w.pile, &r](int i) {
    return SameAsBefore(r.PileBeta.v, i) && SameAsBefore(p.I, i) && SameAsBefore(p.h, i) && SameAsBefore(p.L, i);
  };
  auto compute = [&w, &r](auto at, auto& g, auto& out) { LateralSprings(w, r, at, g, out); };
  // Two lanes lose less to pairs of both models than the sorting costs.
  if constexpr (kLanes > 2) {
    if (LateralByModel(w, r, lateral, sameLateral, compute)) {
      for (int i = 2; i <= w.n; ++i) {
        if (!sameLateral(i)) continue;
        const int last = EndOfRun(i, w.n, sameLateral);
        lateral.Repeat(i, last);
        i = last;
      }
      lateral.Done(w.n);
      return calcerr::kOk;
    }
  }
  // In pile order (and after a failing step, which this finds first).
  return EveryPile(w.n, lateral, sameLateral, compute);
}

}  // namespace HASORIN_LANES_NS
}  // namespace hasorin::engine::detail
