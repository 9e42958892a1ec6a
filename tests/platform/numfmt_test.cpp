#include "numfmt.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <random>

namespace hasorin {
namespace {

TEST(FormatNumber, PatternsUsedAcrossTheProgram) {
  EXPECT_EQ(FormatNumber(1234, "##,##0"), "1,234");
  EXPECT_EQ(FormatNumber(53, "##,##0）"), "53）");
  EXPECT_EQ(FormatNumber(12.25, "###0.0"), "12.3");
  EXPECT_EQ(FormatNumber(0.5, "#0.000"), "0.500");
  EXPECT_EQ(FormatNumber(1, "0.00"), "1.00");
  EXPECT_EQ(FormatNumber(7, "#0"), "7");
  EXPECT_EQ(FormatNumber(0, "##0"), "0");
  EXPECT_EQ(FormatNumber(3.14159, "###0.00\\, "), "3.14, ");
  EXPECT_EQ(FormatNumber(-1.5, "###0.000000\\, "), "-1.500000, ");
  EXPECT_EQ(FormatNumber(12, "####0\\, "), "12, ");
  EXPECT_EQ(FormatNumber(99999999, "##,###,##0"), "99,999,999");
  EXPECT_EQ(FormatNumber(100000, "#######0"), "100000");
  EXPECT_EQ(FormatNumber(-99999999.99, "##,###,##0.00"), "-99,999,999.99");
  EXPECT_EQ(FormatNumber(-12345678.9, "#######0.00"), "-12345678.90");
}

TEST(FormatNumber, RoundsHalfAwayFromZeroOnTheDecimalText) {
  EXPECT_EQ(FormatNumber(0.5, "0"), "1");
  EXPECT_EQ(FormatNumber(1.5, "0"), "2");
  EXPECT_EQ(FormatNumber(2.5, "0"), "3");
  EXPECT_EQ(FormatNumber(-2.5, "0"), "-3");
  EXPECT_EQ(FormatNumber(0.49999, "0"), "0");
  // Binary doubles just below the half must still round as the decimal reads.
  EXPECT_EQ(FormatNumber(1.005, "0.00"), "1.01");
  EXPECT_EQ(FormatNumber(2.675, "0.00"), "2.68");
  EXPECT_EQ(FormatNumber(-0.125, "#0.00"), "-0.13");
  // A carry through every digit adds one.
  EXPECT_EQ(FormatNumber(999.96, "##,##0.0"), "1,000.0");
  EXPECT_EQ(FormatNumber(9.9999, "0"), "10");
}

TEST(FormatNumber, NothingThatShowsAsZeroCarriesAMinusSign) {
  EXPECT_EQ(FormatNumber(-0.0, "0.000"), "0.000");
  EXPECT_EQ(FormatNumber(-0.0004, "0.000"), "0.000");
  EXPECT_EQ(FormatNumber(-0.0005, "0.000"), "-0.001");
  EXPECT_EQ(FormatNumber(-0.4, "##,##0"), "0");
  const char* drawing = "+##0.000;-##0.000;0.000";
  EXPECT_EQ(FormatNumber(1.5, drawing), "+1.500");
  EXPECT_EQ(FormatNumber(-1.5, drawing), "-1.500");
  EXPECT_EQ(FormatNumber(1234.5678, drawing), "+1234.568");
  EXPECT_EQ(FormatNumber(0, drawing), "0.000");
  EXPECT_EQ(FormatNumber(-0.0, drawing), "0.000");
  EXPECT_EQ(FormatNumber(-0.0004, drawing), "0.000");
  EXPECT_EQ(FormatNumber(0.0004, drawing), "0.000");
}

TEST(FormatNumber, Sections) {
  EXPECT_EQ(FormatNumber(-5, "0;(0)"), "(5)");
  EXPECT_EQ(FormatNumber(0, "0;(0)"), "0");
  EXPECT_EQ(FormatNumber(0, "0.0;-0.0;\"なし\""), "なし");
  EXPECT_EQ(FormatNumber(0, "0;-0;\\-"), "-");
  // An empty negative section falls back to the positive one with a minus.
  EXPECT_EQ(FormatNumber(-5, "0;;z"), "-5");
  EXPECT_EQ(FormatNumber(0, "0;;z"), "z");
  // Escaped and quoted semicolons do not split sections.
  EXPECT_EQ(FormatNumber(-5, "0\\;"), "-5;");
  EXPECT_EQ(FormatNumber(5, "0\";\""), "5;");
}

TEST(FormatNumber, WideValuesGroupingAndPlaceholders) {
  EXPECT_EQ(FormatNumber(12345.6, "##0.0"), "12345.6");
  EXPECT_EQ(FormatNumber(123456789, "#0"), "123456789");
  EXPECT_EQ(FormatNumber(1234567, "##,##0"), "1,234,567");
  EXPECT_EQ(FormatNumber(-1234, "##,##0"), "-1,234");
  EXPECT_EQ(FormatNumber(-123, "##,##0"), "-123");
  EXPECT_EQ(FormatNumber(5, "0,000"), "0,005");
  EXPECT_EQ(FormatNumber(1e20, "#0"), "100000000000000000000");
  EXPECT_EQ(FormatNumber(5, "0##"), "005");
  EXPECT_EQ(FormatNumber(0.5, "#.00"), ".50");
  EXPECT_EQ(FormatNumber(12.5, ".00"), "12.50");
  EXPECT_EQ(FormatNumber(0, "#"), "");
  EXPECT_EQ(FormatNumber(1.5, "0.0#"), "1.5");
  EXPECT_EQ(FormatNumber(1.25, "0.0#"), "1.25");
  EXPECT_EQ(FormatNumber(1234, "00-00"), "12-34");
}

TEST(FormatNumber, Literals) {
  // Report fields: "\" + "\#,###" prints a literal backslash before the digits.
  EXPECT_EQ(FormatNumber(1234, "\\\\#,###"), "\\1,234");
  EXPECT_EQ(FormatNumber(1234, "\\#,###"), "#1,234");
  EXPECT_EQ(FormatNumber(-3, "\\$0"), "-$3");
  EXPECT_EQ(FormatNumber(2.5, "0.0ｍ＊"), "2.5ｍ＊");
  EXPECT_EQ(FormatNumber(2, "\\①0"), "①2");
  EXPECT_EQ(FormatNumber(2, "0\\"), "2");
  EXPECT_EQ(FormatNumber(2, "0\"unterminated"), "2unterminated");
  EXPECT_EQ(FormatNumber(2, "abc"), "abc");
}

TEST(FormatNumber, UnusualValuesAndPatterns) {
  EXPECT_EQ(FormatNumber(std::nan(""), "0.00"), "NaN");
  EXPECT_EQ(FormatNumber(-HUGE_VAL, "0.00"), "-Infinity");
  EXPECT_EQ(FormatNumber(2.5, ""), "2.5");
  EXPECT_EQ(FormatNumber(1e-300, "0.00"), "0.00");
  EXPECT_EQ(FormatNumber(std::numeric_limits<double>::max(), "0").size(), 309u);
  EXPECT_EQ(FormatNumber(1.5, "0.00000000000000000000"), "1.50000000000000000000");
}

TEST(FormatNumber, RandomPatternsAndValuesNeverBreak) {
  // Includes a cut-off multi-byte character and unbalanced quotes and escapes.
  const std::string pieces[] = {"0", "#", ".", ",", ";", "\\", "\"", "x", "）", "\xe3", "+", "-"};
  const double values[] = {0.0, -0.0, 0.5, -2.5, 1e-300, 1e300, -1e300, 123456.789,
                           std::numeric_limits<double>::denorm_min(), -999999999.995};
  std::mt19937 random(2024);
  for (int i = 0; i < 5000; ++i) {
    std::string pattern;
    int length = int(random() % 12);
    for (int k = 0; k < length; ++k) pattern += pieces[random() % std::size(pieces)];
    double value = values[random() % std::size(values)];
    std::string text = FormatNumber(value, pattern);
    EXPECT_LT(text.size(), 450u) << pattern;  // 1e300 grouped is 401 characters
  }
}

TEST(FormatGeneral, ShortestDecimalText) {
  EXPECT_EQ(FormatGeneral(0), "0");
  EXPECT_EQ(FormatGeneral(-0.0), "0");
  EXPECT_EQ(FormatGeneral(1), "1");
  EXPECT_EQ(FormatGeneral(200000), "200000");
  EXPECT_EQ(FormatGeneral(0.5), "0.5");
  EXPECT_EQ(FormatGeneral(-0.25), "-0.25");
  EXPECT_EQ(FormatGeneral(-1234.5), "-1234.5");
  EXPECT_EQ(FormatGeneral(0.1 + 0.2), "0.3");
  EXPECT_EQ(FormatGeneral(2.0 / 3), "0.666666666666667");
  EXPECT_EQ(FormatGeneral(123456789012345.0), "123456789012345");
  EXPECT_EQ(FormatGeneral(0.0001), "0.0001");
  EXPECT_EQ(FormatGeneral(1e15), "1E+15");
  EXPECT_EQ(FormatGeneral(1e20), "1E+20");
  EXPECT_EQ(FormatGeneral(-1.5e100), "-1.5E+100");
  EXPECT_EQ(FormatGeneral(1e-5), "1E-05");
  EXPECT_EQ(FormatGeneral(1.5e-7), "1.5E-07");
  EXPECT_EQ(FormatGeneral(9.9999999999999999e14), "1E+15");
  EXPECT_EQ(FormatGeneral(3.14159, 3), "3.14");
}

TEST(FormatGeneral, ReadsBackThroughLeadingNumber) {
  for (double v : {0.1, -2.5, 1e20, 1e-5, 123456.789, 200000.0, 3.0e-300, -7.25e250}) {
    EXPECT_DOUBLE_EQ(LeadingNumber(FormatGeneral(v)), v) << FormatGeneral(v);
  }
}

TEST(LeadingNumber, ClassicVal) {
  EXPECT_EQ(LeadingNumber("12abc"), 12);
  EXPECT_EQ(LeadingNumber("abc"), 0);
  EXPECT_EQ(LeadingNumber(""), 0);
  EXPECT_EQ(LeadingNumber("-.5x"), -0.5);
  EXPECT_EQ(LeadingNumber(".5"), 0.5);
  EXPECT_EQ(LeadingNumber("1E3"), 1000);
  EXPECT_EQ(LeadingNumber("1D2"), 100);
  EXPECT_EQ(LeadingNumber("1E+20"), 1e20);
  EXPECT_EQ(LeadingNumber("2.5e-3"), 0.0025);
  EXPECT_EQ(LeadingNumber(" 1 2 3"), 123);
  EXPECT_EQ(LeadingNumber("  -  3"), -3);
  EXPECT_EQ(LeadingNumber("+5"), 5);
  EXPECT_EQ(LeadingNumber("1.5.3"), 1.5);
  EXPECT_EQ(LeadingNumber("1,5"), 1);
  EXPECT_EQ(LeadingNumber("1E"), 1);
  EXPECT_EQ(LeadingNumber("1E+"), 1);
  EXPECT_EQ(LeadingNumber("e5"), 0);
  EXPECT_EQ(LeadingNumber("-"), 0);
  EXPECT_EQ(LeadingNumber("."), 0);
  EXPECT_EQ(LeadingNumber("--5"), 0);
}

TEST(LeadingNumber, OutOfRange) {
  EXPECT_EQ(LeadingNumber("1e400"), HUGE_VAL);
  EXPECT_EQ(LeadingNumber("-1e400"), -HUGE_VAL);
  EXPECT_EQ(LeadingNumber("1e-400"), 0);
  EXPECT_EQ(LeadingNumber("0.000001e-320"), 0);
  EXPECT_EQ(LeadingNumber("1e99999999999999999999999"), HUGE_VAL);
  EXPECT_EQ(LeadingNumber("1e-99999999999999999999999"), 0);
  EXPECT_EQ(LeadingNumber(std::string(400, '9')), HUGE_VAL);
  // Exponents at the edge of a long: no overflow while deciding.
  EXPECT_EQ(LeadingNumber("9e9223372036854775807"), HUGE_VAL);
  EXPECT_EQ(LeadingNumber("0.001e-9223372036854775807"), 0);
  EXPECT_EQ(LeadingNumber("0.001e-9223372036854775808"), 0);
}

TEST(LeadingInteger, LeadingSignedDigits) {
  EXPECT_EQ(LeadingInteger("12abc"), 12);
  EXPECT_EQ(LeadingInteger("abc"), 0);
  EXPECT_EQ(LeadingInteger(""), 0);
  EXPECT_EQ(LeadingInteger("-7"), -7);
  EXPECT_EQ(LeadingInteger("  +3"), 3);
  EXPECT_EQ(LeadingInteger("1.9"), 1);
  EXPECT_EQ(LeadingInteger("- 3"), 0);
  EXPECT_EQ(LeadingInteger("99999999999999999999999"), LONG_MAX);
  EXPECT_EQ(LeadingInteger("-99999999999999999999999"), LONG_MIN);
}

}  // namespace
}  // namespace hasorin
