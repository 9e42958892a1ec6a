// Generating the three reports (with the pile-layout drawing) of a print job
// for the largest project: 999 piles, every one inclined. Target: under 50 ms.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <memory>

#include "engine.h"
#include "paths.h"
#include "print_job.h"

namespace {

using namespace hasorin;

// 999 inclined piles on a 37 x 27 grid at 2.5 m, every plan direction.
void FillProject(Project& p) {
  p.ConditionsEntered = p.LoadsEntered = true;
  p.Conditions(1) = ProjectValue::Text("999本斜杭の検討");
  p.Conditions(2) = ProjectValue::Real(200000);
  p.Conditions(3) = ProjectValue::Real(30000);
  p.Conditions(4) = ProjectValue::Integer(0);
  p.Conditions(5) = ProjectValue::Integer(1);
  p.Conditions(6) = ProjectValue::Integer(0);
  p.Conditions(7) = ProjectValue::Real(1.0);
  const double loads[6] = {50000, 500000, 20000, 10000, 0, 80000};
  for (int k = 1; k <= 6; ++k) p.Loads(k) = ProjectValue::Real(loads[k - 1]);
  p.PileCount = kMaxPiles;
  const double row[14] = {1.0, 14, 1, 433.7, 531000, 10620, 2.0, 30, 0, 0, 0, 10, 0, 0};
  for (int i = 1; i <= kMaxPiles; ++i) {
    for (int c = 1; c <= kPileColumns; ++c) p.Piles(c, i) = ProjectValue::Real(row[c - 1]);
    p.Piles(9, i) = ProjectValue::Real(2.5 * ((i - 1) % 37) - 45);
    p.Piles(11, i) = ProjectValue::Real(2.5 * ((i - 1) / 37) - 32.5);
    p.Piles(13, i) = ProjectValue::Real((i * 37) % 360);
  }
}

void BM_GenerateReports999Inclined(benchmark::State& state) {
  Project project;
  FillProject(project);
  auto results = std::make_unique<engine::CalcResults>();
  if (engine::CalcPileGroup(project, *results) != 0 || !results->solved) {
    state.SkipWithError("the calculation failed");
    return;
  }
  QTemporaryDir dir;
  PrintJobOptions options;
  options.folder = dir.path().toStdString();
  options.settingsPath = JoinPath(options.folder, "Zrn.INI");
  PrintJob job(project, *results, options);
  for (auto _ : state) {
    if (!job.Generate()) {
      state.SkipWithError("a report failed");
      return;
    }
  }
}
BENCHMARK(BM_GenerateReports999Inclined)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
