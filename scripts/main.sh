#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build
build/src/hesk_config help || true
