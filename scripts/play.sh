#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game in a window. Extra arguments go to the game
# (for example -WINDOWED, -DEBUG, -NOSOUND or a word-list path).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/deps.sh
[ -f build/default/build.ninja ] || cmake --preset default >/dev/null
cmake --build --preset default
exec build/default/bin/spellcrypt "$@"
