#include "reports.h"

#include <algorithm>
#include <array>
#include <functional>
#include <optional>

#include "cp932.h"
#include "numfmt.h"
#include "paths.h"
#include "pile_layout.h"

namespace hasorin {
namespace {

// The template lines of one report and the writer they go to. Template
// numbers are 1-based, as in the format file.
class Sheet {
 public:
  Sheet(ReportWriter& writer, const FormatSection& section) : w_(writer), s_(section) {}

  void Text(int k) { w_.PrintText(s_.Level(k), s_.Template(k)); }
  void Texts(int from, int to) {
    for (int k = from; k <= to; ++k) Text(k);
  }
  template <size_t N>
  void Fill(int k, const std::array<double, N>& numbers) {
    w_.PrintTemplateLine(s_.Level(k), Parsed(k), numbers);
  }
  void FillText(int k, const std::string& text) {
    const std::string strings[1] = {text};
    w_.PrintTemplateLine(s_.Level(k), s_.Template(k), {}, strings);
  }
  void Blank(int n) { w_.PrintBlankLines(n); }
  void NewPage() { w_.NewPage(); }
  ReportWriter& Writer() { return w_; }
  const FormatSection& Section() const { return s_; }

  // Template k with its fields found, parsed on first use (table rows are
  // filled hundreds of times).
  const ParsedTemplate& Parsed(int k) {
    if (parsed_.empty()) parsed_.resize(size_t(s_.Count()));
    auto& slot = parsed_.at(size_t(k - 1));
    if (!slot) slot = ParsedTemplate::Parse(s_.Template(k));
    return *slot;
  }

  // A table of `rows` rows: the first page takes them all when they are at
  // most first + 2, else `first`; every later page starts afresh with the
  // header and takes all that remain when at most later + 2, else `later`.
  // `separator` follows every row but the last of a page, `closing` that
  // one. Without rows only the header is printed.
  void Table(int rows, int first, int later, const std::function<void()>& header,
             const std::function<void(int)>& row, int separator, int closing) {
    header();
    int r = 1;
    int onPage = rows <= first + 2 ? rows : first;
    while (r <= rows) {
      for (int i = 1; i <= onPage; ++i, ++r) {
        row(r);
        Text(i < onPage ? separator : closing);
      }
      if (r > rows) break;
      NewPage();
      header();
      int left = rows - r + 1;
      onPage = left <= later + 2 ? left : later;
    }
  }

 private:
  ReportWriter& w_;
  const FormatSection& s_;
  std::vector<std::optional<ParsedTemplate>> parsed_;
};

// Reads the report's section, opens the current file, runs `body` and closes
// the file; any failure closes it with what was written and sets `error`.
bool RunReport(ReportWriter& writer, const ReportInputs& in, const char* key, int required,
               std::string& error, const std::function<void(Sheet&)>& body) {
  error.clear();
  try {
    FormatSection section = ReadFormatSection(in.formatPath, key);
    if (section.Count() < required) {
      throw ReportError("書式ﾌｧｲﾙの「" + std::string(key) + "」の書式は " + std::to_string(required) +
                        " 行必要ですが " + std::to_string(section.Count()) + " 行しかありません。");
    }
    writer.Open();
    Sheet sheet(writer, section);
    body(sheet);
    if (!writer.Close()) throw ReportError("印刷ﾌｧｲﾙを書き込めません。");
    return true;
  } catch (const ReportError& e) {
    error = e.what();
  } catch (const std::exception& e) {
    error = std::string("印刷ﾌｧｲﾙの作成中にｴﾗｰが発生しました。") + e.what();
  }
  writer.Close();
  return false;
}

int PileRows(int count) { return std::clamp(count, 0, kMaxPiles); }

// A condition slot as text: text as it is, numbers in their plain form.
std::string SlotText(const ProjectValue& v) {
  if (v.isText()) return v.text();
  if (v.isNumber()) return FormatGeneral(v.number());
  return {};
}

void RequireSolved(const engine::CalcResults& results) {
  // Tables left from an earlier run must not be printed as this project's results.
  if (!results.solved) throw ReportError("杭基礎の剛性方程式が解けなかったため、計算結果がありません。");
}

}  // namespace

bool WriteConditionsReport(ReportWriter& writer, const ReportInputs& in, std::string& error) {
  return RunReport(writer, in, kConditionsKey, kConditionsLines, error, [&](Sheet& t) {
    const Project& p = in.project;
    const engine::CalcResults& res = in.results;
    auto cond = [&](int k) { return p.Conditions(k).number(); };
    auto load = [&](int k) { return p.Loads(k).number(); };

    t.Text(1);
    t.Blank(2);
    t.Writer().PrintText(t.Section().Level(2), t.Section().Template(2) + SlotText(p.Conditions(1)));
    t.Blank(2);
    t.Text(3);
    t.Blank(1);
    t.Fill(4, std::array{cond(2)});
    t.Blank(1);
    t.Fill(5, std::array{cond(3)});
    t.Blank(1);
    t.FillText(6, cond(4) != 0 ? "[ヒンジ]" : "[剛結]");
    t.Blank(1);
    const double tip = cond(5);
    t.FillText(7, tip == 1 ? "[ヒンジ]" : tip == 2 ? "[自由]" : "[固定]");
    t.Blank(1);
    t.Text(8);
    t.Blank(1);
    for (int k = 1; k <= 6; ++k) {
      t.Fill(8 + k, std::array{load(k)});
      t.Blank(1);
    }
    t.Fill(15, std::array{cond(7)});
    t.Blank(1);
    t.Text(16);
    t.Text(17);
    t.Blank(1);

    const int n = PileRows(p.PileCount);
    static constexpr int kPileColumns[12] = {1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13};
    t.Table(
        n, 20, 50, [&] { t.Texts(18, 22); },
        [&](int r) {
          std::array<double, 13> v{double(r)};
          for (size_t c = 0; c < 12; ++c) v[c + 1] = p.Piles(kPileColumns[c], r).number();
          t.Fill(23, v);
        },
        24, 25);
    t.Text(26);
    t.Text(27);
    t.NewPage();

    PileLayoutResult figure =
        MakePileLayoutDrawing(kFigureSheetMm, kFigureSheetMm, p, in.programFolder, in.drawingFiles);
    if (!figure.ok) throw ReportError(figure.error);
    // The figure line is one line of a CP932 file: a name it cannot hold
    // would make the previewer look for another file, or add lines.
    if (!IsPrintFilePath(figure.sheetPath))
      throw ReportError("図のﾌｧｲﾙ名に Shift_JIS で表せない文字か制御文字があります：" + figure.sheetPath);
    t.Writer().PrintLinePrefix(0);
    t.Writer().WriteBytes(std::string(kFigureMark) + Utf8ToCp932(figure.sheetPath) + "\r\n \r\n");
    t.NewPage();

    t.Text(28);
    t.Text(29);
    t.Table(
        n, 50, 50, [&] { t.Texts(30, 34); },
        [&](int r) {
          t.Fill(35, std::array{double(r), res.PileBeta[r], res.PileK1[r], res.PileK1z[r], res.PileK2[r],
                                res.PileK2z[r], res.PileK4[r], res.PileK4z[r], res.PileKt[r], res.PileKv[r]});
        },
        36, 37);
    t.Text(38);
  });
}

bool WritePileHeadReport(ReportWriter& writer, const ReportInputs& in, std::string& error) {
  return RunReport(writer, in, kPileHeadKey, kPileHeadLines, error, [&](Sheet& t) {
    const engine::CalcResults& res = in.results;
    RequireSolved(res);
    t.Text(1);
    t.Blank(1);
    t.Text(2);
    t.Blank(1);
    for (int k = 0; k < 6; ++k) {
      t.Fill(3 + k, std::array{res.Footing[size_t(k)]});
      t.Blank(1);
    }
    t.Text(9);
    t.Text(10);

    const int n = PileRows(res.PileCount);
    t.Table(
        n, 35, 50, [&] { t.Texts(11, 15); },
        [&](int r) {
          t.Fill(16, std::array{double(r), res.HeadDispX[r], res.HeadDispY[r], res.HeadDispZ[r],
                                res.MemberDispX[r], res.MemberDispY[r], res.MemberDispZ[r], res.MemberRotX[r],
                                res.MemberRotY[r], res.MemberRotZ[r]});
        },
        17, 18);
    t.Text(19);
    t.Writer().KeepTogether(12, 0);
    t.Texts(20, 29);

    t.NewPage();
    t.Text(30);
    t.Text(31);
    t.Table(
        n, 50, 50, [&] { t.Texts(32, 36); },
        [&](int r) {
          // Piles in tension (Py < 0) have a row of their own.
          t.Fill(res.Py[r] >= 0 ? 37 : 38, std::array{double(r), res.Px[r], res.Py[r], res.Pz[r], res.Mx[r],
                                                       res.My[r], res.Mz[r], res.Me[r]});
        },
        39, 40);
    t.Texts(41, 45);
  });
}

bool WriteStressReport(ReportWriter& writer, const ReportInputs& in, std::string& error) {
  return RunReport(writer, in, kStressKey, kStressLines, error, [&](Sheet& t) {
    const Project& p = in.project;
    const engine::CalcResults& res = in.results;
    RequireSolved(res);
    using engine::kSKK400;
    using engine::kSKK490;
    t.Text(1);
    t.Text(2);

    const int n = PileRows(res.PileCount);
    t.Table(
        n, 50, 50, [&] { t.Texts(3, 7); },
        [&](int r) {
          t.Fill(8, std::array{double(r), p.Piles(4, r).number(), p.Piles(6, r).number(), res.Py[r], res.Mx[r],
                               res.Mz[r], res.Me[r], res.SigmaX[r], res.SigmaZ[r], res.SigmaC[r], res.SigmaB[r]});
        },
        9, 10);
    t.Text(11);
    t.Writer().KeepTogether(18, 0);
    t.Texts(12, 15);
    t.Blank(1);
    t.Texts(16, 18);
    t.Blank(1);
    t.Texts(19, 21);
    t.Blank(1);
    t.Texts(22, 24);

    t.NewPage();
    t.Writer().SetPageLength(62);
    t.Text(25);
    t.Blank(1);
    const double alpha = p.Conditions(7).number();
    t.Table(
        n, 30, 30,
        [&] {
          t.Text(26);
          t.Fill(27, std::array{alpha * 140, alpha * 185});
          t.Texts(28, 30);
        },
        [&](int r) {
          if (res.SigmaC[r] >= 0) {
            t.Fill(31, std::array{double(r), res.Slenderness[r], res.SigmaC[r], res.SigmaB[r],
                                  res.SigmaCaAllow[kSKK400][r], res.CheckRatio[kSKK400][r],
                                  res.SigmaCaAllow[kSKK490][r], res.CheckRatio[kSKK490][r]});
          } else {
            // A pile in tension: the combined tensile stress for both grades.
            const double sigmaT = res.SigmaB[r] - res.SigmaC[r];
            t.Fill(32, std::array{double(r), res.Slenderness[r], res.SigmaC[r], res.SigmaB[r], sigmaT, sigmaT});
          }
        },
        33, 34);
    t.Blank(1);
    t.Writer().KeepTogether(12, 0);
    t.Texts(35, 38);
    t.Blank(1);
    t.Text(39);
    t.Blank(1);
    t.Text(40);
    t.Blank(1);
    t.Text(41);
    t.Blank(1);
    t.Text(42);
  });
}

}  // namespace hasorin
