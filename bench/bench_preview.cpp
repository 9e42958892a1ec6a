// The whole report of the largest project to PDF, as the user runs it: one
// process `hasorin-cli print big.zrn --pdf out.pdf` for 999 piles, every one
// inclined (target: under 2 s and 300 MB peak memory; times are wall-clock
// times of the child process, cpu_s its processor time (the two differ when
// the machine is busy), peak_MB its largest resident set), and the PDF
// step alone in this process, from the combined print file of that job.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <chrono>
#include <string>
#include <vector>

#include "inputfile.h"
#include "paths.h"
#include "pdf_output.h"
#include "project.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using hasorin::Project;
using hasorin::ProjectValue;

// 999 steel pipe piles on a 1.5 m grid, each raked 10 degrees in one of the
// four plan directions, under loads in every direction.
Project InclinedProject() {
  Project p;
  p.ConditionsEntered = true;
  const double conditions[] = {0, 200000, 30000, 0, 0, 0, 1.5};
  p.Conditions(1) = ProjectValue::Text("999本斜杭の検討");
  for (int i = 2; i <= 7; ++i) p.Conditions(i) = ProjectValue::Real(conditions[i - 1]);
  p.LoadsEntered = true;
  const double loads[] = {1500, 250000, -800, 2000, 350, -12000};
  for (int i = 1; i <= 6; ++i) p.Loads(i) = ProjectValue::Real(loads[i - 1]);
  p.PileCount = hasorin::kMaxPiles;
  for (int i = 1; i <= p.PileCount; ++i) {
    const double row[hasorin::kPileColumns] = {
        0.6, 9, 1, 166.3, 72570, 2419, 0.5, 20, ((i - 1) % 37) * 1.5 - 27, 0, ((i - 1) / 37) * 1.5 - 19.5,
        10, ((i - 1) % 4) * 90.0, 0};
    for (int c = 1; c <= hasorin::kPileColumns; ++c) p.Piles(c, i) = ProjectValue::Real(row[c - 1]);
  }
  return p;
}

struct ChildRun {
  bool ok = false;
  double seconds = 0;
  double cpuSeconds = 0;
  double peakMb = 0;
};

// Runs a program of the program folder and waits for it.
ChildRun RunChild(const std::string& program, std::vector<std::string> args) {
  ChildRun run;
#ifndef _WIN32
  const std::string path = hasorin::JoinPath(hasorin::ProgramFolder(), program);
  args.insert(args.begin(), path);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    if (const int devNull = open("/dev/null", O_WRONLY); devNull >= 0) dup2(devNull, STDOUT_FILENO);
    execv(path.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (pid > 0 && wait4(pid, &status, 0, &usage) == pid) {
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakMb = usage.ru_maxrss / 1024.0;
    run.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                     (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
#endif
  return run;
}

struct Workspace {
  QTemporaryDir dir;
  std::string zrn = QDir(dir.path()).filePath("big.zrn").toStdString();
  std::string pdf = QDir(dir.path()).filePath("big.pdf").toStdString();
  std::string out = QDir(dir.path()).filePath("job").toStdString();
  Workspace() { hasorin::WriteInputFile(InclinedProject(), zrn); }
};

struct ChildStats {
  double peakMb = 0, cpuSeconds = 0;
  int runs = 0;
};

void Report(benchmark::State& state, const ChildRun& run, ChildStats& stats) {
  if (!run.ok) {
    state.SkipWithError("the child process failed");
    return;
  }
  state.SetIterationTime(run.seconds);
  stats.peakMb = std::max(stats.peakMb, run.peakMb);
  stats.cpuSeconds += run.cpuSeconds;
  ++stats.runs;
}

void BM_ReportToPdf999Inclined(benchmark::State& state) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  Workspace ws;
  ChildStats stats;
  for (auto _ : state) Report(state, RunChild("hasorin-cli", {"print", ws.zrn, "--pdf", ws.pdf}), stats);
  state.counters["peak_MB"] = stats.peakMb;
  state.counters["cpu_s"] = stats.runs ? stats.cpuSeconds / stats.runs : 0;
  state.counters["pdf_KB"] = QFile(QString::fromStdString(ws.pdf)).size() / 1024.0;
}
BENCHMARK(BM_ReportToPdf999Inclined)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_PrintFileToPdf999Inclined(benchmark::State& state) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "bench_preview";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
  Workspace ws;
  if (!RunChild("hasorin-cli", {"print", ws.zrn, "--out", ws.out}).ok) {
    state.SkipWithError("hasorin-cli print --out failed");
    return;
  }
  const std::string prn = hasorin::JoinPath(ws.out, "report.prn");
  QString error;
  for (auto _ : state) {
    if (!hasorin::preview::PrintFileToPdf(prn, ws.pdf, error)) state.SkipWithError("PDF failed");
  }
}
BENCHMARK(BM_PrintFileToPdf999Inclined)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
