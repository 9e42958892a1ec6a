// The calculation on a full table of 999 piles, alone and as the whole
// `hasorin-cli calc --json` process. Targets: 100 us and 50 ms.
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
#include "inputfile.h"
#include "project.h"

namespace {

using namespace hasorin;

void SetConditions(Project& p) {
  p.Conditions(1) = ProjectValue::Text("999 piles");
  const double conditions[7] = {0, 200000, 30000, 0, 1, 0, 1};
  for (int i = 2; i <= 7; ++i) p.Conditions(i) = ProjectValue::Real(conditions[i - 1]);
  const double loads[6] = {5000, 300000, -2000, 1000, 500, -8000};
  for (int i = 1; i <= 6; ++i) p.Loads(i) = ProjectValue::Real(loads[i - 1]);
  p.ConditionsEntered = p.LoadsEntered = true;
  p.PileCount = kMaxPiles;
}

void SetRow(Project& p, int i, const std::array<double, kPileColumns>& row) {
  for (int c = 1; c <= kPileColumns; ++c) p.Piles(c, i) = ProjectValue::Real(row[size_t(c) - 1]);
}

// Grid position of pile i, 2.5 m apart.
double GridX(int i) { return ((i - 1) % 37 - 18) * 2.5; }
double GridZ(int i) { return ((i - 1) / 37 - 13) * 2.5; }

// A foundation as the pile editor leaves it, sorted by diameter: three kinds
// of pile in blocks, the middle one inclined 10 degrees in every direction,
// the last one short enough to be a finite pile.
Project TypicalGroup() {
  Project p;
  SetConditions(p);
  for (int i = 1; i <= kMaxPiles; ++i) {
    const double x = GridX(i), z = GridZ(i);
    if (i <= 333)
      SetRow(p, i, {0.8, 12, 1, 298.1, 233200, 5830, 0, 25, x, 0, z, 0, 0, 0});
    else if (i <= 666)
      SetRow(p, i, {1.0, 14, 1, 433.6, 527500, 10550, 1.5, 25, x, 0, z, 10,
                    std::atan2(z, x) * 180 / 3.141592654, 0});
    else
      SetRow(p, i, {1.2, 16, 1, 595.8, 1043000, 17380, 0, 6, x, 0, z, 0, 0, 0});
  }
  return p;
}

// The worst case: every pile differs in section, lengths and angles.
Project DistinctGroup() {
  Project p;
  SetConditions(p);
  std::mt19937 rng(42);
  auto u = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  for (int i = 1; i <= kMaxPiles; ++i) {
    const double h = u(0, 2);
    SetRow(p, i, {u(0.6, 1.2), 12, 1, u(200, 600), u(2e5, 1.2e6), u(5000, 18000), h,
                  h + u(5, 30), GridX(i), 0, GridZ(i), u(0, 15), u(-180, 180), 0});
  }
  return p;
}

void CalcGroup(benchmark::State& state, const Project& project) {
  auto results = std::make_unique<engine::CalcResults>();
  for (auto _ : state) {
    const int code = engine::CalcPileGroup(project, *results);
    benchmark::DoNotOptimize(code);
  }
  if (engine::CalcPileGroup(project, *results) != 0 || !results->solved)
    state.SkipWithError("the group did not solve");
}
void BM_CalcPileGroup999(benchmark::State& state) { CalcGroup(state, TypicalGroup()); }
void BM_CalcPileGroup999Distinct(benchmark::State& state) { CalcGroup(state, DistinctGroup()); }
BENCHMARK(BM_CalcPileGroup999)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CalcPileGroup999Distinct)->Unit(benchmark::kMicrosecond);

// Runs the command-line program beside this one, as a script would.
void BM_CliCalcJson999(benchmark::State& state) {
  QTemporaryDir dir;
  const QString file = QDir(dir.path()).filePath("group999.zrn");
  if (!WriteInputFile(TypicalGroup(), file.toStdString()).ok) {
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
    process.start(cli, {"calc", "--json", file});
    process.waitForFinished(60000);
    const QByteArray out = process.readAllStandardOutput();
    if (process.exitCode() != 0 || out.size() < 100000) {
      state.SkipWithError("calc --json failed");
      break;
    }
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_CliCalcJson999)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);  // for the program folder
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
