// Placeholder until the calc command is built.
#include "commands.h"

namespace hasorin::cli {
void AddCalcCommand(CLI::App&, int&) {}
}  // namespace hasorin::cli
