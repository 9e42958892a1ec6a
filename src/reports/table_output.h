#pragma once
// Tables of numbers for spreadsheets: one workbook (.xlsx) with a sheet per
// table, or one CSV file per table (CP932, CR LF). Cells stay numbers, with
// the number format of the window that shows them. Free of widgets.
//
//   auto out = OpenWorkbook("results.xlsx");
//   TableSheet& t = out->Add("杭頭作用力", "forces", {{"No", "0", 5}, {"Ｐx(kN)", "#,##0.00", 11}});
//   t.Number(1); t.Number(10.47); t.EndRow();
//   if (!out->Close(&error)) ...
#include <memory>
#include <string>
#include <vector>

namespace hasorin {

struct TableColumn {
  std::string heading;
  std::string format;  // Excel number format of the column's numbers
  double width;        // in characters
};

// One table, written row by row after its heading row. Tables of one output
// may be written in turns; each one's rows go in order.
class TableSheet {
 public:
  virtual ~TableSheet() = default;
  // The next cell of the row: a number (`alert`: in red, as the windows show
  // a value over its limit), a text, or nothing.
  virtual void Number(double value, bool alert = false) = 0;
  virtual void Text(const std::string& text) = 0;
  virtual void Blank() = 0;
  virtual void EndRow() = 0;
  // No more rows will come (a CSV file is closed).
  virtual void Finish() {}
};

class TableOutput {
 public:
  virtual ~TableOutput() = default;
  // A new table named `sheet` in a workbook (made a valid, unique sheet name)
  // and `key` in CSV file names (ASCII). Owned by the output.
  virtual TableSheet& Add(const std::string& sheet, const std::string& key,
                          const std::vector<TableColumn>& columns) = 0;
  // Writes what is left and closes. False, with a Japanese message naming
  // the file, when anything could not be written.
  virtual bool Close(std::string* error) = 0;
};

// A workbook at `path`, written row by row with little memory.
std::unique_ptr<TableOutput> OpenWorkbook(const std::string& path);
// CSV files `<stem>-<key>.csv`; a ".csv" at the end of `path` is left out of the stem.
std::unique_ptr<TableOutput> OpenCsvFiles(const std::string& path);

}  // namespace hasorin
