#include "page_view.h"

#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace hasorin::preview {
namespace {

constexpr int kDeskMargin = 12;  // grey border around the page, pixels

}  // namespace

PageView::PageView(const PrintDocument& doc, const PageLayout& layout, QWidget* parent)
    : QAbstractScrollArea(parent), doc_(doc), layout_(layout), renderer_(doc, layout) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setAutoFillBackground(false);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  verticalScrollBar()->setSingleStep(20);
  horizontalScrollBar()->setSingleStep(20);
}

double PageView::PixelsPerMm() const { return logicalDpiX() / 25.4; }

double PageView::Zoom() const {
  const PageGeometry& g = layout_.geometry;
  const double ppm = PixelsPerMm();
  const double w = std::max(1, viewport()->width() - 2 * kDeskMargin);
  const double h = std::max(1, viewport()->height() - 2 * kDeskMargin);
  double zoom = factor_;
  if (mode_ == ZoomMode::FitWidth) zoom = w / (g.widthMm * ppm);
  if (mode_ == ZoomMode::FitPage) zoom = std::min(w / (g.widthMm * ppm), h / (g.heightMm * ppm));
  return std::clamp(zoom, kMinZoom, kMaxZoom);
}

QSize PageView::PageSizePx() const {
  const double s = Zoom() * PixelsPerMm();
  return QSize(int(std::lround(layout_.geometry.widthMm * s)), int(std::lround(layout_.geometry.heightMm * s)));
}

QRectF PageView::PageRect() const {
  const QSize size = PageSizePx();
  const int deskWidth = size.width() + 2 * kDeskMargin;
  // Centred when narrower than the window, else scrolled.
  double x = deskWidth <= viewport()->width() ? (viewport()->width() - size.width()) / 2.0
                                               : kDeskMargin - horizontalScrollBar()->value();
  double y = kDeskMargin - verticalScrollBar()->value();
  if (size.height() + 2 * kDeskMargin <= viewport()->height())
    y = (viewport()->height() - size.height()) / 2.0;
  return QRectF(QPointF(x, y), QSizeF(size));
}

void PageView::UpdateScrollBars() {
  const QSize size = PageSizePx();
  const QSize view = viewport()->size();
  horizontalScrollBar()->setRange(0, std::max(0, size.width() + 2 * kDeskMargin - view.width()));
  horizontalScrollBar()->setPageStep(view.width());
  verticalScrollBar()->setRange(0, std::max(0, size.height() + 2 * kDeskMargin - view.height()));
  verticalScrollBar()->setPageStep(view.height());
}

void PageView::SetPage(int page) {
  page = std::clamp(page, 0, std::max(0, PageCount() - 1));
  if (page == page_) return;
  page_ = page;
  verticalScrollBar()->setValue(0);
  viewport()->update();
  emit PageChanged(page_);
}

void PageView::ShowSlot(int page, int slot) {
  SetPage(page);
  const double s = Zoom() * PixelsPerMm();
  verticalScrollBar()->setValue(int(layout_.LineTopMm(slot) * s));
  viewport()->update();
}

void PageView::SetMode(ZoomMode mode) {
  if (mode == ZoomMode::Factor) factor_ = Zoom();
  mode_ = mode;
  UpdateScrollBars();
  viewport()->update();
  emit ZoomChanged();
}

void PageView::SetZoom(double factor) {
  // Keep the point at the top-centre of the view in place while zooming.
  const double before = Zoom();
  const double vRatio = verticalScrollBar()->maximum() > 0
                            ? double(verticalScrollBar()->value()) / verticalScrollBar()->maximum()
                            : 0.0;
  factor_ = std::clamp(factor, kMinZoom, kMaxZoom);
  mode_ = ZoomMode::Factor;
  UpdateScrollBars();
  if (before != factor_) verticalScrollBar()->setValue(int(vRatio * verticalScrollBar()->maximum()));
  horizontalScrollBar()->setValue(horizontalScrollBar()->maximum() / 2);
  viewport()->update();
  emit ZoomChanged();
}

void PageView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(), palette().color(QPalette::Dark));
  const QRectF page = PageRect();
  painter.fillRect(page.translated(3, 3), QColor(0, 0, 0, 80));
  painter.fillRect(page, Qt::white);
  painter.setClipRect(page);
  painter.setRenderHint(QPainter::Antialiasing, true);
  renderer_.Render(painter, page_, page);
}

void PageView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
  if (mode_ != ZoomMode::Factor) emit ZoomChanged();
}

void PageView::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (event->modifiers() & Qt::ControlModifier) {
    if (delta > 0) ZoomIn();
    if (delta < 0) ZoomOut();
    event->accept();
    return;
  }
  // Rolling past the end of a page turns it.
  QScrollBar* bar = verticalScrollBar();
  if (delta < 0 && bar->value() >= bar->maximum() && page_ + 1 < PageCount()) {
    SetPage(page_ + 1);
    event->accept();
    return;
  }
  if (delta > 0 && bar->value() <= bar->minimum() && page_ > 0) {
    SetPage(page_ - 1);
    bar->setValue(bar->maximum());
    event->accept();
    return;
  }
  QAbstractScrollArea::wheelEvent(event);
}

}  // namespace hasorin::preview
