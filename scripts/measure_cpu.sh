#!/usr/bin/env bash
# Measures what the game costs in a real window: its share of one processor core and its peak
# memory (VmHWM) over a stretch of time, in a window at 1x and at 2x scale under Xvfb. The X
# server's own share is shown beside it (the pixels the game sends end up there).
#
# Usage: scripts/measure_cpu.sh [runs] [title|playing]
#   runs      runs per scale (default 3); the medians are printed last
#   title     the title screen with its spiders (the default)
#   playing   a fight: xdotool clicks through the chooser and the map into dungeon 1, then keeps
#             the rack shuffling (every tile gliding) while the monster attacks on its own
# Environment: MEASURE_SECONDS (default 30), SETTLE_SECONDS (default 5, waited after the title is
# being loaded), SPELLCRYPT_EXE (measure another build of the game instead of building this tree's).
#
# The game runs from a scratch folder (a copy of the program beside links to its data), so the
# log.txt and defaults.dat it writes never touch the build's.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
runs="${1:-3}"
scene="${2:-title}"
[[ "$scene" == title || "$scene" == playing ]] || { echo "the scene is title or playing" >&2; exit 2; }
seconds="${MEASURE_SECONDS:-30}"
settle="${SETTLE_SECONDS:-5}"
[[ "$runs" =~ ^[1-9][0-9]*$ ]] || { echo "runs must be a positive number" >&2; exit 2; }

bash scripts/deps.sh
exe="${SPELLCRYPT_EXE:-}"
if [ -z "$exe" ]; then
  [ -f build/default/build.ninja ] || cmake --preset default >/dev/null
  cmake --build --preset default >/dev/null
  exe=build/default/bin/spellcrypt
fi
[ -x "$exe" ] || { echo "no game at $exe" >&2; exit 1; }
exe="$(cd "$(dirname "$exe")" && pwd)/$(basename "$exe")"
bindir=build/default/bin
[ -d "$bindir/graphics" ] || { echo "no generated data in $bindir (build the default preset)" >&2; exit 1; }
bindir="$(cd "$bindir" && pwd)"

scratch="$(mktemp -d /tmp/spellcrypt-measure.XXXXXX)"
game_pid=""
server_pid=""
xserver_pid=""
cleanup() {
  # The game first: xvfb-run then stops its X server itself.
  if [ -n "$game_pid" ]; then kill "$game_pid" 2>/dev/null || true; fi
  if [ -n "$server_pid" ]; then
    for _ in 1 2 3 4 5 6 7 8 9 10; do kill -0 "$server_pid" 2>/dev/null || break; sleep 0.5; done
    if [ -n "$xserver_pid" ]; then kill "$xserver_pid" 2>/dev/null || true; fi
    kill "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT

cp "$exe" "$scratch/spellcrypt"
for d in data graphics sound; do ln -s "$bindir/$d" "$scratch/$d"; done

# The player of the "playing" scene, run beside the game on its X server: into a fight, then the
# rack shuffling every second until the game ends.
cp scripts/drive_fight.sh "$scratch/drive.sh"

ticks_per_second="$(getconf CLK_TCK)"

# Processor time (user + system, all threads) of a process, in clock ticks.
cpu_ticks() {
  local stat
  stat="$(cat "/proc/$1/stat" 2>/dev/null)" || { echo 0; return; }
  # Fields after the command name, which is in parentheses: state is the 1st, utime the 12th.
  echo "${stat##*) }" | awk '{ print $12 + $13 }'
}

now_ns() { date +%s%N; }

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# One run: starts the game under its own X server of the given screen size, waits for the title,
# and writes "cpu-percent memory-mb server-percent" to standard output.
measure_once() {
  local screen="$1"
  rm -f "$scratch/log.txt" "$scratch/defaults.dat" "$scratch/pid" "$scratch/stderr.txt" "$scratch/fight.png"
  (cd "$scratch" && exec env -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy \
    xvfb-run -a -s "-screen 0 ${screen}x24 -nolisten tcp" \
    sh -c 'echo $$ > pid; [ "$1" = playing ] && ./drive.sh $$ shuffle & exec ./spellcrypt -WINDOWED' sh "$scene" \
    2>"$scratch/stderr.txt") &
  server_pid=$!
  local waited=0
  while [ ! -s "$scratch/pid" ] || ! grep -q "Game started on" "$scratch/log.txt" 2>/dev/null; do
    sleep 0.2
    waited=$((waited + 1))
    if [ "$waited" -gt 300 ] || ! kill -0 "$server_pid" 2>/dev/null; then
      echo "the game did not start; its output:" >&2
      cat "$scratch/stderr.txt" >&2 || true
      return 1
    fi
  done
  game_pid="$(cat "$scratch/pid")"
  sleep "$settle"
  # Into the fight first: the chooser, the map, the entry and the deal take about 12 s.
  [ "$scene" = playing ] && sleep 12
  xserver_pid="$(pgrep -P "$server_pid" -x Xvfb || true)"
  local start_ns start_game start_x end_ns end_game end_x
  start_ns="$(now_ns)"
  start_game="$(cpu_ticks "$game_pid")"
  start_x="$(cpu_ticks "${xserver_pid:-none}")"
  sleep "$seconds"
  end_ns="$(now_ns)"
  end_game="$(cpu_ticks "$game_pid")"
  end_x="$(cpu_ticks "${xserver_pid:-none}")"
  local peak_kb
  peak_kb="$(awk '/^VmHWM:/ { print $2 }' "/proc/$game_pid/status")"
  kill -0 "$game_pid" 2>/dev/null || { echo "the game ended during the measurement" >&2; return 1; }
  kill -TERM "$game_pid"
  wait "$server_pid" 2>/dev/null || true
  game_pid=""
  server_pid=""
  xserver_pid=""
  awk -v g=$((end_game - start_game)) -v x=$((end_x - start_x)) -v ns=$((end_ns - start_ns)) \
    -v hz="$ticks_per_second" -v kb="$peak_kb" \
    'BEGIN { s = ns / 1e9; printf "%.1f %d %.1f\n", 100 * g / hz / s, (kb + 512) / 1024, 100 * x / hz / s }'
}

declare -A screens=([1x]=1024x768 [2x]=1600x1200)
summary=()
for scale in 1x 2x; do
  cpus=()
  mems=()
  xs=()
  for ((i = 1; i <= runs; i++)); do
    measure_once "${screens[$scale]}" >"$scratch/result"
    read -r cpu mem xcpu <"$scratch/result"
    echo "  $scale run $i: CPU $cpu% of a core, peak memory $mem MB (X server $xcpu%)"
    cpus+=("$cpu")
    mems+=("$mem")
    xs+=("$xcpu")
  done
  if ! grep -q "${scale} window" "$scratch/stderr.txt"; then
    echo "  warning: the window did not open at $scale: $(grep -h '^Display:' "$scratch/stderr.txt")" >&2
  fi
  if [ "$scene" = playing ] && [ -f "$scratch/fight.png" ]; then
    cp "$scratch/fight.png" "build/measure_playing_$scale.png"
    echo "  the fight that was measured: build/measure_playing_$scale.png"
  fi
  summary+=("$scale $scene: CPU $(printf '%s\n' "${cpus[@]}" | median)% of a core, peak memory $(printf '%s\n' "${mems[@]}" | median) MB (X server $(printf '%s\n' "${xs[@]}" | median)%; median of $runs)")
done
printf '%s\n' "${summary[@]}"
