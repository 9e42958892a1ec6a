#pragma once
// A table printed to stdout with its columns right-aligned by display width
// in a UTF-8 terminal (a full-width character takes two columns, β and σ one).
#include <string>
#include <vector>

namespace hasorin::cli {

class TextTable {
 public:
  explicit TextTable(std::vector<std::string> headings) : rows_{std::move(headings)} {}
  void AddRow(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }
  void Print() const;

 private:
  std::vector<std::vector<std::string>> rows_;
};

}  // namespace hasorin::cli
