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
      const size_t pad = size_t(width[c] - DisplayWidth(row[c]));
      if (c) line.append(2, ' ');
      const bool left = std::find(left_.begin(), left_.end(), int(c)) != left_.end();
      if (!left) line.append(pad, ' ');
      line += row[c];
      if (left && c + 1 < row.size()) line.append(pad, ' ');
    }
    std::printf("%s\n", line.c_str());
  }
}

}  // namespace hasorin::cli
