#!/usr/bin/env bash
# Runs one golden case.
#
#   run_case.sh BINARY CASE_DIR
#
# A case folder holds:
#   cmd       a bash script run in a scratch folder; `hesk_config` is on PATH
#   in/       files copied into the scratch folder before the run (optional)
#   stdout    expected standard output   (absent: expected empty)
#   stderr    expected standard error    (absent: expected empty)
#   status    expected exit status of cmd (absent: 0)
#   out/      expected files: each must exist in the scratch folder with
#             exactly these bytes (optional)
#   absent    names of files that must not exist after the run (optional)
#
# The scratch folder's path is written "@DIR@" in expected text. With
# HESK_UPDATE_GOLDEN=1 the actual results are written into the case instead
# of being compared (review them before committing).
set -u
binary=$(realpath "$1")
case_dir=$(realpath "$2")

scratch=$(mktemp -d "${TMPDIR:-/tmp}/hesk_case.XXXXXX")
results=$(mktemp -d "${TMPDIR:-/tmp}/hesk_result.XXXXXX")
trap 'chmod -R u+rwx "$scratch" 2>/dev/null; rm -rf "$scratch" "$results"' EXIT
mkdir -p "$results/bin"
ln -s "$binary" "$results/bin/hesk_config"
[ -d "$case_dir/in" ] && cp -a "$case_dir/in/." "$scratch/"

(cd "$scratch" && PATH="$results/bin:$PATH" HESK_CASE_DIR="$case_dir" \
  timeout 240 bash "$case_dir/cmd" >"$results/stdout" 2>"$results/stderr" </dev/null)
echo $? >"$results/status"

# Replaces the scratch path by @DIR@ (files with NUL bytes are left alone).
normalise() {
  if grep -qaP '\x00' "$1" 2>/dev/null; then cat "$1"; else
    perl -pe 'BEGIN { $d = shift } s/\Q$d\E/\@DIR\@/g' "$scratch" "$1"
  fi
}

failures=0
check() {  # check EXPECTED ACTUAL LABEL
  local expected=$1 actual=$2 label=$3
  if [ "${HESK_UPDATE_GOLDEN:-}" = 1 ]; then
    mkdir -p "$(dirname "$expected")"
    normalise "$actual" >"$expected"
    return
  fi
  if ! cmp -s <(normalise "$actual") "$expected"; then
    echo "--- $label differs (expected, actual):"
    diff <(cat "$expected") <(normalise "$actual") | head -40
    failures=$((failures + 1))
  fi
}

empty=$(mktemp "$results/empty.XXXXXX")
for stream in stdout stderr; do
  expected="$case_dir/$stream"
  if [ ! -f "$expected" ] && [ "${HESK_UPDATE_GOLDEN:-}" != 1 ]; then expected=$empty; fi
  if [ "${HESK_UPDATE_GOLDEN:-}" = 1 ] && [ ! -s "$results/$stream" ]; then
    rm -f "$case_dir/$stream"; continue
  fi
  check "$expected" "$results/$stream" "$stream"
done

status_expected=0
[ -f "$case_dir/status" ] && status_expected=$(cat "$case_dir/status")
status_actual=$(cat "$results/status")
if [ "${HESK_UPDATE_GOLDEN:-}" = 1 ]; then
  if [ "$status_actual" != 0 ]; then echo "$status_actual" >"$case_dir/status"; else rm -f "$case_dir/status"; fi
elif [ "$status_actual" != "$status_expected" ]; then
  echo "--- exit status: expected $status_expected, got $status_actual"
  failures=$((failures + 1))
fi

if [ -d "$case_dir/out" ]; then
  while IFS= read -r -d '' file; do
    rel=${file#"$case_dir/out/"}
    if [ ! -f "$scratch/$rel" ]; then
      echo "--- missing output file $rel"
      failures=$((failures + 1))
    else
      check "$file" "$scratch/$rel" "output file $rel"
    fi
  done < <(find "$case_dir/out" -type f -print0)
fi

if [ -f "$case_dir/absent" ]; then
  while IFS= read -r rel; do
    [ -z "$rel" ] && continue
    if [ -e "$scratch/$rel" ]; then echo "--- $rel should not exist"; failures=$((failures + 1)); fi
  done <"$case_dir/absent"
fi

if [ "$failures" -ne 0 ]; then
  echo "case $case_dir: $failures difference(s)"
  exit 1
fi
exit 0
