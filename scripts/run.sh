#!/usr/bin/env bash
# Builds the program (Release), lays out the sample start-up folder in the build folder
# and starts the program there.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DPIMOKO_TESTS=OFF
cmake --build build/release
bash scripts/make_startup.sh build/release
cd build/release/startup
exec ../bin/pimoko "$@"
