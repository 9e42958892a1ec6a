#pragma once
// The three reports of a print job. Each writes its chapter into the
// writer's current file from its section of the format file:
//   conditions  "計算条件"  (38 template lines): title, conditions, loads, pile
//               table, pile-layout figure, spring table;
//   pile heads  "解析結果"  (45): footing displacement, head displacements,
//               head forces;
//   stresses    "杭応力"    (42): pile stresses and the check of both steel grades.
// A report that fails has closed its file with what it wrote so far.
#include <string>

#include "engine.h"
#include "project.h"
#include "report_writer.h"
#include "tempfiles.h"

namespace hasorin {

inline constexpr const char* kConditionsKey = "計算条件";
inline constexpr const char* kPileHeadKey = "解析結果";
inline constexpr const char* kStressKey = "杭応力";
inline constexpr int kConditionsLines = 38;
inline constexpr int kPileHeadLines = 45;
inline constexpr int kStressLines = 42;

// The figure line of the conditions report, before the sheet path.
inline constexpr const char* kFigureMark = "?FG;000;000;";
// The pile-layout figure's sheet, in mm.
inline constexpr double kFigureSheetMm = 150;

struct ReportInputs {
  const Project& project;
  const engine::CalcResults& results;
  std::string formatPath;     // Zrn.FMT
  std::string programFolder;  // where LINE_PRN.DEF and STR_PRN.DEF lie
  TempFileList& drawingFiles; // the figure's drawing and sheet files go here
};

// Each returns true on success; on failure `error` says why (Japanese).
bool WriteConditionsReport(ReportWriter& writer, const ReportInputs& in, std::string& error);
bool WritePileHeadReport(ReportWriter& writer, const ReportInputs& in, std::string& error);
bool WriteStressReport(ReportWriter& writer, const ReportInputs& in, std::string& error);

}  // namespace hasorin
