#!/usr/bin/env bash
# Takes screenshots of the level chooser (with levels of the player's own), an introduction, play, the result
# cards and the settings in both orientations, in English and Hungarian, in a virtual X display, into the
# build folder (default: build/screenshots). They are for review and are not committed.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$top/build"}
"$top/scripts/install-deps.sh"
cmake -S "$top" -B "$build" >/dev/null
cmake --build "$build" --target pellwick-screenshots -j"$(nproc)"
out="$build/screenshots"
mkdir -p "$out"
for language in en hu; do
    xvfb-run -a -s "-screen 0 1280x1024x24" "$build/tests/app/pellwick-screenshots" "$out" "$language"
done
echo "Screenshots written to $out"
