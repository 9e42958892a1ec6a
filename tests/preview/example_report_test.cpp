// The report of a bundled example, made by `hasorin-cli print --out`, through
// the previewer to PDF: its headings and numbers reach the PDF text, and the
// pages are those its form feeds ask for.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

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
}

}  // namespace
}  // namespace hasorin::preview
