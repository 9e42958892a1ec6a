// hasorin-cli print: the files it leaves in the output folder, the report
// selection and the exit codes, run as the whole program.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "cp932.h"
#include "inputfile.h"
#include "project.h"

namespace hasorin {
namespace {

struct CliRun {
  int exitCode;
  std::string out;
  std::string err;
};

// `environment`: additions "NAME=value".
CliRun RunProgram(const QString& program, const QStringList& arguments, const QStringList& environment = {}) {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const QString& entry : environment) env.insert(entry.section('=', 0, 0), entry.section('=', 1));
  process.setProcessEnvironment(env);
  process.start(program, arguments);
  process.waitForFinished(60000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          process.readAllStandardOutput().toStdString(), process.readAllStandardError().toStdString()};
}
CliRun RunCli(const QStringList& arguments) { return RunProgram(HASORIN_CLI, arguments); }

const QString kInclined = HASORIN_SOURCE_DIR "/examples/inclined4.zrn";

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::string Utf8(const QByteArray& cp932) {
  return Cp932ToUtf8(std::string_view(cp932.constData(), size_t(cp932.size()))).value_or("<bad>");
}

// The report files named on stdout: "<k> ok|error <path>" for k = 1..3, then the combined file.
std::vector<QString> ReportFiles(const std::string& out) {
  std::vector<QString> files;
  size_t start = 0;
  while (start < out.size()) {
    size_t end = out.find('\n', start);
    std::string line = out.substr(start, end - start);
    size_t space = line.find(' ', 2);
    if (line.size() > 2 && line[1] == ' ' && space != std::string::npos) {
      files.push_back(QString::fromStdString(line.substr(space + 1)));
    }
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return files;
}

TEST(PrintCommand, WritesReportsDrawingAndCombinedFile) {
  QTemporaryDir dir;
  const QString out = QDir(dir.path()).filePath("out");  // made by the command
  const CliRun r = RunCli({"print", kInclined, "--out", out});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const auto reports = ReportFiles(r.out);
  ASSERT_EQ(reports.size(), 3u) << r.out;
  EXPECT_NE(r.out.find("1 ok "), std::string::npos);

  // Three report files, the drawing and its sheet, and report.prn: the same
  // six files however often the command runs.
  const QStringList outputs = {"layout.drw", "layout.sht", "report.prn", "report1.prn", "report2.prn",
                               "report3.prn"};
  EXPECT_EQ(QDir(out).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), outputs);
  ASSERT_EQ(RunCli({"print", kInclined, "--out", out}).exitCode, 0);
  EXPECT_EQ(QDir(out).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), outputs);

  const QByteArray combined = ReadAll(QDir(out).filePath("report.prn"));
  QByteArray expected = ReadAll(reports[0]) + "\f" + ReadAll(reports[1]) + "\f" + ReadAll(reports[2]);
  EXPECT_EQ(combined, expected);
  const std::string text = Utf8(combined);
  EXPECT_TRUE(text.starts_with("?R1計算条件\r\n"));
  // The figure line points at a sheet in the output folder.
  size_t fg = text.find("?FG;000;000;");
  ASSERT_NE(fg, std::string::npos);
  const std::string sheet = text.substr(fg + 12, text.find("\r\n", fg) - fg - 12);
  EXPECT_EQ(QFileInfo(QString::fromStdString(sheet)).absolutePath(), QFileInfo(out).absoluteFilePath());
  EXPECT_TRUE(QFile::exists(QString::fromStdString(sheet)));
}

TEST(PrintCommand, ReportsOptionChoosesAndOrders) {
  QTemporaryDir dir;
  CliRun r = RunCli({"print", kInclined, "--out", dir.path(), "--reports", "3"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  auto reports = ReportFiles(r.out);
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_EQ(ReadAll(QDir(dir.path()).filePath("report.prn")), ReadAll(reports[2]));

  QTemporaryDir dir2;
  r = RunCli({"print", kInclined, "--out", dir2.path(), "--reports", "3,1"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  reports = ReportFiles(r.out);
  EXPECT_EQ(ReadAll(QDir(dir2.path()).filePath("report.prn")), ReadAll(reports[0]) + "\f" + ReadAll(reports[2]));
}

TEST(PrintCommand, UsageErrors) {
  QTemporaryDir dir;
  EXPECT_EQ(RunCli({"print", kInclined}).exitCode, 1);  // no --out
  EXPECT_EQ(RunCli({"print", kInclined, "--out", dir.path(), "--reports", "4"}).exitCode, 1);
  EXPECT_EQ(RunCli({"print", kInclined, "--out", dir.path(), "--reports", "x"}).exitCode, 1);
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST(PrintCommand, ExitCodesOfOpenAndCalculation) {
  QTemporaryDir dir;
  const QString out = QDir(dir.path()).filePath("out");
  EXPECT_EQ(RunCli({"print", QDir(dir.path()).filePath("none.zrn"), "--out", out}).exitCode, 2);

  Project p;
  ASSERT_TRUE(ReadInputFile(p, kInclined.toStdString()).ok);
  p.Conditions(3) = ProjectValue::Real(0);  // kh = 0 stops the calculation
  const std::string kh0 = QDir(dir.path()).filePath("kh0.zrn").toStdString();
  ASSERT_TRUE(WriteInputFile(p, kh0).ok);
  CliRun r = RunCli({"print", QString::fromStdString(kh0), "--out", out});
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_NE(r.err.find("ｴﾗｰｺｰﾄﾞ"), std::string::npos);

  // One vertical hinged pile at the origin: the group cannot be solved.
  ASSERT_TRUE(ReadInputFile(p, kInclined.toStdString()).ok);
  p.Conditions(4) = ProjectValue::Real(1);
  p.PileCount = 1;
  for (int c : {9, 10, 11, 12}) p.Piles(c, 1) = ProjectValue::Real(0);
  const std::string single = QDir(dir.path()).filePath("single.zrn").toStdString();
  ASSERT_TRUE(WriteInputFile(p, single).ok);
  EXPECT_EQ(RunCli({"print", QString::fromStdString(single), "--out", out}).exitCode, 4);
  EXPECT_FALSE(QDir(out).exists());  // nothing generated
}

TEST(PrintCommand, DamagedFormatFileExitsWithFiveAndNamesTheReports) {
  // A program folder of its own: the command, the definition files and a
  // format file cut off inside its second section.
  QTemporaryDir program;
  const QString cli = QDir(program.path()).filePath("hasorin-cli");
  ASSERT_TRUE(QFile::copy(HASORIN_CLI, cli));
  QFile(cli).setPermissions(QFile(HASORIN_CLI).permissions());
  const QString bin = QFileInfo(HASORIN_CLI).absolutePath();
  for (const char* name : {"LINE_PRN.DEF", "STR_PRN.DEF"}) {
    ASSERT_TRUE(QFile::copy(QDir(bin).filePath(name), QDir(program.path()).filePath(name)));
  }
  QByteArray format = ReadAll(QDir(bin).filePath("Zrn.FMT"));
  const QByteArray cut = QByteArray::fromStdString(Utf8ToCp932("020 3部材座標系"));
  ASSERT_GT(format.indexOf(cut), 0);
  format.truncate(format.indexOf(cut));
  QFile f(QDir(program.path()).filePath("Zrn.FMT"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(format);
  f.close();

  QTemporaryDir out;
  const CliRun r = RunProgram(cli, {"print", kInclined, "--out", out.path()});
  EXPECT_EQ(r.exitCode, 5);
  EXPECT_NE(r.err.find("･『計算結果(杭頭変位および杭頭作用力)』の印刷ﾌｧｲﾙ生成ｴﾗｰ"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("･『計算結果(杭応力度照査)』の印刷ﾌｧｲﾙ生成ｴﾗｰ"), std::string::npos);
  EXPECT_EQ(r.err.find("･『計算条件』"), std::string::npos);
  EXPECT_NE(r.out.find("1 ok "), std::string::npos);
  EXPECT_NE(r.out.find("2 error "), std::string::npos);
  // The combined file still holds what was generated, and nothing else is left.
  EXPECT_TRUE(Utf8(ReadAll(QDir(out.path()).filePath("report.prn"))).starts_with("?R1計算条件"));
  EXPECT_EQ(QDir(out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList({"layout.drw", "layout.sht", "report.prn", "report1.prn", "report2.prn", "report3.prn"}));
}

TEST(PrintCommand, FolderNamesAPrintFileCannotHold) {
  QTemporaryDir dir;
  // A temporary folder CP932 cannot name, or one with a line break: the
  // figure still reaches the PDF, through a folder a print file can name.
  for (const QString& name : {QStringLiteral("Zoë"), QStringLiteral("x\n?FG;000;000;%1/evil.sht")}) {
    const QString tmp = QDir(dir.path()).filePath(name.contains('%') ? name.arg(dir.path()) : name);
    ASSERT_TRUE(QDir().mkpath(tmp));
    const QString pdf = QDir(dir.path()).filePath("r.pdf");
    const CliRun r = RunProgram(HASORIN_CLI, {"print", kInclined, "--pdf", pdf}, {"TMPDIR=" + tmp});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");  // no figure that could not be read
    EXPECT_TRUE(QDir(tmp).entryList({"~PS*", "hasorin-*"}, QDir::AllEntries).isEmpty());
  }
  // An output folder of that kind is refused before anything is written.
  for (const QString& name : {QStringLiteral("絵文字😀"), QStringLiteral("a\n?FG;000;000;b")}) {
    const QString out = QDir(dir.path()).filePath(name);
    const CliRun r = RunCli({"print", kInclined, "--out", out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Shift_JIS で表せない文字か制御文字"), std::string::npos) << r.err;
    EXPECT_FALSE(QFileInfo::exists(out));
  }
}

}  // namespace
}  // namespace hasorin
