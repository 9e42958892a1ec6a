// The stage after the calculation on 999 piles that all differ: the cap
// matrices, the conditioning and every pile's ground moment (target 100 us),
// and every pile's profile at 50 sections (target 5 ms).
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>
#include <memory>

#include "analysis.h"
#include "bench_groups.h"
#include "engine.h"
#include "project.h"

namespace {

using namespace hasorin;

// As a user's file holds it: read back from a .zrn, integer and real cells mixed.
struct Run {
  QTemporaryDir dir;
  Project project = bench::DistinctFileGroup(QDir(dir.path()).filePath("group999.zrn"));
  std::unique_ptr<engine::CalcResults> results = std::make_unique<engine::CalcResults>();
  bool ok = engine::CalcPileGroup(project, *results) == 0 && results->solved;
};

void BM_AnalyseGroup999Distinct(benchmark::State& state) {
  Run run;
  auto analysis = std::make_unique<engine::GroupAnalysis>();
  for (auto _ : state) {
    engine::AnalyseGroup(run.project, *run.results, *analysis);
    benchmark::DoNotOptimize(analysis->ground[500].M);
  }
  if (!run.ok || analysis->piles != kMaxPiles) state.SkipWithError("the group did not solve");
}
BENCHMARK(BM_AnalyseGroup999Distinct)->Unit(benchmark::kMicrosecond);

void BM_Profiles50x999Distinct(benchmark::State& state) {
  Run run;
  for (auto _ : state) {
    for (int i = 1; i <= kMaxPiles; ++i) {
      const engine::PileProfile p = engine::ProfileOf(run.project, *run.results, i, 50);
      benchmark::DoNotOptimize(p.points.data());
    }
  }
  if (!run.ok) state.SkipWithError("the group did not solve");
}
BENCHMARK(BM_Profiles50x999Distinct)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
