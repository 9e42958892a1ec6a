#pragma once
// frmResOutProfile "杭体断面力分布": one pile's deflection, moment and shear
// along the pile for both lateral planes and their resultant, the ground
// line and the largest moment below ground, with the pile's values beside
// them. Another pile is chosen in cboPile; the sheet prints on one page and
// saves as PDF, SVG or PNG. The opener hands it the sheets through a source,
// so the window never reads the project or the results itself.
#include <functional>

#include "profile_sheet.h"
#include "result_frame.h"

class QComboBox;
class QLabel;
class QPrinter;

namespace hasorin {

// The sheet drawn as a widget, scaled to the widget's size.
class ProfileView : public QWidget {
  Q_OBJECT
 public:
  using QWidget::QWidget;
  void SetSheet(const ProfileSheet* sheet);
  QSize sizeHint() const override { return {1040, 736}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const ProfileSheet* sheet_ = nullptr;
};

class frmResOutProfile : public ResultFrame {
  Q_OBJECT
 public:
  explicit frmResOutProfile(QWidget* parent = nullptr);

  static constexpr const char* kSection = "ResOutProfile";

  using SheetSource = std::function<ProfileSheet(int pile)>;
  // Piles 1..piles can be shown; `pile` first.
  void SetSource(int piles, SheetSource source, int pile);
  const ProfileSheet& Sheet() const { return sheet_; }

  // Chooses the printer; the desktop shows the print dialog. Tests replace it.
  using PrinterChoice = std::function<bool(QWidget* parent, QPrinter& printer)>;
  static PrinterChoice& ChoosePrinter();

  QLabel* lblPile = nullptr;
  QComboBox* cboPile = nullptr;
  ProfileView* picProfile = nullptr;
  QPushButton* cmdPrint = nullptr;
  QPushButton* cmdSave = nullptr;

  std::vector<ResultGrid*> Grids() const override { return {}; }

 protected:
  void RestoreSize() override;
  void SaveGeometry() override;
  void AfterLoadData() override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ShowPile(int pile);
  void Print();
  void Save();
  void Arrange();

  SheetSource source_;
  ProfileSheet sheet_;
};

}  // namespace hasorin
