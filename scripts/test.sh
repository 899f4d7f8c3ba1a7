#!/usr/bin/env bash
# Builds everything and runs every test (core, command line, offscreen GUI).
# Usage: scripts/test.sh [PRESET]   (default "dev"; CI uses "ci", warnings as errors)
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-dev}
bash scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
