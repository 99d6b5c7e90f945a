#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game in a window. Extra arguments go to the game
# (for example -WINDOWED, -DEBUG, -NOSOUND or a word-list path).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/deps.sh
[ -f build/default/build.ninja ] || cmake --preset default >/dev/null
cmake --build --preset default
# The game's own first-run default is full screen; from this script the first run opens a window
# instead (Alt+Enter switches, and the choice is remembered in defaults.dat for later runs).
if [ $# -eq 0 ] && [ ! -f build/default/bin/defaults.dat ]; then
  set -- -WINDOWED
fi
exec build/default/bin/spellcrypt "$@"
