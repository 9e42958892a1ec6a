#include "res_out_pxpypz.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>

#include "pile_grid.h"
#include "result_fill.h"
#include "result_grid.h"
#include "window_position.h"

namespace hasorin {

frmResOutPxPyPz::frmResOutPxPyPz(QWidget* parent)
    : ResultFrame(QStringLiteral("杭頭作用力の確認"), kSection, parent) {
  setObjectName("frmResOutPxPyPz");
  setWindowFlag(Qt::WindowMaximizeButtonHint);

  vaSpread1 = new ResultGrid(this);
  vaSpread1->setObjectName("vaSpread1");
  ResultTable empty;
  empty.columns = PileHeadColumns();
  vaSpread1->SetTable(empty);

  Frame1 = new QGroupBox(QStringLiteral("補足説明"), this);
  Frame1->setObjectName("Frame1");
  Label1 = new QLabel(QStringLiteral("Ｐｘ，Ｐｙ，Ｐｚ，；　杭頭での部材座標系における座標軸方向力"));
  Label2 = new QLabel(
      QStringLiteral("Ｍｘ，Ｍｙ，Ｍｚ，；　杭頭での部材座標系における座標軸回りのモーメント"));
  Label1->setObjectName("Label1");
  Label2->setObjectName("Label2");
  auto* notes = new QVBoxLayout(Frame1);
  notes->setSpacing(2);
  notes->addWidget(Label1);
  notes->addWidget(Label2);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName("StatusBar1");
  StatusPanel1 = new QLabel;
  StatusPanel1->setObjectName("StatusPanel1");
  StatusPanel1->setFont(GreekLetterFont(font()));  // δ and θ
  StatusBar1->addWidget(StatusPanel1, 1);
}

QSize frmResOutPxPyPz::DefaultSize() const {
  const int w = cmdClose()->width() + TwipsToPixels(this, 240, Qt::Horizontal) +
                TwipsToPixels(this, 360, Qt::Horizontal);
  const int content = std::max({vaSpread1->SizeFor(15).width(), Frame1->sizeHint().width(),
                                StatusPanel1->sizeHint().width() + 24 - w});
  const int height = vaSpread1->SizeFor(15).height() + Frame1->sizeHint().height() +
                     StatusBar1->sizeHint().height() + TwipsToPixels(this, 120, Qt::Vertical);
  return {content + w, height};
}

// The remembered size, when there is one, before the frame places the window.
void frmResOutPxPyPz::RestoreSize() { resize(RememberedWindowSize(this, kSection, DefaultSize())); }

void frmResOutPxPyPz::SaveGeometry() {
  ResultFrame::SaveGeometry();
  SaveWindowSize(this, kSection);
}

void frmResOutPxPyPz::resizeEvent(QResizeEvent* event) {
  ResultFrame::resizeEvent(event);
  Arrange();
}

// The grid takes the window less the button column, the notes and the
// status bar; the notes stay under the grid, the buttons at the right.
void frmResOutPxPyPz::Arrange() {
  auto tx = [this](int twips) { return TwipsToPixels(this, twips, Qt::Horizontal); };
  auto ty = [this](int twips) { return TwipsToPixels(this, twips, Qt::Vertical); };
  const int scaleWidth = width(), scaleHeight = height();
  const int statusHeight = StatusBar1->sizeHint().height();
  const int frameHeight = Frame1->sizeHint().height();
  const int w = cmdClose()->width() + tx(240);
  const int gridWidth = std::max(0, scaleWidth - (w + tx(360)));
  const int gridHeight = std::max(0, scaleHeight - (statusHeight + frameHeight + ty(120)));
  vaSpread1->setGeometry(0, 0, gridWidth, gridHeight);
  Frame1->setGeometry(0, gridHeight + ty(60), gridWidth, frameHeight);
  const int buttonHeight = cmdClose()->sizeHint().height();
  cmdClose()->setGeometry(scaleWidth - w, ty(60), cmdClose()->width(), buttonHeight);
  cmdHelp()->setGeometry(scaleWidth - w, ty(60) + buttonHeight + ty(90), cmdHelp()->width(),
                         buttonHeight);
  StatusBar1->setGeometry(0, scaleHeight - statusHeight, scaleWidth, statusHeight);
}

}  // namespace hasorin
