#!/usr/bin/env bash
# `export` of a database of 80,000 records (imported from an exchange file
# made by bench/gen_exchange.py), against `sqlite3 db .dump` of the same
# database. Paired medians of BENCH_RUNS runs (default 5).
#
#   bench/export_bench.sh [BINARY] [RECORDS] [SHAPE]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/measure.sh"
binary=$(realpath "${1:-build/src/hesk_config}")
records=${2:-80000}
shape=${3:-settings}
command -v sqlite3 >/dev/null || { echo "sqlite3 is needed as the yardstick" >&2; exit 1; }
bench_work_dir export

python3 "$here/gen_exchange.py" "$bench_dir/exchange.xml" --records "$records" --shape "$shape"
"$binary" import -x "$bench_dir/exchange.xml" -b "$bench_dir/records.kvdb" -m 1 >/dev/null
paired "export $records $shape records" "$(wc -c <"$bench_dir/exchange.xml")" \
  "rm -f '$bench_dir/out.xml' && '$binary' export -b '$bench_dir/records.kvdb' -x '$bench_dir/out.xml' -m 1" \
  "sqlite3 '$bench_dir/records.kvdb' .dump >'$bench_dir/dump.sql'"
