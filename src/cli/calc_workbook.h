#pragma once
// `calc --xlsx OUT`: the run's tables as a workbook.
#include <string>

#include "engine.h"
#include "project.h"

namespace hasorin::cli {

// Writes the workbook of run `r` on `project`; on failure prints the reason
// to stderr and returns false (the caller exits with kExitReportFailed).
bool WriteCalcWorkbook(const std::string& path, const Project& project, const engine::CalcResults& r);

}  // namespace hasorin::cli
