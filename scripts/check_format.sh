#!/usr/bin/env bash
# Fails, naming the files, when a tracked C++ source is not as clang-format writes it.
set -euo pipefail
cd "$(dirname "$0")/.."
bad=()
while IFS= read -r -d '' f; do
  if ! clang-format --dry-run -Werror "$f" >/dev/null 2>&1; then
    bad+=("$f")
  fi
done < <(git ls-files -z -- '*.cpp' '*.h')
if [ ${#bad[@]} -ne 0 ]; then
  echo "Not formatted (run: clang-format -i FILE):" >&2
  printf '  %s\n' "${bad[@]}" >&2
  exit 1
fi
echo "Formatting: all sources as clang-format writes them."
