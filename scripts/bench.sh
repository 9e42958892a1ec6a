#!/usr/bin/env bash
# Runs every benchmark executable of the build.
set -euo pipefail
BUILD=${1:-build}
cd "$BUILD/bin"
status=0
for b in ./bench_*; do
  [ -x "$b" ] || continue
  echo "== $b"
  "$b" --benchmark_min_time=0.2 || status=1
done
exit $status
