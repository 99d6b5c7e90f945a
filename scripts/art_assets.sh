#!/usr/bin/env bash
# Installs the pinned raw material of the picture generator: the game-icons silhouettes
# (@iconify-json/game-icons, CC BY 3.0, credited in CREDITS.md) from the npm registry.
# Usage: scripts/art_assets.sh [DEST]   (default: .cache/art_assets in the source tree)
# Prints the path of the collection's icons.json. Quick when the pinned version is in place.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dest="${1:-$root/.cache/art_assets}"
pkg="@iconify-json/game-icons"
version="1.2.4"
json="$dest/node_modules/$pkg/icons.json"
installed_version() {
  sed -n 's/^[[:space:]]*"version":[[:space:]]*"\([^"]*\)".*/\1/p' "$dest/node_modules/$pkg/package.json" 2>/dev/null | head -1
}
if [ -f "$json" ] && [ "$(installed_version)" = "$version" ]; then
  echo "$json"
  exit 0
fi
if ! command -v npm >/dev/null; then
  echo "npm is missing; installing it from Debian" >&2
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends npm >&2
fi
mkdir -p "$dest"
# Two builds (default and asan) may ask at the same time: one installs, the other waits.
exec 9>"$dest/.lock"
flock 9
if ! { [ -f "$json" ] && [ "$(installed_version)" = "$version" ]; }; then
  npm install --prefix "$dest" --no-audit --no-fund --ignore-scripts --no-package-lock --loglevel=error \
    "$pkg@$version" >&2
fi
[ -f "$json" ] || { echo "art assets: $json missing after install" >&2; exit 1; }
echo "$json"
