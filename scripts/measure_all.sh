#!/usr/bin/env bash
# The figures of the README's table, measured one after the other in one run on this machine:
# start to the title, the cost of a busy game frame, the word list's load and the oracle's search
# (Google Benchmark, medians), whole bot games, CPU and memory while playing in a real window under
# Xvfb, and the score server's throughput with wrk. Prints the table as Markdown at the end.
#
# Usage: scripts/measure_all.sh [repetitions, default 9]
# Environment: MEASURE_SECONDS (the window's measurement, default 15), LOAD_SECONDS (each server
# run, default 10).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
repetitions="${1:-9}"
bash scripts/deps.sh >/dev/null
[ -f build/default/build.ninja ] || cmake --preset default >/dev/null
cmake --build --preset default >/dev/null
work=$(mktemp -d /tmp/spellcrypt-measure.XXXXXX)
trap 'rm -rf "$work"' EXIT

echo "== benchmarks (medians of $repetitions)" >&2
# One process per benchmark: each starts the program (or loads the words) in a state of its own.
for name in StartToFirstTitleFrame GameFrameAtItsBusiest BackSurfaceCopy WordsLoad WordsFindWordsDistinct \
  WordsFindWordsRepeated GameDungeonPerCast; do
  build/default/bin/spellcrypt_bench --benchmark_filter="^BM_$name" --benchmark_repetitions="$repetitions" \
    --benchmark_report_aggregates_only=true --benchmark_format=json >"$work/bench_$name.json" 2>>"$work/bench.err"
done
echo "== bot games" >&2
build/default/bin/spellcrypt_bench --benchmark_filter='BotGame' --benchmark_format=json \
  >"$work/bot.json" 2>"$work/bot.err"
echo "== a fight in a real window" >&2
MEASURE_SECONDS="${MEASURE_SECONDS:-15}" bash scripts/measure_cpu.sh 1 playing >"$work/cpu.txt" 2>&1
echo "== the score server" >&2
bash scripts/server_load.sh "${LOAD_SECONDS:-10}" 16 >"$work/load.txt" 2>&1

python3 - "$work" <<'EOF'
import json, re, sys
work = sys.argv[1]
import glob
bench = [b for f in sorted(glob.glob(f"{work}/bench_*.json")) for b in json.load(open(f))["benchmarks"]]
def median(name_part):
    for b in bench:
        if name_part in b["name"] and b.get("aggregate_name") == "median":
            return b
    return None
def ms(v, unit):
    return v * {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[unit]
rows = []
def add(what, b, scale="ms"):
    if b is None:
        rows.append((what, "not measured", ""))
        return
    wall, cpu = ms(b["real_time"], b["time_unit"]), ms(b["cpu_time"], b["time_unit"])
    if scale == "us":
        rows.append((what, f"{wall * 1000:.0f} µs", f"{cpu * 1000:.0f} µs"))
    else:
        rows.append((what, f"{wall:.1f} ms", f"{cpu:.1f} ms"))
add("start of the program to the first title frame (in-process)", median("StartToFirstTitleFrame"))
frame, copy = median("GameFrameAtItsBusiest"), median("BackSurfaceCopy")
add("one game frame at its busiest (update, draw, present)", frame, "us")
if frame and copy:
    rows.append(("  the same, in copies of the back surface", f"{frame['real_time'] / copy['real_time']:.1f}x",
                 f"{frame['cpu_time'] / copy['cpu_time']:.1f}x"))
cast = median("GameDungeonPerCast")
if cast is not None and "per_cast" in cast:
    rows.append(("one cast by the game's rules alone (a seeded dungeon of them)", f"{cast['per_cast'] * 1e6:.0f} µs", ""))
add("loading the word list", median("WordsLoad"))
add("the oracle's search, 16 different letters", median("WordsFindWordsDistinct"), "us")
add("the oracle's search, 16 letters with repeats", median("WordsFindWordsRepeated"), "us")
for b in json.load(open(f"{work}/bot.json"))["benchmarks"]:
    if b.get("run_type") == "iteration":
        label = b["name"].split("/")[1]
        rows.append((f"a whole {label} game played by the bot (virtual clock, {b['virtual_x']:.0f}x real time)",
                     f"{b['games_per_min']:.2f} games/min", f"{b['casts_per_s']:.1f} casts/s"))
cpu = open(f"{work}/cpu.txt").read()
for scale in ("1x", "2x"):
    m = re.search(rf"^{scale} playing: CPU ([\d.]+)% of a core, peak memory (\d+) MB", cpu, re.M)
    rows.append((f"a fight in a real window at {scale} (Xvfb)", f"{m.group(1)}% of a core" if m else "not measured",
                 f"{m.group(2)} MB peak" if m else ""))
load = open(f"{work}/load.txt").read()
for store in ("SQLite", "PostgreSQL"):
    for kind, label in (("submissions", "submissions"), ("list downloads", "list downloads"),
                        ("(new conn.)", "list downloads, a connection each")):
        m = re.search(rf"^{store}\s+{re.escape(kind)}\s+(\d+) req/s\s+p99\s+(\S+)\s+errors (\d+)", load, re.M)
        rows.append((f"score server on {store}: {label}", f"{int(m.group(1)):,} req/s" if m else "not measured",
                     f"p99 {m.group(2)}, errors {m.group(3)}" if m else ""))
print("| figure | measured (median, wall) | CPU time or detail |")
print("|---|---|---|")
for what, a, b in rows:
    print(f"| {what} | {a} | {b} |")
EOF
