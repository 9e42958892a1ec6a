#pragma once
// Icons painted in code on a square design grid, rendered at several pixel
// sizes so that toolbars stay sharp on high-DPI screens.
#include <QIcon>
#include <QPainter>
#include <functional>
#include <initializer_list>

namespace hasorin {

// `paint` draws on a grid x grid canvas; one pixmap per entry of `sizes`.
QIcon DrawnIcon(double grid, std::initializer_list<int> sizes,
                const std::function<void(QPainter&)>& paint);

}  // namespace hasorin
