// The profile sheet: its contents from a run, and one painting routine in
// sheet units (0.1 mm) for the window, the printer, PDF, SVG and PNG.
#include "profile_sheet.h"

#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPrinter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <functional>

#include "numfmt.h"

namespace hasorin {
namespace {

QString FormatText(double v, const char* pattern) { return QString::fromStdString(FormatNumber(v, pattern)); }

// The smallest of 1, 2, 2.5, 5 times a power of ten at or above v (> 0).
double NiceCeil(double v) {
  const double e = std::pow(10.0, std::floor(std::log10(v)));
  for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
    if (m * e >= v * (1 - 1e-12)) return m * e;
  return 10 * e;
}

// A step of 1, 2 or 5 times a power of ten giving about `count` intervals over `span`.
double NiceStep(double span, int count) {
  const double raw = span / count, e = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0})
    if (m * e >= raw) return m * e;
  return 10 * e;
}

QFont SheetFont(int size, bool bold = false) {
  QFont f;
  f.setFamilies({"IPAGothic", "IPAPGothic", "MS Gothic"});
  f.setPixelSize(size);
  f.setBold(bold);
  return f;
}

const QColor kPlaneX(0, 90, 200), kPlaneZ(0, 140, 60), kResultant(200, 30, 30);

// One quantity of a section: the two planes and the resultant.
struct Quantity {
  const char* title;
  double scale;  // to the unit shown
  double (*x)(const engine::ProfilePoint&);
  double (*z)(const engine::ProfilePoint&);
};

const Quantity kQuantities[3] = {
    {"変位 (mm)", 1000, [](const engine::ProfilePoint& q) { return q.ux; },
     [](const engine::ProfilePoint& q) { return q.uz; }},
    {"曲げモーメント (kN･m)", 1, [](const engine::ProfilePoint& q) { return q.Mz; },
     [](const engine::ProfilePoint& q) { return q.Mx; }},
    {"せん断力 (kN)", 1, [](const engine::ProfilePoint& q) { return q.Px; },
     [](const engine::ProfilePoint& q) { return q.Pz; }},
};

void DrawPanel(QPainter& p, const QRectF& area, const Quantity& k, const ProfileSheet& s, bool withPeak) {
  const engine::PileProfile& pr = s.profile;
  const double L = std::max(pr.L, 1e-9);
  double range = 0;
  for (const engine::ProfilePoint& q : pr.points)
    range = std::max({range, std::fabs(k.x(q) * k.scale), std::fabs(k.z(q) * k.scale),
                      std::hypot(k.x(q), k.z(q)) * k.scale});
  range = range > 0 && std::isfinite(range) ? NiceCeil(range * 1.05) : 1.0;

  const QRectF plot(area.left() + 110, area.top() + 70, area.width() - 130, area.height() - 150);
  auto X = [&](double v) { return plot.center().x() + v / range * plot.width() / 2; };
  auto Y = [&](double s) { return plot.top() + s / L * plot.height(); };

  p.setFont(SheetFont(34));
  p.setPen(Qt::black);
  p.drawText(QRectF(area.left(), area.top(), area.width(), 60), Qt::AlignCenter, k.title);

  // Frame, zero line, depth ticks and value ticks.
  p.setPen(QPen(Qt::black, 3));
  p.setBrush(Qt::NoBrush);
  p.drawRect(plot);
  p.setPen(QPen(QColor(120, 120, 120), 2));
  p.drawLine(QPointF(X(0), plot.top()), QPointF(X(0), plot.bottom()));
  p.setFont(SheetFont(26));
  const double step = NiceStep(L, 8);
  for (double t = 0; t <= L * (1 + 1e-9); t += step) {
    p.setPen(QPen(QColor(220, 220, 220), 1.5));
    p.drawLine(QPointF(plot.left(), Y(t)), QPointF(plot.right(), Y(t)));
    p.setPen(Qt::black);
    p.drawText(QRectF(area.left(), Y(t) - 20, 100, 40), Qt::AlignRight | Qt::AlignVCenter, FormatText(t, "0.0"));
  }
  for (double v : {-range, 0.0, range})
    p.drawText(QRectF(X(v) - 90, plot.bottom() + 8, 180, 36), Qt::AlignCenter, QString::number(v, 'g', 6));
  p.drawText(QRectF(area.left(), plot.bottom() + 44, 100, 36), Qt::AlignRight | Qt::AlignVCenter, "s(m)");

  // The ground line.
  p.setPen(QPen(QColor(120, 80, 20), 4, Qt::DashLine));
  p.drawLine(QPointF(plot.left(), Y(pr.h)), QPointF(plot.right(), Y(pr.h)));
  p.setPen(QColor(120, 80, 20));
  p.drawText(QRectF(plot.right() - 160, Y(pr.h) - 38, 155, 34), Qt::AlignRight | Qt::AlignBottom, "地表面");

  // The curves.
  p.save();
  p.setClipRect(plot.adjusted(-2, -2, 2, 2));
  auto curve = [&](const QPen& pen, const std::function<double(const engine::ProfilePoint&)>& value) {
    QPainterPath path;
    for (size_t i = 0; i < pr.points.size(); ++i) {
      const QPointF at(X(value(pr.points[i]) * k.scale), Y(pr.points[i].s));
      if (i == 0)
        path.moveTo(at);
      else
        path.lineTo(at);
    }
    p.setPen(pen);
    p.drawPath(path);
  };
  curve(QPen(kResultant, 6), [&](const engine::ProfilePoint& q) { return std::hypot(k.x(q), k.z(q)); });
  curve(QPen(kPlaneX, 4), k.x);
  curve(QPen(kPlaneZ, 4, Qt::DashLine), k.z);
  p.restore();

  if (!withPeak || !pr.ground.found) return;
  const QPointF at(X(pr.ground.M), Y(pr.h + pr.ground.depth));
  p.setPen(QPen(kResultant, 4));
  p.setBrush(Qt::white);
  p.drawEllipse(at, 14, 14);
  p.setBrush(Qt::NoBrush);
  p.setFont(SheetFont(28));
  const QString label = "Ｍmax＝" + FormatText(pr.ground.M, "0.00") + " kN･m\n深さ " +
                        FormatText(pr.ground.depth, "0.000") + " m";
  const bool left = at.x() > plot.center().x();
  const int align = (left ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop;
  QRectF box(left ? at.x() - 420 : at.x() + 24, at.y() + 10, 396, 80);
  box = p.boundingRect(box, align, label).adjusted(-6, -2, 6, 2);
  p.fillRect(box, QColor(255, 255, 255, 220));
  p.drawText(box, Qt::AlignCenter, label);
}

void DrawTable(QPainter& p, const QRectF& area, const ProfileSheet& s) {
  const double row = 62;
  p.setPen(QPen(Qt::black, 3));
  p.drawRect(QRectF(area.left(), area.top(), area.width(), row * double(s.table.size())));
  p.setFont(SheetFont(28));
  for (size_t i = 0; i < s.table.size(); ++i) {
    const double y = area.top() + row * double(i);
    if (i > 0) {
      p.setPen(QPen(QColor(150, 150, 150), 1.5));
      p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    }
    p.setPen(Qt::black);
    p.drawText(QRectF(area.left() + 16, y, area.width() * 0.58, row), Qt::AlignLeft | Qt::AlignVCenter,
               s.table[i].first);
    p.drawText(QRectF(area.left(), y, area.width() - 16, row), Qt::AlignRight | Qt::AlignVCenter,
               s.table[i].second);
  }
}

void DrawLegend(QPainter& p, const QPointF& at) {
  const struct {
    QPen pen;
    const char* text;
  } entries[] = {{QPen(kPlaneX, 4), "部材x-y面（ux，Ｍz，Ｐx）"},
                 {QPen(kPlaneZ, 4, Qt::DashLine), "部材y-z面（uz，Ｍx，Ｐz）"},
                 {QPen(kResultant, 6), "合成（両面の二乗和平方根）"}};
  p.setFont(SheetFont(28));
  double x = at.x();
  for (const auto& e : entries) {
    p.setPen(e.pen);
    p.drawLine(QPointF(x, at.y()), QPointF(x + 110, at.y()));
    p.setPen(Qt::black);
    p.drawText(QRectF(x + 125, at.y() - 22, 520, 44), Qt::AlignLeft | Qt::AlignVCenter, e.text);
    x += 640;
  }
}

}  // namespace

ProfileSheet MakeProfileSheet(const Project& project, const engine::CalcResults& r, int pile) {
  ProfileSheet s;
  s.pile = pile;
  s.title = QString("杭体断面力分布　杭No.%1").arg(pile);
  s.profile = engine::ProfileOf(project, r, pile, 121);
  if (s.profile.points.empty()) return s;
  const engine::PileBeam& beam = s.profile.beam;
  const engine::ProfilePoint& head = s.profile.points.front();
  const engine::GroundMoment& g = s.profile.ground;
  auto add = [&s](const char* label, const QString& value) { s.table.emplace_back(label, value); };
  add("杭径Ｄ(m)", FormatText(s.profile.D, "0.000"));
  add("突出長ｈ(m)", FormatText(s.profile.h, "0.000"));
  add("杭長Ｌ(m)", FormatText(s.profile.L, "0.000"));
  add("杭頭条件", beam.hingedHead ? "ヒンジ" : "剛結");
  add("計算モデル", beam.semiInfinite ? "半無限長" : "有限長");
  add("杭先端条件", beam.semiInfinite ? "－" : beam.tip == 1 ? "ヒンジ" : beam.tip == 2 ? "自由" : "固定");
  add("β(1/m)", FormatText(beam.beta, "0.00000"));
  add("杭頭 Ｐx(kN)", FormatText(head.Px, "0.000"));
  add("杭頭 Ｐz(kN)", FormatText(head.Pz, "0.000"));
  add("杭頭 Ｍx(kN･m)", FormatText(head.Mx, "0.000"));
  add("杭頭 Ｍz(kN･m)", FormatText(head.Mz, "0.000"));
  add("杭頭 合成Ｍ(kN･m)", FormatText(head.M, "0.000"));
  add("地中部最大Ｍ(kN･m)", g.found ? FormatText(g.M, "0.000") : "－");
  add("その深さ(m)", g.found ? FormatText(g.depth, "0.000") : "－");
  add("σc+σb(N/mm2)", g.found ? FormatText(g.sigma, "0.0") : "－");
  add("κ（SKK400）", g.found ? FormatText(g.ratio[0], "0.000") : "－");
  add("κ（SKK490）", g.found ? FormatText(g.ratio[1], "0.000") : "－");
  return s;
}

void PaintProfileSheet(QPainter& p, const QRectF& target, const ProfileSheet& s) {
  p.save();
  const double scale = std::min(target.width() / kSheetWidth, target.height() / kSheetHeight);
  p.translate(target.center());
  p.scale(scale, scale);
  p.translate(-kSheetWidth / 2, -kSheetHeight / 2);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.fillRect(QRectF(0, 0, kSheetWidth, kSheetHeight), Qt::white);

  p.setPen(Qt::black);
  p.setFont(SheetFont(48, true));
  p.drawText(QRectF(100, 60, 2000, 80), Qt::AlignLeft | Qt::AlignVCenter, s.title);
  if (s.profile.points.empty()) {
    p.setFont(SheetFont(36));
    p.drawText(QRectF(100, 200, 2700, 80), Qt::AlignLeft, "この杭の断面力分布はありません。");
    p.restore();
    return;
  }
  for (int k = 0; k < 3; ++k)
    DrawPanel(p, QRectF(80 + 650 * k, 170, 630, 1770), kQuantities[k], s, k == 1);
  DrawLegend(p, QPointF(190, 2010));
  DrawTable(p, QRectF(2060, 240, 830, 0), s);
  p.setPen(Qt::black);
  p.setFont(SheetFont(26));
  p.drawText(QRectF(2060, 260 + 62 * double(s.table.size()), 830, 200), Qt::AlignLeft | Qt::TextWordWrap,
             "s：杭頭から杭軸に沿った距離（m）\n深さ：地表面から杭軸に沿った距離\n"
             "変位・断面力は部材座標系（杭頭作用力と同じ符号）");
  p.restore();
}

bool PrintProfileSheet(QPrinter& printer, const ProfileSheet& sheet) {
  printer.setPageOrientation(QPageLayout::Landscape);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  PaintProfileSheet(painter, QRectF(QPointF(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size()),
                    sheet);
  return painter.end();
}

QString SaveProfileSheet(const ProfileSheet& sheet, const QString& path) {
  const QString failed = "ﾌｧｲﾙ「" + path + "」に保存できませんでした。";
  const QString suffix = QFileInfo(path).suffix().toLower();
  QPainter painter;
  if (suffix == "svg") {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(int(kSheetWidth), int(kSheetHeight)));
    svg.setViewBox(QRectF(0, 0, kSheetWidth, kSheetHeight));
    svg.setResolution(254);  // one unit is 0.1 mm
    svg.setTitle(sheet.title);
    if (!painter.begin(&svg)) return failed;
    PaintProfileSheet(painter, QRectF(0, 0, kSheetWidth, kSheetHeight), sheet);
    painter.end();
  } else if (suffix == "png") {
    QImage image(int(kSheetWidth / 2), int(kSheetHeight / 2), QImage::Format_RGB32);  // 127 dpi
    image.setDotsPerMeterX(5000);
    image.setDotsPerMeterY(5000);
    image.fill(Qt::white);
    painter.begin(&image);
    PaintProfileSheet(painter, QRectF(0, 0, image.width(), image.height()), sheet);
    painter.end();
    if (!image.save(path, "PNG")) return failed;
  } else {
    QPdfWriter pdf(path);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageOrientation(QPageLayout::Landscape);
    pdf.setResolution(300);
    pdf.setTitle(sheet.title);
    if (!painter.begin(&pdf)) return failed;
    PaintProfileSheet(painter, QRectF(0, 0, pdf.width(), pdf.height()), sheet);
    if (!painter.end()) return failed;
  }
  const QFileInfo written(path);
  return written.exists() && written.size() > 0 ? QString() : failed;
}

}  // namespace hasorin
