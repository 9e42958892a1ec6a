#pragma once
// The one project the program edits: calculation conditions, loads at the
// coordinate origin, the pile table, and the document state. Lists and tables
// are indexed from 1. This header is free of Qt so that the engine can read it.
#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace hasorin {

inline constexpr int kMaxPiles = 999;
inline constexpr int kPileColumns = 14;
inline constexpr int kConditionSlots = 10;
inline constexpr int kLoadSlots = 10;

// A loosely typed slot value: empty, text (UTF-8), 16-bit integer, real or
// boolean. Its kind survives a save and reload of the input file.
class ProjectValue {
 public:
  enum class Kind : std::uint8_t { Empty, Text, Integer, Real, Boolean };

  ProjectValue() = default;
  static ProjectValue Text(std::string text) { return ProjectValue(Storage(std::move(text))); }
  static ProjectValue Integer(std::int16_t value) { return ProjectValue(Storage(value)); }
  static ProjectValue Real(double value) { return ProjectValue(Storage(value)); }
  static ProjectValue Boolean(bool value) { return ProjectValue(Storage(value)); }

  Kind kind() const { return Kind(value_.index()); }
  bool isEmpty() const { return kind() == Kind::Empty; }
  bool isText() const { return kind() == Kind::Text; }
  bool isInteger() const { return kind() == Kind::Integer; }
  bool isReal() const { return kind() == Kind::Real; }
  bool isNumber() const { return isInteger() || isReal(); }
  bool isBoolean() const { return kind() == Kind::Boolean; }

  // Accessors for the held kind; the wrong kind gives "", 0, 0.0 or false.
  const std::string& text() const;
  // Inline: the calculation reads some 14,000 of these per run.
  std::int16_t integer() const {
    const auto* v = std::get_if<std::int16_t>(&value_);
    return v ? *v : std::int16_t(0);
  }
  double real() const {
    const auto* v = std::get_if<double>(&value_);
    return v ? *v : 0.0;
  }
  bool boolean() const;
  // An integer or a real as a double; 0 for any other kind.
  double number() const;

  bool operator==(const ProjectValue& other) const = default;

 private:
  using Storage = std::variant<std::monostate, std::string, std::int16_t, double, bool>;
  explicit ProjectValue(Storage value) : value_(std::move(value)) {}
  Storage value_;
};

struct Project {
  Project();

  bool ConditionsEntered = false;
  bool LoadsEntered = false;
  int PileCount = 0;  // 0..999; rows above it may hold stale values
  std::string CurrentFilePath;
  bool ProjectModified = false;

  // 1-based access; an index out of range throws std::out_of_range.
  ProjectValue& Conditions(int index) { return conditions_.at(size_t(index - 1)); }
  const ProjectValue& Conditions(int index) const { return conditions_.at(size_t(index - 1)); }
  ProjectValue& Loads(int index) { return loads_.at(size_t(index - 1)); }
  const ProjectValue& Loads(int index) const { return loads_.at(size_t(index - 1)); }
  ProjectValue& Piles(int column, int row) { return piles_.at(PileSlot(column, row)); }
  const ProjectValue& Piles(int column, int row) const { return piles_.at(PileSlot(column, row)); }

  bool operator==(const Project& other) const = default;

 private:
  static size_t PileSlot(int column, int row);
  friend void ResetProject(Project& project);

  std::array<ProjectValue, kConditionSlots> conditions_;
  std::array<ProjectValue, kLoadSlots> loads_;
  std::vector<ProjectValue> piles_;  // kPileColumns x kMaxPiles, row by row
};

// Empties conditions, loads and piles, clears both flags and the pile count.
// The document state (CurrentFilePath, ProjectModified) is left alone.
void ResetProject(Project& project);

// The program-wide project owned by the main window.
Project& TheProject();

}  // namespace hasorin
