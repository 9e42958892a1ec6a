// Drawing and sheet files: what the writer puts in them, that the reader
// gets the same model back, and how both cope with damaged files.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>

#include "cp932.h"
#include "drawing_file.h"
#include "paths.h"
#include "text_file.h"

namespace hasorin {
namespace {

class DrawingFileTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  std::string Path(const std::string& name) const { return JoinPath(dir.path().toStdString(), name); }

  // Writes UTF-8 text to a file as CP932 with CR LF line ends.
  void WriteText(const std::string& path, const std::string& utf8) {
    std::string bytes;
    for (std::string_view line : SplitLines(utf8)) bytes += Utf8ToCp932(line) + "\r\n";
    ASSERT_TRUE(WriteFileBytes(path, bytes));
  }
  std::string ReadText(const std::string& path) {
    auto bytes = ReadFileBytes(path);
    EXPECT_TRUE(bytes.has_value());
    return Cp932ToUtf8(bytes.value_or("")).value_or("<bad>");
  }

  // Style 1 of 200 twips, style 2 of 120 twips.
  TextStyleTable Styles() {
    return {{"1", 0, "ＭＳ ゴシック", 200, false, false, false, ""},
            {"2", 0, "ＭＳ ゴシック", 120, false, false, false, ""}};
  }
};

TEST(DrawingUnits, TextWidthCountsFullWidthCharactersTwice) {
  TextStyle style{"1", 0, "ＭＳ ゴシック", 200, false, false, false, ""};
  const double h = 200.0 / 1440 * 25.4;
  EXPECT_NEAR(TextWidthMm(style, "杭配置"), 3 * h, 1e-12);
  EXPECT_NEAR(TextWidthMm(style, "abc"), 1.5 * h, 1e-12);
  EXPECT_NEAR(TextWidthMm(style, "ｱｲ"), h, 1e-12);  // half-width katakana: one column each
  EXPECT_NEAR(TextWidthMm(style, "Ｘ軸+1"), 2 * h + h, 1e-12);
}

TEST(DrawingUnits, TwipsAndMillimetres) {
  EXPECT_DOUBLE_EQ(TwipsToMm(1440), 25.4);
  EXPECT_EQ(MmToTwips(25.4), 1440);
  EXPECT_EQ(MmToTwips(150), 8504);  // 8503.937
  // Halves go to the even neighbour: 0.5 twips and 1.5 twips.
  EXPECT_EQ(MmToTwips(25.4 / 2880), 0);
  EXPECT_EQ(MmToTwips(3 * 25.4 / 2880), 2);
  EXPECT_EQ(MmToTwips(-25.4), -1440);
}

TEST(DrawingUnits, RotatePointCounterClockwise) {
  auto [x, y] = RotatePoint(2, 1, 1, 1, 90);
  EXPECT_NEAR(x, 1, 1e-9);
  EXPECT_NEAR(y, 2, 1e-9);
  std::tie(x, y) = RotatePoint(2, 1, 1, 1, -90);
  EXPECT_NEAR(x, 1, 1e-9);
  EXPECT_NEAR(y, 0, 1e-9);
  EXPECT_DOUBLE_EQ(ArrowAngleDeg(3), -90);
  EXPECT_DOUBLE_EQ(ArrowAngleDeg(7), 90);
  EXPECT_DOUBLE_EQ(ArrowAngleDeg(9), 0);
}

TEST_F(DrawingFileTest, DeliveredDefinitionFilesLoad) {
  // The tests run in the program folder, next to the delivered data.
  LineTypeTable lines;
  TextStyleTable styles;
  ASSERT_TRUE(ReadLineDef(kLineDefFileName, lines).ok);
  ASSERT_TRUE(ReadStrDef(kStrDefFileName, styles).ok);
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[0].weightClass, 1);  // arrows: thin solid
  EXPECT_EQ(lines[0].penStyle, 0);
  EXPECT_TRUE(lines[2].weightClass == 2 || lines[2].weightClass == 3);  // pile circles
  EXPECT_EQ(lines[3].penStyle, 2);                                      // grid dotted
  ASSERT_EQ(styles.size(), 2u);
  EXPECT_EQ(styles[0].fontName, "ＭＳ ゴシック");
  EXPECT_GT(styles[0].sizeTwips, styles[1].sizeTwips);
}

TEST_F(DrawingFileTest, DefinitionFileFailures) {
  LineTypeTable lines;
  TextStyleTable styles;
  EXPECT_FALSE(ReadLineDef(Path("missing.DEF"), lines).ok);

  WriteText(Path("noend.DEF"), "header\n1,1,0,a\n2,2,0,b\n");
  DrawStatus s = ReadLineDef(Path("noend.DEF"), lines);
  EXPECT_FALSE(s.ok);
  EXPECT_TRUE(lines.empty());

  WriteText(Path("bad.DEF"), "header\n1,1,0,a\n2,x,0,b\nEND\n");
  s = ReadLineDef(Path("bad.DEF"), lines);
  EXPECT_FALSE(s.ok);
  EXPECT_EQ(s.line, 3);

  std::string ten = "header\n";
  for (int i = 1; i <= 10; ++i) ten += std::to_string(i) + ",1,0,c\n";
  WriteText(Path("ten.DEF"), ten + "END\n");
  EXPECT_FALSE(ReadLineDef(Path("ten.DEF"), lines).ok);

  // Records may run over several lines and carry quoted fields.
  WriteText(Path("split.DEF"), "header\n\"1\",0,\"ＭＳ ゴシック\"\n200,1,0,0,見出し\nEND\n");
  ASSERT_TRUE(ReadStrDef(Path("split.DEF"), styles).ok);
  EXPECT_TRUE(styles[0].bold);
  EXPECT_EQ(styles[0].fontName, "ＭＳ ゴシック");

  WriteText(Path("three.DEF"), "h\n1,0,f,100,0,0,0,a\n2,0,f,100,0,0,0,b\n3,0,f,100,0,0,0,c\nEND\n");
  EXPECT_FALSE(ReadStrDef(Path("three.DEF"), styles).ok);
  WriteText(Path("short.DEF"), "h\n1,0,f,100,0,0\n");
  EXPECT_FALSE(ReadStrDef(Path("short.DEF"), styles).ok);
  ASSERT_TRUE(WriteFileBytes(Path("notcp932.DEF"), "h\r\n1,0,\x82\xff,100,0,0,0,a\r\nEND\r\n"));
  EXPECT_FALSE(ReadStrDef(Path("notcp932.DEF"), styles).ok);
}

TEST_F(DrawingFileTest, OnlySectionsWithRecordsAreWritten) {
  DrawingElements e;
  ASSERT_TRUE(WriteDrawingFile(Path("empty.drw"), "Hasorin", "杭配置図", e, Styles()).ok);
  EXPECT_EQ(ReadText(Path("empty.drw")),
            "Hasorin\r\n杭配置図\r\n0.00, 0.00, 0.00, " + std::string(10, ' ') +
                "0.00, 0.00, 0.00\r\n座標情報\r\nEND\r\n");

  e.AddPoint(1.5, -2);
  e.AddPoint(10, 20);
  e.AddLine(1, 2, 4);
  ASSERT_TRUE(WriteDrawingFile(Path("lines.drw"), "c", "t", e, Styles()).ok);
  EXPECT_EQ(ReadText(Path("lines.drw")),
            "c\r\nt\r\n8.50, 22.00, 1.50, " + std::string(9, ' ') + "-2.00, 10.00, 20.00\r\n"
            "座標情報\r\n1, 1.500000, -2.000000\r\n2, 10.000000, 20.000000\r\nEND\r\n"
            "線分情報\r\n1, 1, 2, 4\r\nEND\r\n");
}

TEST_F(DrawingFileTest, ExtentIncludesTextBoxes) {
  TextStyleTable styles = Styles();
  const double h2 = styles[1].SizeMm();
  DrawingElements e;
  e.AddPoint(0, 0);
  e.AddPoint(10, 10);
  e.AddText("+1.000", -5, 2, 2, kTextVertical);   // occupies x -5-h2..-5, y 2..2+w
  e.AddText("ABCDEFGHIJ", 8, 9, 2, kTextHorizontal);  // reaches x 8+5*h2, y 9+h2
  DrawingExtent x = ComputeExtent(e, styles);
  EXPECT_NEAR(x.xMin, -5 - h2, 1e-12);
  EXPECT_NEAR(x.xMax, 8 + 5 * h2, 1e-12);
  EXPECT_NEAR(x.yMin, 0, 1e-12);
  EXPECT_NEAR(x.yMax, std::max(10.0, 9 + h2), 1e-12);
  EXPECT_NEAR(x.width, x.xMax - x.xMin, 1e-12);
}

TEST_F(DrawingFileTest, ReaderRoundTripsEveryElementKind) {
  DrawingElements e;
  for (int i = 0; i < 6; ++i) e.AddPoint(i * 1.25, -i * 0.5);
  e.rects.push_back({1, 2, 3, 4});
  e.AddLine(1, 2, 1);
  e.AddLine(3, 6, 4);
  e.AddCircle(2, 3.125, 3);
  e.AddArc({1, 2, 3, 0, 90, 2});
  e.AddFill({3, 1, {1, 2, 3, 4}});
  e.AddArrow(5, 7, 1);
  e.AddText("杭 12", 1.5, 2.5, 2, kTextHorizontal);
  e.AddText("Ｚ軸", -20, 40, 1, kTextVertical);
  ASSERT_TRUE(WriteDrawingFile(Path("all.drw"), "Hasorin", "杭配置図", e, Styles()).ok);

  DrawingFile f;
  DrawStatus s = ReadDrawingFile(Path("all.drw"), f);
  ASSERT_TRUE(s.ok) << s.message << " line " << s.line;
  EXPECT_EQ(f.caption, "Hasorin");
  EXPECT_EQ(f.title, "杭配置図");
  DrawingExtent x = ComputeExtent(e, Styles());
  EXPECT_NEAR(f.extent.xMin, x.xMin, 0.005);
  EXPECT_NEAR(f.extent.yMax, x.yMax, 0.005);
  const DrawingElements& r = f.elements;
  ASSERT_EQ(r.points.size(), 6u);
  EXPECT_DOUBLE_EQ(r.points[5].x, 6.25);
  EXPECT_DOUBLE_EQ(r.points[5].y, -2.5);
  ASSERT_EQ(r.rects.size(), 1u);
  EXPECT_EQ(r.rects[0].d, 4);
  ASSERT_EQ(r.lines.size(), 2u);
  EXPECT_EQ(r.lines[1].start, 3);
  EXPECT_EQ(r.lines[1].end, 6);
  EXPECT_EQ(r.lines[1].lineType, 4);
  ASSERT_EQ(r.circles.size(), 1u);
  EXPECT_DOUBLE_EQ(r.circles[0].radius, 3.125);
  ASSERT_EQ(r.arcs.size(), 1u);
  EXPECT_DOUBLE_EQ(r.arcs[0].endDeg, 90);
  ASSERT_EQ(r.fills.size(), 1u);
  EXPECT_EQ(r.fills[0].polygon, (std::vector<int>{1, 2, 3, 4}));
  ASSERT_EQ(r.arrows.size(), 1u);
  EXPECT_EQ(r.arrows[0].direction, 7);
  ASSERT_EQ(r.texts.size(), 2u);
  EXPECT_EQ(r.texts[0].text, "杭 12");
  EXPECT_EQ(r.texts[1].style, 1);
  EXPECT_EQ(r.texts[1].direction, kTextVertical);
  EXPECT_DOUBLE_EQ(r.texts[1].x, -20);
}

TEST_F(DrawingFileTest, ReaderKeepsWhatPrecedesAMalformedRecord) {
  WriteText(Path("bad.drw"),
            "Hasorin\n杭配置図\n10.00, 10.00, 0.00, 0.00, 10.00, 10.00\n"
            "座標情報\n1, 0.0, 0.0\n2, 5.0, 5.0\nEND\n"
            "線分情報\n1, 1, 2, 4\n2, 1, 9, 4\n3, 2, 1, 4\nEND\n"
            "円情報\n1, 1, 2.0, 3\nEND\n");
  DrawingFile f;
  DrawStatus s = ReadDrawingFile(Path("bad.drw"), f);
  EXPECT_FALSE(s.ok);
  EXPECT_EQ(s.line, 10);  // the line to point 9, which does not exist
  EXPECT_EQ(f.elements.points.size(), 2u);
  EXPECT_EQ(f.elements.lines.size(), 1u);
  EXPECT_TRUE(f.elements.circles.empty());

  // Cut off in the middle of a section.
  WriteText(Path("cut.drw"), "c\nt\n1, 1, 0, 0, 1, 1\n座標情報\n1, 0, 0\n2, 1,");
  s = ReadDrawingFile(Path("cut.drw"), f);
  EXPECT_FALSE(s.ok);
  EXPECT_EQ(s.line, 6);
  EXPECT_EQ(f.elements.points.size(), 1u);

  // A text record without its position line.
  WriteText(Path("text.drw"), "c\nt\n1, 1, 0, 0, 1, 1\n座標情報\nEND\n文字情報\nabc\n");
  s = ReadDrawingFile(Path("text.drw"), f);
  EXPECT_FALSE(s.ok);
  EXPECT_TRUE(f.elements.texts.empty());

  WriteText(Path("head.drw"), "c\nt\nnot numbers\n");
  s = ReadDrawingFile(Path("head.drw"), f);
  EXPECT_FALSE(s.ok);
  EXPECT_EQ(s.line, 3);

  EXPECT_FALSE(ReadDrawingFile(Path("missing.drw"), f).ok);
  ASSERT_TRUE(WriteFileBytes(Path("empty.drw"), ""));
  EXPECT_FALSE(ReadDrawingFile(Path("empty.drw"), f).ok);

  // Unknown sections are skipped; records outside sections too.
  WriteText(Path("other.drw"), "c\nt\n1, 1, 0, 0, 1, 1\n座標情報\n1, 0, 0\nEND\n寸法情報\n1, 2\nEND\n");
  s = ReadDrawingFile(Path("other.drw"), f);
  EXPECT_TRUE(s.ok) << s.message;
  EXPECT_EQ(f.elements.points.size(), 1u);
}

TEST_F(DrawingFileTest, SheetCentresTheFirstDrawing) {
  DrawingElements e;
  e.AddPoint(-10, 5);
  e.AddPoint(30, 45);  // extent 40 x 40 from (-10, 5)
  ASSERT_TRUE(WriteDrawingFile(Path("a.drw"), "c", "t", e, Styles()).ok);
  ASSERT_TRUE(WriteDrawingFile(Path("b.drw"), "c", "t", e, Styles()).ok);
  ASSERT_TRUE(WriteSheetFile(Path("s.sht"), "杭配置図", 150, 100,
                             {{Path("a.drw"), 0, 0}, {Path("b.drw"), 2.5, -1}})
                  .ok);
  // Numbers in print zones of 14 columns, a blank before non-negative ones.
  auto zoned = [](std::string a, std::string b) { return a + std::string(14 - a.size(), ' ') + b; };
  EXPECT_EQ(ReadText(Path("s.sht")), "杭配置図\r\n" + zoned(" 150 ", " 100 ") + "\r\n" + Path("a.drw") +
                                          "\r\n" + zoned(" 65 ", " 25 ") + "\r\n" + Path("b.drw") +
                                          "\r\n" + zoned(" 2.5 ", "-1 ") + "\r\nEND\r\n");
  SheetFile sheet;
  ASSERT_TRUE(ReadSheetFile(Path("s.sht"), sheet).ok);
  EXPECT_EQ(sheet.title, "杭配置図");
  EXPECT_DOUBLE_EQ(sheet.width, 150);
  EXPECT_DOUBLE_EQ(sheet.height, 100);
  ASSERT_EQ(sheet.drawings.size(), 2u);
  EXPECT_DOUBLE_EQ(sheet.drawings[0].offsetX, 65);  // (150 - 40) / 2 - (-10)
  EXPECT_DOUBLE_EQ(sheet.drawings[0].offsetY, 25);  // (100 - 40) / 2 - 5
  EXPECT_DOUBLE_EQ(sheet.drawings[1].offsetX, 2.5);

  EXPECT_FALSE(WriteSheetFile(Path("s2.sht"), "t", 150, 150, {{Path("missing.drw"), 0, 0}}).ok);
}

TEST_F(DrawingFileTest, SheetReaderKeepsThreeDrawingsAndReportsDamage) {
  WriteText(Path("four.sht"), "t\n 150  150\na\n 0  0\nb\n 1  1\nc\n 2 2\nd\n 3 3\nEND\n");
  SheetFile sheet;
  ASSERT_TRUE(ReadSheetFile(Path("four.sht"), sheet).ok);
  EXPECT_EQ(sheet.drawings.size(), 3u);
  EXPECT_EQ(sheet.skippedDrawings, 1);
  EXPECT_EQ(sheet.drawings[2].path, "c");

  WriteText(Path("cut.sht"), "t\n 150  150\na\n 0  0\nb\n");
  DrawStatus s = ReadSheetFile(Path("cut.sht"), sheet);
  EXPECT_FALSE(s.ok);
  EXPECT_EQ(s.line, 6);
  EXPECT_EQ(sheet.drawings.size(), 1u);

  WriteText(Path("size.sht"), "t\nwide high\nEND\n");
  s = ReadSheetFile(Path("size.sht"), sheet);
  EXPECT_FALSE(s.ok);
  EXPECT_EQ(s.line, 2);
}

TEST(DrawingElementsTest, CapacitiesStopWithAClearError) {
  DrawingElements e;
  e.capacity.circles = 2;
  e.AddPoint(0, 0);
  e.AddCircle(1, 1, 3);
  e.AddCircle(1, 2, 3);
  try {
    e.AddCircle(1, 3, 3);
    FAIL() << "third circle accepted";
  } catch (const DrawingFullError& full) {
    EXPECT_NE(full.message.find("円"), std::string::npos);
  }
  EXPECT_EQ(e.circles.size(), 2u);
}

TEST(DrawingFileList, NamesComeFromTheGivenFolder) {
  QTemporaryDir dir;
  TempFileList list;
  list.SetFolder(dir.path().toStdString());
  auto a = NewDrawingFileName(list);
  auto b = NewDrawingFileName(list);
  ASSERT_TRUE(a && b);
  EXPECT_NE(*a, *b);
  EXPECT_EQ(FolderOf(*a), dir.path().toStdString());
  EXPECT_EQ(FileNameOf(*a).rfind("~PS", 0), 0u);
  EXPECT_TRUE(FileExists(*a));
  list.DeleteAll();
  EXPECT_FALSE(FileExists(*a));
}

}  // namespace
}  // namespace hasorin
