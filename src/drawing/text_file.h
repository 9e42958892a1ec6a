#pragma once
// Whole-file reads and writes of the CP932, CR LF text files the print side
// makes, and the splitting of such text into lines. Paths are UTF-8.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hasorin {

// The file's bytes; nullopt when it cannot be opened or read.
std::optional<std::string> ReadFileBytes(const std::string& path);
// Replaces the file's content; false when it cannot be written completely.
bool WriteFileBytes(const std::string& path, std::string_view bytes);
// Appends to the file (created when missing).
bool AppendFileBytes(const std::string& path, std::string_view bytes);

// Lines of a text without their ends (CR LF, LF or a lone CR). A final line
// end does not start another line.
std::vector<std::string_view> SplitLines(std::string_view text);

// The fields of a record line: runs of blanks and commas separate them.
std::vector<std::string_view> SplitFields(std::string_view line);

// Whole-field number parsing ("12.5", "-3", "1E+20"); nullopt for anything else.
std::optional<double> ParseReal(std::string_view field);
std::optional<int> ParseInt(std::string_view field);

}  // namespace hasorin
