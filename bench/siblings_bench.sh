#!/usr/bin/env bash
# `preprocess` of one file whose root holds 1,000,000 empty sibling elements
# (5 MB), against `xmllint` reading and printing the same file. Paired medians
# of BENCH_RUNS runs (default 5).
#
#   bench/siblings_bench.sh [BINARY] [COUNT]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/measure.sh"
binary=$(realpath "${1:-build/src/hesk_config}")
count=${2:-1000000}
bench_work_dir siblings

python3 - "$bench_dir/wide.xml" "$count" <<'PY'
import sys
with open(sys.argv[1], "w") as f:
    f.write("<root>\n")
    f.write("<a/>\n" * int(sys.argv[2]))
    f.write("</root>\n")
PY
yardstick=-
command -v xmllint >/dev/null && yardstick="xmllint '$bench_dir/wide.xml' >'$bench_dir/xmllint.xml'"
paired "preprocess $count siblings" "$(wc -c <"$bench_dir/wide.xml")" \
  "rm -f '$bench_dir/out.xml' && '$binary' preprocess -p BENCH -x '$bench_dir/wide.xml' -o '$bench_dir/out.xml' -m 1" "$yardstick"
