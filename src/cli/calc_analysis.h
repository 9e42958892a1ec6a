#pragma once
// What `hasorin-cli calc` prints of the stage after the run.
#include <string>

#include "analysis.h"
#include "json_writer.h"

namespace hasorin::cli {

// The condition number as printed: "1.234E+05", or "∞（特異）".
std::string ConditionText(const engine::CapMatrices& cap);
// The cap matrices, the conditioning (with its warning) and the ground moments.
void PrintAnalysisText(const engine::GroupAnalysis& analysis);
// Every pile's profile at `points` sections plus that of its ground moment.
void PrintProfilesText(const Project& project, const engine::CalcResults& r, int points);

// The JSON of the stage: the value of "cap" ({"stiffness", "flexibility",
// "condition", "warning"}, or null when the run did not assemble it), and the
// members a pile gets ("groundMoment", and "profiles" when points > 0).
void WriteCapJson(JsonWriter& json, const engine::CapMatrices& cap);
void WritePileAnalysisJson(JsonWriter& json, const Project& project, const engine::CalcResults& r,
                           const engine::GroupAnalysis& analysis, int pile, int points);

}  // namespace hasorin::cli
