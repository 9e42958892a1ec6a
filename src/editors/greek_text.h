#pragma once
// Texts that hold φ (vertical angle) and ψ (plan angle) beside Japanese: the
// Japanese fonts draw the two almost alike, so only the Greek letters are
// drawn with the font the print cells use for them (DejaVu Sans where
// installed); every other character, full-width Ａ, Ｉ and Ｚ included, comes
// from the print cells' Japanese font (IPAGothic where installed, else the
// widget's font).
#include <QHeaderView>
#include <QLabel>

namespace hasorin {

// `base` with `family` ahead of its families, where that family is installed.
QFont WithFamilyFirst(const QFont& base, const QString& family);

// Width of the text drawn that way.
int GreekAwareWidth(const QString& text, const QFont& base);
// Draws the text that way into `rect`, aligned by `flags` (Qt::Alignment).
void DrawGreekAware(QPainter& painter, const QRect& rect, int flags, const QString& text,
                    const QFont& base);

// A label drawn that way; its text stays the plain text.
class GreekAwareLabel : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A header whose section texts are drawn that way.
class GreekAwareHeader : public QHeaderView {
  Q_OBJECT
 public:
  using QHeaderView::QHeaderView;

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
  QSize sectionSizeFromContents(int logicalIndex) const override;
};

}  // namespace hasorin
