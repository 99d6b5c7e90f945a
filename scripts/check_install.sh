#!/usr/bin/env bash
# Installs the built game into a temporary prefix and runs it there as a user who cannot write the
# installation (nobody): the game must start, and keep its log and settings in that user's data
# folder ($XDG_DATA_HOME/spellcrypt, by default ~/.local/share/spellcrypt) instead of failing; then
# it is played under Xvfb into a fight and quit with the game saved, which lands there too.
# Usage: scripts/check_install.sh   (after the default preset is built)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
prefix="$(mktemp -d /tmp/spellcrypt-install.XXXXXX)"
home="$(mktemp -d /tmp/spellcrypt-home.XXXXXX)"
trap 'rm -rf "$prefix" "$home"' EXIT
cmake --install build/default --prefix "$prefix" >/dev/null
for f in bin/spellcrypt lib/spellcrypt/spellcrypt lib/spellcrypt/data/master_word_list.txt \
  share/applications/spellcrypt.desktop share/metainfo/org.spellcrypt.Spellcrypt.metainfo.xml \
  share/icons/hicolor/64x64/apps/spellcrypt.png share/doc/spellcrypt/CREDITS.md; do
  [ -e "$prefix/$f" ] || { echo "install: $f is missing" >&2; exit 1; }
done
grep -q "WordNet 3.0 Copyright 2006 by Princeton University" "$prefix/share/doc/spellcrypt/CREDITS.md" ||
  { echo "install: the credits lack WordNet's notice" >&2; exit 1; }
chmod -R a+rX,go-w "$prefix"
run_as=()
if [ "$(id -u)" -eq 0 ]; then
  chown nobody "$home"
  run_as=(runuser -u nobody --)
fi
# The game quits in order on SIGTERM (settings saved, exit code 0).
set +e
"${run_as[@]}" env -i PATH=/usr/bin:/bin HOME="$home" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
  timeout -s TERM 4 "$prefix/bin/spellcrypt" -WINDOWED >"$home/out.txt" 2>&1
set -e
folder="$home/.local/share/spellcrypt"
for f in log.txt defaults.dat; do
  [ -s "$folder/$f" ] || { echo "install: $folder/$f was not written" >&2; cat "$home/out.txt" >&2; exit 1; }
done
grep -q "cannot be written" "$folder/log.txt" || { echo "install: the log does not say where files go" >&2; exit 1; }
grep -q "Sound System\|Game started" "$folder/log.txt"
if [ -n "$(find "$prefix" -newer "$prefix/bin/spellcrypt" -type f -name '*.dat' 2>/dev/null)" ]; then
  echo "install: the game wrote into its installation" >&2
  exit 1
fi

# Played under an X server: into a fight, then Escape and "yes" quit it with the game saved. The
# saved game goes to the data folder as well.
for tool in xvfb-run xdotool; do
  command -v "$tool" >/dev/null || { echo "install: $tool is missing (scripts/deps.sh installs it)" >&2; exit 1; }
done
cp scripts/drive_fight.sh "$home/drive.sh"
chmod 755 "$home/drive.sh"
set +e
"${run_as[@]}" env -i PATH=/usr/bin:/bin HOME="$home" SDL_AUDIODRIVER=dummy \
  timeout 120 xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
  sh -c '"$0" $$ quit "$2" & exec "$1" -WINDOWED' "$home/drive.sh" "$prefix/bin/spellcrypt" \
  "$folder/autosave.sav" >"$home/play.txt" 2>&1
set -e
if [ ! -s "$folder/autosave.sav" ]; then
  echo "install: the game played and quit did not save to $folder/autosave.sav" >&2
  tail -20 "$folder/log.txt" >&2
  exit 1
fi
if [ -n "$(find "$prefix" -type f -name '*.sav' 2>/dev/null)" ]; then
  echo "install: the game saved into its installation" >&2
  exit 1
fi
echo "install ok: the installed game keeps its files (log, settings, saved game) in ~/.local/share/spellcrypt"
