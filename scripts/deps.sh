#!/usr/bin/env bash
# Installs the Debian packages listed in scripts/packages.txt that are not installed yet, then the
# pinned npm packages the build reads (the picture generator's icons, the word list's filter of
# slurs and strong profanity). The build itself never installs anything.
# Quick when nothing is missing: one dpkg-query, no apt or npm call.
# With --web, also what the browser edition and its test need (scripts/web-packages.txt), and with
# --package what building and checking the Debian packages needs (scripts/package-packages.txt);
# the desktop game does without both.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
lists=("$here"/packages*.txt)
for option in "$@"; do
  case "$option" in
    --web) lists+=("$here/web-packages.txt") ;;
    --package) lists+=("$here/package-packages.txt") ;;
    *) echo "deps.sh: unknown option $option (--web, --package)" >&2; exit 2 ;;
  esac
done
mapfile -t wanted < <(grep -hvE '^\s*(#|$)' "${lists[@]}" | awk '{print $1}' | sort -u)
missing=()
for pkg in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$pkg")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing missing packages: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Need root (or sudo) to install: ${missing[*]}" >&2; exit 1; }
    sudo_cmd=(sudo)
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q || echo "apt-get update failed; trying the install with the current package lists" >&2
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The picture generator's pinned icon collection (from the npm registry, into .cache/).
bash "$here/art_assets.sh" >/dev/null
# The word list's filter of slurs and strong profanity.
bash "$here/word_filter.sh" >/dev/null
