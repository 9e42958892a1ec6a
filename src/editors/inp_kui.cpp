#include "inp_kui.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <string>

#include "greek_text.h"
#include "pile_icons.h"
#include "settings.h"
#include "window_position.h"

namespace hasorin {
namespace {

constexpr const char* kSection = "InpKui";
constexpr const char* kToolKey = "toolKey";

}  // namespace

frmInpKui::frmInpKui(QWidget* parent)
    : EditorFrame(QStringLiteral("杭体および杭配置の入力"), kSection, parent) {
  setObjectName("frmInpKui");
  setWindowFlag(Qt::WindowMaximizeButtonHint);

  vaSpread1 = new PileGrid;
  vaSpread1->setObjectName("vaSpread1");

  // One action per command: the menu item and the toolbar button of the same
  // name are the same action, so they are enabled and run together.
  auto command = [this](const char* name, const QString& text, const char* key, const QString& tip,
                        const QKeySequence& shortcut, auto run) {
    auto* action = new QAction(PileToolIcon(QString::fromLatin1(key)), text, this);
    action->setObjectName(name);
    action->setToolTip(tip);
    action->setShortcut(shortcut);
    action->setProperty(kToolKey, QString::fromLatin1(key));
    connect(action, &QAction::triggered, this, [this, run] {
      vaSpread1->SetMaxRows(UsrRecMax);
      run(vaSpread1);
    });
    return action;
  };
  mnuEditCut = command("mnuEditCut", QStringLiteral("切り取り(&T)"), "Cut",
                       QStringLiteral("切り取り(Ctrl+X)"), QKeySequence(Qt::CTRL | Qt::Key_X),
                       [](PileGrid* g) { g->Cut(); });
  mnuEditCopy = command("mnuEditCopy", QStringLiteral("ｺﾋﾟｰ(&C)"), "Copy",
                        QStringLiteral("ｺﾋﾟｰ(Ctrl+C)"), QKeySequence(Qt::CTRL | Qt::Key_C),
                        [](PileGrid* g) { g->Copy(); });
  mnuEditPaste = command("mnuEditPaste", QStringLiteral("貼り付け(&P)"), "Paste",
                         QStringLiteral("貼り付け(Ctrl+V)"), QKeySequence(Qt::CTRL | Qt::Key_V),
                         [](PileGrid* g) { g->Paste(); });
  mnuEditAdd = command("mnuEditAdd", QStringLiteral("ﾃﾞｰﾀ行追加(&A)"), "Add",
                       QStringLiteral("ﾃﾞｰﾀ行追加"), QKeySequence(),
                       [](PileGrid* g) { g->AddRow(); });
  mnuEditIns = command("mnuEditIns", QStringLiteral("ﾃﾞｰﾀ行挿入(&I)"), "Insert",
                       QStringLiteral("ﾃﾞｰﾀ行挿入(Shift+Ins)"),
                       QKeySequence(Qt::SHIFT | Qt::Key_Insert), [](PileGrid* g) { g->InsertRow(); });
  mnuEditDel = command("mnuEditDel", QStringLiteral("ﾃﾞｰﾀ行削除(&D) "), "Delete",
                       QStringLiteral("ﾃﾞｰﾀ行削除(Shift+Del)"),
                       QKeySequence(Qt::SHIFT | Qt::Key_Delete), [](PileGrid* g) { g->DeleteRow(); });

  MenuBar = new QMenuBar(this);
  QMenu* edit = MenuBar->addMenu(QStringLiteral("編集(&E)"));
  edit->setObjectName("mnuEdit");
  edit->addActions({mnuEditCut, mnuEditCopy, mnuEditPaste});
  edit->addSeparator();
  edit->addActions({mnuEditAdd, mnuEditIns, mnuEditDel});

  Toolbar1 = new QToolBar;
  Toolbar1->setObjectName("Toolbar1");
  Toolbar1->setMovable(false);
  Toolbar1->setFloatable(false);
  Toolbar1->addActions({mnuEditCut, mnuEditCopy, mnuEditPaste});
  Toolbar1->addSeparator();
  Toolbar1->addActions({mnuEditAdd, mnuEditIns, mnuEditDel});
  for (QAction* a : Toolbar1->actions())
    if (QWidget* button = Toolbar1->widgetForAction(a)) button->setObjectName(a->property(kToolKey).toString());

  // The same commands on the grid's context menu.
  auto* separator = new QAction(this);
  separator->setSeparator(true);
  vaSpread1->setContextMenuPolicy(Qt::ActionsContextMenu);
  vaSpread1->addActions({mnuEditCut, mnuEditCopy, mnuEditPaste, separator, mnuEditAdd, mnuEditIns,
                         mnuEditDel});

  Frame1 = new QGroupBox(QStringLiteral("補足説明"));
  Frame1->setObjectName("Frame1");
  auto* notes = new QGridLayout(Frame1);
  notes->setHorizontalSpacing(0);
  notes->setVerticalSpacing(2);
  int memo = 0;
  auto label = [&memo](const QString& text) {
    QLabel* l = new GreekAwareLabel(text);  // φ and ψ told apart
    l->setObjectName(QStringLiteral("lblMemo%1").arg(memo++));
    return l;
  };
  notes->addWidget(label(QStringLiteral("(1) 座標系は右手系で重力方向をｙ軸とする。")), 0, 0, 1, 6);
  notes->addWidget(
      label(QStringLiteral("(2) 平面角ψは原点から　ｘ軸正方向を０°とし、反時計回りを正とする。")), 1, 0,
      1, 6);
  notes->addWidget(label(QStringLiteral("(3) 記号の意味は次の通り。")), 2, 0, 1, 6);
  const QString symbols[][2] = {
      {QStringLiteral("Δt(mm) "), QStringLiteral("；外側腐食代")},
      {QStringLiteral("ｈ(m)"), QStringLiteral("；突出長")},
      {QStringLiteral("Ｌ(m)"), QStringLiteral("；杭全長")},
      {QStringLiteral("Ｘ,Ｙ,Ｚ(m) "), QStringLiteral("；杭位置")},
      {QStringLiteral("φ(ﾟ)"), QStringLiteral("；鉛直角")},
      {QStringLiteral("ψ(ﾟ)"), QStringLiteral("；平面角")},
      {QStringLiteral("Ｋv(kN/m)"), QStringLiteral("；杭の軸方向バネ定数")},
  };
  // Symbol and meaning pairs, four to a line, indented under (3).
  const int indent = Frame1->fontMetrics().horizontalAdvance(QStringLiteral("(3) "));
  notes->setColumnMinimumWidth(0, indent);
  for (int k = 0; k < 7; ++k) {
    auto* pair = new QHBoxLayout;
    pair->setSpacing(0);
    pair->setContentsMargins(0, 0, Frame1->fontMetrics().horizontalAdvance(QStringLiteral("　　")), 0);
    pair->addWidget(label(symbols[k][0]));
    pair->addWidget(label(symbols[k][1]));
    pair->addStretch(1);
    notes->addLayout(pair, 3 + k / 4, 1 + k % 4);
  }
  notes->setColumnStretch(5, 1);
  // A narrow window clips the notes rather than refusing to shrink.
  Frame1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);

  StatusBar1 = new QStatusBar;
  StatusBar1->setObjectName("StatusBar1");
  StatusPanel1 = new GreekAwareLabel;  // Ｉ(cm4) must not read as l(cm4) here either
  StatusPanel1->setObjectName("StatusPanel1");
  StatusBar1->addWidget(StatusPanel1, 1);
  connect(vaSpread1, &PileGrid::RangeHintChanged, StatusPanel1, &QLabel::setText);
  connect(vaSpread1, &PileGrid::RowCountChanged, this, &frmInpKui::RowCountChanged);

  // The grid takes every change of the window size; the notes stay below it,
  // the buttons at the right edge.
  delete layout();
  auto* body = new QVBoxLayout(Body());
  body->setContentsMargins(0, 0, 0, 0);
  body->setSpacing(4);
  body->addWidget(vaSpread1, 1);
  body->addWidget(Frame1);
  auto* middle = new QHBoxLayout;
  middle->setContentsMargins(4, 0, 16, 0);
  middle->setSpacing(8);
  middle->addWidget(Body(), 1);
  middle->addWidget(ButtonColumn(), 0);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);
  outer->setMenuBar(MenuBar);
  outer->addWidget(Toolbar1);
  outer->addLayout(middle, 1);
  outer->addSpacing(4);
  outer->addWidget(StatusBar1);

  RestoreSize();
}

QWidget* frmInpKui::ToolbarButton(const QString& key) const {
  return Toolbar1->findChild<QWidget*>(key);
}

void frmInpKui::SetFields(const PileTableFields& rows) { vaSpread1->SetRows(rows); }

PileTableFields frmInpKui::Fields() const { return vaSpread1->Model()->Rows(); }

void frmInpKui::RowCountChanged(int rows) {
  const bool room = rows < UsrRecMax;
  mnuEditAdd->setEnabled(room);
  mnuEditIns->setEnabled(room);
}

void frmInpKui::BeforeLoadData() { vaSpread1->SetMaxRows(UsrRecMax); }

void frmInpKui::AfterLoadData() {
  vaSpread1->SetActiveCell(0, 0);
  vaSpread1->setFocus(Qt::OtherFocusReason);
}

bool frmInpKui::ValidateFields() {
  // A value still being typed into the grid must be taken or refused first.
  // Then sections computed out of their limits, as a typed value would be.
  return vaSpread1->FinishEdit() && vaSpread1->CheckSections() && EditorFrame::ValidateFields();
}

void frmInpKui::BeforeSaveData() { vaSpread1->SortByDiameter(); }

// The window opens at its remembered size, before the frame centres it.
void frmInpKui::RestoreSize() {
  ensurePolished();  // column widths follow the final fonts
  resize(RememberedWindowSize(this, kSection, sizeHint()).expandedTo(minimumSizeHint()));
}

void frmInpKui::done(int result) {
  if (IsLoaded() && isVisible()) SaveWindowSize(this, kSection);
  EditorFrame::done(result);
}

}  // namespace hasorin
