#!/usr/bin/env bash
# Runs every workload of bench/ on one binary, one line (or two) each.
#
#   bench/run_all.sh [BINARY]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
binary=$(realpath "${1:-build/src/hesk_config}")
for script in compile_bench.sh preprocess_bench.sh import_bench.sh export_bench.sh siblings_bench.sh \
              import_keys_bench.sh; do
  "$here/$script" "$binary"
done
