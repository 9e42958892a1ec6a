#include "inp_renban.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace hasorin {
namespace {

constexpr int kPreviewLines = 7;
constexpr int kMaxMargin = 10;

// The heading texts of each method, levels 1..4.
const char* const kHeadings[kNumberingMethods][kHeadingLevels] = {
    {"○○○", "○○○", "○○○", "○○○"},
    {"(章)○○○", "(節)○○○", "(項)○○○", "(No)○○○"},
    {"(章)○○○", "(章)-(節)○○○", "(章)-(節)-(項)○○○", "(No)○○○"},
    {"(章)○○○", "(章).(節)○○○", "(章).(節).(項)○○○", "(No)○○○"},
};

const char* const kTabKeys[3] = {"Tab1", "Tab2", "Tab3"};

QPlainTextEdit* MakePreview(const char* name) {
  auto* box = new QPlainTextEdit;
  box->setObjectName(name);
  // Rebuilt from the settings and never read back, so not for typing into.
  box->setReadOnly(true);
  box->setFocusPolicy(Qt::NoFocus);
  box->setLineWrapMode(QPlainTextEdit::NoWrap);
  box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // A fixed-pitch face, so that a blank is one half-width column as on paper.
  QFont font = box->font();
  font.setFamilies({"IPAGothic", "MS Gothic", QString::fromUtf8("ＭＳ ゴシック")});
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  box->setFont(font);
  const QFontMetrics fm(font);
  const int frame = 2 * box->frameWidth() + 2 * int(box->document()->documentMargin()) + 4;
  box->setFixedSize(fm.horizontalAdvance(QString(kMaxMargin + 22, QChar('0'))) + frame,
                    fm.lineSpacing() * kPreviewLines + frame);
  return box;
}

void SetPreview(QPlainTextEdit* box, QString text) {
  // The text widget would take CR and LF for two line ends.
  box->setPlainText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

NumberField* MakeNumber(const char* name, const QString& caption, double upper) {
  auto* field = new NumberField;
  field->setObjectName(name);
  field->setCaption(caption);
  field->setRange(0, upper);
  field->setPatterns("#0", "#0");
  return field;
}

}  // namespace

QString MarginPreviewText(int method, const std::array<int, kHeadingLevels>& margins) {
  if (method < 0 || method >= kNumberingMethods) method = 0;
  auto line = [&](int k) {
    const int blanks = std::clamp(margins[size_t(k)], 0, kMaxMargin);
    return QString(blanks, QChar(' ')) + QString::fromUtf8(kHeadings[method][k]) + "\r\n";
  };
  return line(0) + line(1) + line(2) + line(3) + "\r\n" + line(0) + line(1);
}

QString MethodPreviewText(int method) { return MarginPreviewText(method, {0, 2, 4, 8}); }

const QStringList& frmInpRenban::StyleEntries() {
  static const QStringList entries{
      "1,2,3,..99",         "(1),(2),(3) ...(99)",   "1),2),3),.(99)",
      "(a),(b),(c),...(z)", "a),b),c),...z)",        "(i),(ii),(iii),...(x)",
      "i),ii),iii),...x)",  QStringLiteral("①,②,③,...⑳"), QStringLiteral("・,・,・,...・"),
  };
  return entries;
}

frmInpRenban::frmInpRenban(QWidget* parent)
    : EditorFrame(QStringLiteral("連番条件設定"), "InpRenban", parent) {
  setObjectName("frmInpRenban");
  QList<QWidget*> tabOrder;

  TabStrip1 = new QTabWidget;
  TabStrip1->setObjectName("TabStrip1");
  TabStrip1->setDocumentMode(true);  // the frames lie on the strip without borders of their own
  const QString captions[3] = {QStringLiteral("表現方法"), QStringLiteral("連番種類"),
                               QStringLiteral("左余白")};
  for (int i = 0; i < 3; ++i) {
    Frame[size_t(i)] = new QWidget;
    Frame[size_t(i)]->setObjectName(QString("Frame%1").arg(i + 1));
    TabStrip1->addTab(Frame[size_t(i)], captions[i]);
    TabStrip1->tabBar()->setTabData(i, QString(kTabKeys[i]));
  }

  // Tab1: the first chapter number, the method and its preview.
  numInit = MakeNumber("numInit", QStringLiteral("（章）に対する初期値"), 99);
  const int digit = fontMetrics().horizontalAdvance('0');
  numInit->setFixedWidth(numInit->captionWidth() + digit * 6);
  auto* frameMethod = new QGroupBox(QStringLiteral("表現方法"));
  frameMethod->setObjectName("fraMethod");
  auto* buttons = new QVBoxLayout(frameMethod);
  optMethod = new QButtonGroup(this);
  optMethod->setObjectName("optMethod");
  const QString methods[kNumberingMethods] = {QStringLiteral("なし"), QStringLiteral("(章)／(節)…"),
                                              QStringLiteral("(章)－(節)…"),
                                              QStringLiteral("(章)．(節)…")};
  tabOrder << numInit;
  for (int i = 0; i < kNumberingMethods; ++i) {
    auto* button = new OptionButton(methods[i]);
    button->setObjectName(QString("optMethod%1").arg(i));
    optMethod->addButton(button, i);
    buttons->addWidget(button);
    tabOrder << button;
  }
  buttons->addStretch(1);
  txtMethod = MakePreview("txtMethod");
  auto* page1 = new QGridLayout(Frame[0]);
  page1->addWidget(numInit, 0, 0, 1, 2, Qt::AlignLeft);
  page1->addWidget(frameMethod, 1, 0);
  page1->addWidget(txtMethod, 1, 1, Qt::AlignTop);
  page1->setRowStretch(2, 1);
  page1->setColumnStretch(2, 1);

  // Tab2: the number style of each level.
  const QString levels[kHeadingLevels] = {QStringLiteral("（章）"), QStringLiteral("（節）"),
                                          QStringLiteral("（項）"), QStringLiteral("（№）")};
  auto* page2 = new QGridLayout(Frame[1]);
  for (int k = 0; k < kHeadingLevels; ++k) {
    auto* list = new QComboBox;
    list->setObjectName(QString("cboStyle%1").arg(k));
    list->addItems(StyleEntries());
    list->setCurrentIndex(-1);
    list->setMinimumContentsLength(int(StyleEntries()[5].size()) + 2);
    cboStyle[size_t(k)] = list;
    auto* label = new QLabel(levels[k] + QStringLiteral("に対して"));
    label->setObjectName(QString("lblStyle%1").arg(k));
    label->setBuddy(list);
    page2->addWidget(label, k, 0);
    page2->addWidget(list, k, 1);
    tabOrder << list;
  }
  page2->setRowStretch(kHeadingLevels, 1);
  page2->setColumnStretch(2, 1);

  // Tab3: the margin of each level and its preview. The last field has no caption.
  auto* fields = new QVBoxLayout;
  int caption = 0;
  for (int k = 0; k < kHeadingLevels; ++k) {
    const QString text = k < 3 ? levels[k] + QStringLiteral("レベルに対して") : QString();
    numMargin[size_t(k)] = MakeNumber(qPrintable(QString("numMargin%1").arg(k)), text, kMaxMargin);
    caption = std::max(caption, numMargin[size_t(k)]->captionWidth());
  }
  for (NumberField* f : numMargin) {
    if (!f->caption().isEmpty()) f->setCaptionWidth(caption);
    f->setFixedWidth(caption + digit * 6);
    fields->addWidget(f, 0, Qt::AlignLeft);
    tabOrder << f;
    connect(f, &NumberField::ValueChanged, this, &frmInpRenban::ShowMarginPreview);
  }
  auto* note = new QLabel(QStringLiteral("※ 半角１文字幅を１単位とします"));
  note->setObjectName("lblNote");
  fields->addWidget(note);
  fields->addStretch(1);
  txtMargin = MakePreview("txtMargin");
  auto* page3 = new QHBoxLayout(Frame[2]);
  page3->addLayout(fields);
  page3->addWidget(txtMargin, 0, Qt::AlignTop);
  page3->addStretch(1);

  auto* column = new QVBoxLayout(Body());
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(TabStrip1);

  tabOrder << cmdOk() << cmdCancel() << cmdHelp();
  setTabOrder(TabStrip1, tabOrder.front());
  for (int i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);

  connect(optMethod, &QButtonGroup::idClicked, this, &frmInpRenban::ShowMethodPreview);
  connect(TabStrip1, &QTabWidget::currentChanged, this, &frmInpRenban::SelectTab);
  TabStrip1->installEventFilter(this);
  TabStrip1->tabBar()->installEventFilter(this);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
}

int frmInpRenban::SelectedMethod() const { return std::max(optMethod->checkedId(), 0); }

NumberingFields frmInpRenban::Fields() const {
  NumberingFields f;
  if (optMethod->checkedId() >= 0) f.method = optMethod->checkedId();
  f.init = numInit->value();
  for (size_t k = 0; k < kHeadingLevels; ++k) {
    if (cboStyle[k]->currentIndex() >= 0) f.style[k] = cboStyle[k]->currentIndex();
    f.margin[k] = numMargin[k]->value();
  }
  return f;
}

void frmInpRenban::SetFields(const NumberingFields& f) {
  optMethod->setExclusive(false);
  for (QAbstractButton* b : optMethod->buttons()) b->setChecked(optMethod->id(b) == f.method);
  optMethod->setExclusive(true);
  numInit->setValue(f.init);
  for (size_t k = 0; k < kHeadingLevels; ++k) {
    cboStyle[k]->setCurrentIndex(f.style[k] ? *f.style[k] : -1);
    numMargin[k]->setValue(f.margin[k]);
  }
}

void frmInpRenban::AfterLoadData() {
  ShowMethodPreview();
  ShowMarginPreview();
  SelectTab(TabStrip1->currentIndex());
}

void frmInpRenban::ShowMethodPreview() { SetPreview(txtMethod, MethodPreviewText(SelectedMethod())); }

void frmInpRenban::ShowMarginPreview() {
  std::array<int, kHeadingLevels> margins{};
  for (size_t k = 0; k < kHeadingLevels; ++k) {
    const std::optional<double> v = numMargin[k]->value();
    // Clamped before rounding: a value far outside the limits is refused on leaving anyway.
    if (v) margins[k] = int(std::lround(std::clamp(*v, 0.0, double(kMaxMargin))));
  }
  SetPreview(txtMargin, MarginPreviewText(SelectedMethod(), margins));
}

void frmInpRenban::SelectTab(int index) {
  for (int i = 0; i < 3; ++i) Frame[size_t(i)]->setEnabled(i == index);
  if (index == 2) ShowMarginPreview();
}

bool frmInpRenban::ValidateFields() {
  if (!EditorFrame::ValidateFields()) return false;
  for (int i = 0; i < TabStrip1->count(); ++i) {
    if (i == TabStrip1->currentIndex()) continue;
    for (NumberField* field : Frame[size_t(i)]->findChildren<NumberField*>()) {
      if (field->InRange()) continue;
      TabStrip1->setCurrentIndex(i);
      field->setFocus(Qt::OtherFocusReason);
      field->selectAll();
      CheckRange(field);
      return false;
    }
  }
  return true;
}

bool frmInpRenban::eventFilter(QObject* watched, QEvent* event) {
  // Moving to another tab would hide the field being edited with its value
  // unchecked, so the field's check comes first and can keep the tab.
  bool switching = false;
  if (watched == TabStrip1->tabBar() && event->type() == QEvent::MouseButtonPress) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    const int tab = TabStrip1->tabBar()->tabAt(mouse->position().toPoint());
    switching = mouse->button() == Qt::LeftButton && tab >= 0 && tab != TabStrip1->currentIndex();
  } else if (watched == TabStrip1 && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    switching = (key->modifiers() & Qt::ControlModifier) &&
                (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab ||
                 key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown);
  }
  if (switching) {
    auto* field = qobject_cast<EntryField*>(QApplication::focusWidget());
    if (field && field->window() == this && !field->RequestLeave()) {
      field->setFocus(Qt::OtherFocusReason);  // back from the message box
      field->selectAll();
      return true;
    }
  }
  return EditorFrame::eventFilter(watched, event);
}

}  // namespace hasorin
