#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a given time.
#
#   fuzz/run.sh [--seconds N] [--jobs J] [--nice N] [--build DIR]
#               [--sanitizers LIST] [--replay] [TARGET...]
#
# TARGET is cli, front, writers, pack, import or export (default: all). Each
# target starts from its committed corpus (fuzz/corpus/TARGET) and the seeds
# made from the golden cases, and keeps what it finds in DIR/corpus/TARGET,
# so later runs go on where earlier ones stopped. Crashes, failed property
# checks, leaks, inputs that run longer than a second and inputs that take
# more memory than the bound are written to DIR/findings/TARGET/ and make the
# script fail. One line per target goes to standard output and
# DIR/summary.txt: executions, time, rate, coverage, corpus size and
# findings. Runs are niced, one process per target unless --jobs asks for
# more: the machine is shared. Long runs are recorded by hand in
# fuzz/campaigns.md, as build-fuzz/ does not outlive the machine.
#
# --sanitizers undefined builds without AddressSanitizer (in build-fuzz-undefined
# unless --build says otherwise): two to three times the executions, for
# long campaigns. --replay then runs every input of the corpora once in the
# default build (address and undefined behaviour), so that what the fast
# campaign found is also checked for heap faults.
set -eu
cd "$(dirname "$0")/.."
seconds=60
jobs=1
niceness=10
build=
sanitizers=address,undefined
replay=0
targets=()
while [ $# -gt 0 ]; do
  case $1 in
    --seconds) seconds=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    --nice) niceness=$2; shift 2 ;;
    --sanitizers) sanitizers=$2; shift 2 ;;
    --replay) replay=1; shift ;;
    cli|front|writers|pack|import|export) targets+=("$1"); shift ;;
    *) echo "usage: fuzz/run.sh [--seconds N] [--jobs J] [--nice N] [--build DIR] [--sanitizers LIST] [--replay] [cli|front|writers|pack|import|export]..." >&2; exit 2 ;;
  esac
done
[ ${#targets[@]} -eq 0 ] && targets=(cli front writers pack import export)
if [ -z "$build" ]; then
  build=build-fuzz
  [ "$sanitizers" = address,undefined ] || build=build-fuzz-${sanitizers//,/-}
fi

if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DHESK_FUZZ=ON -DHESK_FUZZ_SANITIZERS="$sanitizers" -DHESK_TESTS=OFF >/dev/null
fi
nice -n "$niceness" ninja -C "$build" -j2 "${targets[@]/%/_fuzzer}" >/dev/null

build=$(realpath "$build")
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1:malloc_context_size=0:quarantine_size_mb=16
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

if [ "$replay" = 1 ]; then
  # Every corpus input once, from every build's corpus folder.
  failed=0
  for target in "${targets[@]}"; do
    folders=$(ls -d fuzz/corpus/"$target" "$(dirname "$build")"/build-fuzz*/corpus/"$target" 2>/dev/null | sort -u)
    # A copy: a campaign still running drops inputs from its corpus as it
    # finds shorter ones. The names are content hashes, so copies of one
    # input from several folders are one file.
    snapshot=$(mktemp -d)
    find $folders -type f -exec cp -t "$snapshot" {} + 2>/dev/null || true
    count=$(ls "$snapshot" | wc -l)
    status=0
    log=$build/logs/$target.replay.log
    mkdir -p "$build/logs"
    find "$snapshot" -type f -print0 | xargs -0 -n 500 nice -n "$niceness" "$build/fuzz/${target}_fuzzer" \
      -runs=1 -timeout=10 -rss_limit_mb=2048 >"$log" 2>&1 || status=$?
    rm -rf "$snapshot"
    echo "$target: replayed $count inputs, status $status"
    if [ "$status" -ne 0 ]; then
      failed=1
      grep -E -A30 '^==[0-9]+==ERROR|property failed|runtime error|deadly signal|ALARM|out-of-memory' "$log" | head -60 || true
    fi
  done
  exit $failed
fi

# Seeds of this run's own: runs of other targets may be starting beside it.
seeds=$build/seeds.$$
trap 'rm -rf "$seeds"' EXIT
python3 fuzz/make_seeds.py . "$seeds"

failed=0
for target in "${targets[@]}"; do
  corpus=$build/corpus/$target
  findings=$build/findings/$target
  log=$build/logs/$target.log
  work=$build/logs/$target.work
  mkdir -p "$corpus" "$findings" "$work" "$seeds/$target"
  # Runs of one target share its work folder, whose logs each run empties
  # and joins: one at a time.
  exec 9>"$build/logs/$target.lock"
  if ! flock -n 9; then
    echo "$target: another run of this target is going on" >&2
    failed=1
    continue
  fi
  mkdir -p "fuzz/corpus/$target"
  committed=$(realpath "fuzz/corpus/$target")
  # Inputs are kept small where size buys nothing: the time of an input
  # grows with its length. 4096 bytes let one file nest elements past the
  # input check's depth limit; a few patches damage a store enough.
  case $target in
    cli) dict=fuzz/cli.dict max_len=4096 ;;
    import) dict=fuzz/exchange.dict max_len=2048 ;;
    export) dict=fuzz/export.dict max_len=256 ;;
    *) dict=fuzz/xml.dict max_len=4096 ;;
  esac
  before=$(find "$findings" -type f | wc -l)
  started=$(date +%s)
  status=0
  # A feature stops being counted once 16 inputs have it: with the default
  # (255) keeping those counts up to date took half of each execution.
  # Without allocation stacks (malloc_context_size=0) and with a smaller
  # quarantine ASan's allocator costs a quarter less (freed memory comes
  # back while it is still in the cache); a finding replayed with the plain
  # binary shows the stacks again.
  # No input may take more than a second of processor time (each target
  # sets that limit itself) or more than 1 GB (ASan's own share included):
  # deep nesting, long include chains and macro expansion are bounded by
  # the tool, and an input that gets past those bounds is a finding like a
  # crash. libFuzzer's -timeout goes by the wall clock, so at nice 19 on a
  # busy machine a 1 s limit stopped inputs of a few milliseconds that had
  # waited for a core; 30 s catches an input that hangs without running.
  # -jobs=J runs the fuzzer in J children, each writing its output to
  # fuzz-K.log in the working folder, one per target so that runs of
  # different targets may overlap; the logs are joined beside the others.
  # The processor time of the fuzzing processes (user and system, children
  # included) gives the rate per busy core, which a shared machine's wall
  # clock does not.
  cpu=$build/logs/$target.cpu
  TIMEFORMAT='%U %S'
  { time (cd "$work" && rm -f fuzz-*.log &&
    nice -n "$niceness" "$build/fuzz/${target}_fuzzer" -jobs="$jobs" -workers="$jobs" \
      -max_total_time="$seconds" -timeout=30 -rss_limit_mb=1024 -max_len="$max_len" \
      -entropic_feature_frequency_threshold=16 \
      -dict="$(realpath "$OLDPWD/$dict")" -artifact_prefix="$findings/" \
      -print_final_stats=1 "$corpus" "$committed" "$seeds/$target" >/dev/null 2>&1) ; } 2>"$cpu" || status=$?
  cat "$work"/fuzz-*.log >"$log" 2>/dev/null || true
  rm -f "$work"/fuzz-*.log
  executions=$(grep -oE '^stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' |
    awk '{ sum += $1 } END { print sum + 0 }')
  after=$(find "$findings" -type f | wc -l)
  # A run that stops early (a finding, an interrupt) says how long it ran.
  elapsed=$(($(date +%s) - started))
  # Two rates: executions per second of processor time (one busy core),
  # and the fuzzers' own average per process by the wall clock. Coverage is
  # the edges and features of the last status line of the process that saw
  # the most.
  core_rate=$(awk -v n="${executions:-0}" '{ t = $1 + $2 } END { print (t > 0 ? int(n / t) : 0) }' "$cpu")
  rate=$(grep -oE '^stat::average_exec_per_sec: *[0-9]+' "$log" | grep -oE '[0-9]+$' |
    awk '{ sum += $1; n++ } END { print n ? int(sum / n) : 0 }')
  coverage=$(grep -hoE 'cov: [0-9]+ ft: [0-9]+' "$log" | sort -t' ' -k2,2n | tail -1)
  line="$target: ${executions:-0} executions in ${elapsed} s by $jobs process(es), $core_rate exec/s per core ($rate by the clock), ${coverage:-cov: ?}, corpus $(ls "$corpus" | wc -l) inputs, $((after - before)) new finding(s), status $status"
  echo "$line"
  echo "$(date -u +%FT%TZ) $line" >>"$build/summary.txt"
  if [ "$status" -ne 0 ] || [ "$after" -ne "$before" ]; then
    failed=1
    grep -E -A30 '^==[0-9]+==ERROR|property failed|runtime error|deadly signal|ALARM|out-of-memory|malloc limit' "$log" | head -60 || true
  fi
done
exit $failed
