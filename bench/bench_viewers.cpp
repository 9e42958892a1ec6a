// The result windows at their largest (target: under 100 ms each,
// offscreen): from creating the window on a 999-pile run to its first full
// paint, the grids filled from the result tables. The project goes through
// the input file as the desktop opens it (integer and real cells mixed,
// every pile different) and is calculated once.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "../tests/support/example_projects.h"
#include "engine.h"
#include "inputfile.h"
#include "open_viewers.h"
#include "res_out_pxpypz.h"
#include "res_out_stress.h"
#include "result_grid.h"
#include "settings.h"

namespace {

using namespace hasorin;

// ManyPiles with whole numbers stored as integers, as the editors leave
// them, and every pile at its own length and angle.
Project DistinctPiles() {
  Project p = testing::ManyPiles(kMaxPiles);
  for (int i = 1; i <= kMaxPiles; ++i) {
    p.Piles(2, i) = ProjectValue::Integer(12);
    p.Piles(3, i) = ProjectValue::Integer(1);
    p.Piles(8, i) = ProjectValue::Real(20 + (i % 97) * 0.125);
    p.Piles(12, i) = ProjectValue::Real((i % 13) * 0.75);
    p.Piles(13, i) = ProjectValue::Real((i * 37) % 360);
  }
  return p;
}

struct Environment {
  QTemporaryDir dir;
  Project project;
  std::unique_ptr<engine::CalcResults> results = std::make_unique<engine::CalcResults>();
  bool ok = false;
  Environment() {
    QDir(dir.path()).mkpath("program");
    InitProgramPaths(dir.filePath("program").toStdString(), dir.filePath("appdata").toStdString(),
                     "hasorin");
    const std::string file = dir.filePath("group999.zrn").toStdString();
    ok = WriteInputFile(DistinctPiles(), file).ok && ReadInputFile(project, file).ok &&
         engine::CalcPileGroup(project, *results) == 0 && results->solved &&
         results->PileCount == kMaxPiles;
  }
};

Environment& Env() {
  static Environment env;
  return env;
}

template <class Window, class Connect>
void OpenWindow(benchmark::State& state, Connect connect) {
  if (!Env().ok) {
    state.SkipWithError("the 999-pile project did not calculate");
    return;
  }
  for (auto _ : state) {
    Window window;
    connect(window);
    window.show();
    window.repaint();
    QApplication::processEvents();
    benchmark::DoNotOptimize(window.Grids().front()->RowCount());
    state.PauseTiming();
    window.hide();
    state.ResumeTiming();
  }
}

void BM_OpenPileHeadWindow999(benchmark::State& state) {
  OpenWindow<frmResOutPxPyPz>(state, [](frmResOutPxPyPz& w) { ConnectViewer(w, *Env().results); });
}
BENCHMARK(BM_OpenPileHeadWindow999)->Unit(benchmark::kMillisecond);

void BM_OpenStressWindow999(benchmark::State& state) {
  OpenWindow<frmResOutStress>(
      state, [](frmResOutStress& w) { ConnectViewer(w, Env().project, *Env().results); });
}
BENCHMARK(BM_OpenStressWindow999)->Unit(benchmark::kMillisecond);

}  // namespace

#include "bench_widgets_main.h"
