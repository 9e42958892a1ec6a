#pragma once
// The rows of the pile table as the grid shows them: one row per pile,
// fourteen numeric cells each. Rows and columns are 0-based (Qt's model
// convention); row r is pile r + 1.
#include <QAbstractTableModel>
#include <vector>

#include "pile_columns.h"

namespace hasorin {

class PileGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit PileGridModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  int RowCount() const { return int(rows_.size()); }
  const std::vector<PileRow>& Rows() const { return rows_; }
  const PileCell& Cell(int row, int column) const { return rows_[size_t(row)][size_t(column)]; }

  // Replaces every row, as the program fills the table: no section values
  // are computed, so A, I and Z are what the rows hold.
  void SetRows(std::vector<PileRow> rows);

  // A value entered by the user. A changed D, t or dt fills in A, I and Z.
  void SetUserCell(int row, int column, const PileCell& value);

  // New rows holding the defaults, inserted before `row` (RowCount() appends).
  void InsertDefaultRows(int row, int count);
  void RemoveRows(int row, int count);

  // Ascending by the pile diameter, all columns moving together; rows of
  // equal diameter keep their order. An empty diameter counts as 0.
  void SortByDiameter();

  // Groups many cell changes into one repaint notification (paste, clear).
  void BeginBatch();
  void EndBatch();

 private:
  void RecomputeSection(int row);
  void CellChanged(int row, int column);

  std::vector<PileRow> rows_;
  int batchDepth_ = 0;
  int dirtyTop_ = -1, dirtyLeft_ = 0, dirtyBottom_ = 0, dirtyRight_ = 0;
};

// Rounds a value to the decimals its column shows.
double RoundToColumn(int column, double value);

}  // namespace hasorin
