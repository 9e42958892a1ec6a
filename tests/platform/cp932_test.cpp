#include "cp932.h"

#include <gtest/gtest.h>

namespace hasorin {
namespace {

TEST(Cp932, RoundTripOfJapaneseText) {
  struct Case {
    std::string utf8, bytes;
  } cases[] = {
      {"ﾃﾞｰﾀ", "\xc3\xde\xb0\xc0"},
      {"ＡＢＣ", "\x82\x60\x82\x61\x82\x62"},
      {"①", "\x87\x40"},
      {"～", "\x81\x60"},  // U+FF5E, the CP932 reading of 0x8160
      {"⊿", "\x87\x99"},
      {"杭 No.1 ①～⊿ ﾃﾞｰﾀ", "\x8d\x59 No.1 \x87\x40\x81\x60\x87\x99 \xc3\xde\xb0\xc0"},
      {"", ""},
  };
  for (const Case& c : cases) {
    bool lossless = false;
    EXPECT_EQ(Utf8ToCp932(c.utf8, &lossless), c.bytes) << c.utf8;
    EXPECT_TRUE(lossless) << c.utf8;
    EXPECT_EQ(Cp932ToUtf8(c.bytes), c.utf8);
  }
}

// Every byte below 0x80 is the same code point and back, control codes
// included, as Windows reads them.
TEST(Cp932, AsciiBytesAreTheirOwnCodePoints) {
  std::string bytes;
  for (int b = 1; b < 0x80; ++b) bytes += char(b);
  const auto text = Cp932ToUtf8(bytes);
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(*text, bytes);
  EXPECT_EQ(Utf8ToCp932(bytes), bytes);
  EXPECT_EQ(Utf8ToCp932("\x1a\x1c\x7f①"), "\x1a\x1c\x7f\x87\x40");
}

TEST(Cp932, InvalidBytesAndUnencodableText) {
  for (std::string bad : {"\x81", "abc\x81", "\x81\x20", "\xff", "\x85\x40"}) {
    EXPECT_FALSE(Cp932ToUtf8(bad).has_value()) << ::testing::PrintToString(bad);
  }
  bool lossless = true;
  Utf8ToCp932("a😀b", &lossless);
  EXPECT_FALSE(lossless);
}

TEST(Cp932, LengthIsPrintColumns) {
  EXPECT_EQ(Cp932Length(std::string_view("abc")), 3);
  EXPECT_EQ(Cp932Length(std::string_view("ｱｲｳ")), 3);
  EXPECT_EQ(Cp932Length(std::string_view("杭配置図")), 8);
  EXPECT_EQ(PrintColumns(std::string_view("杭 No.1 ①")), 10);
  EXPECT_EQ(PrintColumns(QStringLiteral("ＡＢ")), 4);
  EXPECT_TRUE(IsCp932LeadByte(0x81));
  EXPECT_TRUE(IsCp932LeadByte(0xFC));
  EXPECT_FALSE(IsCp932LeadByte(0xA0));
  EXPECT_FALSE(IsCp932LeadByte(0xC3));  // half-width katakana stand alone
}

}  // namespace
}  // namespace hasorin
