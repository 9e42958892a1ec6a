#include "menu_print.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "inputfile.h"
#include "paths.h"
#include "previewer_command.h"
#include "settings.h"
#include "shell.h"
#include "ui.h"
#include "window_position.h"

namespace hasorin {
namespace {

constexpr const char* kItems[PrintJob::kReportCount] = {
    "計算条件",
    "計算結果（杭頭変位および杭頭作用力）",
    "計算結果(杭応力度照査)",
};
constexpr const char* kCheckCaptions[3] = {"全項目選択", "全項目選択解除", "全項目選択反転"};

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }
std::string Key(int k) { return std::to_string(k); }

}  // namespace

frmMenuPrint::frmMenuPrint(const Project& project, const engine::CalcResults& results, PrintJobOptions options,
                           QWidget* parent)
    : QDialog(parent), job_(std::make_unique<PrintJob>(project, results, std::move(options))) {
  setObjectName("frmMenuPrint");
  setWindowTitle(QStringLiteral("検討結果の印刷"));

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(14, 12, 14, 12);
  column->setSpacing(8);
  for (int k = 0; k < PrintJob::kReportCount; ++k) {
    auto* box = new QCheckBox(QString::fromUtf8(kItems[k]));
    box->setObjectName(QString("chkPrintItem%1").arg(k));
    column->addWidget(box);
    chkPrintItem_[size_t(k)] = box;
  }
  auto* checks = new QHBoxLayout;
  for (int k = 0; k < 3; ++k) {
    auto* button = new QPushButton(QString::fromUtf8(kCheckCaptions[k]));
    button->setObjectName(QString("cmdCheck%1").arg(k));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, k] { CheckCommand(k); });
    checks->addWidget(button);
    cmdCheck_[size_t(k)] = button;
  }
  column->addSpacing(4);
  column->addLayout(checks);
  cmdPreview_ = new QPushButton(QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ(&P)"));
  cmdPreview_->setObjectName("cmdPreview");
  cmdPreview_->setDefault(true);
  connect(cmdPreview_, &QPushButton::clicked, this, &frmMenuPrint::Preview);
  cmdClose_ = new QPushButton(QStringLiteral("閉じる(&C)"));
  cmdClose_->setObjectName("cmdClose");
  cmdClose_->setAutoDefault(false);
  connect(cmdClose_, &QPushButton::clicked, this, &QDialog::close);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  bottom->addWidget(cmdPreview_);
  bottom->addWidget(cmdClose_);
  column->addSpacing(8);
  column->addLayout(bottom);
  setFixedSize(sizeHint());

  RestoreWindowPosition(this, kSettingsSection);
  CPrivateProfile profile;
  for (int k = 0; k < PrintJob::kReportCount; ++k) {
    chkPrintItem(k)->setChecked(profile.GetValueLong(SettingsFilePath(), kSettingsSection, Key(k)) != 0);
  }
  Generate();
}

// The job's destructor deletes whatever is left.
frmMenuPrint::~frmMenuPrint() = default;

void frmMenuPrint::Generate() {
  const bool allOk = job_->Generate();
  bool any = false;
  for (int k = 0; k < PrintJob::kReportCount; ++k) any = any || job_->ReportOk(k);
  // With no report at all, or no combined file, there is nothing to preview.
  if (!any || job_->CombinedFile().empty()) cmdPreview_->setEnabled(false);
  if (!allOk) {
    Ui().ShowMessage(this, Q(job_->ErrorText()), QString::fromUtf8(kProductName), MsgIcon::Critical,
                     MsgButtons::Ok);
  }
}

void frmMenuPrint::CheckCommand(int index) {
  for (QCheckBox* box : chkPrintItem_) {
    box->setChecked(index == 0 ? true : index == 1 ? false : !box->isChecked());
  }
}

void frmMenuPrint::Preview() {
  PrintJob::Selection chosen{};
  for (int k = 0; k < PrintJob::kReportCount; ++k) chosen[size_t(k)] = chkPrintItem(k)->isChecked();
  if (chosen == PrintJob::Selection{}) {
    Ui().Beep();
    Ui().ShowMessage(this, QStringLiteral("印刷項目はひとつ以上選択して下さい。"), windowTitle(),
                     MsgIcon::Information, MsgButtons::Ok);
    return;
  }
  if (!job_->Combine(chosen)) {
    // A previewer started on a missing or cut file would show a wrong print.
    Ui().ShowMessage(this,
                     QStringLiteral("印刷ﾌｧｲﾙを作成できませんでした。") + "\n\n" + Q(job_->CombinedFile()),
                     windowTitle(), MsgIcon::Critical, MsgButtons::Ok);
    return;
  }
  const PreviewerCommand command = MakePreviewerCommand(ProgramFolder(), WorkFolder(), job_->CombinedFile());
  if (!CSystem::Shell(command.program, command.arguments, 1, false)) {
    Ui().ShowMessage(this, QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰのﾌﾟﾛｸﾞﾗﾑを起動できませんでした。") + "\n\n" + command.program,
                     windowTitle(), MsgIcon::Critical, MsgButtons::Ok);
  }
}

void frmMenuPrint::done(int result) {
  if (!closed_) {
    closed_ = true;
    CPrivateProfile profile;
    for (int k = 0; k < PrintJob::kReportCount; ++k) {
      profile.SetValueString(SettingsFilePath(), kSettingsSection, Key(k), chkPrintItem(k)->isChecked() ? "1" : "0");
    }
    SaveWindowPosition(this, kSettingsSection);
    job_->Cleanup();
  }
  QDialog::done(result);
}

void RunPrintMenu(QWidget* parent) {
  frmMenuPrint menu(TheProject(), engine::TheResults(), {}, parent);
  menu.exec();
}

}  // namespace hasorin
