#!/usr/bin/env bash
# make fuzz: builds the libFuzzer targets of fuzz/ with clang in build-fuzz/,
# replays the regression inputs of tests/fuzz/, then fuzzes each target for a
# bounded time. Exit 1 when any target found a crash, a sanitizer report or a
# broken property (the input is kept in build-fuzz/artifacts/).
#   FUZZ_SECONDS  time per target (default 60)      FUZZ_RUNS  or a number of inputs
#   FUZZ_TARGETS  which targets (default all)        FUZZ_BUILD the build folder
#   FUZZ_SEED     a fixed seed: with FUZZ_RUNS the run is the same every time
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD:-$src/build-fuzz}
targets=${FUZZ_TARGETS:-"zrn format defs print drawing ini"}
limit="-max_total_time=${FUZZ_SECONDS:-60}"
[[ -n "${FUZZ_RUNS:-}" ]] && limit="-runs=$FUZZ_RUNS"
[[ -n "${FUZZ_SEED:-}" ]] && limit="$limit -seed=$FUZZ_SEED"

CC=clang-14 CXX=clang++-14 cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DHASORIN_UNITY=OFF -DHASORIN_FUZZ=ON -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" >/dev/null
cmake --build "$build" -j"${JOBS:-2}" --target $(printf 'fuzz_%s ' $targets)

export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 QT_QPA_PLATFORM=offscreen
# The targets' scratch files, in memory where possible, gone when the run ends.
HASORIN_FUZZ_TMP=$(mktemp -d /dev/shm/hasorin-fuzz.XXXXXX 2>/dev/null || mktemp -d)
export HASORIN_FUZZ_TMP
trap 'rm -rf "$HASORIN_FUZZ_TMP"' EXIT
mkdir -p "$build/artifacts"
status=0
for t in $targets; do
  exe="$build/bin/fuzz_$t"
  log="$build/fuzz_$t.log"
  regressions=("$src/tests/fuzz/$t"/*)
  if [[ -e "${regressions[0]}" ]] && ! "$exe" "${regressions[@]}" >"$log" 2>&1; then
    echo "fuzz_$t: a regression input fails again (see $log)"
    status=1
    continue
  fi
  work="$build/corpus/$t"  # grows here; the checked-in seeds stay small
  mkdir -p "$work"
  if "$exe" $limit -print_final_stats=1 -artifact_prefix="$build/artifacts/$t-" "$work" "$src/fuzz/corpus/$t" \
       >"$log" 2>&1; then
    echo "fuzz_$t: $(awk '/stat::number_of_executed_units/ {print $2}' "$log") inputs, no failure"
  else
    echo "fuzz_$t: FAILED, see $log and $build/artifacts/"
    status=1
  fi
done
exit $status
