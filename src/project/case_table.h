#pragma once
// A table of load cases: each row one name, the six loads at the origin and
// optionally its own allowable-stress increase factor. Read from a CSV or
// tab-separated text file, UTF-8 or CP932, with a heading row. Free of Qt.
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace hasorin {

struct LoadCase {
  std::string name;                // UTF-8
  std::array<double, 6> loads{};   // Xo, Yo, Zo (kN), Mxo, Myo, Mzo (kN·m)
  std::optional<double> alpha;     // none: the project's factor
  int line = 0;                    // line of the file it came from
};

// A row that could not be read, with the 1-based line and column it was found
// in (column 0: the row as a whole) and a Japanese message naming both.
struct CaseTableError {
  int line = 0;
  int column = 0;
  std::string message;
};

struct CaseTable {
  std::vector<LoadCase> cases;
  std::vector<CaseTableError> errors;  // bad rows; the others are in `cases`
  // The file as a whole could not be used (missing, empty, not text, no
  // heading): `cases` is empty and this says why.
  std::optional<std::string> failure;
  bool hasAlphaColumn = false;
};

// Reads the file at `path` (UTF-8 path).
CaseTable ReadCaseTable(const std::string& path);
// Reads the bytes of a case table file.
CaseTable ParseCaseTable(std::string_view bytes);

}  // namespace hasorin
