#pragma once
// Report files: fixed-pitch CP932 text built from the line templates of the
// format file Zrn.FMT, with the marks the previewer understands ("?R1" and
// "?R2" before level-1 and level-2 headings, a form feed for a new page,
// "?FG;000;000;" + sheet path for a figure).
//
// A template line has numeric fields ("##0.00", "+#0.0" shows a plus sign,
// "\#,##0" a backslash before the number) and string fields ("&   &" left-
// aligned, "&>  &" right-aligned, a lone "!"), filled left to right with the
// values handed to it, byte by byte in CP932: a full-width character fills
// two columns.
#include <array>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "tempfiles.h"

namespace hasorin {

inline constexpr int kMaxTemplateLines = 60;
inline constexpr int kMaxFieldsPerKind = 20;
inline constexpr int kDefaultPageLength = 100;

// Raised inside a report for anything that makes it fail; the message is
// Japanese, for the user.
struct ReportError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// One section of the format file. Template k (1-based) has level code
// Level(k) (0 body text, 1..4 heading level) and text Template(k) (UTF-8).
struct FormatSection {
  std::vector<int> levels;
  std::vector<std::string> templates;

  int Count() const { return int(templates.size()); }
  int Level(int k) const { return levels.at(size_t(k - 1)); }
  const std::string& Template(int k) const { return templates.at(size_t(k - 1)); }
};

// Reads the section that follows the line `key` up to the line "End".
// Throws ReportError for a missing file or key, a section without "End", a
// level digit other than 0..4, or more than 60 template lines.
FormatSection ReadFormatSection(const std::string& formatPath, std::string_view key);

// Heading numbering, from section "Chapter" of the settings file.
struct NumberingSettings {
  int method = 0;                // 0 none, 1 each level alone, 2 joined with "-", 3 with "."
  std::array<int, 4> style{};    // 1..9, 0 none
  std::array<int, 4> margin{};   // left margin of each level in columns
  int init = 0;                  // first chapter number (0 and 1 both start at 1)
};
NumberingSettings ReadNumberingSettings(const std::string& settingsPath);

// The number text of counter n in a style ("1", "(1)", "1)", "(a)", "a)",
// "(i)", "i)", "①", "･"); empty for n <= 0 or an unknown style. A counter
// beyond its style's range is set back to 1.
std::string NumberText(int style, int& n);

// A template line with its fields found.
struct ParsedTemplate {
  struct Field {
    size_t pos = 0, width = 0;  // in bytes
    std::string pattern;        // numeric fields
    bool right = false;         // right-aligned string field
  };
  std::string bytes;  // the template in CP932
  std::vector<Field> numbers, strings;

  // Throws ReportError for more than 20 fields of a kind.
  static ParsedTemplate Parse(std::string_view templateUtf8);
  // The filled line in CP932 bytes. Throws ReportError for more fields than
  // values or a value that is not a finite number; extra values are unused.
  std::string Fill(std::span<const double> numbers, std::span<const std::string> strings) const;
};

// Parse and Fill in one.
std::string FillTemplate(std::string_view templateUtf8, std::span<const double> numbers,
                         std::span<const std::string> strings = {});

// The writer state one report owns while it writes: the current report file,
// line counter and page length, and the heading numbering of the print job.
class ReportWriter {
 public:
  // Starts a print job: settings as given, heading counters 0 (the chapter
  // counter one below the first chapter number), current heading level 1.
  void StartJob(const NumberingSettings& settings);

  // The file the next report writes to.
  void SetCurrentFile(std::string path) { currentFile_ = std::move(path); }
  const std::string& CurrentFile() const { return currentFile_; }

  // Opens the current file for appending: line counter 0, page length 100.
  void Open();
  // Appends what was written since Open to the file; false when it cannot
  // be written.
  bool Close();
  bool IsOpen() const { return open_; }

  int LineCounter() const { return lineCounter_; }
  int PageLength() const { return pageLength_; }
  void SetPageLength(int lines) { pageLength_ = lines; }
  int CurrentLevel() const { return currentLevel_; }
  const std::array<int, 4>& Counters() const { return counters_; }

  // Heading/margin prefix of a line (no line end); counts one line.
  void PrintLinePrefix(int level);
  // Advances the heading counters for a heading of `level` and returns its
  // number text followed by one blank.
  std::string HeadingNumber(int level);
  // Prefix, then the filled template, then a line end.
  void PrintTemplateLine(int level, std::string_view templ, std::span<const double> numbers,
                         std::span<const std::string> strings = {});
  // The same with a template parsed beforehand (for lines printed many times).
  void PrintTemplateLine(int level, const ParsedTemplate& templ, std::span<const double> numbers,
                         std::span<const std::string> strings = {});
  // Prefix, then the text unchanged (UTF-8), then a line end.
  void PrintText(int level, std::string_view text);
  void PrintBlankLines(int n);
  // A new page when fewer than `need` lines are left on this one, else
  // `blank` empty lines.
  void KeepTogether(int need, int blank);
  // A form feed without a line end; the next line starts the new page.
  void NewPage();
  // Raw CP932 bytes, as they are.
  void WriteBytes(std::string_view bytes) { buffer_ += bytes; }

  // What was written since Open and not yet closed (for tests).
  const std::string& Pending() const { return buffer_; }

 private:
  const ParsedTemplate& Parsed(std::string_view templ);
  int Margin(int level) const;

  NumberingSettings settings_;
  std::array<int, 4> counters_{};
  int currentLevel_ = 1;
  std::string currentFile_;
  bool open_ = false;
  int lineCounter_ = 0;
  int pageLength_ = kDefaultPageLength;
  std::string buffer_;
  std::unordered_map<std::string, ParsedTemplate> cache_;   // filled lines
  std::unordered_map<std::string, std::string> textCache_;  // lines printed unchanged
};

// Appends one form feed (no line end) to a file; errors are ignored.
void AppendFormFeed(const std::string& path);

// A new empty report file in the list's folder; nullopt when the list (20
// names) is full or the file cannot be made.
std::optional<std::string> NewReportFileName(TempFileList& list);

}  // namespace hasorin
