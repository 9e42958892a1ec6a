#pragma once
// Opening the result windows as the main window does after a successful
// calculation: a new modal instance with empty Usr properties (so Help stays
// disabled), filled from the result tables when it raises LoadData.
//
// Commands added to the windows from outside (a context-menu entry, a
// button) connect in the hook below: it runs for every window opened here,
// after the window is filled and before it is shown.
#include <functional>

#include "engine.h"

class QWidget;

namespace hasorin {

class ResultFrame;
class frmResOutPxPyPz;
class frmResOutStress;

// Fills the windows' grids, fields and status bar from the results.
void FillPileHeadWindow(frmResOutPxPyPz& window, const engine::CalcResults& results);
void FillStressWindow(frmResOutStress& window, const Project& project,
                      const engine::CalcResults& results);

// Connects the fill to the window's LoadData (the project and results must
// outlive the window).
void ConnectViewer(frmResOutPxPyPz& window, const engine::CalcResults& results);
void ConnectViewer(frmResOutStress& window, const Project& project,
                   const engine::CalcResults& results);

using ViewerHook = std::function<void(ResultFrame& window)>;
// Adds a hook run on every result window opened by OpenPileHeadViewer and
// OpenStressViewer.
void AddViewerHook(ViewerHook hook);

// Creates, fills and shows the window modally; returns when it closes.
void OpenPileHeadViewer(QWidget* parent, const engine::CalcResults& results);
void OpenStressViewer(QWidget* parent, const Project& project, const engine::CalcResults& results);

}  // namespace hasorin
