// Pile spring constants in member axes: beta, torsion, axial spring, and the
// lateral springs of a beam on an elastic foundation.
#include <cmath>

#include "stages.h"

namespace hasorin::engine::detail {
namespace {

// Poisson's ratio of steel, in G = E / (2 (1 + nu)).
constexpr double kPoisson = 0.3;

struct Lateral {
  double K1 = 0, K2 = 0, K3 = 0, K4 = 0;
};

// Semi-infinite embedded length (beta * l > pi).
template <class Check>
Lateral SemiInfinite(double EI, double beta, double bh, bool hingedHead, Check& g) {
  Lateral k;
  const double beta3 = beta * beta * beta;
  const double c = (1 + bh) * (1 + bh) * (1 + bh);
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
template <class Check>
Lateral Finite(double EI, double beta, double bh, double lambda, bool hingedHead, int tip,
               Check& g) {
  const double s2 = std::sinh(2 * lambda), c2 = std::cosh(2 * lambda);
  const double sn2 = std::sin(2 * lambda), cs2 = std::cos(2 * lambda);
  double f1, f23, f4;
  if (tip == 1) {  // hinged
    const double d = s2 - sn2;
    f1 = g.Div(c2 - cs2, d);
    f23 = g.Div(s2 + sn2, d);
    f4 = g.Div(c2 + cs2, d);
  } else {
    const double sh = std::sinh(lambda), ch = std::cosh(lambda);
    const double sn = std::sin(lambda), cs = std::cos(lambda);
    const double shsh = sh * sh, snsn = sn * sn;
    const double d = tip == 2 ? shsh - snsn    // free
                              : cs * cs + ch * ch;  // fixed
    f1 = g.Div(0.5 * (s2 - sn2), d);
    f23 = g.Div(snsn + shsh, d);
    f4 = g.Div(0.5 * (s2 + sn2), d);
  }
  const double f2 = f23, f3 = f23;
  const double b = bh;
  const double Pa = (2.0 / 3.0) * b * b * b + 2 * b * b * f4 + (f2 + f3) * b + f1;
  const double Pb = b * b + 2 * b * f4 + f2;
  const double delta = 2 * Pa * (f4 + b) - Pb * Pb;
  Lateral k;
  const double beta2 = beta * beta, beta3 = beta2 * beta;
  if (hingedHead) {
    k.K1 = g.Div(2 * EI * beta3, Pa);
    return k;
  }
  k.K1 = g.Div(4 * EI * beta3 * (f4 + b), delta);
  k.K2 = g.Div(2 * EI * beta2 * Pb, delta);
  k.K3 = g.Div(2 * EI * beta2 * Pb, delta);
  k.K4 = g.Div(2 * EI * beta * Pa, delta);
  return k;
}

}  // namespace

int CalcSprings(const Workspace& w, CalcResults& r) {
  const WorkConditions& c = w.c;

  // First loop: beta, torsional spring, axial spring.
  PileSteps axial(r, [](CalcResults& t) { return std::array{&t.PileBeta, &t.PileKt, &t.PileKv}; });
  auto sameAxial = [&w](int i) {
    const WorkPile &p = w.pile[size_t(i)], &q = w.pile[size_t(i) - 1];
    return SameBits(p.D, q.D) && SameBits(p.dt, q.dt) && SameBits(p.I, q.I) &&
           SameBits(p.h, q.h) && SameBits(p.L, q.L) && SameBits(p.A, q.A) && SameBits(p.Kv, q.Kv);
  };
  for (int i = 1; i <= w.n; ++i) {
    if (i > 1 && sameAxial(i)) {
      const int last = EndOfRun(i, w.n, sameAxial);
      axial.Repeat(i, last);
      i = last;
      continue;
    }
    const WorkPile& p = w.pile[size_t(i)];
    const int code = axial.Run(i, [&](auto& g, auto& out) {
      const double Dc = p.D - 2 * p.dt / 1000;  // corroded diameter
      const double beta = g.Sqrt(g.Sqrt(g.Div(c.kh * Dc, 4 * c.Ep * p.I)));
      g.Put(out[0], beta);

      // One checked step per statement keeps the order in which steps fail.
      const double GJ = g.Finite(c.Ep * 2 * p.I / (2 * (1 + kPoisson)));
      const double length = g.Div(1, beta) + p.h;  // torsion acts over h and 1/beta
      g.Put(out[1], g.Div(GJ, length));

      double Kv = p.Kv;
      if (c.kvChoice == 0) {
        // Driven steel pipe pile: the embedded part in series with the free
        // length h acting as a bar.
        const double l = p.L - p.h;
        double ratio = g.Div(l, Dc);
        if (ratio < 10) ratio = 10;
        const double a = 0.014 * ratio + 0.78;
        const double series = g.Div(a, g.Div(a * p.h, l) + 1);
        Kv = series * g.Div(p.A * c.Ep, l);
      }
      g.Put(out[2], Kv);
    });
    if (code) return code;
  }
  axial.Done(w.n);

  // Second loop: the four lateral springs, the same in both lateral planes.
  const bool hingedHead = c.head != 0;
  PileSteps lateral(r, [](CalcResults& t) {
    return std::array{&t.PileK1,  &t.PileK2,  &t.PileK3,  &t.PileK4,
                      &t.PileK1z, &t.PileK2z, &t.PileK3z, &t.PileK4z};
  });
  auto sameLateral = [&w, &r](int i) {
    const WorkPile &p = w.pile[size_t(i)], &q = w.pile[size_t(i) - 1];
    return SameBits(r.PileBeta[i], r.PileBeta[i - 1]) && SameBits(p.I, q.I) &&
           SameBits(p.h, q.h) && SameBits(p.L, q.L);
  };
  for (int i = 1; i <= w.n; ++i) {
    if (i > 1 && sameLateral(i)) {
      const int last = EndOfRun(i, w.n, sameLateral);
      lateral.Repeat(i, last);
      i = last;
      continue;
    }
    const WorkPile& p = w.pile[size_t(i)];
    const double beta = r.PileBeta[i];
    const int code = lateral.Run(i, [&](auto& g, auto& out) {
      const double EI = g.Finite(c.Ep * p.I);
      const double bh = g.Finite(beta * p.h);
      const double l = g.Finite(p.L - p.h);
      // Strictly below: l exactly pi/beta is a finite pile.
      const bool semiInfinite = g.Div(kPi, beta) < l;
      const Lateral k = semiInfinite ? SemiInfinite(EI, beta, bh, hingedHead, g)
                                     : Finite(EI, beta, bh, g.Finite(beta * l), hingedHead, c.tip, g);
      const double values[8] = {k.K1, k.K2, k.K3, k.K4, k.K1, k.K2, k.K3, k.K4};
      for (size_t t = 0; t < 8; ++t) g.Put(out[t], values[t]);
    });
    if (code) return code;
  }
  lateral.Done(w.n);
  return calcerr::kOk;
}

}  // namespace hasorin::engine::detail
