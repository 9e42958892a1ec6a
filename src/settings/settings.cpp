#include "settings.h"

#include "cp932.h"
#include "paths.h"
#include "profile.h"

namespace hasorin {
namespace {

constexpr size_t kValueBytes = 127;

// The settings file keeps values in a 128-byte buffer: at most 127 CP932
// bytes, never ending in the first half of a double-byte character.
std::string CutToValueLimit(const std::string& utf8) {
  std::string bytes = Utf8ToCp932(utf8);
  if (bytes.size() <= kValueBytes) return utf8;
  size_t end = 0;
  while (end < bytes.size()) {
    size_t next = end + (IsCp932LeadByte(static_cast<unsigned char>(bytes[end])) ? 2 : 1);
    if (next > kValueBytes) break;
    end = next;
  }
  return Cp932ToUtf8(std::string_view(bytes).substr(0, end)).value_or(std::string());
}

struct ProgramPaths {
  bool initialised = false;
  std::string settingsFile, formatFile, workFolder;
};

ProgramPaths& Paths() {
  static ProgramPaths paths;
  return paths;
}

// Sets the three paths; folders are created only at start-up.
void SetPaths(std::string programFolder, std::string localAppData, std::string executableName,
              bool createFolders) {
  if (programFolder.empty()) programFolder = ProgramFolder();
  if (localAppData.empty()) localAppData = LocalAppDataFolder();
  // Without a per-user folder the work folder would land in the root of the
  // drive; the temporary folder is the per-user place that always exists.
  if (localAppData.empty()) localAppData = TempFolder();
  if (executableName.empty()) executableName = ExecutableBaseName();

  ProgramPaths& p = Paths();
  p.settingsFile = JoinPath(programFolder, "Zrn.INI");
  p.formatFile = JoinPath(programFolder, "Zrn.FMT");
  std::string quorvant = JoinPath(localAppData, "Quorvant");
  p.workFolder = JoinPath(quorvant, executableName);
  p.initialised = true;
  if (createFolders) {
    CreateFolderQuietly(quorvant);
    CreateFolderQuietly(p.workFolder);
  }
}

const ProgramPaths& InitialisedPaths() {
  if (!Paths().initialised) SetPaths({}, {}, {}, false);
  return Paths();
}

std::function<void(const RecentFiles&)>& Listener() {
  static std::function<void(const RecentFiles&)> listener;
  return listener;
}

std::string RecentKey(size_t k) { return "FileName" + std::to_string(k + 1); }

}  // namespace

long CPrivateProfile::GetValueLong(const std::string& strINIFileName, std::string_view strSection,
                                   std::string_view strKey) const {
  return GetPrivateProfileInt(strINIFileName, strSection, strKey, 0);
}

std::string CPrivateProfile::GetValueString(const std::string& strINIFileName,
                                            std::string_view strSection,
                                            std::string_view strKey) const {
  return CutToValueLimit(GetPrivateProfileString(strINIFileName, strSection, strKey, ""));
}

bool CPrivateProfile::SetValueString(const std::string& strINIFileName,
                                     std::string_view strSection, std::string_view strKey,
                                     std::string_view strValue) const {
  return WritePrivateProfileString(strINIFileName, strSection, strKey, strValue);
}

std::string ReadProfileString(std::string_view section, std::string_view key,
                              const std::string& file) {
  return CPrivateProfile().GetValueString(file, section, key);
}

const std::string& SettingsFilePath() { return InitialisedPaths().settingsFile; }
const std::string& FormatFilePath() { return InitialisedPaths().formatFile; }
const std::string& WorkFolder() { return InitialisedPaths().workFolder; }

void InitProgramPaths(const std::string& programFolder, const std::string& localAppData,
                      const std::string& executableName) {
  SetPaths(programFolder, localAppData, executableName, true);
}

RecentFiles RecentFilesAfter(const RecentFiles& old, const std::string& path) {
  size_t drop = old.size() - 1;  // without a match the oldest entry falls out
  for (size_t k = 0; k < old.size(); ++k) {
    if (old[k] == path) drop = k;
  }
  RecentFiles result;
  result[0] = path;
  size_t to = 1;
  for (size_t k = 0; k < old.size(); ++k) {
    if (k != drop) result[to++] = old[k];
  }
  return result;
}

RecentFiles ReadRecentFiles(const std::string& settingsFile) {
  // Whole paths: cutting them here would write the cut paths back.
  RecentFiles files;
  for (size_t k = 0; k < files.size(); ++k) {
    files[k] = GetPrivateProfileString(settingsFile, "FileName", RecentKey(k), "");
  }
  return files;
}

void AddRecentFile(const std::string& path) {
  bool storable = true;
  Utf8ToCp932(path, &storable);
  // A path the settings file cannot hold would fail to write while the other
  // entries shift, leaving the list with a duplicate.
  if (path.empty() || !storable) return;
  const std::string& file = SettingsFilePath();
  RecentFiles files = RecentFilesAfter(ReadRecentFiles(file), path);
  CPrivateProfile profile;
  for (size_t k = 0; k < files.size(); ++k) {
    profile.SetValueString(file, "FileName", RecentKey(k), files[k]);
  }
  if (Listener()) Listener()(files);
}

void SetRecentFilesListener(std::function<void(const RecentFiles&)> listener) {
  Listener() = std::move(listener);
}

}  // namespace hasorin
