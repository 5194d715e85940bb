#!/usr/bin/env bash
# Installs what is missing, builds Spindeck and its tools.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
cmake --build build
echo "Spindeck's windows are not built yet; the tools are in build/bin:"
ls build/bin
