#!/usr/bin/env bash
# Long runs of the crash and concurrency tests: writers killed at many random
# moments and writers running at once, repeated. A killed compile must leave
# its outputs (both databases, the .vsm, the quarn file) all old or all new,
# save for kills between the first commit and the last rename; the counts of
# each kind are printed at the end.
#
#   scripts/crash_campaign.sh [ROUNDS] [REPEATS] [BUILD]
#
# ROUNDS kills per test and run (default 200), REPEATS runs of the whole set
# (default 5), BUILD the build folder (default build). The suite itself runs
# a few rounds only.
set -eu
cd "$(dirname "$0")/.."
rounds=${1:-200}
repeats=${2:-5}
build=${3:-build}
ninja -C "$build" unit_hardening >/dev/null
report=$(mktemp)
trap 'rm -f "$report"' EXIT
HESK_CRASH_ROUNDS=$rounds nice -n 10 "$build/tests/unit_hardening" \
  --gtest_filter='KilledWriter*:KilledCompile*:ConcurrentWriters*' --gtest_repeat="$repeats" --gtest_brief=1 \
  --gtest_output=json:"$report"
# The last repeat's counts (gtest keeps the report of the last repeat).
grep -E '"(name|old|new|all_old|all_new|between_commit_and_rename|succeeded|compiled)"' "$report" |
  sed -e 's/^ *//' -e 's/,$//' | paste -sd' ' | sed 's/"name"/\n"name"/g'
echo
