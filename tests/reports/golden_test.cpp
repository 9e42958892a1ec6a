// The combined print file and the pile-layout drawing of every example
// project, compared with reviewed copies (the temporary sheet path masked).
// Run with HASORIN_UPDATE_GOLDEN=1 to write new copies for review.
#include <gtest/gtest.h>

#include <QDir>
#include <cstdlib>

#include "engine.h"
#include "inputfile.h"
#include "print_job.h"
#include "report_fixture.h"

namespace hasorin::testing {
namespace {

std::string SourceDir() {
  const char* dir = std::getenv("HASORIN_SOURCE_DIR");
  return dir ? dir : HASORIN_SOURCE_DIR;
}

// "?FG;000;000;" + a temporary path -> "?FG;000;000;<SHEET>".
std::string MaskFigurePaths(std::string bytes) {
  const std::string mark = kFigureMark;
  for (size_t at = bytes.find(mark); at != std::string::npos; at = bytes.find(mark, at + 1)) {
    size_t start = at + mark.size();
    size_t end = bytes.find("\r\n", start);
    bytes.replace(start, end - start, "<SHEET>");
  }
  return bytes;
}

void Compare(const std::string& actual, const std::string& goldenPath) {
  if (std::getenv("HASORIN_UPDATE_GOLDEN")) {
    ASSERT_TRUE(WriteFileBytes(goldenPath, actual)) << goldenPath;
    return;
  }
  auto expected = ReadFileBytes(goldenPath);
  ASSERT_TRUE(expected.has_value()) << "missing " << goldenPath;
  if (*expected == actual) return;
  // Name the first differing line, in UTF-8.
  auto a = SplitLines(actual), e = SplitLines(*expected);
  size_t i = 0;
  while (i < a.size() && i < e.size() && a[i] == e[i]) ++i;
  auto text = [](const std::vector<std::string_view>& v, size_t k) {
    return k < v.size() ? Cp932ToUtf8(v[k]).value_or("<bad>") : std::string("<end>");
  };
  FAIL() << goldenPath << " differs at line " << i + 1 << "\n expected: " << text(e, i)
         << "\n actual:   " << text(a, i);
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, CombinedPrintFileAndDrawing) {
  const std::string name = GetParam();
  Project project;
  ASSERT_TRUE(ReadInputFile(project, JoinPath(SourceDir(), "examples/" + name + ".zrn")).ok);
  auto results = std::make_unique<engine::CalcResults>();
  ASSERT_EQ(engine::CalcPileGroup(project, *results), 0);
  ASSERT_TRUE(results->solved);

  JobFolder out;
  PrintJobOptions o;
  o.folder = out.folder();
  o.settingsPath = out.Path("Zrn.INI");  // no numbering settings
  PrintJob job(project, *results, o);
  ASSERT_TRUE(job.Generate()) << job.ErrorText();
  ASSERT_TRUE(job.Combine({true, true, true}));

  const std::string golden = JoinPath(SourceDir(), "tests/reports/golden/" + name);
  Compare(MaskFigurePaths(ReadFileBytes(job.CombinedFile()).value()), golden + ".prn");
  Compare(ReadFileBytes(job.DrawingFiles().Name(1)).value(), golden + ".drw");
}

INSTANTIATE_TEST_SUITE_P(Examples, Golden, ::testing::Values("vertical4", "inclined4", "group24"));

}  // namespace
}  // namespace hasorin::testing
