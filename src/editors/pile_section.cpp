#include "pile_section.h"

#include <cmath>

namespace hasorin {

std::optional<PileSection> ComputePileSection(double D, double t, double dt) {
  constexpr double pi = 3.141592654;
  const double outer = D - 2 * dt / 1000;
  const double inner = t / 1000 > 0.001 ? D - 2 * t / 1000 : 0.0;
  if (outer == 0) return std::nullopt;
  const double o4 = std::pow(outer, 4), i4 = std::pow(inner, 4);
  PileSection s{pi / 4 * (outer * outer - inner * inner) * 1e4, pi / 64 * (o4 - i4) * 1e8,
                pi / (32 * outer) * (o4 - i4) * 1e6};
  if (!std::isfinite(s.A) || !std::isfinite(s.I) || !std::isfinite(s.Z)) return std::nullopt;
  return s;
}

}  // namespace hasorin
