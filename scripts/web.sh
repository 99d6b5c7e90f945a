#!/usr/bin/env bash
# Builds the browser edition and serves it on this machine. The data (word list, pictures, sounds)
# come from the desktop build (preset default), whose generators are native programs; the web
# preset then compiles the game with Emscripten into build/web/play/.
# The score server serves it at /play/, beside the rankings.
# Usage: scripts/web.sh [port]   (default 8077; Ctrl+C stops the server)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
port="${1:-8077}"

# Emscripten's tools run on the machine's Node.js, which must find Debian's Node modules.
export NODE_PATH=/usr/share/nodejs

bash scripts/deps.sh --web
[ -f build/default/build.ninja ] || cmake --preset default >/dev/null
cmake --build --preset default --target spellcrypt_data spellcrypt-server
[ -f build/web/build.ninja ] || cmake --preset web >/dev/null
cmake --build --preset web

echo "The browser edition is in build/web/play/. Play it at http://127.0.0.1:${port}/play/"
exec build/default/bin/spellcrypt-server --port "$port" --data build/web/server-data --play build/web/play \
  --meanings build/default/bin/data/meanings.dat
