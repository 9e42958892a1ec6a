#pragma once
// The profile window and what it adds to the pile-head window: the cap's
// conditioning in the status bar (red, with the warning, for a group close to
// a mechanism) and the context-menu entry "杭体断面力分布(&D)..." that opens
// the profile window for the pile the menu is on.
#include "engine.h"

class QWidget;

namespace hasorin {

class frmResOutPxPyPz;

// Creates and shows the profile window modally on pile `pile` of the run.
void OpenProfileViewer(QWidget* parent, const Project& project, const engine::CalcResults& results,
                       int pile);

// Adds the conditioning and the menu entry to `window`, for the run of
// `project` into `results`.
void ExtendPileHeadWindow(frmResOutPxPyPz& window, const Project& project,
                          const engine::CalcResults& results);

// From now on every pile-head window opened from the main window is
// extended (the project and results live as long as the program).
void InstallProfileCommands(const Project& project, const engine::CalcResults& results);

}  // namespace hasorin
