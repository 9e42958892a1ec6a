#pragma once
// The pictures of the main window, drawn in code so that they stay sharp at
// any scaling.
#include <QIcon>

namespace hasorin {

// Picture of workflow command `index` (0..7).
QIcon MenuIcon(int index);
// Picture of the exit button.
QIcon ExitIcon();
// Toolbar pictures by key: "New", "Open", "SaveAs", "Save", "Printer".
QIcon ToolbarIcon(const QString& key);
// The program's own picture (About window, window icon).
QIcon ProgramIcon();

}  // namespace hasorin
