#pragma once
// The fourteen columns of the pile table: headers, digit counts, limits,
// grouping, widths and the defaults of a new row, plus the parsing and
// formatting every cell of the table goes through. Columns are 0-based here
// (column 0 is the pile diameter D); the project's pile table is 1-based.
#include <QString>
#include <array>
#include <optional>
#include <string>

#include "exchange.h"

namespace hasorin {

// An empty cell reads as 0 when the table is handed back to the project.
using PileCell = std::optional<double>;
using PileRow = PileTableRow;

struct PileColumn {
  const char* header;        // UTF-8, shown in the header row
  int intDigits;             // digits before the decimal point
  int decDigits;             // digits after it
  double lower;
  double upper;
  bool grouping;             // thousands shown with ","
  int widthChars;            // minimum width in characters; 0 = the grid's default
  const char* defaultText;   // what a new row holds
};

inline constexpr int kColD = 0;
inline constexpr int kColT = 1;
inline constexpr int kColDt = 2;
inline constexpr int kColA = 3;
inline constexpr int kColI = 4;
inline constexpr int kColZ = 5;

const std::array<PileColumn, kPileColumns>& PileColumns();

// The number pattern a cell is shown with ("0.000", "##,###,##0"); without
// grouping it is the text that copy puts on the clipboard.
std::string PileDisplayPattern(int column, bool grouping);
// Display text of a cell (empty cell: empty text).
QString PileDisplayText(int column, const PileCell& cell);
// Text put on the clipboard: the display text without grouping.
QString PileCopyText(int column, const PileCell& cell);
// Text the cell editor starts with: the shortest plain form of the value.
QString PileEditText(const PileCell& cell);
// "入力範囲：0.1～3": the status-bar hint of a cell of the column.
QString PileRangeHint(int column);

// The defaults of a new row, each read from its text.
PileRow PileDefaultRow();

// Why a typed or pasted text cannot go into a cell.
enum class PileEntryError { None, NotNumber, OutOfRange, TooManyDecimals };

struct PileEntry {
  PileEntryError error = PileEntryError::None;
  PileCell value;  // empty text: an empty cell
};

// Checks a typed or pasted text against the column: blanks around it are
// ignored, full-width digits and signs are read as half-width, "1,234.5"
// grouping is accepted, trailing zeros after the point do not count as
// decimals. Limits are inclusive.
PileEntry ParsePileEntry(int column, const QString& text);

// What the user is told when a text is refused: the range hint, and for too
// many decimals how many the column takes.
QString PileRefusalText(int column, PileEntryError error);
// The same for one cell of the table: "3行 Ｉ(cm4)：「191,747,599」 入力範囲：1～99999999"
// (row is 0-based).
QString PileCellRefusalText(int row, int column, const QString& text, PileEntryError error);

// True for an empty cell or a value within the column's limits.
bool PileInRange(int column, const PileCell& cell);
// The first of A, I and Z of the row that leaves its limits, or -1.
int PileSectionOutOfRange(const PileRow& row);
// The status-bar text for such a cell: which limit its value breaks.
QString PileOutOfRangeHint(int row, int column, double value);
// What a cell shows: its display text, or "#" marks where the text would not
// fit the column (a computed section far outside its limits); never a
// clipped number.
QString PileShownText(int column, const PileCell& cell);
// The widest text a cell of the column shows, for its width.
QString PileWidestText(int column);

}  // namespace hasorin
