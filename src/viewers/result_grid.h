#pragma once
// The read-only grid of a result window: one row per pile, the pile number
// as the row heading, the cells of a ResultTable.
//
// Keys: arrows, Page Up/Down, Home/End and Ctrl+Home/End move; Shift widens
// the selection; Ctrl+C copies the selected cells with their headings and
// pile numbers at full precision. The context menu (ContextMenu()) holds the
// copy entries; other commands may be added to it by whoever opens the
// window, and ContextMenuAboutToShow tells them which pile the menu is for.
#include <QAbstractTableModel>
#include <QTableView>

#include "result_table.h"

class QMenu;
class QAction;

namespace hasorin {

class ResultModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  const ResultTable& Table() const { return table_; }
  void SetTable(ResultTable table);

 private:
  ResultTable table_;
};

class ResultGrid : public QTableView {
  Q_OBJECT
 public:
  explicit ResultGrid(QWidget* parent = nullptr);

  void SetTable(ResultTable table);
  const ResultTable& Table() const { return model_->Table(); }
  int RowCount() const { return model_->Table().rows; }

  // The pile of the active cell (1..N); 0 when the grid is empty.
  int CurrentPile() const;

  // The selected block's text (the active cell when nothing is selected) and
  // the whole table's, as Ctrl+C and the menu put them on the clipboard.
  QString SelectionTsv() const;
  void CopySelection();
  void CopyAll();

  // The grid's context menu; entries added to it appear below the copy ones.
  QMenu* ContextMenu() const { return menu_; }
  QAction* CopyAction() const { return copy_; }
  QAction* CopyAllAction() const { return copyAll_; }

  // Room for every column and `rows` rows.
  QSize SizeFor(int rows) const;
  QSize sizeHint() const override { return SizeFor(15); }

 signals:
  // The context menu is about to show for `pile` (0: no pile).
  void ContextMenuAboutToShow(QMenu* menu, int pile);

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void SetColumnWidths();

  ResultModel* model_;
  QMenu* menu_;
  QAction* copy_;
  QAction* copyAll_;
};

}  // namespace hasorin
