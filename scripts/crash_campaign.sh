#!/usr/bin/env bash
# Long runs of the crash and concurrency tests: writers killed at many random
# moments and writers running at once, repeated.
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
HESK_CRASH_ROUNDS=$rounds nice -n 10 "$build/tests/unit_hardening" \
  --gtest_filter='KilledWriter*:ConcurrentWriters*' --gtest_repeat="$repeats" --gtest_brief=1
