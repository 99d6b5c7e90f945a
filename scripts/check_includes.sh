#!/usr/bin/env bash
# The layering check. Reads scripts/layers.txt and fails when a file of the game library
#  - includes a file of a layer above its own (ui/ may read the global state of app/),
#  - includes SDL headers outside the SDL back ends, or POSIX headers outside platform/,
# or when a file of the score server includes anything but the layers it shares, or when a folder
# of C++ sources is neither a layer nor one of the known program folders.
# Usage: scripts/check_includes.sh [source root]   (default: this checkout)
set -euo pipefail
root="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
cd "$root"

field() { sed -n "s/^$1:[[:space:]]*//p" scripts/layers.txt; }
read -r -a layers <<<"$(field layers)"
read -r -a sdl <<<"$(field sdl)"
read -r -a posix <<<"$(field posix)"
read -r -a server <<<"$(field server)"
allow="$(field allow)"
[ ${#layers[@]} -gt 0 ] || { echo "scripts/layers.txt names no layers" >&2; exit 2; }

declare -A rank
for i in "${!layers[@]}"; do rank[${layers[$i]}]=$i; done

sdl_pattern='^\s*#\s*include\s*[<"](SDL[^">]*|SDL2/[^">]*)[">]'
posix_pattern='^\s*#\s*include\s*[<"](unistd\.h|fcntl\.h|pthread\.h|signal\.h|dirent\.h|netdb\.h|poll\.h|sys/[^">]+|netinet/[^">]+|arpa/[^">]+)[">]'

starts_with_any() {
  local file=$1
  shift
  for prefix in "$@"; do [[ "$file" == "$prefix"* ]] && return 0; done
  return 1
}

status=0
fail() {
  echo "  $1" >&2
  status=1
}

sources() { find "$@" -type f \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null | sed 's|^\./||' | sort; }

for layer in "${layers[@]}"; do
  [ -d "$layer" ] || continue
  while IFS= read -r file; do
    own=${rank[$layer]}
    while IFS= read -r inc; do
      [ -n "$inc" ] || continue
      folder=${inc%%/*}
      [ -n "${rank[$folder]+x}" ] || continue
      if [ "${rank[$folder]}" -gt "$own" ] && [ "$layer $folder" != "$allow" ]; then
        fail "$file includes $inc: $folder/ is above $layer/"
      fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([a-z_0-9]*\/[^"]*\)".*/\1/p' "$file")
    if grep -qE "$sdl_pattern" "$file" && ! starts_with_any "$file" "${sdl[@]}"; then
      fail "$file includes SDL: only ${sdl[*]} may"
    fi
    if grep -qE "$posix_pattern" "$file" && ! starts_with_any "$file" "${posix[@]}" "${sdl[@]}"; then
      fail "$file includes POSIX headers: only ${posix[*]} may"
    fi
  done < <(sources "$layer")
done

if [ -d server ]; then
  while IFS= read -r file; do
    while IFS= read -r inc; do
      folder=${inc%%/*}
      [ -n "${rank[$folder]+x}" ] || continue
      [[ " ${server[*]} " == *" $folder "* ]] || fail "$file includes $inc: the server shares only ${server[*]}"
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([a-z_0-9]*\/[^"]*\)".*/\1/p' "$file")
  done < <(sources server)
fi

# A new folder of sources must be a layer (and so compiled and checked) or a known program folder.
known=" ${layers[*]} tests bench fuzz tools server build out "
while IFS= read -r dir; do
  name=${dir#./}
  [[ "$name" == .* ]] && continue
  [[ "$known" == *" $name "* ]] && continue
  if [ -n "$(sources "$name" | head -1)" ]; then
    fail "$name/ holds C++ sources but is not a layer in scripts/layers.txt"
  fi
done < <(find . -mindepth 1 -maxdepth 1 -type d)

[ $status -eq 0 ] && echo "layering ok (${layers[*]})"
exit $status
