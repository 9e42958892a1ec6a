// hasorin-cli print FILE.zrn --out DIR [--reports 1,2,3]: opens a project as
// the desktop does, calculates, generates the three reports with their
// drawing and sheet files into DIR and writes the combined print file
// DIR/report.prn with the chosen reports. With --pdf OUT.pdf the combined file
// is also laid out and written as a PDF, as the previewer prints it (without
// --out the print files are made in a temporary folder and removed).
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli_common.h"
#include "commands.h"
#include "engine.h"
#include "paths.h"
#include "print_job.h"

namespace hasorin::cli {
namespace {

constexpr const char* kCombinedFileName = "report.prn";
constexpr const char* kTitle = "結果印刷";

struct PrintOptions {
  std::string path;
  std::string outFolder;
  std::string pdfPath;
  std::vector<int> reports{1, 2, 3};  // 1 conditions, 2 pile heads, 3 stress check
};

// The previewer program beside this one lays out the combined file and writes
// the PDF, as it pages it for the desktop: the command line itself then needs
// no GUI libraries. Its warnings and its error are shown as this command's.
bool WritePdf(const std::string& printFile, const std::string& pdfPath) {
  const std::string program = JoinPath(ProgramFolder(), "Preview");
  QProcess previewer;
  // The job made every figure: one that is gone is a failure, not a note.
  previewer.start(QString::fromStdString(program),
                  {"--pdf", QString::fromStdString(pdfPath), "--figures-required", "--",
                   QString::fromStdString(printFile)});
  if (!previewer.waitForStarted(-1) || !previewer.waitForFinished(-1)) {
    PrintMessage(stderr, {kTitle, "印刷ﾌﾟﾚﾋﾞｭｰ " + program + " を起動できません。"});
    return false;
  }
  const QString warning = QStringLiteral("警告: ");
  QStringList error;
  for (const QString& line : QString::fromUtf8(previewer.readAllStandardError()).split('\n')) {
    if (line.startsWith(warning))
      PrintMessage(stderr, {kTitle, line.toStdString()});
    else if (!line.isEmpty())
      error << line;
  }
  const bool ok = previewer.exitStatus() == QProcess::NormalExit && previewer.exitCode() == 0;
  if (!ok) PrintMessage(stderr, {kTitle, error.isEmpty() ? "PDFﾌｧｲﾙを作成できません。" : error.join('\n').toStdString()});
  return ok;
}

// Everything after a successful generation that makes further output from
// the job (the combined print file; more formats can follow it here).
bool WriteOutputs(const PrintOptions& options, PrintJob& job) {
  PrintJob::Selection chosen{};
  for (int r : options.reports) chosen[size_t(r - 1)] = true;
  if (!job.Combine(chosen)) {
    PrintMessage(stderr, {kTitle, "印刷ﾌｧｲﾙ " + job.CombinedFile() + " を書き込めません。"});
    return false;
  }
  return options.pdfPath.empty() || WritePdf(job.CombinedFile(), options.pdfPath);
}

int RunPrint(const PrintOptions& options) {
  UseUtf8Console();
  if (options.outFolder.empty() && options.pdfPath.empty()) {
    PrintMessage(stderr, {kTitle, "--out（出力ﾌｫﾙﾀﾞ）か --pdf（PDFﾌｧｲﾙ）を指定してください。"});
    return kExitUsage;
  }
  Project project;
  if (!OpenProject(options.path, project)) return kExitOpenFailed;
  auto results = std::make_unique<engine::CalcResults>();
  const int code = engine::CalcPileGroup(project, *results);
  if (code != 0) {
    PrintMessage(stderr, {kTitle, engine::CalcErrorText(code)});
    return kExitCalcError;
  }
  if (!results->solved) {
    PrintMessage(stderr, {kTitle, engine::SolveFailedText()});
    return kExitSolveFailed;
  }

  // The print files of a PDF-only run go to a scratch folder a print file can name.
  std::unique_ptr<QTemporaryDir> scratch;
  std::string folder = options.outFolder;
  if (folder.empty()) {
    const std::string tempRoot = PrintTempFolder();
    if (!tempRoot.empty()) scratch = std::make_unique<QTemporaryDir>(QString::fromStdString(JoinPath(tempRoot, "hasorin-XXXXXX")));
    if (!scratch || !scratch->isValid()) {
      PrintMessage(stderr, {kTitle, "印刷用の一時ﾌｫﾙﾀﾞを作成できません（一時ﾌｫﾙﾀﾞ " + TempFolder() +
                                        " の名前に Shift_JIS で表せない文字か制御文字があるか，書き込めません）。"});
      return kExitReportFailed;
    }
    folder = scratch->path().toStdString();
  }
  // The figure lines of the reports name files in this folder.
  if (!IsPrintFilePath(QFileInfo(QString::fromStdString(folder)).absoluteFilePath().toStdString())) {
    PrintMessage(stderr, {kTitle, "出力先ﾌｫﾙﾀﾞ名に Shift_JIS で表せない文字か制御文字があります：" + folder});
    return kExitUsage;
  }
  CreateFolderQuietly(folder);
  if (!FolderExists(folder)) {
    PrintMessage(stderr, {kTitle, "出力先ﾌｫﾙﾀﾞ " + folder + " を作成できません。"});
    return kExitUsage;
  }
  PrintJobOptions jobOptions;
  jobOptions.folder = folder;
  jobOptions.combinedPath = JoinPath(folder, kCombinedFileName);
  jobOptions.plainNames = !options.outFolder.empty();
  PrintJob job(project, *results, jobOptions);
  const bool generated = job.Generate();
  job.KeepFiles();  // the files are the command's output
  const bool written = WriteOutputs(options, job);

  if (!options.outFolder.empty()) {
    for (int k = 0; k < PrintJob::kReportCount; ++k) {
      std::printf("%d %s %s\n", k + 1, job.ReportOk(k) ? "ok" : "error", job.ReportFile(k).c_str());
    }
    std::printf("%s\n", job.CombinedFile().c_str());
  }
  if (!options.pdfPath.empty() && written) std::printf("%s\n", options.pdfPath.c_str());
  std::fflush(stdout);
  if (!generated) {
    // The print menu's message, then why each report failed.
    std::string text = job.ErrorText();
    for (int k = 0; k < PrintJob::kReportCount; ++k) {
      if (!job.ReportOk(k) && !job.ReportDetail(k).empty()) text += "\n" + job.ReportDetail(k);
    }
    PrintMessage(stderr, {kTitle, text});
    return kExitReportFailed;
  }
  return written ? kExitOk : kExitReportFailed;
}

}  // namespace

void AddPrintCommand(CLI::App& app, int& exitCode) {
  auto* command = app.add_subcommand(
      "print", "入力ﾃﾞｰﾀﾌｧｲﾙ(*.zrn)を計算し，印刷ﾌｧｲﾙを出力ﾌｫﾙﾀﾞに作成します（結合した印刷ﾌｧｲﾙ report.prn）");
  auto options = std::make_shared<PrintOptions>();
  command->add_option("FILE", options->path, "入力ﾃﾞｰﾀﾌｧｲﾙ")->required();
  command->add_option("--out", options->outFolder, "出力ﾌｫﾙﾀﾞ");
  command->add_option("--pdf", options->pdfPath, "出力するPDFﾌｧｲﾙ（印刷ﾌﾟﾚﾋﾞｭｰと同じﾍﾟｰｼﾞ）");
  command->add_option("--reports", options->reports,
                      "印刷する帳票（1：計算条件，2：計算結果(杭頭変位および杭頭作用力)，3：計算結果(杭応力度照査)）")
      ->delimiter(',')
      ->check(CLI::Range(1, PrintJob::kReportCount));
  command->callback([&exitCode, options] { exitCode = RunPrint(*options); });
}

}  // namespace hasorin::cli
