#!/usr/bin/env bash
# Draws every picture into a scratch folder and writes, for looking at them together:
#   contact_sheet.png (all pictures, scaled down and labelled), preview_*.png (mock screens with
#   the pictures where the game places them and text set in the bitmap fonts), and
#   monster_sheet_1x.png / monster_sheet_2x.png (every monster in the fight window, as played).
# Usage: scripts/art_contact_sheet.sh [OUTDIR] [preset]   (default OUTDIR: build/art_preview)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
outdir="${1:-build/art_preview}"
preset="${2:-default}"
[ -f "build/$preset/build.ninja" ] || cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target spellcrypt_art >/dev/null
icons="$(bash scripts/art_assets.sh)"
mkdir -p "$outdir"
"build/$preset/tools/spellcrypt_art" --out "$outdir/runtime" --icons "$icons" \
  --contact-sheet "$outdir/contact_sheet.png" --preview "$outdir" --monster-sheet "$outdir/monster_sheet"
echo "wrote $outdir/contact_sheet.png, $outdir/preview_*.png and $outdir/monster_sheet_{1x,2x}.png"
