#include "pile_grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <algorithm>

#include "greek_text.h"
#include "pile_clipboard.h"
#include "ui.h"

namespace hasorin {
namespace {

constexpr int kUndoLevels = 40;
constexpr int kDefaultWidthChars = 8;
constexpr int kListedRefusals = 10;

// Characters that start typing into a cell; anything else is refused with a beep.
bool StartsNumber(const QString& text) {
  if (text.isEmpty()) return false;
  QChar c = text.normalized(QString::NormalizationForm_KC).at(0);
  return c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('-') || c == QLatin1Char('+');
}

bool IsKey(const QKeyEvent* event, Qt::Key key, Qt::KeyboardModifiers modifiers) {
  return event->key() == key && (event->modifiers() & ~Qt::KeypadModifier) == modifiers;
}

}  // namespace

QFont GreekLetterFont(const QFont& base) { return WithFamilyFirst(base, QStringLiteral("DejaVu Sans")); }

PileGrid::PileGrid(QWidget* parent) : QTableView(parent), model_(new PileGridModel(this)) {
  setHorizontalHeader(new GreekAwareHeader(Qt::Horizontal, this));  // φ and ψ told apart
  setModel(model_);
  setEditTriggers(NoEditTriggers);  // the grid opens its own editor
  setSelectionMode(ContiguousSelection);
  setSelectionBehavior(SelectItems);
  setWordWrap(false);
  setCornerButtonEnabled(true);
  setAttribute(Qt::WA_InputMethodEnabled, false);  // numbers only: keep the IME off
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setHighlightSections(true);
  horizontalHeader()->viewport()->installEventFilter(this);
  verticalHeader()->viewport()->installEventFilter(this);
  SetColumnWidths();

  editor_ = new QLineEdit(viewport());
  editor_->hide();
  editor_->setFrame(false);
  editor_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  editor_->setMaxLength(32);
  editor_->setAttribute(Qt::WA_InputMethodEnabled, false);
  editor_->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("[-+0-9.,eE\\s０-９．，－＋]*")), editor_));
  editor_->installEventFilter(this);
}

void PileGrid::SetColumnWidths() {
  const QFontMetrics cell(font());
  const int charWidth = cell.horizontalAdvance(QLatin1Char('0'));
  for (int c = 0; c < kPileColumns; ++c) {
    const PileColumn& col = PileColumns()[size_t(c)];
    int chars = col.widthChars > 0 ? col.widthChars : kDefaultWidthChars;
    int width = chars * charWidth + 8;
    // Never narrower than the header or the widest value the column takes.
    width = std::max(width, GreekAwareWidth(QString::fromUtf8(col.header), horizontalHeader()->font()) + 14);
    width = std::max(width, cell.horizontalAdvance(PileWidestText(c)) + 10);
    setColumnWidth(c, width);
  }
  verticalHeader()->setDefaultSectionSize(cell.height() + 6);
  // Room for pile 999 from the start, so the width does not jump as rows come.
  rowHeaderWidth_ = cell.horizontalAdvance(QStringLiteral("9999")) + 8;
  verticalHeader()->setFixedWidth(rowHeaderWidth_);
}

QSize PileGrid::sizeHint() const {
  int width = rowHeaderWidth_ + 2 * frameWidth() +
              style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  for (int c = 0; c < kPileColumns; ++c) width += columnWidth(c);
  const int height = horizontalHeader()->sizeHint().height() + 2 * frameWidth() +
                     15 * verticalHeader()->defaultSectionSize();
  return {width, height};
}

void PileGrid::changeEvent(QEvent* event) {
  QTableView::changeEvent(event);
  if (event->type() == QEvent::FontChange) SetColumnWidths();
}

// ---- active cell ------------------------------------------------------------

int PileGrid::ActiveRow() const {
  QModelIndex i = currentIndex();
  return i.isValid() ? i.row() : -1;
}

int PileGrid::ActiveColumn() const {
  QModelIndex i = currentIndex();
  return i.isValid() ? i.column() : -1;
}

void PileGrid::SetActiveCell(int row, int column) {
  if (RowCount() == 0) return;
  QModelIndex i = model_->index(std::clamp(row, 0, RowCount() - 1),
                                std::clamp(column, 0, kPileColumns - 1));
  setCurrentIndex(i);  // through the view, so Shift+arrows extend from here
  scrollTo(i);
}

void PileGrid::MoveActive(int rowStep, int columnStep) {
  int r = ActiveRow(), c = ActiveColumn();
  if (r < 0) return;
  c += columnStep;
  // Tab runs on to the next row, as it does in a spreadsheet.
  if (c >= kPileColumns) {
    if (r + 1 < RowCount()) ++r, c = 0;
    else c = kPileColumns - 1;
  } else if (c < 0) {
    if (r > 0) --r, c = kPileColumns - 1;
    else c = 0;
  }
  SetActiveCell(r + rowStep, c);
}

QRect PileGrid::SelectedBlock() const {
  QRect block;
  for (const QItemSelectionRange& range : selectionModel()->selection()) {
    QRect r(QPoint(range.left(), range.top()), QPoint(range.right(), range.bottom()));
    block = block.isNull() ? r : block.united(r);
  }
  if (block.isNull() && currentIndex().isValid()) block = QRect(ActiveColumn(), ActiveRow(), 1, 1);
  return block;
}

void PileGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  // Every move goes through FinishEdit first; a move made some other way keeps
  // a valid entry and drops one the column does not take.
  if (IsEditing() && (current.row() != editRow_ || current.column() != editColumn_)) {
    if (!CommitEdit(false)) CloseEditor();
  }
  UpdateHint();
  alertRow_ = -1;  // told once more after the entry's own move, then the cell's range
}

// ---- range hint -------------------------------------------------------------

bool PileGrid::HasFocusWithin() const {
  QWidget* focus = QApplication::focusWidget();
  return focus && (focus == this || isAncestorOf(focus));
}

void PileGrid::UpdateHint() {
  const int alert = alertRow_;
  if (!HasFocusWithin() || !currentIndex().isValid()) {
    emit RangeHintChanged(QString());
    return;
  }
  // A section out of range in the active row, or in the row an entry has
  // just changed, is told before the range of the cell.
  for (int row : {ActiveRow(), alert}) {
    if (row < 0 || row >= RowCount()) continue;
    const int column = PileSectionOutOfRange(model_->Rows()[size_t(row)]);
    if (column >= 0) {
      emit RangeHintChanged(PileOutOfRangeHint(row, column, *model_->Cell(row, column)));
      return;
    }
  }
  emit RangeHintChanged(PileRangeHint(currentIndex().column()));
}

bool PileGrid::CheckSections() {
  for (int row = 0; row < RowCount(); ++row) {
    const int column = PileSectionOutOfRange(model_->Rows()[size_t(row)]);
    if (column < 0) continue;
    SetActiveCell(row, column);
    setFocus(Qt::OtherFocusReason);
    Ui().Beep();
    Ui().ShowMessage(this,
                     PileCellRefusalText(row, column, PileDisplayText(column, model_->Cell(row, column)),
                                         PileEntryError::OutOfRange),
                     MessageTitle(), MsgIcon::Information, MsgButtons::Ok);
    return false;
  }
  return true;
}

void PileGrid::focusInEvent(QFocusEvent* event) {
  QTableView::focusInEvent(event);
  UpdateHint();
}

void PileGrid::focusOutEvent(QFocusEvent* event) {
  QTableView::focusOutEvent(event);
  if (!HasFocusWithin()) UpdateHint();
}

// ---- loading ----------------------------------------------------------------

void PileGrid::SetRows(std::vector<PileRow> rows) {
  CloseEditor();
  model_->SetRows(std::move(rows));
  undo_.clear();
  redo_.clear();
  SetActiveCell(0, 0);
}

void PileGrid::SortByDiameter() {
  if (!FinishEdit()) return;
  PushUndo();
  const int r = ActiveRow(), c = ActiveColumn();
  model_->SortByDiameter();
  SetActiveCell(r, c);
}

// ---- cell editor ------------------------------------------------------------

bool PileGrid::IsEditing() const { return editor_ && editor_->isVisible(); }

void PileGrid::StartEdit(const QString& text, bool typing) {
  if (!currentIndex().isValid()) return;
  editRow_ = ActiveRow();
  editColumn_ = ActiveColumn();
  editOriginal_ = text;
  editFromCell_ = !typing;
  editTyping_ = typing;
  editor_->setText(text);
  editor_->setFont(font());
  PlaceEditor();
  editor_->show();
  editor_->setFocus(Qt::OtherFocusReason);
  editor_->end(false);
}

void PileGrid::PlaceEditor() {
  if (editRow_ < 0 || editRow_ >= RowCount()) return;
  editor_->setGeometry(visualRect(model_->index(editRow_, editColumn_)).adjusted(1, 1, -1, -1));
}

void PileGrid::scrollContentsBy(int dx, int dy) {
  QTableView::scrollContentsBy(dx, dy);
  if (IsEditing()) PlaceEditor();
}

void PileGrid::updateGeometries() {
  QTableView::updateGeometries();
  if (IsEditing()) PlaceEditor();
}

void PileGrid::CloseEditor() {
  if (!IsEditing()) return;
  // Focus first: hiding a focused editor would pass the focus on like a Tab.
  if (editor_->hasFocus()) setFocus(Qt::OtherFocusReason);
  editor_->hide();
  editRow_ = editColumn_ = -1;
}

void PileGrid::CancelEdit() { CloseEditor(); }

QString PileGrid::MessageTitle() const { return window()->windowTitle(); }

bool PileGrid::CommitEdit(bool report) {
  if (!IsEditing()) return true;
  const QString text = editor_->text();
  // Leaving an edited cell unchanged writes nothing, even where a loaded
  // value has more decimals than the column takes.
  if (editFromCell_ && text == editOriginal_) {
    CloseEditor();
    return true;
  }
  const PileEntry entry = ParsePileEntry(editColumn_, text);
  if (entry.error != PileEntryError::None) {
    if (report) {
      const int column = editColumn_;
      Ui().Beep();
      Ui().ShowMessage(this, PileRefusalText(column, entry.error), MessageTitle(),
                       MsgIcon::Information, MsgButtons::Ok);
      if (IsEditing()) {
        editor_->setFocus(Qt::OtherFocusReason);
        editor_->selectAll();
      }
    }
    return false;
  }
  const int row = editRow_, column = editColumn_;
  CloseEditor();
  if (model_->Cell(row, column) != entry.value) {
    PushUndo();
    model_->SetUserCell(row, column, entry.value);
    if (PileSectionOutOfRange(model_->Rows()[size_t(row)]) >= 0) {
      alertRow_ = row;
      UpdateHint();
    }
  }
  return true;
}

bool PileGrid::FinishEdit() { return CommitEdit(true); }

bool PileGrid::EditorKey(QKeyEvent* event) {
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (FinishEdit()) MoveActive(shift ? -1 : 1, 0);
      return true;
    case Qt::Key_Tab:
      if (FinishEdit()) MoveActive(0, 1);
      return true;
    case Qt::Key_Backtab:
      if (FinishEdit()) MoveActive(0, -1);
      return true;
    case Qt::Key_Escape:
      CancelEdit();
      return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
      if (FinishEdit()) MoveActive(event->key() == Qt::Key_Up ? -1 : 1, 0);
      return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
      // While typing, arrows move on; after F2 they move the caret.
      if (!editTyping_) return false;
      if (FinishEdit()) MoveActive(0, event->key() == Qt::Key_Left ? -1 : 1);
      return true;
    case Qt::Key_F2:
      editTyping_ = false;
      return true;
    default:
      return false;
  }
}

bool PileGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == editor_) {
    if (event->type() == QEvent::KeyPress) {
      // Accepted as well, or the key would travel on to the grid behind.
      if (!EditorKey(static_cast<QKeyEvent*>(event))) return false;
      event->accept();
      return true;
    }
    if (event->type() == QEvent::FocusOut) {
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
          !HasFocusWithin()) {
        // Focus went elsewhere in the window: keep a valid entry; a refused one
        // stays open, and OK reports it.
        CommitEdit(false);
        UpdateHint();
      }
    }
    return false;
  }
  if (event->type() == QEvent::MouseButtonPress && IsEditing() && !FinishEdit()) return true;
  return QTableView::eventFilter(watched, event);
}

// ---- keys and mouse ---------------------------------------------------------

void PileGrid::keyPressEvent(QKeyEvent* event) {
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  if (IsKey(event, Qt::Key_Insert, Qt::ShiftModifier)) {
    InsertRow();
  } else if (IsKey(event, Qt::Key_Delete, Qt::ShiftModifier)) {
    DeleteRow();
  } else if (event == QKeySequence::Copy) {
    Copy();
  } else if (event == QKeySequence::Cut) {
    Cut();
  } else if (event == QKeySequence::Paste) {
    Paste();
  } else if (event == QKeySequence::Undo) {
    Undo();
  } else if (event == QKeySequence::Redo) {
    Redo();
  } else if (IsKey(event, Qt::Key_Delete, Qt::NoModifier)) {
    ClearBlock();
  } else if (IsKey(event, Qt::Key_Backspace, Qt::NoModifier)) {
    StartEdit(QString(), true);
  } else if (IsKey(event, Qt::Key_F2, Qt::NoModifier)) {
    if (currentIndex().isValid()) StartEdit(PileEditText(model_->Cell(ActiveRow(), ActiveColumn())), false);
  } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    MoveActive(shift ? -1 : 1, 0);  // never the dialog's default button
  } else if ((event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) &&
             (event->modifiers() & Qt::ControlModifier)) {
    // Tab moves between cells; Ctrl+Tab leaves the grid for the next control.
    QWidget::focusNextPrevChild(event->key() == Qt::Key_Tab && !shift);
  } else if (event->key() == Qt::Key_Tab) {
    MoveActive(0, 1);
  } else if (event->key() == Qt::Key_Backtab) {
    MoveActive(0, -1);
  } else if (IsKey(event, Qt::Key_Escape, Qt::NoModifier)) {
    // Kept from the dialog: a habitual second Escape must not throw away
    // every row through Cancel.
  } else if (!event->text().isEmpty() && event->text().at(0).isPrint() &&
             !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    if (StartsNumber(event->text()) && currentIndex().isValid())
      StartEdit(event->text(), true);
    else
      Ui().Beep();
  } else {
    QTableView::keyPressEvent(event);
    return;
  }
  event->accept();
}

void PileGrid::inputMethodEvent(QInputMethodEvent* event) {
  // Should an input method still be active, its committed text types like keys.
  const QString text = event->commitString();
  if (StartsNumber(text) && currentIndex().isValid()) StartEdit(text.normalized(QString::NormalizationForm_KC), true);
  event->accept();
}

void PileGrid::mousePressEvent(QMouseEvent* event) {
  if (IsEditing() && !FinishEdit()) return;
  QTableView::mousePressEvent(event);
}

void PileGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  if (IsEditing()) return;
  QModelIndex i = indexAt(event->position().toPoint());
  if (!i.isValid()) return;
  SetActiveCell(i.row(), i.column());
  StartEdit(PileEditText(model_->Cell(i.row(), i.column())), false);
}

// ---- undo -------------------------------------------------------------------

void PileGrid::PushUndo() {
  undo_.push_back({model_->Rows(), ActiveRow(), ActiveColumn()});
  if (int(undo_.size()) > kUndoLevels) undo_.erase(undo_.begin());
  redo_.clear();
}

// Takes the last snapshot of `from` back into the table, keeping the present
// state on `to` (undo: from undo_ to redo_; redo the other way).
bool PileGrid::StepHistory(std::vector<Snapshot>& from, std::vector<Snapshot>& to) {
  if (!FinishEdit() || from.empty()) return false;
  Snapshot s = std::move(from.back());
  from.pop_back();
  to.push_back({model_->Rows(), ActiveRow(), ActiveColumn()});
  const int before = RowCount();
  model_->SetRows(std::move(s.rows));
  SetActiveCell(s.row, s.column);
  if (RowCount() != before) emit RowCountChanged(RowCount());
  return true;
}

bool PileGrid::Undo() { return StepHistory(undo_, redo_); }

bool PileGrid::Redo() { return StepHistory(redo_, undo_); }

// ---- row commands -----------------------------------------------------------

bool PileGrid::AddRow() {
  if (!FinishEdit() || RowCount() >= maxRows_) return false;
  PushUndo();
  const bool wasEmpty = RowCount() == 0;
  model_->InsertDefaultRows(RowCount(), 1);
  if (wasEmpty) SetActiveCell(0, 0);
  emit RowCountChanged(RowCount());
  return true;
}

bool PileGrid::InsertRow() {
  if (!FinishEdit() || RowCount() >= maxRows_) return false;
  PushUndo();
  const int row = currentIndex().isValid() ? ActiveRow() : RowCount();
  const int column = std::max(ActiveColumn(), 0);
  model_->InsertDefaultRows(row, 1);
  SetActiveCell(row, column);
  emit RowCountChanged(RowCount());
  return true;
}

bool PileGrid::DeleteRow() {
  if (!FinishEdit() || RowCount() == 0 || !currentIndex().isValid()) return false;
  PushUndo();
  const int row = ActiveRow(), column = ActiveColumn();
  model_->RemoveRows(row, 1);
  SetActiveCell(row, column);
  emit RowCountChanged(RowCount());
  return true;
}

// ---- clipboard --------------------------------------------------------------

void PileGrid::Copy() {
  if (!FinishEdit()) return;
  const QRect block = SelectedBlock();
  if (block.isNull()) return;
  PileTextBlock texts;
  texts.reserve(size_t(block.height()));
  for (int r = block.top(); r <= block.bottom(); ++r) {
    QStringList row;
    for (int c = block.left(); c <= block.right(); ++c) row << PileCopyText(c, model_->Cell(r, c));
    texts.push_back(row);
  }
  Ui().SetClipboardText(JoinTabText(texts));
}

void PileGrid::Cut() {
  if (!FinishEdit()) return;
  Copy();
  ClearBlock();
}

void PileGrid::ClearBlock() {
  if (!FinishEdit()) return;
  const QRect block = SelectedBlock();
  if (block.isNull()) return;
  PushUndo();
  model_->BeginBatch();
  for (int r = block.top(); r <= block.bottom(); ++r)
    for (int c = block.left(); c <= block.right(); ++c) model_->SetUserCell(r, c, PileCell());
  model_->EndBatch();
}

void PileGrid::Paste() {
  if (!FinishEdit()) return;
  const PileTextBlock texts = SplitTabText(Ui().ClipboardText());
  if (texts.empty()) {
    Ui().Beep();
    return;
  }
  int width = 0;
  for (const QStringList& row : texts) width = std::max(width, int(row.size()));
  QRect selected = SelectedBlock();
  if (selected.isNull()) selected = QRect(0, 0, 1, 1);  // an empty table grows from its first cell

  // One value pasted into a selected block fills the block.
  const bool fill = texts.size() == 1 && width == 1 && selected.width() * selected.height() > 1;
  const int rows = fill ? selected.height() : int(texts.size());
  const int columns = fill ? selected.width() : width;
  const int top = selected.top(), left = selected.left();
  const int fitRows = std::min(rows, maxRows_ - top);
  const int fitColumns = std::min(columns, kPileColumns - left);
  const bool clipped = fitRows < rows || fitColumns < columns;

  QStringList refusals;
  int refusedCount = 0;
  const int before = RowCount();
  if (fitRows > 0 && fitColumns > 0) {
    PushUndo();
    model_->BeginBatch();
    if (top + fitRows > RowCount()) model_->InsertDefaultRows(RowCount(), top + fitRows - RowCount());
    for (int r = 0; r < fitRows; ++r) {
      const QStringList& line = fill ? texts[0] : texts[size_t(r)];
      for (int c = 0; c < fitColumns; ++c) {
        if (!fill && c >= line.size()) break;  // a short line leaves the rest of its row alone
        const QString& text = fill ? line[0] : line[c];
        const PileEntry entry = ParsePileEntry(left + c, text);
        if (entry.error == PileEntryError::None) {
          model_->SetUserCell(top + r, left + c, entry.value);
        } else if (++refusedCount <= kListedRefusals) {
          refusals << QStringLiteral("  ") +
                          PileCellRefusalText(top + r, left + c, text.trimmed(), entry.error);
        }
      }
    }
    model_->EndBatch();
    selectionModel()->setCurrentIndex(model_->index(top, left), QItemSelectionModel::NoUpdate);
    selectionModel()->select(QItemSelection(model_->index(top, left),
                                            model_->index(top + fitRows - 1, left + fitColumns - 1)),
                             QItemSelectionModel::ClearAndSelect);
  }

  QStringList message;
  if (refusedCount > 0) {
    message << QStringLiteral("次の値は入力範囲外のため貼り付けませんでした。") << refusals;
    if (refusedCount > kListedRefusals)
      message << QStringLiteral("  ほか%1件").arg(refusedCount - kListedRefusals);
  }
  if (clipped)
    message << QStringLiteral("表（%1行×%2列）からはみ出した部分は貼り付けませんでした。")
                   .arg(maxRows_)
                   .arg(kPileColumns);
  if (!message.isEmpty()) {
    Ui().Beep();
    Ui().ShowMessage(this, message.join(QLatin1Char('\n')), MessageTitle(), MsgIcon::Information,
                     MsgButtons::Ok);
  }
  if (RowCount() != before) emit RowCountChanged(RowCount());
}

}  // namespace hasorin
