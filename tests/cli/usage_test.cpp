// hasorin-cli's command line as a user meets it: the help and every message
// of a wrong command line in Japanese, laid out by terminal columns.
#include <gtest/gtest.h>

#include <sstream>

#include "cli_run.h"

namespace hasorin {
namespace {

using testing::RunCli;
using testing::TerminalColumns;

const std::string kMore = "\n詳しくは --help を付けて実行してください。\n";

TEST(Usage, WrongCommandLinesAreToldInJapanese) {
  const std::pair<QStringList, std::string> cases[] = {
      {{}, "ｻﾌﾞｺﾏﾝﾄﾞ（check，calc，print のいずれか）を指定してください。"},
      {{"foo"}, "「foo」というｻﾌﾞｺﾏﾝﾄﾞはありません。ｻﾌﾞｺﾏﾝﾄﾞ（check，calc，print のいずれか）を指定してください。"},
      {{"check"}, "FILE を指定してください。"},
      {{"check", "a.zrn", "b"}, "次の引数は使えません：b"},
      {{"print", "a.zrn", "--reports", "4"}, "--reports：値 4 は使えません（入力範囲：1 ～ 3）。"},
      {{"print", "a.zrn", "--out"}, "--out：値を指定してください。"},
  };
  for (const auto& [arguments, text] : cases) {
    const testing::CliRun r = RunCli(arguments);
    EXPECT_EQ(r.exitCode, 1) << arguments.join(' ').toStdString();
    EXPECT_EQ(r.err, text + kMore) << arguments.join(' ').toStdString();
    EXPECT_EQ(r.out, "");
  }
}

TEST(Usage, HelpIsJapaneseAndItsColumnsLineUp) {
  for (const QStringList& arguments : {QStringList{"--help"}, QStringList{"check", "--help"},
                                        QStringList{"calc", "--help"}, QStringList{"print", "--help"}}) {
    const testing::CliRun r = RunCli(arguments);
    const std::string what = arguments.join(' ').toStdString();
    EXPECT_EQ(r.exitCode, 0) << what;
    for (const char* english : {"Usage", "Options", "OPTIONS", "Positionals", "Subcommands", "SUBCOMMAND",
                                "REQUIRED", "TEXT", "INT", "Print this help", "Display program", "pile-group"})
      EXPECT_EQ(r.out.find(english), std::string::npos) << what << ": " << english;
    EXPECT_NE(r.out.find("使い方: hasorin-cli"), std::string::npos) << what;
    // Every entry's description starts in the same terminal column.
    std::istringstream lines(r.out);
    int entries = 0;
    for (std::string line; std::getline(lines, line);) {
      const size_t gap = line.find("   ", 2);
      if (line.rfind("  ", 0) != 0 || gap == std::string::npos) continue;
      const size_t description = line.find_first_not_of(' ', gap);
      EXPECT_EQ(TerminalColumns(line.substr(0, description)), 30) << what << ": " << line;
      ++entries;
    }
    EXPECT_GE(entries, 2) << what;
  }
}

}  // namespace
}  // namespace hasorin
