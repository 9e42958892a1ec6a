#include "greek_text.h"

#include <QFontDatabase>
#include <QHash>
#include <QPainter>
#include <QStyleOptionHeader>

#include "figure_renderer.h"

namespace hasorin {
namespace {

struct Run {
  QString text;
  bool greek;
};

std::vector<Run> Runs(const QString& text) {
  std::vector<Run> runs;
  const bool hasGreekFont = !GreekFontFamily().isEmpty();
  for (QChar c : text) {
    const bool greek = hasGreekFont && IsGreek(c);
    if (runs.empty() || runs.back().greek != greek) runs.push_back({QString(), greek});
    runs.back().text += c;
  }
  return runs;
}

// The print cells' Japanese font where installed: a fixed-pitch font, in which
// full-width Ａ, Ｉ, Ｚ stand as wide as kanji (the proportional UI font draws
// them narrow, so that Ｉ(cm4) reads like l(cm4)).
QFont JapaneseFont(const QFont& base) { return WithFamilyFirst(base, QStringLiteral("IPAGothic")); }

QFont GreekFont(const QFont& base) {
  QFont font = base;
  font.setFamilies({GreekFontFamily()});
  return font;
}

}  // namespace

QFont WithFamilyFirst(const QFont& base, const QString& family) {
  static QHash<QString, bool> installed;  // asked at every paint: look each family up once
  auto known = installed.find(family);
  if (known == installed.end()) known = installed.insert(family, QFontDatabase::families().contains(family));
  if (!*known) return base;
  QFont font = base;
  QStringList families = base.families();
  if (families.isEmpty()) families << base.family();
  families.removeAll(family);
  font.setFamilies(QStringList{family} + families);
  return font;
}

int GreekAwareWidth(const QString& text, const QFont& base) {
  const QFontMetrics plain(JapaneseFont(base)), greek(GreekFont(base));
  int width = 0;
  for (const Run& run : Runs(text))
    width += (run.greek ? greek : plain).horizontalAdvance(run.text);
  return width;
}

void DrawGreekAware(QPainter& painter, const QRect& rect, int flags, const QString& text,
                    const QFont& base) {
  const int width = GreekAwareWidth(text, base);
  int x = rect.left();
  if (flags & Qt::AlignRight) x = rect.right() + 1 - width;
  else if (flags & Qt::AlignHCenter) x = rect.left() + (rect.width() - width) / 2;
  const QFont japanese = JapaneseFont(base);
  const QFontMetrics plain(japanese);
  int baseline = rect.top() + plain.ascent();
  if (flags & Qt::AlignVCenter) baseline = rect.top() + (rect.height() - plain.height()) / 2 + plain.ascent();
  else if (flags & Qt::AlignBottom) baseline = rect.bottom() + 1 - plain.descent();
  painter.save();
  painter.setClipRect(rect, Qt::IntersectClip);
  for (const Run& run : Runs(text)) {
    const QFont font = run.greek ? GreekFont(base) : japanese;
    painter.setFont(font);
    painter.drawText(QPoint(x, baseline), run.text);
    x += QFontMetrics(font).horizontalAdvance(run.text);
  }
  painter.restore();
}

QSize GreekAwareLabel::sizeHint() const {
  const QMargins m = contentsMargins();
  return {GreekAwareWidth(text(), font()) + m.left() + m.right() + 2 * margin(),
          QFontMetrics(JapaneseFont(font())).height() + m.top() + m.bottom() + 2 * margin()};
}

void GreekAwareLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
  DrawGreekAware(painter, contentsRect().adjusted(margin(), margin(), -margin(), -margin()),
                 int(alignment()), text(), font());
}

void GreekAwareHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  if (!rect.isValid()) return;
  // The style draws the section as usual, without its text; the text follows.
  QStyleOptionHeader option;
  initStyleOption(&option);
  option.rect = rect;
  option.section = logicalIndex;
  option.text.clear();
  if (isSortIndicatorShown() && sortIndicatorSection() == logicalIndex)
    option.sortIndicator = sortIndicatorOrder() == Qt::AscendingOrder ? QStyleOptionHeader::SortDown
                                                                       : QStyleOptionHeader::SortUp;
  if (selectionModel() && highlightSections()) {
    const bool current = orientation() == Qt::Horizontal
                             ? selectionModel()->columnIntersectsSelection(logicalIndex, rootIndex())
                             : selectionModel()->rowIntersectsSelection(logicalIndex, rootIndex());
    if (current) option.state |= QStyle::State_On;
  }
  painter->save();
  style()->drawControl(QStyle::CE_Header, &option, painter, this);
  painter->restore();
  const QString text = model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
  const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
  painter->save();
  painter->setPen(palette().color(QPalette::ButtonText));
  DrawGreekAware(*painter, rect.adjusted(margin, 0, -margin, 0), int(defaultAlignment()), text, font());
  painter->restore();
}

QSize GreekAwareHeader::sectionSizeFromContents(int logicalIndex) const {
  QSize size = QHeaderView::sectionSizeFromContents(logicalIndex);
  const QString text = model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
  const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
  size.setWidth(std::max(size.width(), GreekAwareWidth(text, font()) + 2 * margin));
  return size;
}

}  // namespace hasorin
