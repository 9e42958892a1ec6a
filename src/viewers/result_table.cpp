#include "result_table.h"

#include <charconv>

namespace hasorin {

void ResultTable::SetRows(int count) {
  rows = count < 0 ? 0 : count;
  cells.assign(size_t(rows) * columns.size(), ResultCell{});
}

QString PileNumberHeading() { return QStringLiteral("杭番号"); }

QString FullPrecisionText(double value) {
  char buffer[32];
  auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return QString::fromLatin1(buffer, int(end - buffer));
}

QString ResultTableTsv(const ResultTable& table, int top, int left, int bottom, int right) {
  QString text = PileNumberHeading();
  for (int c = left; c <= right; ++c) text += QLatin1Char('\t') + table.columns[size_t(c)].header;
  text += QStringLiteral("\r\n");
  for (int r = top; r <= bottom; ++r) {
    text += QString::number(r + 1);
    for (int c = left; c <= right; ++c) {
      text += QLatin1Char('\t');
      const ResultCell& cell = table.At(r, c);
      if (cell.hasValue) text += FullPrecisionText(cell.value);
    }
    text += QStringLiteral("\r\n");
  }
  return text;
}

QString ResultTableTsv(const ResultTable& table) {
  return ResultTableTsv(table, 0, 0, table.rows - 1, table.ColumnCount() - 1);
}

}  // namespace hasorin
