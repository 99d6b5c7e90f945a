#!/usr/bin/env bash
# Installs the pinned raw material of the picture generator: the game-icons silhouettes
# (@iconify-json/game-icons, CC BY 3.0, credited in CREDITS.md) from the npm registry.
# Usage: scripts/art_assets.sh [DEST]   (default: .cache/art_assets in the source tree)
# Prints the path of the collection's icons.json. Quick when the pinned version is in place.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
dest="${1:-$(cd "$here/.." && pwd)/.cache/art_assets}"
pkg="@iconify-json/game-icons"
bash "$here/npm_package.sh" "$pkg" 1.2.4 "$dest"
json="$dest/node_modules/$pkg/icons.json"
[ -f "$json" ] || { echo "art assets: $json missing after install" >&2; exit 1; }
echo "$json"
