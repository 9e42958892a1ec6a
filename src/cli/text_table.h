#pragma once
// A table printed to stdout with its columns aligned by display width in a
// UTF-8 terminal (a full-width character takes two columns, β and σ one).
#include <string>
#include <vector>

namespace hasorin::cli {

class TextTable {
 public:
  // Columns are right-aligned; those listed in `left` (indices) left-aligned.
  static constexpr int kLeft = 0;
  explicit TextTable(std::vector<std::string> headings, std::vector<int> left = {})
      : rows_{std::move(headings)}, left_(std::move(left)) {}
  void AddRow(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }
  void Print() const;

 private:
  std::vector<std::vector<std::string>> rows_;
  std::vector<int> left_;
};

}  // namespace hasorin::cli
