// The report writer: field filling in CP932 columns, heading numbers and
// margins, page keeping, and reading the format file.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>
#include <vector>

#include "cp932.h"
#include "paths.h"
#include "report_writer.h"
#include "text_file.h"

namespace hasorin {
namespace {

// Fills a template and gives the line back as UTF-8.
std::string Fill(std::string_view templ, std::vector<double> numbers, std::vector<std::string> strings = {}) {
  return Cp932ToUtf8(FillTemplate(templ, numbers, strings)).value_or("<not CP932>");
}

TEST(FillTemplate, NumericFields) {
  // A value wider than its field keeps its leftmost bytes.
  EXPECT_EQ(Fill("##0.0", {12345.6}), "12345");
  EXPECT_EQ(Fill("+##0.00", {0}), "  +0.00");
  EXPECT_EQ(Fill("+##0.00", {-1.5}), "  -1.50");
  EXPECT_EQ(Fill("Ｅ ＝ ##,###,##0 N/mm2", {200000}), "Ｅ ＝    200,000 N/mm2");
  // A backslash before the number is printed, a yen sign on Japanese paper.
  EXPECT_EQ(Fill("\\#,##0", {1234.5}), "\\1,235");
  // Several fields take the values left to right; extra values are unused.
  EXPECT_EQ(Fill("│##0│#0.000│", {7, 0.6, 99}), "│  7│ 0.600│");
  // Rounding half away from zero.
  EXPECT_EQ(Fill("#0.00", {-2.345}), "-2.35");
}

TEST(FillTemplate, LinesWithoutFieldsAreUnchanged) {
  EXPECT_EQ(Fill("┌──┬───┐ 杭の配置を次頁に示す。", {}), "┌──┬───┐ 杭の配置を次頁に示す。");
  EXPECT_EQ(Fill("", {}), "");
}

TEST(FillTemplate, StringFieldsCountColumnsInCp932) {
  // Empty strings give blanks of the field's width, either alignment.
  EXPECT_EQ(Fill("[&    &]", {}, {""}), "[      ]");
  EXPECT_EQ(Fill("[&>   &]", {}, {""}), "[      ]");
  // A full-width character fills two columns.
  EXPECT_EQ(Fill("[&      &]", {}, {"[剛結]"}), "[[剛結]  ]");
  EXPECT_EQ(Fill("[&>     &]", {}, {"剛結"}), "[    剛結]");
  EXPECT_EQ(Fill("[&>     &]", {}, {"ab"}), "[      ab]");
  // Too long: the leftmost whole characters, never half of one.
  EXPECT_EQ(Fill("[&   &]", {}, {"杭基礎検討"}), "[杭基 ]");
  EXPECT_EQ(Fill("[&  &]", {}, {"ｹｰｽ1"}), "[ｹｰｽ1]");
  // A lone "!" is a one-column field; before an "&" field it is text.
  EXPECT_EQ(Fill("a!b", {}, {"XY"}), "aXb");
  EXPECT_EQ(Fill("注意! &  &", {}, {"ok"}), "注意! ok  ");
  // Numbers and strings together.
  EXPECT_EQ(Fill("&  & ##0", {12}, {"No"}), "No    12");
}

TEST(FillTemplate, DoubleByteCharactersAreNeverFieldMarks) {
  // The second byte of 表 is a backslash: it must not start a "\#" field.
  EXPECT_EQ(Fill("表##0", {5}), "表  5");
  EXPECT_EQ(Fill("ソ#", {3}), "ソ3");
}

TEST(FillTemplate, Failures) {
  std::string many;
  for (int i = 0; i < 21; ++i) many += " #";
  std::vector<double> values(25, 1.0);
  EXPECT_THROW(FillTemplate(many, values), ReportError);
  std::string strings;
  for (int i = 0; i < 21; ++i) strings += "&&";
  EXPECT_THROW(FillTemplate(strings, {}, std::vector<std::string>(25)), ReportError);
  // Twenty of each kind are fine.
  std::string twenty;
  for (int i = 0; i < 20; ++i) twenty += " #";
  EXPECT_NO_THROW(FillTemplate(twenty, values));
  // More fields than values, and values that are not numbers.
  EXPECT_THROW(FillTemplate("## ##", std::vector<double>{1}), ReportError);
  EXPECT_THROW(FillTemplate("&  &", {}, {}), ReportError);
  EXPECT_THROW(FillTemplate("##0", std::vector<double>{std::nan("")}), ReportError);
  EXPECT_THROW(FillTemplate("##0", std::vector<double>{INFINITY}), ReportError);
}

TEST(NumberText, EveryStyle) {
  auto text = [](int style, int n) { return NumberText(style, n); };
  EXPECT_EQ(text(1, 12), "12");
  EXPECT_EQ(text(2, 3), "(3)");
  EXPECT_EQ(text(3, 3), "3)");
  EXPECT_EQ(text(4, 2), "(b)");
  EXPECT_EQ(text(5, 26), "z)");
  EXPECT_EQ(text(6, 4), "(iv)");
  EXPECT_EQ(text(7, 9), "ix)");
  EXPECT_EQ(text(8, 1), "①");
  EXPECT_EQ(text(8, 20), "⑳");
  EXPECT_EQ(text(9, 57), "･");
  EXPECT_EQ(text(0, 1), "");
  EXPECT_EQ(text(10, 1), "");
  EXPECT_EQ(text(1, 0), "");
  // Beyond its range a counter starts again at 1, and stays there.
  int n = 27;
  EXPECT_EQ(NumberText(4, n), "(a)");
  EXPECT_EQ(n, 1);
  n = 21;
  EXPECT_EQ(NumberText(8, n), "①");
  n = 11;
  EXPECT_EQ(NumberText(7, n), "i)");
  // Every circled digit exists in CP932.
  for (int i = 1; i <= 20; ++i) {
    bool lossless = false;
    int k = i;
    Utf8ToCp932(NumberText(8, k), &lossless);
    EXPECT_TRUE(lossless) << i;
  }
}

class WriterTest : public ::testing::Test {
 protected:
  ReportWriter w;
  void Start(int method, std::array<int, 4> styles, std::array<int, 4> margins, int init = 0) {
    NumberingSettings s;
    s.method = method;
    s.style = styles;
    s.margin = margins;
    s.init = init;
    w.StartJob(s);
    w.Open();
  }
  // The prefix of one line, as UTF-8.
  std::string Prefix(int level) {
    size_t before = w.Pending().size();
    w.PrintLinePrefix(level);
    return Cp932ToUtf8(w.Pending().substr(before)).value_or("<bad>");
  }
};

TEST_F(WriterTest, ThirdChapterWithJoinedNumbers) {
  Start(2, {1, 1, 1, 1}, {0, 0, 0, 0});
  Prefix(1);
  Prefix(1);
  EXPECT_EQ(Prefix(1), "?R13. ");
  EXPECT_EQ(Prefix(2), "?R23-1 ");
  EXPECT_EQ(Prefix(3), "3-1-1 ");
  EXPECT_EQ(Prefix(2), "?R23-2 ");
  EXPECT_EQ(Prefix(4), "1 ");
  EXPECT_EQ(w.LineCounter(), 7);
}

TEST_F(WriterTest, MethodsStylesAndMargins) {
  Start(1, {2, 4, 6, 8}, {1, 2, 4, 8});
  EXPECT_EQ(Prefix(1), " ?R1(1) ");
  EXPECT_EQ(Prefix(2), "  ?R2(a) ");
  // Body text is indented two beyond the margin of the last heading level.
  EXPECT_EQ(Prefix(0), "    ");
  EXPECT_EQ(Prefix(3), "    (i) ");
  EXPECT_EQ(Prefix(4), "        ① ");
  EXPECT_EQ(Prefix(0), "          ");
  EXPECT_EQ(Prefix(2), "  ?R2(b) ");

  Start(3, {1, 1, 1, 9}, {0, 0, 0, 0});
  Prefix(1);
  Prefix(2);
  Prefix(2);
  EXPECT_EQ(Prefix(3), "1.2.1 ");
  EXPECT_EQ(Prefix(4), "･ ");
}

TEST_F(WriterTest, NoNumberingKeepsTheFirstLevelIndent) {
  Start(0, {1, 1, 1, 1}, {3, 6, 0, 0});
  EXPECT_EQ(Prefix(1), "   ?R1");
  EXPECT_EQ(Prefix(2), "      ?R2");
  EXPECT_EQ(Prefix(0), "     ");
  EXPECT_EQ(w.Counters(), (std::array<int, 4>{0, 0, 0, 0}));
  EXPECT_EQ(w.CurrentLevel(), 1);
}

TEST_F(WriterTest, SettingsOutsideTheirRangesAreHarmless) {
  Start(7, {1, 1, 1, 1}, {-5, 1000000, 0, 0});
  EXPECT_EQ(Prefix(1), "?R1");          // unknown method: no numbers
  EXPECT_EQ(Prefix(2), std::string(10, ' ') + "?R2");  // margins kept within 0..10
}

TEST_F(WriterTest, FirstChapterNumberFromInit) {
  Start(1, {1, 1, 1, 1}, {0, 0, 0, 0}, 5);
  EXPECT_EQ(Prefix(1), "?R15 ");
  Start(1, {1, 1, 1, 1}, {0, 0, 0, 0}, 0);
  EXPECT_EQ(Prefix(1), "?R11 ");
}

TEST_F(WriterTest, LinesBlankLinesAndPages) {
  Start(0, {}, {0, 0, 0, 0});
  w.PrintText(1, "計算条件");
  w.PrintBlankLines(2);
  w.PrintTemplateLine(0, "α ＝ #0.00", std::vector<double>{1});
  EXPECT_EQ(w.LineCounter(), 4);
  EXPECT_EQ(Cp932ToUtf8(w.Pending()).value(), "?R1計算条件\r\n\r\n\r\n  α ＝  1.00\r\n");

  // 100-line pages: with 95 lines written, 5 more fit and 6 do not.
  for (int i = 0; i < 91; ++i) w.PrintBlankLines(1);
  ASSERT_EQ(w.LineCounter(), 95);
  size_t before = w.Pending().size();
  w.KeepTogether(5, 2);
  EXPECT_EQ(w.Pending().substr(before), "\r\n\r\n");
  EXPECT_EQ(w.LineCounter(), 97);
  w.KeepTogether(4, 0);
  EXPECT_EQ(w.Pending().back(), '\f');
  EXPECT_EQ(w.LineCounter(), 0);
  w.SetPageLength(62);
  EXPECT_EQ(w.PageLength(), 62);
}

class FormatFileTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  std::string path = JoinPath(dir.path().toStdString(), "Zrn.FMT");
  void Write(const std::string& utf8) {
    std::string bytes;
    for (std::string_view line : SplitLines(utf8)) bytes += Utf8ToCp932(line) + "\r\n";
    ASSERT_TRUE(WriteFileBytes(path, bytes));
  }
};

TEST_F(FormatFileTest, ReadsLevelsAndTemplates) {
  Write("free text\n計算条件x\n計算条件\n001 1計算条件\n全角文字2本文 ##0\nab\n004 0\n\nEnd\n解析結果\nEnd\n");
  FormatSection s = ReadFormatSection(path, "計算条件");
  ASSERT_EQ(s.Count(), 5);
  EXPECT_EQ(s.Level(1), 1);
  EXPECT_EQ(s.Template(1), "計算条件");
  // The first four characters are free, whatever their width.
  EXPECT_EQ(s.Level(2), 2);
  EXPECT_EQ(s.Template(2), "本文 ##0");
  // Short lines are body text with an empty template.
  EXPECT_EQ(s.Level(3), 0);
  EXPECT_EQ(s.Template(3), "");
  EXPECT_EQ(s.Template(4), "");
  EXPECT_EQ(ReadFormatSection(path, "解析結果").Count(), 0);
}

TEST_F(FormatFileTest, Failures) {
  EXPECT_THROW(ReadFormatSection(path, "計算条件"), ReportError);  // no file
  Write("計算条件\n001 0a\n");
  EXPECT_THROW(ReadFormatSection(path, "計算条件"), ReportError);  // no End
  EXPECT_THROW(ReadFormatSection(path, "杭応力"), ReportError);    // no section
  Write("計算条件\n001 5a\nEnd\n");
  EXPECT_THROW(ReadFormatSection(path, "計算条件"), ReportError);  // level 5
  Write("計算条件\n001 xa\nEnd\n");
  EXPECT_THROW(ReadFormatSection(path, "計算条件"), ReportError);
  std::string sixty = "計算条件\n";
  for (int i = 0; i < 60; ++i) sixty += "    0line\n";
  Write(sixty + "End\n");
  EXPECT_EQ(ReadFormatSection(path, "計算条件").Count(), 60);
  Write(sixty + "    0one more\nEnd\n");
  EXPECT_THROW(ReadFormatSection(path, "計算条件"), ReportError);
  ASSERT_TRUE(WriteFileBytes(path, "\x8c\x76\x8e\x5a\x8f\xf0\x8c\x8f\r\n    0\x82\xff\r\nEnd\r\n"));
  EXPECT_THROW(ReadFormatSection(path, "計算条件"), ReportError);  // not CP932
}

TEST(AppendFormFeed, IgnoresErrors) {
  QTemporaryDir dir;
  std::string file = JoinPath(dir.path().toStdString(), "a.prn");
  ASSERT_TRUE(WriteFileBytes(file, "x\r\n"));
  AppendFormFeed(file);
  EXPECT_EQ(ReadFileBytes(file).value(), "x\r\n\f");
  AppendFormFeed(JoinPath(dir.path().toStdString(), "no/such/folder/b.prn"));
}

}  // namespace
}  // namespace hasorin
