// hasorin-cli cases and calc --xlsx, run as the whole program: the case
// table's bad rows, failing cases beside good ones, the exit codes, and the
// workbook and CSV files read back cell by cell.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <nlohmann/json.hpp>

#include "cli_run.h"
#include "cp932.h"
#include "example_projects.h"
#include "inputfile.h"
#include "project.h"
#include "xlsx_read.h"

namespace hasorin {
namespace {

using testing::RunCli;
using Json = nlohmann::json;

const QString kInclined = HASORIN_SOURCE_DIR "/examples/inclined4.zrn";
const QString kGroup24 = HASORIN_SOURCE_DIR "/examples/group24.zrn";
const QString kGroup24Cases = HASORIN_SOURCE_DIR "/examples/group24-cases.csv";

QString WriteBytes(const QTemporaryDir& dir, const char* name, const std::string& bytes) {
  const QString path = QDir(dir.path()).filePath(name);
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes.data(), qint64(bytes.size()));
  return path;
}

// The loads of the example file itself (Xo 100, Yo 1000), a case of its own
// with a factor of 0, and a case with loads four times as large.
const std::string kThreeCases =
    "ケース名,Xo,Yo,Zo,Mxo,Myo,Mzo,α\n"
    "基本,100,1000,0,0,0,0,\n"
    "α0,100,1000,0,0,0,0,0\n"
    "4倍,400,4000,0,0,0,0,1.5\n";

TEST(CasesCommand, BadRowsAreNamedByLineAndColumnAndTheOthersRun) {
  struct Row {
    const char* what;
    std::string bytes;
    int exitCode;
    const char* message;  // on stderr
    size_t cases;         // that ran
  };
  const std::string heading = "ケース名,Xo,Yo,Zo,Mxo,Myo,Mzo\n";
  const std::string good = "常時,0,1000,0,0,0,0\n";
  const Row rows[] = {
      {"text in a number column", heading + good + "地震時,1O0,1000,0,0,0,0\n", 3,
       "3行目 2列目（Xo）：数値ではありません「1O0」", 1},
      {"too few columns", heading + "短い,1,2\n" + good, 3, "2行目 4列目（Zo）：値がありません", 1},
      {"a value beyond the columns", heading + good + "長い,1,2,3,4,5,6,7\n", 3,
       "3行目 8列目（α）：余分な値があります「7」", 1},
      {"a number too large", heading + good + "大,1e400,0,0,0,0,0\n", 3,
       "3行目 2列目（Xo）：数値の範囲を超えています", 1},
      {"an open quote", heading + good + "\"開いた,0,0,0,0,0,0\n", 3, "3行目 1列目（ケース名）：引用符が閉じていません", 1},
      {"an empty file", "", 2, "ケース表が空です", 0},
      {"blank lines only", "\r\n ,,\r\n", 2, "ケース表が空です", 0},
      {"a heading only", heading, 2, "ケース表にケースがありません", 0},
      {"a short heading", "名前,X,Y\n" + good, 2, "1行目：見出し行の列が足りません", 0},
      {"a picture", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), 2, "テキストファイルではありません", 0},
      {"neither UTF-8 nor CP932", heading + "\x80\xFF,0,0,0,0,0,0\n", 2, "テキストファイルではありません", 0},
  };
  QTemporaryDir dir;
  for (const Row& row : rows) {
    const QString path = WriteBytes(dir, "cases.csv", row.bytes);
    const testing::CliRun r = RunCli({"cases", "--json", kInclined, path});
    EXPECT_EQ(r.exitCode, row.exitCode) << row.what << "\n" << r.err;
    EXPECT_NE(r.err.find(row.message), std::string::npos) << row.what << "\n" << r.err;
    if (row.exitCode == 2) {
      EXPECT_EQ(r.out, "") << row.what;
      continue;
    }
    const Json j = Json::parse(r.out);
    EXPECT_EQ(j["cases"].size(), row.cases) << row.what;
    EXPECT_EQ(j["cases"][0]["code"], 0) << row.what;
    ASSERT_EQ(j["errors"].size(), 1u) << row.what;
    EXPECT_NE(j["errors"][0]["message"].get<std::string>().find(row.message), std::string::npos);
  }
  // A missing table file.
  const testing::CliRun missing = RunCli({"cases", kInclined, QDir(dir.path()).filePath("none.csv")});
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_NE(missing.err.find("ケース表を開けません"), std::string::npos);
}

TEST(CasesCommand, CasesEqualSeparateRunsAndAFailingCaseLeavesTheOthers) {
  QTemporaryDir dir;
  const testing::CliRun r =
      RunCli({"cases", "--json", "--all", kInclined, WriteBytes(dir, "cases.csv", kThreeCases)});
  EXPECT_EQ(r.exitCode, 3) << r.err;  // case 2 stopped
  EXPECT_NE(r.err.find("[ケース 2（α0）]\n計算実行中にｴﾗｰが発生しました。(ｴﾗｰｺｰﾄﾞ ： 11)"), std::string::npos) << r.err;
  const Json j = Json::parse(r.out);
  ASSERT_EQ(j["cases"].size(), 3u);
  EXPECT_EQ(j["cases"][1]["code"], 11);
  EXPECT_EQ(j["cases"][1]["governing"], nullptr);
  EXPECT_EQ(j["cases"][1]["solved"], true);  // it stopped in the stress check

  // Case 1 is the example file's own load set: its piles equal calc --json, digit for digit.
  const Json calc = Json::parse(RunCli({"calc", "--json", kInclined}).out);
  const Json& first = j["cases"][0];
  EXPECT_EQ(first["footing"], calc["footing"]);
  for (size_t i = 0; i < 4; ++i)
    for (const char* key : {"Px", "Py", "Pz", "Mx", "My", "Mz", "SigmaC", "CheckRatio"})
      EXPECT_EQ(first["piles"][i][key], calc["piles"][i][key]) << key << " pile " << i + 1;

  // Case 3 (four times the loads) governs every maximum of the envelope; its
  // factor 1.5 gives ratios of 4/1.5 times those of case 1.
  ASSERT_EQ(j["envelope"].size(), 4u);
  for (const Json& pile : j["envelope"]) {
    EXPECT_EQ(pile["PyMax"]["case"], 3);
    EXPECT_EQ(pile["PyMin"]["case"], 1);
    EXPECT_EQ(pile["M"]["case"], 3);
    EXPECT_EQ(pile["CheckRatioSKK490"]["case"], 3);
  }
  const double py1 = calc["piles"][0]["Py"], ratio1 = calc["piles"][0]["CheckRatio"][0];
  EXPECT_NEAR(j["envelope"][0]["PyMax"]["value"].get<double>(), 4 * py1, 1e-9 * py1);
  EXPECT_NEAR(j["envelope"][0]["CheckRatioSKK400"]["value"].get<double>(), ratio1 * 4 / 1.5, 1e-9);
  EXPECT_EQ(first["governing"]["PyMax"], (Json{{"value", py1}, {"pile", 1}}));
}

TEST(CasesCommand, ExitCodesSayWhatHappened) {
  QTemporaryDir dir;
  const std::string heading = "ケース名\tXo\tYo\tZo\tMxo\tMyo\tMzo\n";  // tab-separated
  struct Row {
    const char* what;
    std::string table;
    int exitCode;
  };
  const Row rows[] = {
      {"every case adequate", heading + "a\t0\t1000\t0\t0\t0\t0\n", 0},
      {"a ratio over 1", heading + "a\t0\t1000\t0\t0\t0\t0\n大\t0\t90000\t0\t0\t0\t0\n", 6},
      {"forces that overflow", heading + "a\t1e308\t1e308\t0\t0\t0\t0\n", 3},
  };
  for (const Row& row : rows) {
    const testing::CliRun r = RunCli({"cases", kInclined, WriteBytes(dir, "t.txt", row.table)});
    EXPECT_EQ(r.exitCode, row.exitCode) << row.what << "\n" << r.err;
    EXPECT_EQ(r.err.find("κが1を超える杭があります") != std::string::npos, row.exitCode == 6) << row.what;
  }
  // One hinged pile at the origin: no case can be solved.
  Project single = testing::Vertical4();
  single.Conditions(4) = ProjectValue::Real(1);
  single.PileCount = 1;
  for (int c = 9; c <= 11; ++c) single.Piles(c, 1) = ProjectValue::Real(0);
  const QString path = QDir(dir.path()).filePath("single.zrn");
  ASSERT_TRUE(WriteInputFile(single, path.toStdString()).ok);
  const testing::CliRun r = RunCli({"cases", path, WriteBytes(dir, "t.txt", rows[0].table)});
  EXPECT_EQ(r.exitCode, 4);
  EXPECT_NE(r.err.find("[ケース 1（a）]\n杭群の剛性マトリクスを解くことができませんでした。"), std::string::npos);
  EXPECT_EQ(RunCli({"cases", kInclined}).exitCode, 1);
}

TEST(CasesCommand, WorkbookHoldsTheTablesAsNumbers) {
  QTemporaryDir dir;
  const QString book = QDir(dir.path()).filePath("cases.xlsx");
  const QString csv = QDir(dir.path()).filePath("out.csv");
  const testing::CliRun r = RunCli({"cases", kGroup24, kGroup24Cases, "--xlsx", book, "--csv", csv, "--all"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const Json j = Json::parse(RunCli({"cases", "--json", "--all", kGroup24, kGroup24Cases}).out);

  testing::Workbook w = testing::ReadWorkbook(book);
  ASSERT_EQ(w.sheets.size(), 8u);
  EXPECT_EQ(w.sheets[0], "ケース");
  EXPECT_EQ(w.sheets[1], "包絡");
  EXPECT_EQ(w.sheets[2], "1 常時");
  EXPECT_EQ(w.sheets[3], "2 地震時(X+)");
  auto number = [&](size_t sheet, const char* ref) { return std::stod(w.cells[sheet].at(ref)); };
  auto near = [](double got, double want) { EXPECT_NEAR(got, want, 1e-13 * std::fabs(want) + 1e-300); };
  // Cases: No, name, α, state, six loads, six footing values, then Py max and its pile.
  EXPECT_EQ(w.cells[0]["B1"], "ケース名");
  EXPECT_EQ(w.cells[0]["B3"], "地震時(X+)");
  EXPECT_EQ(w.cells[0]["D3"], "正常");
  near(number(0, "C7"), 1.25);
  near(number(0, "L3"), j["cases"][1]["footing"][1]);
  near(number(0, "Q3"), j["cases"][1]["governing"]["PyMax"]["value"]);
  near(number(0, "R3"), j["cases"][1]["governing"]["PyMax"]["pile"]);
  EXPECT_EQ(testing::CellFormat(w, 0, "Q3"), "#,##0.00");
  // Envelope of pile 6: Py max and its case, the SKK400 ratio in its format.
  const Json& pile6 = j["envelope"][5];
  near(number(1, "B7"), pile6["PyMax"]["value"]);
  near(number(1, "C7"), pile6["PyMax"]["case"]);
  near(number(1, "L7"), pile6["CheckRatioSKK400"]["value"]);
  EXPECT_EQ(testing::CellFormat(w, 1, "L7"), "#0.000");
  // The pile table of case 2: Py of pile 24.
  near(number(3, "C25"), j["cases"][1]["piles"][23]["Py"]);
  EXPECT_EQ(w.cells[3]["C1"], "Ｐy(kN)");

  // The CSV files: CP932 with CR LF, numbers at full precision.
  QFile envelope(QDir(dir.path()).filePath("out-envelope.csv"));
  ASSERT_TRUE(envelope.open(QIODevice::ReadOnly));
  const std::string text = *Cp932ToUtf8(envelope.readAll().toStdString());
  EXPECT_TRUE(text.starts_with("杭No,Ｐy最大(kN),ケース,")) << text.substr(0, 80);
  EXPECT_NE(text.find("\r\n6," + Json(pile6["PyMax"]["value"]).dump() + ","), std::string::npos);
  for (const char* name : {"out-cases.csv", "out-case1.csv", "out-case6.csv"})
    EXPECT_TRUE(QFile::exists(QDir(dir.path()).filePath(name))) << name;
}

TEST(CalcCommand, WorkbookHasTheTablesOfTheResultWindows) {
  QTemporaryDir dir;
  const QString book = QDir(dir.path()).filePath("calc.xlsx");
  ASSERT_EQ(RunCli({"calc", kInclined, "--xlsx", book}).exitCode, 0);
  const Json calc = Json::parse(RunCli({"calc", "--json", kInclined}).out);
  testing::Workbook w = testing::ReadWorkbook(book);
  const std::vector<std::string> sheets{"杭のバネ定数", "基礎の変位", "杭頭作用力", "杭体応力度(SKK400)",
                                        "杭体応力度(SKK490)"};
  ASSERT_EQ(w.sheets, sheets);
  EXPECT_EQ(w.cells[2]["B1"], "Ｐx(kN)");
  EXPECT_EQ(w.cells[2]["G1"], "Ｍz(kN･m)");
  EXPECT_NEAR(std::stod(w.cells[2]["B4"]), calc["piles"][2]["Px"].get<double>(), 1e-12);  // -32.466
  EXPECT_EQ(testing::CellFormat(w, 2, "B4"), "#,##0.00");
  EXPECT_NEAR(std::stod(w.cells[1]["B2"]), calc["footing"][1].get<double>(), 1e-18);
  EXPECT_NEAR(std::stod(w.cells[3]["E2"]), calc["piles"][0]["CheckRatio"][0].get<double>(), 1e-15);
  EXPECT_EQ(testing::CellFormat(w, 3, "E2"), "#0.000");
  EXPECT_EQ(testing::CellFormat(w, 3, "B2"), "###0.0");
  EXPECT_EQ(w.cells[3].count("F2"), 0u);  // a compressed pile has no tension value

  // A folder that does not exist: the run is shown, the file is not written.
  const testing::CliRun r = RunCli({"calc", kInclined, "--xlsx", QDir(dir.path()).filePath("none/calc.xlsx")});
  EXPECT_EQ(r.exitCode, 5);
  EXPECT_NE(r.err.find("Excelﾌｧｲﾙを保存できません"), std::string::npos) << r.err;

  // The workbook library is loaded only to write: when it is missing, or a
  // library of that name lacks its functions, the run is shown and the save
  // fails as any other, leaving nothing behind.
  for (const char* library : {"/nonexistent/libxlsxwriter.so.4", "libz.so.1"}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HASORIN_XLSXWRITER", library);
    QTemporaryDir empty;
    const testing::CliRun missing = RunCli({"calc", kInclined, "--xlsx", QDir(empty.path()).filePath("calc.xlsx")}, environment);
    EXPECT_EQ(missing.exitCode, 5) << library;
    EXPECT_NE(missing.out.find("杭頭作用力"), std::string::npos) << library << missing.out;
    EXPECT_NE(missing.err.find("（ﾗｲﾌﾞﾗﾘ libxlsxwriter を読み込めません）"), std::string::npos) << missing.err;
    EXPECT_TRUE(QDir(empty.path()).isEmpty()) << library;
  }
}

}  // namespace
}  // namespace hasorin
