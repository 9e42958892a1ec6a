// The report of a bundled example through the previewer to PDF: its headings
// and numbers reach the PDF text, the pages are those its form feeds ask for,
// and `hasorin-cli print --pdf` makes the same PDF in one step.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "figure_renderer.h"
#include "pdf_output.h"
#include "preview_test_support.h"

namespace hasorin::preview {
namespace {

TEST(ExampleReport, InclinedExampleToPdf) {
  if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
    GTEST_SKIP() << "pdftotext not installed";
  testing::EnsureGuiApp();
  QTemporaryDir dir;
  const QString example = QStringLiteral(HASORIN_SOURCE_DIR "/examples/inclined4.zrn");
  const testing::ProcessResult print = testing::RunProgram(
      QStringLiteral(HASORIN_CLI), {QStringLiteral("print"), example, QStringLiteral("--out"), dir.path()});
  ASSERT_EQ(print.exitCode, 0) << print.err.toStdString();
  const QString prn = dir.filePath(QStringLiteral("report.prn"));
  QFile file(prn);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString text = *DecodeCp932(file.readAll());

  const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
  QString error;
  QStringList warnings;
  ASSERT_TRUE(PrintFileToPdf(prn.toStdString(), pdf.toStdString(), error, &warnings)) << error.toStdString();
  EXPECT_TRUE(warnings.isEmpty()) << warnings.join(' ').toStdString();
  const QString pdfText =
      testing::RunProgram(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}).out;

  // One page per form-feed section (none of this small report's sections
  // runs over 100 lines); pdftotext ends every page with a form feed.
  const QStringList sections = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
  for (const QString& s : sections) ASSERT_LE(s.count(QStringLiteral("\r\n")), 100);
  EXPECT_EQ(pdfText.count(QLatin1Char('\f')), sections.size());

  // Every chapter and section heading, without its mark.
  const QRegularExpression heading(QStringLiteral("\\?R[12]([^\\r\\n]*)"));
  int headings = 0;
  for (auto m = heading.globalMatch(text); m.hasNext(); ++headings) {
    const QString h = m.next().captured(1).trimmed();
    EXPECT_TRUE(pdfText.contains(h)) << h.toStdString();
  }
  EXPECT_GE(headings, 3);
  EXPECT_FALSE(pdfText.contains(QStringLiteral("?R")));
  // Every number of the report text: the table values, loads, springs.
  const QRegularExpression number(QStringLiteral("-?\\d[\\d,]*\\.\\d+"));
  int numbers = 0;
  for (auto m = number.globalMatch(text); m.hasNext(); ++numbers) {
    const QString n = m.next().captured(0);
    EXPECT_TRUE(pdfText.contains(n)) << n.toStdString();
  }
  EXPECT_GE(numbers, 50);

  // The angle symbols of the pile table come from the Greek font, where one
  // is installed, and still read as φ and ψ.
  EXPECT_TRUE(pdfText.contains(QStringLiteral("φ")) && pdfText.contains(QStringLiteral("ψ")));
  const QString family = GreekFontFamily();
  if (!family.isEmpty() && !QStandardPaths::findExecutable(QStringLiteral("pdffonts")).isEmpty()) {
    const QString fonts = testing::RunProgram(QStringLiteral("pdffonts"), {pdf}).out;
    EXPECT_TRUE(fonts.contains(QString(family).remove(QLatin1Char(' ')))) << fonts.toStdString();
  }
}

// `hasorin-cli print --pdf`: the report PDF in one step, the same pages as
// the print file of `--out`, and clear failures.
TEST(ExampleReport, PrintCommandWritesThePdfInOneStep) {
  if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty()) GTEST_SKIP() << "pdfinfo not installed";
  QTemporaryDir dir;
  const QString cli = QStringLiteral(HASORIN_CLI);
  const QString example = QStringLiteral(HASORIN_SOURCE_DIR "/examples/inclined4.zrn");
  auto pages = [](const QString& pdf) {
    const QString info = testing::RunProgram(QStringLiteral("pdfinfo"), {pdf}).out;
    const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
  };

  const QString all = dir.filePath(QStringLiteral("all.pdf"));
  testing::ProcessResult r = testing::RunProgram(cli, {QStringLiteral("print"), example, QStringLiteral("--pdf"), all});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(r.out.trimmed(), all);  // only the PDF's path: the print files were temporary
  const testing::ProcessResult viaOut = testing::RunProgram(
      cli, {QStringLiteral("print"), example, QStringLiteral("--out"), dir.filePath(QStringLiteral("job"))});
  ASSERT_EQ(viaOut.exitCode, 0);
  QFile prn(dir.filePath(QStringLiteral("job/report.prn")));
  ASSERT_TRUE(prn.open(QIODevice::ReadOnly));
  EXPECT_EQ(pages(all), int(DecodeCp932(prn.readAll())->split(QLatin1Char('\f'), Qt::SkipEmptyParts).size()));

  // One report only: fewer pages.
  const QString third = dir.filePath(QStringLiteral("third.pdf"));
  r = testing::RunProgram(cli, {QStringLiteral("print"), example, QStringLiteral("--pdf"), third,
                                QStringLiteral("--reports"), QStringLiteral("3")});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_LT(pages(third), pages(all));
  EXPECT_GE(pages(third), 1);

  // Neither --out nor --pdf; a PDF that cannot be written.
  r = testing::RunProgram(cli, {QStringLiteral("print"), example});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.err.contains(QStringLiteral("--pdf")));
  r = testing::RunProgram(cli, {QStringLiteral("print"), example, QStringLiteral("--pdf"),
                                dir.filePath(QStringLiteral("no/such/folder/x.pdf"))});
  EXPECT_EQ(r.exitCode, 5);
  EXPECT_TRUE(r.err.contains(QStringLiteral("PDFﾌｧｲﾙ")));
}

}  // namespace
}  // namespace hasorin::preview
