#include "profile.h"

#include <QFile>
#include <optional>
#include <vector>

#include "cp932.h"
#include "numfmt.h"
#include "safe_write.h"

namespace hasorin {
namespace {

// The file is handled as CP932 bytes so that a stray invalid byte elsewhere in
// the file cannot spoil the lines that are read or kept.
struct Line {
  std::string_view text;        // without its line end
  std::string_view terminator;  // "\r\n", "\n" or "" for a last line without one
  enum Kind { Other, Header, Key } kind = Other;
  std::string_view name;   // section or key name, blanks trimmed
  std::string_view value;  // key value, blanks trimmed
};

bool IsSpaceOrTab(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpaceOrTab(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpaceOrTab(s.back())) s.remove_suffix(1);
  return s;
}

// The ']' of a header, skipping double-byte characters: the second byte of
// "ゾ" (0x83 0x5D) is a ']' byte.
size_t FindCloseBracket(std::string_view header) {
  for (size_t i = 1; i < header.size(); ++i) {
    if (IsCp932LeadByte(static_cast<unsigned char>(header[i]))) {
      ++i;
    } else if (header[i] == ']') {
      return i;
    }
  }
  return std::string_view::npos;
}

std::vector<Line> SplitLines(std::string_view bytes) {
  std::vector<Line> lines;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t nl = bytes.find('\n', pos);
    Line line;
    if (nl == std::string_view::npos) {
      line.text = bytes.substr(pos);
      pos = bytes.size();
    } else {
      size_t end = (nl > pos && bytes[nl - 1] == '\r') ? nl - 1 : nl;
      line.text = bytes.substr(pos, end - pos);
      line.terminator = bytes.substr(end, nl + 1 - end);
      pos = nl + 1;
    }
    std::string_view t = Trim(line.text);
    if (!t.empty() && t.front() == '[') {
      size_t close = FindCloseBracket(t);
      if (close != std::string_view::npos) {
        line.kind = Line::Header;
        line.name = Trim(t.substr(1, close - 1));
      }
    } else if (size_t eq = t.find('='); eq != std::string_view::npos) {
      line.kind = Line::Key;
      line.name = Trim(t.substr(0, eq));
      line.value = Trim(t.substr(eq + 1));
    }
    lines.push_back(line);
  }
  return lines;
}

// Case-insensitive for ASCII letters, exact for double-byte characters (whose
// second byte may look like a letter).
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto x = static_cast<unsigned char>(a[i]);
    auto y = static_cast<unsigned char>(b[i]);
    if (IsCp932LeadByte(x) && i + 1 < a.size()) {
      if (x != y || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

// Index of the first header of `section`, or lines.size().
size_t FindSection(const std::vector<Line>& lines, std::string_view section) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind == Line::Header && SameName(lines[i].name, section)) return i;
  }
  return lines.size();
}

// Index of the next header after `header`, or lines.size().
size_t SectionEnd(const std::vector<Line>& lines, size_t header) {
  size_t i = header + 1;
  while (i < lines.size() && lines[i].kind != Line::Header) ++i;
  return i;
}

std::optional<std::string> ReadBytes(const std::string& file) {
  QFile f(QString::fromStdString(file));
  if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
  QByteArray data = f.readAll();
  if (f.error() != QFileDevice::NoError) return std::nullopt;
  return data.toStdString();
}

std::optional<std::string> ToCp932(std::string_view utf8) {
  bool lossless = true;
  std::string bytes = Utf8ToCp932(utf8, &lossless);
  if (!lossless) return std::nullopt;
  return bytes;
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// The raw value of section/key, nullopt when absent.
std::optional<std::string> FindValue(const std::string& file, std::string_view section,
                                     std::string_view key) {
  std::optional<std::string> sectionBytes = ToCp932(Trim(section));
  std::optional<std::string> keyBytes = ToCp932(Trim(key));
  if (!sectionBytes || !keyBytes) return std::nullopt;
  std::optional<std::string> bytes = ReadBytes(file);
  if (!bytes) return std::nullopt;
  std::vector<Line> lines = SplitLines(*bytes);
  size_t header = FindSection(lines, *sectionBytes);
  if (header == lines.size()) return std::nullopt;
  size_t end = SectionEnd(lines, header);
  for (size_t i = header + 1; i < end; ++i) {
    if (lines[i].kind != Line::Key || !SameName(lines[i].name, *keyBytes)) continue;
    std::string_view value = lines[i].value;
    // A value written in matching quotes reads without them.
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    return Cp932ToUtf8(value);  // invalid bytes read as a missing value
  }
  return std::nullopt;
}

}  // namespace

std::string GetPrivateProfileString(const std::string& file, std::string_view section,
                                    std::string_view key, std::string_view defaultValue) {
  std::optional<std::string> value = FindValue(file, section, key);
  return value ? *value : std::string(defaultValue);
}

long GetPrivateProfileInt(const std::string& file, std::string_view section, std::string_view key,
                          long defaultValue) {
  std::optional<std::string> value = FindValue(file, section, key);
  if (!value || value->empty()) return defaultValue;
  return LeadingInteger(*value);
}

bool WritePrivateProfileString(const std::string& file, std::string_view section,
                               std::string_view key, std::string_view value) {
  // Names that could not be read back, and line breaks that would inject lines
  // into the file, are refused rather than written.
  std::string_view sectionName = Trim(section);
  std::string_view keyName = Trim(key);
  if (sectionName.empty() || keyName.empty() || HasLineBreak(section) || HasLineBreak(key) ||
      HasLineBreak(value) || sectionName.find(']') != std::string_view::npos ||
      keyName.find('=') != std::string_view::npos || keyName.front() == '[') {
    return false;
  }
  std::optional<std::string> sectionBytes = ToCp932(sectionName);
  std::optional<std::string> keyBytes = ToCp932(keyName);
  std::optional<std::string> valueBytes = ToCp932(value);
  if (!sectionBytes || !keyBytes || !valueBytes) return false;

  std::string old;
  if (QFile::exists(QString::fromStdString(file))) {
    // A file that exists but cannot be read must not be replaced by one key.
    std::optional<std::string> bytes = ReadBytes(file);
    if (!bytes) return false;
    old = std::move(*bytes);
  }
  std::vector<Line> lines = SplitLines(old);
  const std::string keyLine = *keyBytes + "=" + *valueBytes;
  const std::string_view crlf = "\r\n";

  std::string out;
  out.reserve(old.size() + keyLine.size() + sectionBytes->size() + 8);
  auto copyLines = [&](size_t from, size_t to) {
    for (size_t i = from; i < to; ++i) out.append(lines[i].text).append(lines[i].terminator);
  };

  size_t header = FindSection(lines, *sectionBytes);
  if (header == lines.size()) {
    out = old;
    if (!out.empty() && out.back() != '\n') out += crlf;
    if (!lines.empty() && !Trim(lines.back().text).empty()) out += crlf;
    out.append("[").append(*sectionBytes).append("]").append(crlf);
    out.append(keyLine).append(crlf);
  } else {
    size_t end = SectionEnd(lines, header);
    size_t existing = end;
    for (size_t i = header + 1; i < end; ++i) {
      if (lines[i].kind == Line::Key && SameName(lines[i].name, *keyBytes)) {
        existing = i;
        break;
      }
    }
    if (existing != end) {
      copyLines(0, existing);
      out.append(keyLine).append(lines[existing].terminator);
      copyLines(existing + 1, lines.size());
    } else {
      // New key after the section's last non-blank line.
      size_t after = end;
      while (after > header + 1 && Trim(lines[after - 1].text).empty()) --after;
      copyLines(0, after);
      if (lines[after - 1].terminator.empty()) out += crlf;
      out.append(keyLine).append(crlf);
      copyLines(after, lines.size());
    }
  }

  if (out == old && !old.empty()) return true;
  return ReplaceFileContents(file, out) == 0;
}

}  // namespace hasorin
