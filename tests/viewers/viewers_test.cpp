// The pile-head and pile-stress windows shown as the main window shows them:
// what the grids hold and how it is marked, the grade switch, the keys, copy
// to the clipboard, the remembered geometry and the resize rule.
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "entry_fields.h"
#include "example_projects.h"
#include "fake_ui.h"
#include "numfmt.h"
#include "open_viewers.h"
#include "res_out_pxpypz.h"
#include "res_out_stress.h"
#include "result_grid.h"
#include "settings.h"
#include "window_position.h"

using namespace hasorin;

namespace {

// Results of a run of n piles, every table written, all values 0.
std::unique_ptr<engine::CalcResults> Results(int n) {
  auto r = std::make_unique<engine::CalcResults>();
  r->PileCount = n;
  r->solved = true;
  for (const engine::NamedTable& t : engine::kPileTables) ((*r).*t.table).computed = n;
  for (int g = 0; g < 2; ++g) r->SigmaCaAllow[g].computed = r->CheckRatio[g].computed = n;
  return r;
}

Project WithAlpha(double alpha) {
  Project p;
  p.Conditions(7) = ProjectValue::Real(alpha);
  return p;
}

QString Text(const ResultGrid* g, int row, int column) {
  return g->model()->index(row, column).data().toString();
}
bool Red(const ResultGrid* g, int row, int column) {
  return g->model()->index(row, column).data(Qt::ForegroundRole).value<QColor>() == QColor(255, 0, 0);
}
bool Marked(const ResultGrid* g, int row, int column) {
  return g->model()->index(row, column).data(Qt::BackgroundRole).isValid();
}

QPoint CellCentre(const ResultGrid* g, int row, int column) {
  return g->visualRect(g->model()->index(row, column)).center();
}

// Opens the grid's context menu at a cell with the mouse, as a right click
// does, and presses `key` in it.
void ContextMenuKey(ResultGrid* g, int row, int column, Qt::Key key) {
  const QPoint at = CellCentre(g, row, column);
  QTimer::singleShot(0, [key] {
    QWidget* popup = QApplication::activePopupWidget();
    if (!popup) return;
    QTest::keyClick(popup, key);
  });
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, g->viewport()->mapToGlobal(at));
  QApplication::sendEvent(g->viewport(), &event);
}

}  // namespace

class ViewersTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  testing::FakeUi* ui_ = nullptr;

  static long Setting(const char* section, const char* key) {
    return CPrivateProfile().GetValueLong(SettingsFilePath(), section, key);
  }
  static void SetSetting(const char* section, const char* key, long value) {
    CPrivateProfile().SetValueString(SettingsFilePath(), section, key, std::to_string(value));
  }
  template <class Window>
  static void ShowWindow(Window& w) {
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    InitProgramPaths(dir_.path().toStdString(), dir_.filePath("appdata").toStdString(), "hasorin");
  }
  void init() {
    QFile::remove(QString::fromStdString(SettingsFilePath()));
    ui_ = new testing::FakeUi;
  }
  void cleanup() {
    delete ui_;
    ui_ = nullptr;
  }

  void noPilesGiveEmptyGrids() {
    auto r = Results(0);
    const Project p = WithAlpha(1);
    frmResOutPxPyPz heads;
    ConnectViewer(heads, *r);
    ShowWindow(heads);
    QCOMPARE(heads.vaSpread1->RowCount(), 0);
    QCOMPARE(heads.vaSpread1->model()->headerData(5, Qt::Horizontal).toString(), QString("Ｍz(kN･m)"));
    QTest::keyClick(heads.vaSpread1, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(ui_->clipboard.isEmpty());
    QVERIFY(!heads.vaSpread1->CopyAllAction()->isEnabled());

    frmResOutStress stress;
    ConnectViewer(stress, p, *r);
    ShowWindow(stress);
    QCOMPARE(stress.vaSpread1[0]->RowCount() + stress.vaSpread1[1]->RowCount(), 0);
    QCOMPARE(stress.numSba[0]->text(), QString("140.0"));
  }

  void everyPileOfALargeRunIsShown() {
    const Project p = testing::ManyPiles(kMaxPiles);
    auto r = std::make_unique<engine::CalcResults>();
    QCOMPARE(engine::CalcPileGroup(p, *r), 0);
    QVERIFY(r->solved);
    frmResOutPxPyPz heads;
    ConnectViewer(heads, *r);
    ShowWindow(heads);
    ResultGrid* g = heads.vaSpread1;
    QCOMPARE(g->RowCount(), kMaxPiles);
    QCOMPARE(g->model()->headerData(998, Qt::Vertical).toInt(), 999);
    for (int pile : {1, 500, 999}) {
      QCOMPARE(Text(g, pile - 1, 1), QString::fromStdString(FormatNumber(r->Py[pile], "0.00")));
      QCOMPARE(Text(g, pile - 1, 5), QString::fromStdString(FormatNumber(r->Mz[pile], "0.00")));
    }
    QVERIFY(heads.StatusPanel1->text().contains(
        "δx=" + QString::fromStdString(FormatNumber(r->Footing[0] * 1000, "0.000"))));

    frmResOutStress stress;
    ConnectViewer(stress, p, *r);
    ShowWindow(stress);
    for (int g2 = 0; g2 < 2; ++g2) {
      QCOMPARE(stress.vaSpread1[g2]->RowCount(), kMaxPiles);
      QCOMPARE(Text(stress.vaSpread1[g2], 998, 2),
               QString::fromStdString(FormatNumber(r->SigmaCaAllow[g2][999], "###0.0")));
    }
    QCOMPARE(stress.numSba[1]->text(), QString("277.5"));  // α 1.5 × 185
  }

  void stressMarks_data() {
    QTest::addColumn<double>("sc");
    QTest::addColumn<double>("sb");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QString>("kappa");
    QTest::addColumn<bool>("kappaRed");
    QTest::addColumn<QString>("tension");
    QTest::addColumn<bool>("tensionRed400");
    // σba is 140 for SKK400 and 185 for SKK490 (α = 1).
    QTest::newRow("ratio exactly 1") << 100.0 << 50.0 << 1.0 << "1.000" << false << "……" << false;
    QTest::newRow("ratio 1.0001") << 100.0 << 50.0 << 1.0001 << "1.000" << true << "……" << false;
    QTest::newRow("σc 0 is compression") << 0.0 << 70.0 << 0.5 << "0.500" << false << "……" << false;
    QTest::newRow("σc -0 is compression") << -0.0 << 70.0 << 0.5 << "0.500" << false << "……" << false;
    QTest::newRow("tension at σba") << -40.0 << 100.0 << 9.0 << "……" << false << "140.0" << false;
    QTest::newRow("tension above σba") << -40.0 << 100.5 << 9.0 << "……" << false << "140.5" << true;
  }
  void stressMarks() {
    QFETCH(double, sc);
    QFETCH(double, sb);
    QFETCH(double, ratio);
    auto r = Results(1);
    r->SigmaC[1] = sc;
    r->SigmaB[1] = sb;
    r->SigmaCaAllow[0][1] = 123.45;
    r->SigmaCaAllow[1][1] = 150.0;
    r->CheckRatio[0][1] = r->CheckRatio[1][1] = ratio;
    const Project p = WithAlpha(1);
    frmResOutStress stress;
    ConnectViewer(stress, p, *r);
    ShowWindow(stress);
    for (int g = 0; g < 2; ++g) {
      const ResultGrid* grid = stress.vaSpread1[g];
      QCOMPARE(Text(grid, 0, 2), QString(g == 0 ? "123.5" : "150.0"));
      QTEST(Text(grid, 0, 3), "kappa");
      QTEST(Red(grid, 0, 3), "kappaRed");
      QTEST(Text(grid, 0, 4), "tension");
      QFETCH(bool, tensionRed400);
      QCOMPARE(Red(grid, 0, 4), g == 0 && tensionRed400);  // 140.5 is below 185
    }
  }

  void gradesSwitchWithoutReloading() {
    auto r = Results(2);
    for (int i : {1, 2}) {
      r->SigmaC[i] = 50;
      r->SigmaCaAllow[0][i] = 100 + i;
      r->SigmaCaAllow[1][i] = 200 + i;
    }
    const Project p = WithAlpha(1.4);
    frmResOutStress stress;
    int loads = 0;
    connect(&stress, &ResultFrame::LoadData, this, [&loads] { ++loads; });
    ConnectViewer(stress, p, *r);
    ShowWindow(stress);
    QCOMPARE(stress.cboZai->currentText(), QString("SKK400"));
    QCOMPARE(stress.FrontGrade(), 0);
    QVERIFY(stress.vaSpread1[0]->isVisible() && !stress.vaSpread1[1]->isVisible());
    QCOMPARE(stress.numSba[0]->text(), QString("196.0"));

    QTest::keyClick(stress.cboZai, Qt::Key_Down);
    QCOMPARE(stress.cboZai->currentText(), QString("SKK490"));
    QCOMPARE(stress.FrontGrade(), 1);
    QVERIFY(stress.vaSpread1[1]->isVisible() && !stress.vaSpread1[0]->isVisible());
    QVERIFY(stress.numSba[1]->isVisible() && !stress.numSba[0]->isVisible());
    QCOMPARE(stress.numSba[1]->text(), QString("259.0"));
    QCOMPARE(Text(stress.vaSpread1[1], 1, 2), QString("202.0"));
    QTest::keyClick(stress.cboZai, Qt::Key_Up);
    QCOMPARE(stress.FrontGrade(), 0);
    QCOMPARE(loads, 1);
  }

  void valuesBeyondTheCells_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("marked");
    QTest::newRow("at the limit") << 9999.99 << "9999.99" << false;
    QTest::newRow("rounds to the limit") << -9999.994 << "-9999.99" << false;
    QTest::newRow("rounds beyond") << 9999.995 << "10000.00" << true;
    QTest::newRow("beyond") << 12345.678 << "12345.68" << true;
    QTest::newRow("far beyond") << -1.5e7 << "-15000000.00" << true;
  }
  void valuesBeyondTheCells() {
    QFETCH(double, value);
    auto r = Results(2);
    r->Mx[2] = value;
    frmResOutPxPyPz heads;
    ConnectViewer(heads, *r);
    ShowWindow(heads);
    const ResultGrid* g = heads.vaSpread1;
    QTEST(Text(g, 1, 3), "text");
    QTEST(Marked(g, 1, 3), "marked");
    QVERIFY(!Marked(g, 0, 3));
    // Shown whole: the column is wide enough for the text.
    QVERIFY(g->columnWidth(3) >= g->fontMetrics().horizontalAdvance(Text(g, 1, 3)) + 4);
    QFETCH(bool, marked);
    if (marked)
      QVERIFY(g->model()->index(1, 3).data(Qt::ToolTipRole).toString().contains(FullPrecisionText(value)));
  }

  void copyGivesFullPrecisionWithHeadings() {
    auto r = Results(3);
    for (int i = 1; i <= 3; ++i) {
      r->Py[i] = 1000.0 / 3 * i;
      r->Pz[i] = -0.125 * i;
      r->Mx[i] = 12345.678;
    }
    frmResOutPxPyPz heads;
    ConnectViewer(heads, *r);
    ShowWindow(heads);
    ResultGrid* g = heads.vaSpread1;
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, CellCentre(g, 1, 1));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::ShiftModifier, CellCentre(g, 2, 3));
    QTest::keyClick(g, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(ui_->clipboard, QString("杭番号\tＰy(kN)\tＰz(kN)\tＭx(kN･m)\r\n"
                                     "2\t666.6666666666666\t-0.25\t12345.678\r\n"
                                     "3\t1000\t-0.375\t12345.678\r\n"));

    ContextMenuKey(g, 0, 0, Qt::Key_A);
    const QStringList lines = ui_->clipboard.split("\r\n");
    QCOMPARE(lines.size(), 5);  // headings, three piles, the empty text after the last CR LF
    QCOMPARE(lines[0], QString("杭番号\tＰx(kN)\tＰy(kN)\tＰz(kN)\tＭx(kN･m)\tＭy(kN･m)\tＭz(kN･m)"));
    QCOMPARE(lines[1], QString("1\t0\t333.3333333333333\t-0.125\t12345.678\t0\t0"));

    // "……" is no number: the stress grid leaves its cells empty.
    r->SigmaC[1] = -5;
    r->SigmaB[1] = 20.25;
    const Project p = WithAlpha(1);
    frmResOutStress stress;
    ConnectViewer(stress, p, *r);
    ShowWindow(stress);
    QTest::keyClick(stress.vaSpread1[0], Qt::Key_End, Qt::ShiftModifier);
    QTest::keyClick(stress.vaSpread1[0], Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(ui_->clipboard.section("\r\n", 1, 1), QString("1\t-5\t20.25\t0\t\t25.25"));
  }

  void keysMoveAndEscapeCloses() {
    auto r = Results(40);
    frmResOutPxPyPz heads;
    ConnectViewer(heads, *r);
    ShowWindow(heads);
    ResultGrid* g = heads.vaSpread1;
    QVERIFY(g->hasFocus());
    auto at = [g] { return std::pair{g->currentIndex().row(), g->currentIndex().column()}; };
    QCOMPARE(at(), std::pair(0, 0));
    QTest::keyClick(g, Qt::Key_Down);
    QTest::keyClick(g, Qt::Key_Right);
    QCOMPARE(at(), std::pair(1, 1));
    QTest::keyClick(g, Qt::Key_PageDown);
    QVERIFY(at().first > 5);
    QTest::keyClick(g, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(at(), std::pair(39, 5));
    QCOMPARE(g->CurrentPile(), 40);
    QTest::keyClick(g, Qt::Key_PageUp);
    QVERIFY(at().first < 39);
    QTest::keyClick(g, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(at(), std::pair(0, 0));
    QTest::keyClick(g, Qt::Key_Escape);
    QVERIFY(!heads.isVisible());
    QCOMPARE(heads.result(), int(QDialog::Rejected));
  }

  void captionAndHelp() {
    auto r = Results(1);
    frmResOutPxPyPz plain;
    ConnectViewer(plain, *r);
    ShowWindow(plain);
    QCOMPARE(plain.windowTitle(), QString("杭頭作用力の確認"));
    QVERIFY(!plain.cmdHelp()->isEnabled());
    QCOMPARE(plain.Frame1->title(), QString("補足説明"));
    QCOMPARE(plain.cmdClose()->text(), QString("閉じる(&C)"));

    frmResOutStress stress;
    stress.UsrCaption = "応力度 ｹｰｽ2";
    stress.UsrHelpFile = "/help/zrn.chm";
    stress.UsrHelpContextID = 52;
    ShowWindow(stress);
    QCOMPARE(stress.windowTitle(), QString("応力度 ｹｰｽ2"));
    QVERIFY(stress.cmdHelp()->isEnabled());
    QTest::keyClick(&stress, Qt::Key_F1);
    QCOMPARE(int(ui_->processes.size()), 1);
    QVERIFY(ui_->processes[0].arguments.contains("/help/zrn.chm"));
  }

  void rememberedGeometry() {
    auto r = Results(3);
    const Project p = WithAlpha(1);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    {  // no values: centred
      frmResOutPxPyPz heads;
      ConnectViewer(heads, *r);
      ShowWindow(heads);
      QVERIFY(std::abs(heads.frameGeometry().center().x() - screen.center().x()) <= 2);
      QVERIFY(std::abs(heads.frameGeometry().center().y() - screen.center().y()) <= 2);
      frmResOutStress stress;
      ShowWindow(stress);
      QVERIFY(std::abs(stress.frameGeometry().center().x() - screen.center().x()) <= 2);
    }
    SetSetting("ResOutPxPyPz", "Top", 1500);
    SetSetting("ResOutPxPyPz", "Left", 3000);
    SetSetting("ResOutPxPyPz", "Width", 9000);
    SetSetting("ResOutPxPyPz", "Height", 6000);
    frmResOutPxPyPz heads;
    ConnectViewer(heads, *r);
    ShowWindow(heads);
    // Top/Left are those of the client area, as the editors keep them.
    QCOMPARE(heads.geometry().topLeft(), QPoint(TwipsToPixels(&heads, 3000, Qt::Horizontal),
                                 TwipsToPixels(&heads, 1500, Qt::Vertical)));
    QCOMPARE(heads.size(), QSize(TwipsToPixels(&heads, 9000, Qt::Horizontal),
                                 TwipsToPixels(&heads, 6000, Qt::Vertical)));
    heads.move(heads.pos() + QPoint(30, 15));
    heads.resize(heads.size() + QSize(45, 60));
    heads.cmdClose()->click();
    QCOMPARE(Setting("ResOutPxPyPz", "Left"), PixelsToTwips(&heads, heads.geometry().x(), Qt::Horizontal));
    QCOMPARE(Setting("ResOutPxPyPz", "Top"), PixelsToTwips(&heads, heads.geometry().y(), Qt::Vertical));
    QCOMPARE(Setting("ResOutPxPyPz", "Width"), PixelsToTwips(&heads, heads.width(), Qt::Horizontal));
    QCOMPARE(Setting("ResOutPxPyPz", "Height"), PixelsToTwips(&heads, heads.height(), Qt::Vertical));

    SetSetting("ResOutStress", "Top", 900);
    SetSetting("ResOutStress", "Left", 600);
    frmResOutStress stress;
    ConnectViewer(stress, p, *r);
    ShowWindow(stress);
    QCOMPARE(stress.geometry().topLeft(), QPoint(TwipsToPixels(&stress, 600, Qt::Horizontal),
                                  TwipsToPixels(&stress, 900, Qt::Vertical)));
    const QSize fixed = stress.size();
    QCOMPARE(stress.minimumSize(), fixed);
    QCOMPARE(stress.maximumSize(), fixed);
    QTest::keyClick(stress.vaSpread1[0], Qt::Key_Escape);
    QCOMPARE(Setting("ResOutStress", "Top"), PixelsToTwips(&stress, stress.geometry().y(), Qt::Vertical));
    QCOMPARE(CPrivateProfile().GetValueString(SettingsFilePath(), "ResOutStress", "Width"), "");
  }

  void gridFollowsTheWindowSize() {
    auto r = Results(30);
    frmResOutPxPyPz heads;
    ConnectViewer(heads, *r);
    ShowWindow(heads);
    const int w = heads.cmdClose()->width() + TwipsToPixels(&heads, 240, Qt::Horizontal);
    for (QSize size : {QSize(720, 520), QSize(560, 380), QSize(60, 40)}) {
      heads.resize(size);
      QApplication::processEvents();
      const QRect grid = heads.vaSpread1->geometry();
      QCOMPARE(grid.topLeft(), QPoint(0, 0));
      QCOMPARE(grid.width(), std::max(0, heads.width() - (w + TwipsToPixels(&heads, 360, Qt::Horizontal))));
      QCOMPARE(grid.height(), std::max(0, heads.height() - (heads.StatusBar1->height() + heads.Frame1->height() +
                                                            TwipsToPixels(&heads, 120, Qt::Vertical))));
      QCOMPARE(heads.Frame1->y(), grid.height() + TwipsToPixels(&heads, 60, Qt::Vertical));
      QCOMPARE(heads.cmdClose()->x(), heads.width() - w);
      QCOMPARE(heads.cmdHelp()->x(), heads.width() - w);
    }
  }

  // Commands added from outside reach every window opened from the main
  // window, and learn the pile the menu was opened on.
  void hooksExtendTheContextMenu() {
    int pile = -1;
    static bool enabled = true;
    AddViewerHook([&pile](ResultFrame& window) {
      if (!enabled) return;
      for (ResultGrid* g : window.Grids()) {
        QAction* entry = g->ContextMenu()->addAction("杭の詳細(&D)");
        connect(entry, &QAction::triggered, g, [g, &pile] { pile = g->CurrentPile(); });
      }
    });
    auto r = Results(5);
    QTimer::singleShot(0, this, [] {
      auto* window = qobject_cast<frmResOutPxPyPz*>(QApplication::activeModalWidget());
      QVERIFY(window);
      ContextMenuKey(window->vaSpread1, 3, 2, Qt::Key_D);
      window->cmdClose()->click();
    });
    OpenPileHeadViewer(nullptr, *r);
    enabled = false;
    QCOMPARE(pile, 4);
  }
};

QTEST_MAIN(ViewersTest)
#include "viewers_test.moc"
