// The pile table editor as the main window opens it: loading and saving the
// project's pile table, the row-limit rules of Add and Insert, the sort on
// OK, a refused entry blocking OK, captions, the status-bar hint and the
// remembered size.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include "exchange.h"
#include "fake_ui.h"
#include "greek_text.h"
#include "inp_kui.h"
#include "settings.h"
#include "window_position.h"

using namespace hasorin;

namespace {

// A project of piles whose diameters are given; every other column holds the
// pile's position in the list, so moved rows can be told apart.
Project ProjectWithDiameters(std::initializer_list<double> diameters) {
  Project p;
  int i = 0;
  for (double d : diameters) {
    ++i;
    p.Piles(1, i) = ProjectValue::Real(d);
    for (int c = 2; c <= kPileColumns; ++c) p.Piles(c, i) = ProjectValue::Real(i * 10 + c);
  }
  p.PileCount = i;
  return p;
}

}  // namespace

class InpKuiTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  testing::FakeUi* ui_ = nullptr;
  Project project_;
  frmInpKui* editor_ = nullptr;

  // Opens the editor the way the main window does, wired to project_.
  void Open(int recMax = kMaxPiles) {
    editor_ = new frmInpKui;
    editor_->UsrRecMax = recMax;
    connect(editor_, &EditorFrame::LoadData, editor_,
            [this] { editor_->SetFields(LoadPileTableFields(project_)); });
    connect(editor_, &EditorFrame::SaveData, editor_, [this](bool& cancel) {
      cancel = false;
      SavePileTableFields(editor_->Fields(), project_);
    });
    editor_->show();
    editor_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(editor_));
  }
  bool Enabled(QAction* action, const char* key) const {
    const bool button = editor_->ToolbarButton(QString::fromLatin1(key))->isEnabled();
    if (button != action->isEnabled()) qWarning("menu and toolbar disagree for %s", key);
    return button && action->isEnabled();
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    QVERIFY(QDir(dir_.path()).mkpath("program"));
    InitProgramPaths(dir_.filePath("program").toStdString(), dir_.filePath("appdata").toStdString(),
                     "hasorin");
  }
  void init() {
    QFile::remove(QString::fromStdString(SettingsFilePath()));
    ui_ = new testing::FakeUi;
    project_ = Project();
  }
  void cleanup() {
    delete editor_;
    editor_ = nullptr;
    delete ui_;
  }

  void captionsMenuToolbarAndNotes() {
    Open();
    QCOMPARE(editor_->windowTitle(), QStringLiteral("杭体および杭配置の入力"));
    QMenu* edit = editor_->MenuBar->findChild<QMenu*>("mnuEdit");
    QVERIFY(edit);
    QCOMPARE(edit->title(), QStringLiteral("編集(&E)"));
    QStringList items;
    for (QAction* a : edit->actions()) items << (a->isSeparator() ? "-" : a->text());
    QCOMPARE(items, (QStringList{"切り取り(&T)", "ｺﾋﾟｰ(&C)", "貼り付け(&P)", "-", "ﾃﾞｰﾀ行追加(&A)",
                                 "ﾃﾞｰﾀ行挿入(&I)", "ﾃﾞｰﾀ行削除(&D) "}));
    QCOMPARE(editor_->mnuEditIns->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_Insert));
    QCOMPARE(editor_->mnuEditDel->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    QCOMPARE(editor_->mnuEditCopy->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));

    const std::pair<const char*, const char*> tips[] = {
        {"Cut", "切り取り(Ctrl+X)"}, {"Copy", "ｺﾋﾟｰ(Ctrl+C)"}, {"Paste", "貼り付け(Ctrl+V)"},
        {"Add", "ﾃﾞｰﾀ行追加"}, {"Insert", "ﾃﾞｰﾀ行挿入(Shift+Ins)"}, {"Delete", "ﾃﾞｰﾀ行削除(Shift+Del)"}};
    for (auto [key, tip] : tips) {
      QWidget* button = editor_->ToolbarButton(key);
      QVERIFY2(button, key);
      QCOMPARE(button->toolTip(), QString::fromUtf8(tip));
    }

    QCOMPARE(editor_->Frame1->title(), QStringLiteral("補足説明"));
    QStringList notes;
    for (QLabel* l : editor_->Frame1->findChildren<QLabel*>()) notes << l->text();
    QCOMPARE(notes.size(), 17);
    for (const char* text : {"(1) 座標系は右手系で重力方向をｙ軸とする。",
                             "(2) 平面角ψは原点から　ｘ軸正方向を０°とし、反時計回りを正とする。",
                             "(3) 記号の意味は次の通り。", "Δt(mm) ", "；外側腐食代", "Ｘ,Ｙ,Ｚ(m) ",
                             "Ｋv(kN/m)", "；杭の軸方向バネ定数"})
      QVERIFY2(notes.contains(QString::fromUtf8(text)), text);
    QVERIFY(editor_->Frame1->isVisible());
    // Only φ and ψ of the notes and the heading come from a font that tells
    // them apart; Ａ, Ｉ, Ｚ and the Japanese keep the window's font.
    if (QFontDatabase::families().contains(QStringLiteral("DejaVu Sans"))) {
      for (QLabel* l : editor_->Frame1->findChildren<QLabel*>()) {
        QVERIFY(qobject_cast<GreekAwareLabel*>(l));
        QVERIFY(l->font().families().value(0) != QStringLiteral("DejaVu Sans"));
      }
      QVERIFY(qobject_cast<GreekAwareHeader*>(editor_->vaSpread1->horizontalHeader()));
      QVERIFY(editor_->vaSpread1->horizontalHeader()->font().families().value(0) != QStringLiteral("DejaVu Sans"));
      // Even under the program's proportional window font, Ｉ stands as wide
      // as the full-width character it is.
      if (QFontDatabase::families().contains(QStringLiteral("IPAPGothic"))) {
        const QFont proportional(QStringLiteral("IPAPGothic"), 10);
        QCOMPARE(GreekAwareWidth(QStringLiteral("Ｉ"), proportional),
                 GreekAwareWidth(QStringLiteral("杭"), proportional));
      }
    }

    QCOMPARE(editor_->vaSpread1->model()->headerData(0, Qt::Horizontal).toString(),
             QStringLiteral("杭径Ｄ(m)"));
    QCOMPARE(editor_->vaSpread1->model()->headerData(13, Qt::Horizontal).toString(),
             QStringLiteral("Ｋv(kN/m)"));
    QVERIFY(!editor_->cmdHelp()->isEnabled());
  }

  void loadShowsThePileTableAndOkHandsItBackSorted() {
    project_ = ProjectWithDiameters({1.2, 0.8, 1.0});
    project_.Piles(3, 2) = ProjectValue::Text("12abc");  // as a hand-edited file may hold
    project_.Piles(7, 3) = ProjectValue();
    Open();
    PileGrid* grid = editor_->vaSpread1;
    QCOMPARE(grid->RowCount(), 3);
    QCOMPARE(grid->ActiveRow(), 0);
    QCOMPARE(grid->ActiveColumn(), 0);
    QVERIFY(grid->hasFocus());
    QCOMPARE(editor_->StatusPanel1->text(), QStringLiteral("入力範囲：0.1～3"));
    // Loaded A, I, Z are kept even though D, t, dt were written before them.
    QCOMPARE(grid->Model()->Cell(0, kColA).value_or(0), 14.0);
    QCOMPARE(grid->Model()->Cell(1, kColDt).value_or(0), 12.0);
    QVERIFY(!grid->Model()->Cell(2, 6));

    editor_->cmdOk()->click();
    QCOMPARE(editor_->UsrTag, QStringLiteral("OK"));
    QVERIFY(!editor_->isVisible());
    QCOMPARE(project_.PileCount, 3);
    QVERIFY(project_.ProjectModified);
    // 0.8, 1.0, 1.2 with every column moving with its diameter; the empty
    // cell is handed back as 0.
    const double diameters[] = {0.8, 1.0, 1.2};
    const int from[] = {2, 3, 1};
    for (int i = 1; i <= 3; ++i) {
      QCOMPARE(project_.Piles(1, i).real(), diameters[i - 1]);
      QVERIFY(project_.Piles(14, i).isReal());
      QCOMPARE(project_.Piles(14, i).real(), double(from[i - 1] * 10 + 14));
    }
    QCOMPARE(project_.Piles(3, 1).real(), 12.0);
    QCOMPARE(project_.Piles(7, 2).real(), 0.0);
  }

  void oddStoredValuesLoadAsTheirLeadingNumberOrEmpty() {
    Project p;
    p.PileCount = 1;
    p.Piles(1, 1) = ProjectValue::Text(" 0.8m");
    p.Piles(2, 1) = ProjectValue::Text("  ");
    p.Piles(3, 1) = ProjectValue::Boolean(true);
    p.Piles(4, 1) = ProjectValue::Integer(12);
    p.Piles(5, 1) = ProjectValue::Text("1e999");
    PileTableFields rows = LoadPileTableFields(p);
    QCOMPARE(rows.size(), size_t(1));
    QCOMPARE(rows[0][0].value_or(-1), 0.8);
    QVERIFY(!rows[0][1] && !rows[0][2] && !rows[0][4] && !rows[0][5]);
    QCOMPARE(rows[0][3].value_or(-1), 12.0);
    // A count the table cannot hold never reads past it.
    p.PileCount = 5000;
    QCOMPARE(LoadPileTableFields(p).size(), size_t(kMaxPiles));
    p.PileCount = -3;
    QVERIFY(LoadPileTableFields(p).empty());
    SavePileTableFields(PileTableFields(1200), p);
    QCOMPARE(p.PileCount, kMaxPiles);
  }

  void okWithNoRowsAndShortenedTables() {
    project_ = ProjectWithDiameters({0.5, 0.6, 0.7});
    Open();
    for (int k = 0; k < 3; ++k) QTest::keyClick(editor_->vaSpread1, Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(editor_->vaSpread1->RowCount(), 0);
    editor_->mnuEditDel->trigger();  // nothing left: nothing happens
    editor_->cmdOk()->click();
    QCOMPARE(project_.PileCount, 0);
    QVERIFY(project_.ProjectModified);
    // Rows above the count keep their stale values, as the file writer expects.
    QCOMPARE(project_.Piles(1, 3).real(), 0.7);
  }

  void addAndInsertFollowTheRowLimit() {
    Project full;
    full.PileCount = 998;
    for (int i = 1; i <= 998; ++i) full.Piles(1, i) = ProjectValue::Real(1.0);
    project_ = full;
    Open(999);
    QVERIFY(Enabled(editor_->mnuEditAdd, "Add"));
    editor_->mnuEditAdd->trigger();
    QCOMPARE(editor_->vaSpread1->RowCount(), 999);
    QVERIFY(!Enabled(editor_->mnuEditAdd, "Add"));
    QVERIFY(!editor_->mnuEditIns->isEnabled());
    QVERIFY(!editor_->ToolbarButton("Insert")->isEnabled());
    // The grid's own Shift+Ins is refused at the limit too.
    QTest::keyClick(editor_->vaSpread1, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(editor_->vaSpread1->RowCount(), 999);
    editor_->mnuEditDel->trigger();
    QCOMPARE(editor_->vaSpread1->RowCount(), 998);
    QVERIFY(Enabled(editor_->mnuEditAdd, "Add"));
    QVERIFY(Enabled(editor_->mnuEditIns, "Insert"));
    delete editor_;
    editor_ = nullptr;

    // Opened at the limit: both stay enabled and do nothing.
    project_.PileCount = 999;
    Open(999);
    QVERIFY(Enabled(editor_->mnuEditAdd, "Add"));
    editor_->mnuEditAdd->trigger();
    editor_->mnuEditIns->trigger();
    QCOMPARE(editor_->vaSpread1->RowCount(), 999);
  }

  void aRefusedEntryKeepsTheEditorOpenOnOk() {
    project_ = ProjectWithDiameters({1.0});
    project_.Piles(3, 1) = ProjectValue::Real(0);  // dt, so that a new D gives a real pipe
    Open();
    QTest::keyClicks(editor_->vaSpread1, "7");
    QVERIFY(editor_->vaSpread1->IsEditing());
    editor_->cmdOk()->click();
    QCOMPARE(ui_->messages.size(), size_t(1));
    QCOMPARE(ui_->messages[0].text, QStringLiteral("入力範囲：0.1～3"));
    QVERIFY(editor_->isVisible());
    QVERIFY(!project_.ProjectModified);
    QCOMPARE(editor_->UsrTag, QString());

    // Corrected, OK takes the value.
    QLineEdit* cell = editor_->vaSpread1->Editor();
    cell->selectAll();
    QTest::keyClicks(cell, "0.7");
    editor_->cmdOk()->click();
    QVERIFY(!editor_->isVisible());
    QCOMPARE(project_.Piles(1, 1).real(), 0.7);
  }

  // Section values computed from D, t and dt that leave their column's limits
  // are marked, told in the status bar, shown whole, and refused by OK.
  void computedSectionsOutOfRangeAreMarkedAndRefused_data() {
    QTest::addColumn<QStringList>("typed");  // D, t, dt of row 1
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("D 2.5 m solid: I above")
        << QStringList{"2.5", "0", "0"} << int(kColI)
        << "1行 Ｉ(cm4) の値 191,747,599 は上限 99999999 を超えています"
        << "1行 Ｉ(cm4)：「191,747,599」 入力範囲：1～99999999";
    QTest::newRow("t 200 mm on D 0.1 m: A negative")
        << QStringList{"0.1", "200", "0"} << int(kColA)
        << "1行 Ａ(cm2) の値 -628.32 は下限 0.01 を下回っています"
        << "1行 Ａ(cm2)：「-628.32」 入力範囲：0.01～99999.99";
  }
  void computedSectionsOutOfRangeAreMarkedAndRefused() {
    QFETCH(QStringList, typed);
    QFETCH(int, column);
    QFETCH(QString, status);
    QFETCH(QString, message);
    project_ = ProjectWithDiameters({1.0, 1.0});
    Open();
    PileGrid* grid = editor_->vaSpread1;
    for (int k = 0; k < typed.size(); ++k) {
      for (QChar c : typed[k]) QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
      // Enter after the last value moves down: the status still names row 1.
      QTest::keyClick(QApplication::focusWidget(), k + 1 < typed.size() ? Qt::Key_Tab : Qt::Key_Return);
    }
    QCOMPARE(grid->ActiveRow(), 1);
    QCOMPARE(editor_->StatusPanel1->text(), status);
    const QModelIndex cell = grid->model()->index(0, column);
    QCOMPARE(grid->model()->data(cell, Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
    const QString shown = grid->model()->data(cell, Qt::DisplayRole).toString();
    QVERIFY2(grid->fontMetrics().horizontalAdvance(shown) + 8 <= grid->columnWidth(column),
             qPrintable(shown));

    QTest::mouseClick(editor_->cmdOk(), Qt::LeftButton);
    QCOMPARE(ui_->messages.size(), size_t(1));
    QCOMPARE(ui_->messages[0].text, message);
    QCOMPARE(ui_->beeps, 1);
    QVERIFY(editor_->isVisible());
    QVERIFY(!project_.ProjectModified);
    QCOMPARE(grid->ActiveColumn(), column);
    QCOMPARE(grid->ActiveRow(), 0);

    // A pipe that fits is taken.
    grid->SetActiveCell(0, kColD);
    for (QChar c : QString("1")) QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    for (QChar c : QString("12")) QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::mouseClick(editor_->cmdOk(), Qt::LeftButton);
    QVERIFY(!editor_->isVisible());
    QCOMPARE(project_.Piles(kColI + 1, 1).real(), 454544.0);
  }

  void cancelLeavesTheProjectAlone() {
    project_ = ProjectWithDiameters({1.0, 2.0});
    const Project before = project_;
    Open();
    editor_->mnuEditDel->trigger();
    editor_->cmdCancel()->click();
    QCOMPARE(editor_->UsrTag, QStringLiteral("ｷｬﾝｾﾙ"));
    QVERIFY(project_ == before);
  }

  void hintLeavesWithTheFocus() {
    project_ = ProjectWithDiameters({1.0});
    Open();
    QCOMPARE(editor_->StatusPanel1->text(), QStringLiteral("入力範囲：0.1～3"));
    QTest::keyClick(editor_->vaSpread1, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(editor_->StatusPanel1->text(), QStringLiteral("入力範囲：0～99999999"));
    editor_->cmdOk()->setFocus();
    QCOMPARE(editor_->StatusPanel1->text(), QString());
  }

  void escapeStaysInTheGridAndCtrlTabLeavesIt() {
    project_ = ProjectWithDiameters({1.0});
    Open();
    QTest::keyClicks(editor_->vaSpread1, "0.5");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!editor_->vaSpread1->IsEditing());
    QCOMPARE(editor_->vaSpread1->Model()->Cell(0, 0).value_or(0), 1.0);
    QTest::keyClick(editor_->vaSpread1, Qt::Key_Escape);
    QVERIFY(editor_->isVisible());
    QCOMPARE(editor_->UsrTag, QString());
    QTest::keyClick(editor_->vaSpread1, Qt::Key_Tab, Qt::ControlModifier);
    QVERIFY(!editor_->vaSpread1->hasFocus());
    QCOMPARE(editor_->StatusPanel1->text(), QString());
  }

  void sizeIsRememberedInTwips() {
    Open();
    editor_->resize(700, 450);
    editor_->cmdCancel()->click();
    CPrivateProfile profile;
    const long width = profile.GetValueLong(SettingsFilePath(), "InpKui", "Width");
    const long height = profile.GetValueLong(SettingsFilePath(), "InpKui", "Height");
    QCOMPARE(width, PixelsToTwips(editor_, 700, Qt::Horizontal));
    QCOMPARE(height, PixelsToTwips(editor_, 450, Qt::Vertical));
    delete editor_;
    editor_ = nullptr;

    Open();
    QCOMPARE(editor_->size(), QSize(700, 450));
    // The grid takes the room, the buttons keep to the right edge.
    auto rightGap = [this] {
      QPushButton* ok = editor_->cmdOk();
      return editor_->width() - ok->mapTo(editor_, QPoint(ok->width(), 0)).x();
    };
    const int gap = rightGap();
    const int gridWidth = editor_->vaSpread1->width();
    editor_->resize(900, 600);
    QCOMPARE(rightGap(), gap);
    QCOMPARE(editor_->vaSpread1->width(), gridWidth + 200);
    QVERIFY(editor_->Frame1->geometry().top() > editor_->vaSpread1->geometry().bottom());
  }
};

QTEST_MAIN(InpKuiTest)
#include "inp_kui_test.moc"
