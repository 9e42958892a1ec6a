#pragma once
// Runs the built hasorin-cli (HASORIN_CLI) and collects what it printed.
#include <QProcess>
#include <QStringList>
#include <clocale>
#include <cwchar>
#include <string>

namespace hasorin::testing {

struct CliRun {
  int exitCode;  // -1 when the program crashed or did not finish
  std::string out;
  std::string err;
};

inline CliRun RunCli(const QStringList& arguments,
                     const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
  QProcess process;
  process.setProcessEnvironment(environment);
  process.start(HASORIN_CLI, arguments);
  process.waitForFinished(30000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          process.readAllStandardOutput().toStdString(),
          process.readAllStandardError().toStdString()};
}

// Columns a line takes in a UTF-8 terminal, as the C library counts them
// (-1 for a text that is not UTF-8 or holds control characters).
inline int TerminalColumns(const std::string& text) {
  std::setlocale(LC_CTYPE, "C.UTF-8");
  std::wstring wide(text.size() + 1, L'\0');
  const size_t n = std::mbstowcs(wide.data(), text.c_str(), wide.size());
  return n == size_t(-1) ? -1 : ::wcswidth(wide.c_str(), n);
}

}  // namespace hasorin::testing
