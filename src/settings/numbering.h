#pragma once
// The report numbering settings (section "Chapter" of Zrn.INI) as the
// numbering editor shows them: the main window's LoadData / SaveData
// handlers call these, so the editor never touches the settings file.
#include <array>
#include <optional>
#include <string>

namespace hasorin {

inline constexpr const char* kChapterSection = "Chapter";
inline constexpr int kNumberingMethods = 4;  // none, alone, joined with "-", with "."
inline constexpr int kNumberingStyles = 9;   // entries of each style list
inline constexpr int kHeadingLevels = 4;     // chapter, section, item, number

// The editor's working values. An option group may have no button on and a
// list no entry chosen (nullopt); a number field may hold no value.
struct NumberingFields {
  std::optional<int> method;                                  // optMethod
  std::optional<double> init;                                 // numInit
  std::array<std::optional<int>, kHeadingLevels> style{};     // cboStyle: list position 0..8
  std::array<std::optional<double>, kHeadingLevels> margin{};  // numMargin
  bool operator==(const NumberingFields&) const = default;
};

// LoadData: "Method", "Init", "Style1".."Style4", "Margin1".."Margin4" as
// integers, a missing key 0. A method without a button, or a style without a
// list entry (0, the default, among them), leaves that control unset.
NumberingFields LoadNumberingFields(const std::string& settingsFile);

// SaveData: writes the nine keys as decimal text: the method's index (empty
// when no button is on), each style as list position + 1 (0 for none), the
// numbers rounded to whole ones (0 for an empty field). False when the file
// could not be written.
bool SaveNumberingFields(const NumberingFields& fields, const std::string& settingsFile);
// What the user is told when that write failed (UTF-8).
std::string NumberingWriteErrorText(const std::string& settingsFile);

}  // namespace hasorin
