#pragma once
// frmInpKui: the pile table editor. One grid row per pile, with the row and
// clipboard commands on a toolbar and in the edit menu, the range of the
// current cell in the status bar, and a notes frame below the grid. On OK the
// rows are sorted by diameter before they are handed back.
#include "editor_frame.h"
#include "exchange.h"
#include "pile_grid.h"

class QAction;
class QGroupBox;
class QLabel;
class QMenuBar;
class QStatusBar;
class QToolBar;

namespace hasorin {

class frmInpKui : public EditorFrame {
  Q_OBJECT
 public:
  explicit frmInpKui(QWidget* parent = nullptr);

  // The largest number of rows; set by the opener before the dialog is shown.
  int UsrRecMax = kMaxPiles;

  // The rows, exchanged by the main window (pile 1 first).
  void SetFields(const PileTableFields& rows);
  PileTableFields Fields() const;

  PileGrid* vaSpread1 = nullptr;
  QToolBar* Toolbar1 = nullptr;
  QGroupBox* Frame1 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  QLabel* StatusPanel1 = nullptr;  // the status bar's first panel
  QMenuBar* MenuBar = nullptr;
  QAction* mnuEditCut = nullptr;
  QAction* mnuEditCopy = nullptr;
  QAction* mnuEditPaste = nullptr;
  QAction* mnuEditAdd = nullptr;
  QAction* mnuEditIns = nullptr;
  QAction* mnuEditDel = nullptr;

  // The toolbar button of a key ("Cut", "Copy", "Paste", "Add", "Insert", "Delete").
  QWidget* ToolbarButton(const QString& key) const;

 public slots:
  void done(int result) override;

 protected:
  void BeforeLoadData() override;
  void AfterLoadData() override;
  void BeforeSaveData() override;
  bool ValidateFields() override;

 private:
  void RowCountChanged(int rows);
  void RestoreSize();
};

}  // namespace hasorin
