#include "report_writer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "cp932.h"
#include "numfmt.h"
#include "paths.h"
#include "settings.h"
#include "text_file.h"

namespace hasorin {
namespace {

constexpr const char* kCrLf = "\r\n";
constexpr const char* kSectionEnd = "End";
// Margins beyond what the numbering editor allows would only push text off the paper.
constexpr int kMaxMargin = 10;

bool IsAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return (unsigned char)c < 0x80; });
}

std::string ToCp932(std::string_view utf8) { return IsAscii(utf8) ? std::string(utf8) : Utf8ToCp932(utf8); }

size_t CharLength(const std::string& bytes, size_t i) {
  return IsCp932LeadByte((unsigned char)bytes[i]) && i + 1 < bytes.size() ? 2 : 1;
}

// The first '&' at or after `from`, skipping double-byte characters.
size_t FindAmpersand(const std::string& bytes, size_t from) {
  for (size_t i = from; i < bytes.size(); i += CharLength(bytes, i)) {
    if (bytes[i] == '&') return i;
  }
  return std::string::npos;
}

// The leftmost whole characters of `bytes` that fit in `width` columns.
std::string CutToWidth(const std::string& bytes, size_t width) {
  size_t end = 0;
  while (end < bytes.size()) {
    size_t next = end + CharLength(bytes, end);
    if (next > width) break;
    end = next;
  }
  return bytes.substr(0, end);
}

std::string FormatNumericField(double value, const std::string& pattern) {
  if (pattern[0] == '+') {
    std::string text = FormatNumber(value, std::string_view(pattern).substr(1));
    return value >= 0 ? "+" + text : text;
  }
  if (pattern[0] == '\\') return FormatNumber(value, "\\" + pattern);
  return FormatNumber(value, pattern);
}

// Chapter numbering style 8: the circled digits.
constexpr const char* kCircled[20] = {"①", "②", "③", "④", "⑤", "⑥", "⑦", "⑧", "⑨", "⑩",
                                      "⑪", "⑫", "⑬", "⑭", "⑮", "⑯", "⑰", "⑱", "⑲", "⑳"};
constexpr const char* kRoman[10] = {"i", "ii", "iii", "iv", "v", "vi", "vii", "viii", "ix", "x"};

}  // namespace

// ---- format file ----

FormatSection ReadFormatSection(const std::string& formatPath, std::string_view key) {
  const std::string name = FileNameOf(formatPath);
  auto bytes = ReadFileBytes(formatPath);
  if (!bytes) throw ReportError("書式ﾌｧｲﾙ " + name + " を読み込めません。");
  const std::string keyBytes = Utf8ToCp932(key);
  std::vector<std::string_view> lines = SplitLines(*bytes);
  size_t i = 0;
  while (i < lines.size() && lines[i] != keyBytes) ++i;
  if (i == lines.size()) {
    throw ReportError("書式ﾌｧｲﾙ " + name + " に「" + std::string(key) + "」の書式がありません。");
  }
  FormatSection section;
  for (++i; i < lines.size(); ++i) {
    if (lines[i] == kSectionEnd) return section;
    const std::string lineNo = std::to_string(i + 1);
    if (section.Count() == kMaxTemplateLines) {
      throw ReportError("書式ﾌｧｲﾙ " + name + " の「" + std::string(key) + "」の書式が " +
                        std::to_string(kMaxTemplateLines) + " 行を超えています。");
    }
    auto text = DecodeCp932(QByteArrayView(lines[i].data(), qsizetype(lines[i].size())));
    if (!text) throw ReportError("書式ﾌｧｲﾙ " + name + " の " + lineNo + " 行目の文字ｺｰﾄﾞが不正です。");
    // Characters 1 to 4 are free, the 5th is the level digit, the rest the template.
    int level = 0;
    if (text->size() >= 5) {
      QChar digit = text->at(4);
      if (digit >= u'0' && digit <= u'4') {
        level = digit.unicode() - u'0';
      } else if (digit != u' ') {
        throw ReportError("書式ﾌｧｲﾙ " + name + " の " + lineNo + " 行目のﾚﾍﾞﾙが不正です。");
      }
    }
    section.levels.push_back(level);
    section.templates.push_back(text->size() > 5 ? text->mid(5).toStdString() : std::string());
  }
  throw ReportError("書式ﾌｧｲﾙ " + name + " の「" + std::string(key) + "」の書式に End がありません。");
}

NumberingSettings ReadNumberingSettings(const std::string& settingsPath) {
  CPrivateProfile profile;
  auto get = [&](const char* key) { return int(std::clamp<long>(profile.GetValueLong(settingsPath, "Chapter", key), -1000, 1000)); };
  NumberingSettings s;
  s.method = get("Method");
  s.init = get("Init");
  for (int k = 0; k < 4; ++k) {
    s.style[size_t(k)] = get(("Style" + std::to_string(k + 1)).c_str());
    s.margin[size_t(k)] = get(("Margin" + std::to_string(k + 1)).c_str());
  }
  return s;
}

std::string NumberText(int style, int& n) {
  static constexpr int kRange[10] = {0, 99, 99, 99, 26, 26, 10, 10, 20, 0};
  if (style < 1 || style > 9) return {};
  if (kRange[style] > 0 && n > kRange[style]) n = 1;
  if (n <= 0) return {};
  std::string core;
  switch (style) {
    case 1: case 2: case 3: core = std::to_string(n); break;
    case 4: case 5: core.assign(1, char('a' + n - 1)); break;
    case 6: case 7: core = kRoman[n - 1]; break;
    case 8: return kCircled[n - 1];
    default: return "･";
  }
  // Styles 2, 4 and 6 enclose the number, 3, 5 and 7 close it only.
  if (style % 2 == 0) return "(" + core + ")";
  return style == 1 ? core : core + ")";
}

// ---- templates ----

ParsedTemplate ParsedTemplate::Parse(std::string_view templateUtf8) {
  ParsedTemplate t;
  t.bytes = ToCp932(templateUtf8);
  const std::string& b = t.bytes;
  const size_t n = b.size();
  auto tooMany = [&](const char* kind) {
    return ReportError(std::string("書式の") + kind + "項目が " + std::to_string(kMaxFieldsPerKind) +
                       " を超えています：" + std::string(templateUtf8));
  };
  // Numeric fields: "#", "+#" or "\#", then any of "#,.0".
  for (size_t i = 0; i < n;) {
    if (IsCp932LeadByte((unsigned char)b[i])) {
      i += 2;
      continue;
    }
    bool start = b[i] == '#' || ((b[i] == '+' || b[i] == '\\') && i + 1 < n && b[i + 1] == '#');
    if (!start) {
      ++i;
      continue;
    }
    size_t j = i + 1;
    while (j < n && std::strchr("#,.0", b[j]) && b[j] != '\0') ++j;
    if (int(t.numbers.size()) == kMaxFieldsPerKind) throw tooMany("数値");
    t.numbers.push_back({i, j - i, b.substr(i, j - i), false});
    i = j;
  }
  // String fields: "&...&" (right-aligned with "&>"), or a "!" with no "&" after it.
  for (size_t i = 0; i < n;) {
    if (b[i] == '&') {
      size_t close = FindAmpersand(b, i + 1);
      if (close != std::string::npos) {
        if (int(t.strings.size()) == kMaxFieldsPerKind) throw tooMany("文字");
        t.strings.push_back({i, close - i + 1, {}, i + 1 < n && b[i + 1] == '>'});
        i = close + 1;
        continue;
      }
    } else if (b[i] == '!' && FindAmpersand(b, i + 1) == std::string::npos) {
      if (int(t.strings.size()) == kMaxFieldsPerKind) throw tooMany("文字");
      t.strings.push_back({i, 1, {}, false});
    }
    i += CharLength(b, i);
  }
  return t;
}

std::string ParsedTemplate::Fill(std::span<const double> values, std::span<const std::string> texts) const {
  if (values.size() < numbers.size() || texts.size() < strings.size()) {
    throw ReportError("書式の項目の数が出力する値の数より多くなっています：" +
                      Cp932ToUtf8(bytes).value_or(std::string()));
  }
  std::string line = bytes;
  for (size_t i = 0; i < numbers.size(); ++i) {
    const Field& f = numbers[i];
    if (!std::isfinite(values[i])) throw ReportError("数値として出力できない値があります。");
    std::string text = FormatNumericField(values[i], f.pattern);
    if (text.size() < f.width) text.insert(0, f.width - text.size(), ' ');
    line.replace(f.pos, f.width, text, 0, f.width);
  }
  for (size_t i = 0; i < strings.size(); ++i) {
    const Field& f = strings[i];
    std::string text = CutToWidth(ToCp932(texts[i]), f.width);
    std::string pad(f.width - text.size(), ' ');
    line.replace(f.pos, f.width, f.right ? pad + text : text + pad);
  }
  return line;
}

std::string FillTemplate(std::string_view templateUtf8, std::span<const double> numbers,
                         std::span<const std::string> strings) {
  return ParsedTemplate::Parse(templateUtf8).Fill(numbers, strings);
}

// ---- writer ----

void ReportWriter::StartJob(const NumberingSettings& settings) {
  settings_ = settings;
  if (settings_.method < 0 || settings_.method > 3) settings_.method = 0;
  counters_ = {std::max(settings_.init, 1) - 1, 0, 0, 0};
  currentLevel_ = 1;
}

void ReportWriter::Open() {
  open_ = true;
  buffer_.clear();
  buffer_.reserve(1 << 20);
  lineCounter_ = 0;
  pageLength_ = kDefaultPageLength;
}

bool ReportWriter::Close() {
  if (!open_) return true;
  open_ = false;
  bool ok = AppendFileBytes(currentFile_, buffer_);
  buffer_.clear();
  return ok;
}

int ReportWriter::Margin(int level) const {
  if (level < 1 || level > 4) return 0;
  return std::clamp(settings_.margin[size_t(level - 1)], 0, kMaxMargin);
}

std::string ReportWriter::HeadingNumber(int level) {
  currentLevel_ = level;
  const size_t k = size_t(level - 1);
  ++counters_[k];
  for (size_t j = k + 1; j < 4; ++j) counters_[j] = 0;
  std::array<std::string, 4> t;
  for (size_t j = 0; j < 4; ++j) t[j] = NumberText(settings_.style[j], counters_[j]);
  std::string text;
  if (settings_.method == 1) {
    text = t[k];
  } else {
    const std::string s = settings_.method == 2 ? "-" : ".";
    switch (level) {
      case 1: text = t[0] + "."; break;
      case 2: text = t[0] + s + t[1]; break;
      case 3: text = t[0] + s + t[1] + s + t[2]; break;
      default: text = t[3]; break;
    }
  }
  return text + " ";
}

void ReportWriter::PrintLinePrefix(int level) {
  std::string number;
  if (settings_.method != 0 && level >= 1 && level <= 4) number = HeadingNumber(level);
  std::string prefix;
  switch (level) {
    case 1: prefix = std::string(size_t(Margin(1)), ' ') + "?R1" + number; break;
    case 2: prefix = std::string(size_t(Margin(2)), ' ') + "?R2" + number; break;
    case 3:
    case 4: prefix = std::string(size_t(Margin(level)), ' ') + number; break;
    default: prefix = std::string(size_t(Margin(currentLevel_) + 2), ' '); break;
  }
  buffer_ += ToCp932(prefix);
  ++lineCounter_;
}

const ParsedTemplate& ReportWriter::Parsed(std::string_view templ) {
  auto it = cache_.find(std::string(templ));
  if (it == cache_.end()) it = cache_.emplace(std::string(templ), ParsedTemplate::Parse(templ)).first;
  return it->second;
}

void ReportWriter::PrintTemplateLine(int level, std::string_view templ, std::span<const double> numbers,
                                     std::span<const std::string> strings) {
  PrintTemplateLine(level, Parsed(templ), numbers, strings);
}

void ReportWriter::PrintTemplateLine(int level, const ParsedTemplate& templ, std::span<const double> numbers,
                                     std::span<const std::string> strings) {
  std::string line = templ.Fill(numbers, strings);
  PrintLinePrefix(level);
  buffer_ += line;
  buffer_ += kCrLf;
}

void ReportWriter::PrintText(int level, std::string_view text) {
  auto it = textCache_.find(std::string(text));
  if (it == textCache_.end()) it = textCache_.emplace(std::string(text), ToCp932(text)).first;
  PrintLinePrefix(level);
  buffer_ += it->second;
  buffer_ += kCrLf;
}

void ReportWriter::PrintBlankLines(int n) {
  for (int i = 0; i < n; ++i) {
    buffer_ += kCrLf;
    ++lineCounter_;
  }
}

void ReportWriter::KeepTogether(int need, int blank) {
  if (pageLength_ - lineCounter_ < need) {
    NewPage();
  } else {
    PrintBlankLines(blank);
  }
}

void ReportWriter::NewPage() {
  buffer_ += '\f';
  lineCounter_ = 0;
}

void AppendFormFeed(const std::string& path) { AppendFileBytes(path, "\f"); }

std::optional<std::string> NewReportFileName(TempFileList& list) { return list.NewName(); }

}  // namespace hasorin
