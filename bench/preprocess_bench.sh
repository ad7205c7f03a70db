#!/usr/bin/env bash
# `preprocess` of a 25 MB tree of about 100 files made by bench/gen_config.py,
# against `xmllint --xinclude` reading the same files through their XInclude
# twin: both parse every file and print the joined tree. Paired medians of
# BENCH_RUNS runs (default 5).
#
#   bench/preprocess_bench.sh [BINARY]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/measure.sh"
binary=$(realpath "${1:-build/src/hesk_config}")
command -v xmllint >/dev/null || { echo "xmllint is needed as the yardstick" >&2; exit 1; }
bench_work_dir preprocess

dir="$bench_dir/tree"
python3 "$here/gen_config.py" "$dir" --scale 4 --chunk 1500 >/dev/null
bytes=$(cat "$dir"/*_[0-9]*.xml | wc -c)
echo "input: $(ls "$dir"/*_[0-9]*.xml | wc -l) files"
paired "preprocess 25 MB tree" "$bytes" \
  "rm -f '$bench_dir/out.xml' && '$binary' preprocess -p BENCH -x '$dir/main.xml' -o '$bench_dir/out.xml' -m 1" \
  "xmllint --xinclude '$dir/main_xinclude.xml' >'$bench_dir/xmllint.xml'"
