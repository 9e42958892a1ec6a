#pragma once
// Draws the pages of a laid-out print document on any QPainter: the
// previewer's page view, a printer, or a PDF file.
#include <QRectF>

#include "figure_renderer.h"
#include "page_layout.h"
#include "print_document.h"

class QPainter;

namespace hasorin::preview {

class PageRenderer {
 public:
  // Both must outlive the renderer.
  PageRenderer(const PrintDocument& doc, const PageLayout& layout) : doc_(doc), layout_(layout) {}

  // Draws page `index` (0-based) into `target`, painter coordinates; the A4
  // page is scaled to the target's width. The page is not cleared first.
  void Render(QPainter& painter, int index, const QRectF& target);

 private:
  void DrawFigure(QPainter& painter, const PlacedFigure& placed, const QRectF& target, double scale);
  void DrawNotes(QPainter& painter, const QStringList& notes, int slot, const QRectF& target, double scale);

  const PrintDocument& doc_;
  const PageLayout& layout_;
  QString family_ = ResolveFontFamily(QString());
  CellFonts fonts_;
  FigureRenderer figures_;
};

}  // namespace hasorin::preview
