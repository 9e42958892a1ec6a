#pragma once
// The previewer's page view: one page at a time on a grey desk, zoomed to the
// page width, the whole page, or a chosen factor, scrolled when larger than
// the window.
#include <QAbstractScrollArea>
#include <memory>

#include "page_layout.h"
#include "page_renderer.h"
#include "print_document.h"

namespace hasorin::preview {

enum class ZoomMode { FitWidth = 0, FitPage = 1, Factor = 2 };

class PageView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  // Zoom factors: 1.0 shows the page at its size on paper.
  static constexpr double kMinZoom = 0.1;
  static constexpr double kMaxZoom = 8.0;
  static constexpr double kZoomStep = 1.25;

  PageView(const PrintDocument& doc, const PageLayout& layout, QWidget* parent = nullptr);

  int CurrentPage() const { return page_; }  // 0-based
  int PageCount() const { return layout_.PageCount(); }
  ZoomMode Mode() const { return mode_; }
  // The factor in use (also in the fit modes).
  double Zoom() const;

  void SetPage(int page);              // clamped to the document
  void ShowSlot(int page, int slot);   // a page, scrolled so that the line is at the top
  void SetMode(ZoomMode mode);
  void SetZoom(double factor);         // switches to ZoomMode::Factor
  void ZoomIn() { SetZoom(Zoom() * kZoomStep); }
  void ZoomOut() { SetZoom(Zoom() / kZoomStep); }

 signals:
  void PageChanged(int page);
  void ZoomChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  double PixelsPerMm() const;  // at zoom 1
  QSize PageSizePx() const;
  QRectF PageRect() const;     // the page in viewport coordinates
  void UpdateScrollBars();

  const PrintDocument& doc_;
  const PageLayout& layout_;
  PageRenderer renderer_;
  int page_ = 0;
  ZoomMode mode_ = ZoomMode::FitWidth;
  double factor_ = 1.0;
};

}  // namespace hasorin::preview
