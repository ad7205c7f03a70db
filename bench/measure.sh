# Shared by the benchmark scripts (sourced, not run).
#
# The machine is usually shared, so a figure alone says little: each
# workload runs the tool and its yardstick alternately, five times each by
# default (BENCH_RUNS), and reports the median wall time and peak memory of
# each and their ratio. Peak memory comes from GNU time's "Maximum resident
# set size" when it is installed, else from the kernel's account of the
# waited-for children.

BENCH_RUNS=${BENCH_RUNS:-5}

bench_work_dir() {  # bench_work_dir NAME: a fresh directory removed at exit
  bench_dir=$(mktemp -d "${TMPDIR:-/tmp}/hesk_$1.XXXXXX")
  trap 'rm -rf "$bench_dir"' EXIT
}

# Runs COMMAND once with its output into LOG; sets run_seconds, run_peak_kb
# and run_status.
run_measured() {  # run_measured LOG COMMAND...
  local log=$1
  shift
  run_status=0
  if [ -x /usr/bin/time ]; then
    /usr/bin/time -f '%e %M' -o "$log.time" "$@" >"$log" 2>&1 || run_status=$?
    read -r run_seconds run_peak_kb < <(tail -1 "$log.time")
  else
    python3 - "$log" "$@" <<'PY' || run_status=$?
import resource, subprocess, sys, time
log = sys.argv[1]
start = time.monotonic()
with open(log, "w") as out:
    status = subprocess.call(sys.argv[2:], stdout=out, stderr=subprocess.STDOUT)
with open(log + ".time", "w") as t:
    t.write("%.2f %d\n" % (time.monotonic() - start, resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss))
sys.exit(status)
PY
    read -r run_seconds run_peak_kb < <(tail -1 "$log.time")
  fi
}

median() {  # median NUMBERS...
  printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Measures one command BENCH_RUNS times; sets median_seconds and median_mb.
# Stops the script when the command fails, showing its output.
measure() {  # measure LOG COMMAND...
  local log=$1 times=() peaks=() i
  shift
  for ((i = 0; i < BENCH_RUNS; ++i)); do
    run_measured "$log" "$@"
    if [ "$run_status" -ne 0 ] && [ -z "${BENCH_ALLOW_FAILURE:-}" ]; then
      echo "failed ($run_status): $*" >&2
      tail -5 "$log" >&2
      exit 1
    fi
    times+=("$run_seconds")
    peaks+=("$run_peak_kb")
  done
  median_seconds=$(median "${times[@]}")
  median_mb=$(awk -v kb="$(median "${peaks[@]}")" 'BEGIN { printf "%.1f", kb / 1024 }')
}

# Measures the tool and the yardstick in alternation (so both see the same
# load) and prints one line: the workload, the tool's and the yardstick's
# median seconds and peak MB, and the tool/yardstick ratios. TOOL and
# YARDSTICK are shell strings; a yardstick "-" measures the tool alone.
paired() {  # paired WORKLOAD INPUT_BYTES TOOL YARDSTICK
  local workload=$1 bytes=$2 tool=$3 yardstick=$4 tool_times=() tool_peaks=() yard_times=() yard_peaks=() i
  local runs=$BENCH_RUNS
  BENCH_RUNS=1
  for ((i = 0; i < runs; ++i)); do
    measure "$bench_dir/tool.log" bash -c "$tool"
    tool_times+=("$median_seconds")
    tool_peaks+=("$median_mb")
    if [ "$yardstick" != - ]; then
      measure "$bench_dir/yardstick.log" bash -c "$yardstick"
      yard_times+=("$median_seconds")
      yard_peaks+=("$median_mb")
    fi
  done
  BENCH_RUNS=$runs
  local ts tm ys=- ym=- rt=- rm=-
  ts=$(median "${tool_times[@]}")
  tm=$(median "${tool_peaks[@]}")
  if [ "$yardstick" != - ]; then
    ys=$(median "${yard_times[@]}")
    ym=$(median "${yard_peaks[@]}")
    rt=$(awk -v a="$ts" -v b="$ys" 'BEGIN { printf "%.2f", b > 0 ? a / b : 0 }')
    rm=$(awk -v a="$tm" -v b="$ym" 'BEGIN { printf "%.2f", b > 0 ? a / b : 0 }')
  fi
  local per_byte
  per_byte=$(awk -v mb="$tm" -v bytes="$bytes" 'BEGIN { printf "%.1f", bytes > 0 ? mb * 1048576 / bytes : 0 }')
  printf '%-34s %8.1f MB  tool %6.2f s %8.1f MB (%5sx input)  yardstick %6s s %8s MB  ratio time %5s  memory %5s\n' \
    "$workload" "$(awk -v b="$bytes" 'BEGIN { print b / 1048576 }')" "$ts" "$tm" "$per_byte" "$ys" "$ym" "$rt" "$rm"
  paired_seconds=$ts
}
