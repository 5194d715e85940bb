#!/usr/bin/env bash
# Installs what is missing, builds Spindeck and starts it from build/bin.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
cmake --build build
exec build/bin/spindeck
