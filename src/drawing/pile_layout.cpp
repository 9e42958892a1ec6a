#include "pile_layout.h"

#include <algorithm>
#include <cmath>
#include <array>
#include <map>
#include <optional>
#include <vector>

#include "numfmt.h"
#include "paths.h"

namespace hasorin {
namespace {

constexpr double kSheetAllowanceMm = 20.0;  // margin taken off the sheet; also the axis titles' distance
constexpr double kLabelGapMm = 1.0;
constexpr double kArrowHeadLength = 1.5;
constexpr double kArrowHeadHalfWidth = 0.5;
constexpr const char* kLabelPattern = "+##0.000;-##0.000;0.000";

// Pile table columns the drawing reads.
constexpr int kColD = 1, kColX = 9, kColZ = 11, kColPhi = 12, kColPsi = 13;

// Guards the stepping loops against values no real project produces.
constexpr int kMaxSteps = 100000;

// v = m * 10^e with 1 <= |m| < 10 and m carrying the sign; 0 -> (0, 0).
void Decompose(double v, double& m, int& e) {
  if (v == 0) {
    m = 0;
    e = 0;
    return;
  }
  e = int(std::floor(std::log10(std::fabs(v))));
  m = v / std::pow(10.0, e);
  // log10 may land one off at exact powers of ten.
  if (std::fabs(m) >= 10) {
    ++e;
    m = v / std::pow(10.0, e);
  } else if (std::fabs(m) < 1) {
    --e;
    m = v / std::pow(10.0, e);
  }
}

int StepCount(double start, double end, double step) { return int(std::lround((end - start) / step)); }

// Steps from `from` down to the first value at or below `minimum` (at least
// one step). Multiples of the step rather than repeated subtraction, and a
// tolerance of a billionth of a step, keep binary fractions such as 0.2 from
// overshooting by a whole step. False when that takes unreasonably many steps.
bool StepDown(double from, double minimum, double step, double& start) {
  const double tolerance = step * 1e-9;
  for (int k = 1; k <= kMaxSteps; ++k) {
    start = from - k * step;
    if (start <= minimum + tolerance) return true;
  }
  return false;
}

bool StepUp(double from, double maximum, double step, double& end) {
  const double tolerance = step * 1e-9;
  for (int k = 1; k <= kMaxSteps; ++k) {
    end = from + k * step;
    if (end >= maximum - tolerance) return true;
  }
  return false;
}

// Two decimals, halves away from zero; magnitudes below 0.001 become 0.
double RoundTwoDecimals(double v) {
  if (std::fabs(v) < 0.001) return 0;
  double a = std::fabs(v) * 100 + 0.00001;
  double whole = std::floor(a);
  if (a - whole >= 0.5) whole += 1;
  double r = whole / 100;
  return v < 0 ? -r : r;
}

// The four points of a pile's inclination arrow: from the circle outwards one
// diameter long, pointing in the plan direction psi, with its two barbs.
std::array<DrawPoint, 4> ArrowPoints(DrawPoint c, double diameterMm, double psi) {
  const DrawPoint a0{c.x, c.y + diameterMm / 2};
  const DrawPoint a1{a0.x, a0.y + diameterMm};
  const DrawPoint a2{a1.x - kArrowHeadHalfWidth, a1.y - kArrowHeadLength};
  const DrawPoint a3{a1.x + kArrowHeadHalfWidth, a1.y - kArrowHeadLength};
  std::array<DrawPoint, 4> out;
  int j = 0;
  for (const DrawPoint& p : {a0, a1, a2, a3}) {
    auto [x, y] = RotatePoint(p.x, p.y, c.x, c.y, psi - 90);
    out[size_t(j++)] = {x, y};
  }
  return out;
}

// Label boxes, circles and arrows on paper, for placing numbers legibly.
struct Box {
  double left, bottom, right, top;
};
struct Disc {
  double x, y, r;
};
struct Segment {
  DrawPoint a, b;
};

bool Overlap(const Box& a, const Box& b, double gap) {
  return a.left < b.right + gap && b.left < a.right + gap && a.bottom < b.top + gap && b.bottom < a.top + gap;
}

// The box touches the circle's line (or lies across it).
bool TouchesCircle(const Box& a, const Disc& c, double gap) {
  const double dx = std::max({a.left - c.x, 0.0, c.x - a.right});
  const double dy = std::max({a.bottom - c.y, 0.0, c.y - a.top});
  if (std::hypot(dx, dy) >= c.r + gap) return false;  // wholly outside
  const double fx = std::max(std::fabs(a.left - c.x), std::fabs(a.right - c.x));
  const double fy = std::max(std::fabs(a.bottom - c.y), std::fabs(a.top - c.y));
  return std::hypot(fx, fy) > c.r - gap;  // not wholly inside
}

bool Crosses(const Box& a, const Segment& s, double gap) {
  // Sampled: the strokes are short and the gap covers the steps.
  for (int k = 0; k <= 8; ++k) {
    const double x = s.a.x + (s.b.x - s.a.x) * k / 8, y = s.a.y + (s.b.y - s.a.y) * k / 8;
    if (x > a.left - gap && x < a.right + gap && y > a.bottom - gap && y < a.top + gap) return true;
  }
  return false;
}

// Things on paper by square cells, so that a label meets only what lies near
// it. Positions beyond the bounds fall into the edge cells.
class Cells {
 public:
  Cells(const Box& bounds, double size)
      : bounds_(bounds), size_(size),
        columns_(std::clamp(int((bounds.right - bounds.left) / size) + 1, 1, 400)),
        rows_(std::clamp(int((bounds.top - bounds.bottom) / size) + 1, 1, 400)),
        ids_(size_t(columns_ * rows_)) {}

  void Add(const Box& b, int id) {
    ForCells(b, [&](std::vector<int>& ids) {
      ids.push_back(id);
      return false;
    });
  }
  // True when `hit` is true for an id in a cell the box touches (an id may come twice).
  template <typename Hit>
  bool Any(const Box& b, Hit hit) {
    return ForCells(b, [&](std::vector<int>& ids) { return std::any_of(ids.begin(), ids.end(), hit); });
  }

 private:
  int Column(double x) const { return std::clamp(int(std::floor((x - bounds_.left) / size_)), 0, columns_ - 1); }
  int Row(double y) const { return std::clamp(int(std::floor((y - bounds_.bottom) / size_)), 0, rows_ - 1); }
  template <typename Visit>
  bool ForCells(const Box& b, Visit visit) {
    for (int r = Row(b.bottom); r <= Row(b.top); ++r)
      for (int c = Column(b.left); c <= Column(b.right); ++c)
        if (visit(ids_[size_t(r * columns_ + c)])) return true;
    return false;
  }

  Box bounds_;
  double size_;
  int columns_, rows_;
  std::vector<std::vector<int>> ids_;
};

Box Grow(const Box& b, double by) { return {b.left - by, b.bottom - by, b.right + by, b.top + by}; }

struct LabelScene {
  std::vector<Disc> circles;       // per pile
  std::vector<Box> centred;        // per pile: its number centred on the pile
  std::vector<Segment> arrows;     // all arrow strokes
  Box frame;                       // the grid frame (its left and bottom count)
  std::vector<double> rowKey, x;   // per pile: its row (Z) and X
};

// Where the numbers of a group of more than kAllLabelsUpTo piles go: their
// anchors (lower-left corners), or nothing for a pile left unnumbered.
std::vector<std::optional<DrawPoint>> PlaceLabels(const LabelScene& scene) {
  constexpr double kGapMm = 0.2;
  const size_t n = scene.circles.size();
  Box bounds = scene.frame;
  for (const Box& b : scene.centred) {
    bounds = {std::min(bounds.left, b.left), std::min(bounds.bottom, b.bottom), std::max(bounds.right, b.right),
              std::max(bounds.top, b.top)};
  }
  const double cell = 4.0;  // about one label
  Cells circles(bounds, cell), arrows(bounds, cell), labels(bounds, cell);
  for (size_t i = 0; i < n; ++i) {
    const Disc& c = scene.circles[i];
    circles.Add(Grow({c.x, c.y, c.x, c.y}, c.r), int(i));
  }
  for (size_t i = 0; i < scene.arrows.size(); ++i) {
    const Segment& s = scene.arrows[i];
    arrows.Add({std::min(s.a.x, s.b.x), std::min(s.a.y, s.b.y), std::max(s.a.x, s.b.x), std::max(s.a.y, s.b.y)},
               int(i));
  }
  std::vector<Box> placed;
  auto clear = [&](const Box& b) {
    // The grid's value labels lie left of and below the frame.
    if (b.left < scene.frame.left || b.bottom < scene.frame.bottom) return false;
    const Box near = Grow(b, kGapMm);
    return !circles.Any(near, [&](int i) { return TouchesCircle(b, scene.circles[size_t(i)], kGapMm); }) &&
           !arrows.Any(near, [&](int i) { return Crosses(b, scene.arrows[size_t(i)], kGapMm); }) &&
           !labels.Any(near, [&](int i) { return Overlap(b, placed[size_t(i)], kGapMm); });
  };
  // Inside the pile's circle, else beside it: right, left, above, below.
  auto place = [&](size_t i) -> std::optional<DrawPoint> {
    const Disc& c = scene.circles[i];
    const Box& mid = scene.centred[i];
    const double w = mid.right - mid.left, h = mid.top - mid.bottom, r = c.r + 2 * kGapMm;
    const Box candidates[] = {
        mid,
        {c.x + r, mid.bottom, c.x + r + w, mid.top},
        {c.x - r - w, mid.bottom, c.x - r, mid.top},
        {mid.left, c.y + r, mid.right, c.y + r + h},
        {mid.left, c.y - r - h, mid.right, c.y - r},
    };
    for (const Box& b : candidates) {
      if (clear(b)) {
        labels.Add(b, int(placed.size()));
        placed.push_back(b);
        return DrawPoint{b.left, b.bottom};
      }
    }
    return std::nullopt;
  };

  std::map<double, std::pair<size_t, size_t>> rows;  // Z -> piles of least and greatest X
  for (size_t i = 0; i < n; ++i) {
    auto [it, added] = rows.try_emplace(scene.rowKey[i], i, i);
    if (added) continue;
    if (scene.x[i] < scene.x[it->second.first]) it->second.first = i;
    if (scene.x[i] > scene.x[it->second.second]) it->second.second = i;
  }
  std::vector<size_t> order;
  for (const auto& [z, ends] : rows) order.insert(order.end(), {ends.first, ends.second});
  for (size_t i = 9; i < n; i += 10) order.push_back(i);
  for (size_t i = 0; i < n; ++i) order.push_back(i);
  std::vector<std::optional<DrawPoint>> anchors(n);
  std::vector<bool> tried(n, false);
  for (size_t i : order) {
    if (tried[i]) continue;
    tried[i] = true;
    anchors[i] = place(i);
  }
  return anchors;
}

}  // namespace

AxisDivision NiceScale(double minimum, double maximum) {
  AxisDivision none;
  if (!std::isfinite(minimum) || !std::isfinite(maximum)) return none;
  double m, step, start, end;
  int e;
  if (std::fabs(minimum) < std::fabs(maximum)) {
    Decompose(maximum, m, e);
    step = std::pow(10.0, e);
    end = (m > 0 ? std::ceil(m) : std::trunc(m)) * step;
    if (!StepDown(end, minimum, step, start)) return none;
  } else {
    Decompose(minimum, m, e);
    step = std::pow(10.0, e);
    start = (m > 0 ? std::trunc(m) : std::floor(m)) * step;
    if (!StepUp(start, maximum, step, end)) return none;
  }
  int count = StepCount(start, end, step);
  if (count == 0) count = 1;
  if (count > 10) {
    step *= 10;
    count = StepCount(start, end, step);
    if (count == 0) count = 1;
  }
  if (count >= 1 && count <= 5) {
    step /= count == 1 ? 10 : count <= 3 ? 5 : 2;
    if (!StepDown(end, minimum, step, start) || !StepUp(start, maximum, step, end)) return none;
    count = StepCount(start, end, step);
  }
  if (count == 1) {
    count = 3;
    start -= step;
  } else if (count == 2) {
    count = 4;
    step /= 2;
  }
  return {RoundTwoDecimals(start), RoundTwoDecimals(step), count};
}

bool BuildPileLayout(const Project& project, const TextStyleTable& styles, double sheetWidthMm,
                     double sheetHeightMm, DrawingElements& out, std::string& error, double* scaleOut) {
  out = DrawingElements{};
  if (int(styles.size()) < kLabelStyle) {
    error = "文字ｽﾀｲﾙの定義が足りません。";
    return false;
  }
  const TextStyle& titleStyle = styles[kAxisTitleStyle - 1];
  const TextStyle& labelStyle = styles[kLabelStyle - 1];
  const double h1 = titleStyle.SizeMm();
  const double h2 = labelStyle.SizeMm();
  const int n = std::clamp(project.PileCount, 0, kMaxPiles);
  auto pile = [&](int column, int row) { return project.Piles(column, row).number(); };

  // The model extent always holds the origin, widened by pile 1's diameter.
  double xMin = 0, xMax = 0, zMin = 0, zMax = 0;
  for (int i = 1; i <= n; ++i) {
    xMin = std::min(xMin, pile(kColX, i));
    xMax = std::max(xMax, pile(kColX, i));
    zMin = std::min(zMin, pile(kColZ, i));
    zMax = std::max(zMax, pile(kColZ, i));
  }
  const double d1 = pile(kColD, 1);
  AxisDivision ax = NiceScale(xMin - d1, xMax + d1);
  AxisDivision az = NiceScale(zMin - d1, zMax + d1);
  const double wx = ax.count * ax.step, wz = az.count * az.step;
  const double s = std::min((sheetWidthMm - kSheetAllowanceMm) / wx, (sheetHeightMm - kSheetAllowanceMm) / wz);
  if (!(wx > 0) || !(wz > 0) || !std::isfinite(s) || !(s > 0)) {
    error = "杭配置から作図範囲を決められません。杭の位置と杭径をご確認ください。";
    return false;
  }
  if (scaleOut) *scaleOut = s;

  // Numbers centred on their piles; above kAllLabelsUpTo piles only where legible.
  std::vector<std::optional<DrawPoint>> anchors(static_cast<size_t>(n));
  {
    LabelScene scene;
    for (int i = 1; i <= n; ++i) {
      const DrawPoint c{pile(kColX, i) * s, pile(kColZ, i) * s};
      const double d = pile(kColD, i) * s;
      const double w = TextWidthMm(labelStyle, FormatNumber(i, "##0"));
      scene.centred.push_back({c.x - w / 2, c.y - h2 / 2, c.x + w / 2, c.y + h2 / 2});
      anchors[size_t(i - 1)] = DrawPoint{c.x - w / 2, c.y - h2 / 2};
      if (n <= kAllLabelsUpTo) continue;
      scene.circles.push_back({c.x, c.y, std::fabs(d) / 2});
      scene.rowKey.push_back(std::round(pile(kColZ, i) * 1e6));
      scene.x.push_back(pile(kColX, i));
      if (pile(kColPhi, i) > 0) {
        auto k = ArrowPoints(c, d, pile(kColPsi, i));
        scene.arrows.insert(scene.arrows.end(), {{k[0], k[1]}, {k[1], k[2]}, {k[1], k[3]}});
      }
    }
    if (n > kAllLabelsUpTo) {
      scene.frame = {ax.start * s, az.start * s, (ax.start + wx) * s, (az.start + wz) * s};
      anchors = PlaceLabels(scene);
    }
  }

  try {
    DrawingElements& e = out;
    const DrawPoint p1{ax.start * s, az.start * s};
    const DrawPoint p2{ax.start * s, (az.start + wz) * s};
    const DrawPoint p3{(ax.start + wx) * s, (az.start + wz) * s};
    const DrawPoint p4{(ax.start + wx) * s, az.start * s};
    for (const DrawPoint& p : {p1, p2, p3, p4}) e.AddPoint(p.x, p.y);

    for (int i = 0; i <= ax.count; ++i) {
      const DrawPoint a{i * ax.step * s + p1.x, p1.y};
      int pa = e.AddPoint(a.x, a.y);
      int pb = e.AddPoint(a.x, p2.y);
      e.AddLine(pa, pb, kGridLineType);
      std::string label = FormatNumber(ax.start + i * ax.step, kLabelPattern);
      double w = TextWidthMm(labelStyle, label);
      e.AddText(label, a.x + h2 / 2, a.y - w - kLabelGapMm, kLabelStyle, kTextVertical);
    }
    for (int i = 0; i <= az.count; ++i) {
      const DrawPoint a{p1.x, i * az.step * s + p1.y};
      int pa = e.AddPoint(a.x, a.y);
      int pb = e.AddPoint(p4.x, a.y);
      e.AddLine(pa, pb, kGridLineType);
      std::string label = FormatNumber(az.start + i * az.step, kLabelPattern);
      double w = TextWidthMm(labelStyle, label);
      e.AddText(label, a.x - w - kLabelGapMm, a.y - h2 / 2, kLabelStyle, kTextHorizontal);
    }

    const std::string xTitle = "Ｘ軸", zTitle = "Ｚ軸";
    double wX = TextWidthMm(titleStyle, xTitle);
    e.AddText(xTitle, (p4.x - p1.x - wX) / 2 + p1.x, p1.y - kSheetAllowanceMm, kAxisTitleStyle, kTextHorizontal);
    double wZ = TextWidthMm(titleStyle, zTitle);
    e.AddText(zTitle, p1.x - kSheetAllowanceMm + h1, (p2.y - p1.y - wZ) / 2 + p1.y, kAxisTitleStyle,
              kTextVertical);

    for (int i = 1; i <= n; ++i) {
      const double d = pile(kColD, i);
      const DrawPoint c{pile(kColX, i) * s, pile(kColZ, i) * s};
      int pc = e.AddPoint(c.x, c.y);
      e.AddCircle(pc, d / 2 * s, kPileLineType);
      if (const auto& at = anchors[size_t(i - 1)]) {
        e.AddText(FormatNumber(i, "##0"), at->x, at->y, kLabelStyle, kTextHorizontal);
      }
      if (pile(kColPhi, i) > 0) {
        int k[4];
        int j = 0;
        for (const DrawPoint& p : ArrowPoints(c, d * s, pile(kColPsi, i))) k[j++] = e.AddPoint(p.x, p.y);
        e.AddLine(k[0], k[1], kArrowLineType);
        e.AddLine(k[1], k[2], kArrowLineType);
        e.AddLine(k[1], k[3], kArrowLineType);
      }
    }
  } catch (const DrawingFullError& full) {
    error = "杭配置図を作成できません。" + full.message;
    return false;
  }
  return true;
}

PileLayoutResult MakePileLayoutDrawing(double sheetWidthMm, double sheetHeightMm, const Project& project,
                                       const std::string& programFolder, TempFileList& files) {
  PileLayoutResult result;
  LineTypeTable lineTypes;
  TextStyleTable styles;
  DrawStatus status = ReadLineDef(JoinPath(programFolder, kLineDefFileName), lineTypes);
  if (status) status = ReadStrDef(JoinPath(programFolder, kStrDefFileName), styles);
  if (!status) {
    result.error = status.message;
    return result;
  }
  if (int(lineTypes.size()) < std::max({kGridLineType, kPileLineType, kArrowLineType})) {
    result.error = std::string(kLineDefFileName) + " の線種の定義が足りません。";
    return result;
  }
  DrawingElements elements;
  if (!BuildPileLayout(project, styles, sheetWidthMm, sheetHeightMm, elements, result.error, &result.scale)) {
    return result;
  }

  auto drawingPath = NewDrawingFileName(files);
  if (!drawingPath) {
    result.error = "作図用の一時ﾌｧｲﾙを作成できません。";
    return result;
  }
  result.drawingPath = *drawingPath;
  status = WriteDrawingFile(result.drawingPath, "Hasorin", "杭配置図", elements, styles);
  if (!status) {
    result.error = status.message;
    return result;
  }
  auto sheetPath = NewDrawingFileName(files);
  if (!sheetPath) {
    result.error = "作図用の一時ﾌｧｲﾙを作成できません。";
    return result;
  }
  result.sheetPath = *sheetPath;
  status = WriteSheetFile(result.sheetPath, "杭配置図", sheetWidthMm, sheetHeightMm, {{result.drawingPath, 0, 0}});
  if (!status) {
    result.error = status.message;
    return result;
  }
  result.ok = true;
  return result;
}

PileLayoutResult MakePileLayoutDrawing(double sheetWidthMm, double sheetHeightMm) {
  return MakePileLayoutDrawing(sheetWidthMm, sheetHeightMm, TheProject(), ProgramFolder(), DrawingFileList());
}

}  // namespace hasorin
