#!/usr/bin/env bash
# Installs what is missing, builds, and compiles the example product
# configuration (examples/) into out/.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build
mkdir -p out
status=0
build/src/hesk_config compile -p PRO -x examples/product.xml \
  --settings=out/settings.kvdb --storage=out/storage.kvdb -e out/product.vsm || status=$?
echo
echo "Results in $(pwd)/out:"
echo "  out/product.vsm     service-manager configuration"
echo "  out/settings.kvdb   settings database"
echo "  out/storage.kvdb    storage database"
echo "Outputs are appended to on every run; remove out/ to start afresh."
echo "List a database with: build/src/hesk_config export -b out/settings.kvdb -x out/settings.xml"
exit $status
