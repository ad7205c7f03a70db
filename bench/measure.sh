# Shared by the benchmark scripts (sourced, not run).
#
# The machine is usually shared, so a figure alone says little: each
# workload runs the tool and its yardstick alternately, five times each by
# default (BENCH_RUNS), and reports the median wall time and peak memory of
# each and their ratio. Times are given twice: wall clock and processor time
# (user + system), which a busy machine disturbs less. Peak memory comes from GNU time's "Maximum resident
# set size" when it is installed, else from the kernel's account of the
# waited-for children.

BENCH_RUNS=${BENCH_RUNS:-5}

bench_work_dir() {  # bench_work_dir NAME: a fresh directory removed at exit
  bench_dir=$(mktemp -d "${TMPDIR:-/tmp}/hesk_$1.XXXXXX")
  trap 'rm -rf "$bench_dir"' EXIT
}

# Runs COMMAND once with its output into LOG; sets run_seconds, run_cpu,
# run_peak_kb and run_status.
run_measured() {  # run_measured LOG COMMAND...
  local log=$1
  shift
  run_status=0
  if [ -x /usr/bin/time ]; then
    /usr/bin/time -f '%e %U %S %M' -o "$log.time" "$@" >"$log" 2>&1 || run_status=$?
    local user system
    read -r run_seconds user system run_peak_kb < <(tail -1 "$log.time")
    run_cpu=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')
  else
    python3 - "$log" "$@" <<'PY' || run_status=$?
import resource, subprocess, sys, time
log = sys.argv[1]
start = time.monotonic()
with open(log, "w") as out:
    status = subprocess.call(sys.argv[2:], stdout=out, stderr=subprocess.STDOUT)
usage = resource.getrusage(resource.RUSAGE_CHILDREN)
with open(log + ".time", "w") as t:
    t.write("%.2f %.2f %d\n" % (time.monotonic() - start, usage.ru_utime + usage.ru_stime, usage.ru_maxrss))
sys.exit(status)
PY
    read -r run_seconds run_cpu run_peak_kb < <(tail -1 "$log.time")
  fi
}

median() {  # median NUMBERS...
  printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Measures one command BENCH_RUNS times; sets median_seconds, median_cpu and
# median_mb.
# Stops the script when the command fails, showing its output.
measure() {  # measure LOG COMMAND...
  local log=$1 times=() cpus=() peaks=() i
  shift
  for ((i = 0; i < BENCH_RUNS; ++i)); do
    run_measured "$log" "$@"
    if [ "$run_status" -ne 0 ] && [ -z "${BENCH_ALLOW_FAILURE:-}" ]; then
      echo "failed ($run_status): $*" >&2
      tail -5 "$log" >&2
      exit 1
    fi
    times+=("$run_seconds")
    cpus+=("$run_cpu")
    peaks+=("$run_peak_kb")
  done
  median_seconds=$(median "${times[@]}")
  median_cpu=$(median "${cpus[@]}")
  median_mb=$(awk -v kb="$(median "${peaks[@]}")" 'BEGIN { printf "%.1f", kb / 1024 }')
}

# Measures the tool and the yardstick in alternation (so both see the same
# load) and prints the workload's lines: median wall seconds, processor
# seconds and peak MB of each, and the tool/yardstick ratios. TOOL and
# YARDSTICK are shell strings; a yardstick "-" measures the tool alone.
# Sets paired_seconds and paired_cpu (the tool's medians).
paired() {  # paired WORKLOAD INPUT_BYTES TOOL YARDSTICK
  local workload=$1 bytes=$2 tool=$3 yardstick=$4 i
  local tool_times=() tool_cpus=() tool_peaks=() yard_times=() yard_cpus=() yard_peaks=()
  local runs=$BENCH_RUNS
  BENCH_RUNS=1
  for ((i = 0; i < runs; ++i)); do
    measure "$bench_dir/tool.log" bash -c "$tool"
    tool_times+=("$median_seconds")
    tool_cpus+=("$median_cpu")
    tool_peaks+=("$median_mb")
    if [ "$yardstick" != - ]; then
      measure "$bench_dir/yardstick.log" bash -c "$yardstick"
      yard_times+=("$median_seconds")
      yard_cpus+=("$median_cpu")
      yard_peaks+=("$median_mb")
    fi
  done
  BENCH_RUNS=$runs
  local ts tc tm per_byte
  ts=$(median "${tool_times[@]}")
  tc=$(median "${tool_cpus[@]}")
  tm=$(median "${tool_peaks[@]}")
  per_byte=$(awk -v mb="$tm" -v bytes="$bytes" 'BEGIN { printf "%.1f", (bytes > 0 ? mb * 1048576 / bytes : 0) }')
  printf '%s (input %.1f MB)\n' "$workload" "$(awk -v b="$bytes" 'BEGIN { print b / 1048576 }')"
  printf '  %-9s wall %6.2f s  cpu %6.2f s  peak %7.1f MB (%sx input)\n' tool "$ts" "$tc" "$tm" "$per_byte"
  if [ "$yardstick" != - ]; then
    local ys yc ym
    ys=$(median "${yard_times[@]}")
    yc=$(median "${yard_cpus[@]}")
    ym=$(median "${yard_peaks[@]}")
    printf '  %-9s wall %6.2f s  cpu %6.2f s  peak %7.1f MB\n' yardstick "$ys" "$yc" "$ym"
    awk -v ts="$ts" -v ys="$ys" -v tc="$tc" -v yc="$yc" -v tm="$tm" -v ym="$ym" 'function r(a, b) { return b > 0 ? a / b : 0 }
      BEGIN { printf "  ratio     wall %6.2f    cpu %6.2f    memory %5.2f\n", r(ts, ys), r(tc, yc), r(tm, ym) }'
  fi
  paired_seconds=$ts
  paired_cpu=$tc
}
