#!/usr/bin/env bash
# Installs what is missing, builds Spindeck and runs every test; then the unit and window tests and
# a leak-checked start and exit in a build with the address and undefined-behaviour sanitizers
# (build-asan/), and every fuzz target for 60 s (build-fuzz/).
#
#   ./test.sh          everything
#   ./test.sh --quick  the normal build's tests only
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
cmake --build build
ctest --test-dir build --output-on-failure --timeout 600 -j "$(nproc)"
if [ "${1:-}" = "--quick" ]; then
    exit 0
fi

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSPINDECK_SANITIZE=ON -DSPINDECK_WERROR=ON \
    -DSPINDECK_BUILD_BENCH=OFF
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0" \
    ctest --test-dir build-asan --output-on-failure --timeout 900 -j "$(nproc)"

fuzz/run.sh 60
