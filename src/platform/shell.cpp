#include "shell.h"

#include "ui.h"

namespace hasorin {

bool CSystem::Shell(const QString& program, const QStringList& arguments, int /*windowStyle*/, bool wait) {
  if (program.isEmpty()) return false;
  return Ui().StartProcess(program, arguments, wait);
}

}  // namespace hasorin
