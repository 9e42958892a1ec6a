#pragma once
// The pile-layout drawing: the plan (X-Z) of the piles to scale on a sheet,
// with a labelled grid, the axis titles, every pile as a circle of its
// diameter with its number, and an arrow in the plan direction of every
// inclined pile.
#include <string>

#include "drawing_file.h"
#include "project.h"

namespace hasorin {

// Line types and text styles the drawing uses (1-based into the definition files).
inline constexpr int kGridLineType = 4;
inline constexpr int kPileLineType = 3;
inline constexpr int kArrowLineType = 1;
inline constexpr int kAxisTitleStyle = 1;
inline constexpr int kLabelStyle = 2;
// Up to this many piles every pile gets its number; above, numbers that
// would collide are left out (see BuildPileLayout).
inline constexpr int kAllLabelsUpTo = 200;

// One axis division: `count` steps of `step` from `start`.
struct AxisDivision {
  double start = 0;
  double step = 0;
  int count = 0;
};
AxisDivision NiceScale(double minimum, double maximum);

struct PileLayoutResult {
  bool ok = false;
  std::string sheetPath;    // the figure sheet file
  std::string drawingPath;  // the drawing file it lists
  std::string error;        // Japanese, for the user, when !ok
  double scale = 0;         // millimetres on paper per metre of the plan
};

// Builds the elements of the drawing for a sheet of the given size. False
// (with `error`) when an element list overflows or the piles give no usable
// grid. `scale` receives the millimetres on paper per metre.
//
// In a group of more than kAllLabelsUpTo piles a number is written only
// where it can be read: inside its pile's circle, or else just beside it
// (right, left, above, below), clear of every circle line, every arrow, the
// other numbers and the value labels left of and below the grid. The first and last pile of each row
// (piles with the same Z) and every tenth pile take their places first.
// Circles and arrows of all piles are always drawn.
bool BuildPileLayout(const Project& project, const TextStyleTable& styles, double sheetWidthMm,
                     double sheetHeightMm, DrawingElements& out, std::string& error, double* scale = nullptr);

// Reads LINE_PRN.DEF and STR_PRN.DEF from `programFolder`, builds the
// drawing and writes a drawing file (caption "Hasorin", title "杭配置図") and
// a figure sheet file with the drawing centred, both under new names of
// `files`. The files stay listed in `files` even when a later step fails.
PileLayoutResult MakePileLayoutDrawing(double sheetWidthMm, double sheetHeightMm,
                                       const Project& project, const std::string& programFolder,
                                       TempFileList& files);
// The program-wide project, the program folder and the drawing-file list.
PileLayoutResult MakePileLayoutDrawing(double sheetWidthMm, double sheetHeightMm);

}  // namespace hasorin
