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
  const double r = (x - k * kPio2Hi) - k * kPio2Lo, z = r * r;
  const double sr =
      r + r * z * (-1.0 / 6 + z * (1.0 / 120 + z * (-1.0 / 5040 + z * (1.0 / 362880 + z * (-1.0 / 39916800 +
          z * (1.0 / 6227020800 + z * (-1.0 / 1307674368000 + z * (1.0 / 355687428096000))))))));
  const double cr =
      1 + z * (-0.5 + z * (1.0 / 24 + z * (-1.0 / 720 + z * (1.0 / 40320 + z * (-1.0 / 3628800 +
          z * (1.0 / 479001600 + z * (-1.0 / 87178291200 + z * (1.0 / 20922789888000))))))));
  switch (int(k) & 3) {
    case 0: s = sr, c = cr; break;
    case 1: s = cr, c = -sr; break;
    case 2: s = -sr, c = -cr; break;
    default: s = -cr, c = sr; break;
  }
}

// atan2(y, x) to within an ulp or two, several times cheaper than the
// library's. The ratio of the smaller magnitude to the larger, turned back
// by the nearest arctangent of k/16, leaves at most 1/32 for the series,
// whose remainder after t^11 lies below 1e-19 of t.
inline double Atan2(double y, double x) {
  static constexpr double kAtan16[17] = {
      0.0,                 0.06241880999595735, 0.12435499454676144, 0.18534794999569476,
      0.24497866312686414, 0.3028848683749714,  0.35877067027057225, 0.4124104415973873,
      0.4636476090008061,  0.5123894603107377,  0.5585993153435624,  0.6022873461349642,
      0.6435011087932844,  0.6823165548747481,  0.7188299996216245,  0.7531512809621944,
      0.7853981633974483};
  const double ax = std::fabs(x), ay = std::fabs(y);
  const bool swap = ay > ax;
  const double n = swap ? ax : ay, d = swap ? ay : ax;
  if (!(d > 1e-300 && d < 1e300)) return std::atan2(y, x);  // zero, tiny, huge or not a number
  const int k = int(n / d * 16 + 0.5);
  const double c = k * (1.0 / 16), t = (n - d * c) / (d + n * c), t2 = t * t;
  double a = kAtan16[k] + (t + t * t2 * (-1.0 / 3 + t2 * (1.0 / 5 + t2 * (-1.0 / 7 + t2 * (1.0 / 9 + t2 * (-1.0 / 11))))));
  if (swap) a = 1.57079632679489661923 - a;
  if (x < 0) a = 3.14159265358979323846 - a;
  return y < 0 ? -a : a;
}

// One pile in working units: m, m4, m3, radians.
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

void ReadAnalysisConditions(const Project& project, AnalysisConditions& in);
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
