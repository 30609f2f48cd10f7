#!/usr/bin/env bash
# Lays out the sample start-up folder BUILD/startup from the built program.
set -euo pipefail
build="$1"
root="$build/startup"
mkdir -p "$root"/{BOOKS,Temp,pen,Deleted,Player}
cp -f "$build/bin/pimoko" "$root/Player/PimokoP.exe"
cp -f "$build/bin/libunlha32.so" "$root/Player/" 2>/dev/null || true
