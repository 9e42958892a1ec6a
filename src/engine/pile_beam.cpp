// One lateral plane of a pile: the free length as a plain beam, the embedded
// length as a beam on a Winkler foundation, and the search for the largest
// moment below ground.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "analysis_inputs.h"

namespace hasorin::engine {
namespace {

using detail::SinCos;

// The coefficients (P, Q) of e^(σu) (P cos u + Q sin u) and of its
// derivatives by u; σ = -1 the decaying, +1 the growing family.
struct Pair {
  double P, Q;
};
Pair Derive(Pair p, double sigma) { return {sigma * p.P + p.Q, sigma * p.Q - p.P}; }

struct FamilyTerms {
  Pair d[4];  // w and its first three derivatives by u
};
FamilyTerms Terms(Pair w, double sigma) {
  FamilyTerms t;
  t.d[0] = w;
  for (int k = 1; k < 4; ++k) t.d[k] = Derive(t.d[k - 1], sigma);
  return t;
}

// The exponential and trigonometric factors of the embedded part at u.
struct Factors {
  double dec, gro, cs, sn;
};
Factors FactorsAt(const PileBeam& b, double u) {
  Factors f{std::exp(-u), b.semiInfinite ? 0.0 : std::exp(u - b.beta * b.l), 0, 0};
  SinCos(u, f.sn, f.cs);
  return f;
}
Factors GroundFactors(const PileBeam& b) {
  return {1.0, b.semiInfinite ? 0.0 : std::exp(-b.beta * b.l), 1.0, 0.0};
}

// w and its first three derivatives by u of the four unit coefficients:
// (P, Q) of cos u and sin u, before the family's exponential factor.
constexpr Pair kUnitTerms[4][4] = {
    {{1, 0}, {-1, -1}, {0, 2}, {2, -2}},   // e^-u cos u
    {{0, 1}, {1, -1}, {-2, 0}, {2, 2}},    // e^-u sin u
    {{1, 0}, {1, -1}, {0, -2}, {-2, -2}},  // e^(u - lambda) cos u
    {{0, 1}, {1, 1}, {2, 0}, {2, -2}},     // e^(u - lambda) sin u
};

BeamState EmbeddedAt(const PileBeam& b, const std::array<double, 4>& c, const Factors& f) {
  double d[4] = {0, 0, 0, 0};
  const int n = b.semiInfinite ? 2 : 4;
  for (int j = 0; j < n; ++j) {
    const double weight = c[size_t(j)] * (j < 2 ? f.dec : f.gro);
    for (int k = 0; k < 4; ++k) d[k] += weight * (kUnitTerms[j][k].P * f.cs + kUnitTerms[j][k].Q * f.sn);
  }
  const double be = b.beta;
  return {d[0], be * d[1], -b.EI * be * be * d[2], b.EI * be * be * be * d[3]};
}

// A plain beam (no soil) carried over a length ds (either sign).
BeamState Carry(const BeamState& a, double ds, double EI) {
  BeamState r;
  r.V = a.V;
  r.M = a.M - a.V * ds;
  r.slope = a.slope - (a.M * ds - a.V * ds * ds / 2) / EI;
  r.w = a.w + a.slope * ds - (a.M * ds * ds / 2 - a.V * ds * ds * ds / 6) / EI;
  return r;
}

// 1 / (beta det), and from it 1 / det with a product instead of a second
// division, unless the first is not a finite non-zero number.
double SlopeScale(double beta, double det) { return 1 / (beta * det); }
double Reciprocal(double beta, double det, double slopeScale) {
  return std::isfinite(slopeScale) && slopeScale != 0 ? beta * slopeScale : 1 / det;
}

}  // namespace

PlaneSolution::Basis PlaneSolution::BasisOf(const PileBeam& b) {
  Basis basis;
  if (b.semiInfinite) {
    // The two decaying solutions carried from the ground to the head over
    // the free length, in units of w (slopes / beta, moments / EI beta^2),
    // x = beta h: e^-u cos u gives w = 1 + x - x^3/3, slope = x^2 - 1,
    // M = 2x; e^-u sin u gives w = -(x + x^2 + x^3/3), slope = (1 + x)^2,
    // M = 2(1 + x). Cramer's rule for unit head deflection and slope.
    const double x = b.beta * b.h, x2 = x * x, x3 = x2 * x;
    const double a00 = 1 + x - x3 * (1.0 / 3), a01 = -(x + x2 + x3 * (1.0 / 3));
    const double a10 = b.hingedHead ? 2 * x : x2 - 1;
    const double a11 = b.hingedHead ? 2 * (1 + x) : (1 + x) * (1 + x);
    const double det = a00 * a11 - a01 * a10;
    if (!(std::fabs(det) > 0.0)) return basis;
    // A unit slope is 1/beta in these units.
    const double q = SlopeScale(b.beta, det), inv = Reciprocal(b.beta, det, q), slope = b.hingedHead ? 0.0 : q;
    basis.w = {a11 * inv, -a10 * inv, 0, 0};
    basis.slope = {-a01 * slope, a00 * slope, 0, 0};
    basis.ok = true;
    return basis;
  }
  // The tip conditions fix the growing family (c2, c3) from the decaying one
  // (c0, c1): their 2 x 2 block of the growing family has the determinant 4,
  // 2 or 1 whatever lambda. The head conditions then leave a 2 x 2 system.
  const double lambda = b.beta * b.l, e = std::exp(-lambda);
  double cs, sn;
  SinCos(lambda, sn, cs);
  // Orders of the derivatives the tip holds at zero: moment and shear at a
  // free tip, deflection and moment at a hinged one, else deflection and slope.
  const int k0 = b.tip == 2 ? 2 : 0, k1 = b.tip == 2 ? 3 : b.tip == 1 ? 2 : 1;
  double t[2][4];
  for (int j = 0; j < 4; ++j) {
    const double f = j < 2 ? e : 1.0;
    t[0][j] = f * (kUnitTerms[j][k0].P * cs + kUnitTerms[j][k0].Q * sn);
    t[1][j] = f * (kUnitTerms[j][k1].P * cs + kUnitTerms[j][k1].Q * sn);
  }
  const double dt = t[0][2] * t[1][3] - t[0][3] * t[1][2];
  if (!(std::fabs(dt) > 0.0)) return basis;
  // (c2, c3) = N (c0, c1).
  double nm[2][2];
  const double invDt = 1 / dt;
  for (int q = 0; q < 2; ++q) {
    nm[0][q] = -(t[1][3] * t[0][q] - t[0][3] * t[1][q]) * invDt;
    nm[1][q] = -(t[0][2] * t[1][q] - t[1][2] * t[0][q]) * invDt;
  }
  // The head rows from the ground values (u = 0) of each unit solution,
  // carried over the free length x = beta h as a Taylor series that ends at
  // the third derivative: deflection, and the slope or (hinged) the moment,
  // in units of w.
  const double x = b.beta * b.h;
  const double rowW[4] = {1, -x, x * x / 2, -x * x * x * (1.0 / 6)};
  const double rowS[4] = {0, 1, -x, x * x / 2}, rowM[4] = {0, 0, -1, x};
  const double* row1 = b.hingedHead ? rowM : rowS;
  double hw[4], hs[4];
  for (int j = 0; j < 4; ++j) {
    const double f = j < 2 ? 1.0 : e;
    hw[j] = hs[j] = 0;
    for (int k = 0; k < 4; ++k) {
      hw[j] += rowW[k] * f * kUnitTerms[j][k].P;
      hs[j] += row1[k] * f * kUnitTerms[j][k].P;
    }
  }
  double a[2][2];
  for (int q = 0; q < 2; ++q) {
    a[0][q] = hw[q] + hw[2] * nm[0][q] + hw[3] * nm[1][q];
    a[1][q] = hs[q] + hs[2] * nm[0][q] + hs[3] * nm[1][q];
  }
  const double det = a[0][0] * a[1][1] - a[0][1] * a[1][0];
  if (!(std::fabs(det) > 0.0)) return basis;
  // Unit head deflection; unit head slope, 1/beta in these units (a hinged
  // head keeps M = 0 and has no slope solution).
  const double q = SlopeScale(b.beta, det), inv = Reciprocal(b.beta, det, q), slope = b.hingedHead ? 0.0 : q;
  const double w0 = a[1][1] * inv, w1 = -a[1][0] * inv;
  const double s0 = -a[0][1] * slope, s1 = a[0][0] * slope;
  basis.w = {w0, w1, nm[0][0] * w0 + nm[0][1] * w1, nm[1][0] * w0 + nm[1][1] * w1};
  basis.slope = {s0, s1, nm[0][0] * s0 + nm[0][1] * s1, nm[1][0] * s0 + nm[1][1] * s1};
  basis.ok = true;
  return basis;
}

PlaneSolution::PlaneSolution(const PileBeam& beam, double w0, double slope0)
    : PlaneSolution(beam, BasisOf(beam), w0, slope0) {}

PlaneSolution::PlaneSolution(const PileBeam& beam, const Basis& basis, double w0, double slope0)
    : beam_(beam) {
  c_ = basis.Combine(w0, slope0);
  ground_ = EmbeddedAt(beam_, c_, GroundFactors(beam_));
}

BeamState PlaneSolution::At(double s) const {
  if (s >= beam_.h) return EmbeddedAt(beam_, c_, FactorsAt(beam_, beam_.beta * (s - beam_.h)));
  return Carry(ground_, s - beam_.h, beam_.EI);
}

void PlaneSolution::At(const PlaneSolution& a, const PlaneSolution& b, double s, BeamState& sa,
                       BeamState& sb) {
  const PileBeam& beam = a.beam_;
  if (s < beam.h) {
    sa = Carry(a.ground_, s - beam.h, beam.EI);
    sb = Carry(b.ground_, s - beam.h, beam.EI);
    return;
  }
  const Factors f = FactorsAt(beam, beam.beta * (s - beam.h));
  sa = EmbeddedAt(beam, a.c_, f);
  sb = EmbeddedAt(beam, b.c_, f);
}

namespace {

// Sum over both planes of M V below ground, up to a positive factor, as
// e^-t T0(t) + e^-lambda T1(t) + e^(t - 2 lambda) T2(t), t = 2u, with
// Tk(t) = p + q cos t + r sin t: zero exactly where the resultant moment is
// stationary, and rising through zero at its maxima.
struct Trig {
  double p = 0, q = 0, r = 0;
  double At(double cs, double sn) const { return p + q * cs + r * sn; }
  double Slope(double cs, double sn) const { return r * cs - q * sn; }  // by t
};
// (a cos + b sin)(c cos + d sin), added to t.
void AddProduct(Trig& t, Pair m, Pair v) {
  t.p += 0.5 * (m.P * v.P + m.Q * v.Q);
  t.q += 0.5 * (m.P * v.P - m.Q * v.Q);
  t.r += 0.5 * (m.P * v.Q + m.Q * v.P);
}

struct Moments {
  Pair dec, gro;  // -w'' of both families: M up to EI beta^2
};

// The factors of one point below ground: of u (e^-u, e^(u - lambda),
// cos u, sin u) and of t = 2u, their squares (e^-t, e^(t - 2 lambda), cos t, sin t).
struct PointFactors {
  Factors u;
  double e0, e2, cs, sn;
};
PointFactors PointAt(double u, double eLambda) {
  PointFactors f;
  const double dec = std::exp(-u);
  f.u = {dec, eLambda / dec, 0, 0};
  SinCos(u, f.u.sn, f.u.cs);
  f.e0 = dec * dec;
  f.e2 = f.u.gro * f.u.gro;
  f.cs = f.u.cs * f.u.cs - f.u.sn * f.u.sn;
  f.sn = 2 * f.u.sn * f.u.cs;
  return f;
}

struct StationaryFunction {
  Trig T[3];
  double eLambda = 0;
  bool finite = false;

  Moments Add(const std::array<double, 4>& c) {
    const FamilyTerms dec = Terms({c[0], c[1]}, -1);
    // M is -EI beta^2 w'', V is EI beta^3 w''': the product is -w'' w''' up
    // to a positive factor.
    Moments m{{-dec.d[2].P, -dec.d[2].Q}, {0, 0}};
    AddProduct(T[0], m.dec, dec.d[3]);
    if (!finite) return m;
    const FamilyTerms gro = Terms({c[2], c[3]}, +1);
    m.gro = {-gro.d[2].P, -gro.d[2].Q};
    AddProduct(T[1], m.dec, gro.d[3]);
    AddProduct(T[1], m.gro, dec.d[3]);
    AddProduct(T[2], m.gro, gro.d[3]);
    return m;
  }
  // The value, and the derivative by u, from the factors at t.
  double Value(double e0, double e2, double cs, double sn) const {
    return e0 * T[0].At(cs, sn) + eLambda * T[1].At(cs, sn) + e2 * T[2].At(cs, sn);
  }
  double Slope(double e0, double e2, double cs, double sn) const {
    return 2 * (e0 * (T[0].Slope(cs, sn) - T[0].At(cs, sn)) + eLambda * T[1].Slope(cs, sn) +
                e2 * (T[2].Slope(cs, sn) + T[2].At(cs, sn)));
  }
  // The Taylor coefficients g^(k)(u) / k!, k = 0..5, at a point: each family
  // e^(s t) (p + q cos t + r sin t) keeps its form under d/dt, which takes
  // (p, q, r) to (s p, s q + r, s r - q); d/du is 2 d/dt.
  void Taylor(const PointFactors& at, double (&a)[6]) const {
    constexpr double kScale[6] = {1, 2, 2, 4.0 / 3, 2.0 / 3, 4.0 / 15};  // 2^k / k!
    const double e[3] = {at.e0, eLambda, at.e2};
    Trig t[3] = {T[0], T[1], T[2]};
    for (int k = 0; k < 6; ++k) {
      a[k] = kScale[k] * (e[0] * t[0].At(at.cs, at.sn) + e[1] * t[1].At(at.cs, at.sn) +
                          e[2] * t[2].At(at.cs, at.sn));
      for (int f = 0; f < 3; ++f) {
        const double sigma = f - 1.0;
        t[f] = {sigma * t[f].p, sigma * t[f].q + t[f].r, sigma * t[f].r - t[f].q};
      }
    }
  }
};

// The root in [u0, u1] of g, rising from f0 < 0 to f1 >= 0 with slopes d0 and
// d1: one Newton step on the cubic through both ends (no exponentials) from
// the chord's root for a start, mostly within 1e-3 of the interval; there one evaluation of g with
// its derivatives, and the root from the reversion of its Taylor series.
// Where that series converges too slowly, Newton steps on g itself inside a
// bracket that every step narrows, halving it where a step would leave it,
// until a step is below 1e-6 of the interval; the root is then one step on,
// good to the square of that. The moment is taken at the last point, its
// square carried to the root by -2 times the integral of g (the derivative
// of the square by u).
struct Root {
  double u;
  Factors at;  // at the last point
  double squareStep;  // to add to |M|^2 there, in units of (EI beta^2)^2
};
Root Refine(const StationaryFunction& g, double u0, double f0, double d0, double u1, double f1, double d1) {
  const double h = u1 - u0;
  auto cubic = [&](double x, double& v, double& dv) {  // x in [0, 1]
    const double x2 = x * x, x3 = x2 * x;
    v = (2 * x3 - 3 * x2 + 1) * f0 + (x3 - 2 * x2 + x) * h * d0 + (-2 * x3 + 3 * x2) * f1 +
        (x3 - x2) * h * d1;
    dv = (6 * x2 - 6 * x) * f0 + (3 * x2 - 4 * x + 1) * h * d0 + (-6 * x2 + 6 * x) * f1 +
         (3 * x2 - 2 * x) * h * d1;
  };
  double x = f0 / (f0 - f1);
  if (double v, dv; cubic(x, v, dv), dv > 0) x = std::clamp(x - v / dv, 0.0, 1.0);
  double lo = u0, hi = u1, u = u0 + x * h;
  PointFactors p = PointAt(u, g.eLambda);
  {
    // g(u + delta) = 0 by the reversion of the series to the fifth order,
    // taken when its fifth term is below 1e-12 of the interval.
    double a[6];
    g.Taylor(p, a);
    if (a[1] > 0) {
      const double y = -a[0] / a[1], inv = 1 / a[1];
      const double b2 = a[2] * inv, b3 = a[3] * inv, b4 = a[4] * inv, b5 = a[5] * inv;
      const double y2 = y * y, y4 = y2 * y2;
      const double c5 = (14 * b2 * b2 * b2 * b2 - 21 * b2 * b2 * b3 + 6 * b2 * b4 + 3 * b3 * b3 - b5) * y4 * y;
      if (std::fabs(b2 * y) <= 0.05 && std::fabs(c5) <= 1e-12 * h) {
        const double d = y - b2 * y2 + (2 * b2 * b2 - b3) * y2 * y + (-5 * b2 * b2 * b2 + 5 * b2 * b3 - b4) * y4 + c5;
        if (u + d > lo && u + d < hi) {
          const double integral =
              d * (a[0] + d * (a[1] * 0.5 + d * (a[2] * (1.0 / 3) + d * (a[3] * 0.25 + d * a[4] * 0.2))));
          return {u + d, p.u, -2 * integral};
        }
      }
    }
  }
  Root root{u, {}, 0};
  for (int it = 0; it < 60; ++it) {
    if (it > 0) p = PointAt(u, g.eLambda);
    const double f = g.Value(p.e0, p.e2, p.cs, p.sn), df = g.Slope(p.e0, p.e2, p.cs, p.sn);
    const double dx = f / df;
    root = {u, p.u, 0};
    if (std::fabs(dx) <= 1e-6 * h) return {u - dx, p.u, f * dx};
    (f < 0 ? lo : hi) = u;
    u = u - dx > lo && u - dx < hi ? u - dx : 0.5 * (lo + hi);
    if (hi - lo <= 1e-12 * h) break;
  }
  return root;
}

// |M|^2 of one family pair at the factors, up to (EI beta^2)^2.
double Square(const Moments& m, const Factors& f) {
  const double v = f.dec * (m.dec.P * f.cs + m.dec.Q * f.sn) + f.gro * (m.gro.P * f.cs + m.gro.Q * f.sn);
  return v * v;
}

// A semi-infinite pile: its stationary function e^-t T0(t) and its squared
// moment e^-t S(t), both planes, t = 2u.
struct SemiInfinite {
  Trig T0, S;  // S: |M|^2 e^(2u) in units of (EI beta^2)^2, a quadratic in cos u, sin u
  double scale, beta;
};

SemiInfinite SemiInfiniteOf(const PileBeam& beam, const std::array<double, 4>& a, const std::array<double, 4>& b) {
  StationaryFunction g;
  SemiInfinite s{{}, {}, beam.EI * beam.beta * beam.beta, beam.beta};
  for (const Moments& m : {g.Add(a), g.Add(b)}) {
    const Pair p = m.dec;
    s.S.p += 0.5 * (p.P * p.P + p.Q * p.Q);
    s.S.q += 0.5 * (p.P * p.P - p.Q * p.Q);
    s.S.r += p.P * p.Q;
  }
  s.T0 = g.T[0];
  return s;
}

// T0(t) = p + rho cos(t - gamma): of its two roots in each 2 pi, the maximum
// is at t = gamma - alpha, alpha = acos(-p / rho), and the later ones repeat
// it smaller by e^-2pi; so the largest is the first, t in (0, 2 pi], and
// pi/beta < l keeps it inside the pile. Cosines and sines are taken times
// rho^2: one square root and one division serve.
// e^(-k pi/64), k = 0..64, with pi/32 as the angle's multiple holds it.
constexpr double kHalfTurns[65] = {
    1.0, 0.9520979267837046, 0.9064904621858286, 0.8630676896963296,
    0.8217249580338772, 0.7823626289304811, 0.74488583699776, 0.7092042610961118,
    0.6752319066557773, 0.6428868984251734, 0.6120912831470138, 0.5827708416866494,
    0.5548549101598534, 0.5282762096289552, 0.5029706839568819, 0.4788773454283292,
    0.45593812776599624, 0.43409774618764885, 0.4133035641667393, 0.39350546657546837,
    0.3746557389045578, 0.35670895226864646, 0.33962185392016575, 0.323353263007828,
    0.307863971328499, 0.2931166488332618, 0.27907575365993575, 0.2657074464752247,
    0.2529795089200536, 0.24086126596154278, 0.22932351196448336, 0.2183384403041427,
    0.20787957635076193, 0.19792171366423528, 0.1884408532451964, 0.17941414569610387,
    0.17081983615293, 0.16263721185473679, 0.15484655222477703, 0.14742908134281488,
    0.14036692269412018, 0.13364305608608038, 0.1272412766285955, 0.12114615567939761,
    0.11534300366017039, 0.10981783465385349, 0.10455733269780959, 0.09954881969161856,
    0.09478022484215486, 0.09024005557230902, 0.08591736982324172, 0.08180174968341726,
    0.07788327628086114, 0.07415250587813038, 0.0706004471123844, 0.06721853932570378,
    0.06399863193343149, 0.06093296478081352, 0.05801414944059704, 0.05523515140651246,
    0.05258927313972454, 0.050070137927393704, 0.047671674514445685, 0.04538810247151131,
    0.04321391826377226};

MomentPeak PeakOf(const SemiInfinite& s) {
  constexpr double kTwoPi = 2 * std::numbers::pi, kPi1 = std::numbers::pi;
  const Trig& t = s.T0;
  const double rho2 = t.q * t.q + t.r * t.r;
  if (!(rho2 > 0.0) || t.p * t.p > rho2) return {};
  const double sa = std::sqrt(std::max(0.0, rho2 - t.p * t.p)), inv = 1 / rho2;
  const double ct = (-t.q * t.p + t.r * sa) * inv, st = (-t.r * t.p - t.q * sa) * inv;
  const detail::AngleParts angle = detail::UnitAngleParts(ct, st);
  int k = angle.k;
  double root = k * (kPi1 / 32) + angle.rest;
  if (!(root > 0)) root += kTwoPi, k += 64;
  // The square root of the square apart from the angle's exponential: the
  // two run side by side. e^(-root/2) from a table at the multiple of pi/32
  // and the series of the rest, below 0.03, to its eighth power.
  const double moment = std::sqrt(std::max(0.0, s.S.At(ct, st)));
  const double x = -0.5 * angle.rest, x2 = x * x, x4 = x2 * x2;
  const double small = (1 + x) + x2 * (1.0 / 2 + x * (1.0 / 6)) +
                       x4 * ((1.0 / 24 + x * (1.0 / 120)) + x2 * (1.0 / 720 + x * (1.0 / 5040)) + x4 * (1.0 / 40320));
  const double decay = angle.table ? kHalfTurns[k] * small : std::exp(-0.5 * root);
  return {true, s.scale * moment * decay, root / (2 * s.beta)};
}

MomentPeak FinitePeakOf(const PileBeam& beam, const std::array<double, 4>& a, const std::array<double, 4>& b);

}  // namespace

MomentPeak GroundMomentOf(const PlaneSolution& a, const PlaneSolution& b) {
  return GroundMomentOf(a.beam(), a.coefficients(), b.coefficients());
}

MomentPeak GroundMomentOf(const PileBeam& beam, const std::array<double, 4>& a, const std::array<double, 4>& b) {
  return beam.semiInfinite ? PeakOf(SemiInfiniteOf(beam, a, b)) : FinitePeakOf(beam, a, b);
}

void detail::GroundMomentsOf(int n, const PileBeam* beams, const Coefficients* x, const Coefficients* z,
                             MomentPeak* peaks) {
  // The semi-infinite piles' closed forms in a loop of their own, free of
  // the finite piles' branches, so that the piles' divisions overlap.
  thread_local std::array<SemiInfinite, kMaxPiles + 1> semi;
  thread_local std::array<int, kMaxPiles + 1> at;
  int m = 0;
  for (int i = 1; i <= n; ++i) {
    if (beams[i].semiInfinite) {
      semi[size_t(m)] = SemiInfiniteOf(beams[i], x[i], z[i]);
      at[size_t(m++)] = i;
    } else {
      peaks[i] = FinitePeakOf(beams[i], x[i], z[i]);
    }
  }
  for (int k = 0; k < m; ++k) peaks[at[size_t(k)]] = PeakOf(semi[size_t(k)]);
}

namespace {

MomentPeak FinitePeakOf(const PileBeam& beam, const std::array<double, 4>& a, const std::array<double, 4>& b) {
  if (!(beam.l > 0)) return {};  // nothing below ground
  StationaryFunction g;
  g.finite = true;
  constexpr int kSteps = 12;
  const double lambda = beam.beta * beam.l, step = lambda / kSteps;
  // The factors advance by one step of the grid: exponentials times a
  // constant, cos and sin of t = 2u turned by a constant angle. Six of the
  // exponential's steps make e^-lambda.
  const double shrink = std::exp(-2 * step), shrink2 = shrink * shrink;
  g.eLambda = shrink2 * shrink2 * shrink2;
  const Moments ma = g.Add(a), mb = g.Add(b);
  const double scale = beam.EI * beam.beta * beam.beta;

  MomentPeak best;
  // A finite pile (lambda at most pi): every rise through zero on a grid of
  // steps of at most pi/12 of u, refined to its root; the largest moment of
  // those is the ground moment. A step that g enters rising and leaves
  // falling, below zero at both ends, is looked into at the peak of the
  // cubic through its ends: a maximum and a minimum of the moment close
  // together (one plane's moment passing through zero) hide there.
  constexpr double kShortOfTip = 1e-3;
  double turnC, turnS;
  SinCos(2 * step, turnS, turnC);
  // The grid's values and slopes first, free of branches, then its steps.
  // The factors at the k-th point are the k-th powers of the step's, each
  // the product of two lower ones: a chain of four products, not twelve;
  // e^(t - 2 lambda) there is e^-t at the (12 - k)-th.
  double us[kSteps + 1], fs[kSteps + 1], ds[kSteps + 1];
  double e0s[kSteps + 1] = {1, shrink}, css[kSteps + 1] = {1, turnC}, sns[kSteps + 1] = {0, turnS};
  for (int k = 2; k <= kSteps; ++k) {
    const int j = k / 2, i = k - j;
    e0s[k] = e0s[j] * e0s[i];
    css[k] = css[j] * css[i] - sns[j] * sns[i];
    sns[k] = sns[j] * css[i] + css[j] * sns[i];
  }
  for (int k = 0; k <= kSteps; ++k) {
    us[k] = step * k;
    fs[k] = g.Value(e0s[k], e0s[kSteps - k], css[k], sns[k]);
    ds[k] = g.Slope(e0s[k], e0s[kSteps - k], css[k], sns[k]);
  }
  double e0 = e0s[kSteps], e2 = 1, cs = css[kSteps], sn = sns[kSteps];
  // A hinged or free tip has no moment: g vanishes there whatever the
  // rounding says, so the last step ends just short of it, where g has the
  // sign of the moment's last rise or fall. A maximum nearer the tip than
  // that is of no size: the moment vanishes at the tip. The factors there
  // are those of the tip turned back by a small angle of t.
  if (beam.tip != 3) {
    const double back = 2 * kShortOfTip * lambda, b2 = back * back;
    // Multiplied by the reciprocals: a division costs several products.
    constexpr double k2 = 1.0 / 2, k6 = 1.0 / 6, k12 = 1.0 / 12, k20 = 1.0 / 20, k30 = 1.0 / 30;
    const double cb = 1 - b2 * k2 * (1 - b2 * k12 * (1 - b2 * k30));
    const double sb = back * (1 - b2 * k6 * (1 - b2 * k20));
    const double odd = back * (1 + b2 * k6 * (1 + b2 * k20)), even = 1 + b2 * k2 * (1 + b2 * k12 * (1 + b2 * k30));
    e0 *= even + odd;  // e^back
    e2 *= even - odd;  // e^-back
    const double c = cs * cb + sn * sb;
    sn = sn * cb - cs * sb;
    cs = c;
    us[kSteps] = lambda * (1 - kShortOfTip);
    fs[kSteps] = g.Value(e0, e2, cs, sn);
    ds[kSteps] = g.Slope(e0, e2, cs, sn);
  }
  auto take = [&](const Root& r) {
    const double m = scale * std::sqrt(std::max(0.0, Square(ma, r.at) + Square(mb, r.at) + r.squareStep));
    if (!best.found || m > best.M) best = {true, m, r.u / beam.beta};
  };
  for (int k = 1; k <= kSteps; ++k) {
    const double u0 = us[k - 1], u1 = us[k], f0 = fs[k - 1], f1 = fs[k], d0 = ds[k - 1], d1 = ds[k];
    if (f0 < 0 && f1 >= 0 && !(k == kSteps && f1 == 0)) {
      take(Refine(g, u0, f0, d0, u1, f1, d1));
    } else if ((f0 < 0) == (f1 < 0) && (d0 > 0) == (f0 < 0) && (d1 < 0) == (f0 < 0) && d0 != 0 && d1 != 0) {
      // Below zero at both ends but rising in and falling out, or above zero
      // falling in and rising out: look at the cubic's peak or dip, where its
      // slope h (d0 (1 - x) + d1 x) + (6 (f1 - f0) - 3 h (d0 + d1)) x (1 - x)
      // changes sign once in (0, 1).
      const double h = u1 - u0, a = 6 * (f1 - f0) - 3 * h * (d0 + d1);
      // -a x^2 + (a + h (d1 - d0)) x + h d0 = 0, its root in (0, 1).
      const double b = a + h * (d1 - d0), c0 = h * d0;
      double x;
      if (std::fabs(a) <= 1e-12 * (std::fabs(b) + std::fabs(c0))) {
        x = -c0 / b;
      } else {
        const double q = -0.5 * (b + std::copysign(std::sqrt(std::max(0.0, b * b + 4 * a * c0)), b));
        const double r0 = q / -a, r1 = c0 / q;
        x = r0 > 0 && r0 < 1 ? r0 : r1;
      }
      const double um = u0 + std::clamp(x, 0.0, 1.0) * h;
      const PointFactors pm = PointAt(um, g.eLambda);
      const double fm = g.Value(pm.e0, pm.e2, pm.cs, pm.sn), dm = g.Slope(pm.e0, pm.e2, pm.cs, pm.sn);
      if (f0 < 0 && fm >= 0) take(Refine(g, u0, f0, d0, um, fm, dm));
      if (f0 >= 0 && fm < 0) take(Refine(g, um, fm, dm, u1, f1, d1));
    }
  }
  return best;
}

}  // namespace
}  // namespace hasorin::engine
