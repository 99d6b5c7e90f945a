#!/usr/bin/env bash
# Load on loopback with wrk: submissions, then list downloads, per second with their p99 latency,
# against the score server on SQLite and on PostgreSQL (a throw-away cluster that flushes its
# commits to disk, as SQLite does). Prints one table row per run.
# Usage: scripts/server_load.sh [seconds per run, default 10] [connections, default 16]
# SERVER_BIN=path measures another build of the server (an older one, to compare).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
seconds=${1:-10}
connections=${2:-16}
bash scripts/deps.sh >/dev/null
[ -f build/default/build.ninja ] || cmake --preset default >/dev/null
cmake --build --preset default --target spellcrypt-server >/dev/null
server=${SERVER_BIN:-build/default/bin/spellcrypt-server}
key=$(sed -n 's/^SPELLCRYPT_SCORE_KEY:STRING=//p' build/default/CMakeCache.txt)

work=$(mktemp -d /tmp/spellcrypt-load.XXXXXX)
pid=
cleanup() {
  [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
  bash scripts/postgres_test.sh stop "$work/pg" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
url="http://127.0.0.1:$port"

start_server() {
  "$server" --port "$port" --rate 0 "$@" 2>"$work/server.log" &
  pid=$!
  for _ in $(seq 200); do curl -fs "$url/" >/dev/null && return 0; sleep 0.05; done
  echo "the server did not start:" >&2
  cat "$work/server.log" >&2
  exit 1
}
stop_server() {
  kill -TERM "$pid"
  wait "$pid" || true
  pid=
}

# One wrk run: "requests/s  p99  errors" (wrk_options: more options for wrk).
wrk_options=()
measure() {
  local script=$1
  shift
  local out
  out=$(wrk -t2 -c"$connections" -d"${seconds}s" --latency "${wrk_options[@]}" -s "$script" "$url/" -- "$@" \
    2>"$work/wrk.err")
  local rate p99 bad socket
  rate=$(awk '/^Requests\/sec:/ {printf "%.0f", $2}' <<<"$out")
  p99=$(awk '$1 == "99%" {print $2}' <<<"$out")
  bad=$(awk '/Non-2xx or 3xx responses:/ {print $5}' <<<"$out")
  socket=$(awk '/Socket errors:/ {e = 0; for (i = 4; i <= NF; i += 2) e += $i; print e}' <<<"$out")
  printf '%8s req/s  p99 %8s  errors %s\n' "$rate" "$p99" "$(( ${bad:-0} + ${socket:-0} ))"
}

run_store() {
  local label=$1
  shift
  start_server "$@"
  wrk_options=()
  printf '%-11s submissions   ' "$label"
  measure scripts/load/submit.lua "$key"
  wrk_options=()
  printf '%-11s list downloads' "$label"
  measure scripts/load/lists.lua
  # As the game asks: a new connection for every download.
  wrk_options=(-H "Connection: close")
  printf '%-11s  (new conn.)  ' "$label"
  measure scripts/load/lists.lua
  wrk_options=()
  printf '%-11s web page      ' "$label"
  measure /dev/null
  local stored
  stored=$(curl -s -X POST --data 'version=2.05' "$url/splcryp/getscores.php" | grep -c '^add|' || true)
  stop_server
  echo "            (lists carry $stored entries)"
}

echo "wrk: 2 threads, $connections connections, ${seconds}s per run, on $(nproc) cores"
run_store SQLite --data "$work/sqlite"
bash scripts/postgres_test.sh start "$work/pg" --durable >/dev/null
run_store PostgreSQL --postgres "$(cat "$work/pg/conninfo")"
