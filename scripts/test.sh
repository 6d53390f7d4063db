#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: once in a normal build and once
# with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

echo "== normal build =="
run_suite build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLENVOY_BUILD_BENCH=ON \
  -DPLENVOY_WARNINGS_AS_ERRORS=ON -DCMAKE_INSTALL_PREFIX=/usr
echo "== the Debian package of that build, checked as Debian checks it =="
scripts/check-package.sh build-test
echo "== AddressSanitizer + UndefinedBehaviorSanitizer build =="
run_suite build-asan -DCMAKE_BUILD_TYPE=Debug -DPLENVOY_SANITIZE=ON \
  -DPLENVOY_WARNINGS_AS_ERRORS=ON
