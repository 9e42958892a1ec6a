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

#include "cp932.h"
#include "inputfile.h"
#include "project.h"

namespace {

using namespace hasorin;

// Every pile differs in section, lengths and angles; options are stored as
// integers and plate thicknesses as whole numbers, as the editors leave them.
Project DistinctGroup() {
  Project p;
  p.Conditions(1) = ProjectValue::Text("999本の杭");
  p.Conditions(2) = ProjectValue::Real(200000);
  p.Conditions(3) = ProjectValue::Real(30000);
  p.Conditions(4) = ProjectValue::Integer(0);
  p.Conditions(5) = ProjectValue::Integer(1);
  p.Conditions(6) = ProjectValue::Integer(0);
  p.Conditions(7) = ProjectValue::Real(1.0);
  for (int i = 1; i <= 6; ++i) p.Loads(i) = ProjectValue::Real(0);
  p.ConditionsEntered = p.LoadsEntered = true;
  std::mt19937 rng(42);
  auto u = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  for (int i = 1; i <= kMaxPiles; ++i) {
    const double h = u(0, 2);
    const double row[kPileColumns] = {u(0.6, 1.2), 12, 1, u(200, 600), u(2e5, 1.2e6), u(5000, 18000), h,
                                      h + u(5, 30), ((i - 1) % 37 - 18) * 2.5, 0,
                                      ((i - 1) / 37 - 13) * 2.5, u(0, 15), u(-180, 180), 0};
    for (int c = 1; c <= kPileColumns; ++c)
      p.Piles(c, i) = c == 2 || c == 3 ? ProjectValue::Integer(std::int16_t(row[c - 1]))
                                       : ProjectValue::Real(row[c - 1]);
  }
  p.PileCount = kMaxPiles;
  return p;
}

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
  f.ok = WriteInputFile(DistinctGroup(), f.project.toStdString()).ok && QFileInfo(f.cli).isExecutable() &&
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
