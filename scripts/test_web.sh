#!/usr/bin/env bash
# The browser edition's test: builds it (preset web) over the desktop build's data, then a scripted
# player in headless Chromium plays it from the real score server (tests/web/browser_player.py).
# Screenshots and, with --figures, the measured figures go to build/web/test/.
# Usage: scripts/test_web.sh [--figures]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
# Emscripten's tools run on the machine's Node.js, which must find Debian's Node modules.
export NODE_PATH=/usr/share/nodejs

bash scripts/deps.sh --web
[ -f build/default/build.ninja ] || cmake --preset default >/dev/null
cmake --build --preset default --target spellcrypt_data spellcrypt-server spellcrypt_title_frame
[ -f build/web/build.ninja ] || cmake --preset web >/dev/null
cmake --build --preset web

out=build/web/test
rm -rf "$out"
mkdir -p "$out"
# The desktop game's first title frame, which the page must show too.
build/default/tests/spellcrypt_title_frame build/default/bin "$out/desktop_title.rgb"
# Debian's Python, which has the WebSocket client (python3-websocket).
/usr/bin/python3 tests/web/browser_player.py --server build/default/bin/spellcrypt-server \
  --play build/web/play --words build/default/bin/data/master_word_list.txt \
  --meanings build/default/bin/data/meanings.dat --title-frame "$out/desktop_title.rgb" --out "$out" "$@"
