// Which build of the lane stages runs: four lanes where the build and the
// processor have AVX2, two otherwise. Both give the same results bit for bit.
#include <atomic>

#include "stages.h"

namespace hasorin::engine::detail {
namespace {

constexpr LaneStages kTwoLanes{2, &lanes2::CalcSprings, &lanes2::AssembleGroupStiffness,
                               &lanes2::CalcPileHeadForces, &lanes2::CalcStressCheck};
#if HASORIN_WIDE_LANES
constexpr LaneStages kFourLanes{4, &lanes4::CalcSprings, &lanes4::AssembleGroupStiffness,
                                &lanes4::CalcPileHeadForces, &lanes4::CalcStressCheck};
#endif

const LaneStages* ProcessorChoice() {
#if HASORIN_WIDE_LANES
  __builtin_cpu_init();  // the choice may be made before main
  if (__builtin_cpu_supports("avx2")) return &kFourLanes;
#endif
  return &kTwoLanes;
}

std::atomic<const LaneStages*> chosen{nullptr};

}  // namespace

const LaneStages& Stages() {
  const LaneStages* stages = chosen.load(std::memory_order_relaxed);
  if (stages == nullptr) {
    stages = ProcessorChoice();
    chosen.store(stages, std::memory_order_relaxed);
  }
  return *stages;
}

bool UseLanes(int lanes) {
  const LaneStages* stages = nullptr;
  if (lanes == 0) stages = ProcessorChoice();
  if (lanes == 2) stages = &kTwoLanes;
#if HASORIN_WIDE_LANES
  if (lanes == 4 && ProcessorChoice() == &kFourLanes) stages = &kFourLanes;
#endif
  if (stages == nullptr) return false;
  chosen.store(stages, std::memory_order_relaxed);
  return true;
}

}  // namespace hasorin::engine::detail
