#include "exchange.h"

#include <algorithm>
#include <cmath>

#include "numfmt.h"

namespace hasorin {
namespace {

// A stored value usable by a number field; nullopt for any other kind.
std::optional<double> AsNumber(const ProjectValue& value) {
  if (!value.isNumber()) return std::nullopt;
  double v = value.number();
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

// A stored option index the group has a button for; nullopt otherwise.
std::optional<int> AsOption(const ProjectValue& value, int buttons) {
  std::optional<double> v = AsNumber(value);
  if (!v || *v != std::floor(*v) || *v < 0 || *v >= buttons) return std::nullopt;
  return int(*v);
}

ProjectValue FromField(const std::optional<double>& value) {
  return value ? ProjectValue::Real(*value) : ProjectValue();
}

}  // namespace

ConditionsFields InitialConditionsFields() {
  ConditionsFields f;
  f.title = "(未定義)";
  f.ep = 200000;
  f.kh = 1;
  f.top = 0;
  f.bottom = 1;
  f.kv = 0;
  f.alpha = 1;
  return f;
}

ConditionsFields LoadConditionsFields(const Project& project) {
  ConditionsFields f = InitialConditionsFields();
  if (!project.ConditionsEntered) return f;

  const ProjectValue& title = project.Conditions(1);
  if (title.isText()) {
    f.title = title.text();
  } else if (title.isEmpty()) {
    f.title.clear();
  } else if (std::optional<double> n = AsNumber(title)) {
    f.title = FormatGeneral(*n);
  }
  if (auto v = AsNumber(project.Conditions(2))) f.ep = v;
  if (auto v = AsNumber(project.Conditions(3))) f.kh = v;
  if (auto v = AsOption(project.Conditions(4), kTopOptions)) f.top = v;
  if (auto v = AsOption(project.Conditions(5), kBottomOptions)) f.bottom = v;
  if (auto v = AsOption(project.Conditions(6), kKvOptions)) f.kv = v;
  if (auto v = AsNumber(project.Conditions(7))) f.alpha = v;
  return f;
}

void SaveConditionsFields(const ConditionsFields& fields, Project& project) {
  project.Conditions(1) = ProjectValue::Text(fields.title);
  project.Conditions(2) = FromField(fields.ep);
  project.Conditions(3) = FromField(fields.kh);
  if (fields.top) project.Conditions(4) = ProjectValue::Integer(std::int16_t(*fields.top));
  if (fields.bottom) project.Conditions(5) = ProjectValue::Integer(std::int16_t(*fields.bottom));
  if (fields.kv) project.Conditions(6) = ProjectValue::Integer(std::int16_t(*fields.kv));
  project.Conditions(7) = FromField(fields.alpha);
  project.ConditionsEntered = true;
  project.ProjectModified = true;
}

LoadsFields LoadLoadsFields(const Project& project) {
  LoadsFields f;
  f.fill(0.0);
  if (!project.LoadsEntered) return f;
  for (int k = 0; k < kLoadFields; ++k) {
    if (auto v = AsNumber(project.Loads(k + 1))) f[size_t(k)] = v;
  }
  return f;
}

void SaveLoadsFields(const LoadsFields& fields, Project& project) {
  for (int k = 0; k < kLoadFields; ++k) project.Loads(k + 1) = FromField(fields[size_t(k)]);
  project.LoadsEntered = true;
  project.ProjectModified = true;
}

PileTableFields LoadPileTableFields(const Project& project) {
  const int rows = std::clamp(project.PileCount, 0, kMaxPiles);
  PileTableFields fields(static_cast<size_t>(rows));
  for (int i = 1; i <= rows; ++i) {
    for (int c = 1; c <= kPileColumns; ++c) {
      const ProjectValue& value = project.Piles(c, i);
      std::optional<double>& cell = fields[size_t(i - 1)][size_t(c - 1)];
      if (value.isNumber()) {
        cell = AsNumber(value);
      } else if (value.isText() && value.text().find_first_not_of(" \t") != std::string::npos) {
        double v = LeadingNumber(value.text());
        if (std::isfinite(v)) cell = v;
      }
    }
  }
  return fields;
}

void SavePileTableFields(const PileTableFields& fields, Project& project) {
  const int rows = std::min(int(fields.size()), kMaxPiles);
  for (int i = 1; i <= rows; ++i)
    for (int c = 1; c <= kPileColumns; ++c)
      project.Piles(c, i) = ProjectValue::Real(fields[size_t(i - 1)][size_t(c - 1)].value_or(0.0));
  project.PileCount = rows;
  project.ProjectModified = true;
}

}  // namespace hasorin
