#!/usr/bin/env bash
# Builds the score server and runs it on 127.0.0.1:8077 with its SQLite database in
# build/server-data/. Arguments are passed on and win over these (e.g. --port 9000, --data DIR,
# --postgres "host=... dbname=...", --rate 0). Stop it with Ctrl+C or SIGTERM.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/deps.sh
[ -f build/default/build.ninja ] || cmake --preset default >/dev/null
cmake --build --preset default --target spellcrypt-server spellcrypt_data
exec build/default/bin/spellcrypt-server --host 127.0.0.1 --port 8077 --data build/server-data \
  --meanings build/default/bin/data/meanings.dat "$@"
