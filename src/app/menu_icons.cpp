#include "menu_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <functional>

#include "drawn_icon.h"

namespace hasorin {
namespace {

const QColor kInk(0x30, 0x30, 0x30);
const QColor kPaper(0xff, 0xff, 0xff);
const QColor kConcrete(0xb8, 0xb8, 0xb0);
const QColor kSteel(0x6c, 0x7a, 0x89);
const QColor kBlue(0x1f, 0x5f, 0xbf);
const QColor kRed(0xc8, 0x32, 0x2c);
const QColor kYellow(0xf2, 0xc1, 0x3a);
const QColor kGreen(0x2e, 0x8b, 0x57);

// Draws a picture on a 32 x 32 design grid, rendered at several sizes.
QIcon Draw(const std::function<void(QPainter&)>& paint) {
  return DrawnIcon(32, {16, 24, 32, 48, 64, 96}, paint);
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& color, double width) {
  p.save();
  QPointF d = to - from;
  double len = std::hypot(d.x(), d.y());
  QPointF u = d / len, n(-u.y(), u.x());
  p.setPen(QPen(color, width, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(from, to - u * 4.5);
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  QPointF base = to - u * 6;
  p.drawPolygon(QPolygonF{to, base + n * 3.6, base - n * 3.6});
  p.restore();
}

void Sheet(QPainter& p, QRectF r) {
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(kPaper);
  QPainterPath path;
  path.moveTo(r.topLeft());
  path.lineTo(r.right() - 6, r.top());
  path.lineTo(r.right(), r.top() + 6);
  path.lineTo(r.bottomRight());
  path.lineTo(r.bottomLeft());
  path.closeSubpath();
  p.drawPath(path);
  p.drawLine(QPointF(r.right() - 6, r.top()), QPointF(r.right() - 6, r.top() + 6));
  p.drawLine(QPointF(r.right() - 6, r.top() + 6), QPointF(r.right(), r.top() + 6));
}

// A pile cap with piles below it.
void CapOnPiles(QPainter& p, double top, int piles) {
  p.setPen(QPen(kInk, 1.1));
  p.setBrush(kSteel);
  for (int i = 0; i < piles; ++i) {
    double x = 7 + i * (18.0 / std::max(1, piles - 1));
    p.drawRect(QRectF(x - 1.6, top + 6, 3.2, 30 - top - 6));
  }
  p.setBrush(kConcrete);
  p.drawRect(QRectF(3, top, 26, 7));
}

void Printer(QPainter& p) {
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(kPaper);
  p.drawRect(QRectF(9, 4, 14, 10));
  p.setBrush(QColor(0x9a, 0xa5, 0xb1));
  p.drawRoundedRect(QRectF(3, 12, 26, 11), 2, 2);
  p.setBrush(kPaper);
  p.drawRect(QRectF(9, 19, 14, 10));
  p.setPen(QPen(kInk, 1));
  p.drawLine(QPointF(11, 23), QPointF(21, 23));
  p.drawLine(QPointF(11, 26), QPointF(19, 26));
  p.setPen(Qt::NoPen);
  p.setBrush(kGreen);
  p.drawEllipse(QPointF(25.5, 15.5), 1.3, 1.3);
}

void Disk(QPainter& p) {
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(kBlue);
  QPainterPath body;
  body.moveTo(4, 4);
  body.lineTo(24, 4);
  body.lineTo(28, 8);
  body.lineTo(28, 28);
  body.lineTo(4, 28);
  body.closeSubpath();
  p.drawPath(body);
  p.setBrush(kPaper);
  p.drawRect(QRectF(8, 4, 14, 9));
  p.setBrush(QColor(0xdd, 0xe3, 0xea));
  p.drawRect(QRectF(8, 18, 16, 10));
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  p.drawRect(QRectF(17, 6, 3, 5));
}

void Pencil(QPainter& p, QPointF tip, double length) {
  p.save();
  p.translate(tip);
  p.rotate(-45);
  p.setPen(QPen(kInk, 1));
  p.setBrush(kYellow);
  p.drawRect(QRectF(5, -2.6, length - 5, 5.2));
  p.setBrush(QColor(0xf0, 0xd8, 0xb0));
  p.drawPolygon(QPolygonF{QPointF(0, 0), QPointF(5, -2.6), QPointF(5, 2.6)});
  p.restore();
}

}  // namespace

QIcon MenuIcon(int index) {
  switch (index) {
    case 0:  // conditions: a sheet of settings and a pencil
      return Draw([](QPainter& p) {
        Sheet(p, QRectF(5, 3, 19, 26));
        p.setPen(QPen(kSteel, 1.6));
        for (int i = 0; i < 5; ++i) p.drawLine(QPointF(8.5, 10 + i * 3.8), QPointF(20, 10 + i * 3.8));
        p.setPen(QPen(kBlue, 1.6));
        p.drawLine(QPointF(8.5, 6.5), QPointF(15, 6.5));
        Pencil(p, QPointF(17, 27), 17);
      });
    case 1:  // loads at the origin: a cap, a vertical and a horizontal force, a moment
      return Draw([](QPainter& p) {
        p.setPen(QPen(kInk, 1.1));
        p.setBrush(kConcrete);
        p.drawRect(QRectF(4, 19, 24, 9));
        Arrow(p, QPointF(16, 2), QPointF(16, 18), kRed, 2.4);
        Arrow(p, QPointF(1, 14), QPointF(13, 14), kRed, 2.4);
        p.setPen(QPen(kBlue, 1.8));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(18, 5, 11, 11), 200 * 16, -230 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawPolygon(QPolygonF{QPointF(18.5, 14.5), QPointF(17, 9.5), QPointF(22, 12)});
      });
    case 2:  // piles and their layout: a cap on piles
      return Draw([](QPainter& p) { CapOnPiles(p, 5, 4); });
    case 3:  // the pile-layout drawing: a plan with piles and axes
      return Draw([](QPainter& p) {
        Sheet(p, QRectF(3, 3, 26, 26));
        p.setPen(QPen(kRed, 1, Qt::DashDotLine));
        p.drawLine(QPointF(5, 16), QPointF(27, 16));
        p.drawLine(QPointF(15, 5), QPointF(15, 27));
        p.setPen(QPen(kInk, 1.3));
        p.setBrush(Qt::NoBrush);
        for (QPointF c : {QPointF(9, 10), QPointF(21, 10), QPointF(9, 22), QPointF(21, 22)})
          p.drawEllipse(c, 3.2, 3.2);
      });
    case 4:  // forces at the pile heads
      return Draw([](QPainter& p) {
        CapOnPiles(p, 14, 3);
        Arrow(p, QPointF(7, 0.5), QPointF(7, 12.5), kRed, 2.2);
        Arrow(p, QPointF(25, 0.5), QPointF(25, 12.5), kRed, 2.2);
        Arrow(p, QPointF(10, 7), QPointF(22, 7), kBlue, 2.2);
      });
    case 5:  // pile stresses: a pile with its stress diagram
      return Draw([](QPainter& p) {
        p.setPen(QPen(kInk, 1.1));
        p.setBrush(kSteel);
        p.drawRect(QRectF(6, 2, 5, 28));
        QPainterPath diagram;
        diagram.moveTo(14, 2);
        diagram.cubicTo(30, 6, 29, 12, 14, 19);
        diagram.cubicTo(20, 23, 19, 27, 14, 30);
        diagram.closeSubpath();
        p.setBrush(QColor(0xf4, 0xb4, 0xaa));
        p.setPen(QPen(kRed, 1.3));
        p.drawPath(diagram);
        p.setPen(QPen(kInk, 1.1));
        p.drawLine(QPointF(14, 1), QPointF(14, 31));
      });
    case 6:  // printing the results
      return Draw(Printer);
    case 7:  // numbering of the report headings
    default:
      return Draw([](QPainter& p) {
        Sheet(p, QRectF(4, 3, 24, 26));
        QFont f;
        f.setPixelSize(7);
        f.setBold(true);
        p.setFont(f);
        for (int i = 0; i < 3; ++i) {
          double y = 8 + i * 7.5;
          p.setPen(kBlue);
          p.drawText(QRectF(6 + i * 2, y - 4, 8, 8), Qt::AlignCenter, QString::number(i + 1));
          p.setPen(QPen(kSteel, 1.6));
          p.drawLine(QPointF(14 + i * 2, y), QPointF(24, y));
        }
      });
  }
}

QIcon ExitIcon() {
  return Draw([](QPainter& p) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(QColor(0xe8, 0xe4, 0xdc));
    p.drawRect(QRectF(4, 3, 16, 26));
    p.setBrush(QColor(0x9c, 0x6b, 0x3f));
    p.drawPolygon(QPolygonF{QPointF(4, 3), QPointF(13, 6), QPointF(13, 31), QPointF(4, 29)});
    p.setBrush(kYellow);
    p.drawEllipse(QPointF(11, 18), 1.1, 1.1);
    Arrow(p, QPointF(16, 16), QPointF(30, 16), kRed, 2.6);
  });
}

QIcon ToolbarIcon(const QString& key) {
  if (key == "New")
    return Draw([](QPainter& p) { Sheet(p, QRectF(6, 2, 20, 28)); });
  if (key == "Open")
    return Draw([](QPainter& p) {
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(QColor(0xe0, 0xb0, 0x40));
      QPainterPath back;
      back.moveTo(2, 7);
      back.lineTo(11, 7);
      back.lineTo(13, 10);
      back.lineTo(26, 10);
      back.lineTo(26, 27);
      back.lineTo(2, 27);
      back.closeSubpath();
      p.drawPath(back);
      p.setBrush(kYellow);
      p.drawPolygon(QPolygonF{QPointF(2, 27), QPointF(7, 14), QPointF(31, 14), QPointF(26, 27)});
    });
  if (key == "SaveAs")
    return Draw([](QPainter& p) {
      Disk(p);
      Pencil(p, QPointF(15, 30), 19);
    });
  if (key == "Save") return Draw(Disk);
  return Draw(Printer);
}

QIcon ProgramIcon() {
  return Draw([](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xdb, 0xe8, 0xf5));
    p.drawRoundedRect(QRectF(0, 0, 32, 32), 5, 5);
    CapOnPiles(p, 6, 4);
  });
}

}  // namespace hasorin
