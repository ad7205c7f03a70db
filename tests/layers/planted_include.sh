#!/usr/bin/env bash
# The layer check passes on the tree as it is and fails, naming the file and
# line, once a low folder includes a header of a folder above it.
set -eu
repo="$1"
check="$repo/scripts/check_layers.py"
python3 "$check"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/docs"
cp -r "$repo/src" "$scratch/src"
cp "$repo/docs/architecture.md" "$scratch/docs/"
printf '#include "velk/result.h"\n#include "cli/run_context.h"\n' > "$scratch/src/velk/planted.cc"
status=0
output=$(python3 "$check" --root "$scratch") || status=$?
expected='src/velk/planted.cc:2: velk may not include "cli/run_context.h" (cli is not below it)'
[ "$status" -eq 1 ] || { echo "planted include: exit $status, expected 1"; exit 1; }
[ "$output" = "$expected" ] || { printf 'planted include: got\n%s\nexpected\n%s\n' "$output" "$expected"; exit 1; }
printf '#include <sqlite3.h>\n' > "$scratch/src/velk/planted.cc"
output=$(python3 "$check" --root "$scratch") && { echo "planted SQLite include passed"; exit 1; }
[ "$output" = 'src/velk/planted.cc:1: velk may not include <sqlite3.h> (it does not use sqlite)' ] ||
  { echo "planted SQLite include: $output"; exit 1; }
echo "layers: the check holds and catches planted includes"
