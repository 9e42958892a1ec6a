#pragma once
// Helpers shared by the hasorin-cli subcommands: opening a project with the
// desktop's checks and printing what the desktop would show in a message box.
// All output is UTF-8.
#include <cstdio>
#include <string>
#include <vector>

#include "open_file.h"
#include "project.h"

namespace hasorin::cli {

// Makes a Windows console show UTF-8; nothing elsewhere. Call once before output.
void UseUtf8Console();

// A message as the desktop would show it: "[title]" on one line, then the text.
void PrintMessage(std::FILE* out, const FileMessage& message);

// Opens `path` into `project` with the checks of the desktop's open command
// (extension, version, read). On success sets CurrentFilePath to the absolute
// path and returns true; on failure prints every message to stderr, leaves the
// project as it was and returns false (the caller exits with kExitOpenFailed).
bool OpenProject(const std::string& path, Project& project);

// A stored value as plain text: numbers in general form (at most 15
// significant digits), text as it is, "#TRUE#"/"#FALSE#", empty as "".
std::string ValueText(const ProjectValue& value);

// The option text for a stored option index ("剛結" for 0 of {"剛結", "ヒンジ"});
// a value that is no valid index is shown as it is stored.
std::string OptionText(const ProjectValue& value, const std::vector<std::string>& options);

}  // namespace hasorin::cli
