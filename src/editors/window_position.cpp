#include "window_position.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

#include "settings.h"

namespace hasorin {
namespace {

constexpr double kTwipsPerInch = 1440.0;

QScreen* ScreenOf(const QWidget* window) {
  QScreen* s = window ? window->screen() : nullptr;
  return s ? s : QGuiApplication::primaryScreen();
}

double Dpi(const QWidget* window, Qt::Orientation orientation) {
  QScreen* s = ScreenOf(window);
  if (!s) return 96.0;
  double dpi = orientation == Qt::Horizontal ? s->logicalDotsPerInchX() : s->logicalDotsPerInchY();
  return dpi > 0 ? dpi : 96.0;
}

}  // namespace

int TwipsToPixels(const QWidget* window, long twips, Qt::Orientation orientation) {
  double px = std::round(double(twips) * Dpi(window, orientation) / kTwipsPerInch);
  return int(std::clamp(px, double(INT_MIN / 2), double(INT_MAX / 2)));
}

long PixelsToTwips(const QWidget* window, int pixels, Qt::Orientation orientation) {
  return std::lround(double(pixels) * kTwipsPerInch / Dpi(window, orientation));
}

void PlaceWindow(QWidget* window, long topTwips, long leftTwips) {
  QScreen* s = ScreenOf(window);
  if (!s) return;
  const QRect avail = s->availableGeometry();
  const QRect desktop = s->virtualGeometry();
  const QSize size = window->frameGeometry().size();
  int y = TwipsToPixels(window, topTwips, Qt::Vertical);
  int x = TwipsToPixels(window, leftTwips, Qt::Horizontal);
  if (topTwips < 1 || y > desktop.bottom())
    y = avail.y() + std::max(0, (avail.height() - size.height()) / 2);
  if (leftTwips < 1 || x > desktop.right())
    x = avail.x() + std::max(0, (avail.width() - size.width()) / 2);
  // The client area's position, the same one SaveWindowPosition stores: a
  // window manager's frame is unknown before the window is shown, and mixing
  // the two made a window creep by its title bar on every open and close.
  window->setGeometry(QRect(QPoint(x, y), window->size()));
}

void RestoreWindowPosition(QWidget* window, std::string_view section) {
  CPrivateProfile profile;
  long top = profile.GetValueLong(SettingsFilePath(), section, "Top");
  long left = profile.GetValueLong(SettingsFilePath(), section, "Left");
  PlaceWindow(window, top, left);
}

void SaveWindowPosition(const QWidget* window, std::string_view section) {
  CPrivateProfile profile;
  const QPoint client = window->geometry().topLeft();
  profile.SetValueString(SettingsFilePath(), section, "Top",
                         std::to_string(PixelsToTwips(window, client.y(), Qt::Vertical)));
  profile.SetValueString(SettingsFilePath(), section, "Left",
                         std::to_string(PixelsToTwips(window, client.x(), Qt::Horizontal)));
}

QSize RememberedWindowSize(const QWidget* window, std::string_view section, QSize fallback) {
  CPrivateProfile profile;
  const long width = profile.GetValueLong(SettingsFilePath(), section, "Width");
  const long height = profile.GetValueLong(SettingsFilePath(), section, "Height");
  if (width > 0) fallback.setWidth(TwipsToPixels(window, width, Qt::Horizontal));
  if (height > 0) fallback.setHeight(TwipsToPixels(window, height, Qt::Vertical));
  if (QScreen* s = ScreenOf(window)) fallback = fallback.boundedTo(s->availableGeometry().size());
  return fallback;
}

void SaveWindowSize(const QWidget* window, std::string_view section) {
  CPrivateProfile profile;
  profile.SetValueString(SettingsFilePath(), section, "Width",
                         std::to_string(PixelsToTwips(window, window->width(), Qt::Horizontal)));
  profile.SetValueString(SettingsFilePath(), section, "Height",
                         std::to_string(PixelsToTwips(window, window->height(), Qt::Vertical)));
}

}  // namespace hasorin
