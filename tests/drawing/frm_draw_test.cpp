// The drawing window as the user meets it: a hand-made sheet replayed on
// screen at known pixels, sheets with too many drawings or broken records,
// the sheet kept in proportion on resizing, zoom, pan and the pile under the
// mouse, and copy and save.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <cmath>

#include "cp932.h"
#include "fake_ui.h"
#include "frm_draw.h"
#include "paths.h"
#include "pile_layout.h"

using namespace hasorin;

namespace {

// Dark pixels (any channel below 128) in a square of half-side `r` around p.
int Dark(const QImage& image, QPointF p, int r = 2) {
  int n = 0;
  for (int y = int(p.y()) - r; y <= int(p.y()) + r; ++y)
    for (int x = int(p.x()) - r; x <= int(p.x()) + r; ++x) {
      if (!image.rect().contains(x, y)) continue;
      const QColor c = image.pixelColor(x, y);
      n += c.red() < 128 || c.green() < 128 || c.blue() < 128;
    }
  return n;
}

// The strongest colour cast around p: "blue", "red" or "" for grey.
QString Cast(const QImage& image, QPointF p, int r = 3) {
  int blue = 0, red = 0;
  for (int y = int(p.y()) - r; y <= int(p.y()) + r; ++y)
    for (int x = int(p.x()) - r; x <= int(p.x()) + r; ++x) {
      const QColor c = image.pixelColor(x, y);
      blue += c.blue() > c.red() + 60;
      red += c.red() > c.blue() + 60;
    }
  return blue > red ? "blue" : red > blue ? "red" : "";
}

}  // namespace

class DrawWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  std::unique_ptr<testing::FakeUi> ui_;
  int files_ = 0;

  std::string Write(const QString& text) {
    QString crlf = text;
    crlf.replace("\n", "\r\n");
    const QString path = dir_.filePath(QString("f%1.tmp").arg(++files_));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) qFatal("cannot write");
    f.write(EncodeCp932(crlf));
    return path.toStdString();
  }
  // A drawing file with the given sections (the extent line is not used by the window).
  std::string Drawing(const QString& sections) {
    return Write("Hasorin\n杭配置図\n0.00, 0.00, 0.00,      0.00, 0.00, 0.00\n" + sections);
  }
  // A sheet of w x h mm holding the drawings at their x offsets.
  std::string Sheet(double w, double h, const std::vector<std::pair<std::string, double>>& drawings) {
    QString text = QString("図\n %1 , %2 \n").arg(w).arg(h);
    for (const auto& [path, ox] : drawings) text += QString::fromStdString(path) + QString("\n %1 , 0 \n").arg(ox);
    return Write(text + "END\n");
  }
  std::unique_ptr<frmDraw> Show(const std::string& sheet, QSize size = {620, 700}) {
    auto w = std::make_unique<frmDraw>();
    w->UsrTitle = "杭配置図";
    w->UsrFileName = QString::fromStdString(sheet);
    w->show();
    w->resize(size);
    if (!QTest::qWaitForWindowExposed(w.get())) qWarning("not exposed");
    QApplication::processEvents();
    return w;
  }
  static QImage Picture(frmDraw& w) { return w.VSDraw1()->grab().toImage(); }
  static QPointF At(frmDraw& w, double x, double y) { return w.VSDraw1()->SheetToWidget().map(QPointF(x, y)); }

 private slots:
  void init() { ui_ = std::make_unique<testing::FakeUi>(); }
  void cleanup() { ui_.reset(); }

  void replaysEveryElementKind() {
    QString points = "座標情報\n1, 5, 5\n2, 25, 5\n3, 45, 12\n4, 35, 22\n5, 55, 22\n6, 45, 34\n";
    for (int k = 0; k < 8; ++k) points += QString("%1, %2, 45\n").arg(7 + k).arg(6 + 6 * k);
    const std::string drawing = Drawing(points + "END\n"
        "線分情報\n1, 1, 2, 1\nEND\n"
        "円情報\n1, 3, 6.0, 3\nEND\n"
        "円弧情報\n1, 12, 28, 6, 0, 90, 5\nEND\n"
        "塗潰情報\n1, 1, 0, 4 5 6 0\nEND\n"
        "矢印(1)\n1, 7, 1, 1\n2, 8, 2, 1\n3, 9, 3, 1\n4, 10, 4, 1\n5, 11, 5, 1\n6, 12, 6, 1\n7, 13, 7, 1\n8, 14, 8, 1\nEND\n"
        "文字情報\nWWWW\n5, 52, 1, 3\nWWWW\n57, 20, 1, 1\nEND\n");
    auto w = Show(Sheet(60, 60, {{drawing, 0}}));
    QCOMPARE(w->windowTitle(), QStringLiteral("杭配置図"));
    QVERIFY(w->Figure().problems.isEmpty());
    const QImage image = Picture(*w);
    auto at = [&](double x, double y) { return At(*w, x, y); };
    // Line; circle in the blue pen, empty inside; arc in the red pen on its quarter only; fill.
    QVERIFY(Dark(image, at(15, 5)) > 0);
    QCOMPARE(Dark(image, at(15, 8)), 0);
    QVERIFY(Dark(image, at(51, 12)) > 0);
    QCOMPARE(Cast(image, at(51, 12)), QString("blue"));
    QCOMPARE(Dark(image, at(45, 12)), 0);
    const double d = 6 / std::sqrt(2.0);
    QVERIFY(Dark(image, at(12 + d, 28 + d)) > 0);
    QCOMPARE(Cast(image, at(12 + d, 28 + d)), QString("red"));
    QCOMPARE(Dark(image, at(12 - d, 28 - d)), 0);
    QVERIFY(Dark(image, at(45, 26)) > 20);
    // Arrows: the strokes run back from the tip, nothing lies ahead of it.
    const QPointF dir[8] = {{0, 1}, {1, 1}, {1, 0}, {1, -1}, {0, -1}, {-1, -1}, {-1, 0}, {-1, 1}};
    for (int k = 0; k < 8; ++k) {
      const QPointF u = dir[k] / std::hypot(dir[k].x(), dir[k].y());
      const QPointF tip(6 + 6 * k, 45);
      QVERIFY2(Dark(image, at(tip.x() - u.x(), tip.y() - u.y()), 3) > 0, qPrintable(QString::number(k + 1)));
      QVERIFY2(Dark(image, at(tip.x() + u.x(), tip.y() + u.y()), 3) == 0, qPrintable(QString::number(k + 1)));
    }
    // Texts: horizontal to the right of its anchor, vertical upwards and to the left of it.
    QVERIFY(Dark(image, at(8, 53.5), 6) > 5);
    QVERIFY(Dark(image, at(55.2, 23), 6) > 5);
    QCOMPARE(Dark(image, at(59, 21), 2), 0);
  }

  void everyPointIsKept() {
    QString points = "座標情報\n";
    for (int i = 1; i <= 1200; ++i) points += QString("%1, %2, %3\n").arg(i).arg(i < 1199 ? 1 : 10).arg(i == 1199 ? 10 : 40);
    auto w = Show(Sheet(50, 50, {{Drawing(points + "END\n線分情報\n1, 1199, 1200, 1\nEND\n"), 0}}));
    QVERIFY(Dark(Picture(*w), At(*w, 10, 25)) > 0);
  }

  void onlyThreeDrawingsOfASheet() {
    const std::string bar = Drawing("座標情報\n1, 0, 10\n2, 0, 50\nEND\n線分情報\n1, 1, 2, 1\nEND\n");
    auto w = Show(Sheet(60, 60, {{bar, 10}, {bar, 20}, {bar, 30}, {bar, 40}}));
    const QImage image = Picture(*w);
    for (double x : {10, 20, 30}) QVERIFY(Dark(image, At(*w, x, 30)) > 0);
    QCOMPARE(Dark(image, At(*w, 40, 30)), 0);
  }

  void aMalformedRecordStopsTheReplay() {
    const std::string drawing = Drawing(
        "座標情報\n1, 10, 10\n2, 10, 50\n3, 30, 10\n4, 30, 50\nEND\n線分情報\n1, 1, 2, 1\n2, x, 4, 1\n3, 3, 4, 1\nEND\n");
    auto w = Show(Sheet(60, 60, {{drawing, 0}}));
    const QImage image = Picture(*w);
    QVERIFY(Dark(image, At(*w, 10, 30)) > 0);
    QCOMPARE(Dark(image, At(*w, 30, 30)), 0);
    // The status bar says where the replay stopped.
    QVERIFY(w->findChild<QLabel*>("lblProblems")->text().contains("の 12 行目"));
    QVERIFY(w->isVisible());
    QVERIFY(ui_->messages.empty());
  }

  void resizingKeepsTheSheetInProportion_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("wide") << QSize(900, 420);
    QTest::newRow("tall") << QSize(420, 900);
    QTest::newRow("small") << QSize(300, 300);
  }
  void resizingKeepsTheSheetInProportion() {
    QFETCH(QSize, size);
    const std::string frame = Drawing(
        "座標情報\n1, 0, 0\n2, 80, 0\n3, 80, 40\n4, 0, 40\nEND\n線分情報\n1, 1, 2, 1\n2, 2, 3, 1\n3, 3, 4, 1\n4, 4, 1, 1\nEND\n");
    auto w = Show(Sheet(80, 40, {{frame, 0}}), size);
    const QSizeF canvas = w->VSDraw1()->size();
    const double s = std::min(canvas.width() / 96, canvas.height() / 48);  // px per mm, a fifth of border
    const QRectF sheet(At(*w, 0, 40), At(*w, 80, 0));
    QVERIFY(std::abs(sheet.width() - 80 * s) < 0.5 && std::abs(sheet.height() - 40 * s) < 0.5);
    QVERIFY((sheet.center() - QRectF(QPointF(), canvas).center()).manhattanLength() < 1);
    const QImage image = Picture(*w);
    QVERIFY(Dark(image, At(*w, 40, 0)) > 0);
    QVERIFY(Dark(image, At(*w, 80, 20)) > 0);
  }

  void zoomPanAndThePileUnderTheMouse() {
    Project p;
    p.PileCount = 4;
    const double xz[4][2] = {{1.5, 1.5}, {-1.5, 1.5}, {-1.5, -1.5}, {1.5, -1.5}};
    std::vector<PileMark> marks;
    for (int i = 1; i <= 4; ++i) {
      p.Piles(1, i) = ProjectValue::Real(0.6);
      p.Piles(9, i) = ProjectValue::Real(xz[i - 1][0]);
      p.Piles(11, i) = ProjectValue::Real(xz[i - 1][1]);
      marks.push_back({i, xz[i - 1][0], xz[i - 1][1], 0.6});
    }
    TempFileList files;
    files.SetFolder(dir_.path().toStdString());
    PileLayoutResult layout = MakePileLayoutDrawing(150, 150, p, ProgramFolder(), files);
    QVERIFY2(layout.ok, layout.error.c_str());
    auto w = std::make_unique<frmDraw>();
    w->UsrFileName = QString::fromStdString(layout.sheetPath);
    w->SetPileMarks(marks, layout.scale);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    DrawCanvas* canvas = w->VSDraw1();
    const SheetDrawing& placed = w->Figure().sheet.drawings.at(0);
    auto pile = [&](int i) {
      return canvas->SheetToWidget().map(QPointF(placed.offsetX + xz[i - 1][0] * layout.scale,
                                                 placed.offsetY + xz[i - 1][1] * layout.scale));
    };
    QTest::mouseMove(canvas, pile(3).toPoint());
    QVERIFY2(w->PointerText().startsWith("杭 No.3 "), qPrintable(w->PointerText()));
    QVERIFY(w->PointerText().contains("X = -1.500 m"));
    QTest::mouseMove(canvas, ((pile(3) + pile(1)) / 2).toPoint());
    QVERIFY2(w->PointerText().startsWith("X = "), qPrintable(w->PointerText()));

    const QPointF before = pile(3);
    QTest::keyClick(canvas, Qt::Key_Equal, Qt::ControlModifier);
    QTest::keyClick(canvas, Qt::Key_Plus, Qt::ControlModifier);
    QVERIFY(canvas->Zoom() > 1.5);
    QVERIFY((pile(3) - QRectF(canvas->rect()).center()).manhattanLength() >
            (before - QRectF(canvas->rect()).center()).manhattanLength() * 1.4);
    QTest::keyClick(canvas, Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(canvas, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(canvas->Zoom(), 1.0);
    QCOMPARE(pile(3), before);

    // The wheel zooms about the pointer: pile 1 stays where it is.
    const QPointF p1 = pile(1);
    QWheelEvent wheel(p1, canvas->mapToGlobal(p1), {}, {0, 240}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas, &wheel);
    QVERIFY(canvas->Zoom() > 1.5);
    QVERIFY((pile(1) - p1).manhattanLength() < 0.5);
    // Dragging moves the picture with the mouse.
    QTest::mousePress(canvas, Qt::LeftButton, {}, p1.toPoint());
    QTest::mouseMove(canvas, p1.toPoint() + QPoint(30, 20));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, p1.toPoint() + QPoint(30, 20));
    QVERIFY((pile(1) - p1 - QPointF(30, 20)).manhattanLength() < 1);
  }

  void numbersLeftOutOfALargeDrawingAppearWhenZoomed() {
    Project p;
    p.PileCount = 999;
    std::vector<PileMark> marks;
    for (int i = 1; i <= 999; ++i) {
      const double x = ((i - 1) % 37) * 1.5, z = ((i - 1) / 37) * 1.5;
      p.Piles(1, i) = ProjectValue::Real(0.6);
      p.Piles(9, i) = ProjectValue::Real(x);
      p.Piles(11, i) = ProjectValue::Real(z);
      marks.push_back({i, x, z, 0.6});
    }
    TempFileList files;
    files.SetFolder(dir_.path().toStdString());
    PileLayoutResult layout = MakePileLayoutDrawing(150, 150, p, ProgramFolder(), files);
    QVERIFY2(layout.ok, layout.error.c_str());
    frmDraw w;
    w.UsrFileName = QString::fromStdString(layout.sheetPath);
    w.SetPileMarks(marks, layout.scale);
    w.show();
    w.resize(620, 700);
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.VSDraw1()->grab();
    QCOMPARE(w.VSDraw1()->ScreenNumbersShown(), 0);
    for (int k = 0; k < 8; ++k) QTest::keyClick(w.VSDraw1(), Qt::Key_Equal, Qt::ControlModifier);
    w.VSDraw1()->grab();
    QVERIFY(w.VSDraw1()->ScreenNumbersShown() > 10);
  }

  void printingPaintsTheSheetOnThePrinter() {
    const std::string bar = Drawing("座標情報\n1, 0, 10\n2, 0, 50\nEND\n線分情報\n1, 1, 2, 1\nEND\n");
    auto w = Show(Sheet(150, 150, {{bar, 75}}));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir_.filePath("printed.pdf"));
    QVERIFY(w->PrintTo(printer));
    QFile f(dir_.filePath("printed.pdf"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.read(4) == "%PDF");
  }

  void aMissingSheetOpensAnEmptyWindowThatSaysSo() {
    auto w = Show(dir_.filePath("none.tmp").toStdString());
    QVERIFY(w->isVisible());
    QVERIFY(!w->Figure().sheetRead);
    QVERIFY(w->findChild<QLabel*>("lblProblems")->text().contains("none.tmp"));
    QTest::keyClick(w->VSDraw1(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(w->VSDraw1(), Qt::Key_Equal, Qt::ControlModifier);
    QVERIFY(ui_->clipboardImage.isNull());
  }

  void copyPutsAnImageAndSvgOnTheClipboard() {
    const std::string bar = Drawing("座標情報\n1, 0, 10\n2, 0, 50\nEND\n線分情報\n1, 1, 2, 1\nEND\n");
    auto w = Show(Sheet(150, 150, {{bar, 75}}));
    QTest::keyClick(w->VSDraw1(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(ui_->clipboardImage.size(), QSize(1440, 1440));  // 180 mm at 8 px per mm
    QVERIFY(Dark(ui_->clipboardImage, QPointF(720, 1080)) > 0);  // x 75 mm, y 30 mm of the sheet
    QVERIFY(ui_->clipboardSvg.contains("<svg"));
    // The toolbar's Copy does the same.
    ui_->clipboardSvg.clear();
    w->tbrMenu()->findChild<QAction*>("Copy")->trigger();
    QVERIFY(ui_->clipboardSvg.contains("<svg"));
  }

  void saveAsPdfSvgOrPng_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("start");
    QTest::newRow("pdf") << "plan.pdf" << QByteArray("%PDF");
    QTest::newRow("svg") << "plan.SVG" << QByteArray("<?xml");
    QTest::newRow("png") << "杭 配置.png" << QByteArray("\x89PNG");
    QTest::newRow("other") << "plan.txt" << QByteArray();
  }
  void saveAsPdfSvgOrPng() {
    QFETCH(QString, name);
    QFETCH(QByteArray, start);
    const std::string bar = Drawing("座標情報\n1, 0, 10\n2, 0, 50\nEND\n線分情報\n1, 1, 2, 1\nEND\n");
    auto w = Show(Sheet(150, 150, {{bar, 75}}));
    const QString path = dir_.filePath(name);
    ui_->saveAnswers.push_back(path);
    QTest::keyClick(w->VSDraw1(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(int(ui_->saveDialogs.size()), 1);
    QFile f(path);
    if (start.isEmpty()) {
      QVERIFY(!f.exists());
      QCOMPARE(int(ui_->messages.size()), 1);
      return;
    }
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.read(start.size()) == start);
    QVERIFY(ui_->messages.empty());
  }
};

QTEST_MAIN(DrawWindowTest)
#include "frm_draw_test.moc"
