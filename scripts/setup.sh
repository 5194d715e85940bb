#!/usr/bin/env bash
# Installs the Debian packages listed in scripts/packages.txt that are missing, then configures the
# build in build/. Used by run.sh and test.sh; safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t wanted < <(grep -v '^#' scripts/packages.txt | sed '/^$/d')
missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if ((${#missing[@]})); then
    echo "setup: installing ${missing[*]}"
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSPINDECK_WERROR=ON "$@"
