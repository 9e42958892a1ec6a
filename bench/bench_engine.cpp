// The calculation on a full table of 999 piles, alone and as the whole
// `hasorin-cli calc --json` and `check` processes. Targets (medians):
// CalcPileGroup 50 us on 999 distinct piles as read from a file, 30 us on
// 999 piles in three repeated kinds; calc --json 12 ms, check 8 ms.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <array>
#include <cmath>
#include <memory>
#include <random>

#include "engine.h"
#include "work.h"
#include "inputfile.h"
#include "bench_groups.h"
#include "project.h"

namespace {

using namespace hasorin;

using namespace hasorin::bench;

// The run as this processor makes it, and on two lanes (/2) as on one
// without AVX2.
void CalcGroup(benchmark::State& state, const Project& project) {
  if (!engine::detail::UseLanes(int(state.range(0)))) {
    state.SkipWithError("no such lanes here");
    return;
  }
  auto results = std::make_unique<engine::CalcResults>();
  for (auto _ : state) {
    const int code = engine::CalcPileGroup(project, *results);
    benchmark::DoNotOptimize(code);
  }
  if (engine::CalcPileGroup(project, *results) != 0 || !results->solved)
    state.SkipWithError("the group did not solve");
  engine::detail::UseLanes(0);
}
void BM_CalcPileGroup999(benchmark::State& state) { CalcGroup(state, TypicalGroup()); }
void BM_CalcPileGroup999Distinct(benchmark::State& state) { CalcGroup(state, DistinctGroup()); }
void BM_CalcPileGroup999FromFile(benchmark::State& state) {
  QTemporaryDir dir;
  CalcGroup(state, DistinctFileGroup(QDir(dir.path()).filePath("group999.zrn")));
}
BENCHMARK(BM_CalcPileGroup999)->Arg(0)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CalcPileGroup999Distinct)->Arg(0)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CalcPileGroup999FromFile)->Arg(0)->Arg(2)->Unit(benchmark::kMicrosecond);

// Runs the command-line program beside this one on the distinct 999-pile
// file, as a script would: `args` before the file's path.
void CliOnFile(benchmark::State& state, const QStringList& args, qsizetype minOutput) {
  QTemporaryDir dir;
  const QString file = QDir(dir.path()).filePath("group999.zrn");
  if (DistinctFileGroup(file).PileCount != kMaxPiles) {
    state.SkipWithError("cannot write the input file");
    return;
  }
  const QString cli = QDir(QCoreApplication::applicationDirPath()).filePath("hasorin-cli");
  if (!QFileInfo(cli).isExecutable()) {
    state.SkipWithError("hasorin-cli is not beside the benchmark");
    return;
  }
  for (auto _ : state) {
    QProcess process;
    process.start(cli, QStringList(args) << file);
    process.waitForFinished(60000);
    const QByteArray out = process.readAllStandardOutput();
    if (process.exitCode() != 0 || out.size() < minOutput) {
      state.SkipWithError("hasorin-cli failed");
      break;
    }
    benchmark::DoNotOptimize(out.data());
  }
}
void BM_CliCalcJson999(benchmark::State& state) { CliOnFile(state, {"calc", "--json"}, 100000); }
void BM_CliCheck999(benchmark::State& state) { CliOnFile(state, {"check"}, 100); }
BENCHMARK(BM_CliCalcJson999)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_CliCheck999)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);  // for the program folder
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
