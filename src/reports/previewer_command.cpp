#include "previewer_command.h"

#include <QDir>
#include <QFileInfo>

#include "paths.h"

namespace hasorin {
namespace {

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

// True when the previewer would read `arg` as one of its options.
bool LooksLikeOption(const QString& arg) {
  return arg.startsWith(u'-') || arg.startsWith(QStringLiteral("/INI="), Qt::CaseInsensitive) ||
         arg == QStringLiteral("/?");
}

}  // namespace

QString PreviewerProgram(const std::string& programFolder) {
#ifdef _WIN32
  const char* name = "Preview.exe";
#else
  const char* name = "Preview";
#endif
  return QDir::toNativeSeparators(Q(JoinPath(programFolder, name)));
}

PreviewerCommand MakePreviewerCommand(const std::string& programFolder, const std::string& workFolder,
                                      const std::string& printFile) {
  PreviewerCommand command;
  command.program = PreviewerProgram(programFolder);
  QString file = QDir::toNativeSeparators(QFileInfo(Q(printFile)).absoluteFilePath());
  // "/INI=x/a.prn" names the same file as "/./INI=x/a.prn".
  if (LooksLikeOption(file)) file = file.startsWith(u'/') ? QStringLiteral("/.") + file : QStringLiteral("./") + file;
  command.arguments << QStringLiteral("/INI=\"") + Q(workFolder) + u'"' << file;
  return command;
}

}  // namespace hasorin
