#!/usr/bin/env bash
# Fails when a file of the game library outside platform/ (and the mixer back end in audio/)
# includes SDL or POSIX headers: the game talks to the platform only through its interfaces.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
pattern='^\s*#\s*include\s*[<"](SDL[^">]*|unistd\.h|fcntl\.h|pthread\.h|signal\.h|dirent\.h|netdb\.h|poll\.h|sys/[^">]+|netinet/[^">]+|arpa/[^">]+)[">]'
allowed='^(platform/|audio/mixer_)'
status=0
while IFS= read -r file; do
  [[ "$file" =~ $allowed ]] && continue
  if grep -nE "$pattern" "$file"; then
    echo "  ^ in $file: only platform/ (and audio/mixer_*) may include SDL or POSIX headers" >&2
    status=1
  fi
done < <(git ls-files 'app/*' 'words/*' 'game/*' 'scores/*' 'ui/*' 'audio/*' 'gfx/*' 'platform/*' | grep -E '\.(h|cpp)$')
[ $status -eq 0 ] && echo "layering ok"
exit $status
