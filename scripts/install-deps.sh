#!/usr/bin/env bash
# Installs the build and test dependencies that are missing (Debian).
set -eu
# clang and its runtime (libFuzzer, sanitizers) build the fuzz targets; make
# runs the build snippets of the documentation; xmllint (libxml2-utils) checks
# files against the generated schemas.
packages="g++ cmake ninja-build make libsqlite3-dev libtinyxml-dev libboost-dev libgtest-dev zlib1g-dev sqlite3 perl
  clang libclang-rt-14-dev python3 libxml2-utils"
missing=""
for p in $packages; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "installing:$missing"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y $missing
fi
