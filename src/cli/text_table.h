#pragma once
// A table of the command line's text output, its columns aligned by display
// width (a full-width character takes two columns).
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cp932.h"

namespace hasorin::cli {

class TextTable {
 public:
  // Columns are right-aligned; those listed in `left` (indices) left-aligned.
  static constexpr int kLeft = 0;
  explicit TextTable(std::vector<std::string> headings, std::vector<int> left = {})
      : rows_{std::move(headings)}, left_(std::move(left)) {}
  void AddRow(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }

  void Print() const {
    std::vector<int> width(rows_.front().size(), 0);
    for (const auto& row : rows_)
      for (size_t c = 0; c < row.size(); ++c) width[c] = std::max(width[c], PrintColumns(row[c]));
    for (const auto& row : rows_) {
      std::string line;
      for (size_t c = 0; c < row.size(); ++c) {
        const size_t pad = size_t(width[c] - PrintColumns(row[c]));
        if (c) line.append(2, ' ');
        const bool left = std::find(left_.begin(), left_.end(), int(c)) != left_.end();
        if (!left) line.append(pad, ' ');
        line += row[c];
        if (left && c + 1 < row.size()) line.append(pad, ' ');
      }
      std::printf("%s\n", line.c_str());
    }
  }

 private:
  std::vector<std::vector<std::string>> rows_;
  std::vector<int> left_;
};

}  // namespace hasorin::cli
