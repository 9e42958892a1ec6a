// hasorin-cli check: the whole program on good and refused files.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "cli_run.h"

namespace {

using hasorin::testing::CliRun;
using hasorin::testing::RunCli;

QByteArray ExampleBytes() {
  QFile file(HASORIN_SOURCE_DIR "/examples/vertical4.zrn");
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString WriteTemp(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
  const QString path = QDir(dir.path()).filePath(name);
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
  return path;
}

const std::string kReadError = "[ﾃﾞｰﾀﾌｧｲﾙ読み込みｴﾗｰ]\n指定された入力ﾃﾞｰﾀﾌｧｲﾙの読み込みができませんでした。";
const std::string kTail = "\n\nお問い合わせの際は，上記ｴﾗｰﾒｯｾｰｼﾞおよびｴﾗｰｺｰﾄﾞをお知らせください。\n";

TEST(CheckCommand, GoodFilePrintsTheProjectInJapanese) {
  const CliRun r = RunCli({"check", HASORIN_SOURCE_DIR "/examples/vertical4.zrn"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  for (const char* line : {"検討ｹｰｽ名称：鉛直杭4本の検討例\n", "計算条件：入力済み\n", "外力：入力済み\n",
                           "杭本数：4\n", "杭体のヤング係数 Ｅ(N/mm2)：200000\n",
                           "横方向地盤反力係数 Ｋh(kN/m3)：30000\n", "杭頭条件：剛結\n",
                           "杭先端条件：ヒンジ\n", "Ｋｖ値：打ち込み鋼管杭として算定する(H8.道示)\n",
                           "許容応力度の割増係数：1\n", "Ｘo(kN)：100\n", "Ｙo(kN)：1000\n",
                           "Ｍｚ(kN・m)：0\n"})
    EXPECT_NE(r.out.find(line), std::string::npos) << line;
  EXPECT_EQ(r.out.find("杭体および杭配置"), std::string::npos);

  const CliRun piles = RunCli({"check", "--piles", HASORIN_SOURCE_DIR "/examples/vertical4.zrn"});
  EXPECT_NE(piles.out.find("\n4\t0.6\t12\t1\t150\t100000\t3333\t0\t20\t1.5\t0\t-1.5\t0\t0\t0\n"),
            std::string::npos);
}

TEST(CheckCommand, RefusedFilesExitWithTwoAndTheDesktopMessages) {
  QTemporaryDir dir;
  const QByteArray good = ExampleBytes();
  ASSERT_FALSE(good.isEmpty());

  const CliRun extension = RunCli({"check", WriteTemp(dir, "copy.txt", good)});
  EXPECT_EQ(extension.exitCode, 2);
  EXPECT_EQ(extension.out, "");
  EXPECT_EQ(extension.err, kReadError + "（ｴﾗｰｺｰﾄﾞ ： 0）" + kTail);

  QByteArray v101 = good;
  v101.replace("[1.00]", "[1.01]");
  const CliRun version = RunCli({"check", WriteTemp(dir, "v101.zrn", v101)});
  EXPECT_EQ(version.exitCode, 2);
  EXPECT_EQ(version.err, "[ﾌｧｲﾙを開く]\n入力ﾃﾞｰﾀﾌｧｲﾙの書式（Ver.1.01）には現在対応しておりません。\n\n" +
                             kReadError + "（ｴﾗｰｺｰﾄﾞ ： 0）" + kTail);

  const CliRun truncated = RunCli({"check", WriteTemp(dir, "cut.zrn", good.left(good.size() - 40))});
  EXPECT_EQ(truncated.exitCode, 2);
  EXPECT_EQ(truncated.err, kReadError + "（ｴﾗｰｺｰﾄﾞ ： 62）" + kTail);

  const CliRun missing = RunCli({"check", QDir(dir.path()).filePath("none.zrn")});
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_EQ(missing.err, kReadError + "（ｴﾗｰｺｰﾄﾞ ： 53）" + kTail);
}

TEST(CheckCommand, MissingArgumentIsAUsageError) {
  EXPECT_EQ(RunCli({"check"}).exitCode, 1);
}

}  // namespace
