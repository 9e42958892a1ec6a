#include "page_renderer.h"

#include <QPainter>

namespace hasorin::preview {
namespace {

// Notes about missing figure parts stand out from the report text.
const QColor kNoteColour(160, 0, 0);

}  // namespace

void PageRenderer::Render(QPainter& painter, int index, const QRectF& target) {
  if (index < 0 || index >= layout_.PageCount()) return;
  const Page& page = layout_.pages[size_t(index)];
  const double scale = target.width() / layout_.geometry.widthMm;
  const double size = layout_.charSizeMm * scale;

  painter.save();
  painter.setPen(Qt::black);
  CellRun run;
  run.columnWidth = layout_.columnMm * scale;
  run.cellHeight = layout_.pitchMm * scale;
  for (const PlacedLine& placed : page.lines) {
    const PrintLine& line = doc_.lines[size_t(placed.line)];
    if (line.text.isEmpty()) continue;
    run.topLeft = target.topLeft() + QPointF(layout_.ColumnXMm(0), layout_.LineTopMm(placed.slot)) * scale;
    const bool bold = line.kind == LineKind::Heading1 || line.kind == LineKind::Heading2;
    run.greek = fonts_.Greek(size, bold);
    DrawCellText(painter, fonts_.Get(family_, size, bold), line.text, run);
  }
  for (const PlacedFigure& placed : page.figures) DrawFigure(painter, placed, target, scale);

  // Page number, centred in the bottom margin.
  const QString number = QStringLiteral("- %1 -").arg(index + 1);
  const PageGeometry& g = layout_.geometry;
  const double numberSize = std::min(layout_.pitchMm, 3.0);
  run.greek = nullptr;
  run.columnWidth = numberSize / 2 * scale;
  run.cellHeight = numberSize * scale;
  run.topLeft = target.topLeft() +
                QPointF((g.widthMm - PrintColumnsOf(number) * numberSize / 2) / 2,
                        g.heightMm - g.bottomMm / 2 - numberSize / 2) * scale;
  DrawCellText(painter, fonts_.Get(family_, numberSize * scale), number, run);
  painter.restore();
}

void PageRenderer::DrawFigure(QPainter& painter, const PlacedFigure& placed, const QRectF& target,
                              double scale) {
  const FigureRef& ref = doc_.figures[size_t(placed.figure)];
  if (ref.figure && placed.scale > 0) {
    const QRectF rect(target.topLeft() + placed.rectMm.topLeft() * scale, placed.rectMm.size() * scale);
    const QTransform toPainter = FigureRenderer::SheetTransform(ref.figure->widthMm, ref.figure->heightMm, rect);
    if (int skipped = figures_.Draw(painter, *ref.figure, toPainter); skipped > 0) {
      DrawNotes(painter,
                ref.notes + QStringList{QStringLiteral("（図の %1 個の要素を描けませんでした：%2）")
                                            .arg(skipped)
                                            .arg(QString::fromStdString(ref.sheetPath))},
                placed.slot, target, scale);
      return;
    }
  }
  DrawNotes(painter, ref.notes, placed.slot, target, scale);
}

void PageRenderer::DrawNotes(QPainter& painter, const QStringList& notes, int slot, const QRectF& target,
                             double scale) {
  if (notes.isEmpty()) return;
  painter.save();
  painter.setPen(kNoteColour);
  CellRun run;
  run.columnWidth = layout_.columnMm * scale;
  run.cellHeight = layout_.pitchMm * scale;
  const QRawFont& font = fonts_.Get(family_, layout_.charSizeMm * scale);
  run.greek = fonts_.Greek(layout_.charSizeMm * scale);
  for (const QString& note : notes) {
    run.topLeft = target.topLeft() + QPointF(layout_.ColumnXMm(0), layout_.LineTopMm(slot++)) * scale;
    DrawCellText(painter, font, note, run);
  }
  painter.restore();
}

}  // namespace hasorin::preview
