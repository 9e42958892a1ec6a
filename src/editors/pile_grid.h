#pragma once
// The pile table grid: a spreadsheet-like view of PileGridModel.
//
// Keys, as in a spreadsheet: typing a number replaces the active cell, F2 or a
// double click edits it, Enter moves down, Tab right (Shift reverses both),
// Delete empties the selected block, Backspace empties the cell and starts
// typing, Ctrl+X/C/V exchange tab-separated text with the clipboard, Ctrl+Z /
// Ctrl+Y undo and redo, Shift+Ins inserts and Shift+Del deletes a row,
// Ctrl+Tab leaves the grid; Escape only ever cancels a cell entry.
// A typed or pasted value the column does not take is refused with a beep and
// its range, and never reaches the table. Rows and columns are 0-based.
#include <QTableView>
#include <vector>

#include "pile_grid_model.h"

class QLineEdit;

namespace hasorin {

class PileGrid : public QTableView {
  Q_OBJECT

 public:
  explicit PileGrid(QWidget* parent = nullptr);

  PileGridModel* Model() const { return model_; }
  int RowCount() const { return model_->RowCount(); }

  // The most rows the table may have (a paste grows it up to this).
  void SetMaxRows(int maxRows) { maxRows_ = maxRows; }
  int MaxRows() const { return maxRows_; }

  // Replaces the rows as the program fills them; the first cell becomes active.
  void SetRows(std::vector<PileRow> rows);

  // The active cell; -1 when there is none (an empty table).
  int ActiveRow() const;
  int ActiveColumn() const;
  void SetActiveCell(int row, int column);

  // The block the clipboard commands act on: the selected cells (their
  // bounding block), or else the active cell. x is the column, y the row.
  QRect SelectedBlock() const;

  // Cell editing. FinishEdit writes an open edit into the table and is true
  // when there is nothing left open; a refused value keeps the editor open.
  bool IsEditing() const;
  void StartEdit(const QString& text, bool typing);
  bool FinishEdit();
  void CancelEdit();
  QLineEdit* Editor() const { return editor_; }

  // Commands; each first finishes an open edit and does nothing if that is
  // refused. The row commands are true when the row count changed.
  bool AddRow();
  bool InsertRow();
  bool DeleteRow();
  void Cut();
  void Copy();
  void Paste();
  void ClearBlock();
  bool Undo();
  bool Redo();

  // Ascending by diameter, keeping the active cell on its row number.
  void SortByDiameter();

  // A, I and Z of every row within their limits; otherwise beeps, shows the
  // range message naming the first such cell, makes it active and is false.
  bool CheckSections();

  // Room for every column and about fifteen rows.
  QSize sizeHint() const override;

 signals:
  // The status-bar text for the active cell; empty when the grid loses focus.
  void RangeHintChanged(const QString& hint);
  // A command changed the number of rows (add, insert, delete, paste, undo);
  // loading rows does not count.
  void RowCountChanged(int rows);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void scrollContentsBy(int dx, int dy) override;
  void updateGeometries() override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  bool EditorKey(QKeyEvent* event);
  void MoveActive(int rowStep, int columnStep);
  void PlaceEditor();
  void UpdateHint();
  bool HasFocusWithin() const;
  void SetColumnWidths();
  void PushUndo();
  bool CommitEdit(bool report);
  void CloseEditor();
  QString MessageTitle() const;

  PileGridModel* model_;
  int maxRows_ = kMaxPiles;
  int rowHeaderWidth_ = 0;
  QLineEdit* editor_ = nullptr;  // owned by the viewport
  int editRow_ = -1, editColumn_ = -1;
  int alertRow_ = -1;  // an entry just put a section of this row out of range
  QString editOriginal_;
  bool editTyping_ = false;    // opened by typing: arrows move on
  bool editFromCell_ = false;  // opened on the cell's value (F2, double click)

  struct Snapshot {
    std::vector<PileRow> rows;
    int row, column;
  };
  std::vector<Snapshot> undo_, redo_;
  bool StepHistory(std::vector<Snapshot>& from, std::vector<Snapshot>& to);
};

// `base` with DejaVu Sans ahead of its families, for texts that hold φ
// (vertical angle) and ψ (plan angle): the Japanese fonts draw the two almost
// alike. Unchanged where DejaVu Sans is not installed. It also takes Latin and
// full-width letters from DejaVu Sans; where Japanese stands beside the
// Greek, GreekAwareLabel / GreekAwareHeader (greek_text.h) take only φ and ψ.
QFont GreekLetterFont(const QFont& base);

}  // namespace hasorin
