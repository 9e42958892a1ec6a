#pragma once
// Paging of a print document onto A4 portrait pages. Everything here is in
// millimetres on the page (origin at the top-left corner, y downwards).
//
// The report writer pages its tables itself with form feeds, and a table
// page (rows, separators and header) runs to about 116 lines. So the lines
// per page of a document are those of its longest forced page (the text
// between two form feeds), but at least 100 and at most 130: a forced page
// then stays one page, and only a page longer than 130 lines continues on
// the next. The text is set in one fixed-pitch font for the whole document:
// one print column per CP932 byte (a full-width character takes two), line
// pitch = text height / lines per page, and the character size chosen so
// that the widest line fits between the margins too. A figure line reserves
// the lines its sheet covers.
#include <QRectF>
#include <QString>
#include <vector>

#include "print_document.h"

namespace hasorin::preview {

struct PageGeometry {
  double widthMm = 210.0;   // A4 portrait
  double heightMm = 297.0;
  double leftMm = 20.0;     // room for binding on the left
  double rightMm = 15.0;
  double topMm = 15.0;
  double bottomMm = 20.0;   // the page number sits in the bottom margin
  int minLinesPerPage = 100;
  int maxLinesPerPage = 130; // below ~2 mm a line is no longer legible

  double TextWidthMm() const { return widthMm - leftMm - rightMm; }
  double TextHeightMm() const { return heightMm - topMm - bottomMm; }
};

// Smallest character size used, however wide the widest line: wider lines
// run into the right margin rather than become unreadable.
inline constexpr double kMinCharSizeMm = 1.0;

struct PlacedLine {
  int line = 0;  // index into PrintDocument::lines
  int slot = 0;  // 0-based line position on the page
};

struct PlacedFigure {
  int figure = -1;  // index into PrintDocument::figures
  int slot = 0;     // line position of the figure line
  QRectF rectMm;    // where the sheet is drawn (its full size times `scale`)
  double scale = 1.0;
};

struct Page {
  std::vector<PlacedLine> lines;
  std::vector<PlacedFigure> figures;
};

struct Heading {
  int level = 1;  // 1 chapter, 2 section
  QString text;   // trimmed heading text
  int page = 0;   // 0-based
  int slot = 0;
};

struct PageLayout {
  PageGeometry geometry;
  int linesPerPage = 0;    // chosen for this document (see above)
  double charSizeMm = 0;   // em of the font: a full-width character's width
  double columnMm = 0;     // one print column: half the character size
  double pitchMm = 0;      // distance between lines
  int maxColumns = 0;      // widest line, in print columns
  std::vector<Page> pages; // never empty
  std::vector<Heading> headings;

  double LineTopMm(int slot) const { return geometry.topMm + slot * pitchMm; }
  double ColumnXMm(int column) const { return geometry.leftMm + column * columnMm; }
  int PageCount() const { return int(pages.size()); }
};

// Print columns of a text: one for ASCII and half-width katakana, two for
// every other character, as in CP932.
int PrintColumnsOf(const QString& text);

// The figure's size on paper (mm) before any scaling; (0, 0) when the sheet
// could not be read (its notes then take the figure's place).
QSizeF FigureSizeMm(const FigureRef& figure);

PageLayout LayoutDocument(const PrintDocument& doc, const PageGeometry& geometry = {});

}  // namespace hasorin::preview
