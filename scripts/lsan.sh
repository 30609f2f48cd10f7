#!/usr/bin/env bash
# Runs the whole test suite with LeakSanitizer on, in the sanitizer build of
# scripts/test.sh. Only leaks inside third-party libraries are suppressed (tests/lsan.supp,
# each line explained there); a leak in our own code fails the run.
#   PIMOKO_BUILD_DIR  the build folder to use (default build/test)
# Other arguments go to ctest (for example -R Book).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${PIMOKO_BUILD_DIR:-build/test}"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPIMOKO_SANITIZE=ON \
  -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DPIMOKO_BENCH=OFF >/dev/null
cmake --build "$build" -j "${PIMOKO_JOBS:-$(nproc)}"
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
# Full stacks: Qt has no frame pointers, and the suppressions name frames inside it.
export ASAN_OPTIONS="detect_leaks=1:fast_unwind_on_malloc=0:${ASAN_OPTIONS:-}"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=1:${LSAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
ctest --test-dir "$build" --output-on-failure -j "${PIMOKO_JOBS:-$(nproc)}" "$@"
