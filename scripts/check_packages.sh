#!/usr/bin/env bash
# Checks the Debian packages as a player and an operator meet them, on this machine (as root):
#   1. built twice from the last commit, in two folders at two times: byte-identical packages;
#   2. lintian finds no error and no warning; the desktop entry and the metainfo validate;
#   3. a previous version of both (the same packages under a lower version) is installed with
#      apt-get: the server's user, state folder and enabled (not started) unit are in place; the
#      installed game runs headless for a normal user and keeps its files in
#      ~/.local/share/spellcrypt/, and on an X server its window shows the title; the installed server, started with its unit's command line as its
#      user, takes a score posted as the game posts it (curl) and shows it on GET /, the entry's
#      strong words with their meanings, and the browser edition at /play/;
#   4. the new version is installed over it: the player's files and the server's database (the
#      score) are still there;
#   5. both are removed and purged without a question: nothing of them is left on disk, and the
#      server's user and its state are gone.
# Usage: scripts/check_packages.sh   (after the default preset is built: it uses its score form tool)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
[ "$(id -u)" -eq 0 ] || { echo "packages: installing the packages needs root" >&2; exit 1; }
form_tool="build/default/tests/spellcrypt_score_form"
[ -x "$form_tool" ] || { echo "packages: $form_tool is missing (build the default preset)" >&2; exit 1; }
export DEBIAN_FRONTEND=noninteractive
fail() { echo "packages: $*" >&2; exit 1; }

scratch="$(mktemp -d /tmp/spellcrypt-packages.XXXXXX)"
server_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  dpkg --purge spellcrypt spellcrypt-server >/dev/null 2>&1 || true
  rm -rf "$scratch"
}
trap cleanup EXIT
chmod 755 "$scratch"

# --- 1. Reproducible ---
first="$scratch/first" second="$scratch/second"
started=$(date +%s)
bash scripts/package.sh "$first" >/dev/null
built=$(( $(date +%s) - started ))
sleep 2
bash scripts/package.sh "$second" >/dev/null
version="$(sed -n 's/^project(Spellcrypt VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
for name in spellcrypt spellcrypt-server; do
  deb="$first/${name}_${version}_amd64.deb"
  [ -f "$deb" ] || fail "$deb was not built"
  cmp -s "$deb" "$second/$(basename "$deb")" || fail "$(basename "$deb") differs between two builds of one commit"
  echo "reproducible: $(basename "$deb"), $(stat -c %s "$deb") bytes, sha256 $(sha256sum "$deb" | cut -c1-16)"
done
echo "one build took ${built} s"
game="$first/spellcrypt_${version}_amd64.deb"
server="$first/spellcrypt-server_${version}_amd64.deb"

# --- 2. lintian, the desktop entry, the metainfo ---
if ! lintian --fail-on error,warning --info --tag-display-limit 0 "$game" "$server" >"$scratch/lintian.txt" 2>&1; then
  cat "$scratch/lintian.txt" >&2
  fail "lintian finds fault with the packages"
fi
grep -v "^running with root privileges" "$scratch/lintian.txt" | sed 's/^/lintian: /' || true
mkdir "$scratch/unpacked"
dpkg-deb -x "$game" "$scratch/unpacked"
desktop-file-validate "$scratch/unpacked/usr/share/applications/spellcrypt.desktop"
appstreamcli validate --no-net "$scratch/unpacked/usr/share/metainfo/org.spellcrypt.Spellcrypt.metainfo.xml" >/dev/null

# --- 3. A previous version, installed ---
previous="$scratch/previous"
mkdir "$previous"
for deb in "$game" "$server"; do
  tree="$scratch/tree"
  rm -rf "$tree"
  dpkg-deb -R "$deb" "$tree"
  sed -i "s/^Version: .*/Version: ${version}~previous/" "$tree/DEBIAN/control"
  dpkg-deb --root-owner-group -b "$tree" "$previous/$(basename "$deb" | sed "s/_${version}_/_${version}~previous_/")" >/dev/null
done
dpkg --purge spellcrypt spellcrypt-server >/dev/null 2>&1 || true
apt-get install -y -q "$previous"/*.deb >"$scratch/apt.txt" 2>&1 || { cat "$scratch/apt.txt" >&2; fail "apt-get install failed"; }
dpkg -L spellcrypt spellcrypt-server | sort -u >"$scratch/files.txt"
getent passwd spellcrypt-server >/dev/null || fail "the server's user was not made"
[ "$(stat -c %U /var/lib/spellcrypt-server)" = spellcrypt-server ] || fail "/var/lib/spellcrypt-server is not the server's"
[ -L /etc/systemd/system/multi-user.target.wants/spellcrypt-server.service ] || fail "the unit is not enabled"
unit=/lib/systemd/system/spellcrypt-server.service
[ -f "$unit" ] || unit=/usr/lib/systemd/system/spellcrypt-server.service
bash scripts/check_unit.sh "$unit" | sed 's/^/unit: /'

# The game, headless, for a user who cannot write its installation.
home="$scratch/home"
mkdir "$home"
chown nobody "$home"
set +e
runuser -u nobody -- env -i PATH=/usr/bin:/bin:/usr/games HOME="$home" SDL_VIDEODRIVER=dummy \
  SDL_AUDIODRIVER=dummy timeout -s TERM 5 spellcrypt -WINDOWED >"$scratch/game.txt" 2>&1
set -e
folder="$home/.local/share/spellcrypt"
for f in log.txt defaults.dat; do
  [ -s "$folder/$f" ] || { cat "$scratch/game.txt" >&2; fail "the installed game did not write $folder/$f"; }
done
grep -q "Game started" "$folder/log.txt" || fail "the installed game did not start: $(tail -5 "$folder/log.txt")"
grep -q "ERROR" "$folder/log.txt" && fail "the installed game logged errors: $(grep ERROR "$folder/log.txt" | head -5)"
# On an X server, its window shows the title screen (kept as build/packages/title.png).
set +e
runuser -u nobody -- env -i PATH=/usr/bin:/bin:/usr/games HOME="$home" SDL_AUDIODRIVER=dummy \
  timeout 90 xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" sh -c '
    spellcrypt -WINDOWED & game=$!
    for _ in $(seq 60); do
      window=$(xdotool search --name Spellcrypt 2>/dev/null | head -1)
      [ -n "$window" ] && break
      sleep 0.5
    done
    sleep 3
    import -window "$window" "$0"
    kill -TERM "$game"
    wait "$game"' "$home/title.png" >"$scratch/title.txt" 2>&1
set -e
[ -s "$home/title.png" ] || { cat "$scratch/title.txt" >&2; fail "no picture of the installed game's window"; }
mkdir -p build/packages
mv "$home/title.png" build/packages/title.png
colours="$(identify -format %k build/packages/title.png)"
[ "$colours" -gt 1000 ] || fail "the installed game's window shows $colours colours, not the title screen"
echo "game: its window shows the title screen ($(identify -format %wx%h build/packages/title.png), $colours colours)"
sha256sum "$folder"/* >"$scratch/player_files.txt"
echo "game: ran for nobody, files in ~/.local/share/spellcrypt: $(cd "$folder" && echo *)"

# The server, as its unit starts it.
command_line="$(sed -n 's/^ExecStart=//p' "$unit")"
port="$(sed -n 's/.*--port \([0-9]*\).*/\1/p' <<<"$command_line")"
start_server() {
  # shellcheck disable=SC2086
  setpriv --reuid spellcrypt-server --regid spellcrypt-server --init-groups -- $command_line \
    >>"$scratch/server.txt" 2>&1 &
  server_pid=$!
  for _ in $(seq 1 50); do
    curl -sf "http://127.0.0.1:$port/" >/dev/null 2>&1 && return 0
    sleep 0.2
  done
  cat "$scratch/server.txt" >&2
  fail "the installed server did not answer on port $port"
}
stop_server() {
  kill -TERM "$server_pid"
  wait "$server_pid" || fail "the server did not stop in order: $(tail -3 "$scratch/server.txt")"
  server_pid=""
}
start_server
printf 'Score: 4,200\r\nDungeon: 3\r\n\r\n- strong words used -\r\n\r\nLANTERN\r\n' >"$scratch/summary.txt"
answer="$("$form_tool" 1 PackageTester 4200 3 0 "$scratch/summary.txt" |
  curl -s --data-binary @- -H 'Content-Type: application/x-www-form-urlencoded' \
    "http://127.0.0.1:$port/splcryp/submit.php")"
[ "$answer" = "msg|Your score of 4,200 is #1 of the Normal rankings." ] || fail "the server answered: $answer"
curl -s "http://127.0.0.1:$port/?mode=1" | grep -q PackageTester || fail "GET / does not show the score"
curl -s "http://127.0.0.1:$port/entry?id=1" | grep -q "The strong words" ||
  fail "the entry's page does not list its strong words' meanings"
curl -sf "http://127.0.0.1:$port/play/" | grep -q "spellcrypt\.[0-9a-f]*\.js" || fail "the browser edition is not served"
stop_server
echo "server: $command_line"
echo "server: took a score, showed it with its strong word's meaning, and served the browser edition"

# --- 4. The upgrade keeps the player's files and the scores ---
apt-get install -y -q "$game" "$server" >"$scratch/apt.txt" 2>&1 || { cat "$scratch/apt.txt" >&2; fail "the upgrade failed"; }
[ "$(dpkg-query -W -f '${Version}' spellcrypt-server)" = "$version" ] || fail "the upgrade did not take"
sha256sum -c --quiet "$scratch/player_files.txt" || fail "the upgrade changed the player's files"
start_server
curl -s "http://127.0.0.1:$port/?mode=1" | grep -q PackageTester || fail "the score is gone after the upgrade"
stop_server
echo "upgrade: ${version}~previous to $version kept the player's files and the scores"

# --- 5. Removed and purged, without a question ---
apt-get remove -y -q spellcrypt spellcrypt-server </dev/null >"$scratch/apt.txt" 2>&1 || { cat "$scratch/apt.txt" >&2; fail "apt-get remove failed"; }
# What removal keeps (the server's state, its user) goes with the purge; apt knows packages installed
# from files only while they are installed, so dpkg purges them.
dpkg --purge spellcrypt spellcrypt-server </dev/null >"$scratch/apt.txt" 2>&1 || { cat "$scratch/apt.txt" >&2; fail "the purge failed"; }
for name in spellcrypt spellcrypt-server; do
  status="$(dpkg-query -W -f '${db:Status-Status}' "$name" 2>/dev/null || true)"
  [ -z "$status" ] || [ "$status" = not-installed ] || fail "$name is still known to dpkg as $status after the purge"
done
left=()
while IFS= read -r path; do
  [ -e "$path" ] || [ -L "$path" ] || continue
  # A folder the system or other packages still have files in (/usr/share/icons/hicolor/…) stays.
  if [ -d "$path" ]; then
    [ -n "$(ls -A "$path" 2>/dev/null)" ] && continue
    dpkg -S "$path" >/dev/null 2>&1 && continue
  fi
  left+=("$path")
done <"$scratch/files.txt"
[ ${#left[@]} -eq 0 ] || fail "left on disk after the purge: ${left[*]}"
for path in /var/lib/spellcrypt-server /etc/systemd/system/multi-user.target.wants/spellcrypt-server.service; do
  [ -e "$path" ] || [ -L "$path" ] && fail "$path is left after the purge"
done
getent passwd spellcrypt-server >/dev/null && fail "the server's user is left after the purge"
getent group spellcrypt-server >/dev/null && fail "the server's group is left after the purge"
echo "purge: nothing of the packages is left"
echo "packages ok"
