#pragma once
// The checks of `hasorin-cli verify`: the product's own engine against
// independent solutions, physical laws and the worked values of its rules.
// docs/verification.md describes every check, its source and its tolerance.
#include <string>
#include <vector>

namespace hasorin::cli {

struct CheckResult {
  std::string name;
  double figure = 0;     // the measured deviation, in the check's own terms
  double tolerance = 0;  // passes when figure <= tolerance
  bool pass() const { return figure <= tolerance; }
};

std::vector<CheckResult> RunVerification();

}  // namespace hasorin::cli
