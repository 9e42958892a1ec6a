#include "profile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <random>
#include <string>

#include "child_process.h"

namespace hasorin {
namespace {

class ProfileTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  std::string path = dir.filePath("Zrn.INI").toStdString();

  void Put(const std::string& bytes) {
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), qint64(bytes.size()));
  }
  std::string Bytes() {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    return f.readAll().toStdString();
  }
  std::string Get(std::string_view section, std::string_view key) {
    return GetPrivateProfileString(path, section, key, "<default>");
  }
  bool Set(std::string_view section, std::string_view key, std::string_view value) {
    return WritePrivateProfileString(path, section, key, value);
  }
};

TEST_F(ProfileTest, MissingFileSectionOrKeyReadsTheDefault) {
  EXPECT_EQ(Get("MenuMain", "Top"), "<default>");
  EXPECT_EQ(GetPrivateProfileInt(path, "MenuMain", "Top", 7), 7);
  Put("[MenuMain]\r\nTop=10\r\n");
  EXPECT_EQ(Get("Other", "Top"), "<default>");
  EXPECT_EQ(Get("MenuMain", "Left"), "<default>");
  EXPECT_EQ(Get("MenuMain", "Top"), "10");
  EXPECT_EQ(GetPrivateProfileString(dir.path().toStdString(), "MenuMain", "Top", "d"), "d");
}

TEST_F(ProfileTest, NamesMatchWithoutCaseAndBlanksFirstMatchWins) {
  Put("; comment\r\n  [ MenuMain ]  \r\n  top  =  12 px \r\nTOP=99\r\n[menumain]\r\nLeft=5\r\n"
      "[FileName]\r\nFileName1=C:\\a b\\x.zrn\r\n");
  EXPECT_EQ(Get("MENUMAIN", "Top"), "12 px");
  EXPECT_EQ(Get(" menumain ", " tOp "), "12 px");
  // Only the first section of a name is searched.
  EXPECT_EQ(Get("MenuMain", "Left"), "<default>");
  EXPECT_EQ(Get("filename", "filename1"), "C:\\a b\\x.zrn");
}

TEST_F(ProfileTest, ValuesQuotesLineEndsAndIntegers) {
  Put("[S]\nq=\"quoted \"\nh='x'\nhalf=\"x\nempty=\nn1=12abc\nn2=abc\nn3= -42 \nnoequals\n"
      "[T]\rx=1");
  EXPECT_EQ(Get("S", "q"), "quoted ");
  EXPECT_EQ(Get("S", "h"), "x");
  EXPECT_EQ(Get("S", "half"), "\"x");
  EXPECT_EQ(Get("S", "empty"), "");
  EXPECT_EQ(Get("S", "noequals"), "<default>");
  EXPECT_EQ(GetPrivateProfileInt(path, "S", "n1", 5), 12);
  EXPECT_EQ(GetPrivateProfileInt(path, "S", "n2", 5), 0);
  EXPECT_EQ(GetPrivateProfileInt(path, "S", "n3", 5), -42);
  EXPECT_EQ(GetPrivateProfileInt(path, "S", "empty", 5), 5);
  EXPECT_EQ(GetPrivateProfileInt(path, "S", "missing", 5), 5);
}

TEST_F(ProfileTest, WriteChangesTheValueInPlaceAndKeepsEveryOtherLine) {
  const std::string before =
      "; 設定ﾌｧｲﾙ\r\n[MenuMain]\r\n  Top = 100 \r\nLeft=200\n\r\n[InpKui]\r\nTop=1\r\n"
      "weird line\r\n[Last]\r\nk=v";
  Put(before);
  ASSERT_TRUE(Set("menumain", "TOP", "300"));
  std::string expected = before;
  expected.replace(expected.find("  Top = 100 "), 12, "TOP=300");
  EXPECT_EQ(Bytes(), expected);
  // The last line keeps its missing line end.
  ASSERT_TRUE(Set("Last", "k", "w"));
  expected.replace(expected.size() - 3, 3, "k=w");
  EXPECT_EQ(Bytes(), expected);
  EXPECT_EQ(GetPrivateProfileInt(path, "InpKui", "Top", 0), 1);
}

TEST_F(ProfileTest, MissingKeyGoesToTheEndOfItsSection) {
  Put("[A]\r\nx=1\r\n\r\n\r\n[B]\r\ny=2");
  ASSERT_TRUE(Set("A", "z", "3"));
  EXPECT_EQ(Bytes(), "[A]\r\nx=1\r\nz=3\r\n\r\n\r\n[B]\r\ny=2");
  ASSERT_TRUE(Set("B", "w", "4"));
  EXPECT_EQ(Bytes(), "[A]\r\nx=1\r\nz=3\r\n\r\n\r\n[B]\r\ny=2\r\nw=4\r\n");
  ASSERT_TRUE(Set("C", "v", ""));
  EXPECT_EQ(Bytes(), "[A]\r\nx=1\r\nz=3\r\n\r\n\r\n[B]\r\ny=2\r\nw=4\r\n\r\n[C]\r\nv=\r\n");
  EXPECT_EQ(Get("C", "v"), "");
}

TEST_F(ProfileTest, CreatesTheFileInCp932WithCrLf) {
  const std::string recent = "C:\\作業\\ﾃｽﾄ①～⊿.zrn";
  ASSERT_TRUE(Set("FileName", "FileName1", recent));
  EXPECT_EQ(Bytes(), "[FileName]\r\nFileName1=C:\\\x8d\xec\x8b\xc6\\\xc3\xbd\xc4\x87\x40\x81\x60"
                     "\x87\x99.zrn\r\n");
  EXPECT_EQ(Get("FileName", "FileName1"), recent);
  // Japanese names compare byte-exactly: 'ﾃ' and a double-byte trail byte never fold.
  ASSERT_TRUE(Set("設定", "キー", "1"));
  EXPECT_EQ(Get("設定", "キー"), "1");
  // The second byte of ゾ is the byte of ']'.
  ASSERT_TRUE(Set("ゾーン", "k", "2"));
  ASSERT_TRUE(Set("ゾーン", "k", "3"));
  EXPECT_EQ(Get("ゾーン", "k"), "3");
  EXPECT_NE(Bytes().find("[\x83\x5d\x81\x5b\x83\x93]\r\nk=3\r\n"), std::string::npos);
}

TEST_F(ProfileTest, InvalidBytesAreToleratedAndKept) {
  const std::string garbage("\x81\x20\xff\xfe\x00zz\r\n", 9);
  Put(std::string("[S]\r\nbad=\x81\x20\r\n") + garbage + "good=ok\r\n");
  EXPECT_EQ(Get("S", "bad"), "<default>");
  EXPECT_EQ(Get("S", "good"), "ok");
  ASSERT_TRUE(Set("S", "good", "new"));
  EXPECT_EQ(Bytes(), std::string("[S]\r\nbad=\x81\x20\r\n") + garbage + "good=new\r\n");
}

TEST_F(ProfileTest, GarbageFilesReadAndWriteWithoutHarm) {
  std::mt19937 random(7);
  const std::string pieces[] = {"[", "]", "=", "\r\n", "\n", "\r", " ", "S", "k", "\x81",
                                "\xff", std::string(1, '\0'), "\x82\xa0", "v"};
  for (int i = 0; i < 300; ++i) {
    std::string bytes;
    int length = int(random() % 40);
    for (int k = 0; k < length; ++k) bytes += pieces[random() % std::size(pieces)];
    Put(bytes);
    Get("S", "k");
    GetPrivateProfileInt(path, "S", "k", 0);
    ASSERT_TRUE(Set("S", "k", "written"));
    EXPECT_EQ(Get("S", "k"), "written") << ::testing::PrintToString(bytes);
  }
}

TEST_F(ProfileTest, RefusedWritesLeaveTheFileAlone) {
  const std::string before = "[S]\r\nk=v\r\n";
  Put(before);
  EXPECT_FALSE(Set("S", "k", "a\r\n[Injected]"));
  EXPECT_FALSE(Set("S", "k\nx", "1"));
  EXPECT_FALSE(Set("S", "a=b", "1"));
  EXPECT_FALSE(Set("S]", "k", "1"));
  EXPECT_FALSE(Set("", "k", "1"));
  EXPECT_FALSE(Set("S", " ", "1"));
  EXPECT_FALSE(Set("S", "k", "😀"));  // not representable in CP932
  EXPECT_EQ(Bytes(), before);
  EXPECT_FALSE(WritePrivateProfileString(dir.filePath("no/such/Zrn.INI").toStdString(), "S", "k",
                                         "v"));
  EXPECT_FALSE(WritePrivateProfileString(dir.path().toStdString(), "S", "k", "v"));
}

TEST_F(ProfileTest, UnwritableOrUnreadableFileIsNotReplaced) {
  const std::string before = "[S]\r\nk=v\r\n";
  Put(before);
  // As an unprivileged user, so that the permissions also stop a root test run.
  testing::HandOverToUnprivileged(dir.path().toStdString());
  testing::HandOverToUnprivileged(path);
  const testing::ChildResult child = testing::RunInChild(
      [&] {
        if (access(dir.path().toLocal8Bit().constData(), R_OK | W_OK | X_OK) != 0) return std::string("unreachable");
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        const bool inFolder = Set("S", "k", "changed");
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(QString::fromStdString(path), QFile::WriteOwner);
        const bool unreadable = Set("S", "other", "1");
        QFile::setPermissions(QString::fromStdString(path), QFile::ReadOwner);
        const bool readOnly = Set("S", "other", "1");
        QFile::setPermissions(QString::fromStdString(path), QFile::ReadOwner | QFile::WriteOwner);
        return std::to_string(inFolder) + std::to_string(unreadable) + std::to_string(readOnly);
      },
      {.maxFileBytes = -1, .unprivileged = true});
  if (child.output == "unreachable") GTEST_SKIP() << "the test folder is out of an unprivileged user's reach";
  ASSERT_TRUE(child.finished) << child.output;
  EXPECT_EQ(child.output, "000");
  EXPECT_EQ(Bytes(), before);
}

TEST_F(ProfileTest, WriteCutShortKeepsEveryOtherKey) {
  // A settings file of window positions, recent files and numbering, 3 KB or more.
  std::string before;
  for (int s = 0; s < 14; ++s) {
    before += "[Window" + std::to_string(s) + "]\r\n";
    for (int k = 0; k < 8; ++k) before += "Key" + std::to_string(k) + "=" + std::string(20, char('a' + k)) + "\r\n";
  }
  ASSERT_GT(before.size(), 3000u);
  Put(before);
  const testing::ChildResult child =
      testing::RunInChild([&] { return std::to_string(Set("Window3", "Key2", "changed")); }, {.maxFileBytes = 1024, .unprivileged = false});
  ASSERT_TRUE(child.finished) << child.output;
  EXPECT_EQ(child.output, "0");
  EXPECT_EQ(Bytes(), before);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Zrn.INI"});
}

}  // namespace
}  // namespace hasorin
