#!/usr/bin/env bash
# Runs every benchmark executable of the build.
set -euo pipefail
BUILD=${1:-build}
cd "$BUILD/bin"
# Window benchmarks need no screen; the offscreen plugin's size-hint warnings are noise here.
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export QT_LOGGING_RULES=${QT_LOGGING_RULES:-default.warning=false}
status=0
for b in ./bench_*; do
  [ -x "$b" ] || continue
  echo "== $b"
  "$b" --benchmark_min_time=0.2 || status=1
done
exit $status
