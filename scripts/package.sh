#!/usr/bin/env bash
# Builds the Debian packages of the game (spellcrypt) and of the score server (spellcrypt-server)
# from the last commit, with debhelper (debian/), in a folder of their own: the committed tree
# (git archive, so nothing but the commit goes in) plus the pinned npm material the generators
# read. The packages are reproducible: the date of every file and of the changelog is the commit's
# (SOURCE_DATE_EPOCH), the build folder is mapped out of the binaries (dpkg-buildflags'
# -ffile-prefix-map), and the archives are sorted by dpkg-deb.
# Usage: scripts/package.sh [OUT_DIR]   (default build/packages; prints the packages' paths)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root="$(pwd)"
out="${1:-build/packages}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
bash scripts/deps.sh --package >&2

version="$(sed -n 's/^project(Spellcrypt VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
[ -n "$version" ] || { echo "package: no version in CMakeLists.txt" >&2; exit 1; }
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "package: the work tree has uncommitted changes; the packages are built from the last commit" >&2
fi
commit="$(git rev-parse --short=12 HEAD)"
export SOURCE_DATE_EPOCH="$(git log -1 --format=%ct HEAD)"

work="$(mktemp -d /tmp/spellcrypt-package.XXXXXX)"
trap 'rm -rf "$work"' EXIT
src="$work/spellcrypt-$version"
mkdir -p "$src/.cache"
git archive --format=tar HEAD | tar -x -C "$src"
# The generators' npm material, pinned and installed by scripts/deps.sh; not in the repository.
cp -a .cache/art_assets .cache/word_filter "$src/.cache/"
cat >"$src/debian/changelog" <<CHANGELOG
spellcrypt ($version) unstable; urgency=medium

  * Built from commit $commit.

 -- Spellcrypt developers <developers@spellcrypt.org>  $(date -u -R -d "@$SOURCE_DATE_EPOCH")
CHANGELOG
# Every file of the tree dated at the commit, as a checkout at that moment would be.
find "$src" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

# ccache, when there is one: the user's cache (debhelper gives the build a home of its own), with
# the build folder left out of its keys, as it is out of the objects, so that builds in other
# folders share its results.
if [ -d /usr/lib/ccache ]; then
  export PATH="/usr/lib/ccache:$PATH" CCACHE_BASEDIR="$work" CCACHE_NOHASHDIR=1
  export CCACHE_DIR="${CCACHE_DIR:-$(ccache -k cache_dir 2>/dev/null || echo "$HOME/.cache/ccache")}"
fi
(cd "$src" && dpkg-buildpackage -b -us -uc --no-sign >"$work/build.log" 2>&1) || {
  tail -60 "$work/build.log" >&2
  echo "package: dpkg-buildpackage failed (the whole log: run again with the folder kept)" >&2
  exit 1
}
for deb in "$work"/*.deb; do
  cp "$deb" "$out/"
  echo "$out/$(basename "$deb")"
done
cp "$work"/*.buildinfo "$out/" 2>/dev/null || true
