#!/usr/bin/env bash
# Draws every picture into a scratch folder and writes, for looking at them together:
#   contact_sheet.png (all pictures, scaled down and labelled) and preview_*.png (mock screens with
#   the pictures where the game places them and text set in the bitmap fonts).
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
  --contact-sheet "$outdir/contact_sheet.png" --preview "$outdir"
echo "wrote $outdir/contact_sheet.png and $outdir/preview_*.png"
