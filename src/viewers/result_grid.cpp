#include "result_grid.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QEvent>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <climits>
#include <cmath>

#include "pile_grid.h"
#include "ui.h"

namespace hasorin {
namespace {

const QColor kRed(255, 0, 0);           // colour value 255
const QColor kBeyondLimit(255, 244, 194);  // pale yellow behind a value beyond the cell's range

}  // namespace

int ResultModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : table_.rows;
}

int ResultModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : table_.ColumnCount();
}

QVariant ResultModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const ResultCell& cell = table_.At(index.row(), index.column());
  switch (role) {
    case Qt::DisplayRole:
      return cell.text;
    case Qt::TextAlignmentRole:
      return int((cell.hasValue ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignVCenter);
    case Qt::ForegroundRole:
      if (cell.red) return kRed;
      return {};
    case Qt::BackgroundRole:
      if (cell.beyondLimit) return kBeyondLimit;
      return {};
    case Qt::ToolTipRole:
      if (cell.beyondLimit)
        return QStringLiteral("表示範囲（±9999.99）を超える値です：") + FullPrecisionText(cell.value);
      return {};
    default:
      return {};
  }
}

QVariant ResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role == Qt::DisplayRole) {
    if (orientation == Qt::Vertical) return section + 1;
    if (section >= 0 && section < table_.ColumnCount()) return table_.columns[size_t(section)].header;
  }
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
  return QAbstractTableModel::headerData(section, orientation, role);
}

void ResultModel::SetTable(ResultTable table) {
  beginResetModel();
  table_ = std::move(table);
  endResetModel();
}

// ---------------------------------------------------------------- ResultGrid

ResultGrid::ResultGrid(QWidget* parent) : QTableView(parent), model_(new ResultModel(this)) {
  setModel(model_);
  setEditTriggers(NoEditTriggers);
  setSelectionMode(ContiguousSelection);
  setSelectionBehavior(SelectItems);
  setWordWrap(false);
  setTextElideMode(Qt::ElideNone);
  setTabKeyNavigation(false);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setFont(GreekLetterFont(font()));

  menu_ = new QMenu(this);
  copy_ = menu_->addAction(QStringLiteral("選択したｾﾙをｺﾋﾟｰ（全桁の値）(&C)"));
  copy_->setShortcut(QKeySequence::Copy);
  copy_->setShortcutContext(Qt::WidgetShortcut);
  copyAll_ = menu_->addAction(QStringLiteral("表全体をｺﾋﾟｰ（全桁の値）(&A)"));
  addAction(copy_);  // Ctrl+C while the grid has the focus
  connect(copy_, &QAction::triggered, this, &ResultGrid::CopySelection);
  connect(copyAll_, &QAction::triggered, this, &ResultGrid::CopyAll);
  SetColumnWidths();
}

void ResultGrid::SetTable(ResultTable table) {
  model_->SetTable(std::move(table));
  SetColumnWidths();
  if (RowCount() > 0) setCurrentIndex(model_->index(0, 0));
  const bool any = RowCount() > 0;
  copy_->setEnabled(any);
  copyAll_->setEnabled(any);
}

void ResultGrid::SetColumnWidths() {
  const QFontMetrics cell(font());
  const QFontMetrics header(horizontalHeader()->font());
  const int charWidth = cell.horizontalAdvance(QLatin1Char('0'));
  const ResultTable& t = model_->Table();
  for (int c = 0; c < t.ColumnCount(); ++c) {
    const ResultColumn& col = t.columns[size_t(c)];
    int width = int(std::ceil(col.widthChars * charWidth)) + 8;
    width = std::max(width, header.horizontalAdvance(col.header) + 14);
    // A value beyond what the column was meant for widens it: nothing is
    // clipped or replaced by marks. Only the longest texts are measured.
    int longest = 0;
    for (int r = 0; r < t.rows; ++r) longest = std::max(longest, int(t.At(r, c).text.size()));
    for (int r = 0; r < t.rows && longest > 0; ++r) {
      const QString& text = t.At(r, c).text;
      if (text.size() == longest) width = std::max(width, cell.horizontalAdvance(text) + 12);
    }
    setColumnWidth(c, width);
  }
  verticalHeader()->setDefaultSectionSize(cell.height() + 6);
  // Room for pile 999 from the start.
  verticalHeader()->setFixedWidth(cell.horizontalAdvance(QStringLiteral("9999")) + 8);
}

QSize ResultGrid::SizeFor(int rows) const {
  int width = verticalHeader()->width() + 2 * frameWidth() +
              style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  for (int c = 0; c < model_->columnCount(); ++c) width += columnWidth(c);
  const int height = horizontalHeader()->sizeHint().height() + 2 * frameWidth() +
                     rows * verticalHeader()->defaultSectionSize();
  return {width, height};
}

int ResultGrid::CurrentPile() const {
  const QModelIndex i = currentIndex();
  return i.isValid() ? i.row() + 1 : 0;
}

QString ResultGrid::SelectionTsv() const {
  if (RowCount() == 0) return {};
  const QModelIndexList selected = selectionModel()->selectedIndexes();
  int top = INT_MAX, left = INT_MAX, bottom = -1, right = -1;
  for (const QModelIndex& i : selected) {
    top = std::min(top, i.row());
    bottom = std::max(bottom, i.row());
    left = std::min(left, i.column());
    right = std::max(right, i.column());
  }
  if (bottom < 0) {
    const QModelIndex i = currentIndex();
    if (!i.isValid()) return {};
    top = bottom = i.row();
    left = right = i.column();
  }
  return ResultTableTsv(model_->Table(), top, left, bottom, right);
}

void ResultGrid::CopySelection() {
  const QString text = SelectionTsv();
  if (!text.isEmpty()) Ui().SetClipboardText(text);
}

void ResultGrid::CopyAll() {
  if (RowCount() > 0) Ui().SetClipboardText(ResultTableTsv(model_->Table()));
}

void ResultGrid::contextMenuEvent(QContextMenuEvent* event) {
  // A click on a cell outside the selection makes it the active cell, as in
  // a spreadsheet, so the menu speaks of the pile under the mouse.
  const QModelIndex at = indexAt(viewport()->mapFromGlobal(event->globalPos()));
  if (at.isValid() && !selectionModel()->isSelected(at)) setCurrentIndex(at);
  emit ContextMenuAboutToShow(menu_, CurrentPile());
  menu_->exec(event->globalPos());
}

void ResultGrid::changeEvent(QEvent* event) {
  QTableView::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    horizontalHeader()->setFont(GreekLetterFont(font()));
    SetColumnWidths();
  }
}

}  // namespace hasorin
