#!/usr/bin/env bash
# The main job on a bundled example: open and check the project.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
"$BUILD/bin/hasorin-cli" check examples/vertical4.zrn
