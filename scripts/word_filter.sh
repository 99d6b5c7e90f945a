#!/usr/bin/env bash
# Installs the pinned list of slurs and strong profanity that the word-list generator leaves out:
# the npm package cuss (MIT, credited in CREDITS.md), into .cache/word_filter in the source tree.
# scripts/deps.sh runs it; the build only reads the installed file and never installs it.
# Usage: scripts/word_filter.sh [DEST]
# Prints the path of the package's English list. Quick when the pinned version is in place.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
dest="${1:-$(cd "$here/.." && pwd)/.cache/word_filter}"
# Keep in step with SPELLCRYPT_WORD_FILTER_LIST in tools/wordlist/CMakeLists.txt.
bash "$here/npm_package.sh" cuss 2.2.0 "$dest"
list="$dest/node_modules/cuss/index.js"
[ -f "$list" ] || { echo "word filter: $list missing after install" >&2; exit 1; }
echo "$list"
