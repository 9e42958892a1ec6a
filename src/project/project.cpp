#include "project.h"

#include <stdexcept>

namespace hasorin {

const std::string& ProjectValue::text() const {
  static const std::string kNone;
  const auto* s = std::get_if<std::string>(&value_);
  return s ? *s : kNone;
}

bool ProjectValue::boolean() const {
  const auto* v = std::get_if<bool>(&value_);
  return v ? *v : false;
}

double ProjectValue::number() const {
  if (const auto* i = std::get_if<std::int16_t>(&value_)) return *i;
  if (const auto* d = std::get_if<double>(&value_)) return *d;
  return 0.0;
}

Project::Project() { ResetProject(*this); }

size_t Project::PileSlot(int column, int row) {
  if (column < 1 || column > kPileColumns || row < 1 || row > kMaxPiles)
    throw std::out_of_range("pile table index");
  return size_t(row - 1) * kPileColumns + size_t(column - 1);
}

void ResetProject(Project& project) {
  project.conditions_.fill(ProjectValue());
  project.loads_.fill(ProjectValue());
  project.piles_.assign(size_t(kPileColumns) * kMaxPiles, ProjectValue());
  project.ConditionsEntered = false;
  project.LoadsEntered = false;
  project.PileCount = 0;
}

Project& TheProject() {
  static Project project;
  return project;
}

}  // namespace hasorin
