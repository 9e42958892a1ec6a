#pragma once
// Internal to the engine: the working copy of the inputs, shared by the
// stages and by both of their builds (see stages.h).
#include <array>
#include <cstddef>

#include "engine.h"

namespace hasorin::engine::detail {

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

// One value of every pile, slot 0 unused: neighbouring piles side by side.
using Column = std::array<double, kMaxPiles + 1>;

// The piles in working units: D, h, L, X, Y, Z in m, dt in mm, A in m2, I in
// m4, Zs in m3, angles in radians, Kv in kN/m.
struct WorkPiles {
  Column D, t, dt, A, I, Zs, h, L, X, Y, Z, phi, psi, Kv;
};

// Member axes of the piles, from the vertical angle phi and plan angle psi.
struct Axes {
  Column sphi, cphi, spsi, cpsi;
};

inline constexpr size_t kTermSlots = 24;

struct Workspace {
  WorkConditions c;
  int n = 0;
  WorkPiles pile;
  Axes axes;  // set by the assembly, used by the forces
  // Each pile's terms of the 21 entries of the stiffness's upper triangle
  // (and slots of padding, always zero), summed afterwards in pile order.
  std::array<std::array<double, kTermSlots>, kMaxPiles + 1> terms;
};

// The 6 x 7 equation matrix: rows X, Y, Z, Mx, My, Mz; columns dx, dy, dz,
// thetax, thetay, thetaz and the loads.
using Matrix67 = std::array<std::array<double, 7>, 6>;

// Keeps the assembled stiffness in the results.
inline void KeepStiffness(const Matrix67& m, CalcResults& r) {
  for (size_t a = 0; a < 6; ++a)
    for (size_t b = 0; b < 6; ++b) r.Stiffness[a][b] = m[a][b];
  r.assembled = true;
}

// The stages that run on lanes, for the processor at hand: four lanes where
// it has AVX2, two otherwise (the same results bit for bit).
struct LaneStages {
  int lanes;
  int (*springs)(const Workspace& w, CalcResults& r);
  int (*assemble)(Workspace& w, const CalcResults& r, Matrix67& m);
  int (*forces)(const Workspace& w, CalcResults& r);
  int (*stress)(const Workspace& w, CalcResults& r);
};
const LaneStages& Stages();
// For tests: the build of `lanes` (2 or 4) from now on, or the processor's
// choice for 0. False, and nothing changed, when this processor or build
// has no such build.
bool UseLanes(int lanes);

// The four-lane build, compiled for AVX2 (stages_avx2.cpp).
namespace lanes4 {
int CalcSprings(const Workspace& w, CalcResults& r);
int AssembleGroupStiffness(Workspace& w, const CalcResults& r, Matrix67& m);
int CalcPileHeadForces(const Workspace& w, CalcResults& r);
int CalcStressCheck(const Workspace& w, CalcResults& r);
}  // namespace lanes4

}  // namespace hasorin::engine::detail
