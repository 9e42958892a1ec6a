#include "paths.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <set>

#include "tempfiles.h"

namespace hasorin {
namespace {

TEST(Paths, JoinAndSplit) {
  const std::string sep(1, PathSeparator());
  EXPECT_EQ(JoinPath("a", "b"), "a" + sep + "b");
  EXPECT_EQ(JoinPath("a" + sep, "b"), "a" + sep + "b");
  EXPECT_EQ(JoinPath("a", sep + "b"), "a" + sep + "b");
  EXPECT_EQ(JoinPath("", "b"), "b");
  EXPECT_EQ(FileNameOf("C:\\work\\a.zrn"), "a.zrn");
  EXPECT_EQ(FileNameOf("/work/a.zrn"), "a.zrn");
  EXPECT_EQ(FileNameOf("a.zrn"), "a.zrn");
  EXPECT_EQ(FileNameOf("/work/"), "");
  EXPECT_EQ(FolderOf("C:\\work\\a.zrn"), "C:\\work");
  EXPECT_EQ(FolderOf("/work/sub/a.zrn"), "/work/sub");
  EXPECT_EQ(FolderOf("/a.zrn"), "/");
  EXPECT_EQ(FolderOf("a.zrn"), "");
}

TEST(Paths, ProgramAndUserFolders) {
  // Tests run from the program folder.
  EXPECT_EQ(QFileInfo(QString::fromStdString(ProgramFolder())).canonicalFilePath(),
            QDir::current().canonicalPath());
  EXPECT_EQ(ExecutableBaseName(), "platform_tests");
  for (const std::string& folder : {LocalAppDataFolder(), TempFolder()}) {
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), PathSeparator()) << folder;
  }
  EXPECT_TRUE(FolderExists(TempFolder()));
}

TEST(Paths, QuietFolderAndFileOperations) {
  QTemporaryDir dir;
  std::string nested = JoinPath(JoinPath(dir.path().toStdString(), "Quorvant"), "hasorin");
  CreateFolderQuietly(nested);
  CreateFolderQuietly(nested);
  CreateFolderQuietly("");
  EXPECT_TRUE(FolderExists(nested));
  EXPECT_FALSE(FileExists(nested));
  DeleteFileQuietly(nested);  // a folder is not a file to delete
  EXPECT_TRUE(FolderExists(nested));
  DeleteFileQuietly(JoinPath(nested, "missing.tmp"));
  EXPECT_FALSE(FileExists(""));
}

TEST(TempFiles, CreateTempFileMakesNewEmptyFiles) {
  QTemporaryDir dir;
  const std::string folder = dir.path().toStdString();
  std::set<std::string> names;
  for (int i = 0; i < 200; ++i) {
    std::string path = CreateTempFile(folder, "~PS");
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(FolderOf(path), folder);
    EXPECT_TRUE(FileNameOf(path).starts_with("~PS"));
    EXPECT_TRUE(path.ends_with(".tmp"));
    EXPECT_EQ(QFileInfo(QString::fromStdString(path)).size(), 0);
    names.insert(path);
  }
  EXPECT_EQ(names.size(), 200u);
  EXPECT_EQ(CreateTempFile(JoinPath(folder, "missing"), "~PS"), "");
  std::string inTemp = CreateTempFile("", "~PS");
  EXPECT_EQ(FolderOf(inTemp), TempFolder());
  DeleteFileQuietly(inTemp);
  EXPECT_FALSE(FileExists(inTemp));
}

TEST(TempFiles, ListCapacityDeleteAndReset) {
  QTemporaryDir dir;
  TempFileList list(3);
  list.SetFolder(dir.path().toStdString());
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(list.NewName().has_value());
  EXPECT_FALSE(list.NewName().has_value());
  EXPECT_EQ(list.Count(), 3);
  std::string first = list.Name(1);
  EXPECT_TRUE(FileExists(first));
  list.DeleteAll();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_FALSE(FileExists(first));

  auto kept = list.NewName();
  ASSERT_TRUE(kept.has_value());
  list.Reset();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_TRUE(FileExists(*kept));

  list.SetFolder(dir.filePath("missing").toStdString());
  EXPECT_FALSE(list.NewName().has_value());
  EXPECT_EQ(list.Count(), 0);
}

}  // namespace
}  // namespace hasorin
