// hasorin-cli calc: the tables, the JSON interface and the exit codes, run
// as the whole program on files written for the purpose.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli_run.h"
#include "cp932.h"
#include "example_projects.h"
#include "inputfile.h"
#include "project.h"

namespace hasorin {
namespace {

using testing::RunCli;

const QString kInclined = HASORIN_SOURCE_DIR "/examples/inclined4.zrn";

QString Write(const QTemporaryDir& dir, const char* name, const Project& p) {
  const QString path = QDir(dir.path()).filePath(name);
  EXPECT_TRUE(WriteInputFile(p, path.toStdString()).ok);
  return path;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

const char* const kPileKeys[] = {
    "PileBeta",   "PileKt",     "PileKv",     "PileK1",      "PileK2",      "PileK3",
    "PileK4",     "PileK1z",    "PileK2z",    "PileK3z",     "PileK4z",     "HeadDispX",
    "HeadDispY",  "HeadDispZ",  "MemberDispX", "MemberDispY", "MemberDispZ", "MemberRotX",
    "MemberRotY", "MemberRotZ", "Px",         "Py",          "Pz",          "Mx",
    "My",         "Mz",         "Me",         "SigmaX",      "SigmaZ",      "SigmaC",
    "SigmaB",     "Slenderness", "SigmaCaAllow", "CheckRatio"};

TEST(CalcCommand, PrintsAlignedTablesWithTheResultHeadings) {
  const testing::CliRun r = RunCli({"calc", kInclined});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const auto lines = Lines(r.out);
  // The force table: its heading, then one row per pile of the same width.
  auto heading = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
    return l.find("Ｐx(kN)") != std::string::npos;
  });
  ASSERT_NE(heading, lines.end());
  for (const char* h : {"Ｐy(kN)", "Ｐz(kN)", "Ｍx(kN･m)", "Ｍy(kN･m)", "Ｍz(kN･m)"})
    EXPECT_NE(heading->find(h), std::string::npos) << h;
  ASSERT_LT(heading + 4, lines.end());
  EXPECT_EQ(heading[1], " 1   10.470  287.535    0.000      0.000      0.000     -8.728      8.728");
  // Every table lines up in a UTF-8 terminal: its heading and rows, from the
  // line after its title to the blank line, take the same columns.
  for (auto line = lines.begin(); line != lines.end(); ++line) {
    if (line->rfind("No", 0) != 0 && line->find("δx(m)") == std::string::npos) continue;
    const int width = testing::TerminalColumns(*line);
    EXPECT_GT(width, 0) << *line;
    for (auto row = line + 1; row != lines.end() && !row->empty(); ++row)
      EXPECT_EQ(testing::TerminalColumns(*row), width) << *line << "\n" << *row;
  }
  for (const char* h : {"σc(N/mm2)", "σbc(N/mm2)", "σca(N/mm2)", "κ", "Ｋv(kN/m)", "β(1/m)",
                        "杭体応力度の照査（SKK400）", "杭体応力度の照査（SKK490）"})
    EXPECT_NE(r.out.find(h), std::string::npos) << h;
}

TEST(CalcCommand, JsonHoldsEveryPileAtFullPrecision) {
  const testing::CliRun r = RunCli({"calc", "--json", kInclined});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["code"], 0);
  EXPECT_EQ(j["solved"], true);
  ASSERT_EQ(j["footing"].size(), 6u);
  EXPECT_NEAR(j["footing"][1].get<double>(), 0.00136622, 5e-9);
  EXPECT_EQ(j["format"], 1);
  ASSERT_EQ(j["piles"].size(), 4u);
  int number = 0;
  for (const auto& pile : j["piles"]) {
    ASSERT_EQ(pile.size(), std::size(kPileKeys) + 2);  // with "No" and "groundMoment"
    EXPECT_EQ(pile["No"], ++number);
    for (const char* key : kPileKeys) ASSERT_TRUE(pile.contains(key)) << key;
    EXPECT_EQ(pile["SigmaCaAllow"].size(), 2u);
    EXPECT_EQ(pile["CheckRatio"].size(), 2u);
  }
  EXPECT_NEAR(j["piles"][2]["Px"].get<double>(), -32.466, 5e-4);
  EXPECT_NEAR(j["piles"][3]["Mx"].get<double>(), 24.569, 5e-4);
  EXPECT_EQ(j["piles"][0]["SigmaCaAllow"][1].get<double>(), 185.0);
  // Numbers are not rounded for printing.
  EXPECT_NE(r.out.find("187234.1137"), std::string::npos);
}

TEST(CalcCommand, StoppedRunExitsWithThreeAndNullsWhatItDidNotCompute) {
  QTemporaryDir dir;
  Project p = testing::Vertical4();
  p.Conditions(3) = ProjectValue::Real(0);  // kh = 0
  const QString path = Write(dir, "kh0.zrn", p);

  const testing::CliRun text = RunCli({"calc", path});
  EXPECT_EQ(text.exitCode, 3);
  EXPECT_EQ(text.err,
            "[計算]\n計算実行中にｴﾗｰが発生しました。(ｴﾗｰｺｰﾄﾞ ： 11)\n\n"
            "入力ﾃﾞｰﾀ等をご確認の上再度実行して下さい。\n");
  EXPECT_EQ(text.out.find("杭のバネ定数"), std::string::npos);

  const testing::CliRun json = RunCli({"calc", "--json", path});
  EXPECT_EQ(json.exitCode, 3);
  const auto j = nlohmann::json::parse(json.out);
  EXPECT_EQ(j["code"], 11);
  EXPECT_EQ(j["solved"], false);
  for (const auto& v : j["footing"]) EXPECT_TRUE(v.is_null());
  ASSERT_EQ(j["piles"].size(), 4u);
  // Pile 1 got its beta (0) before the torsional spring divided by it.
  EXPECT_EQ(j["piles"][0]["PileBeta"], 0.0);
  EXPECT_TRUE(j["piles"][0]["PileKt"].is_null());
  EXPECT_TRUE(j["piles"][1]["PileBeta"].is_null());
  EXPECT_TRUE(j["piles"][3]["CheckRatio"][1].is_null());
}

TEST(CalcCommand, UnsolvableGroupExitsWithFour) {
  QTemporaryDir dir;
  Project p = testing::Vertical4();
  p.Conditions(4) = ProjectValue::Real(1);  // hinged heads
  p.PileCount = 1;
  for (int c = 9; c <= 11; ++c) p.Piles(c, 1) = ProjectValue::Real(0);  // at the origin
  const QString path = Write(dir, "single.zrn", p);

  const testing::CliRun text = RunCli({"calc", path});
  EXPECT_EQ(text.exitCode, 4);
  EXPECT_EQ(text.err,
            "[計算]\n杭群の剛性マトリクスを解くことができませんでした。\n\n"
            "入力ﾃﾞｰﾀ等をご確認の上再度実行して下さい。\n");
  EXPECT_NE(text.out.find("杭のバネ定数"), std::string::npos);  // what it did compute
  EXPECT_EQ(text.out.find("杭頭作用力"), std::string::npos);

  const testing::CliRun json = RunCli({"calc", "--json", path});
  EXPECT_EQ(json.exitCode, 4);
  const auto j = nlohmann::json::parse(json.out);
  EXPECT_EQ(j["code"], 0);
  EXPECT_EQ(j["solved"], false);
  EXPECT_TRUE(j["footing"][0].is_null());
  ASSERT_EQ(j["piles"].size(), 1u);
  EXPECT_EQ(j["piles"][0]["PileK4"], 0.0);
  EXPECT_TRUE(j["piles"][0]["Px"].is_null());
  EXPECT_TRUE(j["piles"][0]["SigmaCaAllow"][0].is_null());
}

TEST(CalcCommand, FileThatCannotBeOpenedExitsWithTwo) {
  QTemporaryDir dir;
  const testing::CliRun r = RunCli({"calc", "--json", QDir(dir.path()).filePath("none.zrn")});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("ｴﾗｰｺｰﾄﾞ"), std::string::npos);
}

}  // namespace
}  // namespace hasorin
