// Pictures of the print menu and the drawing window, for looking at them:
//   hasorin_print_screenshots OUTPUT_FOLDER            print menu, drawings of 24 and 999 piles
//   hasorin_print_screenshots OUTPUT_FOLDER --preview  also presses preview, which starts the
//                                                      real previewer, and stays 8 s
// Run under xvfb-run. Writes OUTPUT_FOLDER/piles999.zrn for the report. Not a test.
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QDir>
#include <QFont>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "engine.h"
#include "example_projects.h"
#include "frm_draw.h"
#include "inputfile.h"
#include "menu_print.h"
#include "paths.h"
#include "pile_layout.h"
#include "settings.h"
#include "screenshot_app.h"
#include "ui.h"

using namespace hasorin;

namespace {

void Grab(QWidget& w, const QString& folder, const QString& name) {
  QApplication::processEvents();
  w.grab().save(QDir(folder).filePath(name + ".png"));
}

// The drawing window on the project's pile-layout drawing, as the main window opens it.
void ShowDrawing(const Project& p, const QString& out, const QString& name, bool zoomed) {
  TempFileList files;
  PileLayoutResult layout = MakePileLayoutDrawing(150, 150, p, ProgramFolder(), files);
  if (!layout.ok) {
    qWarning("%s", layout.error.c_str());
    return;
  }
  std::vector<PileMark> marks;
  for (int i = 1; i <= p.PileCount; ++i)
    marks.push_back({i, p.Piles(9, i).number(), p.Piles(11, i).number(), p.Piles(1, i).number()});
  frmDraw w;
  w.UsrTitle = QStringLiteral("杭配置図");
  w.UsrFileName = QString::fromStdString(layout.sheetPath);
  w.SetPileMarks(marks, layout.scale);
  w.show();
  w.resize(760, 820);
  if (!QTest::qWaitForWindowExposed(&w)) qWarning("window not shown");
  DrawCanvas* canvas = w.VSDraw1();
  const SheetDrawing& placed = w.Figure().sheet.drawings.at(0);
  const int pick = std::min(p.PileCount, 500);
  const QPointF pile = canvas->SheetToWidget().map(QPointF(placed.offsetX + p.Piles(9, pick).number() * layout.scale,
                                                           placed.offsetY + p.Piles(11, pick).number() * layout.scale));
  if (zoomed) canvas->ZoomBy(8, pile);
  QApplication::processEvents();
  QMouseEvent move(QEvent::MouseMove, pile, canvas->mapToGlobal(pile), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(canvas, &move);
  Grab(w, out, name);
  files.DeleteAll();
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const QString out = testing::PrepareScreenshots(app, argc, argv);
  const bool preview = argc > 2 && QString(argv[2]) == "--preview";
  QTemporaryDir settings;
  InitProgramPaths(settings.path().toStdString(), settings.filePath("appdata").toStdString(), "hasorin");
  QFile::copy(QString::fromStdString(JoinPath(ProgramFolder(), "Zrn.FMT")),
              QString::fromStdString(FormatFilePath()));

  const Project group24 = testing::Group24();
  Project big = testing::ManyPiles(999);
  WriteInputFile(big, QDir(out).filePath("piles999.zrn").toStdString());

  TheProject() = group24;
  if (engine::CalcPileGroup() != 0) qWarning("calculation failed");
  {
    frmMenuPrint menu(TheProject(), engine::TheResults());
    menu.show();
    if (!QTest::qWaitForWindowExposed(&menu)) qWarning("window not shown");
    for (int k = 0; k < 3; ++k) menu.chkPrintItem(k)->setChecked(k != 1);
    Grab(menu, out, "print_menu");
    if (preview) {
      QTest::mouseClick(menu.cmdPreview(), Qt::LeftButton);
      QTest::qWait(8000);  // the previewer reads the files at once; close after it
    }
  }
  if (preview) return 0;
  ShowDrawing(group24, out, "draw_24", false);
  ShowDrawing(big, out, "draw_999_fit", false);
  ShowDrawing(big, out, "draw_999_zoom", true);
  return 0;
}
