#pragma once
// Opening an input file the way the desktop's open commands do (extension,
// version, read), with the messages the user is shown. Used by the main
// window and by the command line, so both refuse the same files with the same
// words. Every message is shown with a critical icon.
#include <string>
#include <vector>

#include "project.h"

namespace hasorin {

struct FileMessage {
  std::string title;
  std::string text;
};

struct OpenResult {
  bool ok = false;
  int code = 0;                        // 0 on success and after a refused extension or version
  std::vector<FileMessage> messages;   // in the order they are shown; empty on success
};

// True when the last three characters of the path, upper-cased, are "ZRN".
bool HasInputFileExtension(const std::string& path);

// Checks the extension and the version, then reads the file into `project`.
// On failure the project is left exactly as it was; CurrentFilePath and
// ProjectModified are never touched (the caller sets them).
OpenResult OpenInputFile(Project& project, const std::string& path);

// The messages of the open and save commands.
FileMessage VersionMessage(const std::string& version);
FileMessage ReadErrorMessage(int code);
FileMessage WriteErrorMessage(int code);

}  // namespace hasorin
