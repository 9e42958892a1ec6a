// Reading and writing the largest project, 999 piles. Targets: read 2 ms;
// write 1.5 ms without the disk sync (measured on a memory file system,
// where the sync costs nothing), and with it as reported.
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
  explicit Folder(const QString& base = QDir::tempPath()) : dir(QDir(base).filePath("bench-XXXXXX")) {}
  QTemporaryDir dir;
  std::string path = QDir(dir.path()).filePath("big.zrn").toStdString();
};

void WriteLargest(benchmark::State& state, const Folder& folder) {
  if (!folder.dir.isValid()) {
    state.SkipWithError("no folder to write in");
    return;
  }
  const Project p = LargestProject();
  for (auto _ : state) {
    if (!hasorin::WriteInputFile(p, folder.path).ok) state.SkipWithError("write failed");
  }
}
// The save as the user makes it: the file reaches the disk before it
// replaces the old one.
void BM_WriteInputFile999(benchmark::State& state) { WriteLargest(state, Folder()); }
BENCHMARK(BM_WriteInputFile999)->Unit(benchmark::kMillisecond);
// The same work without the wait for the disk.
void BM_WriteInputFile999NoSync(benchmark::State& state) { WriteLargest(state, Folder("/dev/shm")); }
BENCHMARK(BM_WriteInputFile999NoSync)->Unit(benchmark::kMillisecond);

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
