#pragma once
// "Excelに保存..." in the result windows' context menus: the run's tables as
// the workbook `hasorin-cli calc --xlsx` writes, to a file the user picks.
#include "engine.h"
#include "project.h"

namespace hasorin {

class ResultFrame;

// Adds the entry to every grid of `window` (the project and results must
// outlive it).
void AddSaveWorkbookEntry(ResultFrame& window, const Project& project, const engine::CalcResults& results);

// Adds it to every result window opened from the main window, on the
// program-wide project and results; a second call adds nothing.
void InstallSaveWorkbookEntry();

}  // namespace hasorin
