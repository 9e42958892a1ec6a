// The command line the print menu builds reads back in the previewer as the
// same work folder and print file, whatever the names hold.
#include <gtest/gtest.h>

#include <QDir>

#include "preview_args.h"
#include "previewer_command.h"

namespace hasorin {
namespace {

TEST(PreviewerCommand, NamesReadBackUnchanged) {
  const QString here = QDir::currentPath();
  struct Case {
    std::string work, file;
    QString expectedFile;  // the same file, as the previewer gets it
  };
  const Case cases[] = {
      {"/home/u/作業 \"ﾌｫﾙﾀﾞ\"", "/tmp/a b/~PS1.tmp", "/tmp/a b/~PS1.tmp"},
      {"/w/x /INI=y -z", "/INI=evil/report.prn", "/./INI=evil/report.prn"},
      {"/w/ends in quote\"", "/tmp/\"q\" --pdf out.pdf", "/tmp/\"q\" --pdf out.pdf"},
      {"", "-x.prn", here + "/-x.prn"},
      {"/w", "--pdf", here + "/--pdf"},
  };
  for (const Case& c : cases) {
    const PreviewerCommand command = MakePreviewerCommand("/opt/hasorin", c.work, c.file);
    EXPECT_EQ(command.program.toStdString(), QDir::toNativeSeparators("/opt/hasorin/Preview").toStdString());
    ASSERT_EQ(command.arguments.size(), 2) << c.file;
    EXPECT_EQ(command.arguments[0].toStdString(), "/INI=\"" + c.work + "\"");
    EXPECT_EQ(command.arguments[1].toStdString(), QDir::toNativeSeparators(c.expectedFile).toStdString());
    const preview::PreviewArgs parsed = preview::ParsePreviewArgs(command.arguments);
    EXPECT_TRUE(parsed.error.isEmpty()) << parsed.error.toStdString();
    EXPECT_EQ(parsed.iniFolder, c.work);
    EXPECT_EQ(parsed.printFile, command.arguments[1].toStdString());
    EXPECT_TRUE(parsed.pdfOut.empty()) << c.file;
  }
}

}  // namespace
}  // namespace hasorin
