#pragma once
// frmResOutPxPyPz "杭頭作用力の確認": the six pile-head forces of every pile
// in member axes, one grid row per pile, with the footing displacement of
// the run in the status bar. Resizable; the grid takes the change of size.
#include "result_frame.h"

class QGroupBox;
class QLabel;
class QStatusBar;

namespace hasorin {

class ResultGrid;

class frmResOutPxPyPz : public ResultFrame {
  Q_OBJECT
 public:
  explicit frmResOutPxPyPz(QWidget* parent = nullptr);

  static constexpr const char* kSection = "ResOutPxPyPz";

  ResultGrid* vaSpread1 = nullptr;
  QGroupBox* Frame1 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  QLabel* StatusPanel1 = nullptr;  // the footing displacement

  std::vector<ResultGrid*> Grids() const override { return {vaSpread1}; }

 protected:
  void RestoreSize() override;
  void SaveGeometry() override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Arrange();
  QSize DefaultSize() const;
};

}  // namespace hasorin
