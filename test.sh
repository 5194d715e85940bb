#!/usr/bin/env bash
# Installs what is missing, builds Spindeck and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
cmake --build build
ctest --test-dir build --output-on-failure --timeout 600 -j "$(nproc)"
