#pragma once
// An independent reference for the lateral pile springs: a finite-element
// solution of a beam on a Winkler foundation (cubic Hermite beam elements with
// the consistent foundation matrix), which shares nothing with the engine's
// closed forms. Used by `hasorin-cli verify`.

namespace hasorin::cli {

struct ReferencePile {
  double EI = 0;     // kN·m2
  double k = 0;      // foundation modulus kh·D', kN/m2 (4 EI beta^4)
  double h = 0;      // free length, m
  double l = 0;      // embedded length, m
  int tip = 2;       // 1 hinged, 2 free, otherwise fixed
  bool hingedHead = false;
  double maxElement = 0.01;  // element length, m
};

// Head stiffness of the pile: force and moment conjugate to the head's
// deflection and slope. For a hinged head only k11 (the moment left free).
struct HeadStiffness {
  double k11 = 0, k12 = 0, k22 = 0;
  bool ok = false;
};
HeadStiffness ReferenceHeadStiffness(const ReferencePile& pile);

}  // namespace hasorin::cli
