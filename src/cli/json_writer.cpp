#include "json_writer.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace hasorin::cli {
namespace {

// Numbers from 10^-5 up to below 10^15 are written without an exponent.
constexpr int kMinPoint = -4;
constexpr int kMaxPoint = 15;

// Length of the valid UTF-8 sequence that starts text[i], or 0.
size_t Utf8Length(std::string_view text, size_t i) {
  const auto byte = [&](size_t k) { return k < text.size() ? static_cast<unsigned char>(text[k]) : 0u; };
  const auto cont = [&](size_t k, unsigned lo = 0x80, unsigned hi = 0xBF) {
    const unsigned b = byte(k);
    return b >= lo && b <= hi;
  };
  const unsigned lead = byte(i);
  if (lead >= 0xC2 && lead <= 0xDF) return cont(i + 1) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    // No overlong forms (E0) and no surrogates (ED).
    const unsigned lo = lead == 0xE0 ? 0xA0 : 0x80, hi = lead == 0xED ? 0x9F : 0xBF;
    return cont(i + 1, lo, hi) && cont(i + 2) ? 3 : 0;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    const unsigned lo = lead == 0xF0 ? 0x90 : 0x80, hi = lead == 0xF4 ? 0x8F : 0xBF;
    return cont(i + 1, lo, hi) && cont(i + 2) && cont(i + 3) ? 4 : 0;
  }
  return 0;
}

}  // namespace

void AppendJsonNumber(std::string& out, double value) {
  if (!std::isfinite(value)) {
    out += "null";
    return;
  }
  if (std::signbit(value)) {
    out += '-';
    value = -value;
  }
  if (value == 0) {
    out += "0.0";
    return;
  }
  // The shortest digits that read back as `value`, and the power of ten of
  // the first: d[.ddd]e[+-]xx.
  char sci[32];
  const char* const end = std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific).ptr;
  char digits[20];
  int k = 0;
  const char* s = sci;
  digits[k++] = *s++;
  if (*s == '.')
    for (++s; *s != 'e'; ++s) digits[k++] = *s;
  int exponent = 0;
  std::from_chars(s + (s[1] == '+' ? 2 : 1), end, exponent);
  const int n = exponent + 1;  // digits before the decimal point

  char buf[48];
  char* p = buf;
  if (k <= n && n <= kMaxPoint) {  // 123000.0
    std::memcpy(p, digits, size_t(k));
    p += k;
    std::memset(p, '0', size_t(n - k));
    p += n - k;
    *p++ = '.';
    *p++ = '0';
  } else if (0 < n && n <= kMaxPoint) {  // 123.45
    std::memcpy(p, digits, size_t(n));
    p += n;
    *p++ = '.';
    std::memcpy(p, digits + n, size_t(k - n));
    p += k - n;
  } else if (kMinPoint < n && n <= 0) {  // 0.00012
    *p++ = '0';
    *p++ = '.';
    std::memset(p, '0', size_t(-n));
    p += -n;
    std::memcpy(p, digits, size_t(k));
    p += k;
  } else {  // 1.2e-05, 1e+16: at least two exponent digits
    *p++ = digits[0];
    if (k > 1) {
      *p++ = '.';
      std::memcpy(p, digits + 1, size_t(k - 1));
      p += k - 1;
    }
    *p++ = 'e';
    int e = n - 1;
    *p++ = e < 0 ? '-' : '+';
    if (e < 0) e = -e;
    if (e >= 100) *p++ = char('0' + e / 100);
    *p++ = char('0' + e / 10 % 10);
    *p++ = char('0' + e % 10);
  }
  out.append(buf, size_t(p - buf));
}

void AppendJsonString(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  // Keys and most texts are plain ASCII: copied in one piece.
  size_t plain = 0;
  while (plain < text.size()) {
    const auto c = static_cast<unsigned char>(text[plain]);
    if (c < 0x20 || c >= 0x80 || c == '"' || c == '\\') break;
    ++plain;
  }
  out.append(text.substr(0, plain));
  for (size_t i = plain; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      const size_t length = Utf8Length(text, i);
      if (length == 0) {
        out += "\xEF\xBF\xBD";  // U+FFFD
        ++i;
      } else {
        out.append(text.substr(i, length));
        i += length;
      }
      continue;
    }
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          out += "\\u00";
          out += kHex[c >> 4];
          out += kHex[c & 15];
        } else {
          out += char(c);
        }
    }
    ++i;
  }
  out += '"';
}

void JsonWriter::BeforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (depth_ == 0) return;
  const std::uint64_t bit = std::uint64_t(1) << (depth_ - 1);
  if (written_ & bit) out_ += ',';
  written_ |= bit;
}

JsonWriter& JsonWriter::Key(std::string_view key) {
  BeforeValue();
  AppendJsonString(out_, key);
  out_ += ':';
  afterKey_ = true;
  return *this;
}

JsonWriter& JsonWriter::Open(char bracket) {
  BeforeValue();
  out_ += bracket;
  ++depth_;
  written_ &= ~(std::uint64_t(1) << (depth_ - 1));
  return *this;
}

JsonWriter& JsonWriter::Close(char bracket) {
  out_ += bracket;
  --depth_;
  return *this;
}

JsonWriter& JsonWriter::Null() {
  BeforeValue();
  out_ += "null";
  return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
  BeforeValue();
  out_ += value ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::Int(std::int64_t value) {
  BeforeValue();
  char buf[24];
  out_.append(buf, size_t(std::to_chars(buf, buf + sizeof buf, value).ptr - buf));
  return *this;
}

JsonWriter& JsonWriter::Number(double value) {
  BeforeValue();
  AppendJsonNumber(out_, value);
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
  BeforeValue();
  AppendJsonString(out_, text);
  return *this;
}

}  // namespace hasorin::cli
