#pragma once
// Internal to the analysis stage: the inputs it reads from the project (a run
// that got this far read them without a fault) and the cap assembly.
#include <cmath>

#include "analysis.h"

namespace hasorin::engine::detail {

// sin x and cos x to within an ulp or two, several times cheaper than the
// library's pair: the stage takes some four of them per pile. Quadrant by
// pi/2 in two parts (the first of 33 bits, so that k times it is exact),
// then the Taylor series to x^17 and x^16, whose remainders at pi/4 lie
// below 1e-17.
inline void SinCos(double x, double& s, double& c) {
  if (!(std::fabs(x) <= 1e5)) {
    s = std::sin(x);
    c = std::cos(x);
    return;
  }
  constexpr double kTwoOverPi = 0.636619772367581343076;
  constexpr double kShift = 6755399441055744.0;  // 1.5 * 2^52: adding it rounds to an integer
  constexpr double kPio2Hi = 1.57079632673412561417e+00, kPio2Lo = 6.07710050650619224932e-11;
  const double k = (x * kTwoOverPi + kShift) - kShift;
  const double r = (x - k * kPio2Hi) - k * kPio2Lo, z = r * r, z2 = z * z, z4 = z2 * z2;
  // Both series in pairs of terms by powers z^2 and z^4 (Estrin's scheme):
  // a shorter chain of dependent products than one term after another.
  const double ps = (-1.0 / 6 + z * (1.0 / 120)) + z2 * (-1.0 / 5040 + z * (1.0 / 362880)) +
                    z4 * ((-1.0 / 39916800 + z * (1.0 / 6227020800)) +
                          z2 * (-1.0 / 1307674368000 + z * (1.0 / 355687428096000)));
  const double pc = (-0.5 + z * (1.0 / 24)) + z2 * (-1.0 / 720 + z * (1.0 / 40320)) +
                    z4 * ((-1.0 / 3628800 + z * (1.0 / 479001600)) +
                          z2 * (-1.0 / 87178291200 + z * (1.0 / 20922789888000)));
  const double sr = r + r * z * ps, cr = 1 + z * pc;
  switch (int(k) & 3) {
    case 0: s = sr, c = cr; break;
    case 1: s = cr, c = -sr; break;
    case 2: s = -sr, c = -cr; break;
    default: s = -cr, c = sr; break;
  }
}

// The angle of a unit vector (c, s), in (-pi, pi], to within an ulp or two
// and without a division, as k pi/32 + rest: folded into the first octant
// and turned back by the nearest multiple of pi/32, whose cosine and sine a
// table holds, the rest has a sine below 0.056, whose arcsine's series after
// s^11 leaves less than 1e-18. Anything but a unit vector to rounding goes to
// the library: k 0 and no table (the rest is then the whole angle).
struct AngleParts {
  int k;  // -32..32
  double rest;
  bool table;
};
inline AngleParts UnitAngleParts(double c, double s) {
  static constexpr double kCos[9] = {1.0, 0.9951847266721969, 0.9807852804032304, 0.9569403357322088,
                                     0.9238795325112867, 0.881921264348355, 0.8314696123025452,
                                     0.773010453362737, 0.7071067811865476};
  static constexpr double kSin[9] = {0.0, 0.0980171403295606, 0.19509032201612825, 0.29028467725446233,
                                     0.3826834323650898, 0.47139673682599764, 0.5555702330196022,
                                     0.6343932841636455, 0.7071067811865475};
  if (!(std::fabs(c * c + s * s - 1) <= 1e-12)) return {0, std::atan2(s, c), false};
  const double ax = std::fabs(c), ay = std::fabs(s);
  const bool swap = ay > ax;
  const double n = swap ? ax : ay, d = swap ? ay : ax;  // n = sin, d = cos of the folded angle
  // The arcsine of n to within 0.006 picks the multiple.
  int k = int((n + n * n * n * (1.0 / 6 + 0.075 * n * n)) * (32 / 3.14159265358979323846) + 0.5);
  const double r = n * kCos[k] - d * kSin[k], r2 = r * r;
  double rest =
      r + r * r2 * (1.0 / 6 + r2 * (3.0 / 40 + r2 * (5.0 / 112 + r2 * (35.0 / 1152 + r2 * (63.0 / 2816)))));
  // Unfolded: pi/2 - a, pi - a, -a.
  if (swap) k = 16 - k, rest = -rest;
  if (c < 0) k = 32 - k, rest = -rest;
  if (s < 0) k = -k, rest = -rest;
  return {k, rest, true};
}
inline double UnitAngle(double c, double s) {
  const AngleParts a = UnitAngleParts(c, s);
  return a.k * (3.14159265358979323846 / 32) + a.rest;
}

// One pile in working units: m and radians; I cm4 and Zs cm3 as the table holds them.
struct AnalysisPile {
  double X, Y, Z, phi, psi, I, Zs, h, L;
};

struct AnalysisConditions {
  double Ep = 0;  // kN/m2
  double alpha = 0;
  bool hingedHead = false;
  int tip = 0;
};

struct AnalysisInputs : AnalysisConditions {
  int n = 0;
  std::array<AnalysisPile, kMaxPiles + 1> pile;
};

void ReadAnalysisInputs(const Project& project, int n, AnalysisInputs& in);
// The group stiffness at the origin: every pile's member springs carried to
// the cap, both triangles.
Matrix6 AssembleCap(const AnalysisInputs& in, const CalcResults& r);
bool SpringsComplete(const CalcResults& r);
// The ground moments of piles 1..n, beams[i] with the coefficients x[i] and
// z[i] of its two planes, into peaks[i]: GroundMomentOf of each.
using Coefficients = std::array<double, 4>;
void GroundMomentsOf(int n, const PileBeam* beams, const Coefficients* x, const Coefficients* z, MomentPeak* peaks);
// The cap matrices of a run whose springs are complete, from the stiffness
// the run kept or else assembled from the inputs; not assembled when it
// overflows.
CapMatrices CapOf(const Project& project, const CalcResults& r);
// Condition number, weak direction and (when solved) flexibility of cap.stiffness.
void Condition(CapMatrices& cap);

}  // namespace hasorin::engine::detail
