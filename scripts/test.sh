#!/usr/bin/env bash
# Builds the test configuration (AddressSanitizer and UndefinedBehaviorSanitizer) and runs
# every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPIMOKO_SANITIZE=ON -DPIMOKO_WERROR=ON \
  -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DPIMOKO_BENCH=OFF
cmake --build build/test
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
# Leaks are checked by a run of their own, with suppressions for third-party libraries.
export ASAN_OPTIONS="detect_leaks=0:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
ctest --test-dir build/test --output-on-failure -j "$(nproc)" "$@"
