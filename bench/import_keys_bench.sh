#!/usr/bin/env bash
# `import` of 1,000,000 records with empty roots (a 45 MB exchange file),
# against the sqlite3 shell reading a dump of the same records.
#
#   bench/import_keys_bench.sh [BINARY]
here=$(cd "$(dirname "$0")" && pwd)
exec "$here/import_bench.sh" "${1:-build/src/hesk_config}" 1000000 bare
