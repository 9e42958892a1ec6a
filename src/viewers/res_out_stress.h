#pragma once
// frmResOutStress "杭体応力度の確認": the stress check of every pile for the
// steel grade chosen in cboZai. Both grades come from one calculation; each
// has its own grid and σba field, and choosing a grade brings its pair to
// the front. Fixed size.
#include <array>

#include "result_frame.h"

class QComboBox;
class QGroupBox;
class QStackedWidget;

namespace hasorin {

class NumberField;
class ResultGrid;

class frmResOutStress : public ResultFrame {
  Q_OBJECT
 public:
  explicit frmResOutStress(QWidget* parent = nullptr);

  static constexpr const char* kSection = "ResOutStress";

  QComboBox* cboZai = nullptr;
  std::array<NumberField*, 2> numSba{};
  std::array<ResultGrid*, 2> vaSpread1{};
  QGroupBox* Frame1 = nullptr;

  // The grade whose grid and field are in front (0 SKK400, 1 SKK490).
  int FrontGrade() const;

  std::vector<ResultGrid*> Grids() const override { return {vaSpread1[0], vaSpread1[1]}; }

 protected:
  void AfterLoadData() override;
  void RestoreSize() override;

 private:
  void SelectGrade(int index);

  QStackedWidget* fields_ = nullptr;
  QStackedWidget* grids_ = nullptr;
};

}  // namespace hasorin
