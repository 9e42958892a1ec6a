#pragma once
// Drawings on paper as the previewer and the drawing window replay them: the
// drawing file, the figure sheet file and the two definition files.
//
// The model (all lengths in millimetres on paper, x to the right, y upwards):
//
//  DrawingElements  numbered element lists. Element k of a vector is record
//                   k + 1 of its section; point references are 1-based
//                   numbers into `points` and always valid in a model that
//                   came from ReadDrawingFile.
//     points   (x, y)
//     rects    four integers; carried through, nothing draws them
//     lines    start point -> end point, line type
//     circles  centre point, radius, line type (unfilled)
//     arcs     centre (x, y), radius, start and end angle in degrees
//              (counter-clockwise from +x), line type
//     fills    line type, a second integer, polygon as point numbers
//     arrows   arrow head at a point, direction code 1..8 (1 up, 2 up-right,
//              3 right, ... 7 left, 8 up-left), line type. The head is the two
//              strokes P -> (P.x -/+ 0.5, P.y - 1.5) turned by ArrowAngleDeg.
//     texts    UTF-8 text, anchor (x, y), text style, direction:
//              3 horizontal, lower-left corner at the anchor;
//              1 vertical (turned a quarter counter-clockwise), covering
//                x from anchor.x - size to anchor.x, y from anchor.y upwards.
//  Line types index LINE_PRN.DEF (LineTypeTable), text styles STR_PRN.DEF
//  (TextStyleTable), both 1-based.
//
//  DrawingFile      caption, title, extent and the elements of one file.
//  SheetFile        title, sheet size and up to three drawings; a drawing
//                   point (x, y) lies on the sheet at (x + offsetX, y + offsetY),
//                   the sheet's lower-left corner being (0, 0).
//
// Readers are tolerant: a malformed record stops the read, the status names
// the line, and the model keeps everything read before it, so a replay draws
// up to there.
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tempfiles.h"

namespace hasorin {

// Outcome of reading or writing one of these files. `line` is the 1-based line
// of the file where a read stopped (0 when the file could not be opened).
struct DrawStatus {
  bool ok = true;
  int line = 0;
  std::string message;  // Japanese, for the user

  static DrawStatus Fail(std::string message, int line = 0) { return {false, line, std::move(message)}; }
  explicit operator bool() const { return ok; }
};

// ---- definition files -------------------------------------------------------

struct LineType {
  std::string key;
  int weightClass = 0;  // 2 and 3 are heavier pens; anything else thin
  int penStyle = 0;     // 2 and 3 are dotted styles; anything else solid
  std::string comment;
};

struct TextStyle {
  std::string key;
  int reserved = 0;  // carried, not used
  std::string fontName;
  int sizeTwips = 0;  // character size
  bool bold = false, italic = false, underline = false;
  std::string comment;

  double SizeMm() const;
};

using LineTypeTable = std::vector<LineType>;
using TextStyleTable = std::vector<TextStyle>;

inline constexpr int kMaxLineTypes = 9;
inline constexpr int kMaxTextStyles = 2;

inline constexpr const char* kLineDefFileName = "LINE_PRN.DEF";
inline constexpr const char* kStrDefFileName = "STR_PRN.DEF";

// A missing file, a record that does not parse, a missing "END" or more than
// the allowed number of records fails; the table is then empty.
DrawStatus ReadLineDef(const std::string& path, LineTypeTable& table);
DrawStatus ReadStrDef(const std::string& path, TextStyleTable& table);

// ---- elements ---------------------------------------------------------------

struct DrawPoint { double x = 0, y = 0; };
struct DrawRect { int a = 0, b = 0, c = 0, d = 0; };
struct DrawLine { int start = 0, end = 0, lineType = 0; };
struct DrawCircle { int centre = 0; double radius = 0; int lineType = 0; };
struct DrawArc { double cx = 0, cy = 0, radius = 0, startDeg = 0, endDeg = 0; int lineType = 0; };
struct DrawFill { int lineType = 0, second = 0; std::vector<int> polygon; };
struct DrawArrow { int point = 0, direction = 0, lineType = 0; };
struct DrawText { std::string text; double x = 0, y = 0; int style = 0, direction = 3; };

inline constexpr int kTextVertical = 1;
inline constexpr int kTextHorizontal = 3;

// How many elements of each kind one drawing may hold. Sized so that the
// pile-layout drawing of 999 inclined piles fits (five points, three lines,
// one circle and one text per pile, plus the grid).
struct DrawingCapacity {
  int points = 6000;
  int rects = 2;
  int lines = 4000;
  int circles = 1000;
  int arcs = 100;
  int fills = 100;
  int arrows = 100;
  int texts = 2000;
};

// Thrown by the Add functions when a list is full; its what() is the message
// for the user.
struct DrawingFullError : std::exception {
  std::string message;
  explicit DrawingFullError(std::string m) : message(std::move(m)) {}
  const char* what() const noexcept override { return message.c_str(); }
};

struct DrawingElements {
  std::vector<DrawPoint> points;
  std::vector<DrawRect> rects;
  std::vector<DrawLine> lines;
  std::vector<DrawCircle> circles;
  std::vector<DrawArc> arcs;
  std::vector<DrawFill> fills;
  std::vector<DrawArrow> arrows;
  std::vector<DrawText> texts;
  DrawingCapacity capacity;

  // Each returns the new element's 1-based number, or throws DrawingFullError.
  int AddPoint(double x, double y);
  int AddLine(int start, int end, int lineType);
  int AddCircle(int centre, double radius, int lineType);
  int AddArc(const DrawArc& arc);
  int AddFill(const DrawFill& fill);
  int AddArrow(int point, int direction, int lineType);
  int AddText(std::string text, double x, double y, int style, int direction);

  // 1-based access to a point.
  const DrawPoint& Point(int number) const { return points.at(size_t(number - 1)); }
  bool Empty() const;
};

struct DrawingExtent {
  double width = 0, height = 0, xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};

struct DrawingFile {
  std::string caption;
  std::string title;
  DrawingExtent extent;
  DrawingElements elements;
};

// The extent over all points and all texts' boxes (anchor and far corner).
// Texts whose style is not in the table count with size 0.
DrawingExtent ComputeExtent(const DrawingElements& elements, const TextStyleTable& styles);

// Writes a drawing file: caption, title, extent, then the sections that have
// records ("座標情報" always).
DrawStatus WriteDrawingFile(const std::string& path, std::string_view caption,
                            std::string_view title, const DrawingElements& elements,
                            const TextStyleTable& styles);

// Reads a drawing file into `out` (tolerant, see above).
DrawStatus ReadDrawingFile(const std::string& path, DrawingFile& out);

// ---- figure sheet -----------------------------------------------------------

inline constexpr int kMaxSheetDrawings = 3;

struct SheetDrawing {
  std::string path;
  double offsetX = 0, offsetY = 0;
};

struct SheetFile {
  std::string title;
  double width = 0, height = 0;
  std::vector<SheetDrawing> drawings;  // at most three kept
  int skippedDrawings = 0;             // further entries of the file
};

// Reads the extent of every listed drawing file, centres the first drawing on
// the sheet (the others keep the offsets they carry) and writes the sheet.
// Fails when a listed drawing's extent cannot be read.
DrawStatus WriteSheetFile(const std::string& path, std::string_view title, double sheetWidthMm,
                          double sheetHeightMm, std::vector<SheetDrawing> drawings);

DrawStatus ReadSheetFile(const std::string& path, SheetFile& out);

// ---- helpers ----------------------------------------------------------------

// Width in mm of a text in a style: a double-byte character takes the
// style's size, a single-byte one half of it.
double TextWidthMm(const TextStyle& style, std::string_view text);
double TwipsToMm(double twips);
int MmToTwips(double mm);  // nearest, halves to even
// (x, y) turned about (cx, cy) by angleDeg degrees counter-clockwise.
std::pair<double, double> RotatePoint(double x, double y, double cx, double cy, double angleDeg);
// The turn of arrow direction code 1..8 in degrees counter-clockwise (0 for
// any other code).
double ArrowAngleDeg(int directionCode);

// ---- temporary drawing and sheet files -----------------------------------

// The program-wide list of drawing and sheet files (20 names), used by the
// drawing command of the main window.
TempFileList& DrawingFileList();
// A new empty file in the list's folder; nullopt when the list is full or the
// file cannot be made.
std::optional<std::string> NewDrawingFileName(TempFileList& list = DrawingFileList());

}  // namespace hasorin
