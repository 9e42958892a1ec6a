#include "page_layout.h"

#include <algorithm>
#include <cmath>

namespace hasorin::preview {
namespace {

bool IsBlank(const PrintLine& line) {
  return line.kind == LineKind::Text && line.text.trimmed().isEmpty();
}

int NoteSlots(const FigureRef& figure) { return std::max(1, int(figure.notes.size())); }

// Line slots covered by something `heightMm` tall.
int SlotsOf(double heightMm, double pitchMm) { return std::max(1, int(std::ceil(heightMm / pitchMm - 1e-6))); }

// A forced page as far as its length goes: its lines up to the last one
// that is not blank (trailing blanks may run off the page unseen), and the
// figures among them.
struct ForcedPage {
  int lines = 0;
  std::vector<int> figures;
};

std::vector<ForcedPage> ForcedPages(const PrintDocument& doc) {
  std::vector<ForcedPage> pages(1);
  int count = 0;
  for (const PrintLine& line : doc.lines) {
    if (line.pageBreakBefore) {
      pages.emplace_back();
      count = 0;
    }
    ForcedPage& page = pages.back();
    ++count;
    if (line.kind == LineKind::Figure) {
      page.figures.push_back(line.figure);
    } else if (IsBlank(line)) {
      continue;
    }
    page.lines = count;
  }
  return pages;
}

// Lines the page takes at `perPage` lines a page: a figure covers more lines
// the smaller the pitch, at the size it gets at the top of a page.
int ForcedPageLength(const PrintDocument& doc, const ForcedPage& page, const PageGeometry& g, int perPage) {
  const double pitch = g.TextHeightMm() / perPage;
  int length = page.lines;
  for (int index : page.figures) {
    const FigureRef& figure = doc.figures[size_t(index)];
    const QSizeF full = FigureSizeMm(figure);
    int covered = std::min(NoteSlots(figure), perPage);
    if (!full.isEmpty()) {
      const double scale = std::min({1.0, g.TextWidthMm() / full.width(), g.TextHeightMm() / full.height()});
      covered = SlotsOf(full.height() * scale, pitch);
    }
    length += covered - 1;
  }
  return length;
}

int ChooseLinesPerPage(const PrintDocument& doc, const PageGeometry& g) {
  const int least = std::max(1, g.minLinesPerPage);
  const int most = std::max(least, g.maxLinesPerPage);
  int chosen = least;
  for (const ForcedPage& page : ForcedPages(doc)) {
    if (page.figures.empty()) {
      chosen = std::max(chosen, std::min(page.lines, most));
      continue;
    }
    // The fewest lines the page fits in; a page that fits in none keeps its
    // figure apart anyway, and smaller text would not bring it back.
    for (int n = chosen; n <= most; ++n) {
      if (ForcedPageLength(doc, page, g, n) <= n) {
        chosen = n;
        break;
      }
    }
  }
  return chosen;
}

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
  const int perPage = ChooseLinesPerPage(doc, geometry);
  layout.linesPerPage = perPage;
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
    slot += SlotsOf(h, layout.pitchMm);
  }
  // Blank lines that ran over the last page leave no empty page behind.
  if (layout.PageCount() > 1 && !pageHasContent()) layout.pages.pop_back();
  return layout;
}

}  // namespace hasorin::preview
