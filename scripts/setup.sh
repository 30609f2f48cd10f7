#!/usr/bin/env bash
# Installs the Debian packages the program, its tests and benchmarks need.
# Safe to run again: it installs only what is missing, without questions.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ pkg-config qt6-base-dev qt6-translations-l10n libharfbuzz-dev
  fontconfig fonts-ipafont-gothic fonts-ipafont-mincho libsdl2-mixer-dev
  timgm6mb-soundfont libarchive-dev libjpeg62-turbo-dev libgtest-dev libgmock-dev
  libbenchmark-dev xvfb xauth lhasa clang libclang-rt-14-dev clang-format
  desktop-file-utils shared-mime-info
  chromium fluidsynth libsndfile1-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
