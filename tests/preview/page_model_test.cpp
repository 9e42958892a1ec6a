// The print file as the previewer reads it and pages it.
#include <gtest/gtest.h>

#include <cmath>

#include "cp932.h"
#include "page_layout.h"
#include "preview_args.h"
#include "print_document.h"

namespace hasorin::preview {
namespace {

PrintDocument Parse(const QString& text) { return ParsePrintBytes(EncodeCp932(text)); }

QString Lines(int n, const QString& prefix = QStringLiteral("line")) {
  QString text;
  for (int i = 1; i <= n; ++i) text += QStringLiteral("%1 %2\r\n").arg(prefix).arg(i);
  return text;
}

// A figure line whose sheet is known to be `w` x `h` mm, without files.
void AddFigure(PrintDocument& doc, double w, double h) {
  auto figure = std::make_shared<LoadedFigure>();
  figure->sheetRead = true;
  figure->widthMm = w;
  figure->heightMm = h;
  FigureRef ref;
  ref.sheetPath = "sheet";
  ref.figure = figure;
  PrintLine line;
  line.kind = LineKind::Figure;
  line.figure = int(doc.figures.size());
  doc.figures.push_back(ref);
  doc.lines.push_back(line);
}

void AddText(PrintDocument& doc, int n, bool breakFirst = false) {
  for (int i = 0; i < n; ++i) {
    PrintLine line;
    line.text = QStringLiteral("text %1").arg(i);
    line.pageBreakBefore = breakFirst && i == 0;
    doc.lines.push_back(line);
  }
}

TEST(PrintFileParse, LinesSplitAtLineEndsAndFormFeeds) {
  // CR LF, a lone LF and a lone CR all end a line; a form feed starts a new
  // page wherever it stands, and a run of them is one page break.
  PrintDocument doc = Parse(QStringLiteral("a\r\nb\nc\rd\r\n\fe\r\nf\fg\r\n\f\f\r\nh"));
  std::vector<QString> texts;
  std::vector<bool> breaks;
  for (const PrintLine& l : doc.lines) {
    texts.push_back(l.text);
    breaks.push_back(l.pageBreakBefore);
  }
  EXPECT_EQ(texts, (std::vector<QString>{"a", "b", "c", "d", "e", "f", "g", "", "h"}));
  EXPECT_EQ(breaks, (std::vector<bool>{false, false, false, false, true, false, true, true, false}));

  // A trailing form feed or line end adds no line.
  EXPECT_EQ(Parse(QStringLiteral("x\r\n\f")).lines.size(), 1u);
  EXPECT_EQ(Parse(QStringLiteral("x\r\n")).lines.size(), 1u);
  EXPECT_TRUE(Parse(QString()).lines.empty());
}

TEST(PrintFileParse, HeadingMarksAreRemovedAndClassified) {
  PrintDocument doc = Parse(QStringLiteral(
      "?R11. 計算条件\r\n  ?R2(1) 杭体\r\n?R3 not a heading\r\nbody ?R1 in text\r\n\f  ?R1 2. 結果\r\n"));
  ASSERT_EQ(doc.lines.size(), 5u);
  EXPECT_EQ(doc.lines[0].kind, LineKind::Heading1);
  EXPECT_EQ(doc.lines[0].text, QStringLiteral("1. 計算条件"));
  EXPECT_EQ(doc.lines[1].kind, LineKind::Heading2);
  EXPECT_EQ(doc.lines[1].text, QStringLiteral("  (1) 杭体"));  // the margin stays
  EXPECT_EQ(doc.lines[2].kind, LineKind::Text);
  EXPECT_EQ(doc.lines[3].kind, LineKind::Text);
  EXPECT_EQ(doc.lines[4].kind, LineKind::Heading1);  // after a form feed
  EXPECT_TRUE(doc.lines[4].pageBreakBefore);
}

TEST(PrintFileParse, FigureLinesNameTheirSheets) {
  PrintDocument doc = Parse(QStringLiteral(
      "    ?FG;000;000;/tmp/a folder/~PS1.tmp  \r\n?FG;000;000;\"/q/s.tmp\"\r\n  ?FG;000\r\n"));
  ASSERT_EQ(doc.figures.size(), 2u);
  EXPECT_EQ(doc.figures[0].sheetPath, "/tmp/a folder/~PS1.tmp");
  EXPECT_EQ(doc.figures[1].sheetPath, "/q/s.tmp");
  EXPECT_EQ(doc.lines[0].kind, LineKind::Figure);
  EXPECT_EQ(doc.lines[1].figure, 1);
  // A figure line without a path is shown as a note, not dropped.
  EXPECT_EQ(doc.lines[2].kind, LineKind::Text);
  EXPECT_TRUE(doc.lines[2].text.contains(QStringLiteral("図の指定が正しくありません")));
  EXPECT_TRUE(doc.lines[2].text.contains(QStringLiteral("?FG;000")));
}

TEST(PrintFileParse, BadBytesBecomeQuestionMarksKeepingColumns) {
  // 0x81 0x20 is no CP932 character; 0xB1 is half-width katakana "ｱ";
  // 0x82 0xA0 is "あ"; a NUL byte prints as a blank.
  const QByteArray bytes("\x81\x20X\xB1\x82\xA0|\r\nok\x00!\r\n", 15);
  PrintDocument doc = ParsePrintBytes(bytes);
  ASSERT_EQ(doc.lines.size(), 2u);
  EXPECT_EQ(doc.lines[0].text, QStringLiteral("??Xｱあ|"));
  EXPECT_EQ(PrintColumnsOf(doc.lines[0].text), 7);  // as many columns as bytes
  EXPECT_EQ(doc.lines[1].text, QStringLiteral("ok !"));
  EXPECT_EQ(doc.warnings.size(), 1);
  EXPECT_TRUE(Parse(QStringLiteral("正しい行\r\n")).warnings.isEmpty());
}

TEST(PrintColumns, OneColumnPerCp932Byte) {
  EXPECT_EQ(PrintColumnsOf(QStringLiteral("abc 1,234.5")), 11);
  EXPECT_EQ(PrintColumnsOf(QStringLiteral("ﾔﾝｸﾞ係数")), 8);
  EXPECT_EQ(PrintColumnsOf(QStringLiteral("│杭番号│─┼～①")), 18);
  for (const QString& s : {QStringLiteral("ﾌﾟﾚﾋﾞｭｰ 計算条件（杭）"), QStringLiteral("┌─┬─┐ kN·m")}) {
    EXPECT_EQ(PrintColumnsOf(s), Cp932Length(s)) << s.toStdString();
  }
  // Columns are placed at whole multiples of half the character size.
  PrintDocument doc = Parse(QStringLiteral("x\r\n"));
  const PageLayout layout = LayoutDocument(doc);
  EXPECT_DOUBLE_EQ(layout.ColumnXMm(10) - layout.ColumnXMm(0), 10 * layout.charSizeMm / 2);
}

TEST(PageLayoutTest, HundredLinesAPageAndFormFeeds) {
  // Forced pages of up to 100 lines: 100 lines a page.
  PageLayout layout = LayoutDocument(Parse(Lines(100) + QStringLiteral("\f") + Lines(40)));
  ASSERT_EQ(layout.PageCount(), 2);
  EXPECT_EQ(layout.linesPerPage, 100);
  EXPECT_EQ(layout.pages[0].lines.size(), 100u);
  EXPECT_EQ(layout.pages[1].lines.front().line, 100);
  EXPECT_EQ(layout.pages[1].lines.front().slot, 0);
  EXPECT_NEAR(layout.pitchMm * 100, layout.geometry.TextHeightMm(), 1e-9);

  // A form feed right after a full page adds no empty page; a form feed at
  // the very start neither.
  layout = LayoutDocument(Parse(QStringLiteral("\f") + Lines(100) + QStringLiteral("\f") + Lines(3)));
  ASSERT_EQ(layout.PageCount(), 2);
  EXPECT_EQ(layout.pages[1].lines.size(), 3u);

  // An empty document still has one page.
  EXPECT_EQ(LayoutDocument(PrintDocument{}).PageCount(), 1);
}

TEST(PageLayoutTest, LongestForcedPageSetsTheLinesPerPage) {
  // A table page of 116 lines stays whole, and so does every shorter page.
  PageLayout layout = LayoutDocument(Parse(Lines(80) + QStringLiteral("\f") + Lines(116) +
                                           QStringLiteral("\f") + Lines(105)));
  ASSERT_EQ(layout.PageCount(), 3);
  EXPECT_EQ(layout.linesPerPage, 116);
  EXPECT_EQ(layout.pages[1].lines.size(), 116u);
  EXPECT_EQ(layout.pages[2].lines.size(), 105u);
  EXPECT_NEAR(layout.pitchMm * 116, layout.geometry.TextHeightMm(), 1e-9);
  EXPECT_DOUBLE_EQ(layout.charSizeMm, layout.pitchMm);

  // Beyond 130 lines a page still continues on the next one.
  layout = LayoutDocument(Parse(Lines(131) + QStringLiteral("\f") + Lines(20)));
  ASSERT_EQ(layout.PageCount(), 3);
  EXPECT_EQ(layout.linesPerPage, 130);
  EXPECT_EQ(layout.pages[0].lines.size(), 130u);
  EXPECT_EQ(layout.pages[1].lines.size(), 1u);

  // Blank lines closing a page do not make it longer, and those that run
  // over the last page leave no empty page.
  layout = LayoutDocument(Parse(Lines(100) + QStringLiteral(" \r\n\r\n\r\n")));
  EXPECT_EQ(layout.linesPerPage, 100);
  EXPECT_EQ(layout.PageCount(), 1);
}

TEST(PageLayoutTest, BlankLinesDoNotStartAnOverflowPage) {
  PageLayout layout = LayoutDocument(Parse(Lines(130) + QStringLiteral(" \r\n\r\nnext\r\n")));
  ASSERT_EQ(layout.PageCount(), 2);
  ASSERT_EQ(layout.pages[1].lines.size(), 1u);
  EXPECT_EQ(layout.pages[1].lines[0].line, 132);
  // ...but after a form feed they are the page's own.
  layout = LayoutDocument(Parse(QStringLiteral("a\r\n\f\r\nb\r\n")));
  ASSERT_EQ(layout.PageCount(), 2);
  EXPECT_EQ(layout.pages[1].lines.size(), 2u);
}

TEST(PageLayoutTest, OneCharacterSizeFitsHundredLinesAndTheWidestLine) {
  const PageGeometry g;
  // Narrow text: the line pitch decides.
  PageLayout layout = LayoutDocument(Parse(QStringLiteral("short\r\n")));
  EXPECT_DOUBLE_EQ(layout.charSizeMm, g.TextHeightMm() / 100);
  // A 200-column line decides, and exactly fills the text width.
  layout = LayoutDocument(Parse(QString(200, QLatin1Char('-')) + QStringLiteral("\r\nx\r\n")));
  EXPECT_EQ(layout.maxColumns, 200);
  EXPECT_NEAR(layout.maxColumns * layout.columnMm, g.TextWidthMm(), 1e-9);
  EXPECT_LT(layout.charSizeMm, g.TextHeightMm() / 100);
  // Full-width characters count twice.
  layout = LayoutDocument(Parse(QString(100, QChar(0x6767)) + QStringLiteral("\r\n")));
  EXPECT_EQ(layout.maxColumns, 200);
  // A garbage line of 10,000 columns does not shrink the text to nothing.
  layout = LayoutDocument(Parse(QString(10000, QLatin1Char('x'))));
  EXPECT_DOUBLE_EQ(layout.charSizeMm, kMinCharSizeMm);
}

TEST(PageLayoutTest, HeadingsAreListedWithTheirPage) {
  PageLayout layout = LayoutDocument(Parse(QStringLiteral("?R11. 計算条件\r\n  ?R21.1 杭\r\n?R2   \r\n") +
                                           Lines(140) + QStringLiteral("\f?R12. 結果\r\n")));
  ASSERT_EQ(layout.headings.size(), 3u);  // the empty one is not listed
  EXPECT_EQ(layout.headings[0].level, 1);
  EXPECT_EQ(layout.headings[0].text, QStringLiteral("1. 計算条件"));
  EXPECT_EQ(layout.headings[1].level, 2);
  EXPECT_EQ(layout.headings[1].text, QStringLiteral("1.1 杭"));
  EXPECT_EQ(layout.headings[1].slot, 1);
  EXPECT_EQ(layout.headings[2].page, 2);
  EXPECT_EQ(layout.headings[2].slot, 0);
}

TEST(PageLayoutTest, FiguresAreCentredAtTheirLineAndReserveItsHeight) {
  PrintDocument doc;
  AddText(doc, 2);
  AddFigure(doc, 150, 150);
  AddText(doc, 1);
  const PageLayout layout = LayoutDocument(doc);
  const PageGeometry& g = layout.geometry;
  ASSERT_EQ(layout.PageCount(), 1);
  ASSERT_EQ(layout.pages[0].figures.size(), 1u);
  const PlacedFigure& f = layout.pages[0].figures[0];
  EXPECT_EQ(f.slot, 2);
  EXPECT_DOUBLE_EQ(f.scale, 1.0);
  EXPECT_DOUBLE_EQ(f.rectMm.left(), g.leftMm + (g.TextWidthMm() - 150) / 2);
  EXPECT_DOUBLE_EQ(f.rectMm.top(), layout.LineTopMm(2));
  EXPECT_DOUBLE_EQ(f.rectMm.width(), 150);
  // The line after the figure starts below it.
  const PlacedLine& after = layout.pages[0].lines.back();
  EXPECT_EQ(after.slot, 2 + int(std::ceil(150 / layout.pitchMm)));
  EXPECT_GE(layout.LineTopMm(after.slot), f.rectMm.bottom());
}

TEST(PageLayoutTest, FiguresShrinkOnlyWhenTheyDoNotFit) {
  PrintDocument doc;
  AddFigure(doc, 350, 100);   // too wide: scaled to the text width
  AddFigure(doc, 100, 600);   // taller than a page: its own page, scaled to it
  AddText(doc, 1, true);
  AddText(doc, 90);
  AddFigure(doc, 100, 100);   // no room below 91 lines: next page, full size
  const PageLayout layout = LayoutDocument(doc);
  const PageGeometry& g = layout.geometry;
  // Neither forced page fits at any line count: the text keeps its size.
  EXPECT_EQ(layout.linesPerPage, 100);
  ASSERT_EQ(layout.PageCount(), 4);
  const PlacedFigure& wide = layout.pages[0].figures.at(0);
  EXPECT_DOUBLE_EQ(wide.scale, g.TextWidthMm() / 350);
  EXPECT_DOUBLE_EQ(wide.rectMm.left(), g.leftMm);
  const PlacedFigure& tall = layout.pages[1].figures.at(0);
  EXPECT_EQ(tall.slot, 0);
  EXPECT_NEAR(tall.rectMm.height(), g.TextHeightMm(), 1e-9);
  EXPECT_EQ(layout.pages[2].lines.size(), 91u);
  const PlacedFigure& moved = layout.pages[3].figures.at(0);
  EXPECT_EQ(moved.slot, 0);
  EXPECT_DOUBLE_EQ(moved.scale, 1.0);
}

TEST(PageLayoutTest, AFigurePageThatFitsAtMoreLinesStaysWhole) {
  // 60 lines and a 120 mm figure take 106 lines at 100 a page; a smaller
  // pitch also makes the figure cover more lines, so the page needs ~111.
  PrintDocument doc;
  AddText(doc, 60);
  AddFigure(doc, 150, 120);
  AddText(doc, 1, true);
  const PageLayout layout = LayoutDocument(doc);
  ASSERT_EQ(layout.PageCount(), 2);
  EXPECT_GT(layout.linesPerPage, 106);
  EXPECT_LT(layout.linesPerPage, 130);
  const PlacedFigure& f = layout.pages[0].figures.at(0);
  EXPECT_EQ(f.slot, 60);
  EXPECT_DOUBLE_EQ(f.scale, 1.0);
  EXPECT_LE(f.rectMm.bottom(), layout.geometry.topMm + layout.geometry.TextHeightMm() + 1e-9);
}

TEST(PageLayoutTest, UnreadFiguresKeepOneLinePerNote) {
  PrintDocument doc = Parse(QStringLiteral("a\r\n?FG;000;000;/nowhere.tmp\r\nb\r\n"));
  doc.figures[0].notes << QStringLiteral("（図を読み込めませんでした：/nowhere.tmp）");
  const PageLayout layout = LayoutDocument(doc);
  ASSERT_EQ(layout.pages[0].figures.size(), 1u);
  EXPECT_EQ(layout.pages[0].figures[0].scale, 0.0);
  EXPECT_EQ(layout.pages[0].figures[0].slot, 1);
  EXPECT_EQ(layout.pages[0].lines.back().slot, 2);
}

TEST(PreviewArgsTest, WindowAndPdfCommandLines) {
  PreviewArgs a = ParsePreviewArgs({QStringLiteral("/INI=\"/home/u/My Work\""), QStringLiteral("/tmp/~PS1.tmp")});
  EXPECT_TRUE(a.error.isEmpty());
  EXPECT_EQ(a.iniFolder, "/home/u/My Work");
  EXPECT_EQ(a.printFile, "/tmp/~PS1.tmp");
  // The folder split at its blank (quotes kept) is joined; a print file is one argument.
  a = ParsePreviewArgs({QStringLiteral("/ini=\"C:\\Users\\A"), QStringLiteral("B\\Hasorin\""),
                        QStringLiteral("C:\\Temp Dir\\~PS2.tmp")});
  EXPECT_EQ(a.iniFolder, "C:\\Users\\A B\\Hasorin");
  EXPECT_EQ(a.printFile, "C:\\Temp Dir\\~PS2.tmp");
  a = ParsePreviewArgs({QStringLiteral("--pdf"), QStringLiteral("out.pdf"), QStringLiteral("in.prn")});
  EXPECT_EQ(a.pdfOut, "out.pdf");
  EXPECT_EQ(a.printFile, "in.prn");
  EXPECT_EQ(ParsePreviewArgs({QStringLiteral("--pdf=o.pdf"), QStringLiteral("i")}).pdfOut, "o.pdf");
  EXPECT_FALSE(ParsePreviewArgs({}).error.isEmpty());
  EXPECT_FALSE(ParsePreviewArgs({QStringLiteral("in.prn"), QStringLiteral("--pdf")}).error.isEmpty());
  EXPECT_FALSE(ParsePreviewArgs({QStringLiteral("--bogus"), QStringLiteral("in.prn")}).error.isEmpty());

  // Each argument is one path, as given.
  struct Case {
    QStringList args;
    std::string ini, file;  // file empty: refused
  };
  const std::vector<Case> cases = {
      {{"a  b.prn"}, "", "a  b.prn"},                     // blanks kept
      {{"\"q.prn\""}, "", "\"q.prn\""},                     // quotes are part of the name
      {{"--", "--x.prn"}, "", "--x.prn"},                 // -- ends the options
      {{"--pdf", "o.pdf", "--", "--pdf"}, "", "--pdf"},
      {{"/INI=w", "/INI=p.prn"}, "w", "/INI=p.prn"},      // only the first is the work folder
      {{"p.prn", "/INI=w"}, "", ""},                      // two print files
      {{"a", "b.prn"}, "", ""},
      {{"--x.prn"}, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    a = ParsePreviewArgs(c.args);
    EXPECT_EQ(a.printFile, c.file);
    EXPECT_EQ(a.error.isEmpty(), !c.file.empty());
    if (!c.file.empty()) {
      EXPECT_EQ(a.iniFolder, c.ini);
    }
  }
}

}  // namespace
}  // namespace hasorin::preview
