// The three reports: which template line is printed when, with which values,
// and where the pages break.
#include <gtest/gtest.h>

#include "drawing_file.h"
#include "report_fixture.h"

namespace hasorin::testing {
namespace {

using Pageset = std::vector<std::vector<std::string>>;

class ReportsTest : public ::testing::Test {
 protected:
  JobFolder folder;
  TempFileList drawings;
  std::string format = folder.Path("Zrn.FMT");
  std::string error;

  void SetUp() override {
    drawings.SetFolder(folder.folder());
    WriteCp932(format, TestFormatText());
  }

  using ReportFn = bool (*)(ReportWriter&, const ReportInputs&, std::string&);
  // Runs one report into a file of its own and returns the file's text.
  std::string Run(ReportFn report, const Job& job, bool expectOk = true) {
    ReportWriter w;
    w.StartJob({});
    std::string file = folder.Path("report" + std::to_string(++runs_) + ".prn");
    w.SetCurrentFile(file);
    ReportInputs in{job.project, *job.results, format, ProgramFolder(), drawings};
    EXPECT_EQ(report(w, in, error), expectOk) << error;
    return ReadUtf8(file);
  }
  Pageset RunPages(ReportFn report, const Job& job) { return Pages(Run(report, job)); }

 private:
  int runs_ = 0;
};

// Rows, separators and closing lines of a table on one page.
void ExpectTablePage(const std::vector<std::string>& page, int header, int row, int rows) {
  EXPECT_EQ(Count(page, header), 1);
  EXPECT_EQ(Count(page, row), rows);
  EXPECT_EQ(Count(page, row + 1), rows - 1);
  EXPECT_EQ(Count(page, row + 2), 1);
}

TEST_F(ReportsTest, ConditionsPileTablePaging) {
  Pageset p = RunPages(WriteConditionsReport, Job(22));
  ASSERT_EQ(p.size(), 3u);  // tables, figure, springs
  ExpectTablePage(p[0], 18, 23, 22);

  p = RunPages(WriteConditionsReport, Job(23));
  ASSERT_EQ(p.size(), 4u);
  ExpectTablePage(p[0], 18, 23, 20);
  ExpectTablePage(p[1], 18, 23, 3);
  EXPECT_EQ(p[1].front(), "T18");  // the continued table starts with its header
  EXPECT_EQ(Count(p[1], 26), 1);
  EXPECT_EQ(Count(p[0], 26), 0);
}

TEST_F(ReportsTest, ConditionsSpringTablePaging) {
  Pageset p = RunPages(WriteConditionsReport, Job(52));
  ASSERT_EQ(p.size(), 4u);  // pile table 20 + 32, figure, springs
  ExpectTablePage(p[3], 30, 35, 52);

  p = RunPages(WriteConditionsReport, Job(53));
  ASSERT_EQ(p.size(), 5u);
  ExpectTablePage(p[3], 30, 35, 50);
  ExpectTablePage(p[4], 30, 35, 3);
  EXPECT_EQ(p[4].front(), "T30");
  EXPECT_EQ(Count(p[4], 38), 1);
}

TEST_F(ReportsTest, FigureHasAPageOfItsOwn) {
  Pageset p = RunPages(WriteConditionsReport, Job(4));
  ASSERT_EQ(p.size(), 3u);
  ASSERT_EQ(p[1].size(), 2u);
  EXPECT_TRUE(p[1][0].starts_with("?FG;000;000;" + drawings.Name(2))) << p[1][0];
  EXPECT_EQ(p[1][1], "");
  EXPECT_EQ(p[2].front(), "T28");
  EXPECT_EQ(drawings.Count(), 2);
  SheetFile sheet;
  EXPECT_TRUE(ReadSheetFile(drawings.Name(2), sheet).ok);
}

TEST_F(ReportsTest, NoPilesPrintsHeadersOnly) {
  Job job(0);
  Pageset p = RunPages(WriteConditionsReport, job);
  for (int k = 18; k <= 22; ++k) EXPECT_EQ(Count(p[0], k), 1) << k;
  for (int k : {23, 24, 25}) EXPECT_EQ(Count(p[0], k), 0) << k;
  for (int k : {35, 36, 37}) EXPECT_EQ(Count(p.back(), k), 0) << k;
  EXPECT_EQ(Count(p.back(), 34), 1);

  p = RunPages(WritePileHeadReport, job);
  for (int k : {16, 17, 18, 37, 38, 39, 40}) EXPECT_EQ(Count(p[0], k) + Count(p.back(), k), 0) << k;
  p = RunPages(WriteStressReport, job);
  for (int k : {8, 9, 10, 31, 32, 33, 34}) EXPECT_EQ(Count(p[0], k) + Count(p.back(), k), 0) << k;
  EXPECT_EQ(Count(p.back(), 30), 1);
}

TEST_F(ReportsTest, ConditionTexts) {
  Job job(1);
  auto line = [&](int k) {
    std::string tag = Tag(k) + " ";
    Pageset pages = Pages(Run(WriteConditionsReport, job));
    for (const std::string& l : pages[0]) {
      if (l.starts_with(tag)) return l;
    }
    return std::string("<missing>");
  };
  EXPECT_EQ(line(6), "T6 [剛結]  ");
  EXPECT_EQ(line(7), "T7 [ヒンジ]");
  job.project.Conditions(4) = ProjectValue::Integer(1);
  job.project.Conditions(5) = ProjectValue::Integer(2);
  EXPECT_EQ(line(6), "T6 [ヒンジ]");
  EXPECT_EQ(line(7), "T7 [自由]  ");
  job.project.Conditions(5) = ProjectValue::Integer(0);
  EXPECT_EQ(line(7), "T7 [固定]  ");
  // The title follows template 2 directly.
  EXPECT_EQ(Pages(Run(WriteConditionsReport, job))[0][3], "T2試験ケース");
  EXPECT_EQ(line(15), "T15      1.000");
  EXPECT_EQ(line(23), "T23      1.000      0.600     12.000      1.000    223.700  96000.000      1.500     "
                      "20.000      0.000      0.000      0.000      0.000     30.000");
}

TEST_F(ReportsTest, DisplacementTablePaging) {
  Pageset p = RunPages(WritePileHeadReport, Job(37));
  ExpectTablePage(p[0], 11, 16, 37);
  p = RunPages(WritePileHeadReport, Job(38));
  ExpectTablePage(p[0], 11, 16, 35);
  ExpectTablePage(p[1], 11, 16, 3);
  EXPECT_EQ(p[1].front(), "T11");
}

TEST_F(ReportsTest, PileHeadKeepTogetherAndForceTable) {
  // 37 rows leave too little of the 100-line page for the block after the table.
  Pageset p = RunPages(WritePileHeadReport, Job(37));
  EXPECT_EQ(Count(p[0], 19), 1);
  EXPECT_EQ(p[1].front(), "T20");
  p = RunPages(WritePileHeadReport, Job(2));
  EXPECT_EQ(Count(p[0], 20), 1);

  // The force table always starts a page.
  ASSERT_EQ(p.size(), 2u);
  EXPECT_EQ(p[1].front(), "T30");
  Job job(3);
  job.results->Py[1] = 0;
  job.results->Py[2] = -5;
  p = RunPages(WritePileHeadReport, job);
  EXPECT_EQ(Count(p.back(), 37), 2);
  EXPECT_EQ(Count(p.back(), 38), 1);
}

TEST_F(ReportsTest, ForceTablePaging) {
  Pageset p = RunPages(WritePileHeadReport, Job(53));
  // Displacements 35 + 18, then forces 50 + 3.
  ASSERT_EQ(p.size(), 4u);
  EXPECT_EQ(Count(p[2], 37), 50);
  EXPECT_EQ(Count(p[3], 37), 3);
  EXPECT_EQ(p[3].front(), "T32");
}

TEST_F(ReportsTest, CheckTablePaging) {
  Pageset p = RunPages(WriteStressReport, Job(32));
  ASSERT_EQ(p.size(), 3u);  // stresses, check table, notes kept together
  EXPECT_EQ(Count(p[1], 31), 32);
  EXPECT_EQ(Count(p[1], 25), 1);

  p = RunPages(WriteStressReport, Job(33));
  ASSERT_GE(p.size(), 3u);
  EXPECT_EQ(Count(p[1], 31), 30);
  EXPECT_EQ(Count(p[2], 31), 3);
  // The header, with its filled line, is repeated; the section title is not.
  EXPECT_EQ(p[2].front(), "T26");
  EXPECT_EQ(Count(p[2], 27), 1);
  EXPECT_EQ(Count(p[2], 25), 0);
}

TEST_F(ReportsTest, StressTableAndNotesPaging) {
  Pageset p = RunPages(WriteStressReport, Job(53));
  EXPECT_EQ(Count(p[0], 8), 50);
  EXPECT_EQ(Count(p[1], 8), 3);
  EXPECT_EQ(p[1].front(), "T3");
  // The 62-line pages of the check table: two rows leave room for the notes.
  p = RunPages(WriteStressReport, Job(2));
  ASSERT_EQ(p.size(), 2u);
  EXPECT_EQ(Count(p[1], 35), 1);
  EXPECT_EQ(Count(p[1], 42), 1);
}

TEST_F(ReportsTest, CheckRows) {
  Job job(3);
  job.project.Conditions(7) = ProjectValue::Real(1.0);
  job.results->SigmaC[1] = 0;      // exactly zero counts as compression
  job.results->SigmaC[2] = -20;    // tension
  job.results->SigmaB[2] = 30;
  Pageset p = RunPages(WriteStressReport, job);
  EXPECT_EQ(Count(p[1], 31), 2);
  EXPECT_EQ(Count(p[1], 32), 1);
  bool sawTension = false, sawHeader = false;
  for (const std::string& l : p[1]) {
    if (l.starts_with("T32 ")) {
      // sigma t = sigma b - sigma c, for both grades.
      EXPECT_EQ(l, "T32      2.000      1.002    -20.000     30.000     50.000     50.000");
      sawTension = true;
    }
    if (l.starts_with("T27 ")) {
      EXPECT_EQ(l, "T27    140.000    185.000");
      sawHeader = true;
    }
  }
  EXPECT_TRUE(sawTension && sawHeader);
}

TEST_F(ReportsTest, FormFeedsStartLines) {
  for (ReportFn report : {WriteConditionsReport, WritePileHeadReport, WriteStressReport}) {
    std::string text = Run(report, Job(140));
    size_t feeds = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] != '\f') continue;
      ++feeds;
      EXPECT_TRUE(i > 0 && text[i - 1] == '\n') << i;
      EXPECT_NE(text[i + 1], '\r');  // never an empty line before the new page's first
    }
    EXPECT_GT(feeds, 2u);
    EXPECT_TRUE(text.ends_with("\r\n"));
  }
}

TEST_F(ReportsTest, UnsolvedResultsAreNotPrinted) {
  Job job(4);
  job.results->solved = false;
  Run(WritePileHeadReport, job, false);
  EXPECT_FALSE(error.empty());
  Run(WriteStressReport, job, false);
  Run(WriteConditionsReport, job, true);
}

TEST_F(ReportsTest, ShortSectionFailsAndKeepsNothingHalfDone) {
  WriteCp932(format, TestFormatText({{kConditionsKey, 37}, {kPileHeadKey, 45}, {kStressKey, 42}}));
  EXPECT_EQ(Run(WriteConditionsReport, Job(4), false), "");
  EXPECT_NE(error.find("38"), std::string::npos);
  Run(WritePileHeadReport, Job(4), true);
}

TEST_F(ReportsTest, FailureKeepsWhatWasWritten) {
  // Template 23 with more fields than the report hands it: the pile table stops there.
  std::string text = TestFormatText();
  size_t at = text.find("T23 ");
  text.insert(at + 4, "#0 ");
  WriteCp932(format, text);
  std::string out = Run(WriteConditionsReport, Job(4), false);
  EXPECT_NE(out.find("T22"), std::string::npos);
  EXPECT_EQ(out.find("T23"), std::string::npos);
}

}  // namespace
}  // namespace hasorin::testing
