// Replaying drawing and sheet files: where lines, circles, arrows and texts
// land, and what happens with files that are missing or broken.
#include <gtest/gtest.h>

#include <QPainter>

#include "figure_renderer.h"
#include "preview_test_support.h"

namespace hasorin {
namespace {

using preview::testing::DarkPixels;
using preview::testing::EnsureGuiApp;
using preview::testing::SampleDrawing;
using preview::testing::SampleSheet;
using preview::testing::WriteCp932;

class FigureRenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApp();
    ASSERT_TRUE(dir_.isValid());
    styles_ = LoadFigureStyles();  // the delivered definition files
    ASSERT_TRUE(styles_->problems.isEmpty()) << styles_->problems.join(' ').toStdString();
  }

  // Renders `elements` on a white `px` x `px` image of a `mm` x `mm` sheet.
  QImage Render(const DrawingElements& elements, int px, double mm, int* skipped = nullptr) {
    QImage image(px, px, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    FigureRenderer renderer;
    const int n = renderer.DrawDrawing(painter, elements, 0, 0, *styles_,
                                       FigureRenderer::SheetTransform(mm, mm, QRectF(0, 0, px, px)));
    if (skipped) *skipped = n;
    return image;
  }

  QTemporaryDir dir_;
  std::shared_ptr<const FigureStyles> styles_;
};

TEST_F(FigureRenderTest, SheetTransformPutsTheOriginAtTheLowerLeftAndCentres) {
  const QTransform t = FigureRenderer::SheetTransform(100, 50, QRectF(10, 20, 400, 400));
  // 4 px per mm, the sheet 200 px high centred in 400.
  EXPECT_EQ(t.map(QPointF(0, 0)), QPointF(10, 320));
  EXPECT_EQ(t.map(QPointF(100, 50)), QPointF(410, 120));
}

TEST_F(FigureRenderTest, CirclesAndGridLinesLandWhereTheDrawingPutsThem) {
  const std::string drawing = WriteCp932(dir_, "d.tmp", SampleDrawing());
  const std::string sheet = WriteCp932(dir_, "s.tmp", SampleSheet(drawing));
  const LoadedFigure figure = LoadFigure(sheet, styles_);
  ASSERT_TRUE(figure.sheetRead);
  EXPECT_TRUE(figure.problems.isEmpty()) << figure.problems.join(' ').toStdString();
  EXPECT_EQ(figure.widthMm, 150);

  // 4 px per mm; drawing point (x, y) is at px (4 (25 + x), 600 - 4 (25 + y)).
  QImage image(600, 600, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    FigureRenderer renderer;
    EXPECT_EQ(renderer.Draw(painter, figure, FigureRenderer::SheetTransform(150, 150, QRectF(0, 0, 600, 600))), 0);
  }
  auto px = [](double x, double y) { return QPoint(int(4 * (25 + x)), int(600 - 4 * (25 + y))); };
  // Pile circles (line type 3: the wide blue pen) of radius 10 mm = 40 px.
  for (QPoint c : {px(30, 30), px(70, 70)}) {
    for (QPoint edge : {c + QPoint(40, 0), c - QPoint(40, 0), c + QPoint(0, 40), c - QPoint(0, 40)}) {
      const QRect probe(edge - QPoint(2, 2), QSize(5, 5));
      EXPECT_GT(DarkPixels(image, probe), 0) << edge.x() << "," << edge.y();
      bool blue = false;
      for (int y = probe.top(); y <= probe.bottom(); ++y)
        for (int x = probe.left(); x <= probe.right(); ++x) {
          const QColor col = image.pixelColor(x, y);
          blue |= col.blue() > col.red() + 60;
        }
      EXPECT_TRUE(blue) << "circle pen is blue";
    }
    // Inside the circle, away from the number, nothing.
    EXPECT_EQ(DarkPixels(image, QRect(c + QPoint(10, -25), QSize(10, 10))), 0);
  }
  // Grid lines (line type 4: thin dotted): the middle line at x = 50 mm is
  // dotted, so some but not all of its pixels are dark.
  const QPoint top = px(50, 95), bottom = px(50, 5);
  const int length = bottom.y() - top.y();
  const int dark = DarkPixels(image, QRect(top.x() - 1, top.y(), 3, length));
  EXPECT_GT(dark, length / 6);
  EXPECT_LT(dark, length * 3 / 2);
  // The frame's left side at x = 0 mm, and nothing left of it.
  EXPECT_GT(DarkPixels(image, QRect(px(0, 95).x() - 1, px(0, 95).y(), 3, length)), length / 6);
  EXPECT_EQ(DarkPixels(image, QRect(0, 0, px(0, 0).x() - 3, 600)), 0);
}

TEST_F(FigureRenderTest, ArrowsPointByTheirDirectionCode) {
  // One arrow head at the centre of a 20 mm sheet, 20 px per mm.
  for (auto [code, dx, dy] : {std::tuple{1, 0, 1}, {3, 1, 0}, {5, 0, -1}, {7, -1, 0}}) {
    DrawingElements e;
    e.points.push_back({10, 10});
    e.arrows.push_back({1, code, 1});
    const QImage image = Render(e, 400, 20);
    // The strokes run back from the tip (200, 200) by 1.5 mm = 30 px,
    // opposite to where the arrow points (dx, dy in sheet axes).
    const QPoint back(200 - dx * 20, 200 + dy * 20);
    const QPoint ahead(200 + dx * 20, 200 - dy * 20);
    EXPECT_GT(DarkPixels(image, QRect(back - QPoint(12, 12), QSize(25, 25))), 10) << "code " << code;
    EXPECT_EQ(DarkPixels(image, QRect(ahead - QPoint(12, 12), QSize(25, 25))), 0) << "code " << code;
  }
}

TEST_F(FigureRenderTest, TextsAreHorizontalOrTurnedUpwards) {
  // Style 1 of STR_PRN.DEF; 10 px per mm on a 100 mm sheet.
  const double h = styles_->textStyles.at(0).SizeMm();
  const double w = 4 * h / 2;  // four half-width characters
  DrawingElements e;
  e.texts.push_back({"WWWW", 10, 50, 1, kTextHorizontal});
  e.texts.push_back({"WWWW", 60, 50, 1, kTextVertical});
  const QImage image = Render(e, 1000, 100);
  auto bounds = [&](QRect area) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x)
        if (image.pixelColor(x, y).red() < 128) box |= QRect(x, y, 1, 1);
    return box;
  };
  // Horizontal: x 10..10+w, y 50..50+h (sheet) -> px x 100.., y ..500.
  const QRect hb = bounds(QRect(0, 0, 500, 1000));
  EXPECT_GT(hb.width(), hb.height());
  EXPECT_GE(hb.left(), 100 - 2);
  EXPECT_LE(hb.right(), int(10 * (10 + w)) + 2);
  EXPECT_LE(hb.bottom(), 500 + 2);
  EXPECT_GE(hb.top(), int(1000 - 10 * (50 + h)) - 2);
  // Vertical: x 60-h..60, y 50..50+w -> reads upwards from the anchor.
  const QRect vb = bounds(QRect(500, 0, 500, 1000));
  EXPECT_GT(vb.height(), vb.width());
  EXPECT_LE(vb.right(), 600 + 2);
  EXPECT_GE(vb.left(), int(10 * (60 - h)) - 2);
  EXPECT_LE(vb.bottom(), 500 + 2);
  EXPECT_GE(vb.top(), int(1000 - 10 * (50 + w)) - 2);
}

TEST_F(FigureRenderTest, GreekLettersAreDistinctAndKeepTheirCells) {
  CellFonts fonts;
  const QRawFont& main = fonts.Get(ResolveFontFamily(QString()), 40);
  const QRawFont* greek = fonts.Greek(40);
  if (!greek) GTEST_SKIP() << "no font for Greek letters installed";
  // Cells of 20 px a column, 40 px high; ink compared as sets of dark pixels.
  auto draw = [&](const QString& text, const QRawFont* letters) {
    QImage image(120, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    CellRun run;
    run.topLeft = QPointF(0, 10);
    run.columnWidth = 20;
    run.cellHeight = 40;
    run.greek = letters;
    EXPECT_EQ(DrawCellText(painter, main, text, run), 4);
    return image;
  };
  auto ink = [](const QImage& image, int from, int to) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
      for (int x = from; x < to; ++x)
        if (image.pixelColor(x, y).red() < 128) box |= QRect(x, y, 1, 1);
    return box;
  };
  auto differing = [](const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
      for (int x = 0; x < 40; ++x) n += (a.pixelColor(x, y).red() < 128) != (b.pixelColor(x, y).red() < 128);
    return n;
  };

  const QImage phi = draw(QStringLiteral("φ|1"), greek);
  const QImage psi = draw(QStringLiteral("ψ|1"), greek);
  // The letters come from the Greek font (the text font's φ and ψ look
  // alike), at the text's size.
  const QImage textPhi = draw(QStringLiteral("φ|1"), nullptr);
  EXPECT_GT(differing(phi, textPhi), 40);
  EXPECT_GT(differing(phi, psi), 40);
  EXPECT_NEAR(ink(phi, 0, 40).height(), ink(textPhi, 0, 40).height(), 10);
  for (const QImage& image : {phi, psi}) {
    // Centred in its two columns and inside them.
    const QRect letter = ink(image, 0, 40);
    ASSERT_FALSE(letter.isEmpty());
    EXPECT_NEAR(letter.center().x(), 20, 2.5);
    EXPECT_GE(letter.left(), 1);
    EXPECT_LE(letter.right(), 38);
    // What follows stays at its columns: the same pixels as after a kanji.
    const QImage kanji = draw(QStringLiteral("杭|1"), greek);
    EXPECT_EQ(image.copy(40, 0, 80, 60), kanji.copy(40, 0, 80, 60));
  }
}

TEST_F(FigureRenderTest, BrokenReferencesAreSkippedAndCounted) {
  DrawingElements e;
  e.points.push_back({1, 1});
  e.lines.push_back({1, 99, 1});      // no point 99
  e.circles.push_back({0, 5, 1});     // no point 0
  e.arrows.push_back({1, 9, 1});      // no direction 9
  e.fills.push_back({1, 0, {1, 42, 1}});
  e.texts.push_back({"x", 1, 1, 77, 3});  // unknown style: drawn in the first one
  e.arcs.push_back({5, 5, 2, 0, 90, 1});
  e.arcs.push_back({15, 5, 2, -1e308, 1e308, 1});  // any finite angles are drawn
  int skipped = 0;
  const QImage image = Render(e, 200, 20, &skipped);
  EXPECT_EQ(skipped, 4);
  EXPECT_GT(DarkPixels(image, image.rect()), 0);  // the text and the arc
  EXPECT_GT(DarkPixels(image, QRect(120, 0, 80, 200)), 0);  // the arc of huge angles
}

TEST_F(FigureRenderTest, MissingAndBrokenFilesBecomeNotes) {
  // No sheet at all.
  LoadedFigure f = LoadFigure(dir_.filePath("none.tmp").toStdString(), styles_);
  EXPECT_FALSE(f.sheetRead);
  ASSERT_EQ(f.problems.size(), 1);
  EXPECT_TRUE(f.problems[0].startsWith(QStringLiteral("（図を読み込めませんでした：")));
  EXPECT_TRUE(f.problems[0].contains(QStringLiteral("none.tmp")));

#ifndef _WIN32
  // A device instead of a file is not read (it would never end).
  EXPECT_FALSE(LoadFigure("/dev/zero", styles_).sheetRead);
  f = LoadFigure(WriteCp932(dir_, "dev.tmp", SampleSheet("/dev/zero")), styles_);
  EXPECT_TRUE(f.sheetRead);
  EXPECT_EQ(f.problems.size(), 1);
#endif

  // A sheet naming a drawing that is gone: the sheet is drawn, the drawing noted.
  const std::string gone = dir_.filePath("gone.tmp").toStdString();
  f = LoadFigure(WriteCp932(dir_, "s1.tmp", SampleSheet(gone)), styles_);
  EXPECT_TRUE(f.sheetRead);
  ASSERT_EQ(f.problems.size(), 1);
  EXPECT_TRUE(f.problems[0].contains(QStringLiteral("gone.tmp")));

  // A malformed record: what came before it is kept, the note names the line.
  QString broken = SampleDrawing();
  broken.replace(QStringLiteral("3, 100.000000, 100.000000"), QStringLiteral("3, abc"));
  const std::string drawing = WriteCp932(dir_, "broken.tmp", broken);
  f = LoadFigure(WriteCp932(dir_, "s2.tmp", SampleSheet(drawing)), styles_);
  EXPECT_TRUE(f.sheetRead);
  ASSERT_EQ(f.problems.size(), 1);
  EXPECT_TRUE(f.problems[0].contains(QStringLiteral("broken.tmp")));
  EXPECT_TRUE(f.problems[0].contains(QStringLiteral("行目")));
  EXPECT_EQ(f.drawings.at(0).elements.points.size(), 2u);

  // A sheet without a usable size, and a sheet file of garbage.
  f = LoadFigure(WriteCp932(dir_, "s3.tmp", SampleSheet(drawing, 0, 150)), styles_);
  EXPECT_FALSE(f.sheetRead);
  EXPECT_FALSE(f.problems.isEmpty());
  f = LoadFigure(WriteCp932(dir_, "s4.tmp", QStringLiteral("\x01\x02 zz\n,,,\n")), styles_);
  EXPECT_FALSE(f.sheetRead);

  // Definition files missing: a note, and the figure still loads.
  auto noStyles = LoadFigureStyles(dir_.path().toStdString());
  EXPECT_EQ(noStyles->problems.size(), 2);
  const std::string plain = WriteCp932(dir_, "d5.tmp", SampleDrawing());
  f = LoadFigure(WriteCp932(dir_, "s5.tmp", SampleSheet(plain)), noStyles);
  EXPECT_TRUE(f.sheetRead);
  EXPECT_EQ(f.problems.size(), 2);
}

}  // namespace
}  // namespace hasorin
