#pragma once
// The .zrn input file: one project, CP932 text, CR LF line ends.
//
// Reader tolerance beyond what the writer produces: LF-only line ends and a
// last line without a line end; blanks around a value; numbers with or
// without a leading zero, a leading "+", and exponent forms (.5, -.25, 1E+20);
// "#TRUE#"/"#FALSE#" in any letter case. Not accepted: several values on one
// line, a number where a flag is expected or a flag where the pile count is
// expected, a pile count that is not a whole number. A number is read back as
// a 16-bit integer when written without point or exponent and in range,
// otherwise as a real: readers of numeric slots use ProjectValue::number().
#include <string>

#include "project.h"

namespace hasorin {

inline constexpr const char* kProductName = "Hasorin";
inline constexpr const char* kInputFileVersion = "1.00";

// Error codes are the classic BASIC run-time numbers, so that a user can quote them.
namespace fileerr {
inline constexpr int kSubscript = 9;         // pile count outside 0..999
inline constexpr int kTypeMismatch = 13;     // a value of the wrong kind, or a real the file cannot hold
inline constexpr int kFileNotFound = 53;
inline constexpr int kDiskFull = 61;         // also: the file grew beyond what the system allows
inline constexpr int kPastEndOfFile = 62;
inline constexpr int kPermissionDenied = 70;
// The file cannot be used as a file: a folder in its place, a read error, or
// content that is not input-file text (bytes invalid in CP932, a line longer
// than kMaxInputLineBytes).
inline constexpr int kPathFileAccess = 75;
inline constexpr int kPathNotFound = 76;     // the target's folder does not exist
}  // namespace fileerr

// Longest line the reader accepts; the writer's lines are far shorter.
inline constexpr int kMaxInputLineBytes = 64 * 1024;

struct FileResult {
  bool ok = true;
  int code = 0;  // 0 on success
};

// Writes the project. The target is replaced only when the whole file has been
// written; on failure an existing file is left as it was and no partial file
// remains. A text holding '"' is written with the full-width '＂' instead and
// line breaks inside a text become blanks, so that the file always reads back.
FileResult WriteInputFile(const Project& project, const std::string& path);

// Reads a project. On success the inputs and flags of `project` are replaced
// (CurrentFilePath and ProjectModified are kept); on failure `project` is left
// exactly as it was.
FileResult ReadInputFile(Project& project, const std::string& path);

// The version text of line 3 ("1.00"), or "error".
std::string ReadInputFileVersion(const std::string& path);

}  // namespace hasorin
