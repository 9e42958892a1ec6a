#include "drawn_icon.h"

#include <QPixmap>

namespace hasorin {

QIcon DrawnIcon(double grid, std::initializer_list<int> sizes,
                const std::function<void(QPainter&)>& paint) {
  QIcon icon;
  for (int size : sizes) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / grid, size / grid);
    paint(p);
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace hasorin
