#include "page_layout.h"

#include <algorithm>
#include <cmath>

namespace hasorin::preview {
namespace {

bool IsBlank(const PrintLine& line) {
  return line.kind == LineKind::Text && line.text.trimmed().isEmpty();
}

int NoteSlots(const FigureRef& figure) { return std::max(1, int(figure.notes.size())); }

}  // namespace

int PrintColumnsOf(const QString& text) {
  int columns = 0;
  for (QChar c : text) columns += PrintCellWidth(c);
  return columns;
}

QSizeF FigureSizeMm(const FigureRef& figure) {
  if (!figure.Loaded()) return {};
  return QSizeF(figure.figure->widthMm, figure.figure->heightMm);
}

PageLayout LayoutDocument(const PrintDocument& doc, const PageGeometry& geometry) {
  PageLayout layout;
  layout.geometry = geometry;
  const int perPage = std::max(1, geometry.linesPerPage);
  const double textWidth = geometry.TextWidthMm();

  for (const PrintLine& line : doc.lines) {
    if (line.kind != LineKind::Figure) layout.maxColumns = std::max(layout.maxColumns, PrintColumnsOf(line.text));
  }
  layout.pitchMm = geometry.TextHeightMm() / perPage;
  double size = layout.pitchMm;
  if (layout.maxColumns > 0) size = std::min(size, 2.0 * textWidth / layout.maxColumns);
  layout.charSizeMm = std::max(size, std::min(kMinCharSizeMm, layout.pitchMm));
  layout.columnMm = layout.charSizeMm / 2.0;

  layout.pages.emplace_back();
  int slot = 0;
  bool skipBlanks = false;  // blank lines at the top of an overflow page are dropped
  auto pageHasContent = [&] {
    const Page& p = layout.pages.back();
    return !p.lines.empty() || !p.figures.empty();
  };
  auto newPage = [&] {
    layout.pages.emplace_back();
    slot = 0;
  };

  for (int i = 0; i < int(doc.lines.size()); ++i) {
    const PrintLine& line = doc.lines[size_t(i)];
    if (line.pageBreakBefore && pageHasContent()) {
      newPage();
      skipBlanks = false;
    }
    if (slot >= perPage) {
      newPage();
      skipBlanks = true;
    }
    if (skipBlanks && IsBlank(line)) continue;
    skipBlanks = false;

    if (line.kind != LineKind::Figure) {
      layout.pages.back().lines.push_back({i, slot});
      if (line.kind != LineKind::Text) {
        const QString text = line.text.trimmed();
        if (!text.isEmpty()) {
          layout.headings.push_back({line.kind == LineKind::Heading1 ? 1 : 2, text,
                                     layout.PageCount() - 1, slot});
        }
      }
      ++slot;
      continue;
    }

    const FigureRef& figure = doc.figures[size_t(line.figure)];
    PlacedFigure placed;
    placed.figure = line.figure;
    const QSizeF full = FigureSizeMm(figure);
    if (full.isEmpty()) {
      // Only notes: one line each.
      const int rows = std::min(NoteSlots(figure), perPage);
      if (slot + rows > perPage && pageHasContent()) newPage();
      placed.slot = slot;
      placed.rectMm = QRectF(geometry.leftMm, layout.LineTopMm(slot), textWidth, rows * layout.pitchMm);
      placed.scale = 0;
      layout.pages.back().figures.push_back(placed);
      slot += rows;
      continue;
    }
    // A figure that would have to shrink to fit below the text already on
    // the page goes to the top of the next page instead, where it has room.
    const double pageHeight = perPage * layout.pitchMm;
    double room = (perPage - slot) * layout.pitchMm;
    if (full.height() > room + 1e-9 && room < pageHeight && pageHasContent()) {
      newPage();
      room = pageHeight;
    }
    placed.slot = slot;
    placed.scale = std::min({1.0, textWidth / full.width(), room / full.height()});
    const double w = full.width() * placed.scale;
    const double h = full.height() * placed.scale;
    placed.rectMm = QRectF(geometry.leftMm + (textWidth - w) / 2.0, layout.LineTopMm(slot), w, h);
    layout.pages.back().figures.push_back(placed);
    slot += std::max(1, int(std::ceil(h / layout.pitchMm - 1e-6)));
  }
  return layout;
}

}  // namespace hasorin::preview
