// The pile-layout drawing: axis division, grid, piles and arrows, and the
// files it leaves for the previewer.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>
#include <random>
#include <set>

#include "drawing_file.h"
#include "paths.h"
#include "pile_layout.h"
#include "text_file.h"

namespace hasorin {
namespace {

struct Pile {
  double D, X, Z, phi = 0, psi = 0;
};

Project MakeProject(const std::vector<Pile>& piles) {
  Project p;
  p.PileCount = int(piles.size());
  for (int i = 1; i <= p.PileCount; ++i) {
    const Pile& q = piles[size_t(i - 1)];
    p.Piles(1, i) = ProjectValue::Real(q.D);
    p.Piles(9, i) = ProjectValue::Real(q.X);
    p.Piles(11, i) = ProjectValue::Real(q.Z);
    p.Piles(12, i) = ProjectValue::Real(q.phi);
    p.Piles(13, i) = ProjectValue::Real(q.psi);
  }
  return p;
}

TextStyleTable Styles() {
  return {{"1", 0, "ＭＳ ゴシック", 200, false, false, false, ""},
          {"2", 0, "ＭＳ ゴシック", 120, false, false, false, ""}};
}

void ExpectDivision(AxisDivision d, double start, double step, int count) {
  EXPECT_DOUBLE_EQ(d.start, start);
  EXPECT_DOUBLE_EQ(d.step, step);
  EXPECT_EQ(d.count, count);
}

TEST(NiceScale, HandWorkedRanges) {
  // A single pile of D = 1 at the origin: -1..1 in two unit steps, refined to 0.2.
  ExpectDivision(NiceScale(-1, 1), -1, 0.2, 10);
  // Everything on the positive side still reaches back past the origin.
  ExpectDivision(NiceScale(-0.5, 6.5), -1, 1, 8);
  // Wide: -41..56 first gives 11 steps of 10, too many; 100 gives one; 10 again.
  ExpectDivision(NiceScale(-41, 56), -50, 10, 11);
  // Narrow: -0.5..0.5 in tenths.
  ExpectDivision(NiceScale(-0.5, 0.5), -0.5, 0.1, 10);
  // Mostly negative.
  ExpectDivision(NiceScale(-7.3, 0.6), -8, 1, 9);
  // Ten unit steps need no refinement.
  ExpectDivision(NiceScale(-3, 7), -3, 1, 10);
}

TEST(NiceScale, StaysSmallForAnyPileGroup) {
  // The element capacities rely on a modest number of grid lines.
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> coord(-1003, 1003);
  int worst = 0;
  for (int i = 0; i < 20000; ++i) {
    double a = coord(rng), b = coord(rng);
    double lo = std::min({a, b, 0.0}), hi = std::max({a, b, 0.0});
    AxisDivision d = NiceScale(lo, hi);
    ASSERT_GT(d.step, 0) << lo << " " << hi;
    ASSERT_LE(d.start, lo + 1e-9);
    ASSERT_GE(d.start + d.count * d.step, hi - 1e-9);
    worst = std::max(worst, d.count);
  }
  EXPECT_LE(worst, 25);
  EXPECT_EQ(NiceScale(0, std::nan("")).count, 0);
}

TEST(PileLayout, SinglePileAtTheOrigin) {
  DrawingElements e;
  std::string error;
  ASSERT_TRUE(BuildPileLayout(MakeProject({{1.0, 0, 0}}), Styles(), 150, 150, e, error)) << error;
  // Grid -1..1 in 10 steps each way at 130 mm / 2 m.
  const double s = 65;
  EXPECT_DOUBLE_EQ(e.points[0].x, -s);
  EXPECT_DOUBLE_EQ(e.points[0].y, -s);
  EXPECT_DOUBLE_EQ(e.points[2].x, s);
  EXPECT_DOUBLE_EQ(e.points[2].y, s);
  EXPECT_EQ(e.lines.size(), 22u);
  for (const DrawLine& l : e.lines) EXPECT_EQ(l.lineType, kGridLineType);
  EXPECT_EQ(e.points.size(), 4u + 44u + 1u);
  ASSERT_EQ(e.circles.size(), 1u);
  EXPECT_DOUBLE_EQ(e.circles[0].radius, 32.5);
  EXPECT_EQ(e.circles[0].lineType, kPileLineType);
  EXPECT_DOUBLE_EQ(e.Point(e.circles[0].centre).x, 0);

  ASSERT_EQ(e.texts.size(), 11u + 11u + 2u + 1u);
  const double h2 = Styles()[1].SizeMm();
  // First vertical label: "-1.000", centred on its line, ending 1 mm below the frame.
  const DrawText& v0 = e.texts[0];
  EXPECT_EQ(v0.text, "-1.000");
  EXPECT_EQ(v0.direction, kTextVertical);
  EXPECT_NEAR(v0.x, -s + h2 / 2, 1e-9);
  EXPECT_NEAR(v0.y + TextWidthMm(Styles()[1], v0.text), -s - 1, 1e-9);
  EXPECT_EQ(e.texts[5].text, "0.000");
  EXPECT_EQ(e.texts[10].text, "+1.000");
  // Horizontal labels end 1 mm left of the frame.
  const DrawText& h0 = e.texts[11];
  EXPECT_EQ(h0.direction, kTextHorizontal);
  EXPECT_NEAR(h0.x + TextWidthMm(Styles()[1], h0.text), -s - 1, 1e-9);
  EXPECT_EQ(e.texts[22].text, "Ｘ軸");
  EXPECT_NEAR(e.texts[22].y, -s - 20, 1e-9);
  EXPECT_EQ(e.texts[23].text, "Ｚ軸");
  EXPECT_EQ(e.texts[23].direction, kTextVertical);
  EXPECT_EQ(e.texts[24].text, "1");
  EXPECT_NEAR(e.texts[24].x, -TextWidthMm(Styles()[1], "1") / 2, 1e-9);
}

TEST(PileLayout, ArrowsOnlyForInclinedPilesPointingAlongPsi) {
  DrawingElements e;
  std::string error;
  Project p = MakeProject({{0.5, -2, 0, 0, 0},     // vertical: no arrow
                           {0.5, 2, 0, 10, 0},     // towards +X
                           {0.5, 0, 2, 5, 90},     // towards +Z
                           {0.5, 0, -2, -3, 45}}); // negative angle: none
  ASSERT_TRUE(BuildPileLayout(p, Styles(), 150, 150, e, error)) << error;
  std::vector<DrawLine> arrows;
  for (const DrawLine& l : e.lines) {
    if (l.lineType == kArrowLineType) arrows.push_back(l);
  }
  ASSERT_EQ(arrows.size(), 6u);
  ASSERT_EQ(e.circles.size(), 4u);
  auto direction = [&](const DrawLine& shaft, const DrawCircle& c) {
    const DrawPoint& centre = e.Point(c.centre);
    const DrawPoint& tail = e.Point(shaft.start);
    const DrawPoint& tip = e.Point(shaft.end);
    // The shaft starts on the circle and is one diameter long.
    EXPECT_NEAR(std::hypot(tail.x - centre.x, tail.y - centre.y), c.radius, 1e-6);
    EXPECT_NEAR(std::hypot(tip.x - tail.x, tip.y - tail.y), 2 * c.radius, 1e-6);
    return std::pair{tip.x - tail.x, tip.y - tail.y};
  };
  auto [dx1, dy1] = direction(arrows[0], e.circles[1]);
  EXPECT_GT(dx1, 0);
  EXPECT_NEAR(dy1, 0, 1e-6);
  auto [dx2, dy2] = direction(arrows[3], e.circles[2]);
  EXPECT_NEAR(dx2, 0, 1e-6);
  EXPECT_GT(dy2, 0);
  // Head strokes leave the tip backwards, 1.5 mm along the shaft.
  const DrawPoint& tip = e.Point(arrows[1].start);
  const DrawPoint& barb = e.Point(arrows[1].end);
  EXPECT_NEAR(tip.x - barb.x, 1.5, 1e-6);
  EXPECT_NEAR(std::fabs(tip.y - barb.y), 0.5, 1e-6);
}

TEST(PileLayout, NineHundredNinetyNineInclinedPilesFit) {
  std::vector<Pile> piles;
  for (int i = 0; i < 999; ++i) {
    piles.push_back({3.0, -999.999 + 2 * (i % 37) * 27.0, 999.999 - (i / 37) * 70.0, 89.9, -359.9 + i});
  }
  DrawingElements e;
  std::string error;
  ASSERT_TRUE(BuildPileLayout(MakeProject(piles), Styles(), 150, 150, e, error)) << error;
  EXPECT_EQ(e.circles.size(), 999u);
  EXPECT_GE(e.points.size(), 999u * 5);
  EXPECT_GE(e.lines.size(), 999u * 3);

  EXPECT_LE(e.texts.size(), size_t(e.capacity.texts));
}

// Groups of more than 200 piles: a number is written only where it can be
// read, clear of every circle line, every arrow and every other number.
TEST(PileLayout, LargeGroupsKeepTheirNumbersLegible) {
  struct Case {
    const char* name;
    int piles, perRow;
    double spacing;
    bool inclined, allNumbered;
  };
  for (const Case& c : {Case{"999 close", 999, 37, 1.5, true, false}, Case{"250 far apart", 250, 25, 8.0, false, true},
                        Case{"200 close", 200, 10, 1.5, true, true}}) {
    std::vector<Pile> piles;
    for (int i = 0; i < c.piles; ++i) {
      const bool raked = c.inclined && i % 7 == 0;
      piles.push_back({0.6, (i % c.perRow) * c.spacing, (i / c.perRow) * c.spacing, raked ? 10.0 : 0.0, (i % 4) * 90.0});
    }
    DrawingElements e;
    std::string error;
    ASSERT_TRUE(BuildPileLayout(MakeProject(piles), Styles(), 150, 150, e, error)) << error;
    ASSERT_EQ(e.circles.size(), size_t(c.piles)) << c.name;
    const double h = Styles()[1].SizeMm();
    struct Label {
      int pile;
      double left, bottom, right, top;
    };
    std::vector<Label> labels;
    for (const DrawText& t : e.texts) {
      auto n = ParseInt(t.text);
      if (t.style != kLabelStyle || t.direction != kTextHorizontal || !n || t.text[0] == '+') continue;
      labels.push_back({*n, t.x, t.y, t.x + TextWidthMm(Styles()[1], t.text), t.y + h});
    }
    if (c.allNumbered) {
      EXPECT_EQ(labels.size(), size_t(c.piles)) << c.name;
      continue;
    }
    // The first and last pile of the first and last rows at least.
    std::set<int> numbered;
    for (const Label& l : labels) numbered.insert(l.pile);
    for (int pile : {1, 37, 963, 999}) EXPECT_TRUE(numbered.count(pile)) << pile;
    for (size_t i = 0; i < labels.size(); ++i) {
      const Label& a = labels[i];
      auto inside = [&](double x, double y) { return x > a.left && x < a.right && y > a.bottom && y < a.top; };
      for (size_t j = i + 1; j < labels.size(); ++j) {
        const Label& b = labels[j];
        EXPECT_FALSE(a.left < b.right && b.left < a.right && a.bottom < b.top && b.bottom < a.top)
            << a.pile << " runs into " << b.pile;
      }
      for (const DrawCircle& circle : e.circles) {
        // Wholly inside the circle or wholly outside it.
        const DrawPoint& o = e.Point(circle.centre);
        const double nx = std::max({a.left - o.x, 0.0, o.x - a.right});
        const double ny = std::max({a.bottom - o.y, 0.0, o.y - a.top});
        const double fx = std::max(std::fabs(a.left - o.x), std::fabs(a.right - o.x));
        const double fy = std::max(std::fabs(a.bottom - o.y), std::fabs(a.top - o.y));
        EXPECT_TRUE(std::hypot(nx, ny) >= circle.radius || std::hypot(fx, fy) <= circle.radius)
            << a.pile << " over a circle line";
      }
      for (const DrawLine& l : e.lines) {
        if (l.lineType != kArrowLineType) continue;
        const DrawPoint &p = e.Point(l.start), &q = e.Point(l.end);
        for (int k = 0; k <= 20; ++k) {
          EXPECT_FALSE(inside(p.x + (q.x - p.x) * k / 20, p.y + (q.y - p.y) * k / 20)) << a.pile << " over an arrow";
        }
      }
    }
  }
}

TEST(PileLayout, UnusableRangeFailsCleanly) {
  DrawingElements e;
  std::string error;
  EXPECT_FALSE(BuildPileLayout(MakeProject({{0.0001, 0, 0}}), Styles(), 150, 150, e, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(BuildPileLayout(MakeProject({{1, 0, 0}}), {Styles()[0]}, 150, 150, e, error));
}

class PileLayoutFiles : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  TempFileList files;
  void SetUp() override { files.SetFolder(dir.path().toStdString()); }
};

TEST_F(PileLayoutFiles, WritesDrawingAndCentredSheet) {
  Project p = MakeProject({{0.6, 1.5, 1.5, 10, 45}, {0.6, -1.5, 1.5}, {0.6, -1.5, -1.5}, {0.6, 1.5, -1.5}});
  PileLayoutResult r = MakePileLayoutDrawing(150, 150, p, ProgramFolder(), files);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(files.Count(), 2);
  EXPECT_EQ(files.Name(2), r.sheetPath);

  DrawingFile drawing;
  ASSERT_TRUE(ReadDrawingFile(r.drawingPath, drawing).ok);
  EXPECT_EQ(drawing.caption, "Hasorin");
  EXPECT_EQ(drawing.title, "杭配置図");
  EXPECT_EQ(drawing.elements.circles.size(), 4u);
  EXPECT_TRUE(drawing.elements.arcs.empty());

  SheetFile sheet;
  ASSERT_TRUE(ReadSheetFile(r.sheetPath, sheet).ok);
  EXPECT_EQ(sheet.title, "杭配置図");
  ASSERT_EQ(sheet.drawings.size(), 1u);
  EXPECT_EQ(sheet.drawings[0].path, r.drawingPath);
  // Grid and labels together are centred on the sheet.
  const DrawingExtent& x = drawing.extent;
  EXPECT_NEAR(x.xMin + sheet.drawings[0].offsetX, 150 - (x.xMax + sheet.drawings[0].offsetX), 0.02);
  EXPECT_NEAR(x.yMin + sheet.drawings[0].offsetY, 150 - (x.yMax + sheet.drawings[0].offsetY), 0.02);
  // The left labels and the axis title lie outside the grid frame.
  EXPECT_LT(x.xMin, drawing.elements.points[0].x - 1);
}

TEST_F(PileLayoutFiles, MissingDefinitionFilesFail) {
  Project p = MakeProject({{0.6, 0, 0}});
  PileLayoutResult r = MakePileLayoutDrawing(150, 150, p, dir.path().toStdString(), files);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("LINE_PRN.DEF"), std::string::npos);
  EXPECT_EQ(files.Count(), 0);
}

}  // namespace
}  // namespace hasorin
