#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for a set time on its seed corpus.
# Usage: scripts/fuzz.sh [seconds-per-target]   (default 20)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
seconds="${1:-20}"
bash scripts/deps.sh
[ -f build/fuzz/build.ninja ] || cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
shopt -s nullglob
targets=(build/fuzz/bin/*_fuzz)
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets"; exit 0; }
for target in "${targets[@]}"; do
  name=$(basename "$target")
  seeds="fuzz/corpus/$name"
  work="build/fuzz/corpus/$name"
  mkdir -p "$work"
  echo "== $name for ${seconds}s"
  args=("$work")
  [ -d "$seeds" ] && args+=("$seeds")
  "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "${args[@]}" 2>&1 | tail -4
done
