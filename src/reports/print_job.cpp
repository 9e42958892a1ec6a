#include "print_job.h"

#include "paths.h"
#include "reports.h"
#include "settings.h"
#include "text_file.h"

namespace hasorin {
namespace {

constexpr const char* kFailureLines[PrintJob::kReportCount] = {
    "･『計算条件』の印刷ﾌｧｲﾙ生成ｴﾗｰ",
    "･『計算結果(杭頭変位および杭頭作用力)』の印刷ﾌｧｲﾙ生成ｴﾗｰ",
    "･『計算結果(杭応力度照査)』の印刷ﾌｧｲﾙ生成ｴﾗｰ",
};

using ReportFunction = bool (*)(ReportWriter&, const ReportInputs&, std::string&);
constexpr ReportFunction kReports[PrintJob::kReportCount] = {WriteConditionsReport, WritePileHeadReport,
                                                              WriteStressReport};

// Why no report file could be made: most often a temporary folder whose
// name a print file cannot hold.
std::string TempFileProblem(const std::string& folder) {
  if (folder.empty() && PrintTempFolder().empty()) {
    return "印刷用の一時ﾌｧｲﾙを作成できません。一時ﾌｫﾙﾀﾞ " + TempFolder() +
           " の名前に Shift_JIS で表せない文字か制御文字があり，代わりのﾌｫﾙﾀﾞもありません。";
  }
  return "印刷用の一時ﾌｧｲﾙを作成できません。";
}

}  // namespace

PrintJob::PrintJob(const Project& project, const engine::CalcResults& results, PrintJobOptions options)
    : project_(project), results_(results), options_(std::move(options)) {
  if (options_.settingsPath.empty()) options_.settingsPath = SettingsFilePath();
  if (options_.formatPath.empty()) options_.formatPath = FormatFilePath();
  if (options_.programFolder.empty()) options_.programFolder = ProgramFolder();
  reportFiles_.SetFolder(options_.folder);
  drawingFiles_.SetFolder(options_.folder);
  if (options_.plainNames) {
    reportFiles_.SetFixedNames({std::begin(kPlainReportNames), std::end(kPlainReportNames)});
    drawingFiles_.SetFixedNames({std::begin(kPlainDrawingNames), std::end(kPlainDrawingNames)});
  }
}

PrintJob::~PrintJob() { Cleanup(); }

const char* PrintJob::FailureLine(int index) { return kFailureLines[index]; }

bool PrintJob::Generate() {
  Cleanup();
  // What an earlier run left under the fixed names is not this run's output.
  reportFiles_.DeleteFixedFiles();
  drawingFiles_.DeleteFixedFiles();
  writer_.StartJob(ReadNumberingSettings(options_.settingsPath));
  ReportInputs inputs{project_, results_, options_.formatPath, options_.programFolder, drawingFiles_};
  for (int k = 0; k < kReportCount; ++k) {
    auto name = NewReportFileName(reportFiles_);
    if (!name) {
      ok_[size_t(k)] = false;
      detail_[size_t(k)] = TempFileProblem(options_.folder);
      continue;
    }
    reportFile_[size_t(k)] = *name;
    writer_.SetCurrentFile(*name);
    ok_[size_t(k)] = kReports[k](writer_, inputs, detail_[size_t(k)]);
  }
  if (options_.combinedPath.empty()) {
    combinedFile_ = NewReportFileName(reportFiles_).value_or(std::string());
  } else {
    combinedFile_ = options_.combinedPath;
    WriteFileBytes(combinedFile_, {});
  }
  generated_ = true;
  return ok_[0] && ok_[1] && ok_[2];
}

std::string PrintJob::ErrorText() const {
  std::string text;
  for (int k = 0; k < kReportCount; ++k) {
    if (generated_ && !ok_[size_t(k)]) text += std::string(kFailureLines[k]) + "\n";
  }
  return text;
}

bool PrintJob::Combine(const Selection& chosen) {
  if (!generated_ || combinedFile_.empty()) return false;
  if (chosen == Selection{}) return false;
  bool ok = WriteFileBytes(combinedFile_, {});
  bool appended = false;
  for (int k = 0; k < kReportCount; ++k) {
    if (!chosen[size_t(k)]) continue;
    if (appended) AppendFormFeed(combinedFile_);
    appended = true;
    // Line by line, each with its line end, so that the form feed before the
    // next report always starts a line.
    auto bytes = ReadFileBytes(reportFile_[size_t(k)]);
    if (!bytes) continue;
    std::string copy;
    copy.reserve(bytes->size() + 2);
    for (std::string_view line : SplitLines(*bytes)) {
      copy += line;
      copy += "\r\n";
    }
    ok = AppendFileBytes(combinedFile_, copy) && ok;
  }
  return ok;
}

void PrintJob::Cleanup() {
  reportFiles_.DeleteAll();
  drawingFiles_.DeleteAll();
  generated_ = false;
  ok_ = {};
  reportFile_ = {};
  detail_ = {};
  combinedFile_.clear();
}

void PrintJob::KeepFiles() {
  reportFiles_.Reset();
  drawingFiles_.Reset();
}

}  // namespace hasorin
