#pragma once
// Private-profile (INI) files with the semantics of the Windows functions:
// "[section]" headers and "key=value" lines; names match case-insensitively
// with surrounding blanks ignored; the first match wins; a missing file,
// section or key reads as the default. Writing keeps every other line, adds a
// missing key at the end of its section and a missing section at the end of
// the file, and creates the file. Files are CP932 with CR LF line ends.
// Paths and texts are UTF-8.
#include <string>
#include <string_view>

namespace hasorin {

std::string GetPrivateProfileString(const std::string& file, std::string_view section,
                                    std::string_view key, std::string_view defaultValue);
long GetPrivateProfileInt(const std::string& file, std::string_view section,
                          std::string_view key, long defaultValue);
bool WritePrivateProfileString(const std::string& file, std::string_view section,
                               std::string_view key, std::string_view value);

}  // namespace hasorin
