#pragma once
// One print job, as the print menu drives it: generate the three reports
// into temporary report files (with the figure's drawing and sheet files),
// join the chosen ones into the combined print file, and delete every
// temporary file when the job ends.
//
//   PrintJob job(TheProject(), engine::TheResults());
//   if (!job.Generate()) show job.ErrorText();
//   job.Combine({true, false, true});   // then start the previewer on job.CombinedFile()
//   ...                                 // the destructor (or Cleanup) deletes the files
#include <array>
#include <string>

#include "engine.h"
#include "project.h"
#include "report_writer.h"
#include "tempfiles.h"

namespace hasorin {

struct PrintJobOptions {
  std::string folder;         // temporary files; empty = the system temporary folder
  std::string settingsPath;   // numbering settings; empty = SettingsFilePath()
  std::string formatPath;     // empty = FormatFilePath()
  std::string programFolder;  // LINE_PRN.DEF, STR_PRN.DEF; empty = ProgramFolder()
  std::string combinedPath;   // empty = a fourth temporary report file
  // The files are outputs the user keeps (hasorin-cli print --out): fixed
  // names in `folder` (kPlainReportNames, kPlainDrawingNames) that every run
  // makes afresh, instead of new temporary names.
  bool plainNames = false;
};

inline constexpr const char* kPlainReportNames[] = {"report1.prn", "report2.prn", "report3.prn"};
inline constexpr const char* kPlainDrawingNames[] = {"layout.drw", "layout.sht"};

class PrintJob {
 public:
  // The reports in print-menu order: conditions, pile-head results, stress check.
  static constexpr int kReportCount = 3;
  using Selection = std::array<bool, kReportCount>;

  // The project and results are read when Generate runs; they must outlive it.
  PrintJob(const Project& project, const engine::CalcResults& results, PrintJobOptions options = {});
  ~PrintJob();
  PrintJob(const PrintJob&) = delete;
  PrintJob& operator=(const PrintJob&) = delete;

  // Deletes the files of an earlier generation, then generates all three
  // reports (chapter numbers running on) and names the combined file. True
  // when every report succeeded; the others are generated regardless.
  bool Generate();
  bool Generated() const { return generated_; }

  // Per report, index 0..2.
  bool ReportOk(int index) const { return ok_.at(size_t(index)); }
  const std::string& ReportFile(int index) const { return reportFile_.at(size_t(index)); }
  const std::string& ReportDetail(int index) const { return detail_.at(size_t(index)); }
  // The line the print menu shows for a failed report.
  static const char* FailureLine(int index);
  // The failure lines of this generation, each followed by "\n"; empty when all succeeded.
  std::string ErrorText() const;

  const std::string& CombinedFile() const { return combinedFile_; }
  // Empties the combined file and appends the chosen reports in order, a form
  // feed before each but the first. False when nothing is chosen, nothing was
  // generated, or the combined file cannot be written.
  bool Combine(const Selection& chosen);

  // Deletes every temporary file of the job (not a combined file the caller named).
  void Cleanup();
  // Leaves the job's files on disk: neither Cleanup nor the destructor deletes them.
  void KeepFiles();

  const TempFileList& ReportFiles() const { return reportFiles_; }
  const TempFileList& DrawingFiles() const { return drawingFiles_; }

 private:
  const Project& project_;
  const engine::CalcResults& results_;
  PrintJobOptions options_;
  ReportWriter writer_;
  TempFileList reportFiles_, drawingFiles_;
  bool generated_ = false;
  std::array<bool, kReportCount> ok_{};
  std::array<std::string, kReportCount> reportFile_, detail_;
  std::string combinedFile_;
};

}  // namespace hasorin
