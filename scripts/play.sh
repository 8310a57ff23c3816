#!/usr/bin/env bash
# Installs what is missing, builds, and opens the game window.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" "$top/build"
exec "$top/build/bin/harbour-pellwick" "$@"
