#pragma once
// The .zrn input file: one project, CP932 text, CR LF line ends.
#include <string>

#include "project.h"

namespace hasorin {

inline constexpr const char* kProductName = "Hasorin";
inline constexpr const char* kInputFileVersion = "1.00";

// Error codes are the classic BASIC run-time numbers, so that a user can quote them.
namespace fileerr {
inline constexpr int kSubscript = 9;         // pile count outside 0..999
inline constexpr int kTypeMismatch = 13;     // a value of the wrong kind
inline constexpr int kFileNotFound = 53;
inline constexpr int kDiskFull = 61;
inline constexpr int kPastEndOfFile = 62;
inline constexpr int kPermissionDenied = 70;
inline constexpr int kPathFileAccess = 75;
}  // namespace fileerr

struct FileResult {
  bool ok = true;
  int code = 0;  // 0 on success
};

// Writes the project. The target is replaced only when the whole file has been
// written; on failure an existing file is left as it was.
FileResult WriteInputFile(const Project& project, const std::string& path);

// Reads a project. The live project is replaced only on success; on failure
// it is left exactly as it was.
FileResult ReadInputFile(Project& project, const std::string& path);

// The version text of line 3 ("1.00"), or "error".
std::string ReadInputFileVersion(const std::string& path);

}  // namespace hasorin
