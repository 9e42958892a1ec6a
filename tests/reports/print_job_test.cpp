// The print job: generation with chapter numbers running on, the failure
// lines of damaged data files, combining the chosen reports, and clean-up.
#include <gtest/gtest.h>

#include <QDir>

#include "print_job.h"
#include "profile.h"
#include "report_fixture.h"

namespace hasorin::testing {
namespace {

class PrintJobTest : public ::testing::Test {
 protected:
  JobFolder out;    // where the job's files go
  JobFolder data;   // a program folder of the test's own
  Job job{5};

  PrintJobOptions Options(const std::string& format = {}, const std::string& programFolder = {}) {
    PrintJobOptions o;
    o.folder = out.folder();
    o.settingsPath = out.Path("Zrn.INI");  // absent: no numbering
    o.formatPath = format.empty() ? JoinPath(ProgramFolder(), "Zrn.FMT") : format;
    o.programFolder = programFolder.empty() ? ProgramFolder() : programFolder;
    return o;
  }

  // The delivered files copied into `data`, optionally changed.
  std::string CopyDelivered(const std::string& name) {
    std::string target = data.Path(name);
    WriteFileBytes(target, ReadFileBytes(JoinPath(ProgramFolder(), name)).value_or(""));
    return target;
  }
  std::string DeliveredFormat() { return ReadUtf8(JoinPath(ProgramFolder(), "Zrn.FMT")); }
  std::string FormatWith(const std::string& utf8) {
    std::string path = data.Path("Zrn.FMT");
    WriteCp932(path, utf8);
    return path;
  }
  std::string ErrorLines(std::initializer_list<int> failed) {
    std::string text;
    for (int k : failed) text += std::string(PrintJob::FailureLine(k)) + "\n";
    return text;
  }
};

TEST_F(PrintJobTest, GeneratesAllReportsWithTheDeliveredData) {
  PrintJob pj(job.project, *job.results, Options());
  ASSERT_TRUE(pj.Generate()) << pj.ErrorText() << pj.ReportDetail(0) << pj.ReportDetail(1) << pj.ReportDetail(2);
  EXPECT_EQ(pj.ErrorText(), "");
  EXPECT_EQ(pj.ReportFiles().Count(), 4);   // three reports and the combined file
  EXPECT_EQ(pj.DrawingFiles().Count(), 2);  // drawing and sheet of the figure
  for (int k = 0; k < 3; ++k) {
    EXPECT_TRUE(pj.ReportOk(k));
    EXPECT_EQ(FolderOf(pj.ReportFile(k)), out.folder());
    EXPECT_GT(ReadFileBytes(pj.ReportFile(k)).value_or("").size(), 1000u);
  }
  EXPECT_EQ(pj.CombinedFile(), pj.ReportFiles().Name(4));
  EXPECT_EQ(ReadFileBytes(pj.CombinedFile()).value_or("x"), "");
}

TEST_F(PrintJobTest, CombinesTheChosenReports) {
  PrintJob pj(job.project, *job.results, Options());
  ASSERT_TRUE(pj.Generate());
  std::string r[3];
  for (int k = 0; k < 3; ++k) r[k] = ReadFileBytes(pj.ReportFile(k)).value();

  // Only the stress check: exactly that report, no leading form feed.
  ASSERT_TRUE(pj.Combine({false, false, true}));
  EXPECT_EQ(ReadFileBytes(pj.CombinedFile()).value(), r[2]);

  // All three: two form feeds, each at the start of the next report's first line.
  ASSERT_TRUE(pj.Combine({true, true, true}));
  std::string all = ReadFileBytes(pj.CombinedFile()).value();
  EXPECT_EQ(all, r[0] + "\f" + r[1] + "\f" + r[2]);
  // Pressed again: rebuilt, not appended.
  ASSERT_TRUE(pj.Combine({true, true, true}));
  EXPECT_EQ(ReadFileBytes(pj.CombinedFile()).value(), all);

  ASSERT_TRUE(pj.Combine({true, false, true}));
  EXPECT_EQ(ReadFileBytes(pj.CombinedFile()).value(), r[0] + "\f" + r[2]);
  EXPECT_FALSE(pj.Combine({false, false, false}));
}

TEST_F(PrintJobTest, ChapterNumbersRunOnAcrossReports) {
  WritePrivateProfileString(out.Path("Zrn.INI"), "Chapter", "Method", "1");
  WritePrivateProfileString(out.Path("Zrn.INI"), "Chapter", "Style1", "1");
  WritePrivateProfileString(out.Path("Zrn.INI"), "Chapter", "Style2", "2");
  PrintJob pj(job.project, *job.results, Options());
  ASSERT_TRUE(pj.Generate());
  EXPECT_TRUE(ReadUtf8(pj.ReportFile(0)).starts_with("?R11 計算条件\r\n"));
  EXPECT_TRUE(ReadUtf8(pj.ReportFile(1)).starts_with("?R12 計算結果（杭頭変位および杭頭作用力）\r\n"));
  EXPECT_TRUE(ReadUtf8(pj.ReportFile(2)).starts_with("?R13 計算結果(杭応力度照査)\r\n"));
  EXPECT_NE(ReadUtf8(pj.ReportFile(2)).find("?R2(1) 杭体応力度"), std::string::npos);
  // A second generation starts the numbering again.
  ASSERT_TRUE(pj.Generate());
  EXPECT_TRUE(ReadUtf8(pj.ReportFile(0)).starts_with("?R11 計算条件\r\n"));
}

TEST_F(PrintJobTest, CleanupDeletesEveryTemporaryFile) {
  std::vector<std::string> files;
  {
    PrintJob pj(job.project, *job.results, Options());
    ASSERT_TRUE(pj.Generate());
    files = pj.ReportFiles().Names();
    for (const std::string& f : pj.DrawingFiles().Names()) files.push_back(f);
    // Generating again first removes the files of the earlier generation.
    ASSERT_TRUE(pj.Generate());
    for (const std::string& f : files) EXPECT_FALSE(FileExists(f)) << f;
    files = pj.ReportFiles().Names();
    for (const std::string& f : pj.DrawingFiles().Names()) files.push_back(f);
    ASSERT_EQ(files.size(), 6u);
    for (const std::string& f : files) EXPECT_TRUE(FileExists(f)) << f;
  }
  for (const std::string& f : files) EXPECT_FALSE(FileExists(f)) << f;
  EXPECT_EQ(QDir(QString::fromStdString(out.folder())).entryList(QDir::Files).size(), 0);
}

TEST_F(PrintJobTest, KeptFilesAndANamedCombinedFileStay) {
  PrintJobOptions o = Options();
  o.combinedPath = out.Path("report.prn");
  std::vector<std::string> files;
  {
    PrintJob pj(job.project, *job.results, o);
    ASSERT_TRUE(pj.Generate());
    ASSERT_TRUE(pj.Combine({true, true, true}));
    EXPECT_EQ(pj.ReportFiles().Count(), 3);
    files = pj.ReportFiles().Names();
    pj.KeepFiles();
  }
  for (const std::string& f : files) EXPECT_TRUE(FileExists(f)) << f;
  EXPECT_TRUE(FileExists(out.Path("report.prn")));
}

TEST_F(PrintJobTest, MissingOrTruncatedFormatFile) {
  PrintJob missing(job.project, *job.results, Options(data.Path("Zrn.FMT")));
  EXPECT_FALSE(missing.Generate());
  EXPECT_EQ(missing.ErrorText(), ErrorLines({0, 1, 2}));
  // The combined file is still made, and combining what exists works.
  EXPECT_FALSE(missing.CombinedFile().empty());
  EXPECT_TRUE(missing.Combine({true, true, true}));

  // Cut in the middle of the second section: the first report still generates.
  std::string text = DeliveredFormat();
  std::string cut = text.substr(0, text.find("020 3部材座標系"));
  PrintJob truncated(job.project, *job.results, Options(FormatWith(cut)));
  EXPECT_FALSE(truncated.Generate());
  EXPECT_EQ(truncated.ErrorText(), ErrorLines({1, 2}));
  EXPECT_TRUE(truncated.ReportOk(0));
}

TEST_F(PrintJobTest, DamagedSections) {
  std::string text = DeliveredFormat();
  // No "解析結果" section at all.
  std::string noSection = text;
  const std::string key = "\r\n解析結果\r\n";
  noSection.replace(noSection.find(key), key.size(), "\r\n解析結果x\r\n");
  PrintJob a(job.project, *job.results, Options(FormatWith(noSection)));
  EXPECT_FALSE(a.Generate());
  EXPECT_EQ(a.ErrorText(), ErrorLines({1}));
  EXPECT_NE(a.ReportDetail(1).find("解析結果"), std::string::npos);

  // Over 60 template lines in "杭応力".
  std::string longSection = text;
  std::string extra;
  for (int i = 0; i < 19; ++i) extra += "    0注記\r\n";
  size_t end = longSection.rfind("End");
  longSection.insert(end, extra);
  PrintJob b(job.project, *job.results, Options(FormatWith(longSection)));
  EXPECT_FALSE(b.Generate());
  EXPECT_EQ(b.ErrorText(), ErrorLines({2}));

  // More than twenty fields in one template of "計算条件".
  std::string manyFields = text;
  std::string twentyOne;
  for (int i = 0; i < 21; ++i) twentyOne += " #0";
  manyFields.replace(manyFields.find("023 0"), 5, "023 0" + twentyOne);
  PrintJob c(job.project, *job.results, Options(FormatWith(manyFields)));
  EXPECT_FALSE(c.Generate());
  EXPECT_EQ(c.ErrorText(), ErrorLines({0}));
}

TEST_F(PrintJobTest, MissingOrMalformedDefinitionFiles) {
  // No definition files in the program folder: the figure fails, and with it the conditions report.
  PrintJob a(job.project, *job.results, Options({}, data.folder()));
  EXPECT_FALSE(a.Generate());
  EXPECT_EQ(a.ErrorText(), ErrorLines({0}));
  EXPECT_TRUE(a.ReportOk(1) && a.ReportOk(2));
  EXPECT_NE(a.ReportDetail(0).find("LINE_PRN.DEF"), std::string::npos);

  CopyDelivered("LINE_PRN.DEF");
  WriteCp932(data.Path("STR_PRN.DEF"), "header\n1,0,ＭＳ ゴシック,big,0,0,0,axis\nEND\n");
  PrintJob b(job.project, *job.results, Options({}, data.folder()));
  EXPECT_FALSE(b.Generate());
  EXPECT_EQ(b.ErrorText(), ErrorLines({0}));
  // What the report wrote before the figure stays in its file.
  EXPECT_NE(ReadUtf8(b.ReportFile(0)).find("杭配置図"), std::string::npos);

  CopyDelivered("STR_PRN.DEF");
  PrintJob c(job.project, *job.results, Options({}, data.folder()));
  EXPECT_TRUE(c.Generate()) << c.ReportDetail(0);
}

TEST_F(PrintJobTest, FailedSolveFailsTheResultReports) {
  job.results->solved = false;
  PrintJob pj(job.project, *job.results, Options());
  EXPECT_FALSE(pj.Generate());
  EXPECT_EQ(pj.ErrorText(), ErrorLines({1, 2}));
}

}  // namespace
}  // namespace hasorin::testing
