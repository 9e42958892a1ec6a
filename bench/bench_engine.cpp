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

// Rounds to `decimals` places, as an engineer types a value.
double Typed(double x, int decimals) {
  const double scale = std::pow(10.0, decimals);
  return std::round(x * scale) / scale;
}

// A foundation as a user's file holds it: every pile differs in section,
// lengths and angles; values are typed to a few decimals, so whole numbers
// (t, dt, Y, Kv, h = 0, many positions and angles) come back from the reader
// as integers and the rest as reals.
Project DistinctFileGroup(const QString& file) {
  Project p;
  SetConditions(p);
  std::mt19937 rng(7);
  auto u = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  for (int i = 1; i <= kMaxPiles; ++i) {
    const double D = Typed(u(0.6, 1.2), 3), t = std::round(u(9, 22));
    const double h = i % 3 == 0 ? 0 : Typed(u(0, 2), 1);
    const double I = std::round(u(1.5e4, 1.2e6));  // below 32768 an integer
    SetRow(p, i, {D, t, 1, Typed(u(150, 600), 2), I, Typed(u(2000, 18000), 1), h,
                  Typed(h + u(5, 30), 2), GridX(i), 0, GridZ(i), i % 4 == 0 ? 0 : Typed(u(0, 15), 1),
                  i % 4 == 0 ? 0 : std::round(u(-180, 180)), 0});
  }
  Project read;
  if (!WriteInputFile(p, file.toStdString()).ok || !ReadInputFile(read, file.toStdString()).ok)
    return {};
  return read;
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
void BM_CalcPileGroup999FromFile(benchmark::State& state) {
  QTemporaryDir dir;
  CalcGroup(state, DistinctFileGroup(QDir(dir.path()).filePath("group999.zrn")));
}
BENCHMARK(BM_CalcPileGroup999)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CalcPileGroup999Distinct)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CalcPileGroup999FromFile)->Unit(benchmark::kMicrosecond);

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
