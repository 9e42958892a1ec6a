#include "inp_gairyoku.h"

#include <QFrame>
#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace hasorin {

frmInpGairyoku::frmInpGairyoku(QWidget* parent)
    : EditorFrame(QStringLiteral("座標原点に作用する外力の入力"), "InpGairyoku", parent) {
  setObjectName("frmInpGairyoku");

  auto number = [](const char* name, const QString& caption) {
    auto* field = new NumberField;
    field->setObjectName(name);
    field->setCaption(caption);
    field->setRange(-99999999.99, 99999999.99);
    field->setPatterns("##,###,##0.00", "#######0.00");
    return field;
  };
  numXo = number("numXo", QStringLiteral("Ｘo"));
  numYo = number("numYo", QStringLiteral("Ｙo"));
  numZo = number("numZo", QStringLiteral("Ｚo"));
  numMxo = number("numMxo", QStringLiteral("Ｍｘ"));
  numMyo = number("numMyo", QStringLiteral("Ｍｙ"));
  numMzo = number("numMzo", QStringLiteral("Ｍｚ"));

  int caption = 0;
  for (NumberField* f : LoadFieldsInOrder()) caption = std::max(caption, f->captionWidth());
  const int width = caption + fontMetrics().horizontalAdvance(QStringLiteral("-99,999,999.99")) +
                    fontMetrics().horizontalAdvance('0') * 3;
  for (NumberField* f : LoadFieldsInOrder()) {
    f->setCaptionWidth(caption);
    f->setFixedWidth(width);
  }

  auto* figure = new LoadsFigure;
  figure->setObjectName("picFigure");

  // No unit text beside the fields: the figure names every load.
  auto* fields = new QVBoxLayout;
  for (NumberField* f : {numXo, numYo, numZo}) fields->addWidget(f);
  fields->addSpacing(fontMetrics().height());
  for (NumberField* f : {numMxo, numMyo, numMzo}) fields->addWidget(f);
  fields->addStretch(1);

  auto* row = new QHBoxLayout(Body());
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(figure, 0, Qt::AlignTop);
  row->addSpacing(fontMetrics().horizontalAdvance('0'));
  row->addLayout(fields);

  QList<QWidget*> tabOrder{numXo, numYo, numZo, numMxo, numMyo, numMzo,
                           cmdOk(), cmdCancel(), cmdHelp()};
  for (int i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
}

std::array<NumberField*, kLoadFields> frmInpGairyoku::LoadFieldsInOrder() const {
  return {numXo, numYo, numZo, numMxo, numMyo, numMzo};
}

LoadsFields frmInpGairyoku::Fields() const {
  LoadsFields f;
  auto fields = LoadFieldsInOrder();
  for (size_t k = 0; k < fields.size(); ++k) f[k] = fields[k]->value();
  return f;
}

void frmInpGairyoku::SetFields(const LoadsFields& f) {
  auto fields = LoadFieldsInOrder();
  for (size_t k = 0; k < fields.size(); ++k) fields[k]->setValue(f[k]);
}

}  // namespace hasorin
