#include "pile_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <functional>

#include "drawn_icon.h"

namespace hasorin {
namespace {

const QColor kIconInk(60, 60, 60);
const QColor kPaper(255, 255, 255);
const QColor kRowFill(214, 228, 245);

// Draws on a 16 x 16 design grid, at 16 and 32 pixels for sharp high-DPI toolbars.
QIcon Draw(const std::function<void(QPainter&)>& paint) { return DrawnIcon(16, {16, 32}, paint); }

void Sheet(QPainter& p, QRectF r) {
  p.setPen(QPen(kIconInk, 1));
  p.setBrush(kPaper);
  p.drawRect(r);
  p.setPen(QPen(QColor(150, 150, 150), 0.8));
  for (double y = r.top() + 3; y < r.bottom() - 1; y += 2.5)
    p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

// Three table rows; `highlight` (0..2, or -1) is drawn filled.
void Rows(QPainter& p, int highlight) {
  p.setPen(QPen(kIconInk, 1));
  for (int i = 0; i < 3; ++i) {
    p.setBrush(i == highlight ? kRowFill : kPaper);
    p.drawRect(QRectF(1.5, 2.5 + i * 4, 9, 4));
  }
}

void Plus(QPainter& p, QPointF c) {
  p.setPen(QPen(QColor(30, 140, 50), 2.2, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(c + QPointF(-3, 0), c + QPointF(3, 0));
  p.drawLine(c + QPointF(0, -3), c + QPointF(0, 3));
}

}  // namespace

QIcon PileToolIcon(const QString& key) {
  if (key == QLatin1String("Cut"))
    return Draw([](QPainter& p) {
      p.setPen(QPen(kIconInk, 1.2));
      p.drawLine(QPointF(5, 1.5), QPointF(10.5, 10));
      p.drawLine(QPointF(11, 1.5), QPointF(5.5, 10));
      p.setBrush(Qt::NoBrush);
      p.setPen(QPen(QColor(40, 70, 160), 1.4));
      p.drawEllipse(QPointF(4.5, 12.5), 2.3, 2.3);
      p.drawEllipse(QPointF(11.5, 12.5), 2.3, 2.3);
    });
  if (key == QLatin1String("Copy"))
    return Draw([](QPainter& p) {
      Sheet(p, QRectF(1.5, 1.5, 8, 10));
      Sheet(p, QRectF(6.5, 4.5, 8, 10));
    });
  if (key == QLatin1String("Paste"))
    return Draw([](QPainter& p) {
      p.setPen(QPen(kIconInk, 1));
      p.setBrush(QColor(196, 150, 90));
      p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12), 1, 1);
      p.setBrush(QColor(170, 170, 170));
      p.drawRect(QRectF(4.5, 1, 4, 3));
      Sheet(p, QRectF(6.5, 6.5, 8, 8.5));
    });
  if (key == QLatin1String("Add"))
    return Draw([](QPainter& p) {
      Rows(p, 2);
      Plus(p, QPointF(12.5, 12.5));
    });
  if (key == QLatin1String("Insert"))
    return Draw([](QPainter& p) {
      Rows(p, 1);
      Plus(p, QPointF(12.5, 8.5));
    });
  if (key == QLatin1String("Delete"))
    return Draw([](QPainter& p) {
      Rows(p, 1);
      p.setPen(QPen(QColor(200, 40, 40), 2.2, Qt::SolidLine, Qt::FlatCap));
      p.drawLine(QPointF(10, 6), QPointF(15, 11));
      p.drawLine(QPointF(15, 6), QPointF(10, 11));
    });
  return {};
}

}  // namespace hasorin
