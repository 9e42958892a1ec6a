#include "pile_grid_model.h"

#include <QColor>
#include <algorithm>
#include <cmath>

#include "pile_section.h"

namespace hasorin {

double RoundToColumn(int column, double value) {
  const double scale = std::pow(10.0, PileColumns()[size_t(column)].decDigits);
  return std::round(value * scale) / scale;
}

namespace {

bool IsSectionOutOfRange(int column, const PileCell& cell) {
  return (column == kColA || column == kColI || column == kColZ) && !PileInRange(column, cell);
}

}  // namespace

PileGridModel::PileGridModel(QObject* parent) : QAbstractTableModel(parent) {}

int PileGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : RowCount();
}

int PileGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kPileColumns;
}

QVariant PileGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= RowCount()) return {};
  const PileCell& cell = Cell(index.row(), index.column());
  switch (role) {
    case Qt::DisplayRole:
      return PileShownText(index.column(), cell);
    case Qt::ForegroundRole:
      // Red on a tint: a section value outside its limits. (A new row's
      // L = 0 stays plain; typed values never leave their limits.)
      if (IsSectionOutOfRange(index.column(), cell)) return QColor(255, 0, 0);
      return {};
    case Qt::BackgroundRole:
      if (IsSectionOutOfRange(index.column(), cell)) return QColor(255, 228, 228);
      return {};
    case Qt::EditRole:
      return PileEditText(cell);
    case Qt::TextAlignmentRole:
      return int(Qt::AlignRight | Qt::AlignVCenter);
    default:
      return {};
  }
}

QVariant PileGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  if (section < 0 || section >= kPileColumns) return {};
  return QString::fromUtf8(PileColumns()[size_t(section)].header);
}

Qt::ItemFlags PileGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void PileGridModel::SetRows(std::vector<PileRow> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

void PileGridModel::SetUserCell(int row, int column, const PileCell& value) {
  PileCell& cell = rows_[size_t(row)][size_t(column)];
  if (cell == value) return;
  cell = value;
  CellChanged(row, column);
  if (column == kColD || column == kColT || column == kColDt) RecomputeSection(row);
}

void PileGridModel::RecomputeSection(int row) {
  PileRow& r = rows_[size_t(row)];
  auto section = ComputePileSection(r[kColD].value_or(0), r[kColT].value_or(0), r[kColDt].value_or(0));
  if (!section) return;
  // Stored as shown, so that the table, its copies and the calculation agree.
  r[kColA] = RoundToColumn(kColA, section->A);
  r[kColI] = RoundToColumn(kColI, section->I);
  r[kColZ] = RoundToColumn(kColZ, section->Z);
  CellChanged(row, kColA);
  CellChanged(row, kColZ);
}

void PileGridModel::CellChanged(int row, int column) {
  if (batchDepth_ == 0) {
    emit dataChanged(index(row, column), index(row, column));
    return;
  }
  if (dirtyTop_ < 0) {
    dirtyTop_ = dirtyBottom_ = row;
    dirtyLeft_ = dirtyRight_ = column;
    return;
  }
  dirtyTop_ = std::min(dirtyTop_, row);
  dirtyBottom_ = std::max(dirtyBottom_, row);
  dirtyLeft_ = std::min(dirtyLeft_, column);
  dirtyRight_ = std::max(dirtyRight_, column);
}

void PileGridModel::BeginBatch() { ++batchDepth_; }

void PileGridModel::EndBatch() {
  if (--batchDepth_ > 0 || dirtyTop_ < 0) return;
  emit dataChanged(index(dirtyTop_, dirtyLeft_), index(dirtyBottom_, dirtyRight_));
  dirtyTop_ = -1;
}

void PileGridModel::InsertDefaultRows(int row, int count) {
  if (count <= 0) return;
  row = std::clamp(row, 0, RowCount());
  beginInsertRows({}, row, row + count - 1);
  rows_.insert(rows_.begin() + row, size_t(count), PileDefaultRow());
  endInsertRows();
}

void PileGridModel::RemoveRows(int row, int count) {
  if (row < 0 || count <= 0 || row + count > RowCount()) return;
  beginRemoveRows({}, row, row + count - 1);
  rows_.erase(rows_.begin() + row, rows_.begin() + row + count);
  endRemoveRows();
}

void PileGridModel::SortByDiameter() {
  beginResetModel();
  std::stable_sort(rows_.begin(), rows_.end(), [](const PileRow& a, const PileRow& b) {
    return a[kColD].value_or(0) < b[kColD].value_or(0);
  });
  endResetModel();
}

}  // namespace hasorin
