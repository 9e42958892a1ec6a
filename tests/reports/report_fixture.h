#pragma once
// Shared pieces of the report tests: a project and hand-filled results of any
// size, a format file whose template lines are easy to recognise on paper,
// and the pages of a report file.
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cp932.h"
#include "engine.h"
#include "paths.h"
#include "project.h"
#include "reports.h"
#include "text_file.h"

namespace hasorin::testing {

// The numeric and string fields the reports hand to each filled template.
struct FieldCount {
  int numbers = 0, strings = 0;
};
inline const std::map<std::string, std::map<int, FieldCount>>& FilledTemplates() {
  static const std::map<std::string, std::map<int, FieldCount>> kFilled = {
      {kConditionsKey,
       {{4, {1, 0}}, {5, {1, 0}}, {6, {0, 1}}, {7, {0, 1}}, {9, {1, 0}}, {10, {1, 0}}, {11, {1, 0}},
        {12, {1, 0}}, {13, {1, 0}}, {14, {1, 0}}, {15, {1, 0}}, {23, {13, 0}}, {35, {10, 0}}}},
      {kPileHeadKey,
       {{3, {1, 0}}, {4, {1, 0}}, {5, {1, 0}}, {6, {1, 0}}, {7, {1, 0}}, {8, {1, 0}}, {16, {10, 0}},
        {37, {8, 0}}, {38, {8, 0}}}},
      {kStressKey, {{8, {11, 0}}, {27, {2, 0}}, {31, {8, 0}}, {32, {6, 0}}}},
  };
  return kFilled;
}

// "T<k>", the tag of template k in the test format.
inline std::string Tag(int k) {
  std::string tag(1, 'T');
  tag += std::to_string(k);
  return tag;
}

// A format file in which template k of every section reads "T<k>" followed by
// its fields, "#####0.000" for numbers and "&      &" for strings; line 1 of
// each section is a level-1 heading.
inline std::string TestFormatText(const std::map<std::string, int>& lines = {
                                      {kConditionsKey, kConditionsLines},
                                      {kPileHeadKey, kPileHeadLines},
                                      {kStressKey, kStressLines}}) {
  std::string text = "test format\n";
  for (const auto& [key, count] : lines) {
    text += key + "\n";
    const auto& filled = FilledTemplates().at(key);
    for (int k = 1; k <= count; ++k) {
      std::string t = Tag(k);
      auto it = filled.find(k);
      if (it != filled.end()) {
        for (int i = 0; i < it->second.numbers; ++i) t += " #####0.000";
        for (int i = 0; i < it->second.strings; ++i) t += " &      &";
      }
      text += k == 1 ? "    1" : "    0";
      text += t + "\n";
    }
    text += "End\n";
  }
  return text;
}

// Writes UTF-8 text as CP932 with CR LF line ends.
inline void WriteCp932(const std::string& path, const std::string& utf8) {
  std::string bytes;
  for (std::string_view line : SplitLines(utf8)) bytes += Utf8ToCp932(line) + "\r\n";
  WriteFileBytes(path, bytes);
}

inline std::string ReadUtf8(const std::string& path) {
  return Cp932ToUtf8(ReadFileBytes(path).value_or("")).value_or("<not CP932>");
}

// The lines of each page (form feeds split pages), with the heading marks and
// the indent taken off.
inline std::vector<std::vector<std::string>> Pages(const std::string& text) {
  std::vector<std::vector<std::string>> pages(1);
  for (std::string_view line : SplitLines(text)) {
    while (!line.empty() && line.front() == '\f') {
      pages.emplace_back();
      line.remove_prefix(1);
    }
    size_t start = line.find_first_not_of(' ');
    line = start == std::string_view::npos ? std::string_view() : line.substr(start);
    if (line.starts_with("?R1") || line.starts_with("?R2")) line.remove_prefix(3);
    pages.back().emplace_back(line);
  }
  return pages;
}

// How many lines of a page begin with template `k`'s tag ("T23 ...").
inline int Count(const std::vector<std::string>& page, int k) {
  std::string tag = Tag(k);
  int n = 0;
  for (const std::string& line : page) {
    if (line == tag || line.starts_with(tag + " ")) ++n;
  }
  return n;
}

// A project of n piles in rows of ten, every third pile inclined, and
// results with values that tell piles apart.
struct Job {
  Project project;
  std::unique_ptr<engine::CalcResults> results = std::make_unique<engine::CalcResults>();

  explicit Job(int n = 4) { SetPiles(n); }

  void SetPiles(int n) {
    project.ConditionsEntered = project.LoadsEntered = true;
    project.Conditions(1) = ProjectValue::Text("試験ケース");
    project.Conditions(2) = ProjectValue::Real(200000);
    project.Conditions(3) = ProjectValue::Real(30000);
    project.Conditions(4) = ProjectValue::Integer(0);
    project.Conditions(5) = ProjectValue::Integer(1);
    project.Conditions(6) = ProjectValue::Integer(0);
    project.Conditions(7) = ProjectValue::Real(1.0);
    for (int k = 1; k <= 6; ++k) project.Loads(k) = ProjectValue::Real(100.0 * k);
    project.PileCount = n;
    const double row[14] = {0.6, 12, 1, 223.7, 96000, 3200, 1.5, 20, 0, 0, 0, 0, 0, 0};
    for (int i = 1; i <= n; ++i) {
      for (int c = 1; c <= 14; ++c) project.Piles(c, i) = ProjectValue::Real(row[c - 1]);
      project.Piles(9, i) = ProjectValue::Real(1.5 * ((i - 1) % 10));
      project.Piles(11, i) = ProjectValue::Real(1.5 * ((i - 1) / 10));
      project.Piles(12, i) = ProjectValue::Real(i % 3 == 0 ? 10 : 0);
      project.Piles(13, i) = ProjectValue::Real(30.0 * i);
    }
    engine::CalcResults& r = *results;
    r.PileCount = n;
    r.solved = true;
    r.Footing = {0.001, 0.002, -0.0005, 1e-5, -2e-5, 3e-5};
    for (int i = 1; i <= n; ++i) {
      for (engine::PileTable* t : {&r.PileBeta, &r.PileKt, &r.PileKv, &r.PileK1, &r.PileK2, &r.PileK3, &r.PileK4,
                                   &r.PileK1z, &r.PileK2z, &r.PileK3z, &r.PileK4z, &r.HeadDispX, &r.HeadDispY,
                                   &r.HeadDispZ, &r.MemberDispX, &r.MemberDispY, &r.MemberDispZ, &r.MemberRotX,
                                   &r.MemberRotY, &r.MemberRotZ, &r.Px, &r.Py, &r.Pz, &r.Mx, &r.My, &r.Mz, &r.Me,
                                   &r.SigmaX, &r.SigmaZ, &r.SigmaC, &r.SigmaB, &r.Slenderness}) {
        (*t)[i] = 1.0 + i / 1000.0;
      }
      for (int g : {engine::kSKK400, engine::kSKK490}) {
        r.SigmaCaAllow[g][i] = g == engine::kSKK400 ? 140 : 185;
        r.CheckRatio[g][i] = 0.5;
      }
    }
  }
};

// A folder for one test's files, with the delivered format file unless the
// test writes its own.
struct JobFolder {
  QTemporaryDir dir;
  std::string Path(const std::string& name) const { return JoinPath(dir.path().toStdString(), name); }
  std::string folder() const { return dir.path().toStdString(); }
};

}  // namespace hasorin::testing
