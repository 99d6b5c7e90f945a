#!/usr/bin/env bash
# Fails when a C++ file of the project differs from what clang-format (.clang-format) makes of it.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
if git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror 2>/tmp/spellcrypt-format.log; then
  echo "format ok"
else
  grep -E 'error:' /tmp/spellcrypt-format.log | cut -d: -f1 | sort -u | sed 's/^/  needs clang-format: /' >&2
  exit 1
fi
