#pragma once
// The figure renderer: replays figure sheets and drawing files on any
// QPainter (previewer pages, PDF, the drawing window).
//
// Fixed-pitch text in print cells, shared by the page renderer of the
// previewer and the figure renderer: every character is placed at its own
// column (one column for ASCII and half-width katakana, two for the rest, as
// CP932 counts bytes), so tables line up whatever the font's advances are.
// Box-drawing characters are drawn as strokes that fill their cell, so rulings
// join across columns and lines. Greek letters may come from a font of their
// own, centred in their two-column cell.
#include <QChar>
#include <QColor>
#include <QPointF>
#include <QRawFont>
#include <QString>
#include <QStringList>
#include <QTransform>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "drawing_file.h"

class QPainter;

namespace hasorin {

// Print columns of one character: 1 for ASCII and half-width katakana, 2 otherwise.
constexpr int PrintCellWidth(QChar c) {
  const char16_t u = c.unicode();
  return (u < 0x81 || (u >= 0xFF61 && u <= 0xFF9F) || (u >= 0xF8F0 && u <= 0xF8F3)) ? 1 : 2;
}

// True for the box-drawing characters drawn as strokes (U+2500..U+254B).
constexpr bool IsBoxDrawing(QChar c) { return c.unicode() >= 0x2500 && c.unicode() <= 0x254B; }

// True for the Greek letters U+0391..U+03C9.
constexpr bool IsGreek(QChar c) { return c.unicode() >= 0x0391 && c.unicode() <= 0x03C9; }

// The family Greek letters are drawn with: IPAGothic draws φ (vertical
// angle) and ψ (plan angle) almost alike, so DejaVu Sans where installed;
// empty where it is not (the letters then keep the text's own font).
QString GreekFontFamily();

// The installed family used for a font name of the definition files: the
// Japanese Windows fonts and any font not installed map to IPAGothic (or, where
// that is missing too, the system's fixed-pitch font).
QString ResolveFontFamily(const QString& name);

// Raw fonts by family, weight, slant and pixel size, made once and reused.
class CellFonts {
 public:
  const QRawFont& Get(const QString& family, qreal pixelSize, bool bold = false, bool italic = false);
  // The font of GreekFontFamily(); null where that is not installed.
  const QRawFont* Greek(qreal pixelSize, bool bold = false, bool italic = false);

 private:
  std::map<std::tuple<QString, bool, bool>, QRawFont> base_;
  std::map<std::tuple<QString, bool, bool, qint64>, QRawFont> sized_;
};

struct CellRun {
  QPointF topLeft;        // top-left corner of the first cell, painter coordinates
  qreal columnWidth = 0;  // width of one print column
  qreal cellHeight = 0;   // height of the cell (the line pitch): rulings span it
  bool underline = false;
  const QRawFont* greek = nullptr;  // Greek letters (same pixel size); null: the main font
};

// Draws `text` cell by cell in the painter's pen colour with `font` (whose
// pixel size is the character size, in painter units). Returns the number of
// columns used.
int DrawCellText(QPainter& painter, const QRawFont& font, const QString& text, const CellRun& run);

// ---- figures ------------------------------------------------------------------

// The two definition tables a replay needs, with what went wrong reading them
// (a missing table leaves every line thin, black and solid, and every text in
// the default style).
struct FigureStyles {
  LineTypeTable lineTypes;
  TextStyleTable textStyles;
  QStringList problems;
};

// Reads LINE_PRN.DEF and STR_PRN.DEF from `folder` (empty: the program folder).
std::shared_ptr<const FigureStyles> LoadFigureStyles(const std::string& folder = {});

// A figure sheet and every drawing it lists, read into memory.
struct LoadedFigure {
  std::string sheetPath;
  bool sheetRead = false;          // false: nothing to draw, see problems
  SheetFile sheet;
  std::vector<DrawingFile> drawings;  // one per sheet entry; empty where unread
  std::shared_ptr<const FigureStyles> styles;
  QStringList problems;            // one Japanese note per part that could not be read
  double widthMm = 0, heightMm = 0;  // the sheet's size; 0 when unusable
};

// Reads the sheet and its drawings. Never fails: what cannot be read is
// listed in `problems` (a sheet without a usable size counts as unread).
LoadedFigure LoadFigure(const std::string& sheetPath, std::shared_ptr<const FigureStyles> styles);

// Replays drawings with the line-type and text-style rules of the definition
// files: weight class 2 a wide dark-blue pen, class 3 a wider dark-red pen,
// anything else a thin black one; pen style 2 dotted, 3 dashed; texts
// horizontal (direction 3) or turned a quarter counter-clockwise (direction 1).
class FigureRenderer {
 public:
  // Maps sheet millimetres (origin at the lower-left corner, y upwards) onto
  // `target` in painter coordinates: uniformly scaled to fit and centred.
  static QTransform SheetTransform(double sheetWidthMm, double sheetHeightMm, const QRectF& target);

  // Draws every drawing of the figure. Returns how many elements could not
  // be drawn (references to missing points, unknown arrow codes).
  int Draw(QPainter& painter, const LoadedFigure& figure, const QTransform& sheetToPainter);
  // One drawing placed on the sheet at (offsetX, offsetY) mm.
  int DrawDrawing(QPainter& painter, const DrawingElements& elements, double offsetX, double offsetY,
                  const FigureStyles& styles, const QTransform& sheetToPainter);

 private:
  CellFonts fonts_;
};

}  // namespace hasorin
