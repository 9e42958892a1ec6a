// The stage after the calculation on 999 piles that all differ: the cap
// matrices, the conditioning and every pile's ground moment (target 100 us),
// and every pile's profile at 50 sections (target 5 ms).
#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <random>

#include "analysis.h"
#include "engine.h"
#include "project.h"

namespace {

using namespace hasorin;

// The distinct group of the calculation benchmark: sections, lengths and
// angles drawn for every pile, on a grid 2.5 m apart, rigid heads, hinged tips.
Project DistinctGroup() {
  Project p;
  p.Conditions(1) = ProjectValue::Text("999 piles");
  const double conditions[7] = {0, 200000, 30000, 0, 1, 0, 1};
  for (int i = 2; i <= 7; ++i) p.Conditions(i) = ProjectValue::Real(conditions[i - 1]);
  const double loads[6] = {5000, 300000, -2000, 1000, 500, -8000};
  for (int i = 1; i <= 6; ++i) p.Loads(i) = ProjectValue::Real(loads[i - 1]);
  p.ConditionsEntered = p.LoadsEntered = true;
  p.PileCount = kMaxPiles;
  std::mt19937 rng(42);
  auto u = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  for (int i = 1; i <= kMaxPiles; ++i) {
    const double h = u(0, 2);
    const std::array<double, kPileColumns> row = {
        u(0.6, 1.2), 12, 1, u(200, 600), u(2e5, 1.2e6), u(5000, 18000), h, h + u(5, 30),
        ((i - 1) % 37 - 18) * 2.5, 0, ((i - 1) / 37 - 13) * 2.5, u(0, 15), u(-180, 180), 0};
    for (int c = 1; c <= kPileColumns; ++c) p.Piles(c, i) = ProjectValue::Real(row[size_t(c) - 1]);
  }
  return p;
}

struct Run {
  Project project = DistinctGroup();
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
