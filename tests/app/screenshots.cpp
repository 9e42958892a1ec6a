// Saves pictures of the main window, the editors (numbering included), the result windows and the About window, for
// looking at them: hasorin_screenshots OUTPUT_FOLDER (run under xvfb-run,
// QT_SCALE_FACTOR=1.5 for the 150 % look). Not a test.
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QPainter>
#include <QDir>
#include <QFont>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <cmath>

#include "about.h"
#include "inp_gairyoku.h"
#include "inp_jyoken.h"
#include "inp_kui.h"
#include "inp_renban.h"
#include "engine.h"
#include "example_projects.h"
#include "exchange.h"
#include "open_viewers.h"
#include "res_out_pxpypz.h"
#include "res_out_stress.h"
#include "result_grid.h"
#include "save_workbook.h"
#include "menu_main.h"
#include "numbering.h"
#include "project.h"
#include "settings.h"
#include "screenshot_app.h"
#include "ui.h"

using namespace hasorin;

namespace {

void Settle() {
  for (int i = 0; i < 20; ++i) {
    QApplication::processEvents();
    QThread::msleep(20);
  }
}

void Save(QWidget& w, const QString& folder, const QString& name) {
  w.show();
  QApplication::processEvents();
  w.grab().save(QDir(folder).filePath(name + ".png"));
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const QString out = testing::PrepareScreenshots(app, argc, argv);
  QTemporaryDir settings;
  InitProgramPaths(settings.path().toStdString(), settings.filePath("appdata").toStdString(),
                   "hasorin");

  frmMenuMain main;
  Save(main, out, "main_new");
  Project& p = TheProject();
  p.ConditionsEntered = p.LoadsEntered = true;
  p.Conditions(1) = ProjectValue::Text("Ａ橋 Ｐ１橋脚 ｹｰｽ1");
  p.Conditions(2) = ProjectValue::Real(200000);
  p.Conditions(3) = ProjectValue::Real(30000);
  p.Conditions(7) = ProjectValue::Real(1.5);
  p.Loads(2) = ProjectValue::Real(12345.67);
  p.Loads(4) = ProjectValue::Real(-99999999.99);
  p.PileCount = 4;
  main.RefreshActivation();
  Save(main, out, "main_entered");

  frmInpJyoken conditions;
  main.ConnectEditor(&conditions);
  Save(conditions, out, "conditions");
  frmInpGairyoku loads;
  main.ConnectEditor(&loads);
  Save(loads, out, "loads");
  frmAbout about;
  Save(about, out, "about");

  // The numbering editor on each of its tabs, with joined numbers and margins.
  NumberingFields numbering;
  numbering.method = 2;
  numbering.init = 1;
  numbering.style = {0, 1, 3, 7};
  numbering.margin = {0, 2, 4, 6};
  SaveNumberingFields(numbering, SettingsFilePath());
  frmInpRenban renban;
  main.ConnectEditor(&renban);
  for (int tab = 0; tab < 3; ++tab) {
    renban.TabStrip1->setCurrentIndex(tab);
    Save(renban, out, QString("numbering_tab%1").arg(tab + 1));
  }
  renban.close();

  // Thirty piles of three diameters in rows of six, the outer ones inclined.
  for (int i = 1; i <= 30; ++i) {
    const double d = i <= 12 ? 0.8 : i <= 24 ? 1.0 : 1.2;
    const double t = d < 1 ? 12 : 14, x = ((i - 1) % 6) * 2.5 - 6.25, z = ((i - 1) / 6) * 2.5 - 5.0;
    const bool outer = (i - 1) % 6 == 0 || (i - 1) % 6 == 5;
    // Section values as the editor derives them (corrosion of 1 mm outside).
    const double dout = d * 100 - 0.2, din = d * 100 - 2 * t / 10;
    const double a = 3.141592654 / 4 * (dout * dout - din * din);
    const double inertia = 3.141592654 / 64 * (std::pow(dout, 4) - std::pow(din, 4));
    const double row[14] = {d, t, 1, a, inertia, inertia / (dout / 2), 0.5, 25, x, 0, z, outer ? 10.0 : 0.0, x < 0 ? 180.0 : 0.0, 0};
    for (int c = 0; c < 14; ++c) p.Piles(c + 1, i) = ProjectValue::Real(row[c]);
  }
  p.PileCount = 30;
  frmInpKui piles;
  piles.UsrRecMax = kMaxPiles;
  QObject::connect(&piles, &EditorFrame::LoadData, &piles,
                   [&] { piles.SetFields(LoadPileTableFields(TheProject())); });
  Save(piles, out, "piles");
  // Row 1 typed as a solid 2.5 m pile: I leaves its column's limit.
  piles.activateWindow();
  Settle();
  auto focus = [&piles] {
    QWidget* w = QApplication::focusWidget();
    return w ? w : piles.vaSpread1;
  };
  for (const char* value : {"2.5", "0", "0"}) {
    for (const char* c = value; *c; ++c) QTest::keyClick(focus(), *c);
    QTest::keyClick(focus(), Qt::Key_Tab);
  }
  Settle();
  piles.grab().save(QDir(out).filePath("piles_out_of_range.png"));

  // The result windows for the inclined example and for 999 piles: a load
  // that puts the far piles in tension for the stress window (scrolled to
  // where compression turns into tension), and one whose axial forces go
  // beyond the cells' ±9999.99 for the pile-head window.
  static engine::CalcResults r;
  auto run = [](const char* name, const Project& project) {
    if (engine::CalcPileGroup(project, r) != 0 || !r.solved) qFatal("%s does not solve", name);
  };
  auto heads = [&](const QString& name) {
    frmResOutPxPyPz window;
    ConnectViewer(window, r);
    Save(window, out, "heads_" + name);
    AddSaveWorkbookEntry(window, TheProject(), r);  // as the main window adds it
    // The grid's context menu over pile 3, grabbed with the window behind it.
    ResultGrid* grid = window.vaSpread1;
    const QPoint at = grid->visualRect(grid->model()->index(2, 1)).center();
    QTimer::singleShot(200, [&window, &out, name] {
      if (QWidget* menu = QApplication::activePopupWidget()) {
        QPixmap picture = window.grab();
        QPainter(&picture).drawPixmap(window.mapFromGlobal(menu->pos()), menu->grab());
        picture.save(QDir(out).filePath("heads_" + name + "_menu.png"));
        menu->close();
      }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, grid->viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid->viewport(), &event);
  };
  auto stress = [&](const QString& name, const Project& project, int firstRow) {
    frmResOutStress window;
    ConnectViewer(window, project, r);
    window.show();
    QApplication::processEvents();
    for (ResultGrid* g : window.Grids())
      g->scrollTo(g->model()->index(firstRow, 0), QAbstractItemView::PositionAtTop);
    Save(window, out, "stress_" + name + "_skk400");
    window.cboZai->setCurrentIndex(1);
    Save(window, out, "stress_" + name + "_skk490");
  };
  const Project inclined = testing::Inclined4();
  run("inclined", inclined);
  heads("inclined");
  stress("inclined", inclined, 0);
  Project big = testing::ManyPiles(kMaxPiles);
  testing::SetLoads(big, 6.0e4, 0.8e6, -4.0e4, 0, 0, -1.6e7);
  run("999 in tension", big);
  stress("999", big, 18);
  testing::SetLoads(big, 2.0e5, 3.0e6, -4.0e4, 0, 0, 9.0e5);
  run("999 overloaded", big);
  heads("999");

  // The conditions editor just opened, as the menu opens it: the focus in
  // the title field, its text selected for typing over.
  frmInpJyoken fresh;
  main.ConnectEditor(&fresh);
  fresh.show();
  fresh.activateWindow();
  Settle();
  fresh.grab().save(QDir(out).filePath("conditions_opened.png"));

  // A refused value as typed: "3" into α, then Tab; the range message comes
  // up over the editor, and the field keeps "3" behind it and after it.
  QTest::mouseClick(fresh.numAlpha, Qt::LeftButton);
  QTest::keyClick(fresh.numAlpha, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(fresh.numAlpha, "3");
  QTimer::singleShot(400, [&] {
    if (QWidget* box = QApplication::activeModalWidget()) {
      box->grab().save(QDir(out).filePath("range_message.png"));
      fresh.grab().save(QDir(out).filePath("refused_behind_message.png"));
      box->close();
    }
  });
  QTest::keyClick(fresh.numAlpha, Qt::Key_Tab);
  Settle();
  fresh.grab().save(QDir(out).filePath("refused_as_typed.png"));
  return 0;
}
