// Start-up of the desktop program as a whole process: from starting
// `hasorin` to its main window's first paint (it then ends at once).
#include <benchmark/benchmark.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <chrono>

#include "paths.h"

static void BM_DesktopStartup(benchmark::State& state) {
  const QString program =
      QString::fromStdString(hasorin::JoinPath(hasorin::ProgramFolder(), "hasorin"));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("HASORIN_EXIT_AFTER_SHOW", "1");
  for (auto _ : state) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const auto start = std::chrono::steady_clock::now();
    process.start(program, {});
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
      state.SkipWithError("hasorin did not start and end cleanly");
      break;
    }
    const auto end = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
  }
}
BENCHMARK(BM_DesktopStartup)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

BENCHMARK_MAIN();
