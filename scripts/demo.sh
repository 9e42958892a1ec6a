#!/usr/bin/env bash
# The main job on a bundled example: check the project, calculate it, and
# print its report to demo.pdf (in the build folder) as the previewer would.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
EXAMPLE=examples/inclined4.zrn
PDF="$(cd "$BUILD" && pwd)/demo.pdf"
"$BUILD/bin/hasorin-cli" check "$EXAMPLE"
echo
"$BUILD/bin/hasorin-cli" calc "$EXAMPLE"
echo
"$BUILD/bin/hasorin-cli" print "$EXAMPLE" --pdf "$PDF" >/dev/null
echo "計算書（PDF）：$PDF"
