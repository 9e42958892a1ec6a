#include "open_profile.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <algorithm>
#include <cstdio>
#include <QStatusBar>

#include "analysis.h"
#include "open_viewers.h"
#include "res_out_profile.h"
#include "res_out_pxpypz.h"
#include "result_grid.h"

namespace hasorin {

void OpenProfileViewer(QWidget* parent, const Project& project, const engine::CalcResults& results,
                       int pile) {
  frmResOutProfile window(parent);
  QObject::connect(&window, &ResultFrame::LoadData, &window, [&] {
    window.SetSource(
        results.PileCount, [&](int i) { return MakeProfileSheet(project, results, i); }, pile);
  });
  window.exec();
}

void ExtendPileHeadWindow(frmResOutPxPyPz& window, const Project& project,
                          const engine::CalcResults& results) {
  const engine::CapMatrices cap = engine::CapMatricesOf(project, results);
  auto* panel = new QLabel;
  panel->setObjectName("StatusPanel2");
  if (cap.assembled) {
    if (cap.Warning()) {
      panel->setText(QString::fromStdString(engine::ConditionWarningText(cap)));
      panel->setStyleSheet("color: #c00000;");
    } else {
      char figure[32];
      std::snprintf(figure, sizeof figure, "%.2E", cap.condition);
      panel->setText(QStringLiteral("剛性マトリクスの条件数：") + figure);
    }
    panel->setToolTip(panel->text());
  }
  window.StatusBar1->addPermanentWidget(panel);
  // Room for the footing and the conditioning side by side, within the screen.
  const int needed = window.StatusPanel1->sizeHint().width() + panel->sizeHint().width() + 48;
  const int screen = window.screen() ? window.screen()->availableGeometry().width() : needed;
  if (window.width() < needed) window.resize(std::min(needed, screen), window.height());

  ResultGrid* grid = window.vaSpread1;
  QAction* entry = grid->ContextMenu()->addAction(QStringLiteral("杭体断面力分布(&D)..."));
  entry->setObjectName("mnuProfile");
  QObject::connect(grid, &ResultGrid::ContextMenuAboutToShow, entry,
                   [entry](QMenu*, int pile) { entry->setEnabled(pile >= 1); });
  QObject::connect(entry, &QAction::triggered, &window, [&window, grid, &project, &results] {
    if (grid->CurrentPile() >= 1) OpenProfileViewer(&window, project, results, grid->CurrentPile());
  });
}

void InstallProfileCommands(const Project& project, const engine::CalcResults& results) {
  AddViewerHook([&project, &results](ResultFrame& window) {
    if (auto* heads = qobject_cast<frmResOutPxPyPz*>(&window)) ExtendPileHeadWindow(*heads, project, results);
  });
}

}  // namespace hasorin
