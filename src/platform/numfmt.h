#pragma once
// The one number formatter of the program. Patterns follow the classic BASIC
// Format language used in every report, window and message:
//   "0" digit always shown, "#" digit shown only when significant, "." decimal
//   point, "," (in the integer part) groups thousands, "\x" prints x literally,
//   other characters are literals, ";" separates positive;negative;zero sections.
// Values are rounded half away from zero to the decimals the pattern shows.
#include <string>
#include <string_view>

namespace hasorin {

std::string FormatNumber(double value, std::string_view pattern);

// Shortest plain decimal text with at most `maxSignificant` significant
// digits: "0", "1", "200000", "0.5", "-0.25", "3"; exponent form ("1E+20",
// "1E-05") only where plain text would need more than 15 digits.
std::string FormatGeneral(double value, int maxSignificant = 15);

// The leading number of a text, as the classic Val(): blanks are skipped,
// "12abc" -> 12, "abc" -> 0, "-.5x" -> -0.5, "1E3" -> 1000. Never fails.
double LeadingNumber(std::string_view text);

// The leading signed integer digits of a text ("12abc" -> 12, "abc" -> 0),
// clamped to the range of long. This is how settings integers are read.
long LeadingInteger(std::string_view text);

}  // namespace hasorin
