// Reading and writing the largest project, 999 piles (target: each under 2 ms).
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

#include "../tests/support/example_projects.h"
#include "inputfile.h"
#include "project.h"

namespace {

using hasorin::Project;

Project LargestProject() { return hasorin::testing::ManyPiles(hasorin::kMaxPiles); }

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
