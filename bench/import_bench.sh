#!/usr/bin/env bash
# `import` of an exchange file made by bench/gen_exchange.py into a new
# database, against the sqlite3 shell reading a dump of the same records into
# a new database (`sqlite3 new.db ".read dump.sql"`). Paired medians of
# BENCH_RUNS runs (default 5).
#
#   bench/import_bench.sh [BINARY] [RECORDS] [SHAPE]
# RECORDS defaults to 80000 (about 12 MB); SHAPE is settings or bare (see
# gen_exchange.py): 1000000 bare records are the 45 MB "1 M keys" workload.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/measure.sh"
binary=$(realpath "${1:-build/src/hesk_config}")
records=${2:-80000}
shape=${3:-settings}
command -v sqlite3 >/dev/null || { echo "sqlite3 is needed as the yardstick" >&2; exit 1; }
bench_work_dir import

python3 "$here/gen_exchange.py" "$bench_dir/exchange.xml" --records "$records" --shape "$shape"
"$binary" import -x "$bench_dir/exchange.xml" -b "$bench_dir/reference.kvdb" -m 1 >/dev/null
sqlite3 "$bench_dir/reference.kvdb" .dump >"$bench_dir/dump.sql"
paired "import $records $shape records" "$(wc -c <"$bench_dir/exchange.xml")" \
  "rm -f '$bench_dir/new.kvdb'* && '$binary' import -x '$bench_dir/exchange.xml' -b '$bench_dir/new.kvdb' -m 1" \
  "rm -f '$bench_dir/new.db'* && sqlite3 '$bench_dir/new.db' '.read $bench_dir/dump.sql'"
