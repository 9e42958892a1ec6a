// `hasorin-cli cases` as a whole process: 1,000 load cases on 999 piles that
// all differ, envelope only (target 100 ms), and with every case's pile table
// in a workbook (--xlsx --all; the file size is reported as a counter).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <random>

#include "bench_groups.h"
#include "cp932.h"
#include "inputfile.h"
#include "project.h"

namespace {

using namespace hasorin;

// 1,000 cases in CP932 with CR LF, as Excel saves them: names, six loads and
// the factor on every other row.
QByteArray CaseTable() {
  std::mt19937 rng(7);
  auto u = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  std::string text = "ケース名,Xo,Yo,Zo,Mxo,Myo,Mzo,α\r\n";
  char row[256];
  for (int k = 1; k <= 1000; ++k) {
    std::snprintf(row, sizeof row, "地震時%d,%.1f,%.1f,%.1f,%.1f,%.1f,%.1f,%s\r\n", k, u(-8000, 8000),
                  u(200000, 400000), u(-8000, 8000), u(-20000, 20000), u(-500, 500), u(-20000, 20000),
                  k % 2 ? "1.5" : "");
    text += row;
  }
  return QByteArray::fromStdString(Utf8ToCp932(text));
}

struct Files {
  QTemporaryDir dir;
  QString project, cases, cli;
  bool ok = false;
};

void Prepare(Files& f) {
  f.project = QDir(f.dir.path()).filePath("group999.zrn");
  f.cases = QDir(f.dir.path()).filePath("cases1000.csv");
  f.cli = QDir(QCoreApplication::applicationDirPath()).filePath("hasorin-cli");
  QFile cases(f.cases);
  // The project as a user's file holds it: every pile different, integer and real cells mixed.
  f.ok = bench::DistinctFileGroup(f.project).PileCount == kMaxPiles && QFileInfo(f.cli).isExecutable() &&
         cases.open(QIODevice::WriteOnly) && cases.write(CaseTable()) > 0;
}

void RunCli(benchmark::State& state, const QStringList& extra, const QString& workbook = {}) {
  Files f;
  Prepare(f);
  if (!f.ok) {
    state.SkipWithError("cannot prepare the input files or find hasorin-cli");
    return;
  }
  for (auto _ : state) {
    QProcess process;
    process.start(f.cli, QStringList{"cases", f.project, f.cases} + extra);
    process.waitForFinished(600000);
    const QByteArray out = process.readAllStandardOutput();
    // 0: adequate, 6: some ratio over 1; both are complete runs.
    if (process.exitStatus() != QProcess::NormalExit ||
        (process.exitCode() != 0 && process.exitCode() != 6) || out.size() < 10000) {
      state.SkipWithError("hasorin-cli cases failed");
      break;
    }
    benchmark::DoNotOptimize(out.data());
  }
  if (!workbook.isEmpty()) state.counters["xlsx_MB"] = double(QFileInfo(workbook).size()) / 1e6;
}

void BM_CliCases1000on999(benchmark::State& state) { RunCli(state, {}); }
BENCHMARK(BM_CliCases1000on999)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

void BM_CliCases1000on999XlsxAll(benchmark::State& state) {
  QTemporaryDir out;
  const QString workbook = QDir(out.path()).filePath("cases.xlsx");
  RunCli(state, {"--xlsx", workbook, "--all"}, workbook);
}
BENCHMARK(BM_CliCases1000on999XlsxAll)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);  // for the program folder
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
