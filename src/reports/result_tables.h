#pragma once
// The tables of one calculation run for a spreadsheet: springs, footing,
// pile-head forces and the stress check of both grades, with the headings,
// units and number formats of the result windows. Shared by `calc --xlsx`
// and the result windows' "Excelに保存...".
#include <string>

#include "engine.h"
#include "table_output.h"

namespace hasorin {

// Number formats of the result windows.
inline constexpr const char* kForceFormat = "#,##0.00";  // pile-head forces
inline constexpr const char* kStressFormat = "###0.0";   // stresses
inline constexpr const char* kRatioFormat = "#0.000";    // check ratio

// Adds the tables the run completed; `alpha` is the increase factor of the run
// (for the allowable bending stress of the tension check).
void AddResultTables(TableOutput& out, const engine::CalcResults& r, double alpha);

// The same tables as one workbook at `path`; false with a Japanese message.
bool WriteResultsWorkbook(const std::string& path, const engine::CalcResults& r, double alpha,
                          std::string* error);

}  // namespace hasorin
