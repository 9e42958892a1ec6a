// The explanatory figure of the loads editor: three views of a pile cap on
// piles. Plan: x right, z up (y into the ground, away from the viewer).
// Side view beside it: z up, y to the right. Elevation below: x right, y down.
// Forces are drawn from O in their positive direction, moments as arcs
// turning by the right-hand rule about an axis normal to the view.
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "inp_gairyoku.h"

namespace hasorin {
namespace {

const QColor kInk(0x20, 0x20, 0x20);
const QColor kLoad(0x1a, 0x4f, 0xa8);
const QColor kCap(0xe4, 0xe4, 0xe4);
const QColor kPile(0xf7, 0xf7, 0xf7);
constexpr double kDeg = 3.14159265358979 / 180.0;

// A point at math angle `deg` (counter-clockwise as seen) and radius r from c.
QPointF Polar(QPointF c, double r, double deg) {
  return c + QPointF(r * std::cos(deg * kDeg), -r * std::sin(deg * kDeg));
}

void ArrowHead(QPainter& p, QPointF tip, QPointF direction, double size) {
  double len = std::hypot(direction.x(), direction.y());
  if (len == 0) return;
  QPointF u = direction / len, n(-u.y(), u.x());
  QPointF base = tip - u * size;
  QPolygonF head{tip, base + n * (size * 0.42), base - n * (size * 0.42)};
  p.save();
  p.setBrush(p.pen().color());
  p.setPen(Qt::NoPen);
  p.drawPolygon(head);
  p.restore();
}

void Arrow(QPainter& p, QPointF from, QPointF to, double head) {
  QPointF d = to - from;
  double len = std::hypot(d.x(), d.y());
  if (len == 0) return;
  p.drawLine(from, to - d / len * (head * 0.6));
  ArrowHead(p, to, d, head);
}

void Axis(QPainter& p, QPointF from, QPointF to, const QString& name, QPointF labelOffset) {
  p.save();
  p.setPen(QPen(kInk, 1.0));
  Arrow(p, from, to, 7);
  p.drawText(QRectF(to + labelOffset - QPointF(10, 8), QSizeF(20, 16)), Qt::AlignCenter, name);
  p.restore();
}

void Force(QPainter& p, QPointF from, QPointF to, const QString& name, QPointF labelAt) {
  p.save();
  p.setPen(QPen(kLoad, 2.2, Qt::SolidLine, Qt::FlatCap));
  Arrow(p, from, to, 9);
  p.drawText(QRectF(labelAt - QPointF(18, 8), QSizeF(36, 16)), Qt::AlignCenter, name);
  p.restore();
}

// An arc of radius r about c from math angle a0 sweeping `span` degrees
// (positive: counter-clockwise as seen), with the head at its end.
void Moment(QPainter& p, QPointF c, double r, double a0, double span, const QString& name,
            QPointF labelAt) {
  p.save();
  p.setPen(QPen(kLoad, 1.8));
  p.setBrush(Qt::NoBrush);
  QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
  double shorten = span > 0 ? -12 : 12;  // leave room for the head
  p.drawArc(box, int(a0 * 16), int((span + shorten) * 16));
  double a1 = a0 + span;
  QPointF tip = Polar(c, r, a1);
  // Tangent of the sweep at its end, in screen coordinates.
  double s = span > 0 ? 1 : -1;
  QPointF tangent(-std::sin(a1 * kDeg) * s, -std::cos(a1 * kDeg) * s);
  ArrowHead(p, tip, tangent, 8);
  p.drawText(QRectF(labelAt - QPointF(20, 8), QSizeF(40, 16)), Qt::AlignCenter, name);
  p.restore();
}

void Origin(QPainter& p, QPointF o, QPointF labelOffset) {
  p.save();
  p.setPen(QPen(kInk, 1));
  p.setBrush(kInk);
  p.drawEllipse(o, 2.2, 2.2);
  p.drawText(QRectF(o + labelOffset - QPointF(8, 8), QSizeF(16, 16)), Qt::AlignCenter, "O");
  p.restore();
}

void Title(QPainter& p, QPointF at, const QString& text) {
  p.save();
  QFont f = p.font();
  f.setBold(true);
  p.setFont(f);
  p.setPen(kInk);
  p.drawText(at, text);
  p.restore();
}

// An angle mark from `fromDeg` sweeping `span` about c, with its label.
void AngleMark(QPainter& p, QPointF c, double r, double fromDeg, double span, const QString& text,
               QPointF labelAt) {
  p.save();
  p.setPen(QPen(kInk, 1));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), int(fromDeg * 16), int(span * 16));
  p.drawText(QRectF(labelAt - QPointF(20, 8), QSizeF(40, 16)), Qt::AlignCenter, text);
  p.restore();
}

void DashedLine(QPainter& p, QPointF a, QPointF b) {
  p.save();
  p.setPen(QPen(kInk, 1, Qt::DashLine));
  p.drawLine(a, b);
  p.restore();
}

void Plan(QPainter& p) {
  const QPointF o(76, 108);
  Title(p, {6, 16}, QStringLiteral("平面図"));
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(kCap);
  p.drawRect(QRectF(o.x() - 54, o.y() - 54, 108, 108));
  const double d = 36, r = 7;
  p.setBrush(kPile);
  for (QPointF at : {QPointF(-d, -d), QPointF(d, -d), QPointF(-d, d), QPointF(d, d)})
    p.drawEllipse(o + at, r, r);

  // Inclined piles: the arrow shows the direction the pile leans, at ψ from +x.
  const QPointF upper = o + QPointF(d, -d), lower = o + QPointF(d, d);
  for (auto [pile, psi, label] : {std::tuple{upper, 40.0, QStringLiteral("ψ>0")},
                                  std::tuple{lower, -40.0, QStringLiteral("ψ<0")}}) {
    DashedLine(p, pile, pile + QPointF(28, 0));
    p.save();
    p.setPen(QPen(kInk, 1.2));
    Arrow(p, pile, Polar(pile, 26, psi), 6);
    p.restore();
    AngleMark(p, pile, 17, 0, psi, label, Polar(pile, 30, psi / 2) + QPointF(8, 0));
  }

  Axis(p, o, o + QPointF(68, 0), "x", QPointF(0, -10));
  Axis(p, o, o + QPointF(0, -84), "z", QPointF(10, 2));
  Force(p, o, o + QPointF(44, 0), "Xo", o + QPointF(30, 11));
  Force(p, o, o + QPointF(0, -44), "Zo", o + QPointF(12, -36));
  // y points away from the viewer: a positive moment about it turns clockwise.
  Moment(p, o, 17, 200, -250, "Myo", o + QPointF(-32, 22));
  Origin(p, o, QPointF(-8, 9));
}

void SideView(QPainter& p) {
  const QPointF o(206, 108);
  Title(p, {176, 16}, QStringLiteral("側面図"));
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(kPile);
  for (double z : {-36.0, 36.0}) p.drawRect(QRectF(o.x() + 16, o.y() + z - 5, 72, 10));
  p.setBrush(kCap);
  p.drawRect(QRectF(o.x(), o.y() - 54, 16, 108));

  Axis(p, o, o + QPointF(84, 0), "y", QPointF(-4, -10));
  Axis(p, o, o + QPointF(0, -84), "z", QPointF(10, 2));
  Force(p, o + QPointF(-38, 0), o, "Yo", o + QPointF(-26, -10));
  Force(p, o, o + QPointF(0, -44), "Zo", o + QPointF(-13, -36));
  // x points towards the viewer: a positive moment about it turns counter-clockwise.
  Moment(p, o, 17, 100, 160, "Mxo", o + QPointF(-20, 30));
  Origin(p, o, QPointF(8, 9));
}

void Elevation(QPainter& p) {
  const QPointF o(138, 232);
  Title(p, {6, 204}, QStringLiteral("正面図"));
  const double capTop = o.y(), capBottom = o.y() + 18, tipY = 342;
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(kPile);
  // A vertical pile on the left, one leaning towards +x on the right.
  p.drawRect(QRectF(o.x() - 62, capBottom, 12, tipY - capBottom));
  const double phi = 16;
  const QPointF head(o.x() + 56, capBottom);
  const double len = tipY - capBottom;
  const QPointF tip = head + QPointF(len * std::tan(phi * kDeg), len);
  QPointF axis = tip - head, n(-axis.y(), axis.x());
  n /= std::hypot(n.x(), n.y());
  p.drawPolygon(QPolygonF{head + n * 6, tip + n * 6, tip - n * 6, head - n * 6});
  p.setBrush(kCap);
  p.drawRect(QRectF(o.x() - 88, capTop, 176, capBottom - capTop));

  DashedLine(p, head, head + QPointF(0, 78));
  AngleMark(p, head, 58, 270, phi, QStringLiteral("φ>0"), head + QPointF(46, 70));

  Axis(p, o, o + QPointF(146, 0), "x", QPointF(-2, -10));
  Axis(p, o, o + QPointF(0, 110), "y", QPointF(10, -2));
  Force(p, o, o + QPointF(48, 0), "Xo", o + QPointF(34, -11));
  Force(p, o + QPointF(0, -40), o, "Yo", o + QPointF(14, -34));
  // z points away from the viewer: a positive moment about it turns clockwise.
  Moment(p, o, 17, 170, -140, "Mzo", o + QPointF(-36, -16));
  Origin(p, o, QPointF(-9, 9));
}

}  // namespace

LoadsFigure::LoadsFigure(QWidget* parent) : QWidget(parent) {
  setFixedSize(300, 350);
}

void LoadsFigure::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(rect(), Qt::white);
  p.setPen(QPen(palette().color(QPalette::Mid), 1));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  // Latin and Greek labels in a face whose ψ does not look like φ; the view
  // titles fall back to the Japanese font.
  QFont f = font();
  f.setFamilies({"DejaVu Sans", "Arial", "Segoe UI"});
  f.setPointSizeF(8.5);
  p.setFont(f);
  Plan(p);
  SideView(p);
  Elevation(p);
}

}  // namespace hasorin
