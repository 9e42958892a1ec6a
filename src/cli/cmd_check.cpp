// Placeholder until the check command is built.
#include "commands.h"

namespace hasorin::cli {
void AddCheckCommand(CLI::App&, int&) {}
}  // namespace hasorin::cli
