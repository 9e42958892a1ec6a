#pragma once
// frmAbout: the program title, its version and copyright, and a button that
// starts the system-information program where the platform has one.
#include <QDialog>

class QLabel;
class QPushButton;

namespace hasorin {

// "Version 1.2.000(2012/05/13)": major.minor, the revision as three digits.
QString VersionText(int major, int minor, int revision);
// The version text of this build.
QString ProgramVersionText();
// Path of the system-information program; empty where there is none.
QString SystemInfoProgram();

class frmAbout : public QDialog {
  Q_OBJECT
 public:
  explicit frmAbout(QWidget* parent = nullptr);

  QLabel* lblTitle = nullptr;
  QLabel* lblVersion = nullptr;
  QLabel* lblDisclaimer = nullptr;
  QPushButton* cmdOK = nullptr;
  QPushButton* cmdSysInfo = nullptr;

  // Starts the system-information program, or says that there is none.
  void StartSysInfo();

 protected:
  void showEvent(QShowEvent* event) override;
};

}  // namespace hasorin
