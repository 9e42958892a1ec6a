// Print files to pages and PDF, through the library and the Preview program:
// the text that reaches the PDF, page counts, a figure page's pixels, and bad
// input of every kind.
#include <gtest/gtest.h>

#include <QPainter>
#include <QStandardPaths>

#include "page_renderer.h"
#include "pdf_output.h"
#include "preview_test_support.h"

namespace hasorin::preview {
namespace {

using testing::DarkPixels;
using testing::EnsureGuiApp;
using testing::ProcessResult;
using testing::RunProgram;
using testing::SampleDrawing;
using testing::SampleSheet;
using testing::WriteCp932;

bool HavePoppler() {
  return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
         !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

QString PdfText(const QString& pdf) {
  return RunProgram(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}).out;
}

int PdfPages(const QString& pdf) {
  const QString info = RunProgram(QStringLiteral("pdfinfo"), {pdf}).out;
  for (const QString& line : info.split(QLatin1Char('\n'))) {
    if (line.startsWith(QStringLiteral("Pages:"))) return line.mid(6).trimmed().toInt();
  }
  return -1;
}

class PdfOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApp();
    ASSERT_TRUE(dir_.isValid());
  }
  QString Path(const QString& name) const { return dir_.filePath(name); }

  // A small report: a chapter, a table, a figure page, a results page.
  std::string Report() {
    const std::string drawing = WriteCp932(dir_, "d.tmp", SampleDrawing());
    const std::string sheet = WriteCp932(dir_, "s.tmp", SampleSheet(drawing));
    return WriteCp932(dir_, "report.prn",
                      QStringLiteral("?R11. 計算条件\n\n  ?R2(1) 杭体および杭配置\n"
                                     "    ┌───┬────────┐\n"
                                     "    │ No │  X (m)         │\n"
                                     "    ├───┼────────┤\n"
                                     "    │  1 │        -1.250  │\n"
                                     "    │  2 │     1,234.567  │\n"
                                     "    └───┴────────┘\n"
                                     "\f    ?FG;000;000;%1\n \n"
                                     "\f?R12. 計算結果\n    δx = 0.00123 m\n")
                          .arg(QString::fromStdString(sheet)));
  }

  QTemporaryDir dir_;
};

TEST_F(PdfOutputTest, ReportReachesThePdfWithItsHeadingsNumbersAndPages) {
  if (!HavePoppler()) GTEST_SKIP() << "pdftotext/pdfinfo not installed";
  const QString pdf = Path("report.pdf");
  QString error;
  QStringList warnings;
  ASSERT_TRUE(PrintFileToPdf(Report(), pdf.toStdString(), error, &warnings)) << error.toStdString();
  EXPECT_TRUE(warnings.isEmpty()) << warnings.join(' ').toStdString();
  EXPECT_EQ(PdfPages(pdf), 3);
  const QString text = PdfText(pdf);
  for (const char* expected : {"1. 計算条件", "(1) 杭体および杭配置", "2. 計算結果", "-1.250", "1,234.567",
                               "- 3 -"}) {
    EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
  }
  // A Greek letter is centred in its two columns: the text reads "δ x".
  EXPECT_TRUE(QString(text).remove(QLatin1Char(' ')).contains(QStringLiteral("δx=0.00123m")));
  // The markers are not printed.
  EXPECT_FALSE(text.contains(QStringLiteral("?R1")));
  EXPECT_FALSE(text.contains(QStringLiteral("?FG")));
}

TEST_F(PdfOutputTest, FigurePageDrawsCirclesAndGridWhereTheDrawingPutsThem) {
  PrintDocument doc;
  QString error;
  ASSERT_TRUE(LoadPrintFile(Report(), doc, error));
  const PageLayout layout = LayoutDocument(doc);
  ASSERT_EQ(layout.PageCount(), 3);
  const Page& page = layout.pages[1];
  ASSERT_EQ(page.figures.size(), 1u);
  const PlacedFigure& placed = page.figures[0];
  EXPECT_DOUBLE_EQ(placed.scale, 1.0);

  // 5 px per mm; a drawing point (x, y) lies on the sheet at (25 + x, 25 + y)
  // and the sheet's top-left corner at the figure rectangle's.
  constexpr double s = 5.0;
  QImage image(int(210 * s), int(297 * s), QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    PageRenderer(doc, layout).Render(painter, 1, QRectF(0, 0, image.width(), image.height()));
  }
  auto px = [&](double x, double y) {
    return QPoint(int((placed.rectMm.left() + 25 + x) * s), int((placed.rectMm.top() + 150 - 25 - y) * s));
  };
  for (QPoint c : {px(30, 30), px(70, 70)}) {
    for (QPoint edge : {c + QPoint(50, 0), c - QPoint(50, 0), c + QPoint(0, 50), c - QPoint(0, 50)})
      EXPECT_GT(DarkPixels(image, QRect(edge - QPoint(2, 2), QSize(5, 5))), 0);
    EXPECT_EQ(DarkPixels(image, QRect(c + QPoint(12, -32), QSize(15, 15))), 0);
  }
  // The grid's middle line runs from y = 0 to 100 mm at x = 50 mm.
  const QPoint top = px(50, 90);
  EXPECT_GT(DarkPixels(image, QRect(top.x() - 1, top.y(), 3, int(80 * s))), int(80 * s / 6));
  // Outside the sheet there is nothing but the page number.
  EXPECT_EQ(DarkPixels(image, QRect(0, 0, int(placed.rectMm.left() * s) - 2, int(250 * s))), 0);
}

TEST_F(PdfOutputTest, MissingFigurePartsAreNotedInThePdf) {
  if (!HavePoppler()) GTEST_SKIP() << "pdftotext/pdfinfo not installed";
  const QString missingDrawing = Path("no_drawing.tmp");
  const std::string sheet = WriteCp932(dir_, "s.tmp", SampleSheet(missingDrawing.toStdString()));
  const std::string prn = WriteCp932(
      dir_, "f.prn",
      QStringLiteral("before\n  ?FG;000;000;%1\n  ?FG;000;000;%2\nafter\n")
          .arg(Path("no_sheet.tmp"), QString::fromStdString(sheet)));
  const QString pdf = Path("f.pdf");
  QString error;
  QStringList warnings;
  ASSERT_TRUE(PrintFileToPdf(prn, pdf.toStdString(), error, &warnings)) << error.toStdString();
  EXPECT_EQ(warnings.size(), 2);
  const QString text = PdfText(pdf).simplified().remove(QLatin1Char(' '));
  EXPECT_TRUE(text.contains(QStringLiteral("（図を読み込めませんでした：%1）").arg(Path("no_sheet.tmp")).remove(' ')));
  EXPECT_TRUE(text.contains(QStringLiteral("no_drawing.tmp")));
  EXPECT_TRUE(text.contains(QStringLiteral("before")));
  EXPECT_TRUE(text.contains(QStringLiteral("after")));
}

TEST_F(PdfOutputTest, PreviewProgramWritesPdfsAndRefusesBadInput) {
  const QString exe = QStringLiteral(PREVIEW_EXE);
  // Missing print file: a clear error, non-zero, no PDF.
  ProcessResult r = RunProgram(exe, {QStringLiteral("--pdf"), Path("x.pdf"), Path("missing.prn")});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(r.err.contains(QStringLiteral("印刷ﾌｧｲﾙを開けません"))) << r.err.toStdString();
  EXPECT_TRUE(r.err.contains(QStringLiteral("missing.prn")));
  EXPECT_FALSE(QFile::exists(Path("x.pdf")));
#ifndef _WIN32
  EXPECT_EQ(RunProgram(exe, {QStringLiteral("--pdf"), Path("x.pdf"), QStringLiteral("/dev/zero")}).exitCode, 2);
#endif
  // No file named at all.
  EXPECT_EQ(RunProgram(exe, {QStringLiteral("--pdf"), Path("x.pdf")}).exitCode, 1);
  // An output folder that does not exist.
  r = RunProgram(exe, {QStringLiteral("--pdf"), Path("no/such/dir/x.pdf"), QString::fromStdString(Report())});
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_TRUE(r.err.contains(QStringLiteral("PDFﾌｧｲﾙ")));

  // An empty print file gives a page that says so.
  const std::string empty = WriteCp932(dir_, "empty.prn", QString());
  r = RunProgram(exe, {QStringLiteral("--pdf"), Path("empty.pdf"), QString::fromStdString(empty)});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_TRUE(QFile::exists(Path("empty.pdf")));
  if (HavePoppler()) {
    EXPECT_EQ(PdfPages(Path("empty.pdf")), 1);
    EXPECT_TRUE(PdfText(Path("empty.pdf")).contains(QStringLiteral("印刷ﾌｧｲﾙに内容がありません")));
  }

  // 10,000 lines without a form feed: 130 a page, 77 pages; garbage bytes:
  // a warning, still a PDF.
  QString many;
  for (int i = 1; i <= 10000; ++i) many += QStringLiteral("%1 行目\n").arg(i);
  const std::string big = WriteCp932(dir_, "big.prn", many);
  r = RunProgram(exe, {QStringLiteral("--pdf=") + Path("big.pdf"), QString::fromStdString(big)});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  if (HavePoppler()) {
    EXPECT_EQ(PdfPages(Path("big.pdf")), 77);
  }

  QFile garbage(Path("garbage.prn"));
  ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
  QByteArray bytes;
  for (int i = 0; i < 5000; ++i) bytes += char((i * 7919) % 256);
  garbage.write(bytes);
  garbage.close();
  r = RunProgram(exe, {QStringLiteral("--pdf"), Path("garbage.pdf"), Path("garbage.prn")});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_TRUE(r.err.contains(QStringLiteral("警告")));
  EXPECT_TRUE(QFile::exists(Path("garbage.pdf")));
}

TEST_F(PdfOutputTest, FailedWritesAreReportedAndGoodOnesReplaceTheFile) {
  PrintDocument doc;
  QString error;
  ASSERT_TRUE(LoadPrintFile(Report(), doc, error));
  const PageLayout layout = LayoutDocument(doc);
  // The target is a folder: nothing can be written, and it is said.
  QDir(dir_.path()).mkdir(QStringLiteral("taken.pdf"));
  EXPECT_FALSE(WritePdf(doc, layout, Path("taken.pdf"), error));
  EXPECT_TRUE(error.contains(QStringLiteral("PDFﾌｧｲﾙ")));
  // A good write replaces an old file completely.
  QFile old(Path("old.pdf"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("old contents");
  old.close();
  ASSERT_TRUE(WritePdf(doc, layout, Path("old.pdf"), error));
  QFile fresh(Path("old.pdf"));
  ASSERT_TRUE(fresh.open(QIODevice::ReadOnly));
  EXPECT_TRUE(fresh.readAll().startsWith("%PDF"));
}

TEST_F(PdfOutputTest, FullDiskKeepsTheOldPdfAndFails) {
  // Both programs that write PDFs, the disk "full" at half the new PDF's size.
  const QString out = Path("out");
  ASSERT_TRUE(QDir().mkpath(out));
  const QString pdf = QDir(out).filePath("r.pdf");
  const std::vector<std::pair<QString, QStringList>> runs = {
      {QStringLiteral(PREVIEW_EXE), {"--pdf", pdf, QString::fromStdString(Report())}},
      {QStringLiteral(HASORIN_CLI), {"print", HASORIN_SOURCE_DIR "/examples/vertical4.zrn", "--pdf", pdf}},
  };
  for (const auto& [program, args] : runs) {
    SCOPED_TRACE(program.toStdString());
    ProcessResult r = RunProgram(program, args);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile good(pdf);
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray before = good.readAll();
    good.close();
    // An older PDF of other pages is what the failed run must keep.
    r = RunProgram(program, args, {.environment = {}, .maxFileBytes = before.size() / 2});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains(QStringLiteral("PDFﾌｧｲﾙ"))) << r.err.toStdString();
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    EXPECT_EQ(good.readAll(), before);
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden), QStringList{"r.pdf"});
  }
}

}  // namespace
}  // namespace hasorin::preview
