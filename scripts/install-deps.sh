#!/usr/bin/env bash
# Installs the Debian packages Hasorin needs to build, test and render reports.
# Idempotent: only missing packages are installed, and the package lists are
# refreshed only when something has to be installed.
set -euo pipefail

PACKAGES=(
  build-essential g++ cmake make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
  libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev libcli11-dev
  fonts-ipafont-gothic fonts-dejavu-core
  xvfb xauth poppler-utils imagemagick openbox
  qt6-svg-dev libxlsxwriter-dev zlib1g-dev
  clang-14 libclang-rt-14-dev llvm-14
  ccache
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
