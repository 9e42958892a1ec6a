// Cell rules of the pile table: what a typed or pasted text becomes, the
// range hint, the display forms, the section values and clipboard text.
#include <gtest/gtest.h>

#include "pile_clipboard.h"
#include "pile_columns.h"
#include "pile_section.h"

namespace hasorin {
namespace {

PileEntryError ErrorOf(int column, const char* text) {
  return ParsePileEntry(column, QString::fromUtf8(text)).error;
}

double ValueOf(int column, const char* text) {
  PileEntry e = ParsePileEntry(column, QString::fromUtf8(text));
  EXPECT_EQ(e.error, PileEntryError::None) << text;
  return e.value.value_or(-12345);
}

TEST(PileEntry, AcceptsPlainGroupedFullWidthAndBlankTexts) {
  EXPECT_DOUBLE_EQ(ValueOf(kColD, "0.8"), 0.8);
  EXPECT_DOUBLE_EQ(ValueOf(kColD, " .5 "), 0.5);
  EXPECT_DOUBLE_EQ(ValueOf(kColD, "3."), 3.0);
  EXPECT_DOUBLE_EQ(ValueOf(kColA, "1,234.5"), 1234.5);
  EXPECT_DOUBLE_EQ(ValueOf(kColI, "99,999,999"), 99999999);
  EXPECT_DOUBLE_EQ(ValueOf(8, "-12.345"), -12.345);
  EXPECT_DOUBLE_EQ(ValueOf(8, "+1"), 1);
  EXPECT_DOUBLE_EQ(ValueOf(kColD, "１．２"), 1.2);   // full-width from a Japanese sheet
  EXPECT_DOUBLE_EQ(ValueOf(8, "−５"), -5);          // U+2212 minus
  EXPECT_DOUBLE_EQ(ValueOf(kColI, "1.5E+3"), 1500);  // how spreadsheets show wide numbers
  EXPECT_DOUBLE_EQ(ValueOf(kColD, "0.1000"), 0.1);   // trailing zeros are not decimals
  EXPECT_FALSE(ParsePileEntry(kColD, QString()).value.has_value());
  EXPECT_EQ(ErrorOf(kColD, "   "), PileEntryError::None);
  EXPECT_FALSE(ParsePileEntry(kColD, QStringLiteral("\t ")).value.has_value());
  // Minus zero is plain zero.
  PileEntry zero = ParsePileEntry(kColT, QStringLiteral("-0"));
  ASSERT_TRUE(zero.value);
  EXPECT_FALSE(std::signbit(*zero.value));
}

TEST(PileEntry, LimitsAreInclusiveAndEnforced) {
  EXPECT_DOUBLE_EQ(ValueOf(kColD, "0.1"), 0.1);
  EXPECT_DOUBLE_EQ(ValueOf(kColD, "3.000"), 3.0);
  EXPECT_EQ(ErrorOf(kColD, "0.099"), PileEntryError::OutOfRange);
  EXPECT_EQ(ErrorOf(kColD, "3.001"), PileEntryError::OutOfRange);
  EXPECT_EQ(ErrorOf(kColD, "0"), PileEntryError::OutOfRange);
  EXPECT_EQ(ErrorOf(7, "0"), PileEntryError::OutOfRange);  // L: 0.01..99.99
  EXPECT_EQ(ErrorOf(7, "100"), PileEntryError::OutOfRange);
  EXPECT_DOUBLE_EQ(ValueOf(12, "-359.9"), -359.9);
  EXPECT_EQ(ErrorOf(12, "-360"), PileEntryError::OutOfRange);
  EXPECT_EQ(ErrorOf(kColI, "100,000,000"), PileEntryError::OutOfRange);
  EXPECT_EQ(ErrorOf(13, "-1"), PileEntryError::OutOfRange);
  EXPECT_EQ(ErrorOf(kColI, "1E+300"), PileEntryError::OutOfRange);
}

TEST(PileEntry, RefusesTooManyDecimalsAndNonNumbers) {
  EXPECT_EQ(ErrorOf(kColD, "1.2345"), PileEntryError::TooManyDecimals);
  EXPECT_EQ(ErrorOf(kColI, "12.5"), PileEntryError::TooManyDecimals);
  EXPECT_EQ(ErrorOf(kColI, "1.25E+1"), PileEntryError::TooManyDecimals);
  EXPECT_EQ(ErrorOf(8, "1.0005"), PileEntryError::TooManyDecimals);
  for (const char* bad : {"abc", "1.2.3", "1,23", "12,34.5", "--1", ".", "-", "e5", "1e", "0x10",
                          "1 2", "杭径Ｄ(m)", "1e99999"})
    EXPECT_EQ(ErrorOf(kColA, bad), PileEntryError::NotNumber) << bad;
}

TEST(PileColumnsText, RangeHintsDisplayPatternsAndRefusals) {
  EXPECT_EQ(PileRangeHint(kColD), QStringLiteral("入力範囲：0.1～3"));
  EXPECT_EQ(PileRangeHint(8), QStringLiteral("入力範囲：-999.999～999.999"));
  EXPECT_EQ(PileRangeHint(kColI), QStringLiteral("入力範囲：1～99999999"));
  EXPECT_EQ(PileRefusalText(kColD, PileEntryError::TooManyDecimals),
            QStringLiteral("入力範囲：0.1～3（小数点以下3桁まで）"));
  EXPECT_EQ(PileRefusalText(kColZ, PileEntryError::TooManyDecimals),
            QStringLiteral("入力範囲：1～99999999（整数のみ）"));

  EXPECT_EQ(PileDisplayText(kColD, 0.1), QStringLiteral("0.100"));
  EXPECT_EQ(PileDisplayText(kColA, 12345.5), QStringLiteral("12,345.50"));
  EXPECT_EQ(PileDisplayText(kColI, 415392), QStringLiteral("415,392"));
  EXPECT_EQ(PileDisplayText(13, 99999999), QStringLiteral("99,999,999"));
  EXPECT_EQ(PileDisplayText(8, -1.5), QStringLiteral("-1.500"));
  EXPECT_EQ(PileDisplayText(kColT, 0), QStringLiteral("0.0"));
  EXPECT_EQ(PileDisplayText(kColT, PileCell()), QString());
  EXPECT_EQ(PileCopyText(kColI, 415392), QStringLiteral("415392"));
  EXPECT_EQ(PileCopyText(kColA, 12345.5), QStringLiteral("12345.50"));
  EXPECT_EQ(PileEditText(0.8), QStringLiteral("0.8"));

  // Every displayed and copied value reads back as itself.
  for (int c = 0; c < kPileColumns; ++c) {
    const PileColumn& col = PileColumns()[size_t(c)];
    for (double v : {col.lower, col.upper}) {
      EXPECT_DOUBLE_EQ(ValueOf(c, PileDisplayText(c, v).toUtf8().constData()), v) << c;
      EXPECT_DOUBLE_EQ(ValueOf(c, PileCopyText(c, v).toUtf8().constData()), v) << c;
    }
  }
}

TEST(PileColumnsText, DefaultRowHoldsTheDefaultsEvenOutsideLimits) {
  PileRow row = PileDefaultRow();
  const double expected[kPileColumns] = {0.1, 0, 0, 0.01, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0};
  for (int c = 0; c < kPileColumns; ++c) {
    ASSERT_TRUE(row[size_t(c)]) << c;
    EXPECT_DOUBLE_EQ(*row[size_t(c)], expected[c]) << c;
  }
}

TEST(PileSectionValues, PipeSolidAndFailure) {
  auto s = ComputePileSection(1.0, 12.0, 1.0);
  ASSERT_TRUE(s);
  EXPECT_NEAR(s->A, 341.08, 0.005);
  EXPECT_NEAR(s->I, 415392, 0.5);
  EXPECT_NEAR(s->Z, 8324.5, 0.05);

  // t = 1 mm is not a pipe wall: the section is solid.
  auto solid = ComputePileSection(1.0, 1.0, 1.0);
  ASSERT_TRUE(solid);
  const double pi = 3.141592654, d = 0.998;
  EXPECT_NEAR(solid->A, pi / 4 * d * d * 1e4, 1e-6);
  EXPECT_NEAR(solid->I, pi / 64 * d * d * d * d * 1e8, 1e-3);
  EXPECT_NEAR(solid->Z, pi / 32 * d * d * d * 1e6, 1e-3);
  auto thin = ComputePileSection(1.0, 1.1, 0);
  ASSERT_TRUE(thin);
  EXPECT_LT(thin->A, solid->A / 10);

  // Corrosion eating the whole diameter: nothing to compute.
  EXPECT_FALSE(ComputePileSection(0.1, 10, 50));
  EXPECT_FALSE(ComputePileSection(0, 0, 0));
}

TEST(PileTabText, SplitsSpreadsheetClipboardText) {
  PileTextBlock b = SplitTabText(QStringLiteral("1\t2\r\n3\t\r\n"));
  ASSERT_EQ(b.size(), 2u);
  EXPECT_EQ(b[0], (QStringList{"1", "2"}));
  EXPECT_EQ(b[1], (QStringList{"3", ""}));
  EXPECT_EQ(SplitTabText(QStringLiteral("a\nb")).size(), 2u);
  EXPECT_EQ(SplitTabText(QStringLiteral("a\rb\r")).size(), 2u);
  EXPECT_TRUE(SplitTabText(QString()).empty());
  // A lone line end is one empty cell, as a spreadsheet copies a blank cell.
  PileTextBlock blank = SplitTabText(QStringLiteral("\r\n"));
  ASSERT_EQ(blank.size(), 1u);
  EXPECT_EQ(blank[0], QStringList{QString()});
  // Only one trailing line end is dropped; an inner blank row stays.
  EXPECT_EQ(SplitTabText(QStringLiteral("1\n\n2\n")).size(), 3u);

  EXPECT_EQ(JoinTabText({{"1", "2"}, {"3", ""}}), QStringLiteral("1\t2\r\n3\t\r\n"));
  EXPECT_EQ(SplitTabText(JoinTabText({{"1", "2"}, {"3", ""}})),
            (PileTextBlock{{"1", "2"}, {"3", ""}}));
}

}  // namespace
// Every section a thin pipe can give is shown whole; a Z beyond any column
// width shows "#" marks, never a clipped number.
TEST(PileCells, ComputedSectionsAreShownWholeOrAsMarks) {
  const auto thin = ComputePileSection(0.1, 999.9, 49.9);  // do = 0.2 mm
  ASSERT_TRUE(thin);
  EXPECT_EQ(PileShownText(kColI, thin->I), PileDisplayText(kColI, thin->I));
  EXPECT_EQ(PileShownText(kColZ, thin->Z), QString(PileWidestText(kColZ).size(), QLatin1Char('#')));
  EXPECT_EQ(PileShownText(kColI, 191747599.0), QStringLiteral("191,747,599"));
  EXPECT_EQ(PileSectionOutOfRange({1.0, 12.0, 0.0, 341.08, 415392.0, 8324.0}), -1);
  EXPECT_EQ(PileSectionOutOfRange({2.5, 0.0, 0.0, 49087.39, 191747599.0, 1533981.0}), kColI);
}

}  // namespace hasorin
