#pragma once
// Folders and files the program relies on. Paths are UTF-8 and use the
// platform's separator ('\' on Windows, '/' elsewhere).
#include <string>
#include <string_view>

namespace hasorin {

char PathSeparator();
// folder + separator + name; no doubled separator when folder already ends in one.
std::string JoinPath(std::string_view folder, std::string_view name);
// The part of a path after its last separator (both '/' and '\' count).
std::string FileNameOf(std::string_view path);
// The folder part of a path, without the trailing separator.
std::string FolderOf(std::string_view path);

// The folder of the running executable (the program folder) and its base
// name without extension ("hasorin", "Preview").
std::string ProgramFolder();
std::string ExecutableBaseName();

// The per-user local application-data folder (Windows: %LOCALAPPDATA%;
// elsewhere the generic data location). Empty when it cannot be obtained.
std::string LocalAppDataFolder();
// The system's temporary folder, without a trailing separator.
std::string TempFolder();

// True when a path can stand on one line of a CP932 print file: CP932 holds
// every character and there is no control character (a line break would
// start a new line of the file).
bool IsPrintFilePath(std::string_view path);
// The folder for temporary print and drawing files: the system temporary
// folder when IsPrintFilePath, else the first fallback that is (on POSIX
// "/tmp", then a "Temp" folder in the per-user work area); empty when none.
std::string PrintTempFolder();

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// Tidying steps: these fail silently.
void CreateFolderQuietly(const std::string& path);
void DeleteFileQuietly(const std::string& path);

// Creates a new empty file in `folder` whose name begins with `prefix`
// (the equivalent of GetTempFileName) and returns its full path; empty on failure.
std::string CreateTempFile(const std::string& folder, std::string_view prefix);

}  // namespace hasorin
