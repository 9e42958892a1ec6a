#pragma once
// The one number formatter of the program. Patterns follow the classic BASIC
// Format language used in every report, window and message:
//   "0" digit always shown, "#" digit shown only when significant, "." decimal
//   point, "," (in the integer part) groups thousands, "\x" prints x literally,
//   other characters are literals ("..." quotes a literal run), ";" separates
//   positive;negative;zero sections.
// Values are rounded half away from zero to the decimals the pattern shows,
// working on the value's 15-digit decimal text (1.005 -> "1.01" with "0.00").
// Digits the pattern has no room for are all printed. A one-section pattern
// puts "-" in front of a negative value; a negative section uses its own signs.
// A value that rounds to zero is formatted as zero: with the zero section if
// there is one, else with the positive section, and never with a minus sign.
// An empty pattern gives FormatGeneral. NaN and infinities print as "NaN",
// "Infinity", "-Infinity".
#include <string>
#include <string_view>

namespace hasorin {

std::string FormatNumber(double value, std::string_view pattern);

// Shortest decimal text with at most `maxSignificant` significant digits:
// "0" (also for -0), "1", "200000", "0.5", "-0.25". The classic exponent form
// ("1E+20", "1.5E-07") is used when the leading digit stands at 10^maxSignificant
// or above, or below 10^-4 ("0.0001" but "1E-05").
std::string FormatGeneral(double value, int maxSignificant = 15);

// The leading number of a text, as the classic Val(): blanks are skipped,
// "12abc" -> 12, "abc" -> 0, "-.5x" -> -0.5, "1E3" -> 1000. Never fails; a
// number too large for a double gives +-infinity, too small gives 0.
double LeadingNumber(std::string_view text);

// The leading signed integer digits of a text ("12abc" -> 12, "abc" -> 0),
// clamped to the range of long. This is how settings integers are read.
long LeadingInteger(std::string_view text);

}  // namespace hasorin
