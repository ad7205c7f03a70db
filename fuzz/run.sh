#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a given time.
#
#   fuzz/run.sh [--seconds N] [--jobs J] [--build DIR] [TARGET...]
#
# TARGET is cli, configuration or import (default: all three). Each target
# starts from the seeds made from the golden cases and keeps what it finds in
# DIR/corpus/TARGET, so later runs go on where earlier ones stopped. Crashes,
# leaks and hangs are written to DIR/findings/TARGET/ and make the script
# fail. One line per target goes to standard output and DIR/summary.txt:
# executions, time, corpus size and findings. Runs are niced, one process
# per target unless --jobs asks for more: the machine is shared. Long runs
# are recorded by hand in fuzz/campaigns.md, as build-fuzz/ does not
# outlive the machine.
set -eu
cd "$(dirname "$0")/.."
seconds=60
jobs=1
build=build-fuzz
targets=()
while [ $# -gt 0 ]; do
  case $1 in
    --seconds) seconds=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    cli|configuration|import) targets+=("$1"); shift ;;
    *) echo "usage: fuzz/run.sh [--seconds N] [--jobs J] [--build DIR] [cli|configuration|import]..." >&2; exit 2 ;;
  esac
done
[ ${#targets[@]} -eq 0 ] && targets=(cli configuration import)

if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DHESK_FUZZ=ON -DHESK_TESTS=OFF >/dev/null
fi
nice -n 10 ninja -C "$build" -j2 "${targets[@]/%/_fuzzer}" >/dev/null

build=$(realpath "$build")
rm -rf "$build/seeds"
python3 fuzz/make_seeds.py . "$build/seeds"

failed=0
for target in "${targets[@]}"; do
  corpus=$build/corpus/$target
  findings=$build/findings/$target
  log=$build/logs/$target.log
  work=$build/logs/$target.work
  mkdir -p "$corpus" "$findings" "$work" "$build/seeds/$target"
  dict=fuzz/xml.dict
  [ "$target" = cli ] && dict=fuzz/cli.dict
  before=$(find "$findings" -type f | wc -l)
  started=$(date +%s)
  status=0
  # A feature stops being counted once 16 inputs have it: with the default
  # (255) keeping those counts up to date took half of each execution.
  # Without allocation stacks (malloc_context_size=0) and with a smaller
  # quarantine ASan's allocator costs a quarter less; a finding replayed
  # with the plain binary shows the stacks again.
  # -jobs=J runs the fuzzer in J children, each writing its output to
  # fuzz-K.log in the working folder, one per target so that runs of
  # different targets may overlap; the logs are joined beside the others.
  (cd "$work" && rm -f fuzz-*.log &&
    ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1:malloc_context_size=0:quarantine_size_mb=64 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    nice -n 10 "$build/fuzz/${target}_fuzzer" -jobs="$jobs" -workers="$jobs" -max_total_time="$seconds" -timeout=10 \
      -entropic_feature_frequency_threshold=16 \
      -rss_limit_mb=2048 -dict="$(realpath "$OLDPWD/$dict")" -artifact_prefix="$findings/" \
      -print_final_stats=1 "$corpus" "$build/seeds/$target" >/dev/null 2>&1) || status=$?
  cat "$work"/fuzz-*.log >"$log" 2>/dev/null || true
  rm -f "$work"/fuzz-*.log
  executions=$(grep -oE '^stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' |
    awk '{ sum += $1 } END { print sum + 0 }')
  after=$(find "$findings" -type f | wc -l)
  # A run that stops early (a finding, an interrupt) says how long it ran.
  elapsed=$(($(date +%s) - started))
  line="$target: ${executions:-0} executions in ${elapsed} s by $jobs process(es), corpus $(ls "$corpus" | wc -l) inputs, $((after - before)) new finding(s), status $status"
  echo "$line"
  echo "$(date -u +%FT%TZ) $line" >>"$build/summary.txt"
  if [ "$status" -ne 0 ] || [ "$after" -ne "$before" ]; then
    failed=1
    grep -E -A30 '^==[0-9]+==ERROR|runtime error|deadly signal|ALARM|out-of-memory' "$log" | head -60 || true
  fi
done
exit $failed
