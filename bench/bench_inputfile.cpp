// Reading and writing the largest project, 999 piles (target: each under 2 ms).
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

#include "inputfile.h"
#include "project.h"

namespace {

using hasorin::Project;
using hasorin::ProjectValue;

// 999 piles with the kinds of values the pile editor stores: reals with up to
// three decimals, positions on a 1.25 m grid, raked piles here and there.
Project LargestProject() {
  Project p;
  p.ConditionsEntered = true;
  p.Conditions(1) = ProjectValue::Text("999本杭の検討");
  p.Conditions(2) = ProjectValue::Real(200000);
  p.Conditions(3) = ProjectValue::Real(30000);
  p.Conditions(4) = ProjectValue::Integer(0);
  p.Conditions(5) = ProjectValue::Integer(1);
  p.Conditions(6) = ProjectValue::Integer(0);
  p.Conditions(7) = ProjectValue::Real(1.5);
  p.LoadsEntered = true;
  for (int i = 1; i <= 6; ++i) p.Loads(i) = ProjectValue::Real(i * 1234.56);
  p.PileCount = hasorin::kMaxPiles;
  for (int i = 1; i <= p.PileCount; ++i) {
    const double row[hasorin::kPileColumns] = {
        0.8, 12, 1, 271.968, 210601.57, 5278.235, 0.5, 25.25, (i % 32) * 1.25, 0,
        (i / 32) * 1.25, i % 7 == 0 ? 10.0 : 0.0, (i % 4) * 90.0, 187234.125};
    for (int c = 1; c <= hasorin::kPileColumns; ++c) p.Piles(c, i) = ProjectValue::Real(row[c - 1]);
  }
  return p;
}

struct Folder {
  QTemporaryDir dir;
  std::string path = QDir(dir.path()).filePath("big.zrn").toStdString();
};

void BM_WriteInputFile999(benchmark::State& state) {
  Folder folder;
  const Project p = LargestProject();
  for (auto _ : state) {
    if (!hasorin::WriteInputFile(p, folder.path).ok) state.SkipWithError("write failed");
  }
}
BENCHMARK(BM_WriteInputFile999)->Unit(benchmark::kMillisecond);

void BM_ReadInputFile999(benchmark::State& state) {
  Folder folder;
  if (!hasorin::WriteInputFile(LargestProject(), folder.path).ok) state.SkipWithError("write failed");
  Project p;
  for (auto _ : state) {
    if (!hasorin::ReadInputFile(p, folder.path).ok) state.SkipWithError("read failed");
  }
}
BENCHMARK(BM_ReadInputFile999)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
