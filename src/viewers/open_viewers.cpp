#include "open_viewers.h"

#include <QLabel>
#include <vector>

#include "entry_fields.h"
#include "res_out_pxpypz.h"
#include "res_out_stress.h"
#include "result_fill.h"
#include "result_grid.h"

namespace hasorin {
namespace {

std::vector<ViewerHook>& Hooks() {
  static std::vector<ViewerHook> hooks;
  return hooks;
}

void Show(ResultFrame& window) {
  window.UsrCaption.clear();
  window.UsrHelpFile.clear();
  window.UsrHelpContextID = 0;
  window.Load();
  for (const ViewerHook& hook : Hooks()) hook(window);
  window.exec();
}

}  // namespace

void FillPileHeadWindow(frmResOutPxPyPz& window, const engine::CalcResults& results) {
  window.vaSpread1->SetTable(PileHeadTable(results));
  window.StatusPanel1->setText(results.solved ? FootingText(results) : QString());
}

void FillStressWindow(frmResOutStress& window, const Project& project,
                      const engine::CalcResults& results) {
  const double alpha = IncreaseFactor(project);
  for (int g = 0; g < 2; ++g) {
    const double sba = AllowableBending(alpha, g);
    window.numSba[size_t(g)]->setValue(sba);
    window.vaSpread1[size_t(g)]->SetTable(StressTable(results, g, sba));
  }
}

void ConnectViewer(frmResOutPxPyPz& window, const engine::CalcResults& results) {
  QObject::connect(&window, &ResultFrame::LoadData, &window,
                   [&window, &results] { FillPileHeadWindow(window, results); });
}

void ConnectViewer(frmResOutStress& window, const Project& project,
                   const engine::CalcResults& results) {
  QObject::connect(&window, &ResultFrame::LoadData, &window, [&window, &project, &results] {
    FillStressWindow(window, project, results);
  });
}

void AddViewerHook(ViewerHook hook) { Hooks().push_back(std::move(hook)); }

void OpenPileHeadViewer(QWidget* parent, const engine::CalcResults& results) {
  frmResOutPxPyPz window(parent);
  ConnectViewer(window, results);
  Show(window);
}

void OpenStressViewer(QWidget* parent, const Project& project, const engine::CalcResults& results) {
  frmResOutStress window(parent);
  ConnectViewer(window, project, results);
  Show(window);
}

}  // namespace hasorin
