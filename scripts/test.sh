#!/usr/bin/env bash
# Builds everything and runs every test (core, command line, offscreen GUI).
# Usage: scripts/test.sh [PRESET]   (default "dev"; CI uses "ci", warnings as errors)
#        scripts/test.sh windows    (the core and the command line for Windows, tested under Wine)
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-dev}
if [ "$preset" = windows ]; then
  exec bash scripts/test_windows.sh
fi
bash scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
