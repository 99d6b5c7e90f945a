#!/usr/bin/env bash
# Installs one npm package at a pinned version into DEST/node_modules (npm itself comes from Debian
# when it is missing). Quick when that version is in place already; two callers at the same time
# take turns. Used by the scripts that fetch the raw material of the data generators.
# Usage: scripts/npm_package.sh PACKAGE VERSION DEST
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: $0 PACKAGE VERSION DEST" >&2; exit 2; }
pkg="$1"
version="$2"
dest="$3"
installed_version() {
  sed -n 's/^[[:space:]]*"version":[[:space:]]*"\([^"]*\)".*/\1/p' "$dest/node_modules/$pkg/package.json" 2>/dev/null | head -1
}
[ "$(installed_version)" = "$version" ] && exit 0
if ! command -v npm >/dev/null; then
  echo "npm is missing; installing it from Debian" >&2
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends npm >&2
fi
mkdir -p "$dest"
exec 9>"$dest/.lock"
flock 9
if [ "$(installed_version)" != "$version" ]; then
  npm install --prefix "$dest" --no-audit --no-fund --ignore-scripts --no-package-lock --loglevel=error \
    "$pkg@$version" >&2
fi
[ "$(installed_version)" = "$version" ] || { echo "$pkg@$version: not in $dest after npm install" >&2; exit 1; }
