// The streaming JSON writer: numbers read back exactly and look as the JSON
// library writes them, strings are escaped, commas fall where they belong.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>
#include <random>

#include "json_writer.h"

namespace hasorin::cli {
namespace {

std::string Number(double x) {
  std::string out;
  AppendJsonNumber(out, x);
  return out;
}

TEST(JsonWriter, NumbersInEveryLayout) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0.0, "0.0"},
      {-0.0, "-0.0"},
      {1.0, "1.0"},
      {200000.0, "200000.0"},                     // whole numbers stay reals
      {187234.11370853, "187234.11370853"},
      {-32.466, "-32.466"},
      {0.1, "0.1"},
      {0.0001, "0.0001"},                         // the smallest without exponent
      {0.00012345, "0.00012345"},
      {0.00001, "1e-05"},                         // two exponent digits at least
      {6.47757e-5, "6.47757e-05"},
      {999999999999999.0, "999999999999999.0"},   // the largest without exponent
      {1e15, "1e+15"},
      {1.5e16, "1.5e+16"},
      {1e100, "1e+100"},
      {5e-324, "5e-324"},
      {std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
      {std::nan(""), "null"},
      {inf, "null"},
      {-inf, "null"},
  };
  for (const auto& c : cases) EXPECT_EQ(Number(c.value), c.text) << c.value;
}

// Doubles of every magnitude and bit pattern: each reads back as itself and
// is laid out as the JSON library writes it. The library's digits are not
// always the shortest or the closest (about one number in a thousand); ours
// then are never longer and read back as the same double.
TEST(JsonWriter, NumbersReadBackExactlyAndMatchTheLibrary) {
  std::mt19937_64 random(16);
  int differ = 0;
  for (int n = 0; n < 200000; ++n) {
    double x = std::bit_cast<double>(random());
    if (!std::isfinite(x)) continue;
    if (n % 2) x = std::ldexp(std::fmod(x, 1.0), int(random() % 80) - 40);  // everyday sizes
    const std::string text = Number(x);
    double back = 0;
    std::from_chars(text.data(), text.data() + text.size(), back);
    ASSERT_EQ(std::bit_cast<std::uint64_t>(back), std::bit_cast<std::uint64_t>(x)) << text;
    const std::string library = nlohmann::json(x).dump();
    if (text != library) {
      ++differ;
      EXPECT_LE(text.size(), library.size()) << text << " " << library;
      EXPECT_EQ(nlohmann::json::parse(library).get<double>(), x) << library;
    }
  }
  EXPECT_LT(differ, 1000);
}

TEST(JsonWriter, NestedValuesAndEscapedStrings) {
  std::string out;
  JsonWriter json(out);
  json.BeginObject();
  json.Key("format").Int(1);
  json.Key("empty").BeginArray().EndArray();
  json.Key("list").BeginArray().Int(-7).Null().Bool(true).Bool(false).BeginObject().EndObject();
  json.BeginArray().Number(2.5).EndArray().EndArray();
  json.Key("text").String("杭\"1\"\\\n\t\x01\x7f");
  json.Key("bad").String("a\xff" "b\xe6\x9d" "c");  // a stray byte, a cut sequence
  json.Key("quoted\"key").BeginObject().Key("x").Number(0.5).EndObject();
  json.EndObject();
  EXPECT_EQ(out,
            "{\"format\":1,\"empty\":[],\"list\":[-7,null,true,false,{},[2.5]],"
            "\"text\":\"杭\\\"1\\\"\\\\\\n\\t\\u0001\x7f\","
            "\"bad\":\"a\xef\xbf\xbd" "b\xef\xbf\xbd\xef\xbf\xbd" "c\","
            "\"quoted\\\"key\":{\"x\":0.5}}");
  const auto parsed = nlohmann::json::parse(out);
  EXPECT_EQ(parsed["text"], "杭\"1\"\\\n\t\x01\x7f");
  EXPECT_EQ(parsed["list"][5][0], 2.5);
}

}  // namespace
}  // namespace hasorin::cli
