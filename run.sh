#!/usr/bin/env bash
# Installs what is missing, builds Spindeck and starts it on the demo disc: build/demo/disc is
# drive D: (a CD-ROM labelled DEMO, with the program in D:\SPINDECK) and build/demo/c is drive C:,
# where the disc's programs install. Everything the run writes stays under build/demo.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
cmake --build build

demo="$PWD/build/demo"
mkdir -p "$demo/c" "$demo/config/spindeck" "$demo/cache" "$demo/data" "$demo/state"
cat >"$demo/config/spindeck/drives.conf" <<CONF
[C]
path=$demo/c
kind=fixed
label=DEMO C
[D]
path=$demo/disc
kind=cdrom
label=DEMO
CONF

cd "$demo/disc/SPINDECK"
# The home directory is left alone: the drive map, and whatever the toolkit and the libraries
# keep between runs, live under build/demo.
export XDG_CONFIG_HOME="$demo/config" XDG_CACHE_HOME="$demo/cache" XDG_DATA_HOME="$demo/data" \
    XDG_STATE_HOME="$demo/state"
exec ./spindeck
