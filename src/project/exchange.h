#pragma once
// The rules by which the main window fills an editor from the project and
// takes its values back. Editors hold their working values in these plain
// field structs; the main window's LoadData / SaveData handlers call the
// functions below, so every rule about initial values, flags and the
// unsaved-changes mark lives here, beside the project.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "project.h"

namespace hasorin {

// Option groups of the conditions editor: how many buttons each one has.
inline constexpr int kTopOptions = 2;     // 剛結, ヒンジ
inline constexpr int kBottomOptions = 3;  // 固定, ヒンジ, 自由
inline constexpr int kKvOptions = 2;      // computed, entered directly

// The conditions editor's fields. A number field may hold no value; an option
// group may have no selected button (nullopt).
struct ConditionsFields {
  std::string title;                 // txtTitle
  std::optional<double> ep, kh;      // numEp, numKh
  std::optional<int> top, bottom, kv;  // optTop, optBottom, optKv
  std::optional<double> alpha;       // numAlpha
  bool operator==(const ConditionsFields&) const = default;
};

// What a new project shows: "(未定義)", 200000, 1, 剛結, ヒンジ, computed Kv, 1.00.
ConditionsFields InitialConditionsFields();

// LoadData: the initial values, then, when the conditions have been entered,
// each stored value in turn. A stored value that does not fit its field (not a
// number, an option index the group has no button for) is skipped and the
// field keeps the initial value.
ConditionsFields LoadConditionsFields(const Project& project);

// SaveData: copies the fields into Conditions 1..7 (option indices as 16-bit
// integers; a group with no selection leaves its slot alone; a number field
// without a value stores an empty slot) and sets ConditionsEntered and
// ProjectModified.
void SaveConditionsFields(const ConditionsFields& fields, Project& project);

// The loads editor's six fields numXo, numYo, numZo, numMxo, numMyo, numMzo,
// which map to Loads 1..6.
inline constexpr int kLoadFields = 6;
using LoadsFields = std::array<std::optional<double>, kLoadFields>;

// LoadData: six zeros, then, when the loads have been entered, each slot that
// holds a number.
LoadsFields LoadLoadsFields(const Project& project);

// SaveData: Loads 1..6 from the fields; sets LoadsEntered and ProjectModified.
void SaveLoadsFields(const LoadsFields& fields, Project& project);

// The pile table editor's rows, pile 1 first: fourteen cells each, a cell
// may be empty.
using PileTableRow = std::array<std::optional<double>, kPileColumns>;
using PileTableFields = std::vector<PileTableRow>;

// LoadData: rows 1..PileCount of Piles. A number gives its value, a text its
// leading number (a blank text an empty cell), an empty slot or a boolean an
// empty cell.
PileTableFields LoadPileTableFields(const Project& project);

// SaveData: Piles(c, i) = cell (c, i) as a real, 0 for an empty cell, for
// every row (at most kMaxPiles); PileCount = the number of rows;
// ProjectModified. Rows above the new count keep their old values.
void SavePileTableFields(const PileTableFields& fields, Project& project);

}  // namespace hasorin
