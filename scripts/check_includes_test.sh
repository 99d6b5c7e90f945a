#!/usr/bin/env bash
# Proves the layering check bites: a small tree with the real layer list passes, and each planted
# fault (an upward include, SDL outside its back ends, POSIX outside platform/, a server include of
# the game, a folder that is no layer) makes it fail.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT

fresh() {
  rm -rf "${tree:?}"/*
  mkdir -p "$tree/scripts" "$tree/base" "$tree/words" "$tree/ui" "$tree/app" "$tree/platform"
  cp "$here/layers.txt" "$tree/scripts/"
  printf '#pragma once\n' >"$tree/base/log.h"
  printf '#include "base/log.h"\n' >"$tree/words/dictionary.cpp"
  printf '#include "words/dictionary.h"\n#include "app/globals.h"\n' >"$tree/ui/thing.cpp"
  printf '#include "ui/framework/thing.h"\n' >"$tree/app/startup.cpp"
  printf '#include <SDL.h>\n#include <unistd.h>\n' >"$tree/platform/sdl_platform.cpp"
  printf '#include <unistd.h>\n' >"$tree/platform/files.cpp"
}

expect() {
  local want=$1 what=$2
  if bash "$here/check_includes.sh" "$tree" >/dev/null 2>&1; then got=pass; else got=fail; fi
  if [ "$got" != "$want" ]; then
    echo "layering check: expected $want for $what, got $got" >&2
    exit 1
  fi
  echo "  $what: $got (as expected)"
}

fresh
expect pass "a clean tree"
printf '#include "ui/framework/thing.h"\n' >>"$tree/words/dictionary.cpp"
expect fail "an upward include (words/ -> ui/)"
fresh
printf '#include "app/app.h"\n' >"$tree/base/text.cpp"
expect fail "an upward include (base/ -> app/)"
fresh
printf '#include <SDL2/SDL.h>\n' >"$tree/ui/thing.h"
expect fail "SDL outside its back ends"
fresh
printf '#include <sys/socket.h>\n' >"$tree/words/dictionary.h"
expect fail "POSIX outside platform/"
fresh
mkdir -p "$tree/server" && printf '#include "ui/framework/thing.h"\n' >"$tree/server/main.cpp"
expect fail "the server including the game's screens"
fresh
mkdir -p "$tree/engine" && printf 'int x;\n' >"$tree/engine/x.cpp"
expect fail "a folder of sources that is no layer"
