// Placeholder until the print command is built.
#include "commands.h"

namespace hasorin::cli {
void AddPrintCommand(CLI::App&, int&) {}
}  // namespace hasorin::cli
