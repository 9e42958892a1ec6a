#pragma once
// Runs the built hasorin-cli (HASORIN_CLI) and collects what it printed.
#include <QProcess>
#include <QStringList>
#include <string>

namespace hasorin::testing {

struct CliRun {
  int exitCode;  // -1 when the program crashed or did not finish
  std::string out;
  std::string err;
};

inline CliRun RunCli(const QStringList& arguments) {
  QProcess process;
  process.start(HASORIN_CLI, arguments);
  process.waitForFinished(30000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          process.readAllStandardOutput().toStdString(),
          process.readAllStandardError().toStdString()};
}

}  // namespace hasorin::testing
