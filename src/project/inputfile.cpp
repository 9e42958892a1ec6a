#include "inputfile.h"

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>
#include <vector>

#include "cp932.h"
#include "numfmt.h"
#include "safe_write.h"

namespace hasorin {
namespace {

using namespace fileerr;

constexpr std::string_view kMagic = "QUORVANT INPUT FILE FORMAT V1：";
constexpr std::string_view kProductLine = "PRODUCT NAME                   [Hasorin]";
constexpr std::string_view kVersionLine = "INPUT FILE VERSION             [1.00]";
constexpr std::string_view kRevisionLine = " 1 ";
constexpr std::string_view kTrue = "#TRUE#";
constexpr std::string_view kFalse = "#FALSE#";
constexpr std::string_view kCrLf = "\r\n";

bool IsAscii(std::string_view bytes) {
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// ---------------------------------------------------------------- writing

// A text as it can stand on one value line: '"' has no escape in the file,
// and a line break would shift every following line.
std::string OneLineText(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (char c : utf8) {
    if (c == '"') out += "＂";
    else if (c == '\r' || c == '\n') out += ' ';
    else out += c;
  }
  return out;
}

void AppendCp932(std::string& out, std::string_view utf8) {
  if (IsAscii(utf8)) out += utf8;
  else out += Utf8ToCp932(utf8);
}

bool ParseNumber(std::string_view s, ProjectValue& value);

// A real as the file holds it: the classic 15-digit text wherever that reads
// back as the same number, else the shortest text that does (the largest
// reals round up past the largest double in 15 digits).
std::string RealForFile(double x) {
  std::string text = FormatGeneral(x);
  ProjectValue back;
  if (ParseNumber(text, back) && back.number() == x) return text;
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, x);
  text.assign(buffer, result.ptr);
  for (char& c : text)
    if (c == 'e') c = 'E';
  return text;
}

// The text of the last real written in one column of the pile table: most
// piles share diameter, section and length, so their text is made once.
struct RealText {
  double value = std::nan("");
  std::string text;

  const std::string& Of(double x) {
    if (x != value) {
      value = x;
      text = RealForFile(x);
    }
    return text;
  }
};

// Appends one value line. False for a real the file cannot hold (infinite or
// not a number): writing it would make a file that no longer reads.
bool AppendValueLine(std::string& out, const ProjectValue& value, RealText* column = nullptr) {
  switch (value.kind()) {
    case ProjectValue::Kind::Empty:
      break;
    case ProjectValue::Kind::Text:
      out += '"';
      AppendCp932(out, OneLineText(value.text()));
      out += '"';
      break;
    case ProjectValue::Kind::Integer:
      out += std::to_string(value.integer());
      break;
    case ProjectValue::Kind::Real:
      if (!std::isfinite(value.real())) return false;
      out += column ? column->Of(value.real()) : RealForFile(value.real());
      break;
    case ProjectValue::Kind::Boolean:
      out += value.boolean() ? kTrue : kFalse;
      break;
  }
  out += kCrLf;
  return true;
}

// Line 1 carries the title as plain text; it is never read back.
void AppendTitleLine(std::string& out, const ProjectValue& title) {
  AppendCp932(out, kMagic);
  switch (title.kind()) {
    case ProjectValue::Kind::Text: AppendCp932(out, OneLineText(title.text())); break;
    case ProjectValue::Kind::Integer: out += std::to_string(title.integer()); break;
    case ProjectValue::Kind::Real:
      if (std::isfinite(title.real())) out += FormatGeneral(title.real());
      break;
    case ProjectValue::Kind::Boolean: out += title.boolean() ? "True" : "False"; break;
    case ProjectValue::Kind::Empty: break;
  }
  out += kCrLf;
}

// " 12 ": the sign position of a non-negative number, the digits, a blank.
void AppendCountLine(std::string& out, int count) {
  out += ' ';
  out += std::to_string(count);
  out += ' ';
  out += kCrLf;
}

// The whole file as CP932 bytes, or an error code.
int BuildFile(const Project& project, std::string& out) {
  if (project.PileCount < 0 || project.PileCount > kMaxPiles) return kSubscript;
  out.reserve(2048 + size_t(project.PileCount) * kPileColumns * 12);
  AppendTitleLine(out, project.Conditions(1));
  out += kProductLine;
  out += kCrLf;
  out += kVersionLine;
  out += kCrLf;
  out += kRevisionLine;
  out += kCrLf;
  bool ok = AppendValueLine(out, ProjectValue::Boolean(project.ConditionsEntered));
  for (int i = 1; i <= kConditionSlots; ++i) ok = AppendValueLine(out, project.Conditions(i)) && ok;
  ok = AppendValueLine(out, ProjectValue::Boolean(project.LoadsEntered)) && ok;
  for (int i = 1; i <= kLoadSlots; ++i) ok = AppendValueLine(out, project.Loads(i)) && ok;
  AppendCountLine(out, project.PileCount);
  std::array<RealText, kPileColumns> columns;
  for (int pile = 1; pile <= project.PileCount; ++pile)
    for (int column = 1; column <= kPileColumns; ++column)
      ok = AppendValueLine(out, project.Piles(column, pile), &columns[size_t(column - 1)]) && ok;
  return ok ? 0 : kTypeMismatch;
}

int CodeFromErrno(int error) {
  switch (error) {
    case ENOSPC:
    case EFBIG:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return kDiskFull;
    case EACCES:
    case EPERM:
#ifdef EROFS
    case EROFS:
#endif
      return kPermissionDenied;
    case ENOENT:
    case ENOTDIR:
      return kPathNotFound;
    default:
      return kPathFileAccess;
  }
}

// Writes through a temporary file in the target's folder that replaces the
// target only once it is complete, so a failure never costs the old file.
int SaveBytes(const std::string& bytes, const std::string& path) {
  if (path.empty()) return kPathFileAccess;
  const QFileInfo info(QString::fromStdString(path));
  if (info.isDir()) return kPathFileAccess;
  const QFileInfo folder(info.absolutePath());
  if (!folder.isDir()) return kPathNotFound;
  // The folder's own writability is left to the attempt: on Windows a
  // read-only attribute on a folder does not stop writing into it.
  if (info.exists() && !info.isWritable()) return kPermissionDenied;

  if (const int error = ReplaceFileContents(path, bytes)) return CodeFromErrno(error);
  return 0;
}

// ---------------------------------------------------------------- reading

int OpenForReading(QFile& file, const std::string& path) {
  const QFileInfo info(QString::fromStdString(path));
  if (path.empty() || !info.exists()) return kFileNotFound;
  // Folders, pipes and devices: never block on them or read them whole.
  if (!info.isFile()) return kPathFileAccess;
  if (!info.isReadable()) return kPermissionDenied;
  file.setFileName(info.filePath());
  errno = 0;
  if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return CodeFromErrno(errno);
  return 0;
}

// Reads the file in blocks and hands out one line at a time, so that a huge
// or garbage file costs no more memory than one block and one line.
class LineReader {
 public:
  explicit LineReader(QFile& file)
      : file_(file), buffer_(size_t(kMaxInputLineBytes) + 2 + kBlock) {}

  // The next line's bytes without the line end, valid until the next call;
  // 0 or an error code. Lines that are skipped are never decoded, so that a
  // damaged header costs nothing of the data.
  int NextBytes(std::string_view& bytes) {
    for (;;) {
      const char* data = buffer_.data();
      const auto* newline = static_cast<const char*>(std::memchr(data + begin_, '\n', end_ - begin_));
      if (newline) {
        bytes = Take(size_t(newline - data), 1);
        return 0;
      }
      // CR LF may follow the longest line allowed.
      if (end_ - begin_ > size_t(kMaxInputLineBytes) + 1) return kPathFileAccess;
      if (atEnd_) {
        if (begin_ == end_) return kPastEndOfFile;
        bytes = Take(end_, 0);  // the last line has no line end
        return 0;
      }
      if (int code = Fill()) return code;
    }
  }

  // The next line without its line end, as UTF-8; 0 or an error code.
  int Next(std::string& line) {
    std::string_view bytes;
    if (int code = NextBytes(bytes)) return code;
    if (IsAscii(bytes)) {
      line.assign(bytes);
      return 0;
    }
    auto text = Cp932ToUtf8(bytes);
    if (!text) return kPathFileAccess;
    line = std::move(*text);
    return 0;
  }

 private:
  static constexpr size_t kBlock = 64 * 1024;

  std::string_view Take(size_t lineEnd, size_t skip) {
    std::string_view bytes(buffer_.data() + begin_, lineEnd - begin_);
    begin_ = lineEnd + skip;
    if (!bytes.empty() && bytes.back() == '\r') bytes.remove_suffix(1);
    return bytes;
  }

  int Fill() {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    const qint64 n = file_.read(buffer_.data() + end_, qint64(buffer_.size() - end_));
    if (n < 0) return kPathFileAccess;
    if (n == 0) atEnd_ = true;
    end_ += size_t(n);
    return 0;
  }

  QFile& file_;
  std::vector<char> buffer_;
  size_t begin_ = 0, end_ = 0;
  bool atEnd_ = false;
};

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = char(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = char(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

size_t CountDigits(std::string_view s, size_t& i) {
  const size_t start = i;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
  return i - start;
}

// [+-] digits [. digits] [E [+-] digits], at least one mantissa digit.
bool ParseNumber(std::string_view s, ProjectValue& value) {
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = CountDigits(s, i);
  bool plainInteger = true;
  if (i < s.size() && s[i] == '.') {
    ++i;
    digits += CountDigits(s, i);
    plainInteger = false;
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (CountDigits(s, i) == 0) return false;
    plainInteger = false;
  }
  if (i != s.size()) return false;

  // Short integers, most of a pile table, need no general conversion.
  if (plainInteger && digits <= 9) {
    long n = 0;
    for (char c : s)
      if (c >= '0' && c <= '9') n = n * 10 + (c - '0');
    if (s.front() == '-') n = -n;
    value = (n >= -32768 && n <= 32767) ? ProjectValue::Integer(std::int16_t(n))
                                        : ProjectValue::Real(double(n));
    return true;
  }
  if (s.front() == '+') s.remove_prefix(1);
  double x = 0;
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), x);
  if (error != std::errc() || end != s.data() + s.size() || !std::isfinite(x)) return false;
  value = (plainInteger && x >= -32768 && x <= 32767) ? ProjectValue::Integer(std::int16_t(x))
                                                      : ProjectValue::Real(x);
  return true;
}

// One value line: quoted text, a flag, nothing, or a number. False when it
// is none of these.
bool ParseValue(std::string_view line, ProjectValue& value) {
  const std::string_view s = TrimBlanks(line);
  if (s.empty()) {
    value = ProjectValue();
  } else if (s.front() == '"') {
    if (s.size() < 2 || s.back() != '"') return false;
    // As the writer will put it back: a '"' or a carriage return inside the
    // quotes cannot be written, so the project holds what a save keeps.
    value = ProjectValue::Text(OneLineText(s.substr(1, s.size() - 2)));
  } else if (EqualsIgnoringCase(s, kTrue) || EqualsIgnoringCase(s, kFalse)) {
    value = ProjectValue::Boolean(s.size() == kTrue.size());
  } else {
    return ParseNumber(s, value);
  }
  return true;
}

class ProjectReader {
 public:
  explicit ProjectReader(QFile& file) : lines_(file) {}

  int Skip() {
    std::string_view bytes;
    return lines_.NextBytes(bytes);
  }

  int Value(ProjectValue& value) {
    if (int code = lines_.Next(line_)) return code;
    return ParseValue(line_, value) ? 0 : kTypeMismatch;
  }

  int Flag(bool& flag) {
    ProjectValue value;
    if (int code = Value(value)) return code;
    if (!value.isBoolean()) return kTypeMismatch;
    flag = value.boolean();
    return 0;
  }

  int Count(int& count) {
    ProjectValue value;
    if (int code = Value(value)) return code;
    const double n = value.number();
    if (!value.isNumber() || n != std::floor(n)) return kTypeMismatch;
    if (n < 0 || n > kMaxPiles) return kSubscript;
    count = int(n);
    return 0;
  }

 private:
  LineReader lines_;
  std::string line_;
};

int ReadProject(Project& project, const std::string& path) {
  QFile file;
  if (int code = OpenForReading(file, path)) return code;
  ProjectReader in(file);
  // Header lines and the revision number are not needed to load the project.
  for (int i = 0; i < 4; ++i)
    if (int code = in.Skip()) return code;
  if (int code = in.Flag(project.ConditionsEntered)) return code;
  for (int i = 1; i <= kConditionSlots; ++i)
    if (int code = in.Value(project.Conditions(i))) return code;
  if (int code = in.Flag(project.LoadsEntered)) return code;
  for (int i = 1; i <= kLoadSlots; ++i)
    if (int code = in.Value(project.Loads(i))) return code;
  if (int code = in.Count(project.PileCount)) return code;
  for (int pile = 1; pile <= project.PileCount; ++pile)
    for (int column = 1; column <= kPileColumns; ++column)
      if (int code = in.Value(project.Piles(column, pile))) return code;
  return 0;
}

}  // namespace

FileResult WriteInputFile(const Project& project, const std::string& path) {
  std::string bytes;
  int code = BuildFile(project, bytes);
  if (code == 0) code = SaveBytes(bytes, path);
  return {code == 0, code};
}

FileResult ReadInputFile(Project& project, const std::string& path) {
  // A failed read must not cost the user the project that is open.
  Project scratch;
  if (int code = ReadProject(scratch, path)) return {false, code};
  scratch.CurrentFilePath = std::move(project.CurrentFilePath);
  scratch.ProjectModified = project.ProjectModified;
  project = std::move(scratch);
  return {};
}

std::string ReadInputFileVersion(const std::string& path) {
  const std::string error = "error";
  QFile file;
  if (OpenForReading(file, path) != 0) return error;
  LineReader lines(file);
  std::string_view skipped;
  for (int i = 0; i < 2; ++i)
    if (lines.NextBytes(skipped) != 0) return error;
  std::string line;
  if (lines.Next(line) != 0) return error;
  // The version starts in column 33 and ends before the closing bracket.
  QString third = QString::fromStdString(line);
  if (third.size() < 33) return error;
  QString version = third.mid(32);
  version.chop(1);
  return version.toStdString();
}

}  // namespace hasorin
