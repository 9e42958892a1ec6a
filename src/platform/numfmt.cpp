#include "numfmt.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <string>
#include <unordered_map>
#include <vector>

namespace hasorin {
namespace {

// A non-negative decimal number as significant digits and the position of the
// decimal point: digits "12345", point 2 is 12.345; point -1 is 0.012345.
struct Decimal {
  std::string digits;  // no leading zeros; empty for zero
  int point = 0;
};

// The value's decimal text with at most `significant` digits. Rounding is then
// done on this text, so that 1.005 (stored as 1.00499999...) rounds like the
// decimal number the user typed.
Decimal ToDecimal(double magnitude, int significant) {
  Decimal d;
  if (magnitude == 0) return d;
  char buf[64];
  // Up to 15 digits the shortest text that reads back as a normal double is,
  // when short enough, also its rounding to `significant` digits, and cheaper.
  auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific);
  std::string_view text(buf, size_t(res.ptr - buf));
  size_t e = text.find('e');
  if (significant > 15 || magnitude < 1e-300 || e - (e > 1 ? 1 : 0) > size_t(significant)) {
    res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific,
                        significant - 1);
    text = std::string_view(buf, size_t(res.ptr - buf));
    e = text.find('e');
  }
  for (char c : text.substr(0, e)) {
    if (c != '.') d.digits += c;
  }
  int exponent = 0;
  std::string_view expText = text.substr(e + 1);
  if (!expText.empty() && expText[0] == '+') expText.remove_prefix(1);
  std::from_chars(expText.data(), expText.data() + expText.size(), exponent);
  d.point = exponent + 1;
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  return d;
}

// Rounds half away from zero to `decimals` places after the point.
void RoundDecimal(Decimal& d, int decimals) {
  long keep = long(d.point) + decimals;
  if (keep >= long(d.digits.size())) return;
  if (keep < 0) {
    d.digits.clear();
    return;
  }
  bool up = d.digits[size_t(keep)] >= '5';
  d.digits.resize(size_t(keep));
  if (up) {
    size_t i = d.digits.size();
    while (i > 0 && d.digits[i - 1] == '9') {
      d.digits[i - 1] = '0';
      --i;
    }
    if (i == 0) {
      d.digits.insert(d.digits.begin(), '1');
      ++d.point;
    } else {
      ++d.digits[i - 1];
    }
  }
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
}

// Digit `k` of the number, counting from the decimal point: k = 0 is the
// units digit, 1 the tens, -1 the tenths.
char DigitAt(const Decimal& d, int k) {
  long index = long(d.point) - 1 - k;
  if (index < 0 || index >= long(d.digits.size())) return '0';
  return d.digits[size_t(index)];
}

struct Token {
  enum Kind { Digit, Point, Literal } kind;
  char placeholder = 0;  // '0' or '#' for Digit
  std::string text;      // for Literal
};

// Splits a pattern into sections at ';' outside escapes and quotes.
std::vector<std::string_view> SplitSections(std::string_view pattern) {
  std::vector<std::string_view> sections;
  size_t start = 0;
  bool quoted = false;
  for (size_t i = 0; i < pattern.size(); ++i) {
    char c = pattern[i];
    if (quoted) {
      if (c == '"') quoted = false;
    } else if (c == '"') {
      quoted = true;
    } else if (c == '\\') {
      ++i;
    } else if (c == ';') {
      sections.push_back(pattern.substr(start, i - start));
      start = i + 1;
    }
  }
  sections.push_back(pattern.substr(start));
  return sections;
}

// Length of the UTF-8 character starting at byte i (at least 1, never past the end).
size_t Utf8CharLength(std::string_view s, size_t i) {
  auto b = static_cast<unsigned char>(s[i]);
  size_t n = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
  return std::min(n, s.size() - i);
}

struct Section {
  std::vector<Token> tokens;
  int integerPlaces = 0;
  int decimals = 0;
  bool grouping = false;
  bool hasPoint = false;
};

Section ParseSection(std::string_view s) {
  Section sec;
  auto literal = [&](std::string_view text) {
    if (!sec.tokens.empty() && sec.tokens.back().kind == Token::Literal) {
      sec.tokens.back().text += text;
    } else {
      sec.tokens.push_back({Token::Literal, 0, std::string(text)});
    }
  };
  for (size_t i = 0; i < s.size();) {
    char c = s[i];
    if (c == '0' || c == '#') {
      sec.tokens.push_back({Token::Digit, c, {}});
      (sec.hasPoint ? sec.decimals : sec.integerPlaces)++;
      ++i;
    } else if (c == '.' && !sec.hasPoint) {
      sec.hasPoint = true;
      sec.tokens.push_back({Token::Point, 0, {}});
      ++i;
    } else if (c == ',' && !sec.hasPoint) {
      sec.grouping = true;
      ++i;
    } else if (c == '\\') {
      if (i + 1 < s.size()) {
        size_t n = Utf8CharLength(s, i + 1);
        literal(s.substr(i + 1, n));
        i += 1 + n;
      } else {
        ++i;  // a lone trailing backslash escapes nothing
      }
    } else if (c == '"') {
      size_t end = s.find('"', i + 1);
      if (end == std::string_view::npos) end = s.size();
      literal(s.substr(i + 1, end - i - 1));
      i = end + 1;
    } else {
      size_t n = Utf8CharLength(s, i);
      literal(s.substr(i, n));
      i += n;
    }
  }
  return sec;
}

bool IsZero(const Decimal& d) { return d.digits.empty(); }

// Formats a non-negative, already rounded number with one section.
std::string Render(const Section& sec, const Decimal& d) {
  // Integer digits the number needs (none for a value below 1).
  int needed = d.point > 0 ? d.point : 0;
  int places = sec.integerPlaces;
  // Placeholders left of the leftmost '0' show only significant digits.
  int firstZero = places;  // placeholder index from the left
  {
    int k = 0;
    for (const Token& t : sec.tokens) {
      if (t.kind == Token::Point) break;
      if (t.kind != Token::Digit) continue;
      if (t.placeholder == '0') {
        firstZero = k;
        break;
      }
      ++k;
    }
  }
  int shown = std::max(needed, places - firstZero);  // integer digits printed

  // The last decimal placeholder that prints: '#' drops trailing zeros.
  int lastDecimal = -1;
  {
    int k = 0;
    for (const Token& t : sec.tokens) {
      if (t.kind != Token::Digit) continue;
      if (k >= places) {
        int j = k - places;
        if (t.placeholder == '0' || DigitAt(d, -(j + 1)) != '0') lastDecimal = j;
      }
      ++k;
    }
  }

  // Appends integer digits with positions from..to (descending), grouped.
  std::string out;
  auto emitInteger = [&](int from, int to) {
    for (int k = from; k >= to; --k) {
      out += DigitAt(d, k);
      if (sec.grouping && k > 0 && k % 3 == 0) out += ',';
    }
  };

  int placeholder = 0;  // index over all digit placeholders
  bool integerDone = false;
  auto finishIntegerWithoutPlaces = [&] {
    if (!integerDone && places == 0 && shown > 0) emitInteger(shown - 1, 0);
    integerDone = true;
  };
  for (const Token& t : sec.tokens) {
    switch (t.kind) {
      case Token::Literal:
        out += t.text;
        break;
      case Token::Point:
        finishIntegerWithoutPlaces();
        out += '.';
        break;
      case Token::Digit:
        if (placeholder < places) {
          int k = places - 1 - placeholder;  // this placeholder's digit position
          // The leftmost placeholder also takes the digits the pattern has no room for.
          if (k < shown) emitInteger(placeholder == 0 ? std::max(shown - 1, k) : k, k);
        } else {
          int j = placeholder - places;
          if (j <= lastDecimal) out += DigitAt(d, -(j + 1));
        }
        ++placeholder;
        break;
    }
  }
  return out;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

namespace {

// A pattern split into its sections and parsed once: a report formats tens of
// thousands of values with a handful of patterns.
struct ParsedPattern {
  Section positive, negative, zero;
  bool hasNegative = false, hasZero = false;
};

const ParsedPattern& Parsed(std::string_view pattern) {
  thread_local std::unordered_map<std::string, ParsedPattern> cache;
  auto it = cache.find(std::string(pattern));
  if (it != cache.end()) return it->second;
  if (cache.size() >= 256) cache.clear();  // patterns built on the fly must not pile up
  std::vector<std::string_view> sections = SplitSections(pattern);
  ParsedPattern p;
  p.positive = ParseSection(sections[0]);
  p.hasNegative = sections.size() >= 2 && !sections[1].empty();
  p.hasZero = sections.size() >= 3 && !sections[2].empty();
  if (p.hasNegative) p.negative = ParseSection(sections[1]);
  if (p.hasZero) p.zero = ParseSection(sections[2]);
  return cache.emplace(std::string(pattern), std::move(p)).first->second;
}

}  // namespace

std::string FormatNumber(double value, std::string_view pattern) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
  if (pattern.empty()) return FormatGeneral(value);

  const ParsedPattern& p = Parsed(pattern);
  bool negative = value < 0;
  const Section& chosen = negative && p.hasNegative ? p.negative : p.positive;
  Decimal d = ToDecimal(std::fabs(value), 15);
  RoundDecimal(d, chosen.decimals);

  // A value that prints as zero is zero: it takes the zero section and never
  // shows a minus sign ("-0.000" would read as a real negative quantity).
  if (IsZero(d)) return Render(p.hasZero ? p.zero : p.positive, Decimal{});
  std::string text = Render(chosen, d);
  if (negative && !p.hasNegative) text.insert(text.begin(), '-');
  return text;
}

std::string FormatGeneral(double value, int maxSignificant) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
  maxSignificant = std::clamp(maxSignificant, 1, 17);
  // Whole values, most of what an input file holds, need no digit rounding.
  if (maxSignificant >= 15 && std::fabs(value) < 1e15 && value == std::trunc(value)) {
    char buf[24];
    auto res = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(value));
    return std::string(buf, res.ptr);
  }
  Decimal d = ToDecimal(std::fabs(value), maxSignificant);
  if (IsZero(d)) return "0";

  std::string text = value < 0 ? "-" : "";
  int exponent = d.point - 1;
  if (exponent >= maxSignificant || exponent < -4) {
    // 1E+20, 1.5E-07: the classic exponent form with at least two digits.
    text += d.digits[0];
    if (d.digits.size() > 1) text.append(".").append(d.digits, 1);
    text += exponent < 0 ? "E-" : "E+";
    if (std::abs(exponent) < 10) text += '0';
    text += std::to_string(std::abs(exponent));
    return text;
  }
  if (d.point <= 0) {
    text.append("0.").append(size_t(-d.point), '0').append(d.digits);
  } else if (size_t(d.point) >= d.digits.size()) {
    text.append(d.digits).append(size_t(d.point) - d.digits.size(), '0');
  } else {
    text.append(d.digits, 0, size_t(d.point)).append(".").append(d.digits, size_t(d.point));
  }
  return text;
}

double LeadingNumber(std::string_view text) {
  // Like Val(): blanks anywhere are ignored, the scan stops at the first
  // character that cannot continue the number.
  std::string clean;
  bool digits = false, point = false, exponentMark = false, exponentDigits = false;
  for (char c : text) {
    if (IsBlank(c)) continue;
    if ((c == '-' || c == '+') && (clean.empty() || (exponentMark && clean.back() == 'e'))) {
      clean += c;
    } else if (c >= '0' && c <= '9') {
      clean += c;
      (exponentMark ? exponentDigits : digits) = true;
    } else if (c == '.' && !point && !exponentMark) {
      clean += c;
      point = true;
    } else if ((c == 'e' || c == 'E' || c == 'd' || c == 'D') && digits && !exponentMark) {
      clean += 'e';
      exponentMark = true;
    } else {
      break;
    }
  }
  if (!digits) return 0.0;
  // An exponent mark without digits ("1E", "1E+") does not belong to the number.
  if (exponentMark && !exponentDigits) {
    clean.erase(clean.find('e'));
  }
  const char* begin = clean.data();
  const char* end = clean.data() + clean.size();
  bool negative = false;
  if (begin != end && (*begin == '-' || *begin == '+')) {
    negative = *begin == '-';
    ++begin;
  }
  double result = 0.0;
  auto [ptr, ec] = std::from_chars(begin, end, result);
  (void)ptr;
  if (ec == std::errc::result_out_of_range) {
    // Decide between overflow and underflow from the decimal exponent.
    std::string_view body(begin, size_t(end - begin));
    size_t e = body.find('e');
    long exponent = 0;
    if (e != std::string_view::npos) {
      std::string_view expText = body.substr(e + 1);
      if (!expText.empty() && expText[0] == '+') expText.remove_prefix(1);
      if (std::from_chars(expText.data(), expText.data() + expText.size(), exponent).ec ==
          std::errc::result_out_of_range) {
        exponent = expText.starts_with('-') ? LONG_MIN / 2 : LONG_MAX / 2;
      }
    }
    // Far beyond any double either way; bounded so that the sum below cannot overflow.
    exponent = std::clamp(exponent, -100000L, 100000L);
    std::string_view mantissa = body.substr(0, e);
    size_t firstDigit = mantissa.find_first_of("123456789");
    size_t pointAt = mantissa.find('.');
    if (pointAt == std::string_view::npos) pointAt = mantissa.size();
    long magnitude = long(pointAt) - long(firstDigit) + exponent;
    result = magnitude > 0 ? HUGE_VAL : 0.0;
  }
  return negative ? -result : result;
}

long LeadingInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    int digit = text[i] - '0';
    if (negative) {
      if (value < (LONG_MIN + digit) / 10) return LONG_MIN;
      value = value * 10 - digit;
    } else {
      if (value > (LONG_MAX - digit) / 10) return LONG_MAX;
      value = value * 10 + digit;
    }
  }
  return value;
}

}  // namespace hasorin
