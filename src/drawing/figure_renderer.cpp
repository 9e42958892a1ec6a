#include "figure_renderer.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QVarLengthArray>
#include <cmath>

#include "paths.h"

namespace hasorin {
namespace {

// Arms of U+2500..U+254B as four digits up, down, left, right:
// 0 none, 1 light, 2 heavy. (The dashed forms are drawn solid.)
constexpr const char* kBoxArms[] = {
    "0011", "0022", "1100", "2200", "0011", "0022", "1100", "2200",  // 2500
    "0011", "0022", "1100", "2200", "0101", "0102", "0201", "0202",  // 2508
    "0110", "0120", "0210", "0220", "1001", "1002", "2001", "2002",  // 2510
    "1010", "1020", "2010", "2020", "1101", "1102", "2101", "1201",  // 2518
    "2201", "2102", "1202", "2202", "1110", "1120", "2110", "1210",  // 2520
    "2210", "2120", "1220", "2220", "0111", "0121", "0112", "0122",  // 2528
    "0211", "0221", "0212", "0222", "1011", "1021", "1012", "1022",  // 2530
    "2011", "2021", "2012", "2022", "1111", "1121", "1112", "1122",  // 2538
    "2111", "1211", "2211", "2121", "2112", "1221", "1212", "2122",  // 2540
    "1222", "2221", "2212", "2222",                                  // 2548
};
static_assert(sizeof(kBoxArms) / sizeof(kBoxArms[0]) == 0x4C);

// Strokes of box-drawing characters, gathered so that a line's rulings go
// out as one batch of rectangles: a ruling across many cells becomes a single
// rectangle, which keeps PDF pages small and fast to write.
class BoxStrokes {
 public:
  explicit BoxStrokes(qreal light) : light_(light) {}

  void Add(QChar c, qreal x, qreal y, qreal w, qreal h) {
    const char* arms = kBoxArms[c.unicode() - 0x2500];
    const qreal cx = x + w / 2, cy = y + h / 2;
    // Each arm runs from the cell edge through the centre far enough to meet
    // the widest crossing arm, so corners and crossings close.
    const qreal vw = std::max(Width(arms[0]), Width(arms[1]));
    const qreal hw = std::max(Width(arms[2]), Width(arms[3]));
    if (qreal t = Width(arms[0])) Push(QRectF(cx - t / 2, y, t, h / 2 + hw / 2));
    if (qreal t = Width(arms[1])) Push(QRectF(cx - t / 2, cy - hw / 2, t, h / 2 + hw / 2));
    if (qreal t = Width(arms[2])) Push(QRectF(x, cy - t / 2, w / 2 + vw / 2, t));
    if (qreal t = Width(arms[3])) Push(QRectF(cx - vw / 2, cy - t / 2, w / 2 + vw / 2, t));
  }

  void Draw(QPainter& painter, const QBrush& brush) {
    if (rects_.isEmpty()) return;
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(brush);
    painter.drawRects(rects_.constData(), int(rects_.size()));
    painter.restore();
  }

 private:
  qreal Width(char arm) const { return arm == '2' ? 2 * light_ : arm == '1' ? light_ : 0.0; }

  // Joins a stroke to the ruling it continues: horizontal ones along the
  // line, vertical ones within the cell.
  void Push(const QRectF& r) {
    const bool horizontal = r.width() > r.height();
    qsizetype& open = horizontal ? lastHorizontal_ : lastVertical_;
    if (open >= 0) {
      QRectF& last = rects_[open];
      if (horizontal && last.top() == r.top() && last.height() == r.height() && r.left() >= last.left() &&
          r.left() <= last.right() + 1e-9) {
        last.setRight(std::max(last.right(), r.right()));
        return;
      }
      if (!horizontal && last.left() == r.left() && last.width() == r.width() && r.top() >= last.top() &&
          r.top() <= last.bottom() + 1e-9) {
        last.setBottom(std::max(last.bottom(), r.bottom()));
        return;
      }
    }
    open = rects_.size();
    rects_.append(r);
  }

  qreal light_;
  QVarLengthArray<QRectF, 64> rects_;
  qsizetype lastHorizontal_ = -1, lastVertical_ = -1;
};

bool FamilyInstalled(const QString& family) {
  return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

}  // namespace

QString ResolveFontFamily(const QString& name) {
  static const QString kFallback = [] {
    for (const char* family : {"IPAGothic", "IPAゴシック", "MS Gothic", "ＭＳ ゴシック"}) {
      if (FamilyInstalled(QString::fromUtf8(family))) return QString::fromUtf8(family);
    }
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
  }();
  const QString trimmed = name.trimmed();
  if (trimmed.isEmpty() || trimmed.startsWith(QStringLiteral("ＭＳ")) ||
      trimmed.startsWith(QStringLiteral("MS "), Qt::CaseInsensitive) || !FamilyInstalled(trimmed))
    return kFallback;
  return trimmed;
}

QString GreekFontFamily() {
  static const QString kFamily = FamilyInstalled(QStringLiteral("DejaVu Sans")) ? QStringLiteral("DejaVu Sans")
                                                                                 : QString();
  return kFamily;
}

const QRawFont* CellFonts::Greek(qreal pixelSize, bool bold, bool italic) {
  const QString family = GreekFontFamily();
  if (family.isEmpty()) return nullptr;
  const QRawFont& font = Get(family, pixelSize, bold, italic);
  return font.isValid() ? &font : nullptr;
}

const QRawFont& CellFonts::Get(const QString& family, qreal pixelSize, bool bold, bool italic) {
  const auto sizedKey = std::make_tuple(family, bold, italic, qint64(std::llround(pixelSize * 64)));
  if (auto it = sized_.find(sizedKey); it != sized_.end()) return it->second;
  const auto baseKey = std::make_tuple(family, bold, italic);
  auto base = base_.find(baseKey);
  if (base == base_.end()) {
    QFont font(family);
    font.setPixelSize(100);
    font.setBold(bold);
    font.setItalic(italic);
    font.setStyleStrategy(QFont::PreferOutline);
    base = base_.emplace(baseKey, QRawFont::fromFont(font)).first;
  }
  QRawFont sized = base->second;
  if (sized.isValid()) sized.setPixelSize(std::max<qreal>(pixelSize, 0.01));
  return sized_.emplace(sizedKey, sized).first->second;
}

int DrawCellText(QPainter& painter, const QRawFont& font, const QString& text, const CellRun& run) {
  const qreal em = font.isValid() ? font.pixelSize() : run.columnWidth * 2;
  const qreal ascent = font.isValid() ? std::min(font.ascent(), em * 0.9) : em * 0.88;
  const qreal baseline = run.topLeft.y() + (run.cellHeight - em) / 2 + ascent;
  // Rulings at least one device pixel wide on screens, so they never fade out.
  qreal light = em * 0.06;
  qreal pixel = 0;  // one screen pixel in painter units; 0 on printers and PDF
  if (QPaintDevice* device = painter.device(); device && device->logicalDpiX() < 200) {
    const qreal scale = std::sqrt(std::abs(painter.combinedTransform().determinant()));
    if (scale > 0) pixel = 1.0 / scale;
    light = std::max(light, pixel);
  }

  const QBrush brush = painter.pen().brush();
  BoxStrokes box(light);
  QVarLengthArray<quint32, 256> glyphs;
  QVarLengthArray<QPointF, 256> positions;
  QVarLengthArray<quint32, 8> greekGlyphs;
  QVarLengthArray<QPointF, 8> greekPositions;
  QVector<quint32> indexes;
  if (font.isValid()) indexes = font.glyphIndexesForString(text);
  const bool oneToOne = indexes.size() == text.size();
  int column = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    const int cells = PrintCellWidth(c);
    const qreal x = run.topLeft.x() + column * run.columnWidth;
    column += cells;
    if (IsBoxDrawing(c)) {
      box.Add(c, x, run.topLeft.y(), cells * run.columnWidth, run.cellHeight);
      continue;
    }
    if (c.isSpace()) continue;
    if (run.greek && IsGreek(c)) {
      const QVector<quint32> one = run.greek->glyphIndexesForString(QString(c));
      if (!one.isEmpty() && one.front() != 0) {
        const qreal advance = run.greek->advancesForGlyphIndexes(one).value(0).x();
        greekGlyphs.append(one.front());
        greekPositions.append(QPointF(x + (cells * run.columnWidth - advance) / 2, baseline));
        continue;
      }
    }
    if (!font.isValid()) continue;
    quint32 glyph = 0;
    if (oneToOne) {
      glyph = indexes[i];
    } else if (auto one = font.glyphIndexesForString(QString(c)); !one.isEmpty()) {
      glyph = one.front();
    }
    glyphs.append(glyph);
    positions.append(QPointF(x, baseline));
  }
  box.Draw(painter, brush);
  auto drawGlyphs = [&](const QRawFont& from, const quint32* ids, const QPointF* at, qsizetype count) {
    if (count == 0) return;
    QGlyphRun glyphRun;
    glyphRun.setRawFont(from);
    glyphRun.setRawData(ids, at, int(count));
    painter.drawGlyphRun(QPointF(0, 0), glyphRun);
    // Screen painting does not embolden raw fonts (PDF and printers do):
    // a second pass a little to the right makes bold visible there.
    if (pixel > 0 && from.weight() >= QFont::Bold) {
      painter.drawGlyphRun(QPointF(std::max(pixel, em / 24), 0), glyphRun);
    }
  };
  drawGlyphs(font, glyphs.constData(), positions.constData(), glyphs.size());
  if (run.greek) drawGlyphs(*run.greek, greekGlyphs.constData(), greekPositions.constData(), greekGlyphs.size());
  if (run.underline && column > 0) {
    const qreal y = baseline + std::max(light, em * 0.08);
    painter.fillRect(QRectF(run.topLeft.x(), y, column * run.columnWidth, light), brush);
  }
  return column;
}

// ---- figures ------------------------------------------------------------------

namespace {

// Sheets larger than this are taken for garbage: no paper is 10 m wide.
constexpr double kMaxSheetMm = 10000.0;
// Nor does any drawing file come near this size.
constexpr qint64 kMaxFigureFileBytes = 64 * 1024 * 1024;

// Only ordinary files of a sane size are read: a path naming a device or a
// huge file must not hang the replay or exhaust memory.
bool Readable(const std::string& path) {
  const QFileInfo info(QString::fromStdString(path));
  return info.isFile() && info.size() <= kMaxFigureFileBytes;
}

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

QString ReadProblem(const std::string& path, const DrawStatus& status) {
  if (status.line <= 0) return QStringLiteral("（図を読み込めませんでした：%1）").arg(Q(path));
  return QStringLiteral("（図の一部を読み込めませんでした：%1 の %2 行目）").arg(Q(path)).arg(status.line);
}

struct Pen {
  QColor colour;
  double widthMm;
  Qt::PenStyle style;
};

Pen PenOf(const FigureStyles& styles, int lineType) {
  Pen pen{Qt::black, 0.13, Qt::SolidLine};
  if (lineType < 1 || lineType > int(styles.lineTypes.size())) return pen;
  const LineType& type = styles.lineTypes[size_t(lineType - 1)];
  if (type.weightClass == 2) pen = {QColor(0, 0, 128), 0.3, Qt::SolidLine};
  if (type.weightClass == 3) pen = {QColor(128, 0, 0), 0.5, Qt::SolidLine};
  if (type.penStyle == 2) pen.style = Qt::DotLine;
  if (type.penStyle == 3) pen.style = Qt::DashLine;
  return pen;
}

// Painter state for one replay: element coordinates mapped to the painter by
// hand, so that texts and pens never see the flipped y axis.
class Replay {
 public:
  Replay(QPainter& painter, const DrawingElements& elements, double ox, double oy,
         const FigureStyles& styles, const QTransform& toPainter, CellFonts& fonts)
      : painter_(painter), elements_(elements), ox_(ox), oy_(oy), styles_(styles),
        toPainter_(toPainter), fonts_(fonts) {
    scale_ = std::sqrt(std::abs(toPainter.determinant()));
    // On screens even the thinnest pen keeps one pixel.
    if (QPaintDevice* device = painter.device(); device && device->logicalDpiX() < 200) {
      const qreal deviceScale = std::sqrt(std::abs(painter.combinedTransform().determinant()));
      if (deviceScale > 0) minWidth_ = 1.0 / deviceScale;
    }
  }

  int Run() {
    for (const DrawLine& l : elements_.lines) {
      QPointF a, b;
      if (!PointAt(l.start, a) || !PointAt(l.end, b)) continue;
      UsePen(l.lineType);
      painter_.drawLine(a, b);
    }
    for (const DrawCircle& c : elements_.circles) {
      QPointF centre;
      if (!PointAt(c.centre, centre) || !(c.radius >= 0)) continue;
      UsePen(c.lineType);
      painter_.setBrush(Qt::NoBrush);
      painter_.drawEllipse(centre, c.radius * scale_, c.radius * scale_);
    }
    for (const DrawArc& a : elements_.arcs) ReplayArc(a);
    for (const DrawFill& f : elements_.fills) ReplayFill(f);
    for (const DrawArrow& a : elements_.arrows) ReplayArrow(a);
    for (const DrawText& t : elements_.texts) ReplayText(t);
    painter_.setBrush(Qt::NoBrush);
    return skipped_;
  }

 private:
  QPointF Map(double x, double y) const { return toPainter_.map(QPointF(x + ox_, y + oy_)); }

  bool PointAt(int number, QPointF& out) {
    if (number < 1 || number > int(elements_.points.size())) {
      ++skipped_;
      return false;
    }
    const DrawPoint& p = elements_.points[size_t(number - 1)];
    out = Map(p.x, p.y);
    return true;
  }

  void UsePen(int lineType) {
    const Pen p = PenOf(styles_, lineType);
    QPen pen(p.colour, std::max(p.widthMm * scale_, minWidth_), p.style, Qt::FlatCap, Qt::MiterJoin);
    painter_.setPen(pen);
  }

  void ReplayArc(const DrawArc& a) {
    if (!(a.radius > 0)) {
      ++skipped_;
      return;
    }
    // Angles are reduced first: the file may hold any finite number of degrees.
    const double start = std::fmod(a.startDeg, 360.0);
    double sweep = std::fmod(std::fmod(a.endDeg, 360.0) - start, 360.0);
    if (!std::isfinite(sweep)) {
      ++skipped_;
      return;
    }
    if (sweep <= 0) sweep += 360.0;
    // Points on the arc in sheet millimetres (y upwards), then mapped.
    const int steps = std::clamp(int(std::ceil(sweep / 3.0)), 2, 120);
    QPainterPath path;
    for (int i = 0; i <= steps; ++i) {
      const double t = (start + sweep * i / steps) * 3.141592654 / 180.0;
      const QPointF p = Map(a.cx + a.radius * std::cos(t), a.cy + a.radius * std::sin(t));
      if (i == 0) path.moveTo(p); else path.lineTo(p);
    }
    UsePen(a.lineType);
    painter_.setBrush(Qt::NoBrush);
    painter_.drawPath(path);
  }

  void ReplayFill(const DrawFill& f) {
    QPolygonF polygon;
    for (int number : f.polygon) {
      if (number == 0) break;
      QPointF p;
      if (!PointAt(number, p)) return;
      polygon << p;
    }
    if (polygon.size() < 3) return;
    UsePen(f.lineType);
    painter_.setBrush(painter_.pen().color());
    painter_.drawPolygon(polygon);
    painter_.setBrush(Qt::NoBrush);
  }

  void ReplayArrow(const DrawArrow& a) {
    if (a.direction < 1 || a.direction > 8 || a.point < 1 || a.point > int(elements_.points.size())) {
      ++skipped_;
      return;
    }
    const DrawPoint& p = elements_.points[size_t(a.point - 1)];
    const double angle = ArrowAngleDeg(a.direction);
    auto [lx, ly] = RotatePoint(p.x - 0.5, p.y - 1.5, p.x, p.y, angle);
    auto [rx, ry] = RotatePoint(p.x + 0.5, p.y - 1.5, p.x, p.y, angle);
    UsePen(a.lineType);
    const QPointF tip = Map(p.x, p.y);
    painter_.drawLine(tip, Map(lx, ly));
    painter_.drawLine(tip, Map(rx, ry));
  }

  void ReplayText(const DrawText& t) {
    static const TextStyle kDefault = [] {
      TextStyle s;
      s.sizeTwips = 200;
      return s;
    }();
    const TextStyle* style = &kDefault;
    if (t.style >= 1 && t.style <= int(styles_.textStyles.size())) {
      style = &styles_.textStyles[size_t(t.style - 1)];
    } else if (!styles_.textStyles.empty()) {
      style = &styles_.textStyles.front();
    }
    const double size = style->SizeMm() * scale_;
    if (!(size > 0) || t.text.empty()) return;
    const QRawFont& font = fonts_.Get(ResolveFontFamily(Q(style->fontName)), size, style->bold, style->italic);
    painter_.save();
    painter_.translate(Map(t.x, t.y));
    // The anchor is the text's lower-left corner; a vertical text is the
    // horizontal one turned a quarter counter-clockwise about it.
    if (t.direction == kTextVertical) painter_.rotate(-90);
    painter_.setPen(Qt::black);
    CellRun run;
    run.topLeft = QPointF(0, -size);
    run.columnWidth = size / 2;
    run.cellHeight = size;
    run.underline = style->underline;
    run.greek = fonts_.Greek(size, style->bold, style->italic);
    DrawCellText(painter_, font, Q(t.text), run);
    painter_.restore();
  }

  QPainter& painter_;
  const DrawingElements& elements_;
  double ox_, oy_;
  const FigureStyles& styles_;
  QTransform toPainter_;
  CellFonts& fonts_;
  double scale_ = 1;
  double minWidth_ = 0;
  int skipped_ = 0;
};

}  // namespace

std::shared_ptr<const FigureStyles> LoadFigureStyles(const std::string& folder) {
  auto styles = std::make_shared<FigureStyles>();
  const std::string base = folder.empty() ? ProgramFolder() : folder;
  const std::string linePath = JoinPath(base, kLineDefFileName);
  const std::string strPath = JoinPath(base, kStrDefFileName);
  if (!ReadLineDef(linePath, styles->lineTypes))
    styles->problems << QStringLiteral("（線種の定義ﾌｧｲﾙを読み込めませんでした：%1）").arg(Q(linePath));
  if (!ReadStrDef(strPath, styles->textStyles))
    styles->problems << QStringLiteral("（文字ｽﾀｲﾙの定義ﾌｧｲﾙを読み込めませんでした：%1）").arg(Q(strPath));
  return styles;
}

LoadedFigure LoadFigure(const std::string& sheetPath, std::shared_ptr<const FigureStyles> styles) {
  LoadedFigure figure;
  figure.sheetPath = sheetPath;
  figure.styles = styles ? std::move(styles) : std::make_shared<const FigureStyles>();
  const DrawStatus sheetStatus =
      Readable(sheetPath) ? ReadSheetFile(sheetPath, figure.sheet) : DrawStatus::Fail({}, 0);
  const double w = figure.sheet.width, h = figure.sheet.height;
  if (!(w > 0 && h > 0 && w <= kMaxSheetMm && h <= kMaxSheetMm)) {
    figure.problems << (sheetStatus ? QStringLiteral("（図の大きさが正しくありません：%1）").arg(Q(sheetPath))
                                    : QStringLiteral("（図を読み込めませんでした：%1）").arg(Q(sheetPath)));
    return figure;
  }
  figure.sheetRead = true;
  figure.widthMm = w;
  figure.heightMm = h;
  if (!sheetStatus) figure.problems << ReadProblem(sheetPath, sheetStatus);
  figure.problems << figure.styles->problems;
  figure.drawings.resize(figure.sheet.drawings.size());
  for (size_t i = 0; i < figure.sheet.drawings.size(); ++i) {
    const std::string& path = figure.sheet.drawings[i].path;
    const DrawStatus status = Readable(path) ? ReadDrawingFile(path, figure.drawings[i]) : DrawStatus::Fail({}, 0);
    if (!status)
      figure.problems << ReadProblem(path, status);
  }
  return figure;
}

QTransform FigureRenderer::SheetTransform(double sheetWidthMm, double sheetHeightMm, const QRectF& target) {
  if (!(sheetWidthMm > 0 && sheetHeightMm > 0)) return {};
  const double s = std::min(target.width() / sheetWidthMm, target.height() / sheetHeightMm);
  const double left = target.left() + (target.width() - sheetWidthMm * s) / 2;
  const double bottom = target.top() + (target.height() + sheetHeightMm * s) / 2;
  return QTransform(s, 0, 0, -s, left, bottom);
}

int FigureRenderer::Draw(QPainter& painter, const LoadedFigure& figure, const QTransform& sheetToPainter) {
  if (!figure.sheetRead || !figure.styles) return 0;
  int skipped = 0;
  for (size_t i = 0; i < figure.drawings.size() && i < figure.sheet.drawings.size(); ++i) {
    const SheetDrawing& placed = figure.sheet.drawings[i];
    skipped += DrawDrawing(painter, figure.drawings[i].elements, placed.offsetX, placed.offsetY,
                           *figure.styles, sheetToPainter);
  }
  return skipped;
}

int FigureRenderer::DrawDrawing(QPainter& painter, const DrawingElements& elements, double offsetX,
                                double offsetY, const FigureStyles& styles, const QTransform& sheetToPainter) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  const int skipped = Replay(painter, elements, offsetX, offsetY, styles, sheetToPainter, fonts_).Run();
  painter.restore();
  return skipped;
}

}  // namespace hasorin
