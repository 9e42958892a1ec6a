#pragma once
// What the two result windows show, built from the result tables of the last
// calculation: the pile-head forces, the stress check of each steel grade and
// the footing displacement. No widgets here.
#include <QString>

#include "engine.h"
#include "result_table.h"

namespace hasorin {

// The most a pile-head cell is meant to show, either sign.
inline constexpr double kHeadCellLimit = 9999.99;

// The headings and widths of the two windows' grids.
std::vector<ResultColumn> PileHeadColumns();
std::vector<ResultColumn> StressColumns();

// Px, Py, Pz, Mx, My, Mz of piles 1..N, two decimals.
ResultTable PileHeadTable(const engine::CalcResults& results);

// The allowable bending stress σba of a grade: α × 140 (SKK400), α × 185 (SKK490).
double AllowableBending(double alpha, int grade);

// σc, σbc, σca, κ and σbc − σc of piles 1..N for one grade: κ (red above 1)
// for a compressed pile (σc ≥ 0), σbc − σc (red above σba) for a pile in
// tension, "……" in the other column.
ResultTable StressTable(const engine::CalcResults& results, int grade, double sigmaBa);

// The allowable-stress increase factor α of the project, as the calculation
// reads it.
double IncreaseFactor(const Project& project);

// The footing displacement of the run for the status bar: δx, δy, δz in mm,
// θx, θy, θz in rad.
QString FootingText(const engine::CalcResults& results);

}  // namespace hasorin
