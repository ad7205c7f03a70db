#!/usr/bin/env bash
# Adds to the committed corpus (fuzz/corpus/TARGET) the inputs of the
# campaign corpus (build-fuzz/corpus/TARGET) that reach code the seeds and
# the committed corpus do not, counting edges only (not how often they run),
# so that the committed corpus stays at a few hundred small files.
#
#   fuzz/keep_corpus.sh [--build DIR] TARGET MAX_LEN
#
# Run fuzz/run.sh for the target first: it builds the target. Inputs longer
# than MAX_LEN are cut to it.
set -eu
cd "$(dirname "$0")/.."
build=build-fuzz
if [ "${1:-}" = --build ]; then build=$2; shift 2; fi
[ $# -eq 2 ] || { echo "usage: fuzz/keep_corpus.sh [--build DIR] TARGET MAX_LEN" >&2; exit 2; }
target=$1
max_len=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/merged" "fuzz/corpus/$target"
python3 fuzz/make_seeds.py . "$work/seeds"
cp "$work/seeds/$target"/. "$work/merged/" -r 2>/dev/null || true
cp "fuzz/corpus/$target"/. "$work/merged/" -r 2>/dev/null || true
ls "$work/merged" | sort >"$work/before"
ASAN_OPTIONS=detect_leaks=0 nice -n 10 "$build/fuzz/${target}_fuzzer" -merge=1 -use_counters=0 \
  -max_len="$max_len" "$work/merged" "$build/corpus/$target" >"$work/log" 2>&1 ||
  { tail -20 "$work/log"; exit 1; }
ls "$work/merged" | sort | comm -23 - "$work/before" | while read -r name; do
  cp "$work/merged/$name" "fuzz/corpus/$target/"
done
echo "$target: $(ls "fuzz/corpus/$target" | wc -l) inputs, $(cat "fuzz/corpus/$target"/* 2>/dev/null | wc -c) bytes"
