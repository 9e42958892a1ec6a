#include "table_output.h"

#include <QFile>
#include <QSaveFile>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <map>
#include <random>

#include "cp932.h"
#include "xlsx_library.h"

namespace hasorin {
namespace {

// ---- Workbook ----

// Excel's rules for sheet names: at most 31 characters, none of []:*?/\ and
// no apostrophe at either end.
std::string SheetName(const std::string& wanted, int most = LXW_SHEETNAME_MAX) {
  std::string name;
  int characters = 0;
  for (size_t i = 0; i < wanted.size() && characters < most;) {
    const unsigned char lead = static_cast<unsigned char>(wanted[i]);
    const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    std::string ch = wanted.substr(i, length);
    if (ch.size() == 1 && std::string_view("[]:*?/\\").find(ch[0]) != std::string_view::npos) ch = "_";
    name += ch;
    i += length;
    ++characters;
  }
  while (!name.empty() && name.front() == '\'') name.erase(0, 1);
  while (!name.empty() && name.back() == '\'') name.pop_back();
  return name.empty() ? "Sheet" : name;
}

class XlsxOutput;

class XlsxSheet final : public TableSheet {
 public:
  XlsxSheet(XlsxOutput& out, lxw_worksheet* sheet, std::vector<lxw_format*> formats,
            std::vector<lxw_format*> alerts)
      : out_(out), sheet_(sheet), formats_(std::move(formats)), alerts_(std::move(alerts)) {}
  void Number(double value, bool alert) override;
  void Text(const std::string& text) override;
  void Blank() override { ++column_; }
  void EndRow() override {
    ++row_;
    column_ = 0;
  }

 private:
  lxw_format* Format(bool alert) const {
    const auto& list = alert ? alerts_ : formats_;
    return column_ < list.size() ? list[column_] : nullptr;
  }
  XlsxOutput& out_;
  lxw_worksheet* sheet_;
  std::vector<lxw_format*> formats_, alerts_;
  lxw_row_t row_ = 1;  // below the heading
  lxw_col_t column_ = 0;
};

class XlsxOutput final : public TableOutput {
 public:
  explicit XlsxOutput(const std::string& path) : path_(path) {
    // Written beside the target and put in its place when complete, so that
    // a failed save leaves an older file as it was.
    std::random_device random;
    temp_ = path + "." + std::to_string(random() % 1000000) + ".tmp";
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    // The library would find a missing folder only when closing, and say so in English.
    std::error_code ec;
    const auto folder = std::filesystem::absolute(std::filesystem::u8path(path), ec).parent_path();
    folderMissing_ = !std::filesystem::is_directory(folder, ec);
    if (x_ && !folderMissing_) workbook_ = x_->workbook_new_opt(temp_.c_str(), &options);
    if (workbook_) {
      heading_ = x_->workbook_add_format(workbook_);
      x_->format_set_bold(heading_);
      x_->format_set_align(heading_, LXW_ALIGN_CENTER);
      x_->format_set_bottom(heading_, LXW_BORDER_THIN);
    }
  }
  ~XlsxOutput() override {
    if (workbook_) {
      x_->workbook_close(workbook_);
      std::error_code ignored;
      std::filesystem::remove(std::filesystem::u8path(temp_), ignored);
    }
  }

  TableSheet& Add(const std::string& sheet, const std::string&,
                  const std::vector<TableColumn>& columns) override {
    lxw_worksheet* ws = workbook_ ? NewSheet(sheet) : nullptr;
    std::vector<lxw_format*> formats, alerts;
    for (lxw_col_t c = 0; c < columns.size(); ++c) {
      formats.push_back(NumberFormat(columns[c].format, false));
      alerts.push_back(NumberFormat(columns[c].format, true));
      if (ws) {
        Check(x_->worksheet_set_column(ws, c, c, columns[c].width, nullptr));
        Check(x_->worksheet_write_string(ws, 0, c, columns[c].heading.c_str(), heading_));
      }
    }
    if (ws) x_->worksheet_freeze_panes(ws, 1, 0);
    sheets_.push_back(std::make_unique<XlsxSheet>(*this, ws, std::move(formats), std::move(alerts)));
    return *sheets_.back();
  }

  bool Close(std::string* error) override {
    if (!x_) return Fail(error, "ﾗｲﾌﾞﾗﾘ libxlsxwriter を読み込めません");
    if (!workbook_) return Fail(error, folderMissing_ ? "保存先のフォルダがありません" : "ブックを作成できません");
    lxw_error closed = x_->workbook_close(workbook_);
    workbook_ = nullptr;
    if (error_ == LXW_NO_ERROR) error_ = closed;
    std::error_code ec;
    const auto temp = std::filesystem::u8path(temp_);
    if (error_ == LXW_NO_ERROR) std::filesystem::rename(temp, std::filesystem::u8path(path_), ec);
    if (error_ != LXW_NO_ERROR || ec) {
      std::filesystem::remove(temp, ec);
      return Fail(error, error_ != LXW_NO_ERROR ? x_->lxw_strerror(error_) : "ファイルを置き換えられません");
    }
    return true;
  }

  const XlsxLibrary& library() const { return *x_; }
  void Check(lxw_error e) {
    if (error_ == LXW_NO_ERROR) error_ = e;
  }

 private:
  bool Fail(std::string* error, const std::string& why) {
    if (error) *error = "Excelﾌｧｲﾙを保存できません：" + path_ + "（" + why + "）";
    return false;
  }

  lxw_worksheet* NewSheet(const std::string& wanted) {
    std::string name = SheetName(wanted);
    for (int n = 2; x_->workbook_get_worksheet_by_name(workbook_, name.c_str()); ++n) {
      name = SheetName(wanted, LXW_SHEETNAME_MAX - 7);
      name.append("(").append(std::to_string(n)).append(")");
    }
    lxw_worksheet* ws = x_->workbook_add_worksheet(workbook_, name.c_str());
    if (!ws) ws = x_->workbook_add_worksheet(workbook_, nullptr);  // Sheet1, Sheet2, ...
    if (!ws) Check(LXW_ERROR_MEMORY_MALLOC_FAILED);
    return ws;
  }

  lxw_format* NumberFormat(const std::string& pattern, bool alert) {
    if (!workbook_) return nullptr;
    lxw_format*& f = formats_[{pattern, alert}];
    if (!f) {
      f = x_->workbook_add_format(workbook_);
      x_->format_set_num_format(f, pattern.c_str());
      if (alert) x_->format_set_font_color(f, LXW_COLOR_RED);
    }
    return f;
  }

  const XlsxLibrary* x_ = LoadXlsxLibrary();
  std::string path_, temp_;
  lxw_workbook* workbook_ = nullptr;
  lxw_format* heading_ = nullptr;
  std::map<std::pair<std::string, bool>, lxw_format*> formats_;
  std::vector<std::unique_ptr<XlsxSheet>> sheets_;
  lxw_error error_ = LXW_NO_ERROR;
  bool folderMissing_ = false;
};

void XlsxSheet::Number(double value, bool alert) {
  if (sheet_ && std::isfinite(value))
    out_.Check(out_.library().worksheet_write_number(sheet_, row_, column_, value, Format(alert)));
  ++column_;
}

void XlsxSheet::Text(const std::string& text) {
  // A cell holds at most 32,767 characters; a longer text is cut there
  // rather than failing the workbook.
  std::string cell = text;
  size_t characters = 0;
  for (size_t i = 0; i < cell.size(); ++i) {
    if ((static_cast<unsigned char>(cell[i]) & 0xC0) == 0x80) continue;
    if (++characters > 32767) {
      cell.resize(i);
      break;
    }
  }
  if (sheet_) out_.Check(out_.library().worksheet_write_string(sheet_, row_, column_, cell.c_str(), nullptr));
  ++column_;
}

// ---- CSV ----

class CsvSheet final : public TableSheet {
 public:
  CsvSheet(const std::string& path, const std::vector<TableColumn>& columns) : file_(QString::fromStdString(path)), path_(path) {
    ok_ = file_.open(QIODevice::WriteOnly);
    for (const TableColumn& c : columns) Text(c.heading);
    EndRow();
  }
  ~CsvSheet() override {
    if (file_.isOpen()) file_.cancelWriting();
  }
  void Number(double value, bool) override {
    Separate();
    if (!std::isfinite(value)) return;
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;  // shortest exact
    line_.append(digits, end);
  }
  void Text(const std::string& text) override {
    Separate();
    if (text.find_first_of(",\"\r\n") == std::string::npos && !text.starts_with(' ') && !text.ends_with(' ')) {
      line_ += text;
      return;
    }
    line_ += '"';
    for (char c : text) line_ += c == '"' ? std::string("\"\"") : std::string(1, c);
    line_ += '"';
  }
  void Blank() override { Separate(); }
  void EndRow() override {
    line_ += "\r\n";
    buffer_ += Utf8ToCp932(line_);
    line_.clear();
    first_ = true;
    if (buffer_.size() > 65536) Flush();
  }
  void Finish() override {
    if (!file_.isOpen()) return;
    Flush();
    ok_ = file_.commit() && ok_;
  }
  bool ok() const { return ok_; }
  const std::string& path() const { return path_; }

 private:
  void Separate() {
    if (!first_) line_ += ',';
    first_ = false;
  }
  void Flush() {
    if (ok_ && file_.write(buffer_.data(), qint64(buffer_.size())) != qint64(buffer_.size())) ok_ = false;
    buffer_.clear();
  }
  QSaveFile file_;
  std::string path_, line_, buffer_;
  bool ok_ = false, first_ = true;
};

class CsvOutput final : public TableOutput {
 public:
  explicit CsvOutput(std::string path) : stem_(std::move(path)) {
    if (stem_.size() > 4 && stem_.ends_with(".csv")) stem_.resize(stem_.size() - 4);
  }
  TableSheet& Add(const std::string&, const std::string& key, const std::vector<TableColumn>& columns) override {
    sheets_.push_back(std::make_unique<CsvSheet>(stem_ + "-" + key + ".csv", columns));
    return *sheets_.back();
  }
  bool Close(std::string* error) override {
    for (auto& sheet : sheets_) {
      sheet->Finish();
      if (!sheet->ok()) {
        if (error) *error = "CSVﾌｧｲﾙを保存できません：" + sheet->path();
        return false;
      }
    }
    return true;
  }

 private:
  std::string stem_;
  std::vector<std::unique_ptr<CsvSheet>> sheets_;
};

}  // namespace

std::unique_ptr<TableOutput> OpenWorkbook(const std::string& path) {
  return std::make_unique<XlsxOutput>(path);
}

std::unique_ptr<TableOutput> OpenCsvFiles(const std::string& path) {
  return std::make_unique<CsvOutput>(path);
}

}  // namespace hasorin
