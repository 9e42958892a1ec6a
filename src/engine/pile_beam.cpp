// One lateral plane of a pile: the free length as a plain beam, the embedded
// length as a beam on a Winkler foundation, and the search for the largest
// moment below ground.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "analysis.h"

namespace hasorin::engine {
namespace {

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
  const double dec = std::exp(-u);
  return {dec, b.semiInfinite ? 0.0 : std::exp(u - b.beta * b.l), std::cos(u), std::sin(u)};
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

// Solves the n x n system (n <= 4) with two right-hand sides by elimination
// with row pivoting.
bool SolveSmall(int n, double a[4][6]) {
  for (int i = 0; i < n; ++i) {
    int p = i;
    for (int k = i + 1; k < n; ++k)
      if (std::fabs(a[k][i]) > std::fabs(a[p][i])) p = k;
    if (!(std::fabs(a[p][i]) > 0.0)) return false;
    if (p != i)
      for (int j = 0; j < n + 2; ++j) std::swap(a[i][j], a[p][j]);
    for (int k = 0; k < n; ++k) {
      if (k == i) continue;
      const double f = a[k][i] / a[i][i];
      for (int j = i; j < n + 2; ++j) a[k][j] -= f * a[i][j];
    }
  }
  for (int i = 0; i < n; ++i) {
    a[i][n] /= a[i][i];
    a[i][n + 1] /= a[i][i];
  }
  return true;
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
    const double a00 = 1 + x - x3 / 3, a01 = -(x + x2 + x3 / 3);
    const double a10 = b.hingedHead ? 2 * x : x2 - 1;
    const double a11 = b.hingedHead ? 2 * (1 + x) : (1 + x) * (1 + x);
    const double det = a00 * a11 - a01 * a10;
    if (!(std::fabs(det) > 0.0)) return basis;
    const double slope = b.hingedHead ? 0.0 : 1 / (b.beta * det);  // a unit slope is 1/beta in these units
    basis.w = {a11 / det, -a10 / det, 0, 0};
    basis.slope = {-a01 * slope, a00 * slope, 0, 0};
    basis.ok = true;
    return basis;
  }
  const int n = 4;
  // Rows in units of w: slopes times 1/beta, moments 1/(EI beta^2), shears
  // 1/(EI beta^3), so that pivoting compares like with like.
  const double ss = 1 / b.beta, sm = 1 / (b.EI * b.beta * b.beta), sv = sm / b.beta;
  const Factors ground = GroundFactors(b);
  const Factors tip = FactorsAt(b, b.beta * b.l);
  double a[4][6] = {};
  for (int j = 0; j < n; ++j) {
    std::array<double, 4> unit{};
    unit[size_t(j)] = 1;
    const BeamState head = Carry(EmbeddedAt(b, unit, ground), -b.h, b.EI);
    a[0][j] = head.w;
    a[1][j] = b.hingedHead ? head.M * sm : head.slope * ss;
    const BeamState end = EmbeddedAt(b, unit, tip);
    if (b.tip == 2) {  // free
      a[2][j] = end.M * sm;
      a[3][j] = end.V * sv;
    } else {  // hinged or fixed: no deflection, and no moment or no slope
      a[2][j] = end.w;
      a[3][j] = b.tip == 1 ? end.M * sm : end.slope * ss;
    }
  }
  // Unit head deflection; unit head slope (a hinged head keeps M = 0).
  a[0][n] = 1;
  a[1][n + 1] = b.hingedHead ? 0.0 : ss;
  if (!SolveSmall(n, a)) return basis;
  for (int j = 0; j < n; ++j) {
    basis.w[size_t(j)] = a[j][n];
    basis.slope[size_t(j)] = a[j][n + 1];
  }
  basis.ok = true;
  return basis;
}

PlaneSolution::PlaneSolution(const PileBeam& beam, double w0, double slope0)
    : PlaneSolution(beam, BasisOf(beam), w0, slope0) {}

PlaneSolution::PlaneSolution(const PileBeam& beam, const Basis& basis, double w0, double slope0)
    : beam_(beam) {
  for (size_t j = 0; j < 4; ++j) c_[j] = w0 * basis.w[j] + slope0 * basis.slope[j];
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

struct StationaryFunction {
  Trig T[3];
  double lambda = 0, eLambda = 0;
  bool finite = false;

  Moments Add(const PlaneSolution& s) {
    const auto& c = s.coefficients();
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
  // Value and derivative by u from the factors at t.
  void Eval(double e0, double e2, double cs, double sn, double& f, double& df) const {
    const double t0 = T[0].At(cs, sn), t1 = T[1].At(cs, sn), t2 = T[2].At(cs, sn);
    f = e0 * t0 + eLambda * t1 + e2 * t2;
    df = 2 * (e0 * (T[0].Slope(cs, sn) - t0) + eLambda * T[1].Slope(cs, sn) +
              e2 * (T[2].Slope(cs, sn) + t2));
  }
  void Eval(double u, double& f, double& df) const {
    const double t = 2 * u;
    Eval(std::exp(-t), std::exp(t - 2 * lambda), std::cos(t), std::sin(t), f, df);
  }
};

// The root in [u0, u1] of g, rising from f0 < 0 to f1 >= 0 with slopes d0 and
// d1: Newton steps on the cubic through both ends (no exponentials), then
// Newton steps on g itself, which converge at once from there.
double Refine(const StationaryFunction& g, double u0, double f0, double d0, double u1, double f1,
              double d1) {
  const double h = u1 - u0;
  auto cubic = [&](double x, double& v, double& dv) {  // x in [0, 1]
    const double x2 = x * x, x3 = x2 * x;
    v = (2 * x3 - 3 * x2 + 1) * f0 + (x3 - 2 * x2 + x) * h * d0 + (-2 * x3 + 3 * x2) * f1 +
        (x3 - x2) * h * d1;
    dv = (6 * x2 - 6 * x) * f0 + (3 * x2 - 4 * x + 1) * h * d0 + (-6 * x2 + 6 * x) * f1 +
         (3 * x2 - 2 * x) * h * d1;
  };
  double x = f0 / (f0 - f1);
  for (int it = 0; it < 4; ++it) {
    double v, dv;
    cubic(x, v, dv);
    if (!(dv > 0)) break;
    x = std::clamp(x - v / dv, 0.0, 1.0);
  }
  double u = u0 + x * h;
  for (int it = 0; it < 2; ++it) {
    double f, df;
    g.Eval(u, f, df);
    if (!(df != 0.0)) break;
    const double next = u - f / df;
    if (!(next >= u0 && next <= u1)) break;
    u = next;
  }
  return u;
}

// |M|^2 of one family pair at the factors, up to (EI beta^2)^2.
double Square(const Moments& m, double dec, double gro, double cs, double sn) {
  const double v = dec * (m.dec.P * cs + m.dec.Q * sn) + gro * (m.gro.P * cs + m.gro.Q * sn);
  return v * v;
}

}  // namespace

MomentPeak GroundMomentOf(const PlaneSolution& a, const PlaneSolution& b) {
  const PileBeam& beam = a.beam();
  StationaryFunction g;
  g.finite = !beam.semiInfinite;
  g.lambda = beam.beta * beam.l;
  g.eLambda = g.finite ? std::exp(-g.lambda) : 0.0;
  const Moments ma = g.Add(a), mb = g.Add(b);
  const double scale = beam.EI * beam.beta * beam.beta;

  MomentPeak best;
  constexpr double kTwoPi = 2 * std::numbers::pi;
  if (beam.semiInfinite) {
    // T0(t) = p + rho cos(t - gamma): of its two roots in each 2 pi, the
    // maximum is at t = gamma - alpha, alpha = acos(-p / rho), and the later
    // ones repeat it smaller by e^-2pi; so the largest is the first, t in
    // (0, 2 pi], and pi/beta < l keeps it inside the pile.
    const Trig& t = g.T[0];
    const double rho = std::sqrt(t.q * t.q + t.r * t.r);
    if (!(rho > 0.0) || std::fabs(t.p) > rho) return best;
    const double cg = t.q / rho, sg = t.r / rho;
    const double ca = std::clamp(-t.p / rho, -1.0, 1.0), sa = std::sqrt(1 - ca * ca);
    const double ct = cg * ca + sg * sa, st = sg * ca - cg * sa;
    double root = std::atan2(st, ct);
    if (root <= 0) root += kTwoPi;
    // |M|^2 e^(2u) of each plane, a quadratic in cos u, sin u, in terms of t.
    auto square = [&](const Moments& m) {
      const Pair p = m.dec;
      return 0.5 * ((p.P * p.P + p.Q * p.Q) + (p.P * p.P - p.Q * p.Q) * ct + 2 * p.P * p.Q * st);
    };
    best.found = true;
    best.depth = root / (2 * beam.beta);
    best.M = scale * std::sqrt(std::max(0.0, std::exp(-root) * (square(ma) + square(mb))));
    return best;
  }
  // A finite pile (lambda at most pi): every rise through zero on a grid of
  // steps of at most pi/12 of u, refined to its root; the largest moment of
  // those is the ground moment.
  constexpr int kSteps = 12;
  const double step = g.lambda / kSteps;
  // The factors advance by one step: exponentials times a constant, cos and
  // sin of t = 2u turned by a constant angle.
  const double grow = std::exp(2 * step), turnC = std::cos(2 * step), turnS = std::sin(2 * step);
  double e0 = 1, e2 = std::exp(-2 * g.lambda), cs = 1, sn = 0;
  double f0, d0;
  g.Eval(e0, e2, cs, sn, f0, d0);
  for (int k = 1; k <= kSteps; ++k) {
    e0 /= grow;
    e2 *= grow;
    const double c = cs * turnC - sn * turnS;
    sn = sn * turnC + cs * turnS;
    cs = c;
    double f1, d1;
    g.Eval(e0, e2, cs, sn, f1, d1);
    if (f0 < 0 && f1 >= 0 && !(k == kSteps && f1 == 0)) {
      const double u = Refine(g, step * (k - 1), f0, d0, step * k, f1, d1);
      const Factors at = FactorsAt(beam, u);
      const double m = scale * std::sqrt(Square(ma, at.dec, at.gro, at.cs, at.sn) +
                                         Square(mb, at.dec, at.gro, at.cs, at.sn));
      if (!best.found || m > best.M) best = {true, m, u / beam.beta};
    }
    f0 = f1;
    d0 = d1;
  }
  return best;
}

}  // namespace hasorin::engine
