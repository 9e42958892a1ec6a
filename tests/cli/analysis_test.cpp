// hasorin-cli verify, and what calc adds after the run's tables: cap
// matrices, conditioning, ground moments and profiles.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli_run.h"
#include "example_projects.h"
#include "inputfile.h"
#include "project.h"

namespace hasorin {
namespace {

using testing::RunCli;

const QString kInclined = HASORIN_SOURCE_DIR "/examples/inclined4.zrn";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool EndsWith(const std::string& s, const std::string& end) {
  return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

TEST(VerifyCommand, EveryCheckPassesOnThisEngine) {
  const testing::CliRun r = RunCli({"verify"});
  EXPECT_EQ(r.exitCode, 0) << r.out;
  const auto lines = Lines(r.out);
  int rows = 0;
  for (const std::string& l : lines) {
    if (l.find("E-") == std::string::npos && l.find("E+") == std::string::npos) continue;
    ++rows;
    EXPECT_TRUE(EndsWith(l, "合格") && !EndsWith(l, "不合格")) << l;
  }
  EXPECT_GE(rows, 17);
  for (const char* check : {"釣り合い", "相反性", "F・K = I", "有限要素解：剛結，半無限長",
                            "有限要素解：ヒンジ，有限長，先端固定", "杭頭の値と杭頭作用力", "Hetenyi"})
    EXPECT_NE(r.out.find(check), std::string::npos) << check;
  EXPECT_NE(r.out.find("すべての検査に合格しました。"), std::string::npos);
}

TEST(CalcCommand, AddsCapMatricesConditioningAndGroundMomentsAfterTheRunsTables) {
  const testing::CliRun r = RunCli({"calc", kInclined});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  // The run's own tables come first and unchanged in order; the additions follow.
  const size_t lastOfRun = r.out.find("杭体応力度の照査（SKK490）");
  ASSERT_NE(lastOfRun, std::string::npos);
  size_t at = lastOfRun;
  for (const char* heading : {"杭群の剛性マトリクス（座標原点，kN・m・rad）", "杭群の柔性マトリクス",
                              "剛性マトリクスの条件数（対角スケーリング，1ノルム）：1.872E+00",
                              "地中部の最大曲げモーメント"}) {
    const size_t next = r.out.find(heading, at);
    ASSERT_NE(next, std::string::npos) << heading;
    at = next;
  }
  EXPECT_EQ(r.out.find("不安定"), std::string::npos);
  const auto lines = Lines(r.out.substr(at));
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[2], " 1        4.196    3.178          20.4      0.146      0.110");
}

TEST(CalcCommand, WarnsOfANearMechanismWithoutChangingTheExitCode) {
  QTemporaryDir dir;
  const QString path = QDir(dir.path()).filePath("line.zrn");
  ASSERT_TRUE(WriteInputFile(testing::NearMechanism(), path.toStdString()).ok);
  const testing::CliRun r = RunCli({"calc", path});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("杭群の剛性マトリクスの条件数が 1.6E+06 と大きく"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("x軸回りの回転"), std::string::npos);
}

TEST(CalcCommand, ProfilesListTheRequestedSectionsAndTheGroundMoment) {
  const testing::CliRun r = RunCli({"calc", "--profiles", "5", kInclined});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto lines = Lines(r.out);
  auto title = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
    return l.find("杭体断面力分布（杭No.3") != std::string::npos;
  });
  ASSERT_LT(title + 8, lines.end());
  EXPECT_EQ(title[2].substr(0, 6), " 0.000");  // the head
  EXPECT_TRUE(EndsWith(title[3], "*")) << title[3];  // ground moment, before 5 m
  EXPECT_EQ(title[7].substr(0, 6), "20.000");  // the tip
  EXPECT_EQ(RunCli({"calc", "--profiles", "1", kInclined}).exitCode, 1);
}

using Json = nlohmann::ordered_json;

// The document without what the analysis adds: what scripts read before.
Json WithoutAnalysis(Json j) {
  j.erase("cap");
  for (Json& pile : j["piles"]) {
    pile.erase("groundMoment");
    pile.erase("profiles");
  }
  return j;
}

TEST(CalcCommand, JsonAddsTheCapAndGroundMomentsAfterTheKeysThatExisted) {
  const testing::CliRun plain = RunCli({"calc", "--json", kInclined});
  const testing::CliRun profiles = RunCli({"calc", "--json", "--profiles", "4", kInclined});
  ASSERT_EQ(plain.exitCode, 0) << plain.err;
  ASSERT_EQ(profiles.exitCode, 0) << profiles.err;
  const Json a = Json::parse(plain.out), b = Json::parse(profiles.out);
  // New keys come last, at the top and in every pile; the rest is the same.
  EXPECT_EQ(std::prev(a.end()).key(), "cap");
  for (const Json& pile : a["piles"]) EXPECT_EQ(std::prev(pile.end()).key(), "groundMoment");
  for (const Json& pile : b["piles"]) EXPECT_EQ(std::prev(pile.end()).key(), "profiles");
  EXPECT_EQ(WithoutAnalysis(a), WithoutAnalysis(b));

  const Json& cap = a["cap"];
  ASSERT_EQ(cap["stiffness"].size(), 6u);
  ASSERT_EQ(cap["flexibility"][5].size(), 6u);
  EXPECT_NEAR(cap["condition"].get<double>(), 1.872, 5e-4);
  EXPECT_TRUE(cap["warning"].is_null());
  // The flexibility's dy column is the footing's displacement per kN of Yo.
  EXPECT_NEAR(cap["flexibility"][1][1].get<double>() * 1000, a["footing"][1].get<double>(), 1e-12);
  const Json& g = a["piles"][2]["groundMoment"];
  EXPECT_NEAR(g["M"].get<double>(), 9.836, 5e-4);
  EXPECT_NEAR(g["depth"].get<double>(), 3.765, 5e-4);
  ASSERT_EQ(g["ratio"].size(), 2u);

  const Json& points = b["piles"][2]["profiles"];
  ASSERT_EQ(points.size(), 5u);  // four sections and the ground moment's
  EXPECT_EQ(points[1]["peak"], true);
  EXPECT_NEAR(points[1]["M"].get<double>(), g["M"].get<double>(), 1e-12);
  EXPECT_EQ(points[0]["Px"].get<double>(), a["piles"][2]["Px"].get<double>());
}

TEST(CalcCommand, JsonOfASingularGroupHasNoFlexibilityAndTheWarning) {
  QTemporaryDir dir;
  const Project p = testing::NearMechanism(0.0);  // exactly on the line
  const QString path = QDir(dir.path()).filePath("line.zrn");
  ASSERT_TRUE(WriteInputFile(p, path.toStdString()).ok);
  const testing::CliRun r = RunCli({"calc", "--json", path});
  const Json j = Json::parse(r.out);
  EXPECT_TRUE(j["cap"]["condition"].is_null());
  EXPECT_NE(j["cap"]["warning"].get<std::string>().find("x軸回りの回転"), std::string::npos);
  EXPECT_EQ(r.exitCode, 4);  // the solve finds the zero pivot
  EXPECT_TRUE(j["cap"]["flexibility"].is_null());
}

}  // namespace
}  // namespace hasorin
