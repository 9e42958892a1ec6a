// The lane stages again, on four lanes, for processors with AVX2; lanes.cpp
// runs them only there. The library headers come first, outside the AVX2
// region, so that none of their functions is ever compiled for AVX2 alone.
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <tuple>
#include <type_traits>

#include "work.h"

#if HASORIN_WIDE_LANES
#include <immintrin.h>

#define HASORIN_LANES 4
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

#include "springs.cpp"
#include "stiffness.cpp"
#include "forces.cpp"
#include "stress.cpp"

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
#endif
