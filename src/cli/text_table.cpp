#include "text_table.h"

#include <algorithm>
#include <cstdio>

#include "cli_texts.h"

namespace hasorin::cli {

void TextTable::Print() const {
  std::vector<int> width(rows_.front().size(), 0);
  for (const auto& row : rows_)
    for (size_t c = 0; c < row.size() && c < width.size(); ++c)
      width[c] = std::max(width[c], DisplayWidth(row[c]));
  for (const auto& row : rows_) {
    std::string line;
    for (size_t c = 0; c < row.size() && c < width.size(); ++c) {
      line.append(size_t(width[c] - DisplayWidth(row[c]) + (c ? 2 : 0)), ' ');
      line += row[c];
    }
    std::printf("%s\n", line.c_str());
  }
}

}  // namespace hasorin::cli
