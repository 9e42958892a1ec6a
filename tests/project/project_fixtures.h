#pragma once
// Shared by the project tests: byte-level file helpers and the example projects.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>

#include "project.h"

namespace hasorin::testing {

inline std::string ReadBytes(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return {};
  QByteArray bytes = file.readAll();
  return std::string(bytes.constData(), size_t(bytes.size()));
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  // Removing first, not truncating: rewriting a truncated file makes ext4
  // wait for the disk on close, which slows the many-file tests tenfold.
  QFile::remove(QString::fromStdString(path));
  QFile file(QString::fromStdString(path));
  if (file.open(QIODevice::WriteOnly))
    file.write(bytes.data(), qint64(bytes.size()));
}

// A fresh folder removed at the end of the test.
class TempFolder {
 public:
  std::string Path(const std::string& name) const {
    return QDir(dir_.path()).filePath(QString::fromStdString(name)).toStdString();
  }
  std::string Root() const { return dir_.path().toStdString(); }
  QStringList Entries() const {
    return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  }

 private:
  QTemporaryDir dir_;
};

inline std::string SourceDir() {
  const char* dir = std::getenv("HASORIN_SOURCE_DIR");
  return dir && *dir ? dir : HASORIN_SOURCE_DIR;
}

// Two values hold the same data: the same kind and value, or two numbers of
// the same value (a whole real comes back from the file as an integer).
inline bool SameValue(const ProjectValue& a, const ProjectValue& b) {
  if (a.isNumber() && b.isNumber()) return a.number() == b.number();
  return a == b;
}

inline std::string Describe(const ProjectValue& v) {
  switch (v.kind()) {
    case ProjectValue::Kind::Empty: return "empty";
    case ProjectValue::Kind::Text: return "text \"" + v.text() + "\"";
    case ProjectValue::Kind::Integer: return "integer " + std::to_string(v.integer());
    case ProjectValue::Kind::Real: return "real " + std::to_string(v.real());
    case ProjectValue::Kind::Boolean: return v.boolean() ? "#TRUE#" : "#FALSE#";
  }
  return "?";
}

// The inputs a file holds are the same (rows above PileCount do not count).
inline ::testing::AssertionResult SameInputs(const Project& a, const Project& b) {
  auto differ = [](const std::string& where, const ProjectValue& x, const ProjectValue& y) {
    return ::testing::AssertionFailure() << where << ": " << Describe(x) << " vs " << Describe(y);
  };
  if (a.ConditionsEntered != b.ConditionsEntered) return ::testing::AssertionFailure() << "ConditionsEntered";
  if (a.LoadsEntered != b.LoadsEntered) return ::testing::AssertionFailure() << "LoadsEntered";
  if (a.PileCount != b.PileCount)
    return ::testing::AssertionFailure() << "PileCount " << a.PileCount << " vs " << b.PileCount;
  for (int i = 1; i <= kConditionSlots; ++i)
    if (!SameValue(a.Conditions(i), b.Conditions(i)))
      return differ("Conditions " + std::to_string(i), a.Conditions(i), b.Conditions(i));
  for (int i = 1; i <= kLoadSlots; ++i)
    if (!SameValue(a.Loads(i), b.Loads(i)))
      return differ("Loads " + std::to_string(i), a.Loads(i), b.Loads(i));
  for (int r = 1; r <= a.PileCount; ++r)
    for (int c = 1; c <= kPileColumns; ++c)
      if (!SameValue(a.Piles(c, r), b.Piles(c, r)))
        return differ("Piles " + std::to_string(c) + "," + std::to_string(r), a.Piles(c, r),
                      b.Piles(c, r));
  return ::testing::AssertionSuccess();
}

// One pile row: D t Δt A I Z h L X Y Z φ ψ Kv.
struct PileRow {
  double values[kPileColumns];
};

inline void SetPiles(Project& p, std::initializer_list<PileRow> rows) {
  int pile = 0;
  for (const PileRow& row : rows) {
    ++pile;
    for (int c = 1; c <= kPileColumns; ++c) p.Piles(c, pile) = ProjectValue::Real(row.values[c - 1]);
  }
  p.PileCount = pile;
}

// Conditions and loads as the editors store them: reals, option indexes as
// integers, unused slots empty.
inline void SetConditions(Project& p, const std::string& title, double ep, double kh, int head,
                          int tip, int kv, double alpha) {
  p.Conditions(1) = ProjectValue::Text(title);
  p.Conditions(2) = ProjectValue::Real(ep);
  p.Conditions(3) = ProjectValue::Real(kh);
  p.Conditions(4) = ProjectValue::Integer(std::int16_t(head));
  p.Conditions(5) = ProjectValue::Integer(std::int16_t(tip));
  p.Conditions(6) = ProjectValue::Integer(std::int16_t(kv));
  p.Conditions(7) = ProjectValue::Real(alpha);
  p.ConditionsEntered = true;
}

inline void SetLoads(Project& p, double xo, double yo, double zo, double mx, double my, double mz) {
  const double loads[6] = {xo, yo, zo, mx, my, mz};
  for (int i = 1; i <= 6; ++i) p.Loads(i) = ProjectValue::Real(loads[i - 1]);
  p.LoadsEntered = true;
}

// The engine's worked examples: D 0.6 m, t 12 mm, Δt 1 mm, A 150 cm2,
// I 100,000 cm4, Z 3,333 cm3, h 0, L 20 m; Kv computed, so column 14 is 0.
inline PileRow WorkedPile(double x, double z, double phi, double psi) {
  return {{0.6, 12, 1, 150, 100000, 3333, 0, 20, x, 0, z, phi, psi, 0}};
}

inline Project Vertical4() {
  Project p;
  SetConditions(p, "鉛直杭4本の検討例", 200000, 30000, 0, 1, 0, 1);
  SetLoads(p, 100, 1000, 0, 0, 0, 0);
  SetPiles(p, {WorkedPile(1.5, 1.5, 0, 0), WorkedPile(-1.5, 1.5, 0, 0),
               WorkedPile(-1.5, -1.5, 0, 0), WorkedPile(1.5, -1.5, 0, 0)});
  return p;
}

inline Project Inclined4() {
  Project p;
  SetConditions(p, "斜杭4本（傾斜角10°）の検討例", 200000, 30000, 0, 1, 0, 1);
  SetLoads(p, 100, 1000, 0, 0, 0, 0);
  SetPiles(p, {WorkedPile(1.5, 0, 10, 0), WorkedPile(0, 1.5, 10, 90),
               WorkedPile(-1.5, 0, 10, 180), WorkedPile(0, -1.5, 10, 270)});
  return p;
}

// A larger cap: 6 x 4 piles of D 800 mm at 2 m spacing, the outer two rows
// raked 10° outwards; section values of the corroded pipe (t 12 - 1 mm).
inline Project Group24() {
  Project p;
  SetConditions(p, "24本杭基礎（斜杭混在）の検討例", 200000, 20000, 0, 1, 0, 1.5);
  SetLoads(p, 3000, 24000, 500, 0, 0, 2000);
  int pile = 0;
  for (double z : {-3.0, -1.0, 1.0, 3.0}) {
    for (double x : {-5.0, -3.0, -1.0, 1.0, 3.0, 5.0}) {
      const double phi = (x == 5.0 || x == -5.0) ? 10 : 0;
      const double psi = x == -5.0 ? 180 : 0;
      const double row[kPileColumns] = {0.8, 12, 1, 272, 210600, 5278, 0, 25, x, 0, z, phi, psi, 0};
      ++pile;
      for (int c = 1; c <= kPileColumns; ++c) p.Piles(c, pile) = ProjectValue::Real(row[c - 1]);
    }
  }
  p.PileCount = pile;
  return p;
}

// `count` piles on a square grid, every value distinct, for large files.
inline Project ManyPiles(int count) {
  Project p = Inclined4();
  for (int i = 1; i <= count; ++i) {
    for (int c = 1; c <= kPileColumns; ++c)
      p.Piles(c, i) = ProjectValue::Real(c == 9 ? (i % 32) * 1.25 : c == 11 ? (i / 32) * 1.25
                                                                  : c * 10.5 + i * 0.001);
  }
  p.PileCount = count;
  return p;
}

}  // namespace hasorin::testing
