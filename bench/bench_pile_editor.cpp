// The pile table editor at its largest (targets: under 150 ms each,
// offscreen): opening it on a 999-pile project, from creating the window to
// its first full paint, and pasting a 999 x 14 block of spreadsheet text onto
// an empty table.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "exchange.h"
#include "inp_kui.h"
#include "settings.h"
#include "ui.h"

namespace {

using namespace hasorin;

// The clipboard as a spreadsheet left it; nothing else is used.
class BenchUi : public UiServices {
 public:
  QString clipboard;
  MsgResult ShowMessage(QWidget*, const QString&, const QString&, MsgIcon, MsgButtons) override {
    return MsgResult::Ok;
  }
  void Beep() override {}
  QString GetOpenFileName(QWidget*, const FileDialogOptions&) override { return {}; }
  QString GetSaveFileName(QWidget*, const FileDialogOptions&) override { return {}; }
  QString ClipboardText() override { return clipboard; }
  void SetClipboardText(const QString& text) override { clipboard = text; }
  void SetClipboardImage(const QImage&) override {}
  bool StartProcess(const QString&, const QStringList&, bool) override { return true; }
};

Project BigProject() {
  Project p;
  p.PileCount = kMaxPiles;
  for (int i = 1; i <= kMaxPiles; ++i) {
    const double row[kPileColumns] = {0.8, 12, 1, 246.93, 190721, 4792, 2.5, 25,
                                      ((i - 1) % 37) * 1.5 - 27, 0, ((i - 1) / 37) * 1.5 - 19.5,
                                      10, ((i - 1) % 4) * 90.0, 850000};
    for (int c = 1; c <= kPileColumns; ++c) p.Piles(c, i) = ProjectValue::Real(row[c - 1]);
  }
  return p;
}

// 999 rows of 14 cells as a spreadsheet copies them: grouped thousands, CR LF.
QString SheetText() {
  QString text;
  for (int i = 0; i < kMaxPiles; ++i) {
    text += QStringLiteral("0.800\t12.0\t1.0\t246.93\t190,721\t4,792\t2.50\t25.00\t%1\t0.000\t%2\t10.0\t%3\t850,000\r\n")
                .arg((i % 37) * 1.5 - 27, 0, 'f', 3)
                .arg((i / 37) * 1.5 - 19.5, 0, 'f', 3)
                .arg((i % 4) * 90.0, 0, 'f', 1);
  }
  return text;
}

struct Environment {
  QTemporaryDir dir;
  BenchUi ui;
  Environment() {
    QDir(dir.path()).mkpath("program");
    InitProgramPaths(dir.filePath("program").toStdString(), dir.filePath("appdata").toStdString(),
                     "hasorin");
    SetUi(&ui);
  }
};

Environment& Env() {
  static Environment env;
  return env;
}

void BM_OpenEditor999Piles(benchmark::State& state) {
  Env();
  const Project project = BigProject();
  for (auto _ : state) {
    frmInpKui editor;
    QObject::connect(&editor, &EditorFrame::LoadData, &editor,
                     [&] { editor.SetFields(LoadPileTableFields(project)); });
    editor.show();
    editor.repaint();
    QApplication::processEvents();
    benchmark::DoNotOptimize(editor.vaSpread1->RowCount());
    state.PauseTiming();
    editor.hide();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenEditor999Piles)->Unit(benchmark::kMillisecond);

void BM_Paste999x14(benchmark::State& state) {
  Environment& env = Env();
  env.ui.clipboard = SheetText();
  frmInpKui editor;
  editor.show();
  QApplication::processEvents();
  for (auto _ : state) {
    state.PauseTiming();
    editor.SetFields({});
    state.ResumeTiming();
    editor.vaSpread1->Paste();
    editor.vaSpread1->repaint();
    if (editor.vaSpread1->RowCount() != kMaxPiles) state.SkipWithError("paste did not fill the table");
  }
}
BENCHMARK(BM_Paste999x14)->Unit(benchmark::kMillisecond);

}  // namespace

#include "bench_widgets_main.h"
