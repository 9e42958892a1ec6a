#include "open_file.h"

#include <gtest/gtest.h>

#include "inputfile.h"
#include "project_fixtures.h"

namespace hasorin {
namespace {

using namespace hasorin::testing;

const std::string kTail = "\n\nお問い合わせの際は，上記ｴﾗｰﾒｯｾｰｼﾞおよびｴﾗｰｺｰﾄﾞをお知らせください。";

std::string ReadErrorText(const std::string& code) {
  return "指定された入力ﾃﾞｰﾀﾌｧｲﾙの読み込みができませんでした。（ｴﾗｰｺｰﾄﾞ ： " + code + "）" + kTail;
}

class OpenFileTest : public ::testing::Test {
 protected:
  OpenFileTest() {
    live = Vertical4();
    live.CurrentFilePath = "/old.zrn";
    live.ProjectModified = true;
  }
  // Writes the example project with the version text `version` on line 3.
  std::string Write(const std::string& name, const std::string& version = "1.00") {
    const std::string path = temp.Path(name);
    EXPECT_TRUE(WriteInputFile(Group24(), path).ok);
    std::string bytes = ReadBytes(path);
    const size_t at = bytes.find("[1.00]");
    bytes.replace(at + 1, 4, version);
    WriteBytes(path, bytes);
    return path;
  }
  TempFolder temp;
  Project live;
};

TEST_F(OpenFileTest, ExtensionIsTheLastThreeCharactersInAnyCase) {
  for (const char* path : {"a.zrn", "A.ZRN", "b.Zrn", "c:\\dir\\x.zRn", "noDotZRN", "日本語.zrn"})
    EXPECT_TRUE(HasInputFileExtension(path)) << path;
  for (const char* path : {"a.zr", "a.zrn.bak", "a.txt", "", "zr", "a.ｚｒｎ"})
    EXPECT_FALSE(HasInputFileExtension(path)) << path;
}

TEST_F(OpenFileTest, GoodFileLoadsWithoutMessages) {
  const OpenResult r = OpenInputFile(live, Write("good.zrn"));
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.code, 0);
  EXPECT_TRUE(r.messages.empty());
  EXPECT_TRUE(SameInputs(live, Group24()));
  EXPECT_EQ(live.CurrentFilePath, "/old.zrn");  // the caller sets it
}

TEST_F(OpenFileTest, OtherExtensionIsRefusedUnreadWithCodeZero) {
  const OpenResult r = OpenInputFile(live, Write("good.txt"));
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.code, 0);
  ASSERT_EQ(r.messages.size(), 1u);
  EXPECT_EQ(r.messages[0].title, "ﾃﾞｰﾀﾌｧｲﾙ読み込みｴﾗｰ");
  EXPECT_EQ(r.messages[0].text, ReadErrorText("0"));
  EXPECT_TRUE(SameInputs(live, Vertical4()));
}

TEST_F(OpenFileTest, OtherVersionGivesTwoMessagesTheSecondWithCodeZero) {
  for (const char* version : {"1.01", "0.99"}) {
    const OpenResult r = OpenInputFile(live, Write("v.zrn", version));
    EXPECT_FALSE(r.ok);
    ASSERT_EQ(r.messages.size(), 2u);
    EXPECT_EQ(r.messages[0].title, "ﾌｧｲﾙを開く");
    EXPECT_EQ(r.messages[0].text,
              std::string("入力ﾃﾞｰﾀﾌｧｲﾙの書式（Ver.") + version + "）には現在対応しておりません。");
    EXPECT_EQ(r.messages[1].text, ReadErrorText("0"));
    EXPECT_TRUE(SameInputs(live, Vertical4()));
  }
  // A missing file is no version question: it is the read error "does not exist".
  const OpenResult r = OpenInputFile(live, temp.Path("missing.zrn"));
  EXPECT_EQ(r.code, fileerr::kFileNotFound);
  ASSERT_EQ(r.messages.size(), 1u);
  EXPECT_EQ(r.messages[0].text, ReadErrorText("53"));
  EXPECT_TRUE(SameInputs(live, Vertical4()));
}

TEST_F(OpenFileTest, ReadFailureShowsItsCodeAndKeepsTheProject) {
  const std::string path = Write("cut.zrn");
  const std::string bytes = ReadBytes(path);
  WriteBytes(path, bytes.substr(0, bytes.size() / 2));
  const OpenResult r = OpenInputFile(live, path);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.code, fileerr::kPastEndOfFile);
  ASSERT_EQ(r.messages.size(), 1u);
  EXPECT_EQ(r.messages[0].title, "ﾃﾞｰﾀﾌｧｲﾙ読み込みｴﾗｰ");
  EXPECT_EQ(r.messages[0].text, ReadErrorText("62"));
  EXPECT_TRUE(SameInputs(live, Vertical4()));
  EXPECT_TRUE(live.ProjectModified);
}

TEST(FileMessages, CodesAreGroupedAndWriteErrorsHaveTheirOwnText) {
  EXPECT_EQ(ReadErrorMessage(1234).text, ReadErrorText("1,234"));
  const FileMessage write = WriteErrorMessage(70);
  EXPECT_EQ(write.title, "ﾃﾞｰﾀﾌｧｲﾙ書き込みｴﾗｰ");
  EXPECT_EQ(write.text, "入力ﾃﾞｰﾀﾌｧｲﾙを作成することができませんでした。（ｴﾗｰｺｰﾄﾞ ： 70）" + kTail);
}

}  // namespace
}  // namespace hasorin
