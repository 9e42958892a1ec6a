#pragma once
// Internal to the analysis stage: the inputs it reads from the project (a run
// that got this far read them without a fault) and the cap assembly.
#include "analysis.h"

namespace hasorin::engine::detail {

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
