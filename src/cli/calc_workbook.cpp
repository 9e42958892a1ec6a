#include "calc_workbook.h"

#include <cstdio>

#include "result_tables.h"

namespace hasorin::cli {

bool WriteCalcWorkbook(const std::string& path, const Project& project, const engine::CalcResults& r) {
  std::string error;
  if (WriteResultsWorkbook(path, r, project.Conditions(7).number(), &error)) return true;
  std::fprintf(stderr, "%s\n", error.c_str());
  return false;
}

}  // namespace hasorin::cli
