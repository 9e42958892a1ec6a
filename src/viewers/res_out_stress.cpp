#include "res_out_stress.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "entry_fields.h"
#include "pile_grid.h"
#include "result_fill.h"
#include "result_grid.h"

namespace hasorin {

frmResOutStress::frmResOutStress(QWidget* parent)
    : ResultFrame(QStringLiteral("杭体応力度の確認"), kSection, parent) {
  setObjectName("frmResOutStress");
  const QFont greek = GreekLetterFont(font());  // σ and κ

  cboZai = new QComboBox;
  cboZai->setObjectName("cboZai");
  cboZai->addItems({QStringLiteral("SKK400"), QStringLiteral("SKK490")});

  fields_ = new QStackedWidget;
  grids_ = new QStackedWidget;
  ResultTable empty;
  empty.columns = StressColumns();
  for (int g = 0; g < 2; ++g) {
    auto* field = new NumberField;
    field->setObjectName(QStringLiteral("numSba%1").arg(g));
    field->setFont(greek);
    field->setCaption(QStringLiteral("σba(N/mm2)"));
    field->setPatterns("###0.0", "###0.0");
    field->setReadOnly(true);
    field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    numSba[size_t(g)] = field;
    fields_->addWidget(field);

    auto* grid = new ResultGrid;
    grid->setObjectName(QStringLiteral("vaSpread1_%1").arg(g));
    grid->SetTable(empty);
    vaSpread1[size_t(g)] = grid;
    grids_->addWidget(grid);
  }
  const int fieldWidth = numSba[0]->fontMetrics().horizontalAdvance(QStringLiteral("σba(N/mm2) 99999.9")) + 24;
  for (NumberField* f : numSba) f->setFixedWidth(fieldWidth);
  fields_->setFixedWidth(fieldWidth);
  connect(cboZai, &QComboBox::currentIndexChanged, this, &frmResOutStress::SelectGrade);

  Frame1 = new QGroupBox(QStringLiteral("補足説明"));
  Frame1->setObjectName("Frame1");
  Frame1->setFont(greek);
  auto* notes = new QGridLayout(Frame1);
  notes->setHorizontalSpacing(0);
  notes->setVerticalSpacing(2);
  const QString memo[][2] = {
      {QStringLiteral("σbc(N/mm2)"), QStringLiteral("；＝Ｍe／Ｚ")},
      {QStringLiteral("σc(N/mm2)"), QStringLiteral("；＝Ｐy／Ａ")},
      {QStringLiteral("σca(N/mm2)"), QStringLiteral("；許容軸方向圧縮応力度")},
      {QStringLiteral("κ"), QStringLiteral("；＝σc／σca＋σbc／σba")},
  };
  for (int k = 0; k < 4; ++k) {
    for (int side = 0; side < 2; ++side) {
      auto* label = new QLabel(memo[k][side]);
      label->setObjectName(QStringLiteral("lblMemo%1").arg(2 * k + side));
      notes->addWidget(label, k, side);
    }
  }
  notes->setColumnStretch(1, 1);

  auto* top = new QHBoxLayout;
  top->addWidget(cboZai);
  top->addSpacing(12);
  top->addWidget(fields_);
  top->addStretch(1);
  auto* left = new QVBoxLayout;
  left->addLayout(top);
  left->addWidget(grids_, 1);
  left->addWidget(Frame1);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(cmdClose());
  buttons->addWidget(cmdHelp());
  buttons->addStretch(1);
  auto* root = new QHBoxLayout(this);
  root->addLayout(left, 1);
  root->addSpacing(16);
  root->addLayout(buttons);
}

int frmResOutStress::FrontGrade() const { return grids_->currentIndex(); }

void frmResOutStress::SelectGrade(int index) {
  if (index != 0 && index != 1) return;
  fields_->setCurrentIndex(index);
  grids_->setCurrentIndex(index);
}

void frmResOutStress::AfterLoadData() {
  cboZai->setCurrentIndex(0);
  SelectGrade(0);
}

// The window keeps the size its contents need, with room for fifteen rows.
void frmResOutStress::RestoreSize() {
  grids_->setMinimumSize(std::max(vaSpread1[0]->SizeFor(15).width(), vaSpread1[1]->SizeFor(15).width()),
                         vaSpread1[0]->SizeFor(15).height());
  setFixedSize(sizeHint());
}

}  // namespace hasorin
