#!/usr/bin/env bash
# Times `compile` on configurations made by bench/gen_config.py at scale 1
# and 4 and reports the peak memory of each run. With linear work the 4x run
# takes about four times as long as the 1x run.
#
#   bench/compile_bench.sh [BINARY] [SCALES...]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
binary=$(realpath "${1:-build/src/hesk_config}")
shift || true
scales=("$@")
[ ${#scales[@]} -eq 0 ] && scales=(1 4)
work=$(mktemp -d "${TMPDIR:-/tmp}/hesk_compile_bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Peak resident memory of the finished child in kB, taken from GNU time when
# it is installed, else from the kernel's account of the waited-for children.
run_measured() {  # run_measured LOG COMMAND...
  local log=$1
  shift
  if [ -x /usr/bin/time ]; then
    /usr/bin/time -v -o "$log.time" "$@" >"$log" 2>&1
    peak_kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$log.time")
  else
    python3 - "$log" "$@" <<'PY'
import resource, subprocess, sys
log = sys.argv[1]
with open(log, "w") as out:
    status = subprocess.call(sys.argv[2:], stdout=out, stderr=subprocess.STDOUT)
with open(log + ".peak", "w") as peak:
    peak.write(str(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss))
sys.exit(status)
PY
    peak_kb=$(cat "$log.peak")
  fi
}

printf '%-6s %-10s %-10s %-12s %s\n' scale input seconds peak_MB summary
for scale in "${scales[@]}"; do
  dir="$work/x$scale"
  python3 "$here/gen_config.py" "$dir" --scale "$scale" >/dev/null
  out="$dir/out"
  start=$(date +%s.%N)
  status=0
  run_measured "$dir/compile.log" "$binary" compile -p BENCH -x "$dir/main.xml" \
    --settings="$out/settings.kvdb" --storage="$out/storage.kvdb" -e "$out/config.vsm" -m 1 || status=$?
  end=$(date +%s.%N)
  summary=$(grep -o 'Compilation completed.*' "$dir/compile.log" | tail -1 || true)
  [ $status -ne 0 ] && summary="exit $status: ${summary:-$(tail -1 "$dir/compile.log")}"
  printf '%-6s %-10s %-10.2f %-12.1f %s\n' "${scale}x" "$(du -sh "$dir" --exclude=out | cut -f1)" \
    "$(echo "$end - $start" | bc)" "$(echo "$peak_kb / 1024" | bc -l)" "$summary"
done
