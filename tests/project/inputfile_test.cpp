#include "inputfile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileDevice>
#include <cmath>
#include <limits>
#include <csignal>
#include <random>
#include <set>
#include <sys/resource.h>
#include <unistd.h>

#include "child_process.h"
#include "cp932.h"
#include "project_fixtures.h"

namespace hasorin {
namespace {

using namespace hasorin::testing;

const std::string kHeader = Utf8ToCp932("QUORVANT INPUT FILE FORMAT V1：");
const std::string kProductLine = "PRODUCT NAME                   [Hasorin]\r\n";
const std::string kVersionLine = "INPUT FILE VERSION             [1.00]\r\n";

// The file of a confirmed project with one pile, in the reference layout.
std::string ReferenceFile() {
  return Utf8ToCp932("QUORVANT INPUT FILE FORMAT V1：杭基礎ｹｰｽ①\r\n") + kProductLine +
         kVersionLine +
         " 1 \r\n"
         "#TRUE#\r\n" +
         Utf8ToCp932("\"杭基礎ｹｰｽ①\"\r\n") +
         "200000\r\n"
         "30000\r\n"
         "0\r\n"
         "1\r\n"
         "0\r\n"
         "1.25\r\n"
         "\r\n"
         "\r\n"
         "\r\n"
         "#TRUE#\r\n"
         "100\r\n"
         "1000\r\n"
         "-0.25\r\n"
         "0\r\n"
         "1E+20\r\n"
         "0\r\n"
         "\r\n"
         "\r\n"
         "\r\n"
         "\r\n"
         " 1 \r\n"
         "0.6\r\n12\r\n1\r\n150\r\n100000\r\n3333\r\n0\r\n20\r\n1.5\r\n0\r\n-1.5\r\n10\r\n270\r\n"
         "187234.123456789\r\n";
}

// A number as the reader gives it back: whole 16-bit values as integers.
ProjectValue Num(double v) {
  if (v == std::floor(v) && v >= -32768 && v <= 32767) return ProjectValue::Integer(std::int16_t(v));
  return ProjectValue::Real(v);
}

Project ReferenceProject() {
  Project p;
  SetConditions(p, "杭基礎ｹｰｽ①", 200000, 30000, 0, 1, 0, 1.25);
  p.Conditions(3) = Num(30000);
  const double loads[6] = {100, 1000, -0.25, 0, 1e20, 0};
  for (int i = 1; i <= 6; ++i) p.Loads(i) = Num(loads[i - 1]);
  p.LoadsEntered = true;
  p.PileCount = 1;
  const double pile[kPileColumns] = {0.6, 12, 1, 150, 100000, 3333, 0, 20, 1.5, 0, -1.5, 10, 270,
                                     187234.123456789};
  for (int c = 1; c <= kPileColumns; ++c) p.Piles(c, 1) = Num(pile[c - 1]);
  return p;
}

// A project the user has open; failed reads must leave it exactly so.
Project LiveProject() {
  Project p = Inclined4();
  p.CurrentFilePath = "/work/open.zrn";
  p.ProjectModified = true;
  return p;
}

// Replaces the value lines from line `line` (1-based) on, or appends.
std::string ReplaceLine(const std::string& file, int line, const std::string& content) {
  size_t start = 0;
  for (int i = 1; i < line; ++i) start = file.find("\r\n", start) + 2;
  const size_t end = file.find("\r\n", start);
  return file.substr(0, start) + content + file.substr(end);
}

class InputFileTest : public ::testing::Test {
 protected:
  TempFolder temp;
  std::string path = temp.Path("p.zrn");
};

// ------------------------------------------------------------ round trips

TEST_F(InputFileTest, EveryValueKindSurvivesSaveAndReload) {
  Project p;
  p.ConditionsEntered = true;
  p.LoadsEntered = false;
  p.Conditions(1) = ProjectValue::Text("ﾊﾝｶｸ全角ＡＢＣ①～⊿ and ascii");
  p.Conditions(2) = ProjectValue::Real(1e20);
  p.Conditions(3) = ProjectValue::Real(0.5);
  p.Conditions(4) = ProjectValue::Integer(-32768);
  p.Conditions(5) = ProjectValue::Integer(32767);
  p.Conditions(6) = ProjectValue::Real(-0.25);
  p.Conditions(7) = ProjectValue::Real(123456789012345);
  // Slots the editors leave empty keep whatever a file carried.
  p.Conditions(8) = ProjectValue::Boolean(true);
  p.Conditions(9) = ProjectValue::Text("");
  p.Conditions(10) = ProjectValue::Real(1.23456789012345);
  p.Loads(1) = ProjectValue::Real(-99999999.99);
  p.Loads(2) = ProjectValue::Real(1e-5);
  p.Loads(3) = ProjectValue::Real(40000);
  p.Loads(7) = ProjectValue::Boolean(false);
  p.Loads(8) = ProjectValue::Text("x");
  p.Loads(10) = ProjectValue::Real(-1e-300);
  p.PileCount = 2;
  for (int c = 1; c <= kPileColumns; ++c) {
    p.Piles(c, 1) = ProjectValue::Real(c / 8.0);
    p.Piles(c, 2) = ProjectValue::Real(-c * 1000.5);
  }
  p.Piles(14, 2) = ProjectValue();
  ASSERT_TRUE(WriteInputFile(p, path).ok);

  Project back = LiveProject();
  ASSERT_TRUE(ReadInputFile(back, path).ok);
  EXPECT_TRUE(SameInputs(back, p));
  // Kinds: text, flags and empties exactly; whole numbers within 16 bits as
  // integers, everything else as reals.
  EXPECT_TRUE(back.Conditions(1).isText());
  EXPECT_TRUE(back.Conditions(8).isBoolean());
  EXPECT_TRUE(back.Conditions(9).isText());
  EXPECT_TRUE(back.Loads(9).isEmpty());
  EXPECT_TRUE(back.Piles(14, 2).isEmpty());
  EXPECT_TRUE(back.Conditions(4).isInteger());
  EXPECT_TRUE(back.Loads(3).isReal());
  EXPECT_TRUE(back.Conditions(3).isReal());
  // The document state belongs to the caller.
  EXPECT_EQ(back.CurrentFilePath, "/work/open.zrn");
  EXPECT_TRUE(back.ProjectModified);
}

TEST_F(InputFileTest, OpenSaveOpenKeepsEveryValueTheReaderAccepts) {
  // The slots the editors never show carry a file's values straight to the next save.
  constexpr double kMax = std::numeric_limits<double>::max();
  const std::vector<ProjectValue> values = {
      ProjectValue::Real(kMax),
      ProjectValue::Real(-kMax),
      ProjectValue::Real(std::nextafter(1.797693134862315e308, 0.0)),
      ProjectValue::Real(1.797693134862315e308),
      ProjectValue::Real(std::numeric_limits<double>::min()),
      ProjectValue::Real(-std::numeric_limits<double>::min()),
      ProjectValue::Real(std::numeric_limits<double>::denorm_min()),
      ProjectValue::Real(-0.0),
      ProjectValue::Real(0.1),
      ProjectValue::Real(187234.12345678901),
      ProjectValue::Real(2.5),
      ProjectValue::Integer(-32768),
      ProjectValue::Text("ﾃｷｽﾄ"),
      ProjectValue::Boolean(false),
      ProjectValue(),
  };
  Project p = Vertical4();
  for (size_t k = 0; k < values.size(); ++k) {
    SCOPED_TRACE(Describe(values[k]));
    for (int slot : {8, 9, 10}) p.Conditions(slot) = values[k];
    for (int slot : {7, 8, 9, 10}) p.Loads(slot) = values[k];
    p.Piles(1 + int(k) % kPileColumns, 1 + int(k) % 4) = values[k];
    ASSERT_TRUE(WriteInputFile(p, path).ok);
    Project first;
    ASSERT_TRUE(ReadInputFile(first, path).ok);
    EXPECT_TRUE(SameInputs(first, p));
    ASSERT_TRUE(WriteInputFile(first, path).ok);
    Project second;
    const FileResult r = ReadInputFile(second, path);
    ASSERT_TRUE(r.ok) << r.code;
    EXPECT_EQ(second, first);
  }
  // Texts with what a value line cannot carry back, as a file may hold them.
  for (const std::string& text : {"\"a\"b\"", "\"a\rb\"", "\"\"\"\""}) {
    WriteBytes(path, ReplaceLine(ReferenceFile(), 14, text));
    Project first, second;
    ASSERT_TRUE(ReadInputFile(first, path).ok);
    ASSERT_TRUE(WriteInputFile(first, path).ok);
    ASSERT_TRUE(ReadInputFile(second, path).ok);
    EXPECT_EQ(second, first) << text;
  }
  // Reals the classic 15-digit text holds keep exactly that text.
  for (const auto& [value, text] : std::vector<std::pair<double, std::string>>{
           {0.1, "0.1"}, {1e20, "1E+20"}, {-1.5e-7, "-1.5E-07"}, {123456.789, "123456.789"}}) {
    p.Loads(10) = ProjectValue::Real(value);
    ASSERT_TRUE(WriteInputFile(p, path).ok);
    EXPECT_NE(ReadBytes(path).find("\r\n" + text + "\r\n 4 \r\n"), std::string::npos) << text;
  }
}

TEST_F(InputFileTest, ReferenceLayoutReadsBackAndRewritesByteForByte) {
  WriteBytes(path, ReferenceFile());
  Project p;
  ASSERT_TRUE(ReadInputFile(p, path).ok);
  EXPECT_EQ(p, ReferenceProject());

  const std::string again = temp.Path("again.zrn");
  ASSERT_TRUE(WriteInputFile(p, again).ok);
  EXPECT_EQ(ReadBytes(again), ReferenceFile());
}

TEST_F(InputFileTest, NewProjectWritesFlagsEmptiesAndZeroPiles) {
  Project p;
  p.Piles(1, 1) = ProjectValue::Real(9);  // a stale row above PileCount is not written
  ASSERT_TRUE(WriteInputFile(p, path).ok);
  std::string expected = kHeader + "\r\n" + kProductLine + kVersionLine + " 1 \r\n#FALSE#\r\n";
  for (int i = 0; i < 10; ++i) expected += "\r\n";
  expected += "#FALSE#\r\n";
  for (int i = 0; i < 10; ++i) expected += "\r\n";
  expected += " 0 \r\n";
  EXPECT_EQ(ReadBytes(path), expected);

  Project back = LiveProject();
  ASSERT_TRUE(ReadInputFile(back, path).ok);
  EXPECT_EQ(back.PileCount, 0);
  EXPECT_FALSE(back.ConditionsEntered);
  EXPECT_TRUE(back.Piles(1, 1).isEmpty());
}

TEST_F(InputFileTest, QuotesAndLineBreaksInTextNeverBreakTheFile) {
  Project p = Vertical4();
  p.Conditions(1) = ProjectValue::Text("A\"B\"\r\nC");
  p.Loads(9) = ProjectValue::Text("\"");
  ASSERT_TRUE(WriteInputFile(p, path).ok);
  const std::string bytes = ReadBytes(path);
  EXPECT_EQ(bytes.substr(0, bytes.find("\r\n")), kHeader + Utf8ToCp932("A＂B＂  C"));

  Project back;
  ASSERT_TRUE(ReadInputFile(back, path).ok);
  EXPECT_EQ(back.Conditions(1).text(), "A＂B＂  C");
  EXPECT_EQ(back.Loads(9).text(), "＂");
  EXPECT_EQ(back.PileCount, 4);
}

TEST_F(InputFileTest, ReaderAcceptsOtherNotationsAndLineEnds) {
  // LF-only line ends, no line end after the last line, blanks around values,
  // numbers without leading zero, with "+" or exponent, flags in lower case.
  std::string file = ReferenceFile();
  file = ReplaceLine(file, 5, "  #true#");
  file = ReplaceLine(file, 7, ".5");
  file = ReplaceLine(file, 8, "-.25 ");
  file = ReplaceLine(file, 17, "+3");
  file = ReplaceLine(file, 18, "2.5e-3");
  file = ReplaceLine(file, 27, "1");
  file = ReplaceLine(file, 28, "\t0.6\t");
  std::string lf;
  for (char c : file)
    if (c != '\r') lf += c;
  lf.pop_back();  // the last line ends without a line end
  WriteBytes(path, lf);

  Project p;
  const FileResult r = ReadInputFile(p, path);
  ASSERT_TRUE(r.ok) << r.code;
  EXPECT_TRUE(p.ConditionsEntered);
  EXPECT_EQ(p.Conditions(2), ProjectValue::Real(0.5));
  EXPECT_EQ(p.Conditions(3), ProjectValue::Real(-0.25));
  EXPECT_EQ(p.Loads(1), ProjectValue::Integer(3));
  EXPECT_EQ(p.Loads(2), ProjectValue::Real(0.0025));
  EXPECT_EQ(p.Piles(1, 1), ProjectValue::Real(0.6));
  EXPECT_EQ(p.Piles(14, 1), ProjectValue::Real(187234.123456789));
  EXPECT_EQ(p.Conditions(1).text(), "杭基礎ｹｰｽ①");
}

TEST_F(InputFileTest, OnlyTheValueLinesAreRead) {
  // Line 1 is never parsed: its title, even damaged bytes in it, do not matter;
  // lines after the pile table are ignored.
  std::string file = ReplaceLine(ReferenceFile(), 1, "\x82\xA0\xFF\xFF other title");
  file = ReplaceLine(file, 4, "garbage");
  WriteBytes(path, file + "trailing junk\r\n");
  Project p;
  ASSERT_TRUE(ReadInputFile(p, path).ok);
  EXPECT_EQ(p, ReferenceProject());
}

// ------------------------------------------------------------ bad input

struct BadFile {
  const char* name;
  std::function<std::string()> bytes;
  int code;
};

TEST_F(InputFileTest, BadFilesFailWithTheirCodeAndLeaveTheProjectAlone) {
  const std::string ref = ReferenceFile();
  const auto firstLines = [&](int n) {
    size_t pos = 0;
    for (int i = 0; i < n; ++i) pos = ref.find("\r\n", pos) + 2;
    return ref.substr(0, pos);
  };
  const std::vector<BadFile> cases = {
      {"empty file", [] { return std::string(); }, fileerr::kPastEndOfFile},
      {"two lines", [&] { return firstLines(2); }, fileerr::kPastEndOfFile},
      {"ends before the pile count", [&] { return firstLines(26); }, fileerr::kPastEndOfFile},
      {"truncated pile table", [&] { return firstLines(35); }, fileerr::kPastEndOfFile},
      {"cut inside the title", [&] { return ref.substr(0, ref.find("200000") - 5); },
       fileerr::kTypeMismatch},
      {"pile count 1000", [&] { return ReplaceLine(ref, 27, " 1000 "); }, fileerr::kSubscript},
      {"pile count -1", [&] { return ReplaceLine(ref, 27, "-1"); }, fileerr::kSubscript},
      {"pile count 1E+300", [&] { return ReplaceLine(ref, 27, "1E+300"); }, fileerr::kSubscript},
      {"pile count 2.5", [&] { return ReplaceLine(ref, 27, " 2.5 "); }, fileerr::kTypeMismatch},
      {"flag where the pile count is", [&] { return ReplaceLine(ref, 27, "#TRUE#"); },
       fileerr::kTypeMismatch},
      {"empty pile count", [&] { return ReplaceLine(ref, 27, ""); }, fileerr::kTypeMismatch},
      {"number where a flag is", [&] { return ReplaceLine(ref, 5, "1"); }, fileerr::kTypeMismatch},
      {"text where a flag is", [&] { return ReplaceLine(ref, 16, "\"#TRUE#\""); },
       fileerr::kTypeMismatch},
      {"two values on a line", [&] { return ReplaceLine(ref, 17, "1,2"); }, fileerr::kTypeMismatch},
      {"unquoted word", [&] { return ReplaceLine(ref, 30, "abc"); }, fileerr::kTypeMismatch},
      {"unclosed quote", [&] { return ReplaceLine(ref, 6, "\"title"); }, fileerr::kTypeMismatch},
      {"lone quote", [&] { return ReplaceLine(ref, 6, "\""); }, fileerr::kTypeMismatch},
      {"number beyond double", [&] { return ReplaceLine(ref, 17, "1E+400"); },
       fileerr::kTypeMismatch},
      {"infinity", [&] { return ReplaceLine(ref, 17, "inf"); }, fileerr::kTypeMismatch},
      {"bare sign and point", [&] { return ReplaceLine(ref, 17, "-."); }, fileerr::kTypeMismatch},
      {"exponent without digits", [&] { return ReplaceLine(ref, 17, "1E+"); },
       fileerr::kTypeMismatch},
      {"invalid CP932 in a text", [&] { return ReplaceLine(ref, 6, "\"\x81\x20\xFF\""); },
       fileerr::kPathFileAccess},
      {"line of 1 MB", [&] { return ReplaceLine(ref, 8, std::string(1 << 20, '7')); },
       fileerr::kPathFileAccess},
      {"line of 1 MB without line ends", [] { return std::string(1 << 20, 'x'); },
       fileerr::kPathFileAccess},
  };
  for (const BadFile& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(path, c.bytes());
    Project live = LiveProject();
    const FileResult r = ReadInputFile(live, path);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.code, c.code);
    EXPECT_EQ(live, LiveProject());
  }
}

TEST_F(InputFileTest, UnreadablePathsFailWithTheirCode) {
  Project live = LiveProject();
  EXPECT_EQ(ReadInputFile(live, temp.Path("missing.zrn")).code, fileerr::kFileNotFound);
  EXPECT_EQ(ReadInputFile(live, "").code, fileerr::kFileNotFound);
  EXPECT_EQ(ReadInputFile(live, temp.Root()).code, fileerr::kPathFileAccess);
  EXPECT_EQ(ReadInputFile(live, "/dev/zero").code, fileerr::kPathFileAccess);
  EXPECT_EQ(live, LiveProject());
}

TEST_F(InputFileTest, FiftyMegabytesOfGarbageFailWithoutBeingReadWhole) {
  std::mt19937 random(7);
  std::string block(1 << 20, '\0');
  {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (int mb = 0; mb < 50; ++mb) {
      for (char& c : block) c = char(random());
      file.write(block.data(), qint64(block.size()));
    }
  }
  Project live = LiveProject();
  const FileResult r = ReadInputFile(live, path);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.code, 0);
  EXPECT_EQ(live, LiveProject());
  EXPECT_NE(ReadInputFileVersion(path), "1.00");
}

TEST_F(InputFileTest, MutatedFilesNeverCrashTheReader) {
  const std::string valid = ReadBytes(SourceDir() + "/examples/inclined4.zrn");
  ASSERT_FALSE(valid.empty());
  const std::set<int> codes = {fileerr::kSubscript, fileerr::kTypeMismatch, fileerr::kPastEndOfFile,
                               fileerr::kPathFileAccess};
  std::mt19937 random(20240513);
  int failures = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string bytes = valid;
    const int edits = 1 + int(random() % 4);
    for (int e = 0; e < edits && !bytes.empty(); ++e) {
      const size_t at = random() % bytes.size();
      switch (random() % 4) {
        case 0: bytes[at] = char(bytes[at] ^ (1 << (random() % 8))); break;  // flip a bit
        case 1: bytes.resize(at); break;                                      // cut
        case 2: bytes.insert(at, 1 + random() % 8, char(random())); break;   // insert
        case 3: bytes.erase(at, 1 + random() % 40); break;                    // drop a run
      }
    }
    WriteBytes(path, bytes);
    Project live = LiveProject();
    const FileResult r = ReadInputFile(live, path);
    ReadInputFileVersion(path);
    if (r.ok) continue;
    ++failures;
    ASSERT_TRUE(codes.count(r.code)) << "round " << round << " code " << r.code;
    ASSERT_EQ(live, LiveProject()) << "round " << round;
  }
  EXPECT_GT(failures, 1000);  // the mutations do reach the error paths
}

// ------------------------------------------------------------ failed saves

class FailedSaveTest : public InputFileTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WriteInputFile(Vertical4(), path).ok);
    original = ReadBytes(path);
  }
  // The earlier file is intact and nothing else was left in its folder.
  void ExpectOldFileIntact() {
    EXPECT_EQ(ReadBytes(path), original);
    EXPECT_EQ(temp.Entries(), QStringList{"p.zrn"});
  }
  std::string original;
};

TEST_F(FailedSaveTest, UnwritableTargetsFailWithTheirCode) {
  const Project p = Group24();
  EXPECT_EQ(WriteInputFile(p, temp.Root()).code, fileerr::kPathFileAccess);  // a folder
  EXPECT_EQ(WriteInputFile(p, temp.Path("none/a.zrn")).code, fileerr::kPathNotFound);
  EXPECT_EQ(WriteInputFile(p, path + "/a.zrn").code, fileerr::kPathNotFound);  // parent is a file
  EXPECT_EQ(WriteInputFile(p, "").code, fileerr::kPathFileAccess);
  ExpectOldFileIntact();
}

TEST_F(FailedSaveTest, ReadOnlyFolderOrFileKeepsTheOldFile) {
  // As an unprivileged user, so that the permissions also stop a root test run.
  HandOverToUnprivileged(temp.Root());
  HandOverToUnprivileged(path);
  const ChildResult child = RunInChild(
      [&] {
        if (access(temp.Root().c_str(), R_OK | W_OK | X_OK) != 0) return std::string("unreachable");
        const QString folder = QString::fromStdString(temp.Root());
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const int inFolder = WriteInputFile(Group24(), path).code;
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        // A read-only file in a writable folder is not replaced either.
        const QString file = QString::fromStdString(path);
        QFile::setPermissions(file, QFileDevice::ReadOwner);
        const int onFile = WriteInputFile(Group24(), path).code;
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        return std::to_string(inFolder) + " " + std::to_string(onFile);
      },
      {.maxFileBytes = -1, .unprivileged = true});
  if (child.output == "unreachable") GTEST_SKIP() << "the test folder is out of an unprivileged user's reach";
  ASSERT_TRUE(child.finished) << child.output;
  const std::string denied = std::to_string(fileerr::kPermissionDenied);
  EXPECT_EQ(child.output, denied + " " + denied);
  ExpectOldFileIntact();
}

TEST_F(FailedSaveTest, SizeLimitedSaveFailsWithDiskFullAndKeepsTheOldFile) {
  // Each new file is cut at half its size: small files too, whose bytes a
  // buffered writer only hands over when it closes.
  struct Case {
    Project next, old;
  };
  const std::vector<Case> cases = {{Vertical4(), Group24()}, {Group24(), Vertical4()},
                                   {ManyPiles(999), Vertical4()}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.next.PileCount);
    ASSERT_TRUE(WriteInputFile(c.next, path).ok);
    const long long size = (long long)ReadBytes(path).size();
    ASSERT_TRUE(WriteInputFile(c.old, path).ok);
    original = ReadBytes(path);
    const ChildResult child =
        RunInChild([&] { return std::to_string(WriteInputFile(c.next, path).code); }, {.maxFileBytes = size / 2, .unprivileged = false});
    ASSERT_TRUE(child.finished) << child.output;
    EXPECT_EQ(child.output, std::to_string(fileerr::kDiskFull));
    ExpectOldFileIntact();
  }
}

TEST_F(FailedSaveTest, LeftoversOfAKilledSaveGoAtTheNextSave) {
  // What a save killed before its rename leaves, next to files that only look alike.
  const std::vector<std::string> ours = {"p.zrn.~save-Ab3dE9", "p.zrn.~save-000000"};
  const std::vector<std::string> others = {"p.zrn.~save-Ab3dE", "p.zrn.~save-Ab3dE9x", "q.zrn.~save-Ab3dE9",
                                           "p.zrn.backup", "p.zrn.Ab3dE9"};
  for (const std::string& name : ours) WriteBytes(temp.Path(name), original);
  for (const std::string& name : others) WriteBytes(temp.Path(name), "keep");
  ASSERT_TRUE(WriteInputFile(Group24(), path).ok);
  QStringList expected{"p.zrn"};
  for (const std::string& name : others) expected << QString::fromStdString(name);
  expected.sort();
  QStringList entries = temp.Entries();
  entries.sort();
  EXPECT_EQ(entries, expected);
  for (const std::string& name : others) EXPECT_EQ(ReadBytes(temp.Path(name)), "keep");
}

TEST_F(FailedSaveTest, WriteCutShortKeepsTheOldFileAndLeavesNoPartialFile) {
  // The system refuses to let the file grow past 4 KB: the disk is "full".
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const FileResult r = WriteInputFile(ManyPiles(999), path);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, SIG_DFL);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.code, fileerr::kDiskFull);
  ExpectOldFileIntact();
}

TEST_F(FailedSaveTest, ValuesTheFileCannotHoldAreRefusedBeforeWriting) {
  Project p = Vertical4();
  p.Piles(3, 2) = ProjectValue::Real(std::numeric_limits<double>::infinity());
  EXPECT_EQ(WriteInputFile(p, path).code, fileerr::kTypeMismatch);
  p = Vertical4();
  p.Loads(1) = ProjectValue::Real(std::nan(""));
  EXPECT_EQ(WriteInputFile(p, path).code, fileerr::kTypeMismatch);
  p = Vertical4();
  p.PileCount = 1000;
  EXPECT_EQ(WriteInputFile(p, path).code, fileerr::kSubscript);
  p.PileCount = -1;
  EXPECT_EQ(WriteInputFile(p, path).code, fileerr::kSubscript);
  ExpectOldFileIntact();
}

TEST_F(InputFileTest, SaveReplacesALongerFileCompletely) {
  ASSERT_TRUE(WriteInputFile(Group24(), path).ok);
  ASSERT_TRUE(WriteInputFile(Project(), path).ok);
  Project back;
  ASSERT_TRUE(ReadInputFile(back, path).ok);
  EXPECT_EQ(back, Project());
  EXPECT_LT(ReadBytes(path).size(), 200u);
}

// ------------------------------------------------------------ version

TEST_F(InputFileTest, VersionIsTheTextBetweenColumn33AndTheLastCharacter) {
  const std::string ref = ReferenceFile();
  struct Case {
    std::string bytes;
    std::string version;
  };
  const std::vector<Case> cases = {
      {ref, "1.00"},
      {ReplaceLine(ref, 3, "INPUT FILE VERSION             [1.01]"), "1.01"},
      {ReplaceLine(ref, 3, "INPUT FILE VERSION             [1.00"), "1.0"},
      {ReplaceLine(ref, 3, "INPUT FILE VERSION             ["), "error"},   // 32 characters
      {ReplaceLine(ref, 3, "INPUT FILE VERSION             [x"), ""},       // 33 characters
      // Columns count characters, not bytes.
      {ReplaceLine(ref, 3, Utf8ToCp932("入力ﾌｧｲﾙ版数" + std::string(23, ' ') + "[1.00]")), "1.00"},
      {ReplaceLine(ref, 3, "\x81\x20 bad bytes in the version line [1.00]"), "error"},
      {ref.substr(0, ref.find(kVersionLine)), "error"},                      // two lines
      {ref.substr(0, ref.find(kVersionLine)) + "INPUT FILE VERSION             [1.00]", "1.00"},
      {std::string(), "error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes.substr(0, 120));
    WriteBytes(path, c.bytes);
    EXPECT_EQ(ReadInputFileVersion(path), c.version);
  }
  EXPECT_EQ(ReadInputFileVersion(temp.Path("missing.zrn")), "error");
}

// ------------------------------------------------------------ project record

TEST(ProjectRecord, ResetEmptiesInputsButNotTheDocumentState) {
  Project p = LiveProject();
  ResetProject(p);
  EXPECT_FALSE(p.ConditionsEntered);
  EXPECT_FALSE(p.LoadsEntered);
  EXPECT_EQ(p.PileCount, 0);
  for (int i = 1; i <= kConditionSlots; ++i) EXPECT_TRUE(p.Conditions(i).isEmpty());
  for (int i = 1; i <= kLoadSlots; ++i) EXPECT_TRUE(p.Loads(i).isEmpty());
  EXPECT_TRUE(p.Piles(14, 999).isEmpty() && p.Piles(1, 1).isEmpty());
  EXPECT_EQ(p.CurrentFilePath, "/work/open.zrn");
  EXPECT_TRUE(p.ProjectModified);
  EXPECT_THROW(p.Piles(15, 1), std::out_of_range);
  EXPECT_THROW(p.Piles(1, 1000), std::out_of_range);
  EXPECT_THROW(p.Conditions(0), std::out_of_range);
}

}  // namespace
}  // namespace hasorin
