#!/usr/bin/env bash
# Builds the fuzz harnesses (clang, libFuzzer, AddressSanitizer, UBSan) in build-fuzz and
# runs one of them for a number of seconds on its corpus in build-fuzz/corpus/NAME.
#   bash scripts/fuzz.sh lha_extract 300
set -euo pipefail
cd "$(dirname "$0")/.."
name="${1:?usage: fuzz.sh HARNESS SECONDS}"
seconds="${2:-60}"
if ! command -v clang++ >/dev/null; then
  echo "fuzz.sh: clang++ is not installed (apt-get install clang libclang-rt-14-dev)" >&2
  exit 1
fi
cmake -S tests/fuzz -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build-fuzz --target "$name" -j2
corpus="build-fuzz/corpus/$name"
mkdir -p "$corpus" "build-fuzz/crashes/$name"
# A harness with a seed program (seed_NAME, built from seed_NAME.cpp or seed_book_files.cpp)
# starts from the files it writes. The target list is read whole first: grep -q leaving a
# pipe early would fail the pipe under pipefail.
targets="$(ninja -C build-fuzz -t targets all)"
if [ -z "$(ls -A "$corpus")" ] && grep -q "^seed_$name:" <<<"$targets"; then
  cmake --build build-fuzz --target "seed_$name" -j2
  "build-fuzz/seed_$name" "$corpus"
fi
# Longer inputs than the book loader's limits need (300 pages of a title line each, 2001
# delays and one more) only slow the search; the round trip keeps to what it still checks.
limits=()
case "$name" in
load_book) limits=(-max_len=16384) ;;
round_trip_book) limits=(-max_len=8192) ;;
esac
export ASAN_OPTIONS="detect_leaks=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
"build-fuzz/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 "${limits[@]}" \
  -artifact_prefix="build-fuzz/crashes/$name/" -print_final_stats=1 "$corpus"
