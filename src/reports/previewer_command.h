#pragma once
// The previewer's command line as the print menu starts it:
//   <program folder>/Preview  /INI="<work folder>"  <print file>
// built as an argument list, so that no folder or file name can add or change
// an argument.
#include <QString>
#include <QStringList>
#include <string>

namespace hasorin {

struct PreviewerCommand {
  QString program;      // full path of the previewer
  QStringList arguments;
};

// The previewer in `programFolder` ("Preview.exe" on Windows, "Preview"
// elsewhere).
QString PreviewerProgram(const std::string& programFolder);

// The print file is passed as an absolute path; one that the previewer could
// take for an option ("/INI=...", "/?", a leading "-") is written in an
// equivalent form that it cannot.
PreviewerCommand MakePreviewerCommand(const std::string& programFolder, const std::string& workFolder,
                                      const std::string& printFile);

}  // namespace hasorin
