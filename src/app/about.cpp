#include "about.h"

#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QVBoxLayout>

#include "inputfile.h"
#include "menu_icons.h"
#include "ui.h"

namespace hasorin {

QString VersionText(int major, int minor, int revision) {
  return QString("Version %1.%2.%3(2012/05/13)")
      .arg(major)
      .arg(minor)
      .arg(revision, 3, 10, QChar('0'));
}

QString ProgramVersionText() {
  return VersionText(HASORIN_VERSION_MAJOR, HASORIN_VERSION_MINOR, HASORIN_VERSION_PATCH);
}

QString SystemInfoProgram() {
#ifdef Q_OS_WIN
  QSettings msinfo(R"(HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO)",
                   QSettings::NativeFormat);
  QString path = msinfo.value("PATH").toString();
  if (!path.isEmpty()) return path;
  QSettings location(R"(HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools Location)",
                     QSettings::NativeFormat);
  QString folder = location.value("MSINFO").toString();
  if (!folder.isEmpty()) {
    path = folder + R"(\MSINFO32.EXE)";
    if (QFileInfo::exists(path)) return path;
  }
#endif
  return {};
}

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
  setObjectName("frmAbout");
  setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));

  auto* picture = new QLabel;
  picture->setPixmap(ProgramIcon().pixmap(48, 48));
  picture->setAlignment(Qt::AlignTop);

  lblTitle = new QLabel(QString::fromUtf8(kProductName));
  lblTitle->setObjectName("lblTitle");
  QFont big = lblTitle->font();
  big.setPointSizeF(big.pointSizeF() * 1.6);
  big.setBold(true);
  lblTitle->setFont(big);
  lblVersion = new QLabel(ProgramVersionText());
  lblVersion->setObjectName("lblVersion");
  auto* description = new QLabel(QStringLiteral("三次元杭基礎の設計計算"));
  lblDisclaimer = new QLabel(QStringLiteral("Copyright (C) 2012 Quorvant. All rights reserved."));
  lblDisclaimer->setObjectName("lblDisclaimer");

  auto* line = new QFrame;
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);

  cmdOK = new QPushButton(QStringLiteral("OK"));
  cmdOK->setObjectName("cmdOK");
  cmdOK->setDefault(true);
  cmdSysInfo = new QPushButton(QStringLiteral("ｼｽﾃﾑ情報(&S)..."));
  cmdSysInfo->setObjectName("cmdSysInfo");
  cmdSysInfo->setAutoDefault(false);
  int width = std::max(cmdOK->sizeHint().width(), cmdSysInfo->sizeHint().width()) + 12;
  cmdOK->setMinimumWidth(width);
  cmdSysInfo->setMinimumWidth(width);

  auto* text = new QVBoxLayout;
  text->addWidget(lblTitle);
  text->addWidget(lblVersion);
  text->addWidget(description);
  text->addSpacing(8);
  text->addStretch(1);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(16, 16, 16, 12);
  grid->setHorizontalSpacing(16);
  grid->addWidget(picture, 0, 0);
  grid->addLayout(text, 0, 1);
  grid->addWidget(line, 1, 0, 1, 3);
  grid->addWidget(lblDisclaimer, 2, 0, 2, 2, Qt::AlignLeft | Qt::AlignTop);
  grid->addWidget(cmdOK, 2, 2);
  grid->addWidget(cmdSysInfo, 3, 2);
  grid->setColumnStretch(1, 1);
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);
}

void frmAbout::showEvent(QShowEvent* event) {
  // In the centre of the screen, not of the main window.
  if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen()) {
    QRect avail = s->availableGeometry();
    QSize size = frameGeometry().size();
    move(avail.x() + std::max(0, (avail.width() - size.width()) / 2),
         avail.y() + std::max(0, (avail.height() - size.height()) / 2));
  }
  QDialog::showEvent(event);
}

void frmAbout::StartSysInfo() {
  QString program = SystemInfoProgram();
  if (!program.isEmpty() && Ui().StartProcess(program, {}, false)) return;
  Ui().ShowMessage(this, QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"),
                   QString::fromUtf8(kProductName), MsgIcon::None, MsgButtons::Ok);
}

}  // namespace hasorin
