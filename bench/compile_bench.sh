#!/usr/bin/env bash
# Times `compile` on configurations made by bench/gen_config.py at scale 1
# and 4 (median of BENCH_RUNS runs, default 5) with the peak memory of each
# run and its multiple of the input's bytes. With linear work the 4x run
# takes about four times as long as the 1x run; the last line gives the
# ratio. The yardstick is xmllint reading the same configuration through
# its XInclude twin (the parse alone: the floor of any tool that reads it).
#
#   bench/compile_bench.sh [BINARY]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/measure.sh"
binary=$(realpath "${1:-build/src/hesk_config}")
bench_work_dir compile

declare -A seconds cpu
for scale in 1 4; do
  dir="$bench_dir/x$scale"
  python3 "$here/gen_config.py" "$dir" --scale "$scale" >/dev/null
  bytes=$(cat "$dir"/*.xml | wc -c)
  out="$dir/out"
  paired "compile ${scale}x" "$bytes" \
    "rm -rf '$out' && '$binary' compile -p BENCH -x '$dir/main.xml' --settings='$out/settings.kvdb' \
       --storage='$out/storage.kvdb' -e '$out/config.vsm' -m 1" \
    "xmllint --xinclude --noout '$dir/main_xinclude.xml'"
  seconds[$scale]=$paired_seconds
  cpu[$scale]=$paired_cpu
done
awk -v a="${seconds[4]}" -v b="${seconds[1]}" -v c="${cpu[4]}" -v d="${cpu[1]}" \
  'BEGIN { printf "compile 4x / 1x: wall %.2f  cpu %.2f\n", (b > 0 ? a / b : 0), (d > 0 ? c / d : 0) }'
