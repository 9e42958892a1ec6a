#include "engine.h"

namespace hasorin::engine {

CalcResults& TheResults() {
  static CalcResults results;
  return results;
}

int CalcPileGroup() { return CalcPileGroup(TheProject(), TheResults()); }

}  // namespace hasorin::engine
