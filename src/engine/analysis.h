#pragma once
// What the engineer needs beyond the pile-head check, worked out after a run
// from the project and the run's results alone: the cap's stiffness and
// flexibility, how close the group is to a mechanism, and along every pile the
// deflection, slope, moment and shear with the largest moment below ground.
// Nothing here writes to the run's tables. No Qt here.
#include <array>
#include <limits>
#include <string>
#include <vector>

#include "engine.h"

namespace hasorin::engine {

using Matrix6 = std::array<std::array<double, 6>, 6>;

// Above this condition number of the scaled cap stiffness the group is close
// to a mechanism: its displacements are no longer to be trusted.
inline constexpr double kConditionLimit = 1e6;

struct CapMatrices {
  // The run assembled the group stiffness (every pile's springs were computed).
  bool assembled = false;
  // The 6 x 6 stiffness at the origin, rows and columns dx, dy, dz, θx, θy, θz.
  Matrix6 stiffness{};
  // The run solved the group: flexibility = stiffness^-1.
  bool solved = false;
  Matrix6 flexibility{};
  // 1-norm condition number of D^-1/2 K D^-1/2 (D the diagonal of K), which
  // does not depend on the units; infinite when the matrix is singular.
  double condition = std::numeric_limits<double>::infinity();
  // The cap motion of the smallest eigenvalue of the scaled matrix (unit
  // length, scaled coordinates) and its largest component (0..5).
  std::array<double, 6> weakMode{};
  int weakDirection = 0;

  bool Warning() const { return assembled && !(condition <= kConditionLimit); }
};

// "x方向の移動" ... "z軸回りの回転" for components 0..5 of a cap motion.
std::string MotionName(int component);
// The weak direction in words: its largest component and those at least half
// as large ("x軸回りの回転とy方向の移動").
std::string WeakMotionText(const CapMatrices& cap);
// The warning of a group close to a mechanism, with its weak direction; empty
// when there is none.
std::string ConditionWarningText(const CapMatrices& cap);

// The cap matrices of a run of CalcPileGroup(project, results).
CapMatrices CapMatricesOf(const Project& project, const CalcResults& results);

// One lateral plane of a pile as a beam: a free length h (no soil) above an
// embedded length l on a Winkler foundation of the same beta, semi-infinite or
// finite with its tip condition, exactly the model of the pile's springs.
struct PileBeam {
  double EI = 0, beta = 0, h = 0, l = 0;
  bool semiInfinite = true;
  bool hingedHead = false;
  int tip = 1;  // finite piles: 1 hinged, 2 free, otherwise fixed
};

// The beam at one section, s from the head along the pile axis: deflection w,
// slope dw/ds, moment M and shear V, signed so that at the head (V, M) are
// the force and moment the cap applies, conjugate to (w, dw/ds).
struct BeamState {
  double w = 0, slope = 0, M = 0, V = 0;
};

// The deflection of one plane from the head's deflection and slope (for a
// hinged head the slope is free and the head moment zero). Below ground,
// with u = beta (s - h) and lambda = beta l,
//   w = e^-u (c0 cos u + c1 sin u) + e^(u - lambda) (c2 cos u + c3 sin u),
// the second family only for a finite pile.
class PlaneSolution {
 public:
  // The solutions of unit head deflection and unit head slope, shared by
  // both planes of a pile.
  struct Basis {
    std::array<double, 4> w{}, slope{};
    bool ok = false;
    // The coefficients of head deflection w0 and slope slope0.
    std::array<double, 4> Combine(double w0, double slope0) const {
      std::array<double, 4> c;
      for (size_t j = 0; j < 4; ++j) c[j] = w0 * w[j] + slope0 * slope[j];
      return c;
    }
  };
  static Basis BasisOf(const PileBeam& beam);

  PlaneSolution() = default;
  PlaneSolution(const PileBeam& beam, double w0, double slope0);
  PlaneSolution(const PileBeam& beam, const Basis& basis, double w0, double slope0);
  BeamState At(double s) const;
  // Both planes of one pile (the same beam) at s, sharing the factors.
  static void At(const PlaneSolution& a, const PlaneSolution& b, double s, BeamState& sa, BeamState& sb);
  const PileBeam& beam() const { return beam_; }
  const std::array<double, 4>& coefficients() const { return c_; }

 private:
  PileBeam beam_;
  std::array<double, 4> c_{};
  BeamState ground_;
};

// The largest resultant moment of two planes at a section below ground where
// it is stationary (the shear of the resultant is zero); found is false when
// the embedded part has no such section. depth is measured from the ground
// along the pile axis.
struct MomentPeak {
  bool found = false;
  double M = 0, depth = 0;
};
MomentPeak GroundMomentOf(const PlaneSolution& a, const PlaneSolution& b);
// The same from the coefficients of both planes of one beam.
MomentPeak GroundMomentOf(const PileBeam& beam, const std::array<double, 4>& a, const std::array<double, 4>& b);

struct GroundMoment {
  bool found = false;
  double M = 0;      // kN·m, the resultant of both planes
  double depth = 0;  // m below ground, along the pile axis
  double sigma = 0;  // σc + σb at that section, N/mm2
  std::array<double, 2> ratio{};  // κ for SKK400, SKK490
};

// One section of a pile's profile, in member axes as the run's results: the
// member x–y plane (ux, θz, Mz, Px) and the member y–z plane (uz, θx, Mx, Pz).
struct ProfilePoint {
  double s = 0;  // from the head along the pile axis, m
  double ux = 0, thetaZ = 0, Mz = 0, Px = 0;
  double uz = 0, thetaX = 0, Mx = 0, Pz = 0;
  double M = 0;  // resultant moment
  bool peak = false;  // the section of the ground moment
};

struct PileProfile {
  double D = 0, h = 0, L = 0;  // m
  PileBeam beam;               // the model of the profile
  GroundMoment ground;
  std::vector<ProfilePoint> points;  // by s, head to tip
};

// Everything this stage adds to a run.
struct GroupAnalysis {
  CapMatrices cap;
  // Piles 1..piles have a ground moment (0 when the run did not reach the
  // pile-head forces of every pile).
  int piles = 0;
  std::array<GroundMoment, kMaxPiles + 1> ground{};
};

// The stage after CalcPileGroup(project, results), on its inputs and results.
void AnalyseGroup(const Project& project, const CalcResults& results, GroupAnalysis& analysis);

// Both planes of pile `pile` (1..N) of a run that reached its pile-head forces.
struct PilePlanes {
  PlaneSolution x, z;  // member x–y and member y–z planes
  bool ok = false;
};
PilePlanes PlanesOf(const Project& project, const CalcResults& results, int pile);

// The profile of pile `pile` at `points` equally spaced sections from head to
// tip (at least 2) plus the section of its ground moment; empty points when the
// run did not reach the pile's head forces.
PileProfile ProfileOf(const Project& project, const CalcResults& results, int pile, int points);

}  // namespace hasorin::engine
