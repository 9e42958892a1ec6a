#pragma once
// Shared by the project tests: byte-level file helpers and the example projects.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>

#include "example_projects.h"
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

}  // namespace hasorin::testing
