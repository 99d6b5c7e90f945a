#!/usr/bin/env bash
# A throw-away PostgreSQL 15 for the score server's tests and load runs.
#   scripts/postgres_test.sh start STATE_DIR [--durable]   starts one; writes STATE_DIR/conninfo
#   scripts/postgres_test.sh stop STATE_DIR                stops it and removes its files
# The cluster lives in a new temporary folder, listens on a Unix socket there only (no TCP port),
# and trusts local connections. PostgreSQL refuses to run as root, so as root it runs as "nobody".
# Without --durable it skips flushing to disk (tests); with it, commits are flushed as in production.
# When PostgreSQL is not installed: in CI (CI=true) a failure, elsewhere a note and no conninfo, and
# the tests that need it skip.
set -euo pipefail
action=${1:?start or stop}
state=${2:?state folder}
durable=${3:-}
bin=/usr/lib/postgresql/15/bin

as_owner=()
[ "$(id -u)" -eq 0 ] && as_owner=(runuser -u nobody --)

stop() {
  [ -f "$state/cluster" ] || return 0
  local cluster
  cluster=$(cat "$state/cluster")
  if [ -d "$cluster/data" ]; then
    "${as_owner[@]}" "$bin/pg_ctl" -D "$cluster/data" -m fast -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$cluster"
  rm -f "$state/cluster" "$state/conninfo"
}

case "$action" in
  stop)
    stop
    echo "PostgreSQL stopped"
    ;;
  start)
    mkdir -p "$state"
    stop
    if [ ! -x "$bin/initdb" ]; then
      if [ "${CI:-}" = true ]; then
        echo "PostgreSQL 15 is not installed ($bin/initdb); scripts/deps.sh installs postgresql-15" >&2
        exit 1
      fi
      echo "PostgreSQL 15 is not installed: its tests will be skipped (scripts/deps.sh installs it)"
      exit 0
    fi
    cluster=$(mktemp -d /tmp/spellcrypt-postgres.XXXXXX)
    echo "$cluster" >"$state/cluster"
    chmod 755 "$cluster"
    [ ${#as_owner[@]} -eq 0 ] || chown nobody "$cluster"
    "${as_owner[@]}" "$bin/initdb" -D "$cluster/data" -A trust -U spellcrypt -E UTF8 --locale=C \
      >"$cluster/initdb.log" 2>&1 || { cat "$cluster/initdb.log" >&2; exit 1; }
    options="-k $cluster -c listen_addresses= -c max_connections=200"
    if [ "$durable" != --durable ]; then
      options="$options -c fsync=off -c synchronous_commit=off -c full_page_writes=off"
    fi
    "${as_owner[@]}" "$bin/pg_ctl" -D "$cluster/data" -l "$cluster/server.log" -w -t 60 -o "$options" start \
      >/dev/null || { cat "$cluster/server.log" >&2; exit 1; }
    echo "host=$cluster port=5432 user=spellcrypt dbname=postgres" >"$state/conninfo"
    echo "PostgreSQL started: $(cat "$state/conninfo")"
    ;;
  *)
    echo "usage: $0 start|stop STATE_DIR [--durable]" >&2
    exit 2
    ;;
esac
