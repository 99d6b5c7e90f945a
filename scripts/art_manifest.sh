#!/usr/bin/env bash
# Refreshes tools/manifest/pictures.tsv from the picture generator (after changing what it draws).
# Usage: scripts/art_manifest.sh [preset]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
preset="${1:-default}"
[ -f "build/$preset/build.ninja" ] || cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target spellcrypt_art
icons="$(bash scripts/art_assets.sh)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
"build/$preset/tools/spellcrypt_art" --out "$tmp" --icons "$icons" --manifest tools/manifest/pictures.tsv
echo "tools/manifest/pictures.tsv refreshed"
