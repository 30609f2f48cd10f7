#!/usr/bin/env bash
# Lays out the sample start-up folder BUILD/startup with the built program: settings,
# book list, the sample book with its pictures and sounds, the pens, and Player.
set -euo pipefail
build="$1"
"$build/bin/pimoko-sample" "$build/startup" --program "$build/bin/pimoko"
