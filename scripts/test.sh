#!/usr/bin/env bash
# Builds and runs the whole test suite headless. Usage: scripts/test.sh [preset]  (default, asan, or
# tsan: the HTTP client's tests under ThreadSanitizer)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
preset="${1:-default}"
bash scripts/deps.sh
[ -f "build/$preset/build.ninja" ] || cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
ctest --preset "$preset" -j "$(nproc)"
