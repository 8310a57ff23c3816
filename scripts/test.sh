#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite; arguments go to CMake.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" "$top/build" "$@"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$top/build" --output-on-failure -j"$(nproc)"
