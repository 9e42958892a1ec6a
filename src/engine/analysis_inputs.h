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

// One pile in working units: m, m4, m3, radians.
struct AnalysisPile {
  double X, Y, Z, phi, psi, I, Zs, h, L;
};

struct AnalysisInputs {
  double Ep = 0;  // kN/m2
  double alpha = 0;
  bool hingedHead = false;
  int tip = 0;
  int n = 0;
  std::array<AnalysisPile, kMaxPiles + 1> pile;
};

void ReadAnalysisInputs(const Project& project, int n, AnalysisInputs& in);
// The group stiffness at the origin: every pile's member springs carried to
// the cap, both triangles.
Matrix6 AssembleCap(const AnalysisInputs& in, const CalcResults& r);
bool SpringsComplete(const CalcResults& r);
// The cap matrices of the assembled stiffness; not assembled when it overflows.
CapMatrices CapOf(const AnalysisInputs& in, const CalcResults& r);
// Condition number, weak direction and (when solved) flexibility of cap.stiffness.
void Condition(CapMatrices& cap);

}  // namespace hasorin::engine::detail
