#include "settings.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "paths.h"
#include "profile.h"

namespace hasorin {
namespace {

TEST(RecentFilesAfter, TheListRule) {
  const RecentFiles old{"a", "b", "c", "d"};
  struct Case {
    std::string path;
    RecentFiles expected;
  } cases[] = {
      {"a", {"a", "b", "c", "d"}},
      {"b", {"b", "a", "c", "d"}},
      {"c", {"c", "a", "b", "d"}},
      {"d", {"d", "a", "b", "c"}},
      {"e", {"e", "a", "b", "c"}},
      {"A", {"A", "a", "b", "c"}},  // letter case makes another entry
  };
  for (const Case& c : cases) EXPECT_EQ(RecentFilesAfter(old, c.path), c.expected) << c.path;
  EXPECT_EQ(RecentFilesAfter({}, "x"), (RecentFiles{"x", "", "", ""}));
  EXPECT_EQ(RecentFilesAfter({"x", "", "", ""}, "y"), (RecentFiles{"y", "x", "", ""}));
  // The last of several matches is the one removed.
  EXPECT_EQ(RecentFilesAfter({"x", "b", "x", "d"}, "x"), (RecentFiles{"x", "x", "b", "d"}));
}

class SettingsTest : public ::testing::Test {
 protected:
  QTemporaryDir program, appData;
  std::string ini;
  void SetUp() override {
    InitProgramPaths(program.path().toStdString(), appData.path().toStdString(), "hasorin");
    ini = SettingsFilePath();
  }
  void TearDown() override { SetRecentFilesListener(nullptr); }
};

TEST_F(SettingsTest, ProgramPathsAndWorkFolder) {
  EXPECT_EQ(SettingsFilePath(), JoinPath(program.path().toStdString(), "Zrn.INI"));
  EXPECT_EQ(FormatFilePath(), JoinPath(program.path().toStdString(), "Zrn.FMT"));
  std::string work = JoinPath(JoinPath(appData.path().toStdString(), "Quorvant"), "hasorin");
  EXPECT_EQ(WorkFolder(), work);
  EXPECT_TRUE(FolderExists(work));
  // A second start finds the folders in place and is just as quiet.
  InitProgramPaths(program.path().toStdString(), appData.path().toStdString(), "hasorin");
  EXPECT_TRUE(FolderExists(work));
  // A local app-data folder that cannot be created is ignored.
  QFile blocker(appData.filePath("file"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  InitProgramPaths(program.path().toStdString(), appData.filePath("file").toStdString(), "x");
  EXPECT_FALSE(FolderExists(WorkFolder()));
}

TEST_F(SettingsTest, PrivateProfileValuesAndDefaults) {
  CPrivateProfile profile;
  EXPECT_EQ(profile.GetValueLong(ini, "MenuMain", "Top"), 0);
  EXPECT_EQ(profile.GetValueString(ini, "FileName", "InitDir"), "");
  EXPECT_TRUE(profile.SetValueString(ini, "MenuMain", "Top", "1440"));
  EXPECT_TRUE(profile.SetValueString(ini, "Chapter", "Style1", "3x"));
  EXPECT_EQ(profile.GetValueLong(ini, "MenuMain", "Top"), 1440);
  EXPECT_EQ(profile.GetValueLong(ini, "Chapter", "Style1"), 3);
  EXPECT_TRUE(profile.SetValueString(ini, "Chapter", "Style1", "なし"));
  EXPECT_EQ(profile.GetValueLong(ini, "Chapter", "Style1"), 0);
  EXPECT_FALSE(profile.SetValueString(program.filePath("no/Zrn.INI").toStdString(), "S", "k", "v"));
  EXPECT_EQ(profile.GetValueLong(program.filePath("no/Zrn.INI").toStdString(), "S", "k"), 0);
}

TEST_F(SettingsTest, StringValuesAreCutAt127Cp932Bytes) {
  CPrivateProfile profile;
  auto roundTrip = [&](const std::string& value) {
    WritePrivateProfileString(ini, "S", "k", value);
    return profile.GetValueString(ini, "S", "k");
  };
  EXPECT_EQ(roundTrip(std::string(127, 'a')), std::string(127, 'a'));
  EXPECT_EQ(roundTrip(std::string(130, 'a')), std::string(127, 'a'));
  std::string kana;  // half-width katakana take one byte each
  for (int i = 0; i < 130; ++i) kana += "ﾃ";
  EXPECT_EQ(roundTrip(kana), kana.substr(0, 127 * 3));
  std::string wide;  // 100 full-width characters are 200 bytes: 63 fit
  for (int i = 0; i < 100; ++i) wide += "作";
  EXPECT_EQ(roundTrip(wide), wide.substr(0, 63 * 3));
  const std::string cut = std::string("a").append(wide, 0, 63 * 3);
  EXPECT_EQ(roundTrip(std::string("a").append(wide)), cut);
  EXPECT_EQ(ReadProfileString("S", "k", ini), cut);
}

TEST_F(SettingsTest, AddRecentFileWritesTheListAndTellsTheListener) {
  std::vector<RecentFiles> heard;
  SetRecentFilesListener([&](const RecentFiles& files) { heard.push_back(files); });
  AddRecentFile("/w/a.zrn");
  AddRecentFile("/w/b.zrn");
  AddRecentFile("/w/c.zrn");
  AddRecentFile("/w/a.zrn");
  RecentFiles expected{"/w/a.zrn", "/w/c.zrn", "/w/b.zrn", ""};
  EXPECT_EQ(ReadRecentFiles(ini), expected);
  ASSERT_EQ(heard.size(), 4u);
  EXPECT_EQ(heard.back(), expected);
  EXPECT_EQ(ReadProfileString("FileName", "FileName4", ini), "");

  // Nothing is written for a path the file cannot hold.
  AddRecentFile("/w/😀.zrn");
  AddRecentFile("");
  EXPECT_EQ(ReadRecentFiles(ini), expected);
  EXPECT_EQ(heard.size(), 4u);

  // A long path survives whole through later additions.
  std::string longPath = "/w/" + std::string(130, 'x') + ".zrn";
  AddRecentFile(longPath);
  AddRecentFile("/w/d.zrn");
  EXPECT_EQ(ReadRecentFiles(ini), (RecentFiles{"/w/d.zrn", longPath, "/w/a.zrn", "/w/c.zrn"}));
  EXPECT_EQ(ReadProfileString("FileName", "FileName2", ini), longPath.substr(0, 127));
}

}  // namespace
}  // namespace hasorin
