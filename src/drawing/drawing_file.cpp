#include "drawing_file.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "cp932.h"
#include "numfmt.h"
#include "text_file.h"

namespace hasorin {
namespace {

constexpr double kPi = 3.141592654;
constexpr const char* kEnd = "END";

// Section names of the drawing file, in the order they are written.
constexpr const char* kPointsSection = "座標情報";
constexpr const char* kRectsSection = "矩形情報";
constexpr const char* kLinesSection = "線分情報";
constexpr const char* kCirclesSection = "円情報";
constexpr const char* kArcsSection = "円弧情報";
constexpr const char* kFillsSection = "塗潰情報";
constexpr const char* kArrowsSection = "矢印(1)";
constexpr const char* kTextsSection = "文字情報";

constexpr const char* kCrLf = "\r\n";

std::string FileNameForMessage(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return (unsigned char)c < 0x80; });
}

std::string ToCp932(std::string_view utf8) { return IsAscii(utf8) ? std::string(utf8) : Utf8ToCp932(utf8); }

// The file decoded into UTF-8 lines. A line that is not CP932 ends the list
// and is remembered, so that readers report it where they reach it.
struct TextLines {
  std::vector<std::string> lines;
  int badLine = 0;  // 1-based line that could not be decoded, 0 if none
};

std::optional<TextLines> ReadTextLines(const std::string& path) {
  auto bytes = ReadFileBytes(path);
  if (!bytes) return std::nullopt;
  TextLines out;
  for (std::string_view raw : SplitLines(*bytes)) {
    if (IsAscii(raw)) {  // most lines of a drawing: no conversion needed
      out.lines.emplace_back(raw);
      continue;
    }
    auto utf8 = Cp932ToUtf8(raw);
    if (!utf8) {
      out.badLine = int(out.lines.size()) + 1;
      break;
    }
    out.lines.push_back(std::move(*utf8));
  }
  return out;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// ---- definition files ----

// The fields of a definition file after its header: separated by commas and
// line ends, blanks around them and enclosing double quotes removed.
struct DefToken {
  std::string text;
  int line;
};

std::vector<DefToken> DefTokens(const TextLines& text) {
  std::vector<DefToken> tokens;
  for (size_t i = 1; i < text.lines.size(); ++i) {
    std::string_view line = text.lines[i];
    if (Trim(line).empty()) continue;
    size_t start = 0;
    while (true) {
      size_t comma = line.find(',', start);
      std::string_view field = Trim(line.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
      if (field.size() >= 2 && field.front() == '"' && field.back() == '"') {
        field = field.substr(1, field.size() - 2);
      }
      tokens.push_back({std::string(field), int(i) + 1});
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
  }
  return tokens;
}

// Reads records of `width` fields until a key "END"; `parse` takes one record.
template <typename Parse>
DrawStatus ReadDefRecords(const std::string& path, int width, int maxRecords, Parse parse) {
  auto text = ReadTextLines(path);
  std::string name = FileNameForMessage(path);
  if (!text) return DrawStatus::Fail(name + " を読み込めません。");
  if (text->badLine) return DrawStatus::Fail(name + " の文字ｺｰﾄﾞが不正です。", text->badLine);
  std::vector<DefToken> tokens = DefTokens(*text);
  size_t i = 0;
  int records = 0;
  while (true) {
    if (i >= tokens.size()) {
      int line = int(text->lines.size());
      return DrawStatus::Fail(name + " に END がありません。", line);
    }
    if (tokens[i].text == kEnd) return {};
    if (i + size_t(width) > tokens.size()) {
      return DrawStatus::Fail(name + " の定義が途中で終わっています。", tokens[i].line);
    }
    if (++records > maxRecords) {
      return DrawStatus::Fail(name + " の定義が多すぎます。", tokens[i].line);
    }
    if (!parse(&tokens[i])) {
      return DrawStatus::Fail(name + " の定義が不正です。", tokens[i].line);
    }
    i += size_t(width);
  }
}

// ---- writing ----

std::string Fmt(double value, const char* pattern) { return FormatNumber(value, pattern); }

// A number in the shortest general form with the sign position kept: a
// leading blank for non-negative values and a trailing blank.
std::string GeneralItem(double value) {
  std::string text = FormatGeneral(value);
  if (value >= 0) text.insert(text.begin(), ' ');
  return text + " ";
}

// Pads to the start of the next print zone (zones of 14 columns).
void PadToNextZone(std::string& line) {
  size_t next = (line.size() / 14 + 1) * 14;
  line.append(next - line.size(), ' ');
}

std::string TwoNumberLine(double a, double b) {
  std::string line = GeneralItem(a);
  PadToNextZone(line);
  return line + GeneralItem(b);
}

std::string ExtentLine(const DrawingExtent& e) {
  std::string line;
  for (double v : {e.width, e.height, e.xMin}) line += Fmt(v, "###0.00") + ", ";
  PadToNextZone(line);
  line += Fmt(e.yMin, "###0.00") + ", " + Fmt(e.xMax, "###0.00") + ", " + Fmt(e.yMax, "###0.00");
  return line;
}

// ---- reading ----

// Reads records of one section until "END". `parse` gets the fields of a
// record line (and the line index, for records of two lines) and returns
// false for a malformed record.
struct SectionReader {
  const TextLines& text;
  size_t& pos;  // index of the next line
  DrawStatus& status;

  template <typename Parse>
  bool Read(Parse parse) {
    while (true) {
      if (pos >= text.lines.size()) {
        int line = text.badLine ? text.badLine : int(pos) + 1;
        status = DrawStatus::Fail(text.badLine ? "文字ｺｰﾄﾞが不正です。" : "END がありません。", line);
        return false;
      }
      const std::string& line = text.lines[pos];
      if (Trim(line) == kEnd) {
        ++pos;
        return true;
      }
      // `parse` leaves `pos` on the offending line when it fails.
      if (!parse()) {
        status = DrawStatus::Fail("不正なﾚｺｰﾄﾞです。", int(pos) + 1);
        return false;
      }
    }
  }
};

bool ValidPoint(const DrawingElements& e, int number) {
  return number >= 1 && number <= int(e.points.size());
}

}  // namespace

// ---- definition files ----

double TextStyle::SizeMm() const { return TwipsToMm(sizeTwips); }

DrawStatus ReadLineDef(const std::string& path, LineTypeTable& table) {
  table.clear();
  LineTypeTable read;
  DrawStatus status = ReadDefRecords(path, 4, kMaxLineTypes, [&](const DefToken* t) {
    auto weight = ParseInt(t[1].text);
    auto pen = ParseInt(t[2].text);
    if (!weight || !pen) return false;
    read.push_back({t[0].text, *weight, *pen, t[3].text});
    return true;
  });
  if (status) table = std::move(read);
  return status;
}

DrawStatus ReadStrDef(const std::string& path, TextStyleTable& table) {
  table.clear();
  TextStyleTable read;
  DrawStatus status = ReadDefRecords(path, 8, kMaxTextStyles, [&](const DefToken* t) {
    auto reserved = ParseInt(t[1].text);
    auto size = ParseInt(t[3].text);
    auto bold = ParseInt(t[4].text);
    auto italic = ParseInt(t[5].text);
    auto underline = ParseInt(t[6].text);
    if (!reserved || !size || !bold || !italic || !underline || *size <= 0 || t[2].text.empty()) {
      return false;
    }
    read.push_back({t[0].text, *reserved, t[2].text, *size, *bold == 1, *italic == 1, *underline == 1,
                    t[7].text});
    return true;
  });
  if (status) table = std::move(read);
  return status;
}

// ---- elements ----

namespace {
template <typename T>
int Append(std::vector<T>& list, int capacity, T element, const char* what) {
  if (int(list.size()) >= capacity) {
    throw DrawingFullError(std::string("図形要素（") + what + "）が上限の " +
                           FormatNumber(capacity, "#,##0") + " 個を超えました。");
  }
  list.push_back(std::move(element));
  return int(list.size());
}
}  // namespace

int DrawingElements::AddPoint(double x, double y) { return Append(points, capacity.points, DrawPoint{x, y}, "座標"); }
int DrawingElements::AddLine(int start, int end, int lineType) {
  return Append(lines, capacity.lines, DrawLine{start, end, lineType}, "線分");
}
int DrawingElements::AddCircle(int centre, double radius, int lineType) {
  return Append(circles, capacity.circles, DrawCircle{centre, radius, lineType}, "円");
}
int DrawingElements::AddArc(const DrawArc& arc) { return Append(arcs, capacity.arcs, arc, "円弧"); }
int DrawingElements::AddFill(const DrawFill& fill) { return Append(fills, capacity.fills, fill, "塗潰"); }
int DrawingElements::AddArrow(int point, int direction, int lineType) {
  return Append(arrows, capacity.arrows, DrawArrow{point, direction, lineType}, "矢印");
}
int DrawingElements::AddText(std::string text, double x, double y, int style, int direction) {
  return Append(texts, capacity.texts, DrawText{std::move(text), x, y, style, direction}, "文字");
}

bool DrawingElements::Empty() const {
  return points.empty() && rects.empty() && lines.empty() && circles.empty() && arcs.empty() &&
         fills.empty() && arrows.empty() && texts.empty();
}

DrawingExtent ComputeExtent(const DrawingElements& elements, const TextStyleTable& styles) {
  double xMin = std::numeric_limits<double>::infinity(), yMin = xMin;
  double xMax = -xMin, yMax = -xMin;
  auto include = [&](double x, double y) {
    xMin = std::min(xMin, x);
    xMax = std::max(xMax, x);
    yMin = std::min(yMin, y);
    yMax = std::max(yMax, y);
  };
  for (const DrawPoint& p : elements.points) include(p.x, p.y);
  for (const DrawText& t : elements.texts) {
    double h = 0, w = 0;
    if (t.style >= 1 && t.style <= int(styles.size())) {
      const TextStyle& style = styles[size_t(t.style - 1)];
      h = style.SizeMm();
      w = TextWidthMm(style, t.text);
    }
    include(t.x, t.y);
    if (t.direction == kTextVertical) {
      include(t.x - h, t.y + w);
    } else {
      include(t.x + w, t.y + h);
    }
  }
  DrawingExtent e;
  if (xMin > xMax) return e;  // nothing drawn
  e.xMin = xMin;
  e.yMin = yMin;
  e.xMax = xMax;
  e.yMax = yMax;
  e.width = xMax - xMin;
  e.height = yMax - yMin;
  return e;
}

DrawStatus WriteDrawingFile(const std::string& path, std::string_view caption, std::string_view title,
                            const DrawingElements& e, const TextStyleTable& styles) {
  std::string out;
  out.reserve(64 * (e.points.size() + e.lines.size() + e.circles.size() + 2 * e.texts.size()) + 256);
  auto line = [&](std::string_view text) {
    out += ToCp932(text);
    out += kCrLf;
  };
  auto ascii = [&](const std::string& text) {
    out += text;
    out += kCrLf;
  };
  line(caption);
  line(title);
  ascii(ExtentLine(ComputeExtent(e, styles)));

  // Whole numbers print as their plain digits in every pattern used here.
  auto number = [](int k) { return std::to_string(k) + ", "; };
  auto integer = [](int v) { return std::to_string(v); };
  auto real = [](double v) { return Fmt(v, "###0.000000"); };

  line(kPointsSection);
  for (size_t i = 0; i < e.points.size(); ++i) {
    ascii(number(int(i) + 1) + real(e.points[i].x) + ", " + real(e.points[i].y));
  }
  ascii(kEnd);
  if (!e.rects.empty()) {
    line(kRectsSection);
    for (size_t i = 0; i < e.rects.size(); ++i) {
      const DrawRect& r = e.rects[i];
      ascii(number(int(i) + 1) + integer(r.a) + ", " + integer(r.b) + ", " + integer(r.c) + ", " +
            integer(r.d));
    }
    ascii(kEnd);
  }
  if (!e.lines.empty()) {
    line(kLinesSection);
    for (size_t i = 0; i < e.lines.size(); ++i) {
      const DrawLine& l = e.lines[i];
      ascii(number(int(i) + 1) + integer(l.start) + ", " + integer(l.end) + ", " + integer(l.lineType));
    }
    ascii(kEnd);
  }
  if (!e.circles.empty()) {
    line(kCirclesSection);
    for (size_t i = 0; i < e.circles.size(); ++i) {
      const DrawCircle& c = e.circles[i];
      ascii(number(int(i) + 1) + integer(c.centre) + ", " + real(c.radius) + ", " + integer(c.lineType));
    }
    ascii(kEnd);
  }
  if (!e.arcs.empty()) {
    line(kArcsSection);
    for (size_t i = 0; i < e.arcs.size(); ++i) {
      const DrawArc& a = e.arcs[i];
      ascii(number(int(i) + 1) + real(a.cx) + ", " + real(a.cy) + ", " + real(a.radius) + ", " +
            real(a.startDeg) + ", " + real(a.endDeg) + ", " + integer(a.lineType));
    }
    ascii(kEnd);
  }
  if (!e.fills.empty()) {
    line(kFillsSection);
    for (size_t i = 0; i < e.fills.size(); ++i) {
      const DrawFill& f = e.fills[i];
      std::string polygon;
      for (int p : f.polygon) {
        if (!polygon.empty()) polygon += ' ';
        polygon += std::to_string(p);
      }
      ascii(number(int(i) + 1) + integer(f.lineType) + ", " + integer(f.second) + ", " + polygon);
    }
    ascii(kEnd);
  }
  if (!e.arrows.empty()) {
    line(kArrowsSection);
    for (size_t i = 0; i < e.arrows.size(); ++i) {
      const DrawArrow& a = e.arrows[i];
      ascii(number(int(i) + 1) + integer(a.point) + ", " + integer(a.direction) + ", " + integer(a.lineType));
    }
    ascii(kEnd);
  }
  if (!e.texts.empty()) {
    line(kTextsSection);
    for (const DrawText& t : e.texts) {
      line(t.text);
      ascii(real(t.x) + ", " + real(t.y) + ", " + integer(t.style) + ", " + integer(t.direction));
    }
    ascii(kEnd);
  }
  if (!WriteFileBytes(path, out)) {
    return DrawStatus::Fail("図形ﾌｧｲﾙ " + FileNameForMessage(path) + " を書き込めません。");
  }
  return {};
}

DrawStatus ReadDrawingFile(const std::string& path, DrawingFile& out) {
  out = DrawingFile{};
  auto text = ReadTextLines(path);
  if (!text) return DrawStatus::Fail("図形ﾌｧｲﾙ " + FileNameForMessage(path) + " を読み込めません。");
  const std::vector<std::string>& lines = text->lines;
  auto badHeader = [&](int line) {
    return DrawStatus::Fail(text->badLine == line ? "文字ｺｰﾄﾞが不正です。" : "図形ﾌｧｲﾙの見出しが不正です。", line);
  };
  if (lines.size() < 1) return badHeader(1);
  out.caption = lines[0];
  if (lines.size() < 2) return badHeader(2);
  out.title = lines[1];
  if (lines.size() < 3) return badHeader(3);
  {
    auto f = SplitFields(lines[2]);
    double v[6];
    if (f.size() < 6) return badHeader(3);
    for (int i = 0; i < 6; ++i) {
      auto r = ParseReal(f[size_t(i)]);
      if (!r) return badHeader(3);
      v[i] = *r;
    }
    out.extent = {v[0], v[1], v[2], v[3], v[4], v[5]};
  }

  DrawingElements& e = out.elements;
  // A file that was read can hold what the writer allowed, and more: the
  // model is not limited by the writer's capacities.
  e.capacity = DrawingCapacity{};
  DrawStatus status;
  size_t pos = 3;
  SectionReader reader{*text, pos, status};
  auto fields = [&]() { return SplitFields(lines[pos]); };
  auto ints = [](const std::vector<std::string_view>& f, size_t from, size_t count, int* dst) {
    if (f.size() < from + count) return false;
    for (size_t i = 0; i < count; ++i) {
      auto v = ParseInt(f[from + i]);
      if (!v) return false;
      dst[i] = *v;
    }
    return true;
  };
  auto reals = [](const std::vector<std::string_view>& f, size_t from, size_t count, double* dst) {
    if (f.size() < from + count) return false;
    for (size_t i = 0; i < count; ++i) {
      auto v = ParseReal(f[from + i]);
      if (!v) return false;
      dst[i] = *v;
    }
    return true;
  };

  while (pos < lines.size()) {
    std::string_view name = Trim(lines[pos]);
    ++pos;
    bool ok = true;
    if (name == kPointsSection) {
      ok = reader.Read([&] {
        auto f = fields();
        int n;
        double xy[2];
        if (!ints(f, 0, 1, &n) || !reals(f, 1, 2, xy) || n != int(e.points.size()) + 1) return false;
        e.points.push_back({xy[0], xy[1]});
        ++pos;
        return true;
      });
    } else if (name == kRectsSection) {
      ok = reader.Read([&] {
        int v[5];
        if (!ints(fields(), 0, 5, v)) return false;
        e.rects.push_back({v[1], v[2], v[3], v[4]});
        ++pos;
        return true;
      });
    } else if (name == kLinesSection) {
      ok = reader.Read([&] {
        int v[4];
        if (!ints(fields(), 0, 4, v) || !ValidPoint(e, v[1]) || !ValidPoint(e, v[2])) return false;
        e.lines.push_back({v[1], v[2], v[3]});
        ++pos;
        return true;
      });
    } else if (name == kCirclesSection) {
      ok = reader.Read([&] {
        auto f = fields();
        int v[2], type;
        double radius;
        if (!ints(f, 0, 2, v) || !reals(f, 2, 1, &radius) || !ints(f, 3, 1, &type) || !ValidPoint(e, v[1])) {
          return false;
        }
        e.circles.push_back({v[1], radius, type});
        ++pos;
        return true;
      });
    } else if (name == kArcsSection) {
      ok = reader.Read([&] {
        auto f = fields();
        int n, type;
        double a[5];
        if (!ints(f, 0, 1, &n) || !reals(f, 1, 5, a) || !ints(f, 6, 1, &type)) return false;
        e.arcs.push_back({a[0], a[1], a[2], a[3], a[4], type});
        ++pos;
        return true;
      });
    } else if (name == kFillsSection) {
      ok = reader.Read([&] {
        auto f = fields();
        int v[3];
        if (!ints(f, 0, 3, v)) return false;
        DrawFill fill{v[1], v[2], {}};
        for (size_t i = 3; i < f.size(); ++i) {
          auto p = ParseInt(f[i]);
          if (!p) return false;
          if (*p == 0) break;
          if (!ValidPoint(e, *p)) return false;
          fill.polygon.push_back(*p);
        }
        e.fills.push_back(std::move(fill));
        ++pos;
        return true;
      });
    } else if (name == kArrowsSection) {
      ok = reader.Read([&] {
        int v[4];
        if (!ints(fields(), 0, 4, v) || !ValidPoint(e, v[1])) return false;
        e.arrows.push_back({v[1], v[2], v[3]});
        ++pos;
        return true;
      });
    } else if (name == kTextsSection) {
      ok = reader.Read([&] {
        // Two lines: the text itself, then its position, style and direction.
        std::string textLine = lines[pos];
        if (pos + 1 >= lines.size()) return false;
        auto f = SplitFields(lines[pos + 1]);
        double xy[2];
        int sd[2];
        if (!reals(f, 0, 2, xy) || !ints(f, 2, 2, sd)) {
          ++pos;  // report the position line
          return false;
        }
        e.texts.push_back({std::move(textLine), xy[0], xy[1], sd[0], sd[1]});
        pos += 2;
        return true;
      });
    }
    if (!ok) return status;
  }
  if (text->badLine) return DrawStatus::Fail("文字ｺｰﾄﾞが不正です。", text->badLine);
  return {};
}

// ---- sheet ----

DrawStatus WriteSheetFile(const std::string& path, std::string_view title, double sheetWidthMm,
                          double sheetHeightMm, std::vector<SheetDrawing> drawings) {
  for (size_t i = 0; i < drawings.size(); ++i) {
    // Only the extent on the third line is needed; it is plain ASCII.
    auto bytes = ReadFileBytes(drawings[i].path);
    std::vector<std::string_view> f;
    if (bytes) {
      auto lines = SplitLines(*bytes);
      if (lines.size() >= 3) f = SplitFields(lines[2]);
    }
    double v[6];
    bool ok = f.size() >= 6;
    for (int k = 0; ok && k < 6; ++k) {
      auto r = ParseReal(f[size_t(k)]);
      ok = r.has_value();
      if (ok) v[k] = *r;
    }
    if (!ok) {
      return DrawStatus::Fail("図形ﾌｧｲﾙ " + FileNameForMessage(drawings[i].path) + " の範囲を読み込めません。");
    }
    if (i == 0) {
      drawings[i].offsetX = (sheetWidthMm - v[0]) / 2 - v[2];
      drawings[i].offsetY = (sheetHeightMm - v[1]) / 2 - v[3];
    }
  }
  std::string out = Utf8ToCp932(title) + kCrLf;
  out += TwoNumberLine(sheetWidthMm, sheetHeightMm) + kCrLf;
  for (const SheetDrawing& d : drawings) {
    out += Utf8ToCp932(d.path) + kCrLf;
    out += TwoNumberLine(d.offsetX, d.offsetY) + kCrLf;
  }
  out += std::string(kEnd) + kCrLf;
  if (!WriteFileBytes(path, out)) {
    return DrawStatus::Fail("図面ﾌｧｲﾙ " + FileNameForMessage(path) + " を書き込めません。");
  }
  return {};
}

DrawStatus ReadSheetFile(const std::string& path, SheetFile& out) {
  out = SheetFile{};
  auto text = ReadTextLines(path);
  if (!text) return DrawStatus::Fail("図面ﾌｧｲﾙ " + FileNameForMessage(path) + " を読み込めません。");
  const std::vector<std::string>& lines = text->lines;
  auto fail = [&](int line) {
    return DrawStatus::Fail(text->badLine == line ? "文字ｺｰﾄﾞが不正です。" : "図面ﾌｧｲﾙの記述が不正です。", line);
  };
  auto twoNumbers = [&](size_t index, double& a, double& b) {
    auto f = SplitFields(lines[index]);
    if (f.size() < 2) return false;
    auto x = ParseReal(f[0]);
    auto y = ParseReal(f[1]);
    if (!x || !y) return false;
    a = *x;
    b = *y;
    return true;
  };
  if (lines.empty()) return fail(1);
  out.title = lines[0];
  if (lines.size() < 2 || !twoNumbers(1, out.width, out.height)) return fail(2);
  size_t pos = 2;
  while (true) {
    if (pos >= lines.size()) return fail(int(pos) + 1);
    if (Trim(lines[pos]) == kEnd) return {};
    SheetDrawing d{lines[pos], 0, 0};
    if (pos + 1 >= lines.size() || !twoNumbers(pos + 1, d.offsetX, d.offsetY)) return fail(int(pos) + 2);
    if (int(out.drawings.size()) < kMaxSheetDrawings) {
      out.drawings.push_back(std::move(d));
    } else {
      ++out.skippedDrawings;
    }
    pos += 2;
  }
}

// ---- helpers ----

double TextWidthMm(const TextStyle& style, std::string_view text) {
  // d double-byte and s single-byte characters: d*h + s*h/2 = bytes * h/2.
  return Cp932Length(text) * style.SizeMm() / 2;
}

double TwipsToMm(double twips) { return twips / 1440 * 25.4; }

int MmToTwips(double mm) {
  double t = std::nearbyint(mm / 25.4 * 1440);
  if (!(t > std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  if (!(t < std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  return int(t);
}

std::pair<double, double> RotatePoint(double x, double y, double cx, double cy, double angleDeg) {
  double a = angleDeg * kPi / 180;
  double c = std::cos(a), s = std::sin(a);
  double dx = x - cx, dy = y - cy;
  return {cx + dx * c - dy * s, cy + dx * s + dy * c};
}

double ArrowAngleDeg(int code) {
  static constexpr double kAngles[8] = {0, -45, -90, -135, 180, 135, 90, 45};
  return code >= 1 && code <= 8 ? kAngles[code - 1] : 0;
}

TempFileList& DrawingFileList() {
  static TempFileList list;
  return list;
}

std::optional<std::string> NewDrawingFileName(TempFileList& list) { return list.NewName(); }

}  // namespace hasorin
