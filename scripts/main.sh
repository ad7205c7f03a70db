#!/usr/bin/env bash
# Installs what is missing, builds the tool (only the tool: the tests are
# scripts/test.sh's business), and compiles the example product configuration
# (examples/) into out/.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build --target hesk_config
# Outputs are extended, never replaced: start from empty ones so that every
# run gives the same results.
rm -f out/product.vsm out/settings.kvdb* out/storage.kvdb*
mkdir -p out
status=0
build/src/hesk_config compile -p PRO -x examples/product.xml \
  --settings=out/settings.kvdb --storage=out/storage.kvdb -e out/product.vsm || status=$?
echo
echo "Results in $(pwd)/out:"
echo "  out/product.vsm     service-manager configuration"
echo "  out/settings.kvdb   settings database"
echo "  out/storage.kvdb    storage database"
echo "hesk_config extends existing outputs; this script removes them before compiling."
echo "List a database with: build/src/hesk_config export -b out/settings.kvdb -x out/settings.xml"
exit $status
