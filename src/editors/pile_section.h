#pragma once
// Sectional values of a steel pipe pile from its diameter, wall thickness and
// outer corrosion allowance, filled into the pile table as the user types.
#include <optional>

namespace hasorin {

struct PileSection {
  double A;  // cm2
  double I;  // cm4
  double Z;  // cm3
};

// D in m, t and dt in mm. A wall of 1 mm or less counts as a solid section.
// No result when the corroded outer diameter is 0 or a value is not finite;
// the table then keeps its old A, I and Z.
std::optional<PileSection> ComputePileSection(double D, double t, double dt);

}  // namespace hasorin
