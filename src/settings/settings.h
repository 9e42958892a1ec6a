#pragma once
// The settings file Zrn.INI (window positions, last folder, recent files,
// report numbering) and the program-wide paths set at start-up.
// Nothing here raises: every failure gives the default.
#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace hasorin {

class CPrivateProfile {
 public:
  // 0 when the key is missing or not a number.
  long GetValueLong(const std::string& strINIFileName, std::string_view strSection,
                    std::string_view strKey) const;
  // At most 127 characters, counted as CP932 bytes the way the Windows
  // buffer counts them (a full-width character takes two), without splitting
  // a double-byte character; longer values are cut. Empty when missing.
  std::string GetValueString(const std::string& strINIFileName, std::string_view strSection,
                             std::string_view strKey) const;
  // True when the write succeeded.
  bool SetValueString(const std::string& strINIFileName, std::string_view strSection,
                      std::string_view strKey, std::string_view strValue) const;
};

// Same as CPrivateProfile::GetValueString, argument order of the main window.
std::string ReadProfileString(std::string_view section, std::string_view key,
                              const std::string& file);

// Program-wide paths.
const std::string& SettingsFilePath();  // program folder + Zrn.INI
const std::string& FormatFilePath();    // program folder + Zrn.FMT
const std::string& WorkFolder();        // local app data + Quorvant + executable name
// Sets the three paths from the program folder and creates the work folder
// (and its parent "Quorvant"), failing silently. `programFolder` and
// `localAppData` default to the platform's folders when empty (the temporary
// folder stands in for a local app-data folder that cannot be obtained).
// Before this is called the getters give the default paths.
void InitProgramPaths(const std::string& programFolder = {}, const std::string& localAppData = {},
                      const std::string& executableName = {});

// The recent-file list: four paths, most recent first, "" for an empty entry.
using RecentFiles = std::array<std::string, 4>;
// The list rule: `path` goes to the top; a case-sensitive match at position k
// is removed, otherwise the oldest entry falls out.
RecentFiles RecentFilesAfter(const RecentFiles& old, const std::string& path);
// The whole stored paths, without the 127-character cut of GetValueString,
// so that a long path is neither shown cut nor written back cut.
RecentFiles ReadRecentFiles(const std::string& settingsFile);
// Reads the list from SettingsFilePath(), applies the rule, writes
// FileName1..4 and tells the registered listener (the main window's menu
// refresh). An empty path, or one CP932 cannot hold, changes nothing.
void AddRecentFile(const std::string& path);
void SetRecentFilesListener(std::function<void(const RecentFiles&)> listener);

}  // namespace hasorin
