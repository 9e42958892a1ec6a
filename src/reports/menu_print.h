#pragma once
// frmMenuPrint ("検討結果の印刷"): the print menu. On opening it generates all
// three reports (chapter numbers running on across them); the user checks the
// reports to print and presses preview, which joins them into the combined
// print file and starts the previewer on it without waiting; closing deletes
// every temporary file of the job. Check boxes and position are kept in
// section "MenuPrint" of the settings file.
#include <QDialog>
#include <array>
#include <memory>

#include "print_job.h"

class QCheckBox;
class QPushButton;

namespace hasorin {

class frmMenuPrint : public QDialog {
  Q_OBJECT
 public:
  static constexpr const char* kSettingsSection = "MenuPrint";

  // Generates the reports of `project` and `results` (which must outlive the
  // window) at once, telling the user about reports that failed.
  frmMenuPrint(const Project& project, const engine::CalcResults& results, PrintJobOptions options = {},
               QWidget* parent = nullptr);
  ~frmMenuPrint() override;

  QCheckBox* chkPrintItem(int k) const { return chkPrintItem_.at(size_t(k)); }
  QPushButton* cmdCheck(int k) const { return cmdCheck_.at(size_t(k)); }
  QPushButton* cmdPreview() const { return cmdPreview_; }
  QPushButton* cmdClose() const { return cmdClose_; }
  const PrintJob& Job() const { return *job_; }

  void done(int result) override;

 private:
  void Generate();
  void CheckCommand(int index);
  void Preview();

  std::unique_ptr<PrintJob> job_;
  std::array<QCheckBox*, PrintJob::kReportCount> chkPrintItem_{};
  std::array<QPushButton*, 3> cmdCheck_{};
  QPushButton* cmdPreview_ = nullptr;
  QPushButton* cmdClose_ = nullptr;
  bool closed_ = false;
};

// The print command of the main window, after a calculation that succeeded:
// the print menu on the program-wide project and results.
void RunPrintMenu(QWidget* parent);

}  // namespace hasorin
