#!/usr/bin/env bash
# The browser edition's figures of the README, measured in one run on this machine: the bytes of a
# first visit (compressed, as sent), the time from navigation to the first title frame (median of
# five visits with the browser's cache off), the CPU of all the browser's processes at the title,
# the busiest game frame in the page (median of 900 frames) against the same frame natively
# (Google Benchmark, median of 9), and the word meanings' first read and lookup in the page. Headless Chromium on loopback; prints a Markdown table.
# Usage: scripts/measure_web.sh
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/test_web.sh --figures
cmake --build --preset default --target spellcrypt_bench >/dev/null
build/default/bin/spellcrypt_bench --benchmark_filter='^BM_GameFrameAtItsBusiest' --benchmark_repetitions=9 \
  --benchmark_report_aggregates_only=true --benchmark_format=json >build/web/test/native_frame.json 2>/dev/null
/usr/bin/python3 - <<'PY'
import json
web = json.load(open("build/web/test/figures.json"))
native = next(b for b in json.load(open("build/web/test/native_frame.json"))["benchmarks"]
              if b.get("aggregate_name") == "median")
native_us = native["real_time"] * {"ns": 1e-3, "us": 1.0, "ms": 1e3}[native["time_unit"]]
print("| figure (headless Chromium on loopback) | measured | goal |")
print("|---|---|---|")
print(f"| first visit: page, JavaScript, WebAssembly and data pack, as sent (gzip) | {web['first_visit_bytes'] / 1e6:.2f} MB | under 12 MB |")
print(f"| navigation to the first title frame (median of 5, cache off) | {web['title_ms'] / 1000:.2f} s | under 3 s |")
print(f"| the busiest game frame in the page (median of {web['busy_frames_measured']}) | {web['busy_frame_us'] / 1000:.2f} ms | under 2 ms |")
print(f"| of which handing the frame to the canvas (median) | {web['busy_present_us'] / 1000:.2f} ms | |")
print(f"| the same frame natively (median of 9) | {native_us / 1000:.2f} ms | |")
print(f"| the page against native | {web['busy_frame_us'] / native_us:.1f}x | at most 2x |")
print(f"| CPU of the browser's processes at the title | {web['title_cpu_percent']:.0f}% of a core | |")
print(f"| the word meanings read in the page, as at a game's first lookup (median of 9) | {web['meanings_load_ms']:.2f} ms | |")
print(f"| one meaning looked up in the page (median of 9 rounds) | {web['meanings_find_ns']:.0f} ns | at most 2 us |")
PY
