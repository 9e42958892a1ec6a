#include "res_out_profile.h"

#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <algorithm>

#include "ui.h"
#include "window_position.h"

namespace hasorin {

void ProfileView::SetSheet(const ProfileSheet* sheet) {
  sheet_ = sheet;
  update();
}

void ProfileView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Dark));
  if (sheet_) PaintProfileSheet(painter, QRectF(rect()).adjusted(4, 4, -4, -4), *sheet_);
}

frmResOutProfile::frmResOutProfile(QWidget* parent)
    : ResultFrame(QStringLiteral("杭体断面力分布"), kSection, parent) {
  setObjectName("frmResOutProfile");
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  lblPile = new QLabel(QStringLiteral("杭No.(&N)"), this);
  lblPile->setObjectName("lblPile");
  cboPile = new QComboBox(this);
  cboPile->setObjectName("cboPile");
  lblPile->setBuddy(cboPile);
  picProfile = new ProfileView(this);
  picProfile->setObjectName("picProfile");
  cmdPrint = new QPushButton(QStringLiteral("印刷(&P)..."), this);
  cmdSave = new QPushButton(QStringLiteral("保存(&S)..."), this);
  cmdPrint->setObjectName("cmdPrint");
  cmdSave->setObjectName("cmdSave");
  for (QPushButton* b : {cmdPrint, cmdSave}) {
    b->setFixedWidth(cmdClose()->width());
    b->setAutoDefault(false);
  }
  connect(cboPile, &QComboBox::currentIndexChanged, this, [this](int index) { ShowPile(index + 1); });
  connect(cmdPrint, &QPushButton::clicked, this, &frmResOutProfile::Print);
  connect(cmdSave, &QPushButton::clicked, this, &frmResOutProfile::Save);
}

frmResOutProfile::PrinterChoice& frmResOutProfile::ChoosePrinter() {
  static PrinterChoice choice = [](QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
  };
  return choice;
}

void frmResOutProfile::SetSource(int piles, SheetSource source, int pile) {
  source_ = std::move(source);
  const QSignalBlocker quiet(cboPile);
  cboPile->clear();
  for (int i = 1; i <= piles; ++i) cboPile->addItem(QString::number(i));
  cboPile->setCurrentIndex(std::clamp(pile, 1, std::max(piles, 1)) - 1);
  ShowPile(cboPile->currentIndex() + 1);
}

void frmResOutProfile::ShowPile(int pile) {
  sheet_ = source_ && pile >= 1 ? source_(pile) : ProfileSheet{};
  picProfile->SetSheet(&sheet_);
  const bool drawn = !sheet_.profile.points.empty();
  cmdPrint->setEnabled(drawn);
  cmdSave->setEnabled(drawn);
}

void frmResOutProfile::Print() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(QPageLayout::Landscape);
  printer.setDocName(sheet_.title);
  if (!ChoosePrinter()(this, printer)) return;
  if (!PrintProfileSheet(printer, sheet_))
    Ui().ShowMessage(this, QStringLiteral("印刷できませんでした。"), windowTitle(), MsgIcon::Critical,
                     MsgButtons::Ok);
}

void frmResOutProfile::Save() {
  FileDialogOptions options;
  options.title = QStringLiteral("名前を付けて保存");
  options.fileName = QString("杭No%1_断面力分布.pdf").arg(sheet_.pile);
  options.filter = QStringLiteral("PDF(*.pdf);;SVG(*.svg);;PNG(*.png)");
  options.defaultSuffix = "pdf";
  const QString path = Ui().GetSaveFileName(this, options);
  if (path.isEmpty()) return;
  const QString problem = SaveProfileSheet(sheet_, path);
  if (!problem.isEmpty()) Ui().ShowMessage(this, problem, windowTitle(), MsgIcon::Critical, MsgButtons::Ok);
}

// The pile list takes the keys first: Up and Down go through the piles.
void frmResOutProfile::AfterLoadData() { cboPile->setFocus(Qt::OtherFocusReason); }

void frmResOutProfile::RestoreSize() {
  const int w = picProfile->sizeHint().width() + cmdClose()->width() + TwipsToPixels(this, 600, Qt::Horizontal);
  const int h = picProfile->sizeHint().height() + cboPile->sizeHint().height() + TwipsToPixels(this, 240, Qt::Vertical);
  resize(RememberedWindowSize(this, kSection, QSize(w, h)));
}

void frmResOutProfile::SaveGeometry() {
  ResultFrame::SaveGeometry();
  SaveWindowSize(this, kSection);
}

void frmResOutProfile::resizeEvent(QResizeEvent* event) {
  ResultFrame::resizeEvent(event);
  Arrange();
}

// The pile list on top, the sheet below it, the buttons in a column at the right.
void frmResOutProfile::Arrange() {
  const int gap = TwipsToPixels(this, 120, Qt::Horizontal), vgap = TwipsToPixels(this, 90, Qt::Vertical);
  const int buttonsLeft = width() - cmdClose()->width() - gap;
  const int rowHeight = cboPile->sizeHint().height();
  const int labelWidth = lblPile->sizeHint().width();
  lblPile->setGeometry(gap, vgap, labelWidth, rowHeight);
  cboPile->setGeometry(gap + labelWidth + gap / 2, vgap, cboPile->sizeHint().width() + 20, rowHeight);
  const int top = vgap * 2 + rowHeight;
  picProfile->setGeometry(gap, top, std::max(0, buttonsLeft - 2 * gap), std::max(0, height() - top - vgap));
  int y = top;
  for (QPushButton* b : {cmdPrint, cmdSave, cmdClose(), cmdHelp()}) {
    b->setGeometry(buttonsLeft, y, b->width(), b->sizeHint().height());
    y += b->sizeHint().height() + vgap;
  }
}

}  // namespace hasorin
