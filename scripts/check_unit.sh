#!/usr/bin/env bash
# Checks the score server's systemd unit without a running systemd (as root in CI is fine):
#   1. `systemd-analyze verify`: the unit parses, every setting is known and valid, its
#      dependencies resolve. It runs against a scratch root holding the system's units and a
#      stand-in for the server's executable, so the server need not be installed here.
#   2. `systemd-analyze security --offline=true`: prints the overall exposure figure and fails
#      when it is above 2.5 (listing the settings that still add to it).
# Usage: scripts/check_unit.sh [UNIT FILE]   (default: server/spellcrypt-server.service)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
unit="${1:-$here/../server/spellcrypt-server.service}"
limit=2.5

if ! command -v systemd-analyze >/dev/null; then
  echo "check_unit: systemd-analyze is missing; install the package systemd (apt-get install systemd)" >&2
  exit 1
fi
[ -f "$unit" ] || { echo "check_unit: no unit file $unit" >&2; exit 1; }
name=$(basename "$unit")
export SYSTEMD_COLORS=0 SYSTEMD_PAGER=

# 1. verify, in a scratch root. It prints nothing for a sound unit and only warns (exit status 0)
# on unknown or malformed settings, so any output at all is a failure.
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
units=/usr/lib/systemd/system
[ -d "$units" ] || units=/lib/systemd/system
mkdir -p "$root/usr/lib/systemd" "$root/etc/systemd/system"
cp -R "$units" "$root/usr/lib/systemd/"
cp "$unit" "$root/etc/systemd/system/$name"
program=$(sed -n 's/^ExecStart=[-@:+!]*\([^ ]*\).*/\1/p' "$unit" | head -n 1)
if [[ $program == /* ]]; then
  mkdir -p "$root$(dirname "$program")"
  printf '#!/bin/sh\n' >"$root$program"
  chmod +x "$root$program"
fi
if ! verified=$(systemd-analyze verify --root="$root" "/etc/systemd/system/$name" 2>&1) || [ -n "$verified" ]; then
  echo "check_unit: systemd-analyze verify finds fault with $unit:" >&2
  verified=${verified//$root/}
  while IFS= read -r line; do echo "  $line"; done <<<"${verified:-(no message)}" >&2
  exit 1
fi
echo "verify: $name is sound"

# 2. the exposure figure, from "→ Overall exposure level for NAME: 1.0 OK 🙂".
report=$(systemd-analyze security --offline=true --no-pager "$unit" 2>&1) || {
  echo "check_unit: systemd-analyze security --offline=true failed (systemd 250 or newer is needed):" >&2
  echo "$report" >&2
  exit 1
}
exposure=$(sed -n 's/^.*Overall exposure level for [^:]*: \([0-9][0-9.]*\) .*$/\1/p' <<<"$report")
if [ -z "$exposure" ]; then
  echo "check_unit: no overall exposure level in the report of systemd-analyze security:" >&2
  echo "$report" >&2
  exit 1
fi
echo "exposure: $exposure (at most $limit)"
if awk -v e="$exposure" -v l="$limit" 'BEGIN { exit !(e > l) }'; then
  echo "check_unit: $name is exposed above $limit; the settings that add to it:" >&2
  grep '✗' <<<"$report" | sed 's/^✗ */  /' >&2
  exit 1
fi
