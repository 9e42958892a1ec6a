#include "inp_jyoken.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace hasorin {
namespace {

QButtonGroup* MakeOptions(QWidget* owner, QBoxLayout* layout, const char* name,
                          const QStringList& captions, QList<QWidget*>& tabOrder) {
  auto* group = new QButtonGroup(owner);
  group->setObjectName(name);
  for (int i = 0; i < captions.size(); ++i) {
    auto* button = new OptionButton(captions[i]);
    button->setObjectName(QString("%1%2").arg(name).arg(i));
    group->addButton(button, i);
    layout->addWidget(button);
    tabOrder.append(button);
  }
  layout->addStretch(1);
  return group;
}

void Select(QButtonGroup* group, const std::optional<int>& index) {
  if (index) {
    if (QAbstractButton* b = group->button(*index)) b->setChecked(true);
    return;
  }
  group->setExclusive(false);
  for (QAbstractButton* b : group->buttons()) b->setChecked(false);
  group->setExclusive(true);
}

std::optional<int> Selected(const QButtonGroup* group) {
  int id = group->checkedId();
  return id < 0 ? std::nullopt : std::optional<int>(id);
}

}  // namespace

frmInpJyoken::frmInpJyoken(QWidget* parent)
    : EditorFrame(QStringLiteral("計算条件の入力"), "InpJyoken", parent) {
  setObjectName("frmInpJyoken");
  QList<QWidget*> tabOrder;

  txtTitle = new TextField;
  txtTitle->setObjectName("txtTitle");
  txtTitle->setCaption(QStringLiteral("検討ｹｰｽ名称"));
  txtTitle->setMaxBytes(kTitleBytes);

  auto number = [](const char* name, const QString& caption, double lower, double upper,
                   const char* display, const char* edit) {
    auto* field = new NumberField;
    field->setObjectName(name);
    field->setCaption(caption);
    field->setRange(lower, upper);
    field->setPatterns(display, edit);
    return field;
  };
  numEp = number("numEp", QStringLiteral("杭体のヤング係数 Ｅ(N/mm2)"), 100000, 99999999,
                 "##,###,##0", "#######0");
  numKh = number("numKh", QStringLiteral("横方向地盤反力係数 Ｋh(kN/m3)"), 1, 99999999,
                 "##,###,##0", "#######0");
  numAlpha = number("numAlpha", QStringLiteral("許容応力度の割増係数"), 0, 2, "0.00", "0.00");

  // One caption width for the column, so that the values line up.
  int caption = 0;
  for (EntryField* f : std::initializer_list<EntryField*>{txtTitle, numEp, numKh, numAlpha})
    caption = std::max(caption, f->captionWidth());
  const int digit = fontMetrics().horizontalAdvance('0');
  for (EntryField* f : std::initializer_list<EntryField*>{txtTitle, numEp, numKh, numAlpha})
    f->setCaptionWidth(caption);
  txtTitle->setMinimumWidth(caption + digit * (kTitleBytes + 3));
  for (NumberField* f : {numEp, numKh, numAlpha}) f->setFixedWidth(caption + digit * 14);

  auto* column = new QVBoxLayout(Body());
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(txtTitle);
  column->addWidget(numEp, 0, Qt::AlignLeft);
  column->addWidget(numKh, 0, Qt::AlignLeft);
  tabOrder << txtTitle << numEp << numKh;

  auto* frameTop = new QGroupBox(QStringLiteral("杭頭条件"));
  auto* topRow = new QHBoxLayout(frameTop);
  optTop = MakeOptions(this, topRow, "optTop", {QStringLiteral("剛結"), QStringLiteral("ヒンジ")},
                       tabOrder);
  auto* frameBottom = new QGroupBox(QStringLiteral("杭先端条件"));
  auto* bottomRow = new QHBoxLayout(frameBottom);
  optBottom = MakeOptions(
      this, bottomRow, "optBottom",
      {QStringLiteral("固定"), QStringLiteral("ヒンジ"), QStringLiteral("自由")}, tabOrder);
  auto* frameKv = new QGroupBox(QStringLiteral("Ｋｖ値"));
  auto* kvColumn = new QVBoxLayout(frameKv);
  optKv = MakeOptions(this, kvColumn, "optKv",
                      {QStringLiteral("打ち込み鋼管杭として算定する(H8.道示)"),
                       QStringLiteral("直接入力した値を採用する")},
                      tabOrder);
  column->addWidget(frameTop);
  column->addWidget(frameBottom);
  column->addWidget(frameKv);
  column->addWidget(numAlpha, 0, Qt::AlignLeft);
  column->addStretch(1);
  tabOrder << numAlpha << cmdOk() << cmdCancel() << cmdHelp();
  for (int i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);

  layout()->setSizeConstraint(QLayout::SetFixedSize);
}

ConditionsFields frmInpJyoken::Fields() const {
  ConditionsFields f;
  f.title = txtTitle->text().toStdString();
  f.ep = numEp->value();
  f.kh = numKh->value();
  f.top = Selected(optTop);
  f.bottom = Selected(optBottom);
  f.kv = Selected(optKv);
  f.alpha = numAlpha->value();
  return f;
}

void frmInpJyoken::SetFields(const ConditionsFields& f) {
  txtTitle->setText(QString::fromStdString(f.title));
  txtTitle->setCursorPosition(0);
  numEp->setValue(f.ep);
  numKh->setValue(f.kh);
  Select(optTop, f.top);
  Select(optBottom, f.bottom);
  Select(optKv, f.kv);
  numAlpha->setValue(f.alpha);
}

}  // namespace hasorin
