#pragma once
// Internal to the engine: the checked arithmetic, the working copy of the
// inputs and the stages of the pipeline, in the order they run.
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "engine.h"

namespace hasorin::engine::detail {

// Arithmetic that stops at the first failing step. Chains of +, -, * keep a
// non-finite value non-finite, so they are checked where their value is used:
// by a division, a square root, a comparison or a store. Once failed, later
// steps compute garbage that is never stored, and the first code is kept.
// The checks are one predictable branch each; the failures are out of line.
class Guard {
 public:
  int code() const { return code_; }
  bool ok() const { return code_ == 0; }

  double Finite(double x) {
    if (!IsFinite(x)) [[unlikely]]
      return Fail(calcerr::kOverflow);
    return x;
  }
  // The dividend and divisor are evaluated first, so an overflow there wins
  // over the division by zero; 0/0 counts as a division by zero. A finite
  // quotient of a finite divisor means neither happened.
  double Div(double a, double b) {
    const double q = a / b;
    if (!(IsFinite(q) & IsFinite(b))) [[unlikely]]
      return DivFailed(a, b);
    return q;
  }
  double Sqrt(double x) {
    if (!(x >= 0.0 && x <= kMax)) [[unlikely]]
      return Fail(std::isnan(x) || x > kMax ? calcerr::kOverflow : calcerr::kInvalidArgument);
    return std::sqrt(x);
  }
  // Writes one result slot unless the run has failed (now or before) and
  // marks the slot as computed by this run.
  bool Put(PileTable& table, int pile, double value) {
    if (!(IsFinite(value) & (code_ == 0))) [[unlikely]] {
      Finite(value);
      return false;
    }
    table[pile] = value;
    table.computed = pile;
    return true;
  }
  double Fail(int code) {
    if (code_ == 0) code_ = code;
    return 0.0;
  }

 private:
  static constexpr double kMax = std::numeric_limits<double>::max();
  static bool IsFinite(double x) { return std::fabs(x) <= kMax; }
  [[gnu::noinline, gnu::cold]] double DivFailed(double a, double b) {
    if (!IsFinite(a) || !IsFinite(b)) return Fail(calcerr::kOverflow);
    if (b == 0.0) return Fail(calcerr::kDivisionByZero);
    return Fail(calcerr::kOverflow);  // the quotient itself overflowed
  }

  int code_ = 0;
};

// Pile tables usually hold a few kinds of pile in blocks (the pile editor
// sorts them by diameter): a pile whose inputs equal, bit for bit, those of
// the pile before it gets the same values without computing them again.
inline bool SameBits(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// Calculation conditions and loads in working units (kN, m, kN/m2).
struct WorkConditions {
  double Ep = 0;        // kN/m2
  double kh = 0;        // kN/m3
  int head = 0;         // 0 rigid, otherwise hinged
  int tip = 0;          // 1 hinged, 2 free, otherwise fixed
  int kvChoice = 0;     // 0 computed, otherwise the entered value
  double alpha = 0;     // allowable-stress increase factor
  std::array<double, 6> loads{};  // Xo, Yo, Zo, Mxo, Myo, Mzo
};

// One pile in working units: D, h, L, X, Y, Z in m, dt in mm, A in m2, I in
// m4, Zs in m3, angles in radians, Kv in kN/m.
struct WorkPile {
  double D, t, dt, A, I, Zs, h, L, X, Y, Z, phi, psi, Kv;
};

// Member axes of a pile, from its vertical angle phi and plan angle psi.
struct Axes {
  double sphi, cphi, spsi, cpsi;
};

struct Workspace {
  WorkConditions c;
  int n = 0;
  std::array<WorkPile, kMaxPiles + 1> pile;
  std::array<Axes, kMaxPiles + 1> axes;  // set by the assembly, used by the forces
};

// The 6 x 7 equation matrix: rows X, Y, Z, Mx, My, Mz; columns dx, dy, dz,
// thetax, thetay, thetaz and the loads.
using Matrix67 = std::array<std::array<double, 7>, 6>;

// Steps 1 and 2: conditions, loads and the pile table in working form.
int ReadInputs(const Project& project, Workspace& w, CalcResults& r);
// Pile springs: beta, Kt, Kv for every pile, then K1..K4 for every pile.
int CalcSprings(const Workspace& w, CalcResults& r);
// Group stiffness at the origin with the loads in column 7.
int AssembleGroupStiffness(Workspace& w, const CalcResults& r, Matrix67& m);
// Gauss-Jordan elimination without pivoting; false on a zero or noise-level
// pivot or an overflow. On success `x` holds the six cap values.
bool SolveGroupStiffness(Matrix67 m, std::array<double, 6>& x);
// Pile-head displacements, member forces and stresses for every pile.
int CalcPileHeadForces(const Workspace& w, CalcResults& r);
// Stress check of every pile for both steel grades.
int CalcStressCheck(const Workspace& w, CalcResults& r);

}  // namespace hasorin::engine::detail
