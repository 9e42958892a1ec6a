#pragma once
// The contents of a result grid as plain data: column headings and widths,
// and per cell the text shown, the full-precision value behind it, and how it
// is marked. The windows show it; copy (and any export) reads the values, not
// the rounded texts.
#include <QString>
#include <vector>

namespace hasorin {

struct ResultColumn {
  QString header;
  double widthChars = 8;  // the narrowest the column is drawn
};

struct ResultCell {
  QString text;           // as shown
  bool hasValue = false;  // false: a text cell ("……") or an empty one
  double value = 0;       // the result as computed
  bool red = false;       // the check failed
  // The value lies outside what the cell is meant to show (±9999.99): it is
  // shown in full, on a marked background, with a tool tip saying so.
  bool beyondLimit = false;
};

struct ResultTable {
  std::vector<ResultColumn> columns;
  int rows = 0;  // row r (0-based) is pile r + 1
  std::vector<ResultCell> cells;  // row-major, rows * columns.size()

  int ColumnCount() const { return int(columns.size()); }
  void SetRows(int count);
  ResultCell& At(int row, int column) { return cells[size_t(row) * columns.size() + size_t(column)]; }
  const ResultCell& At(int row, int column) const {
    return cells[size_t(row) * columns.size() + size_t(column)];
  }
};

// The heading of the pile-number column on the clipboard.
QString PileNumberHeading();

// The shortest text that reads back as exactly the same double.
QString FullPrecisionText(double value);

// Rows top..bottom and columns left..right (0-based, inclusive) as
// tab-separated lines with CR LF: the pile-number heading and the column
// headings first, then per row the pile number and the cells' full-precision
// values; a cell without a value stays empty.
QString ResultTableTsv(const ResultTable& table, int top, int left, int bottom, int right);
QString ResultTableTsv(const ResultTable& table);

}  // namespace hasorin
