#pragma once
// Window positions as the settings file keeps them: twips (1/1440 inch) at the
// logical resolution of the screen. A position of 0, or one that no screen
// shows, places the window in the centre of the screen.
#include <QSize>
#include <Qt>
#include <string_view>

class QWidget;

namespace hasorin {

int TwipsToPixels(const QWidget* window, long twips, Qt::Orientation orientation);
long PixelsToTwips(const QWidget* window, int pixels, Qt::Orientation orientation);

// Top/Left are those of the window's client area, in saving and restoring alike.
// Moves the window to Top/Left given in twips, centring it on the screen
// along each axis whose value is below 1 or beyond the screen.
void PlaceWindow(QWidget* window, long topTwips, long leftTwips);

// Reads "Top"/"Left" of the section from the settings file and places the
// window; writes the window's current Top/Left back.
void RestoreWindowPosition(QWidget* window, std::string_view section);
void SaveWindowPosition(const QWidget* window, std::string_view section);

// The "Width"/"Height" of the section applied to `fallback` where they are
// positive, at most the screen's available size; writes the window's size back.
QSize RememberedWindowSize(const QWidget* window, std::string_view section, QSize fallback);
void SaveWindowSize(const QWidget* window, std::string_view section);

}  // namespace hasorin
