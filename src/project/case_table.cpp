#include "case_table.h"

#include <QFile>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "cp932.h"

namespace hasorin {
namespace {

constexpr int kLoadColumns = 7;  // name and the six loads
const char* const kColumnNames[] = {"ケース名", "Xo", "Yo", "Zo", "Mxo", "Myo", "Mzo", "α"};

// Well-formed UTF-8: no stray continuation bytes, no overlong forms or
// surrogates. CP932 text with any double-byte character is never this.
bool IsUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80 ? 0 : (c >= 0xC2 && c <= 0xDF) ? 1 : (c >= 0xE0 && c <= 0xEF) ? 2 : (c >= 0xF0 && c <= 0xF4) ? 3 : 9;
    if (n == 9 || i + n >= s.size() + (n ? 0 : 1)) return false;
    uint32_t code = n == 0 ? c : c & (0x3F >> n);
    for (size_t k = 1; k <= n; ++k) {
      const unsigned char d = static_cast<unsigned char>(s[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      code = (code << 6) | (d & 0x3F);
    }
    if ((n == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) || (n == 3 && (code < 0x10000 || code > 0x10FFFF)))
      return false;
    i += n + 1;
  }
  return true;
}

// The bytes as UTF-8 text: UTF-8 (with or without a byte-order mark) when
// they are valid UTF-8, else CP932. nullopt when they are neither, or hold
// control characters no text file has.
std::optional<std::string> AsText(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  for (unsigned char c : bytes)
    if (c < 0x20 && c != '\t' && c != '\r' && c != '\n') return std::nullopt;
  if (IsUtf8(bytes)) return std::string(bytes);
  return Cp932ToUtf8(bytes);
}

struct Cell {
  std::string text;
  int column;  // 1-based
};

// Splits one line at `separator`; a cell in double quotes may hold the
// separator and doubled quotes. False when a quote is not closed.
bool SplitLine(std::string_view line, char separator, std::vector<Cell>& cells, int& badColumn) {
  cells.clear();
  size_t i = 0;
  for (int column = 1;; ++column) {
    std::string text;
    while (i < line.size() && line[i] == ' ') ++i;
    if (i < line.size() && line[i] == '"') {
      size_t j = i + 1;
      for (;;) {
        if (j >= line.size()) {
          badColumn = column;
          return false;
        }
        if (line[j] == '"') {
          if (j + 1 < line.size() && line[j + 1] == '"') {
            text += '"';
            j += 2;
            continue;
          }
          ++j;
          break;
        }
        text += line[j++];
      }
      i = j;
      while (i < line.size() && line[i] != separator) text += line[i++];
    } else {
      while (i < line.size() && line[i] != separator) text += line[i++];
    }
    while (!text.empty() && (text.back() == ' ' || (separator != '\t' && text.back() == '\t')))
      text.pop_back();
    cells.push_back({std::move(text), column});
    if (i >= line.size()) return true;
    ++i;  // the separator
  }
}

std::string Where(int line, int column) {
  std::string where = std::to_string(line);
  where += "行目";
  if (column > 0) {
    where.append(" ").append(std::to_string(column)).append("列目");
    if (column <= int(std::size(kColumnNames))) where.append("（").append(kColumnNames[column - 1]).append("）");
  }
  return where.append("：");
}

CaseTableError Error(int line, int column, const std::string& what) {
  return {line, column, Where(line, column) + what};
}

// A number cell: empty is nullopt; anything but one finite decimal number is
// an error.
bool ReadNumber(const Cell& cell, int line, std::optional<double>& value,
                std::vector<CaseTableError>& errors) {
  value.reset();
  std::string_view text = cell.text;
  if (text.empty()) return true;
  std::string_view digits = text.starts_with('+') ? text.substr(1) : text;
  double x = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), x);
  if (ec == std::errc::result_out_of_range) {
    errors.push_back(Error(line, cell.column, "数値の範囲を超えています「" + cell.text + "」"));
    return false;
  }
  if (ec != std::errc() || end != digits.data() + digits.size() || digits.empty() ||
      !std::isfinite(x)) {
    errors.push_back(Error(line, cell.column, "数値ではありません「" + cell.text + "」"));
    return false;
  }
  value = x;
  return true;
}

}  // namespace

CaseTable ParseCaseTable(std::string_view bytes) {
  CaseTable table;
  const std::optional<std::string> text = AsText(bytes);
  if (!text) {
    table.failure = "ケース表がテキストファイルではありません（UTF-8またはShift_JISのCSVか，タブ区切りのテキストを指定してください）";
    return table;
  }
  std::vector<std::string_view> lines;
  for (std::string_view rest = *text; !rest.empty();) {
    const size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  auto blank = [](std::string_view line) {
    return line.find_first_not_of(" \t,") == std::string_view::npos;
  };
  size_t heading = 0;
  while (heading < lines.size() && blank(lines[heading])) ++heading;
  if (heading == lines.size()) {
    table.failure = "ケース表が空です";
    return table;
  }
  const char separator = lines[heading].find('\t') != std::string_view::npos ? '\t' : ',';
  std::vector<Cell> cells;
  int badColumn = 0;
  const int headingLine = int(heading) + 1;
  if (!SplitLine(lines[heading], separator, cells, badColumn)) {
    table.failure = Where(headingLine, badColumn) + "引用符が閉じていません";
    return table;
  }
  while (!cells.empty() && cells.back().text.empty()) cells.pop_back();
  if (cells.size() < size_t(kLoadColumns)) {
    table.failure = Where(headingLine, 0) +
                    "見出し行の列が足りません（ケース名，Xo，Yo，Zo，Mxo，Myo，Mzoの7列と，必要ならαの列）";
    return table;
  }
  table.hasAlphaColumn = cells.size() > size_t(kLoadColumns);
  const size_t columns = table.hasAlphaColumn ? kLoadColumns + 1 : kLoadColumns;

  for (size_t l = heading + 1; l < lines.size(); ++l) {
    const int line = int(l) + 1;
    if (blank(lines[l])) continue;
    if (!SplitLine(lines[l], separator, cells, badColumn)) {
      table.errors.push_back(Error(line, badColumn, "引用符が閉じていません"));
      continue;
    }
    if (cells.size() < size_t(kLoadColumns)) {
      const int missing = int(cells.size()) + 1;
      table.errors.push_back(Error(line, missing, "値がありません（列が足りません：" +
                                                      std::to_string(cells.size()) + "列）"));
      continue;
    }
    bool ok = true;
    for (size_t c = columns; c < cells.size(); ++c) {
      if (cells[c].text.empty()) continue;
      table.errors.push_back(Error(line, cells[c].column, "余分な値があります「" + cells[c].text + "」"));
      ok = false;
      break;
    }
    LoadCase loadCase;
    loadCase.name = cells[0].text;
    loadCase.line = line;
    for (int k = 0; k < 6 && ok; ++k) {
      std::optional<double> value;
      ok = ReadNumber(cells[size_t(k) + 1], line, value, table.errors);
      loadCase.loads[size_t(k)] = value.value_or(0.0);  // an empty load is 0
    }
    if (ok && columns > size_t(kLoadColumns) && cells.size() > size_t(kLoadColumns))
      ok = ReadNumber(cells[kLoadColumns], line, loadCase.alpha, table.errors);
    if (ok) table.cases.push_back(std::move(loadCase));
  }
  if (table.cases.empty() && table.errors.empty())
    table.failure = "ケース表にケースがありません（見出し行の次の行から1行に1ケース）";
  return table;
}

CaseTable ReadCaseTable(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) {
    CaseTable table;
    table.failure = "ケース表を開けません：" + path;
    return table;
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    CaseTable table;
    table.failure = "ケース表を読めません：" + path;
    return table;
  }
  return ParseCaseTable(std::string_view(bytes.constData(), size_t(bytes.size())));
}

}  // namespace hasorin
